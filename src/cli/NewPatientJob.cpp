#include "cli/NewPatientJob.h"

#include "cli/CliJob.h"
#include "cli/CliSession.h"

#include <QDir>
#include <QTextStream>

int runNewPatientJob(CliSession& session, const QCommandLineParser&, const QStringList& arguments) {
    // The application has written why it could not create the patient.
    if (!session.createPatient(arguments.front()))
        return CliExit::failed;
    CQuillmarchApp& app = session.app();
    session.out() << QStringLiteral("Created the patient \"%1\" with the database %2.")
                         .arg(app.currentUserName(),
                              QDir::toNativeSeparators(session.settings().getUserString(
                                  app.currentUserName(), QStringLiteral("DbPath"))))
                  << Qt::endl;
    return CliExit::ok;
}
