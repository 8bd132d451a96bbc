#include "app/PatientFiles.h"
#include "support/ScriptedPrompts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using PatientFiles::createDbName;
using PatientFiles::makeFileName;

void touch(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
}

QString question(const QString& name, const QString& path) {
    return "We found an existing database for this user.\n\n" + name + "\n" + path +
           "\n\nWould you like to use it? \nIf not we will search for others or create a new "
           "one.";
}

TEST(PatientFileName, KeepsOnlyLettersAndDigitsNotFirst) {
    EXPECT_EQ(makeFileName("3 Jo O'Neil-Smith"), "JoONeilSmith");
    EXPECT_EQ(makeFileName("Ann 2nd"), "Ann2nd");
    EXPECT_EQ(makeFileName("42"), "");
    EXPECT_EQ(makeFileName("Zo\u00eb \u00dcnal"), "Zonal");
    EXPECT_EQ(makeFileName("a/b\\c.d"), "abcd");
}

class PatientFilesTest : public testing::Test {
protected:
    void TearDown() override { prompts.verify(); }

    QTemporaryDir dir;
    QString folder = dir.filePath("data/Quillmarch");
    ScriptedPrompts prompts;
};

TEST_F(PatientFilesTest, ANewNameTakesTheFirstCandidateAndMakesTheFolder) {
    QString path;
    const auto reuse = createDbName(folder, "3 Jo O'Neil-Smith", prompts, path);
    ASSERT_TRUE(reuse.has_value());
    EXPECT_FALSE(*reuse);
    EXPECT_EQ(path, folder + "/JoONeilSmith.db");
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_FALSE(QFileInfo::exists(path)); // choosing a name does not make the file
}

TEST_F(PatientFilesTest, DecliningTheExistingFilesNumbersTheNextOnes) {
    ASSERT_TRUE(QDir().mkpath(folder));
    touch(folder + "/JoONeilSmith.db");
    touch(folder + "/JoONeilSmith2.db");
    const QString name = "3 Jo O'Neil-Smith";
    prompts.expect("Reuse existing database?", question(name, folder + "/JoONeilSmith.db"),
                   PromptAnswer::No);
    prompts.expect("Reuse existing database?", question(name, folder + "/JoONeilSmith2.db"),
                   PromptAnswer::No);

    QString path;
    const auto reuse = createDbName(folder, name, prompts, path);
    ASSERT_TRUE(reuse.has_value());
    EXPECT_FALSE(*reuse);
    EXPECT_EQ(path, folder + "/JoONeilSmith3.db");
}

TEST_F(PatientFilesTest, AcceptingAnExistingFileReusesIt) {
    ASSERT_TRUE(QDir().mkpath(folder));
    touch(folder + "/JoONeilSmith.db");
    touch(folder + "/JoONeilSmith2.db");
    prompts.expect("Reuse existing database?", {}, PromptAnswer::No);
    prompts.expect("Reuse existing database?", {}, PromptAnswer::Yes);

    QString path;
    const auto reuse = createDbName(folder, "Jo O'Neil-Smith", prompts, path);
    ASSERT_TRUE(reuse.has_value());
    EXPECT_TRUE(*reuse);
    EXPECT_EQ(path, folder + "/JoONeilSmith2.db");
}

TEST_F(PatientFilesTest, AnUnusableFolderIsReported) {
    QString path;
    prompts.expect("Quillmarch", "createDbName Failed(): No DbPath in registry");
    EXPECT_FALSE(createDbName(QString(), "Jo", prompts, path).has_value());

    // A folder below a plain file can never be made.
    touch(dir.filePath("blocker"));
    prompts.expect("Quillmarch", "createDbName Failed(): Unable to retreive APPPATH");
    EXPECT_FALSE(createDbName(dir.filePath("blocker/sub"), "Jo", prompts, path).has_value());
}

} // namespace
