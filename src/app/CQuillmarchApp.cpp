#include "app/CQuillmarchApp.h"

#include "app/AppDialogs.h"
#include "app/DefaultData.h"
#include "app/PatientDatabase.h"
#include "app/PatientFiles.h"
#include "app/SettingsTree.h"
#include "storage/Clock.h"
#include "storage/Database.h"
#include "storage/DbConvert.h"
#include "storage/MedicationTable.h"
#include "storage/PreferenceTable.h"
#include "storage/SampleTypeTable.h"
#include "ui/Progress.h"
#include "ui/Prompts.h"

namespace {

// SAMPLE_TYPE's column the slots are ordered by.
constexpr int kSampleTimeColumn = 3;
constexpr const char* kNoDbPath = "No DbPath in registry";

QString latin1(const char* text) {
    return QString::fromLatin1(text);
}

QString existingPatientText(const QString& name) {
    return QStringLiteral("There is already a patient named \"%1\". Choose another name for the "
                          "new patient, or open \"%1\" with Open...")
        .arg(name);
}

// A file the engine has only just created holds no table, and so no older layout either.
bool holdsTables(Database& db) {
    return db.count("select count(*) from sqlite_master where type='table'") > 0;
}

} // namespace

CQuillmarchApp::CQuillmarchApp(SettingsTree& settings, Prompts& prompts, Progress& progress,
                               AppDialogs& dialogs, const Clock& clock)
    : m_settings(settings), m_prompts(prompts), m_progress(progress), m_dialogs(dialogs),
      m_clock(clock), m_dataFolder(PatientFiles::dataFolder()),
      m_noDatabase(std::make_unique<Database>(prompts)), m_startTime(clock.now()) {
    m_standBySlot.setPk(-1);
    m_standBySlot.setDesc(QStringLiteral("Unknown"));
}

CQuillmarchApp::~CQuillmarchApp() {
    closeUser();
    dropCaches();
}

bool CQuillmarchApp::ensureAppPath(const QString& programFolder) {
    if (!m_settings.getAppString(latin1(kAppPathValue)).isEmpty())
        return false;
    m_settings.setAppString(latin1(kAppPathValue), programFolder);
    return true;
}

bool CQuillmarchApp::selectUser() {
    const QStringList users = m_settings.listUsers();
    if (users.isEmpty())
        return createNewUser() && hasDatabase();
    if (users.size() == 1)
        return switchUser(users.front());
    const auto chosen = m_dialogs.chooseUser(usersWithPalmNames());
    return chosen && switchUser(*chosen);
}

bool CQuillmarchApp::switchUser(const QString& name) {
    // Another running program that has this patient open keeps it: two programs never
    // write the same file. The current patient, if any, stays as it was.
    if (m_patientClaim && !m_patientClaim(Q7User(name).name()))
        return false;
    m_user = std::make_unique<Q7User>(name);
    dropCaches();
    if (!openDatabase(m_user->name())) {
        quitWithoutDatabase();
        return false;
    }
    if (m_titleObserver)
        m_titleObserver(windowTitle());
    return true;
}

QString CQuillmarchApp::patientValue(const QString& valueName) {
    return m_user ? m_settings.getUserString(m_user->name(), valueName) : QString();
}

bool CQuillmarchApp::otherPatientNamed(const QString& name) {
    const QString key = Q7User(name).name();
    return (!m_user || key != m_user->name()) && m_settings.userExists(key);
}

bool CQuillmarchApp::renamePatient(const QString& newName) {
    if (!m_user)
        return false;
    const Q7User renamed(newName);
    if (renamed.name() == m_user->name())
        return true;
    if (!m_settings.renameUser(m_user->name(), renamed.name()))
        return false;
    m_user = std::make_unique<Q7User>(renamed);
    // A second program started for the new name must find this one.
    if (m_patientClaim)
        m_patientClaim(m_user->name());
    if (m_titleObserver)
        m_titleObserver(windowTitle());
    return true;
}

bool CQuillmarchApp::openDatabase(const QString& name) {
    m_db.reset();
    const QString path = m_settings.getUserString(name, latin1(kDbPathValue));
    if (path.isEmpty()) {
        // The engine would take an empty path for a private temporary file, and the
        // patient's entries would silently vanish at exit.
        m_openError = latin1(kNoDbPath);
        return false;
    }
    return openPath(path);
}

bool CQuillmarchApp::openPath(const QString& path) {
    m_db = m_readOnlyFiles ? openPatientDatabaseReadOnly(path, m_prompts, m_openError)
                           : openPatientDatabase(path, m_prompts, m_progress, m_openError);
    return m_db != nullptr;
}

QString CQuillmarchApp::closeDatabase() {
    dropCaches();
    const QString path = m_db ? m_db->path() : QString();
    m_db.reset();
    return path;
}

bool CQuillmarchApp::reopenDatabase(const QString& path) {
    closeDatabase();
    if (path.isEmpty()) {
        m_openError = latin1(kNoDbPath);
        return false;
    }
    if (!openPath(path))
        return false;
    // The file may have come from elsewhere (a restore) and name the patient differently.
    if (m_titleObserver)
        m_titleObserver(windowTitle());
    return true;
}

void CQuillmarchApp::quitWithoutDatabase() {
    m_prompts.error(latin1(kProgramName), m_openError);
    // Nothing may go on without a file: every entry typed would be lost.
    m_quitCode = kOpenFailureExitCode;
    if (m_quitRequest)
        m_quitRequest(kOpenFailureExitCode);
}

