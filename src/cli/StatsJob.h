#pragma once

#include <QStringList>

class CliSession;
class QCommandLineParser;

// The "stats" job: the glucose numbers of the "Glucose Statistics (AGP)" page for a period, as
// a block of text or, with --json, as one JSON object. It only reads the patient's file.
int runStatsJob(CliSession& session, const QCommandLineParser& parser,
                const QStringList& arguments);
