#pragma once

#include <QStringList>

class CliSession;
class QCommandLineParser;

// The "check-update" job: the window's "Check for updates" as one line. Exit status 0 when the
// running version is current, CliExit::updateAvailable when the server offers a newer one,
// CliExit::failed when the server could not be reached. A check that got an answer is
// remembered as the window remembers it.
int runCheckUpdateJob(CliSession& session, const QCommandLineParser& parser,
                      const QStringList& arguments);
