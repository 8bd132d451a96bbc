#include "AppTestSupport.h"
#include "app/DefaultData.h"

#include <QDir>
#include <QRegularExpression>

namespace {

class QuillmarchAppTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        app = std::make_unique<CQuillmarchApp>(settings, prompts, progress, dialogs, clock);
        app->setDataFolder(folder);
        app->setTitleObserver([this](const QString& title) { titles.push_back(title); });
    }
    void TearDown() override {
        app.reset();
        prompts.verify();
    }

    // A database file holding the default rows under `patientName`.
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
    // The codes of the cached medications, in order.
    QString medicationCodes() {
        QString codes;
        for (int i = 0; i < app->getMedicationCount(); ++i)
            codes += app->getMedication(i)->getMedCode();
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
    std::vector<QString> titles;
};

TEST_F(QuillmarchAppTest, WithoutPatientsCancellingTheNewOneOpensNothing) {
    EXPECT_FALSE(app->selectUser());
    EXPECT_EQ(dialogs.namesAsked, 1);
    EXPECT_TRUE(dialogs.finalizing.empty());
    EXPECT_FALSE(app->hasDatabase());
    EXPECT_EQ(settings.countUsers(), 0);
    EXPECT_FALSE(app->quitCode().has_value());
    EXPECT_FALSE(QDir(folder).exists());
}

TEST_F(QuillmarchAppTest, WithoutPatientsTheFirstIsCreatedAndOpened) {
    dialogs.name = QString("3 Jo O'Neil-Smith");
    ASSERT_TRUE(app->selectUser());
    EXPECT_EQ(dialogs.choosersShown, 0);
    EXPECT_EQ(dialogs.finalizing, (std::vector<bool>{true, false}));
    EXPECT_EQ(settings.getUserString("3 Jo O'Neil-Smith", "DbPath"), folder + "/JoONeilSmith.db");
    EXPECT_EQ(app->db()->path(), folder + "/JoONeilSmith.db");
    EXPECT_EQ(titles, std::vector<QString>{"Quillmarch-3 Jo O'Neil-Smith"});
    EXPECT_EQ(app->getSlotCount(), 8);
}

TEST_F(QuillmarchAppTest, TheOnlyPatientOpensWithoutAskingAndSeveralAreOfferedByName) {
    makePatient("Bob", "Bob Ray");
    ASSERT_TRUE(app->selectUser());
    EXPECT_EQ(dialogs.choosersShown + dialogs.namesAsked, 0);
    EXPECT_EQ(app->windowTitle(), "Quillmarch-Bob Ray");

    makePatient("Ann", "Ann");
    settings.setUserString("Bob", "PalmUserName", "bobpalm");
    EXPECT_FALSE(app->openUserCommand()); // the chooser is cancelled: nothing changes
    EXPECT_EQ(dialogs.offered, (Users{{"Ann", ""}, {"Bob", "bobpalm"}}));
    EXPECT_EQ(app->currentUserName(), "Bob");
    EXPECT_FALSE(app->quitCode().has_value());
    dialogs.chosen = QString("Ann");
    ASSERT_TRUE(app->selectUser());
    EXPECT_EQ(app->currentUserName(), "Ann");

    app->closeUser();
    EXPECT_EQ(app->user(), nullptr);
    EXPECT_FALSE(app->database().isOpen());
}

TEST_F(QuillmarchAppTest, ReusingAFileLeavesItsDataAsItWas) {
    const QString path = folder + "/JoONeilSmith.db";
    makeDatabase(path, "Old Jo");
    const QByteArray before = fileBytes(path);
    clock.set(fromDateTimeText("20250101120000")); // defaults written now would differ

    dialogs.name = QString("3 Jo O'Neil-Smith");
    prompts.expect("Reuse existing database?",
                   "We found an existing database for this user.\n\n3 Jo O'Neil-Smith\n" + path +
                       "\n\nWould you like to use it? \nIf not we will search for others or "
                       "create a new one.",
                   PromptAnswer::Yes);
    ASSERT_TRUE(app->createNewUser());
    EXPECT_EQ(settings.getUserString("3 Jo O'Neil-Smith", "DbPath"), path);
    EXPECT_EQ(app->windowTitle(), "Quillmarch-Old Jo");
    app->closeUser();
    EXPECT_EQ(fileBytes(path), before);
}

