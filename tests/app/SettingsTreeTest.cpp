#include "AppTestSupport.h"

#include <QDir>
#include <QSettings>

#include <csignal>
#include <sys/resource.h>

namespace {

class SettingsTreeTest : public testing::Test {
protected:
    void TearDown() override { prompts.verify(); }

    QString raw(const QString& key) const {
        return QSettings(path, QSettings::IniFormat).value(key).toString();
    }
    // Runs `write` with room for the file as it is and the settings' own lock file, not more,
    // as on a full disk (permissions do not stop a test run as root); the file must come
    // out as it went in.
    bool onAFullDisk(const std::function<bool()>& write) {
        const QByteArray before = fileBytes(path);
        rlimit previous{};
        getrlimit(RLIMIT_FSIZE, &previous);
        rlimit lowered = previous;
        lowered.rlim_cur = static_cast<rlim_t>(before.size() + 16);
        const auto handler = std::signal(SIGXFSZ, SIG_IGN);
        EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &lowered), 0);
        const bool written = write();
        setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, handler);
        EXPECT_EQ(fileBytes(path), before);
        return written;
    }

    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("settings.ini"));
    ScriptedPrompts prompts;
    SettingsTree tree{path, prompts};
};

TEST_F(SettingsTreeTest, ValuesLiveBelowTheProgramsKeyAsTexts) {
    ASSERT_TRUE(tree.setAppString("AppPath", "/opt/quillmarch"));
    ASSERT_TRUE(tree.setUserString("Jo", "DbPath", "/data/Jo.db"));
    ASSERT_TRUE(tree.setUserBool("Jo", "showLogGraph", true));
    ASSERT_TRUE(tree.setUserBool("Jo", "IncludeFoodLog", false));
    ASSERT_TRUE(tree.setUserInt("Jo", "LogWeekCnt", -42));
    const std::pair<QString, QString> stored[] = {{"AppPath", "/opt/quillmarch"},
                                                  {"Users/Jo/DbPath", "/data/Jo.db"},
                                                  {"Users/Jo/showLogGraph", "true"},
                                                  {"Users/Jo/IncludeFoodLog", "false"},
                                                  {"Users/Jo/LogWeekCnt", "-42"}};
    for (const auto& [key, text] : stored)
        EXPECT_EQ(raw("SOFTWARE/Quillmarch/" + key), text);
    // A second tree on the same file sees everything.
    SettingsTree again(path, prompts);
    EXPECT_EQ(again.getAppString("AppPath"), "/opt/quillmarch");
    EXPECT_EQ(again.getUserInt("Jo", "LogWeekCnt"), -42);
}

TEST_F(SettingsTreeTest, OnlyTheExactTextTrueIsTrueAndIntegersReadTheLeadingDecimal) {
    const struct {
        const char* text;
        bool asBool;
        int asInt;
    } cases[] = {{"true", true, 0},   {"TRUE", false, 0},
                 {"true ", false, 0}, {"1", false, 1},
                 {"", false, 0},      {"12 weeks", false, 12},
                 {"weeks", false, 0}, {"2147483647", false, 2147483647}};
    for (const auto& c : cases) {
        tree.setUserString("Jo", "Value", c.text);
        EXPECT_EQ(tree.getUserBool("Jo", "Value"), c.asBool) << c.text;
        EXPECT_EQ(tree.getUserInt("Jo", "Value"), c.asInt) << c.text;
    }
    EXPECT_FALSE(tree.getUserBool("Jo", "NeverWritten"));
    EXPECT_EQ(tree.getUserInt("Jo", "NeverWritten"), 0);
    EXPECT_EQ(tree.getUserString("Jo", "NeverWritten"), "");
}

TEST_F(SettingsTreeTest, AnyPatientNameAndTextRoundTripWhole) {
    const QStringList names = {"A/B", "C\\D", "50% off", "%2F", " spaced ", "Zo\u00eb", "/lead"};
    const QString notes = "Call Dr. Lee, twice; \"fasting\"\nsecond line @home";
    for (const QString& name : names)
        ASSERT_TRUE(tree.setUserString(name, "PatientNotes", notes + name));
    QStringList sorted = names;
    sorted.sort();
    EXPECT_EQ(tree.listUsers(), sorted);
    EXPECT_EQ(tree.countUsers(), names.size());
    for (const QString& name : names)
        EXPECT_EQ(SettingsTree(path, prompts).getUserString(name, "PatientNotes"), notes + name);
    // The separator inside "A/B" made no patient "A" with a sub-key "B".
    EXPECT_FALSE(tree.userExists("A"));

    // A hand-edited value with a bare comma still reads back as the text it was.
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("\n[SOFTWARE]\nQuillmarch\\Users\\Ann\\PatientNotes=a,b\n");
    file.close();
    EXPECT_EQ(SettingsTree(path, prompts).getUserString("Ann", "PatientNotes"), "a,b");
}

