#include "AppTestSupport.h"
#include "app/DefaultData.h"
#include "storage/MedicationTable.h"
#include "storage/SampleTypeTable.h"

#include <QDir>
#include <QRegularExpression>

namespace {

using Users = std::vector<std::pair<QString, QString>>;

// Answers the start-up windows from a script and remembers what was asked.
class ScriptedAppDialogs : public AppDialogs {
public:
    std::optional<QString> askNewPatientName() override {
        ++namesAsked;
        EXPECT_TRUE(name.has_value()) << "new-patient name asked without an answer";
        return name.value_or(std::nullopt);
    }
    std::optional<QString> chooseUser(const Users& users) override {
        ++choosersShown;
        offered = users;
        return chosen;
    }
    void showFinalizing(bool shown) override { finalizing.push_back(shown); }

    std::optional<std::optional<QString>> name;
    int namesAsked = 0;
    std::optional<QString> chosen;
    int choosersShown = 0;
    Users offered;
    std::vector<bool> finalizing;
};

class QuillmarchAppTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        app = std::make_unique<CQuillmarchApp>(settings, prompts, progress, dialogs, clock);
        app->setDataFolder(folder);
    }
    void TearDown() override {
        app.reset();
        prompts.verify();
    }

    // A database file in the data folder holding the default rows under `patientName`.
    std::unique_ptr<Database> makeDatabase(const QString& path, const QString& patientName) {
        QDir().mkpath(folder);
        auto db = Database::openFile(path, prompts);
        EXPECT_TRUE(db);
        Preference preference;
        preference.setPatientName(patientName);
        EXPECT_TRUE(db && DefaultData::initNewDatabase(*db, preference, clock));
        return db;
    }
    // A patient `key` whose database file already holds the default rows.
    QString makePatient(const QString& key, const QString& patientName) {
        const QString path = folder + "/" + key + "-made.db";
        makeDatabase(path, patientName);
        settings.setUserString(key, "DbPath", path);
        return path;
    }
    // Every row of the patient's tables, for checking that a file was left as it was.
    Rows dump(const QString& path) {
        Rows out;
        auto db = Database::openFile(path, prompts);
        if (!db)
            return {"cannot open " + path.toStdString()};
        for (const std::string table : {"PREFERENCE", "SAMPLE_TYPE", "MEDICATION", "CARBS", "METER",
                                        "PROTOCOL", "QB_PREFERENCE", "SAMPLE_DATE", "SAMPLE"}) {
            for (const std::string& row :
                 rowsOf(*db, ("select * from " + table + " order by PK").c_str()))
                out.push_back(table + "|" + row);
        }
        return out;
    }
    std::vector<QString> medicationCodes() {
        std::vector<QString> codes;
        for (int i = 0; i < app->getMedicationCount(); ++i)
            codes.push_back(app->getMedication(i)->getMedCode());
        return codes;
    }

    QTemporaryDir dir;
    QString folder = dir.filePath("data");
    ScriptedPrompts prompts;
    NoProgress progress;
    ScriptedAppDialogs dialogs;
    FixedClock clock{fromDateTimeText("20240305100000")};
    SettingsTree settings{dir.filePath("settings.ini"), prompts};
    std::unique_ptr<CQuillmarchApp> app;
};

TEST_F(QuillmarchAppTest, WithoutPatientsCancellingTheNewOneOpensNothing) {
    dialogs.name = std::optional<QString>(); // cancelled
    EXPECT_FALSE(app->selectUser());
    EXPECT_EQ(dialogs.namesAsked, 1);
    EXPECT_EQ(dialogs.choosersShown, 0);
    EXPECT_TRUE(dialogs.finalizing.empty());
    EXPECT_FALSE(app->hasDatabase());
    EXPECT_EQ(settings.countUsers(), 0);
    EXPECT_FALSE(app->quitCode().has_value());
    EXPECT_FALSE(QDir(folder).exists());
}

