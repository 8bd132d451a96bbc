#include "app/DatabaseMaintenance.h"

#include "app/AppDialogs.h"
#include "app/CQuillmarchApp.h"
#include "app/PatientFiles.h"
#include "app/SettingsTree.h"
#include "storage/Clock.h"
#include "storage/Conversions.h"
#include "storage/Database.h"
#include "storage/DatabaseFile.h"
#include "ui/FileDialogs.h"
#include "ui/Prompts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

using Outcome = DatabaseMaintenance::Outcome;

QString latin1(const char* text) {
    return QString::fromLatin1(text);
}

// The engine keeps a write-ahead log beside the file while any connection has it open, and
// its index beside that.
QString walOf(const QString& path) {
    return path + QStringLiteral("-wal");
}
QString shmOf(const QString& path) {
    return path + QStringLiteral("-shm");
}

// Whether two paths name the same file: the same text without regard to case (as the
// patient sees it), or the same file once links are followed.
bool sameFile(const QString& a, const QString& b) {
    if (a.isEmpty() || b.isEmpty())
        return false;
    const QFileInfo left(a);
    const QFileInfo right(b);
    if (QDir::cleanPath(left.absoluteFilePath())
            .compare(QDir::cleanPath(right.absoluteFilePath()), Qt::CaseInsensitive) == 0)
        return true;
    const QString canonicalLeft = left.canonicalFilePath();
    return !canonicalLeft.isEmpty() && canonicalLeft == right.canonicalFilePath();
}

// The save dialog's default extension: a name typed without one gets ".db".
QString withDefaultSuffix(const QString& path) {
    return QFileInfo(path).suffix().isEmpty() ? path + QStringLiteral(".db") : path;
}

// Where the chosen file is copied before it takes the current file's place: beside the
// current file, so that the last step is a rename within one folder.
QString stagingPath(const QString& current) {
    return current + QStringLiteral(".restoring");
}

} // namespace

DatabaseMaintenance::DatabaseMaintenance(CQuillmarchApp& app, FileDialogs& files, Prompts& prompts)
    : m_app(app), m_files(files), m_prompts(prompts) {}

bool DatabaseMaintenance::removeUserEnabled(const CQuillmarchApp& app) {
    return app.settings().countUsers() >= 2;
}

QString DatabaseMaintenance::keptFilePath(const QString& path) {
    const QFileInfo file(path);
    return file.absoluteDir().filePath(file.completeBaseName() + latin1(kKeptSuffix));
}

QString DatabaseMaintenance::currentPath() const {
    return m_app.db() ? m_app.db()->path() : QString();
}

QString DatabaseMaintenance::patientKey() const {
    // The settings key the patient was opened by: a PATIENT_NAME that differs from it would
    // make a patient of its own in the list.
    return m_app.currentUserName();
}

bool DatabaseMaintenance::isCurrentDatabase(const QString& path) const {
    return sameFile(path, currentPath());
}

bool DatabaseMaintenance::reopen(const QString& path) {
    if (m_app.reopenDatabase(path))
        return true;
    m_app.quitWithoutDatabase();
    return false;
}

// ---- Backup ---------------------------------------------------------------------------------

DatabaseMaintenance::Outcome DatabaseMaintenance::backupDatabase() {
    for (;;) {
        if (const auto outcome = backupOnce())
            return *outcome;
    }
}