bool CQuillmarchApp::createNewUser() {
    const auto name = m_dialogs.askNewPatientName();
    if (!name || name->isEmpty())
        return false;
    const QString patient = Q7User(*name).name();
    // The patient's "DbPath" would be overwritten, and that patient's logbook lost with it.
    if (m_settings.userExists(patient)) {
        m_prompts.error(latin1(kProgramName), existingPatientText(patient));
        return false;
    }

    m_dialogs.showFinalizing(true);
    Preference preference;
    preference.setPatientName(patient);

    QString path;
    const auto reuse = PatientFiles::createDbName(m_dataFolder, patient, m_prompts, path);
    if (!reuse || !m_settings.setUserString(patient, latin1(kDbPathValue), path)) {
        m_dialogs.showFinalizing(false);
        return false;
    }
    if (!*reuse) {
        if (auto db = Database::openFile(path, m_prompts)) {
            if (holdsTables(*db))
                DbConvert(*db, m_progress).convert();
            DefaultData::initNewDatabase(*db, preference, m_clock);
        }
    }
    const bool opened = switchUser(patient);
    m_dialogs.showFinalizing(false);
    return opened;
}

bool CQuillmarchApp::openUserCommand() {
    const auto chosen = m_dialogs.chooseUser(usersWithPalmNames());
    return chosen && switchUser(*chosen);
}

void CQuillmarchApp::closeUser() {
    m_db.reset();
    m_user.reset();
}

std::vector<std::pair<QString, QString>> CQuillmarchApp::usersWithPalmNames() const {
    std::vector<std::pair<QString, QString>> users;
    for (const QString& name : m_settings.listUsers())
        users.emplace_back(name, m_settings.getUserString(name, latin1(kPalmUserNameValue)));
    return users;
}

void CQuillmarchApp::dropCaches() {
    m_preference.reset();
    m_slots.clear();
    m_medications.clear();
}

void CQuillmarchApp::ensureLoaded() {
    if (!m_preference)
        loadPatientData();
}

Preference& CQuillmarchApp::getPreference() {
    ensureLoaded();
    return *m_preference;
}

void CQuillmarchApp::loadPatientData() {
    dropCaches();
    if (!m_db) {
        m_preference = std::make_unique<Preference>();
        return;
    }
    m_preference = PreferenceTable::load(*m_db);
    if (auto query = SampleTypeTable::selectAll(*m_db, kSampleTimeColumn, true)) {
        while (auto slot = SampleTypeTable::getNext(*m_db, *query))
            m_slots.push_back(std::move(slot));
    }
    if (auto query = MedicationTable::selectAll(*m_db, 0, true)) {
        while (auto medication = MedicationTable::getNext(*m_db, *query)) {
            if (medication->getActiveBol())
                m_medications.push_back(std::move(medication));
        }
    }
    m_preference->loadTargetPeriods(*m_db);
}

void CQuillmarchApp::reloadPatientData() {
    m_preference.reset();
    loadPatientData();
}

const SampleTypeAbs& CQuillmarchApp::getSlot(int index) {
    ensureLoaded();
    if (index < 0 || index >= getSlotCount())
        return m_standBySlot;
    return *m_slots[static_cast<size_t>(index)];
}

int CQuillmarchApp::getSlotCount() {
    ensureLoaded();
    return static_cast<int>(m_slots.size());
}

const Medication* CQuillmarchApp::getMedication(int index) {
    ensureLoaded();
    if (index < 0 || index >= getMedicationCount())
        return nullptr;
    return m_medications[static_cast<size_t>(index)].get();
}

int CQuillmarchApp::getMedicationCount() {
    ensureLoaded();
    return static_cast<int>(m_medications.size());
}

const Medication* CQuillmarchApp::findMedicationByCode(QChar code) {
    ensureLoaded();
    for (const auto& medication : m_medications) {
        if (medication->getMedCode().startsWith(code))
            return medication.get();
    }
    return nullptr;
}

MedicationLookup CQuillmarchApp::medicationLookup() {
    ensureLoaded();
    return makeMedicationLookup(m_medications);
}

Database& CQuillmarchApp::database() {
    return m_db ? *m_db : *m_noDatabase;
}

QString CQuillmarchApp::windowTitle() {
    return latin1(kProgramName) + u'-' + getPreference().getPatientName();
}

QString CQuillmarchApp::getVersionText() const {
#if defined(QUILLMARCH_VERSION_MAJOR) && defined(QUILLMARCH_VERSION_MINOR) &&                      \
    defined(QUILLMARCH_VERSION_PATCH) && defined(QUILLMARCH_VERSION_TWEAK)
    return QString::asprintf("%d.%d.%d.%d", QUILLMARCH_VERSION_MAJOR, QUILLMARCH_VERSION_MINOR,
                             QUILLMARCH_VERSION_PATCH, QUILLMARCH_VERSION_TWEAK);
#else
    m_prompts.error(latin1(kProgramName), QStringLiteral("QueryValue Failed"));
    return latin1(kFallbackVersion);
#endif
}

void CQuillmarchApp::splashShown() {
    m_startTime = m_clock.now();
    m_splashShowing = true;
}

bool CQuillmarchApp::shouldCloseSplash() const {
    if (!m_splashShowing)
        return false;
    // Only the seconds part of the elapsed time counts.
    return (m_clock.now() - m_startTime) % 60 > 2;
}