TEST_F(QuillmarchAppTest, WithoutPatientsTheFirstIsCreatedAndOpened) {
    dialogs.name = QString("3 Jo O'Neil-Smith");
    std::vector<QString> titles;
    app->setTitleObserver([&titles](const QString& title) { titles.push_back(title); });

    ASSERT_TRUE(app->selectUser());
    EXPECT_EQ(dialogs.choosersShown, 0);
    EXPECT_EQ(dialogs.finalizing, (std::vector<bool>{true, false}));
    EXPECT_EQ(settings.listUsers(), QStringList{"3 Jo O'Neil-Smith"});
    EXPECT_EQ(settings.getUserString("3 Jo O'Neil-Smith", "DbPath"), folder + "/JoONeilSmith.db");
    ASSERT_TRUE(app->hasDatabase());
    EXPECT_EQ(app->db()->path(), folder + "/JoONeilSmith.db");
    EXPECT_EQ(app->currentUserName(), "3 Jo O'Neil-Smith");
    EXPECT_EQ(app->windowTitle(), "Quillmarch-3 Jo O'Neil-Smith");
    EXPECT_EQ(titles, std::vector<QString>{"Quillmarch-3 Jo O'Neil-Smith"});
    EXPECT_EQ(app->getPreference().getDeliveryCode(), 1);

    ASSERT_EQ(app->getSlotCount(), 8);
    EXPECT_EQ(app->getSlot(0).getDesc(), "EarlyAm");
    EXPECT_EQ(app->getSlot(7).getDesc(), "Late Eve.");
    EXPECT_EQ(app->getSlot(7).getSampleTime(), "2100");
    EXPECT_EQ(app->getSlot(8).getPk(), -1);
    EXPECT_EQ(app->getSlot(8).getDesc(), "Unknown");
    EXPECT_EQ(app->getSlot(-1).getPk(), -1);

    // Humalog, Lantus, NPH and Regular are active; Novalog and the rest are not.
    EXPECT_EQ(medicationCodes(), (std::vector<QString>{"H", "G", "N", "R"}));
    EXPECT_EQ(app->getMedication(0)->getMedDesc(), "Humalog");
    EXPECT_EQ(app->getMedication(4), nullptr);
    EXPECT_EQ(app->getMedication(-1), nullptr);
    ASSERT_NE(app->findMedicationByCode(u'N'), nullptr);
    EXPECT_EQ(app->findMedicationByCode(u'N')->getMedDesc(), "NPH");
    EXPECT_EQ(app->findMedicationByCode(u'V'), nullptr);

    const MedicationLookup lookup = app->medicationLookup();
    ASSERT_TRUE(lookup(u'H').has_value());
    EXPECT_TRUE(lookup(u'H')->includeInTotals);
    EXPECT_FALSE(lookup(u'G')->includeInTotals);
    EXPECT_FALSE(lookup(u'V').has_value());
}

TEST_F(QuillmarchAppTest, TheOnlyPatientOpensWithoutAsking) {
    makePatient("Ann", "Ann Lee");
    ASSERT_TRUE(app->selectUser());
    EXPECT_EQ(dialogs.choosersShown, 0);
    EXPECT_EQ(dialogs.namesAsked, 0);
    EXPECT_EQ(app->currentUserName(), "Ann");
    EXPECT_EQ(app->windowTitle(), "Quillmarch-Ann Lee");
}

TEST_F(QuillmarchAppTest, SeveralPatientsAreOfferedByName) {
    makePatient("Bob", "Bob");
    makePatient("Ann", "Ann");
    settings.setUserString("Bob", "PalmUserName", "bobpalm");

    dialogs.chosen = std::nullopt;
    EXPECT_FALSE(app->selectUser());
    EXPECT_EQ(dialogs.choosersShown, 1);
    EXPECT_EQ(dialogs.offered, (Users{{"Ann", ""}, {"Bob", "bobpalm"}}));
    EXPECT_FALSE(app->hasDatabase());
    EXPECT_FALSE(app->quitCode().has_value());

    dialogs.chosen = QString("Bob");
    ASSERT_TRUE(app->selectUser());
    EXPECT_EQ(app->currentUserName(), "Bob");
    EXPECT_EQ(app->windowTitle(), "Quillmarch-Bob");
}

TEST_F(QuillmarchAppTest, ReusingAFileLeavesItsDataAsItWas) {
    const QString path = folder + "/JoONeilSmith.db";
    {
        auto db = makeDatabase(path, "Old Jo");
        ASSERT_TRUE(db);
        ASSERT_TRUE(db->exec("update SAMPLE_TYPE set DESC='Brunch' where SAMPLE_TIME='1130'"));
        ASSERT_TRUE(db->exec("delete from CARBS where CARB_NAME='Gogurt'"));
        ASSERT_TRUE(db->exec("update MEDICATION set EXPIRE_DAY_CNT=28 where MED_CODE='H'"));
    }
    const Rows before = dump(path);
    clock.set(fromDateTimeText("20250101120000")); // defaults written now would differ

    dialogs.name = QString("3 Jo O'Neil-Smith");
    prompts.expect("Reuse existing database?", {}, PromptAnswer::Yes);
    ASSERT_TRUE(app->createNewUser());
    EXPECT_EQ(settings.getUserString("3 Jo O'Neil-Smith", "DbPath"), path);
    EXPECT_EQ(app->windowTitle(), "Quillmarch-Old Jo");
    EXPECT_EQ(app->getSlot(3).getDesc(), "Brunch");
    app->closeUser();
    EXPECT_EQ(dump(path), before);
}