std::optional<Outcome> DatabaseMaintenance::backupOnce() {
    const QString current = currentPath();
    if (current.isEmpty()) {
        m_prompts.error(latin1(kBackupCaption), QStringLiteral("No database is open."));
        return Outcome::Failed;
    }
    const QString proposed = PatientFiles::makeFileName(m_app.getPreference().getPatientName()) +
                             formatTime(m_app.clock().now(), "%Y%m%d.db");
    // The command asks its own overwrite question, after the extension has been added.
    QString chosen = m_files.getSaveFileNameNoOverwriteQuestion(
        latin1(kBackupCaption), QFileInfo(current).absoluteDir().filePath(proposed),
        latin1(kFilter));
    if (chosen.isEmpty())
        return Outcome::Cancelled;
    chosen = withDefaultSuffix(chosen);
    m_app.settings().setUserString(patientKey(), latin1(kLastBackupValue), chosen);

    if (isCurrentDatabase(chosen)) {
        m_prompts.information(latin1(kProgramName), latin1(kSamePathText));
        return std::nullopt;
    }
    if (QFileInfo::exists(chosen) &&
        !m_prompts.askYesNo(latin1(kOverwriteCaption), latin1(kOverwriteText).arg(chosen)))
        return std::nullopt;
    // A log beside the target belongs to a database some program has open: the copy renamed
    // over it would be read together with that log, and damaged.
    if (QFileInfo::exists(walOf(chosen))) {
        m_prompts.error(
            latin1(kBackupCaption),
            QStringLiteral("%1 is a database that is in use. Choose another name.").arg(chosen));
        return std::nullopt;
    }

    // The engine's backup reads the open connection's committed state, the write-ahead log
    // included, and writes the copy beside the target before renaming it.
    QString error;
    if (!DatabaseFile::copyFrom(m_app.db()->handle(), chosen, error)) {
        m_prompts.error(
            QStringLiteral("Error"),
            QStringLiteral("The backup to %1 could not be made: %2").arg(chosen, error));
        return Outcome::Failed;
    }
    m_prompts.information(latin1(kProgramName), latin1(kBackupDoneText).arg(chosen));
    return Outcome::Done;
}

// ---- Restore --------------------------------------------------------------------------------

DatabaseMaintenance::Outcome DatabaseMaintenance::restoreDatabase() {
    for (;;) {
        if (const auto outcome = restoreOnce())
            return *outcome;
    }
}

std::optional<Outcome> DatabaseMaintenance::restoreOnce() {
    const QString current = currentPath();
    if (current.isEmpty()) {
        m_prompts.error(latin1(kRestoreCaption), QStringLiteral("No database is open."));
        return Outcome::Failed;
    }
    const QString last = m_app.settings().getUserString(patientKey(), latin1(kLastBackupValue));
    const QString start = last.isEmpty() ? QFileInfo(current).absolutePath() : last;
    const QString chosen = m_files.getOpenFileName(latin1(kRestoreCaption), start, latin1(kFilter));
    if (chosen.isEmpty())
        return Outcome::Cancelled;
    if (isCurrentDatabase(chosen)) {
        m_prompts.information(latin1(kProgramName), latin1(kSamePathText));
        return std::nullopt;
    }
    QString why;
    if (!DatabaseFile::checkPatientDatabase(chosen, why)) {
        m_prompts.error(latin1(kRestoreCaption),
                        QStringLiteral("%1 cannot be restored: %2.\n\nYour database has not been "
                                       "changed.")
                            .arg(chosen, why));
        return Outcome::Failed;
    }
    return replaceCurrentFile(current, chosen);
}

DatabaseMaintenance::Outcome DatabaseMaintenance::replaceCurrentFile(const QString& current,
                                                                     const QString& chosen) {
    const QString kept = keptFilePath(current);
    const QString staging = stagingPath(current);
    auto refuse = [&](const QString& why) {
        QFile::remove(staging);
        m_prompts.error(latin1(kRestoreCaption),
                        QStringLiteral("The database could not be restored from %1: %2.\n\nYour "
                                       "database has not been changed.")
                            .arg(chosen, why));
        reopen(current);
        return Outcome::Failed;
    };

    // Closing the last connection writes the log into the file and removes it. A log that
    // stays means another program still has the file open; its pages would be read over the
    // restored file.
    m_app.closeDatabase();
    if (QFileInfo::exists(walOf(current)))
        return refuse(QStringLiteral("%1 is still open in another program").arg(current));
    // Without its log, the index beside the file describes nothing.
    QFile::remove(shmOf(current));

    // The chosen file is copied first: it may be the kept file of an earlier restore, which
    // the next step replaces.
    // The copy itself is what replaces the logbook, so it is the copy that must be sound.
    QString error;
    if (!DatabaseFile::copy(chosen, staging, error))
        return refuse(error);
    if (!DatabaseFile::checkPatientDatabase(staging, error))
        return refuse(QStringLiteral("its copy is not sound: %1").arg(error));
    if (!DatabaseFile::copy(current, kept, error))
        return refuse(
            QStringLiteral("the current database could not be kept as %1 (%2)").arg(kept, error));
    if (!DatabaseFile::moveOver(staging, current, error))
        return refuse(error);

    if (!m_app.reopenDatabase(current)) {
        // A file that cannot be brought up to date would leave the patient without a logbook:
        // the kept one goes back.
        const QString openError = m_app.openError();
        m_app.closeDatabase();
        QFile::remove(walOf(current));
        QFile::remove(shmOf(current));
        const bool putBack = DatabaseFile::copy(kept, current, error);
        m_prompts.error(latin1(kRestoreCaption),
                        putBack
                            ? QStringLiteral("%1 could not be opened after the restore (%2).\n\n"
                                             "Your previous database has been put back.")
                                  .arg(chosen, openError)
                            : QStringLiteral("%1 could not be opened after the restore (%2), "
                                             "and your previous database could not be put "
                                             "back (%3). It is kept as %4.")
                                  .arg(chosen, openError, error, kept));
        reopen(current);
        return Outcome::Failed;
    }
    m_app.reloadPatientData();
    m_prompts.information(
        latin1(kProgramName),
        latin1(kRestoreDoneText).arg(chosen) +
            QStringLiteral("\n\nYour previous database was kept as %1").arg(kept));
    return Outcome::Done;
}

