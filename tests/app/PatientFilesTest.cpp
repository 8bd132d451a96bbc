#include "app/PatientFiles.h"
#include "AppTestSupport.h"

namespace {

using PatientFiles::createDbName;
using PatientFiles::makeFileName;

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

TEST(PatientFiles, AnUnusableFolderIsReported) {
    QTemporaryDir dir;
    ScriptedPrompts prompts;
    QString path;
    prompts.expect("Quillmarch", "createDbName Failed(): No DbPath in registry");
    EXPECT_FALSE(createDbName(QString(), "Jo", prompts, path).has_value());
    // A folder below a plain file can never be made.
    ASSERT_TRUE(writeFile(dir.filePath("blocker"), {}));
    prompts.expect("Quillmarch", "createDbName Failed(): Unable to retreive APPPATH");
    EXPECT_FALSE(createDbName(dir.filePath("blocker/sub"), "Jo", prompts, path).has_value());
    prompts.verify();
}

} // namespace