TEST_F(QuillmarchAppTest, DecliningReuseMakesANumberedFile) {
    const QString old = folder + "/JoONeilSmith.db";
    ASSERT_TRUE(QDir().mkpath(folder) && writeFile(old, "kept as it is"));
    dialogs.name = QString("Jo O'Neil-Smith");
    prompts.expect("Reuse existing database?", {}, PromptAnswer::No);
    ASSERT_TRUE(app->createNewUser());
    EXPECT_EQ(app->db()->path(), folder + "/JoONeilSmith2.db");
    EXPECT_EQ(app->getSlotCount(), 8);
    QFile file(old);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "kept as it is");
}

TEST_F(QuillmarchAppTest, AFileThatCannotBeOpenedEndsTheProgram) {
    const QString path = folder + "/bad.db";
    ASSERT_TRUE(QDir().mkpath(folder) && writeFile(path, QByteArray(4096, 'x')));
    settings.setUserString("Bad", "DbPath", path);

    prompts.expect("Database");
    prompts.expect("Quillmarch");
    EXPECT_FALSE(app->selectUser());
    ASSERT_EQ(prompts.count(), 2);
    EXPECT_FALSE(prompts.shown()[0].text.isEmpty());
    EXPECT_EQ(prompts.shown()[1].text, prompts.shown()[0].text);
    EXPECT_EQ(prompts.shown()[1].text, Database::lastOpenError());
    EXPECT_FALSE(app->hasDatabase());
    EXPECT_EQ(app->quitCode(), -1);
}

TEST_F(QuillmarchAppTest, APatientWithoutFileEndsTheProgram) {
    settings.setUserString("Ghost", "PalmUserName", "ghost");
    prompts.expect("Quillmarch", "No DbPath in registry");
    EXPECT_FALSE(app->switchUser("Ghost"));
    EXPECT_FALSE(app->hasDatabase());
    EXPECT_EQ(app->quitCode(), -1);
    EXPECT_FALSE(app->database().isOpen());
}

TEST_F(QuillmarchAppTest, SwitchingAndReloadingRefreshTheCaches) {
    makePatient("Ann", "Ann");
    const QString bobPath = makePatient("Bob", "Bob");
    {
        auto db = Database::openFile(bobPath, prompts);
        ASSERT_TRUE(db);
        db->exec("update SAMPLE_TYPE set DESC='Night' where SAMPLE_TIME='0000'");
        db->exec("update MEDICATION set ACTIVE_BOL='F' where MED_CODE='H'");
    }
    ASSERT_TRUE(app->switchUser("Ann"));
    EXPECT_EQ(app->getSlot(0).getDesc(), "EarlyAm");
    EXPECT_EQ(medicationCodes(), (std::vector<QString>{"H", "G", "N", "R"}));

    ASSERT_TRUE(app->switchUser("Bob"));
    EXPECT_EQ(app->getSlot(0).getDesc(), "Night");
    EXPECT_EQ(medicationCodes(), (std::vector<QString>{"G", "N", "R"}));
    EXPECT_EQ(app->windowTitle(), "Quillmarch-Bob");

    // Changes in the file show only after a reload; slots keep start-time order and
    // medications key order.
    SampleType dawn;
    dawn.setSampleTime("0500");
    dawn.setDesc("Dawn");
    ASSERT_TRUE(SampleTypeTable::save(app->database(), dawn));
    ASSERT_TRUE(app->database().exec("update MEDICATION set ACTIVE_BOL='T' where MED_CODE='V'"));
    EXPECT_EQ(app->getSlotCount(), 8);
    app->reloadPatientData();
    ASSERT_EQ(app->getSlotCount(), 9);
    EXPECT_EQ(app->getSlot(1).getDesc(), "Dawn");
    EXPECT_EQ(app->getSlot(2).getDesc(), "Breakfast");
    EXPECT_EQ(medicationCodes(), (std::vector<QString>{"G", "N", "V", "R"}));
}