// ---- Optimize -------------------------------------------------------------------------------

DatabaseMaintenance::Outcome
DatabaseMaintenance::optimizeDatabase(const std::function<void(bool shown)>& waitWindow) {
    if (waitWindow)
        waitWindow(true);
    Database& db = m_app.database();
    const bool done = db.exec("vacuum");
    if (waitWindow)
        waitWindow(false);
    if (!done) {
        QString text = latin1(kOptimizeFailedText);
        if (!db.errorText().isEmpty())
            text += QStringLiteral("\n\n") + db.errorText();
        m_prompts.error(latin1(kProgramName), text);
        return Outcome::Failed;
    }
    m_prompts.information(latin1(kProgramName), latin1(kOptimizedText));
    return Outcome::Done;
}

// ---- Remove User ----------------------------------------------------------------------------

DatabaseMaintenance::Outcome DatabaseMaintenance::removeUser() {
    if (!removeUserEnabled(m_app))
        return Outcome::Cancelled;
    const auto chosen = m_app.dialogs().chooseUser(m_app.usersWithPalmNames());
    if (!chosen || chosen->isEmpty())
        return Outcome::Cancelled;
    if (*chosen == m_app.currentUserName()) {
        m_prompts.information(latin1(kProgramName), latin1(kCurrentUserText));
        return Outcome::Failed;
    }
    if (!m_prompts.askYesNo(latin1(kProgramName), latin1(kRemoveQuestion).arg(*chosen)))
        return Outcome::Cancelled;

    SettingsTree& settings = m_app.settings();
    const QString palmName =
        settings.getUserString(*chosen, latin1(CQuillmarchApp::kPalmUserNameValue));
    const QString path = settings.getUserString(*chosen, latin1(CQuillmarchApp::kDbPathValue));

    // A file that another patient also uses (one who chose to reuse it) stays: removing this
    // patient must not take that patient's logbook with it.
    bool shared = isCurrentDatabase(path);
    for (const QString& other : settings.listUsers()) {
        if (other != *chosen &&
            sameFile(path, settings.getUserString(other, latin1(CQuillmarchApp::kDbPathValue))))
            shared = true;
    }
    // The patient leaves the list first: should the file then stay, it is a file nobody
    // opens, whereas a patient left without a file would be given a new, empty logbook.
    if (!settings.removeUser(*chosen)) {
        m_prompts.error(latin1(kProgramName),
                        QStringLiteral("%1 could not be removed from the settings.").arg(*chosen));
        return Outcome::Failed;
    }
    if (!path.isEmpty() && !shared) {
        if (QFileInfo::exists(path) && !QFile::remove(path))
            m_prompts.error(latin1(kProgramName),
                            QStringLiteral("%1 has been removed, but the database file %2 could "
                                           "not be deleted.")
                                .arg(*chosen, path));
        QFile::remove(walOf(path));
        QFile::remove(shmOf(path));
    }
    if (!palmName.isEmpty())
        m_prompts.information(latin1(kProgramName), latin1(kPdaReminder));
    return Outcome::Done;
}
