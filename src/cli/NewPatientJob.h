#pragma once

#include <QStringList>

class CliSession;
class QCommandLineParser;

// The "new-patient" job: creates a patient with the default database, as "New User..." does,
// and refuses a name another patient has.
int runNewPatientJob(CliSession& session, const QCommandLineParser& parser,
                     const QStringList& arguments);
