#include "app/DatabaseMaintenance.h"
#include "AppTestSupport.h"
#include "app/widgets/OptimizeWaitWindow.h"
#include "storage/DatabaseFile.h"
#include "storage/PreferenceTable.h"
#include "support/ScriptedFileDialogs.h"

#include <QApplication>
#include <QDir>
#include <sqlite3.h>
#include <tuple>

namespace {

using Outcome = DatabaseMaintenance::Outcome;
const QString kApp = "Quillmarch";
const QString kBackup = "Backup Database";
const QString kRestore = "Restore Database";

class MaintenanceTest : public OpenPatientTest {
protected:
    QString data(const QString& name) const { return dir.filePath("data/" + name); }
    void note(const char* text) {
        ASSERT_TRUE(app.database().exec("insert into NOTE (TEXT) values (%Q)", text));
    }
    Rows notesIn(const QString& path) {
        Database db(path, prompts, Database::Access::ReadOnly);
        return rowsOf(db, "select TEXT from NOTE order by PK");
    }
    QString backupNow(const QString& name) { // the logbook as it is now
        QString error;
        EXPECT_TRUE(DatabaseFile::copyFrom(app.db()->handle(), data(name), error));
        return data(name);
    }

    const QString current = data("Ann.db");
    ScriptedFileDialogs files;
    DatabaseMaintenance maintenance{app, files, prompts};
};

TEST_F(MaintenanceTest, BackupAsksBeforeOverwritingAndCopiesWhatIsStillInTheLog) {
    note("only in the log");
    ASSERT_GT(QFileInfo(current + "-wal").size(), 0);
    const QString target = data("Ann20070315.db");
    ASSERT_TRUE(writeFile(target, "old"));
    files.expect(kBackup, target);
    prompts.expect("Over write file?", target + "\n already exists. Over write this file?",
                   PromptAnswer::No);
    files.expect(kBackup, data("mine")); // the default extension is added
    prompts.expect(kApp, "Backup Completed to " + data("mine.db"));
    EXPECT_EQ(maintenance.backupDatabase(), Outcome::Done);
    EXPECT_EQ(files.asked[0],
              "save-no-question|" + kBackup + '|' + target + "|Quillmarch Database (*.db)");
    EXPECT_EQ(fileBytes(target), "old");
    EXPECT_EQ(settings.getUserString("Ann", "LastBackupName"), data("mine.db"));
    EXPECT_FALSE(QFileInfo::exists(data("mine.db-wal")));
    EXPECT_EQ(notesIn(data("mine.db")), Rows{"only in the log"});
}

TEST_F(MaintenanceTest, TheCurrentFileIsRefusedWhateverItsCaseAndTheDialogComesBack) {
    for (const QString& caption : {kBackup, kRestore}) {
        files.expect(caption, data("ANN.DB"));
        prompts.expect(kApp, "Select a name that is not the same as your current database");
        files.expect(caption, "");
        EXPECT_EQ(caption == kBackup ? maintenance.backupDatabase() : maintenance.restoreDatabase(),
                  Outcome::Cancelled);
    }
}

TEST_F(MaintenanceTest, AFailedRestoreLeavesTheLogbookAsItWas) {
    note("mine");
    QByteArray damaged = fileBytes(backupNow("good.db")).replace(4096, 99, QByteArray(99, 'z'));
    ASSERT_TRUE(writeFile(data("damaged.db"), damaged) && writeFile(data("empty.db"), "") &&
                writeFile(data("log.txt"), "Date\tTime\tGlucose\n"));
    Database(data("old.db"), prompts)
        .exec("create table SAMPLE (PK); create table SAMPLE_DATE (PK);"
              "create table NOTE (PK); create table PREFERENCE (PK)");
    sqlite3* other = nullptr; // another program holding the file keeps its log beside it
    ASSERT_EQ(sqlite3_open(current.toUtf8().constData(), &other), SQLITE_OK);
    sqlite3_exec(other, "select count(*) from NOTE", nullptr, nullptr, nullptr);
    const std::pair<const char*, const char*> cases[] = {
        {"good.db", "Ann.db is still open in another program"},
        {"log.txt", "log.txt cannot be restored: it is not a database file"},
        {"empty.db", "empty.db cannot be restored: it does not hold a Quillmarch logbook"},
        {"damaged.db", "damaged.db cannot be restored: it is damaged"},
        {"old.db", "Your previous database has been put back."}, // it cannot be converted
    };
    prompts.allowAny();
    for (const auto& [name, why] : cases) {
        files.expect(kRestore, data(name));
        EXPECT_EQ(maintenance.restoreDatabase(), Outcome::Failed);
        EXPECT_TRUE(prompts.shown().back().text.contains(why)) << why;
        EXPECT_EQ(rows("select TEXT from NOTE"), Rows{"mine"});
        sqlite3_close(std::exchange(other, nullptr));
    }
}

TEST_F(MaintenanceTest, RestoreKeepsTheReplacedFileAndCanBeUndoneFromIt) {
    note("before");
    const QString backup = backupNow("backup.db");
    note("after");
    app.getPreference().setPatientName("Ann Smith");
    ASSERT_TRUE(PreferenceTable::save(app.database(), app.getPreference()));
    settings.setUserString("Ann", "LastBackupName", backup);
    const QString kept = data("Ann.before-restore.db");
    files.expect(kRestore, backup);
    prompts.expect(kApp, "Restore Complete from " + backup +
                             "\n\nYour previous database was kept as " + kept);
    ASSERT_EQ(maintenance.restoreDatabase(), Outcome::Done);
    EXPECT_EQ(files.asked[0], "open|" + kRestore + '|' + backup + "|Quillmarch Database (*.db)");
    EXPECT_EQ(rows("select TEXT from NOTE order by PK"), Rows{"before"});
    EXPECT_EQ(app.getPreference().getPatientName(), "Ann"); // the cache follows the file
    EXPECT_EQ(notesIn(kept), (Rows{"before", "after"}));
    // Restoring the kept file brings the replaced logbook back.
    files.expect(kRestore, kept);
    prompts.expect(kApp);
    ASSERT_EQ(maintenance.restoreDatabase(), Outcome::Done);
    EXPECT_EQ(rows("select TEXT from NOTE order by PK"), (Rows{"before", "after"}));
}

TEST_F(MaintenanceTest, OptimizeSaysWhetherTheVacuumRanWithTheWaitWindowAround) {
    std::vector<bool> window;
    const auto wait = [&](bool shown) { window.push_back(shown); };
    prompts.expect(kApp, "Optimization Successful!");
    EXPECT_EQ(maintenance.optimizeDatabase(wait), Outcome::Done);
    auto reading = app.database().query("select * from SAMPLE_TYPE"); // a statement in progress
    ASSERT_TRUE(reading && reading->step());
    prompts.expect(kApp, "********* Optimization Failed! **************\n\n"
                         "cannot VACUUM - SQL statements in progress");
    EXPECT_EQ(maintenance.optimizeDatabase(wait), Outcome::Failed);
    EXPECT_EQ(window, (std::vector<bool>{true, false, true, false}));
}

TEST_F(MaintenanceTest, RemoveUserDeletesAnotherPatientWithFileAndKey) {
    EXPECT_EQ(maintenance.removeUser(), Outcome::Cancelled); // one patient: no chooser
    const QString bob = data("Bob.db");
    const std::tuple<QString, QString, QString, PromptAnswer, Outcome> cases[] = {
        {"Ann", "", bob, PromptAnswer::Yes, Outcome::Failed}, // the current patient
        {"Bob", "", bob, PromptAnswer::Yes, Outcome::Done},
        {"Bob", "bobs-palm", bob, PromptAnswer::Yes, Outcome::Done},
        {"Bob", "", current, PromptAnswer::Yes, Outcome::Done}, // a file Ann uses too
    };
    for (const auto& [chosen, palmName, dbPath, answer, outcome] : cases) {
        ASSERT_TRUE(writeFile(bob, "bob") && writeFile(bob + "-wal", "log"));
        settings.setUserString("Bob", "DbPath", dbPath);
        settings.setUserString("Bob", "PalmUserName", palmName);
        dialogs.chosen = chosen;
        prompts.expect(kApp,
                       chosen == "Ann" ? "You can not remove the current user."
                                       : "Are you sure you want to remove Bob",
                       answer);
        if (!palmName.isEmpty())
            prompts.expect(kApp, "Remember to remove your Quillmarch application from your PDA "
                                 "before syncing");
        EXPECT_EQ(maintenance.removeUser(), outcome);
        EXPECT_EQ(settings.userExists("Bob"), outcome != Outcome::Done);
        const bool fileGone = outcome == Outcome::Done && dbPath == bob;
        EXPECT_EQ(QFileInfo::exists(bob) || QFileInfo::exists(bob + "-wal"), !fileGone);
        EXPECT_TRUE(QFileInfo::exists(current));
        prompts.verify();
    }
}

TEST(OptimizeWaitWindow, ShowsTheWaitCursorOnlyWhileShown) {
    OptimizeWaitWindow window;
    window.setShown(true);
    EXPECT_TRUE(window.isVisible() && QApplication::overrideCursor()->shape() == Qt::WaitCursor);
    window.setShown(false);
    EXPECT_TRUE(!window.isVisible() && !QApplication::overrideCursor());
}

} // namespace