TEST_F(QuillmarchAppTest, DecliningReuseMakesANumberedFileEvenForNamesWithoutLetters) {
    const QString old = folder + "/JoONeilSmith.db";
    ASSERT_TRUE(QDir().mkpath(folder) && writeFile(old, "kept as it is"));
    const struct {
        const char* name;
        bool fileThere;
        const char* file;
    } cases[] = {{"Jo O'Neil-Smith", true, "JoONeilSmith2.db"},
                 {"!!!", false, "Patient.db"},
                 {"4", true, "Patient2.db"}};
    for (const auto& c : cases) {
        dialogs.name = QString(c.name);
        if (c.fileThere)
            prompts.expect("Reuse existing database?", {}, PromptAnswer::No);
        ASSERT_TRUE(app->createNewUser()) << c.name;
        EXPECT_EQ(app->db()->path(), folder + "/" + c.file);
        EXPECT_EQ(app->getSlotCount(), 8) << c.name;
    }
    EXPECT_EQ(fileBytes(old), "kept as it is");
}

TEST_F(QuillmarchAppTest, ANewPatientUnderAnExistingNameIsRefused) {
    makePatient("Ann", "Ann");
    const QString joPath = makePatient("Jo Smith", "Jo Smith");
    ASSERT_TRUE(app->switchUser("Ann"));

    dialogs.name = QString("Jo Smith");
    prompts.expect("Quillmarch", "There is already a patient named \"Jo Smith\". Choose another "
                                 "name for the new patient, or open \"Jo Smith\" with Open...");
    EXPECT_FALSE(app->createNewUser());
    EXPECT_EQ(settings.getUserString("Jo Smith", "DbPath"), joPath);
    EXPECT_EQ(settings.listUsers(), (QStringList{"Ann", "Jo Smith"}));
    EXPECT_TRUE(dialogs.finalizing.empty());
    EXPECT_EQ(app->currentUserName(), "Ann");
    EXPECT_TRUE(app->hasDatabase());
}

enum class Unusable { Unreadable, WithoutPath, FailsToConvert };

class UnusableFileTest : public QuillmarchAppTest,
                         public testing::WithParamInterface<std::tuple<Unusable, bool>> {};

// Whether at start-up or on a later switch, a file that cannot be used is named and the
// program ends: it never goes on without a file.
TEST_P(UnusableFileTest, IsNamedAndEndsTheProgram) {
    const auto [kind, atStartUp] = GetParam();
    std::vector<int> quitRequests;
    if (!atStartUp) {
        makePatient("Ann", "Ann");
        ASSERT_TRUE(app->switchUser("Ann"));
        app->setQuitRequest([&quitRequests](int code) { quitRequests.push_back(code); });
    }
    const QString path = folder + "/Bad.db";
    QDir().mkpath(folder);
    if (kind == Unusable::Unreadable) {
        ASSERT_TRUE(writeFile(path, QByteArray(4096, 'x')));
        prompts.expect("Database");
    } else if (kind == Unusable::FailsToConvert) {
        // An old preference layout without the record its conversion rewrites.
        auto db = Database::openFile(path, prompts);
        ASSERT_TRUE(db->exec("create table PREFERENCE ( PK INTEGER PRIMARY KEY, "
                             "NORMAL_GLUCOSE_LO INTEGER, NORMAL_GLUCOSE_EXT_LO INTEGER, "
                             "NORMAL_GLUCOSE_HI INTEGER, NORMAL_GLUCOSE_EXT_HI INTEGER )"));
        ASSERT_TRUE(db->exec("insert into PREFERENCE values (2, 80, 65, 150, 220)"));
        prompts.expect("Database Conversion");
    }
    settings.setUserString("Bad", "DbPath", kind == Unusable::WithoutPath ? "" : path);
    prompts.expect("Quillmarch");
    titles.clear();

    EXPECT_FALSE(atStartUp ? app->selectUser() : app->switchUser("Bad"));
    const QString why = prompts.shown().back().text;
    if (kind == Unusable::Unreadable) {
        EXPECT_EQ(why, Database::lastOpenError());
    } else {
        EXPECT_TRUE(kind == Unusable::WithoutPath ? why == "No DbPath in registry"
                                                  : why.contains(path) && why.contains("date"))
            << why.toStdString();
    }
    EXPECT_FALSE(app->database().isOpen());
    EXPECT_EQ(app->quitCode(), -1);
    EXPECT_EQ(quitRequests, atStartUp ? std::vector<int>{} : std::vector<int>{-1});
    EXPECT_TRUE(titles.empty());
}

INSTANTIATE_TEST_SUITE_P(AllKinds, UnusableFileTest,
                         testing::Combine(testing::Values(Unusable::Unreadable,
                                                          Unusable::WithoutPath,
                                                          Unusable::FailsToConvert),
                                          testing::Bool()));