TEST_F(SettingsTreeTest, RenameMovesEveryValueAndSubKeyAndRemovingTakesThemAll) {
    const std::vector<std::pair<QString, QString>> values = {
        {"DbPath", "/data/JoSmith.db"}, {"PatientNotes", "a, b"}, {"Conduit/Registered/Id", "77"}};
    for (const auto& [key, value] : values)
        tree.setUserString("Jo Smith", key, value);
    tree.setUserString("Ann", "DbPath", "/data/Ann.db");

    EXPECT_TRUE(tree.renameUser("Jo Smith", "Jo Smith"));
    EXPECT_EQ(tree.getUserString("Jo Smith", "DbPath"), "/data/JoSmith.db");

    ASSERT_TRUE(tree.renameUser("Jo Smith", "Jo/Smith-Lee"));
    EXPECT_EQ(tree.listUsers(), (QStringList{"Ann", "Jo/Smith-Lee"}));
    for (const auto& [key, value] : values)
        EXPECT_EQ(tree.getUserString("Jo/Smith-Lee", key), value) << key.toStdString();
    EXPECT_EQ(raw("SOFTWARE/Quillmarch/Users/Jo Smith/DbPath"), "");
    EXPECT_EQ(tree.getUserString("Ann", "DbPath"), "/data/Ann.db");

    // Removing takes the patient's sub-keys and no one else's.
    ASSERT_TRUE(tree.removeUser("Jo/Smith-Lee"));
    EXPECT_EQ(tree.listUsers(), QStringList{"Ann"});
    EXPECT_EQ(tree.getUserString("Jo/Smith-Lee", "Conduit/Registered/Id"), "");
}

TEST_F(SettingsTreeTest, RemovingAValueTakesThatValueOnly) {
    tree.setUserString("Jo", "PalmUserName", "Jo's Palm");
    tree.setUserString("Jo", "PalmUserNameId", "17");
    ASSERT_TRUE(tree.removeUserValue("Jo", "PalmUserName"));
    EXPECT_FALSE(tree.removeUserValue("", "PalmUserName"));
    EXPECT_EQ(QSettings(path, QSettings::IniFormat).allKeys().filter("/Jo/"),
              QStringList{"SOFTWARE/Quillmarch/Users/Jo/PalmUserNameId"});
}

TEST_F(SettingsTreeTest, AFailedWriteIsShownAndLosesNothing) {
    tree.setUserString("Jo", "DbPath", "/data/Jo.db");
    tree.setUserString("Jo", "PatientNotes", QString(300, u'x'));
    tree.setUserString("Jo", "Reports/LogWeekCnt", "4");

    prompts.expect("LastBackupName", "Cant set key value");
    EXPECT_FALSE(onAFullDisk(
        [this] { return tree.setUserString("Jo", "LastBackupName", QString(200, 'b')); }));
    prompts.expect("renameUser", "Cant set key value");
    EXPECT_FALSE(onAFullDisk([this] { return tree.renameUser("Jo", "Joanna"); }));

    // Read afresh: the old patient is whole and no half copy is waiting to be written.
    SettingsTree again(path, prompts);
    EXPECT_EQ(again.listUsers(), QStringList{"Jo"});
    EXPECT_EQ(again.getUserString("Jo", "Reports/LogWeekCnt"), "4");
    EXPECT_EQ(again.getUserString("Jo", "LastBackupName"), "");
    EXPECT_TRUE(again.flush());
    EXPECT_EQ(SettingsTree(path, prompts).listUsers(), QStringList{"Jo"});
}

TEST_F(SettingsTreeTest, AnUnreadableFileReadsEmptyAndSaysSo) {
    const QString folder = dir.filePath("folder.ini");
    ASSERT_TRUE(QDir().mkpath(folder));
    SettingsTree unreadable(folder, prompts);
    prompts.expect("getAppKey", "Cant open app key");
    EXPECT_EQ(unreadable.getAppString("AppPath"), "");
    prompts.expect("getUserKey", "Cant open USERS key");
    EXPECT_EQ(unreadable.countUsers(), 0);
    prompts.expect("getUserKey", "Cant open app key");
    EXPECT_EQ(unreadable.getUserString("Jo", "DbPath"), "");
    prompts.expect("getUserKey", "Cant open app key");
    EXPECT_FALSE(unreadable.openUserKey("Jo"));
}

TEST_F(SettingsTreeTest, TheDefaultLocationCanBeMovedAway) {
    const QByteArray saved = qgetenv("QUILLMARCH_SETTINGS");
    qputenv("QUILLMARCH_SETTINGS", path.toLocal8Bit());
    EXPECT_EQ(SettingsTree::defaultPath(), path);
    qputenv("QUILLMARCH_SETTINGS", saved);
}

} // namespace
