#pragma once

#include "app/CQuillmarchApp.h"
#include "app/SettingsTree.h"
#include "cli/CliEnvironment.h"
#include "cli/ConsoleAppDialogs.h"
#include "cli/ConsoleProgress.h"
#include "cli/ConsolePrompts.h"

#include <QString>
#include <memory>
#include <optional>

class InstanceGuard;

// One job's run: the application object as the window uses it, with console prompts and
// start-up dialogs, over the environment's settings file. Jobs reach the patient's data only
// through it, so they act on the same classes the menus do.
class CliSession {
public:
    enum class Access { readOnly, readWrite };

    CliSession(const CliEnvironment& environment, bool answerYes, std::optional<QString> patient);
    ~CliSession();

    QTextStream& out() { return m_environment.out; }
    QTextStream& err() { return m_environment.err; }
    // Writes "quillmarch: <text>" to standard error; answers CliExit::failed.
    int fail(const QString& text);

    // Opens the patient named with --patient, or else the one the start-up opens without
    // asking: the only patient there is. False (the reason written) when there is no such
    // patient, several and none named, or the file cannot be opened as asked. A read-only
    // patient file is never created, converted or written to. A job that writes takes the
    // patient as the window does, and is refused while a running program has it open: two
    // programs never write one file, and a restore never replaces a file a window still uses.
    bool openPatient(Access access);

    // Creates the patient and its default database as "New User..." does, and opens it.
    // False (the reason written) for a name that is empty, too long or taken.
    bool createPatient(const QString& name);
    CQuillmarchApp& app() { return m_app; }
    SettingsTree& settings() { return m_settings; }
    ConsolePrompts& prompts() { return m_prompts; }
    Progress& progress() { return m_progress; }

private:
    const CliEnvironment& m_environment;
    ConsolePrompts m_prompts;
    ConsoleAppDialogs m_dialogs;
    ConsoleProgress m_progress;
    SettingsTree m_settings;
    CQuillmarchApp m_app;
    std::optional<QString> m_patient;
    std::unique_ptr<InstanceGuard> m_guard;
};
