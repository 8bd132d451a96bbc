#pragma once

#include <QString>
#include <functional>

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
    enum class Outcome { Done, Cancelled, Failed };

    DatabaseMaintenance(CQuillmarchApp& app, FileDialogs& files, Prompts& prompts);

    Outcome backupDatabase();
    // Done: the file was replaced and the view must reload its list.
    Outcome restoreDatabase();
    // `waitWindow(true)` before the work and `waitWindow(false)` after it: the window shows
    // "Optimizing ..... Please Wait!" with the wait cursor meanwhile.
    Outcome optimizeDatabase(const std::function<void(bool shown)>& waitWindow = {});
    Outcome removeUser();

private:
    CQuillmarchApp& m_app;
    FileDialogs& m_files;
    Prompts& m_prompts;
};
