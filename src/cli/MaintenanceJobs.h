#pragma once

#include <QStringList>

class CliSession;
class QCommandLineParser;

// The "backup", "restore" and "optimize" jobs: the File menu's commands of the same names,
// run by DatabaseMaintenance itself. The file the window would ask for is the one named on the
// command line; what the window would ask is answered by --yes or refused, and a command the
// window would start again (a refused file, an overwrite answered no) ends the job with
// nothing done.
int runBackupJob(CliSession& session, const QCommandLineParser& parser,
                 const QStringList& arguments);
int runRestoreJob(CliSession& session, const QCommandLineParser& parser,
                  const QStringList& arguments);
int runOptimizeJob(CliSession& session, const QCommandLineParser& parser,
                   const QStringList& arguments);
