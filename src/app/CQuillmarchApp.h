#pragma once

#include "app/Q7User.h"
#include "settings/PatientSettingsContext.h"
#include "storage/Medication.h"
#include "storage/Preference.h"
#include "storage/SampleType.h"

#include <QString>
#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class AppDialogs;
class Clock;
class Database;
class Progress;
class Prompts;
class SettingsTree;

// The application core: the current patient, the open database and the patient's caches
// (preference record, slots by start time, active medications). It owns no window; what it
// needs to ask goes through AppDialogs and Prompts, so it runs the same under tests.
class CQuillmarchApp : public PatientSettingsContext {
public:
    // The program ends with this code when a patient's database cannot be opened.
    static constexpr int kOpenFailureExitCode = -1;
    static constexpr const char* kDbPathValue = "DbPath";
    static constexpr const char* kPalmUserNameValue = "PalmUserName";
    static constexpr const char* kAppPathValue = "AppPath";
    // Answered when the program's version cannot be read.
    static constexpr const char* kFallbackVersion = "2.0.8";

    CQuillmarchApp(SettingsTree& settings, Prompts& prompts, Progress& progress,
                   AppDialogs& dialogs, const Clock& clock);
    ~CQuillmarchApp() override;
    CQuillmarchApp(const CQuillmarchApp&) = delete;
    CQuillmarchApp& operator=(const CQuillmarchApp&) = delete;

    // The folder new database files are made in; the application-data folder by default.
    void setDataFolder(const QString& folder) { m_dataFolder = folder; }
    const QString& dataFolder() const { return m_dataFolder; }

    // ---- Start-up and patients ----------------------------------------------------------

    // Stores the program folder as "AppPath" when none is stored; true on that first start
    // (the caller then registers the paired patients with the handheld conduit again).
    bool ensureAppPath(const QString& programFolder);

    // Chooses the patient at start-up: creates the first one when there is none, opens the
    // only one without asking, or lets the patient choose. True when a database is open
    // afterwards; otherwise start-up ends with quitCode() (0 when nothing says otherwise).
    bool selectUser();
    // Asked before a patient is made current; false when another running program holds the
    // patient (that program has been asked to come forward).
    void setPatientClaim(std::function<bool(const QString&)> claim) {
        m_patientClaim = std::move(claim);
    }
    // Makes the patient current and opens the database file. On failure the reason is shown,
    // quitCode() is kOpenFailureExitCode and the quit request is made: the program ends.
    bool switchUser(const QString& name);
    // Called with the exit code when the program must end while it runs (a patient's file
    // that cannot be used); before the window is up, start-up reads quitCode() instead.
    void setQuitRequest(std::function<void(int)> request) { m_quitRequest = std::move(request); }
    // Closes the current database and opens the patient's file from "DbPath".
    bool openDatabase(const QString& name);
    // For jobs that only read: the patient's file is opened read-only from then on, and one
    // that would need tables created or converting is refused instead.
    void setReadOnlyFiles(bool readOnly) { m_readOnlyFiles = readOnly; }
    // The new-patient procedure; true when the new patient is open. A name that is already a
    // patient's is refused with a message naming that patient.
    bool createNewUser();
    // The "Open..." command: the chooser, then the switch; true when a patient was opened.
    bool openUserCommand();
    void closeUser();

    // For the commands that replace or copy the file as a whole: closes the current database
    // (the patient stays current, the caches are dropped) and answers the path it was opened
    // with, empty when none was open.
    QString closeDatabase();
    // Opens the current patient's file at `path` again as openDatabase() does (missing tables,
    // conversion) and drops the caches. False, with the reason in openError(), when it cannot.
    bool reopenDatabase(const QString& path);
    const QString& openError() const { return m_openError; }
    // Shows openError() and ends the program with kOpenFailureExitCode: nothing may go on
    // without the patient's file, since every entry typed would be lost.
    void quitWithoutDatabase();

