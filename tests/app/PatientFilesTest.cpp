#include "app/PatientFiles.h"
#include "AppTestSupport.h"

#include <QDir>
#include <QFileInfo>

namespace {

using PatientFiles::createDbName;
using PatientFiles::makeFileName;

QString question(const QString& name, const QString& path) {
    return "We found an existing database for this user.\n\n" + name + "\n" + path +
           "\n\nWould you like to use it? \nIf not we will search for others or create a new "
           "one.";
}

TEST(PatientFileName, KeepsLettersAndDigitsExceptAFirstDigitElsePatient) {
    const std::pair<QString, QString> cases[] = {
        {"3 Jo O'Neil-Smith", "JoONeilSmith"},
        {"Ann 2nd", "Ann2nd"},
        {"1 2 Jo", "2Jo"},
        {"42", "2"},
        {"-42", "42"},
        {"Zo\u00eb \u00dcnal", "Zonal"},
        {"a/b\\c.d", "abcd"},
        // Nothing left: one stem, which the numbered candidates keep apart.
        {"7", "Patient"},
        {"!!!", "Patient"},
        {"", "Patient"}};
    for (const auto& [name, file] : cases)
        EXPECT_EQ(makeFileName(name), file) << name.toStdString();
}

class PatientFilesTest : public testing::Test {
protected:
    void TearDown() override { prompts.verify(); }

    QTemporaryDir dir;
    QString folder = dir.filePath("data/Quillmarch");
    ScriptedPrompts prompts;
    QString path;
};

TEST_F(PatientFilesTest, ANewNameTakesTheFirstCandidateAndMakesTheFolder) {
    const auto reuse = createDbName(folder, "3 Jo O'Neil-Smith", prompts, path);
    ASSERT_TRUE(reuse.has_value());
    EXPECT_FALSE(*reuse);
    EXPECT_EQ(path, folder + "/JoONeilSmith.db");
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_FALSE(QFileInfo::exists(path)); // choosing a name does not make the file
}

TEST_F(PatientFilesTest, DecliningTheExistingFilesNumbersTheNextOnesAndAcceptingOneReusesIt) {
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(writeFile(folder + "/JoONeilSmith.db", {}));
    ASSERT_TRUE(writeFile(folder + "/JoONeilSmith2.db", {}));
    const QString name = "3 Jo O'Neil-Smith";
    for (const bool acceptSecond : {false, true}) {
        prompts.expect("Reuse existing database?", question(name, folder + "/JoONeilSmith.db"),
                       PromptAnswer::No);
        prompts.expect("Reuse existing database?", question(name, folder + "/JoONeilSmith2.db"),
                       acceptSecond ? PromptAnswer::Yes : PromptAnswer::No);
        const auto reuse = createDbName(folder, name, prompts, path);
        ASSERT_TRUE(reuse.has_value());
        EXPECT_EQ(*reuse, acceptSecond);
        EXPECT_EQ(path, folder + (acceptSecond ? "/JoONeilSmith2.db" : "/JoONeilSmith3.db"));
    }
}

TEST_F(PatientFilesTest, AnUnusableFolderIsReported) {
    prompts.expect("Quillmarch", "createDbName Failed(): No DbPath in registry");
    EXPECT_FALSE(createDbName(QString(), "Jo", prompts, path).has_value());

    // A folder below a plain file can never be made.
    ASSERT_TRUE(writeFile(dir.filePath("blocker"), {}));
    prompts.expect("Quillmarch", "createDbName Failed(): Unable to retreive APPPATH");
    EXPECT_FALSE(createDbName(dir.filePath("blocker/sub"), "Jo", prompts, path).has_value());
}

} // namespace
