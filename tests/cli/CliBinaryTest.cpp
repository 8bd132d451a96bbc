#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// The program itself, started as a script starts it: the job's arguments reach the job whole,
// also those whose names Qt would take for its own options ("--style").
TEST(CliBinaryTest, QtOptionNamesReachTheJob) {
    QTemporaryDir dir;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QUILLMARCH_SETTINGS", dir.filePath("settings.ini"));
    environment.insert("HOME", dir.path());
    environment.insert("XDG_DATA_HOME", dir.path());
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QUILLMARCH_BINARY, {"report", "physician", "--end", "2026-11-28", "--style",
                                      "sepia", "--output", dir.filePath("x.pdf")});
    ASSERT_TRUE(program.waitForFinished(60000));
    EXPECT_EQ(program.exitCode(), 1);
    EXPECT_TRUE(program.readAllStandardError().contains("Unknown style \"sepia\""));
}