TEST_F(QuillmarchAppTest, TheCachesFollowTheCurrentPatientAndAReload) {
    makePatient("Ann", "Ann");
    const QString bobPath = makePatient("Bob", "Bob");
    {
        auto db = Database::openFile(bobPath, prompts);
        db->exec("update SAMPLE_TYPE set DESC='Night' where SAMPLE_TIME='0000'");
        db->exec("update MEDICATION set ACTIVE_BOL='F' where MED_CODE='H'");
    }
    ASSERT_TRUE(app->switchUser("Ann"));
    EXPECT_EQ(app->getSlot(0).getDesc(), "EarlyAm");
    // Humalog, Lantus, NPH and Regular are active, in key order; Novalog and the rest not.
    EXPECT_EQ(medicationCodes(), "HGNR");
    EXPECT_TRUE(app->medicationLookup()(u'H').has_value());
    EXPECT_FALSE(app->medicationLookup()(u'V').has_value());
    ASSERT_TRUE(app->switchUser("Bob"));
    EXPECT_EQ(app->getSlot(0).getDesc(), "Night");
    EXPECT_EQ(medicationCodes(), "GNR");

    // Changes in the file show only after a reload; slots keep start-time order.
    ASSERT_TRUE(app->database().exec("insert into SAMPLE_TYPE (SAMPLE_TIME, DESC, SYNC_STATE) "
                                     "values ('0500', 'Dawn', 10)"));
    ASSERT_TRUE(app->database().exec("update MEDICATION set ACTIVE_BOL='T' where MED_CODE='V'"));
    EXPECT_EQ(app->getSlotCount(), 8);
    app->reloadPatientData();
    ASSERT_EQ(app->getSlotCount(), 9);
    EXPECT_EQ(app->getSlot(1).getDesc(), "Dawn");
    EXPECT_EQ(medicationCodes(), "GNVR");
    EXPECT_EQ(app->findMedicationByCode(u'V')->getMedDesc(), "Novalog");
    EXPECT_EQ(app->findMedicationByCode(u'H'), nullptr);
    // Outside the lists: the stand-by slot and no medication.
    EXPECT_EQ(app->getSlot(9).getPk(), -1);
    EXPECT_EQ(app->getSlot(-1).getDesc(), "Unknown");
    EXPECT_TRUE(app->getMedication(4) == nullptr && app->getMedication(-1) == nullptr);
}

TEST_F(QuillmarchAppTest, ProgramFolderVersionAndSplash) {
    EXPECT_TRUE(app->ensureAppPath("/opt/quillmarch"));
    EXPECT_FALSE(app->ensureAppPath("/usr/local/quillmarch")); // stored on first start only
    EXPECT_EQ(settings.getAppString("AppPath"), "/opt/quillmarch");

    EXPECT_TRUE(QRegularExpression("^\\d+(\\.\\d+){3}$").match(app->getVersionText()).hasMatch());
    EXPECT_NE(app->getVersionText(), CQuillmarchApp::kFallbackVersion);

    // The splash closes once the seconds part of the time since start-up passes 2.
    EXPECT_FALSE(app->shouldCloseSplash());
    const std::time_t start = clock.now();
    app->splashShown();
    for (const auto& [after, close] : {std::pair{2, false}, {3, true}, {62, false}}) {
        clock.set(start + after);
        EXPECT_EQ(app->shouldCloseSplash(), close) << after;
    }
    app->splashClosed();
    EXPECT_FALSE(app->shouldCloseSplash());
}

TEST_F(QuillmarchAppTest, RenamingThePatientMovesTheSettingsTheClaimAndTheTitle) {
    const QString path = makePatient("Ann", "Ann");
    makePatient("Bob", "Bob");
    std::vector<QString> claimed;
    app->setPatientClaim([&claimed](const QString& name) {
        claimed.push_back(name);
        return true;
    });
    ASSERT_TRUE(app->switchUser("Ann"));
    EXPECT_TRUE(app->otherPatientNamed("Bob"));
    EXPECT_FALSE(app->otherPatientNamed("Ann"));
    EXPECT_FALSE(app->otherPatientNamed("Carl"));
    titles.clear();
    EXPECT_TRUE(app->renamePatient("Ann")); // the same name touches nothing
    EXPECT_TRUE(titles.empty());

    app->getPreference().setPatientName("Ann Berg");
    ASSERT_TRUE(app->renamePatient("Ann Berg"));
    EXPECT_EQ(settings.listUsers(), (QStringList{"Ann Berg", "Bob"}));
    EXPECT_EQ(app->patientValue("DbPath"), path);
    EXPECT_EQ(claimed, (std::vector<QString>{"Ann", "Ann Berg"}));
    EXPECT_EQ(titles, std::vector<QString>{"Quillmarch-Ann Berg"});
    EXPECT_EQ(app->db()->path(), path); // still open under the new name
}

} // namespace
