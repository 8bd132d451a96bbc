#include "exchange/widgets/MeterImportCommands.h"
#include "app/AppTestSupport.h"
#include "exchange/ImportResult.h"
#include "exchange/widgets/ExchangeWindow.h"
#include "support/ScriptedFileDialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

namespace {

// The import commands of the main window over a new patient "Ann" (at 15 March 2007).
class MeterImportCommandsTest : public OpenPatientTest {
protected:
    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(writeFile(path, bytes));
        return path;
    }
    QString sample(const char* name) {
        return qEnvironmentVariable("QUILLMARCH_TEST_DATA") + "/exchange/" + name;
    }
    int entries() { return app.database().count("select count(*) from SAMPLE"); }

    ScriptedFileDialogs files;
    int reloads = 0;
    ExchangeWindow window{app, files, progress, nullptr, [this] { ++reloads; }};
};

TEST_F(MeterImportCommandsTest, OneTouchOffersCsvFilesBesideTheDatabaseAndReloadsAfterImport) {
    files.answers = {sample("onetouch_sample.csv")};
    importOneTouchCommand(window);
    EXPECT_EQ(files.asked,
              QStringList{"open|Import CSV|" + QFileInfo(app.database().path()).absolutePath() +
                          "|OneTouch CSV(*.csv)"});
    EXPECT_EQ(entries(), 7);
    EXPECT_EQ(reloads, 1);
}

TEST_F(MeterImportCommandsTest, BgTrackerOffersTextFilesAndRestoresTheCursor) {
    files.answers = {sample("bgtracker_sample.txt")};
    importBgTrackerCommand(window);
    EXPECT_EQ(files.asked.value(0).section('|', 0, 1), "open|Import BG Tracker 4");
    EXPECT_EQ(files.asked.value(0).section('|', 3), "BG Tracker 4 CSV(*.txt)");
    EXPECT_EQ(entries(), 5);
    EXPECT_EQ(reloads, 1);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(MeterImportCommandsTest, CancelMissingAndRefusedFilesImportNothing) {
    const QString missing = dir.filePath("gone.csv");
    const QString binary = write("binary.txt", QByteArray("\0\1\2", 3));
    files.answers = {QString(), missing, binary};
    prompts.expect("Quillmarch", missing + "\n does not exists and cannot be imported.");
    prompts.expect("Import failed", binary + " is not a text file: line 1 holds a NUL byte.");
    importOneTouchCommand(window);
    importOneTouchCommand(window);
    importBgTrackerCommand(window);
    EXPECT_EQ(files.asked.size(), 3);
    EXPECT_EQ(entries(), 0);
    EXPECT_EQ(reloads, 0);
}

TEST_F(MeterImportCommandsTest, RecordsPastTheRetentionAreToldOnceAndTheRestImported) {
    files.answers = {write("old.csv", "1,01/02/2006,08:00,100,,,10,,0,0,,,,,,\n"
                                      "2,01/03/2006,08:00,110,,,10,,0,0,,,,,,\n"
                                      "3,03/14/2007,08:00,120,,,10,,0,0,,,,,,\n")};
    prompts.expect("Quillmarch",
                   "Not all entries were imported due to the retension days in your preferences.");
    importOneTouchCommand(window);
    EXPECT_EQ(entries(), 1);
    EXPECT_EQ(reloads, 1);
}

TEST_F(MeterImportCommandsTest, TheMeterProgramIsStartedWithThePatientOrItsAbsenceTold) {
    const QString folder = dir.filePath("program");
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(settings.setAppString("AppPath", folder));
    prompts.expect("Quillmarch",
                   "The meter download program was not found:\n" + folder + "/Q7OneTouch");
    startMeterProgram(app);
    prompts.verify();

    // A stand-in that writes down its arguments and the folder it runs in.
    const QString program = write("program/Q7OneTouch",
                                  "#!/bin/sh\necho \"$@ $(pwd)\" > \"$(dirname \"$0\")/ran.tmp\"\n"
                                  "mv \"$(dirname \"$0\")/ran.tmp\" \"$(dirname \"$0\")/ran\"\n");
    ASSERT_TRUE(QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner));
    startMeterProgram(app);
    ASSERT_TRUE(waitUntil([&] { return QFileInfo::exists(folder + "/ran"); }, 5000));
    EXPECT_EQ(fileBytes(folder + "/ran"), ("user=Ann " + folder + "\n").toUtf8());
}

} // namespace