    // Every patient with the handheld user name paired with it, by patient name.
    std::vector<std::pair<QString, QString>> usersWithPalmNames() const;
    std::optional<int> quitCode() const { return m_quitCode; }

    // ---- Caches --------------------------------------------------------------------------

    Preference& getPreference();
    // Reads the preference record, the slots and the active medications of the open file.
    void loadPatientData();
    void reloadPatientData();
    // The slot at an index in ascending start time; outside the list the stand-by slot
    // (PK -1, "Unknown").
    const SampleTypeAbs& getSlot(int index);
    int getSlotCount();
    // The active medication at an index in PK order, or nothing outside the list.
    const Medication* getMedication(int index);
    int getMedicationCount();
    // The first active medication whose code begins with that character.
    const Medication* findMedicationByCode(QChar code);

    // ---- Presentation ----------------------------------------------------------------------

    // "Quillmarch-" and the patient's PATIENT_NAME.
    QString windowTitle();
    // The program's version, "major.minor.patch.tweak".
    QString getVersionText() const;
    QString currentUserName() const { return m_user ? m_user->name() : QString(); }
    const Q7User* user() const { return m_user.get(); }
    // The open database, or nothing.
    Database* db() const { return m_db.get(); }
    bool hasDatabase() const { return m_db != nullptr; }
    SettingsTree& settings() const { return m_settings; }
    Progress& progress() const { return m_progress; }
    AppDialogs& dialogs() const { return m_dialogs; }
    // Called with the new window title whenever a patient has been opened.
    void setTitleObserver(std::function<void(const QString&)> observer) {
        m_titleObserver = std::move(observer);
    }

    // ---- Splash --------------------------------------------------------------------------

    // Remembers the moment of start-up and that the splash is up.
    void splashShown();
    void splashClosed() { m_splashShowing = false; }
    bool splashShowing() const { return m_splashShowing; }
    std::time_t startTime() const { return m_startTime; }
    // While the splash is up: whether the seconds part (0-59) of the time since start-up
    // has passed 2.
    bool shouldCloseSplash() const;

    // ---- LogbookContext ------------------------------------------------------------------

    // Without an open file, a closed connection whose statements all fail.
    Database& database() override;
    Preference& preference() override { return getPreference(); }
    // The next use reads the preference, slots and medications again.
    void reloadPreference() override { dropCaches(); }
    const SampleTypeAbs& slotAt(int index) override { return getSlot(index); }
    int slotCount() override { return getSlotCount(); }
    MedicationLookup medicationLookup() override;
    Prompts& prompts() override { return m_prompts; }
    const Clock& clock() override { return m_clock; }

    // ---- PatientSettingsContext --------------------------------------------------------

    QString patientValue(const QString& valueName) override;
    bool otherPatientNamed(const QString& name) override;
    // The settings move first; only when they have, the new name becomes current and the
    // running program holds the patient under it.
    bool renamePatient(const QString& newName) override;

private:
    void dropCaches();
    void ensureLoaded();
    // Opens the file at `path` as the current database, read-only when so set.
    bool openPath(const QString& path);

    SettingsTree& m_settings;
    Prompts& m_prompts;
    Progress& m_progress;
    AppDialogs& m_dialogs;
    const Clock& m_clock;
    QString m_dataFolder;

    std::unique_ptr<Database> m_db;
    std::unique_ptr<Database> m_noDatabase;
    std::unique_ptr<Q7User> m_user;
    std::unique_ptr<Preference> m_preference;
    std::vector<std::unique_ptr<SampleType>> m_slots;
    std::vector<std::unique_ptr<Medication>> m_medications;
    SampleType m_standBySlot;
    QString m_openError;
    std::optional<int> m_quitCode;
    std::function<void(const QString&)> m_titleObserver;
    std::function<bool(const QString&)> m_patientClaim;
    std::function<void(int)> m_quitRequest;

    std::time_t m_startTime = 0;
    bool m_splashShowing = false;
    bool m_readOnlyFiles = false;
};
