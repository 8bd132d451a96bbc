#include "cli/MaintenanceJobs.h"

#include "app/DatabaseMaintenance.h"
#include "cli/CliJob.h"
#include "cli/CliSession.h"
#include "cli/GivenFileDialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace {

using Outcome = DatabaseMaintenance::Outcome;

// The exit status of a command's outcome; `undone` says what did not happen.
int statusOf(CliSession& session, Outcome outcome, const QString& undone) {
    switch (outcome) {
    case Outcome::Done:
        return CliExit::ok;
    case Outcome::Cancelled:
        // The command asked again for a file: the one given was refused, or replacing a file
        // was answered no. The reason has been written.
        return session.fail(undone);
    case Outcome::Failed:
        break;
    }
    // The command has shown why.
    return CliExit::failed;
}

} // namespace

int runBackupJob(CliSession& session, const QCommandLineParser&, const QStringList& arguments) {
    if (!session.openPatient(CliSession::Access::readWrite))
        return CliExit::failed;
    GivenFileDialogs files(QFileInfo(arguments.front()).absoluteFilePath());
    DatabaseMaintenance maintenance(session.app(), files, session.prompts());
    return statusOf(session, maintenance.backupDatabase(), QStringLiteral("No backup was made."));
}

int runRestoreJob(CliSession& session, const QCommandLineParser&, const QStringList& arguments) {
    const QString path = QFileInfo(arguments.front()).absoluteFilePath();
    // The window's dialog takes only a file that is there.
    if (!QFileInfo(path).isFile())
        return session.fail(QStringLiteral("There is no file %1 to restore from.")
                                .arg(QDir::toNativeSeparators(path)));
    if (!session.openPatient(CliSession::Access::readWrite))
        return CliExit::failed;
    GivenFileDialogs files(path);
    DatabaseMaintenance maintenance(session.app(), files, session.prompts());
    return statusOf(session, maintenance.restoreDatabase(),
                    QStringLiteral("Nothing was restored; the database is as it was."));
}

int runOptimizeJob(CliSession& session, const QCommandLineParser&, const QStringList&) {
    if (!session.openPatient(CliSession::Access::readWrite))
        return CliExit::failed;
    GivenFileDialogs files{QString()}; // optimizing chooses no file
    DatabaseMaintenance maintenance(session.app(), files, session.prompts());
    // The window's wait window, as a line.
    const auto waitWindow = [&session](bool shown) {
        if (shown)
            session.out() << QLatin1String(DatabaseMaintenance::kOptimizingText) << Qt::endl;
    };
    return statusOf(session, maintenance.optimizeDatabase(waitWindow),
                    QStringLiteral("The database was not optimized."));
}
