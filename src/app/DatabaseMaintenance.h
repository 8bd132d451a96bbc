#pragma once

#include "ui/Prompts.h"

#include <QString>
#include <functional>
#include <optional>

class CQuillmarchApp;
class FileDialogs;
class Prompts;

// The File menu's commands that act on the patient's database file as a whole (Backup...,
// Restore..., Optimize Database ...) and on the list of patients (Remove User...). Files are
// chosen through FileDialogs and everything is said through Prompts, so the window and the
// command line run the same code.
//
// None of them can lose the patient's data: a backup is a consistent copy made by the engine;
// a restore first checks that the chosen file is a sound patient database, keeps the file it
// replaces as "<name>.before-restore.db" beside it and replaces the file in one rename.
class DatabaseMaintenance {
public:
    // Cancelled: the patient said no or chose nothing. Failed: refused or not possible; the
    // reason has been shown, and the patient's file is open and as it was.
    enum class Outcome { Done, Cancelled, Failed };

    static constexpr const char* kFilter = "Quillmarch Database (*.db)";
    static constexpr const char* kBackupCaption = "Backup Database";
    static constexpr const char* kRestoreCaption = "Restore Database";
    static constexpr const char* kLastBackupValue = "LastBackupName";
    static constexpr const char* kSamePathText =
        "Select a name that is not the same as your current database";
    static constexpr const char* kOverwriteCaption = "Over write file?";
    static constexpr const char* kOverwriteText = kOverwriteQuestion;
    static constexpr const char* kBackupDoneText = "Backup Completed to %1";
    static constexpr const char* kRestoreDoneText = "Restore Complete from %1";
    static constexpr const char* kKeptSuffix = ".before-restore.db";
    static constexpr const char* kOptimizingText = "Optimizing ..... Please Wait!";
    static constexpr const char* kOptimizedText = "Optimization Successful!";
    static constexpr const char* kOptimizeFailedText =
        "********* Optimization Failed! **************";
    static constexpr const char* kCurrentUserText = "You can not remove the current user.";
    static constexpr const char* kRemoveQuestion = "Are you sure you want to remove %1";
    static constexpr const char* kPdaReminder =
        "Remember to remove your Quillmarch application from your PDA before syncing";

    DatabaseMaintenance(CQuillmarchApp& app, FileDialogs& files, Prompts& prompts);

    // A file chosen that is the current one, or not to be overwritten, brings the dialog back.
    Outcome backupDatabase();
    // Done: the file was replaced and the view must reload its list.
    Outcome restoreDatabase();
    // `waitWindow(true)` before the work and `waitWindow(false)` after it: the window shows
    // "Optimizing ..... Please Wait!" with the wait cursor meanwhile.
    Outcome optimizeDatabase(const std::function<void(bool shown)>& waitWindow = {});
    // Deletes another patient's database file and settings; the current one is refused.
    Outcome removeUser();

    // "Remove User..." is offered only when another patient than the current one exists.
    static bool removeUserEnabled(const CQuillmarchApp& app);
    // The name "<name>.before-restore.db" beside the database file at `path`.
    static QString keptFilePath(const QString& path);

private:
    // One pass of each dialog command; nothing when the command must start again.
    std::optional<Outcome> backupOnce();
    std::optional<Outcome> restoreOnce();
    // Replaces the current file (closed) with the checked file at `chosen`; the reopened
    // database is open again whatever happens.
    Outcome replaceCurrentFile(const QString& current, const QString& chosen);
    // Opens the current file again after it was closed; when that fails, the program ends.
    bool reopen(const QString& path);
    bool isCurrentDatabase(const QString& path) const;
    QString currentPath() const;
    QString patientKey() const;

    CQuillmarchApp& m_app;
    FileDialogs& m_files;
    Prompts& m_prompts;
};
