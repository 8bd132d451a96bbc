#pragma once

#include <QStringList>

class CliSession;
class QCommandLineParser;

// The "import" job: imports a OneTouch file, a BG Tracker 4 file or another patient database
// into the patient's logbook, as File > Import does, and says what was done. The whole file is
// one unit of work: a refused file or a failed import leaves the logbook as it was.
int runImportJob(CliSession& session, const QCommandLineParser& parser,
                 const QStringList& arguments);
