#pragma once

#include <QStringList>

class CliSession;
class QCommandLineParser;

// The "summarize" job: the logbook view's summarize command without the view. Notes nothing
// refers to are removed; days older than the patient's retention are removed only with --yes
// (the window asks first); then every day marked out of date is summarized.
int runSummarizeJob(CliSession& session, const QCommandLineParser& parser,
                    const QStringList& arguments);