TEST_F(QuillmarchAppTest, TheOpenCommandSwitchesOnlyOnOkAndClosingLeavesNothingOpen) {
    makePatient("Ann", "Ann");
    makePatient("Bob", "Bob");
    ASSERT_TRUE(app->switchUser("Ann"));
    dialogs.chosen = std::nullopt;
    EXPECT_FALSE(app->openUserCommand());
    EXPECT_EQ(app->currentUserName(), "Ann");
    EXPECT_TRUE(app->hasDatabase());
    dialogs.chosen = QString("Bob");
    EXPECT_TRUE(app->openUserCommand());
    EXPECT_EQ(app->currentUserName(), "Bob");

    // Closing the patient leaves nothing open.
    app->closeUser();
    EXPECT_FALSE(app->hasDatabase());
    EXPECT_EQ(app->user(), nullptr);
    EXPECT_EQ(app->currentUserName(), "");
    EXPECT_FALSE(app->database().isOpen());
}

TEST_F(QuillmarchAppTest, TheProgramFolderIsStoredOnFirstStartOnly) {
    EXPECT_TRUE(app->ensureAppPath("/opt/quillmarch"));
    EXPECT_EQ(settings.getAppString("AppPath"), "/opt/quillmarch");
    EXPECT_FALSE(app->ensureAppPath("/usr/local/quillmarch"));
    EXPECT_EQ(settings.getAppString("AppPath"), "/opt/quillmarch");
}

TEST_F(QuillmarchAppTest, VersionTextHasFourNumbers) {
    const QString version = app->getVersionText();
    EXPECT_TRUE(QRegularExpression("^\\d+\\.\\d+\\.\\d+\\.\\d+$").match(version).hasMatch())
        << version.toStdString();
    EXPECT_NE(version, CQuillmarchApp::kFallbackVersion);
}

TEST_F(QuillmarchAppTest, TheSplashClosesOnceTheSecondsPassTwo) {
    EXPECT_FALSE(app->shouldCloseSplash());
    const std::time_t start = clock.now();
    app->splashShown();
    EXPECT_TRUE(app->splashShowing());
    EXPECT_EQ(app->startTime(), start);
    clock.set(start + 2);
    EXPECT_FALSE(app->shouldCloseSplash());
    clock.set(start + 3);
    EXPECT_TRUE(app->shouldCloseSplash());
    app->splashClosed();
    EXPECT_FALSE(app->shouldCloseSplash());
}

} // namespace

TEST_F(QuillmarchAppTest, RenamingThePatientMovesEverySettingAndRetitles) {
    const QString path = makePatient("Ann", "Ann");
    makePatient("Bob", "Bob");
    settings.setUserString("Ann", "PatientNotes", "Walks daily");
    settings.setUserString("Ann", "Reports/Daily", "true");
    std::vector<QString> claimed;
    app->setPatientClaim([&claimed](const QString& name) {
        claimed.push_back(name);
        return true;
    });
    dialogs.chosen = QString("Ann");
    ASSERT_TRUE(app->selectUser());
    std::vector<QString> titles;
    app->setTitleObserver([&titles](const QString& title) { titles.push_back(title); });

    EXPECT_EQ(app->patientValue("PatientNotes"), "Walks daily");
    EXPECT_TRUE(app->otherPatientNamed("Bob"));
    EXPECT_FALSE(app->otherPatientNamed("Ann"));
    EXPECT_FALSE(app->otherPatientNamed("Carl"));

    // The same name touches nothing.
    EXPECT_TRUE(app->renamePatient("Ann"));
    EXPECT_EQ(settings.listUsers(), (QStringList{"Ann", "Bob"}));
    EXPECT_TRUE(titles.empty());

    app->getPreference().setPatientName("Ann Berg");
    ASSERT_TRUE(app->renamePatient("Ann Berg"));
    EXPECT_EQ(settings.listUsers(), (QStringList{"Ann Berg", "Bob"}));
    EXPECT_EQ(settings.getUserString("Ann Berg", "DbPath"), path);
    EXPECT_EQ(settings.getUserString("Ann Berg", "PatientNotes"), "Walks daily");
    EXPECT_EQ(settings.getUserString("Ann Berg", "Reports/Daily"), "true");
    EXPECT_EQ(app->currentUserName(), "Ann Berg");
    EXPECT_EQ(app->patientValue("PatientNotes"), "Walks daily");
    EXPECT_EQ(claimed, (std::vector<QString>{"Ann", "Ann Berg"}));
    EXPECT_EQ(titles, std::vector<QString>{"Quillmarch-Ann Berg"});
    // The database stays open under the new name.
    EXPECT_EQ(app->db()->path(), path);
}
