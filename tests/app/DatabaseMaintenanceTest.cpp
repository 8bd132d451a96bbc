#include "app/DatabaseMaintenance.h"
#include "AppTestSupport.h"
#include "app/widgets/OptimizeWaitWindow.h"
#include "storage/DatabaseFile.h"
#include "storage/PreferenceTable.h"
#include "support/ScriptedFileDialogs.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QScreen>
#include <sqlite3.h>

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
    // A backup of the logbook as it is now, made beside it.
    QString backupNow(const QString& name) {
        QString error;
        EXPECT_TRUE(DatabaseFile::copyFrom(app.db()->handle(), data(name), error))
            << error.toStdString();
        return data(name);
    }

    const QString current = data("Ann.db");
    ScriptedFileDialogs files;
    DatabaseMaintenance maintenance{app, files, prompts};
};

TEST_F(MaintenanceTest, BackupProposesTheDatedNameAndAsksBeforeOverwriting) {
    const QString target = data("Ann20070315.db");
    ASSERT_TRUE(writeFile(target, "old"));
    files.expect(kBackup, target);
    prompts.expect("Over write file?", target + "\n already exists. Over write this file?",
                   PromptAnswer::No);
    files.expect(kBackup, data("mine")); // the default extension is added
    prompts.expect(kApp, "Backup Completed to " + data("mine.db"));
    EXPECT_EQ(maintenance.backupDatabase(), Outcome::Done);
    EXPECT_EQ(files.asked[0].section('|', 2, 2), target);
    EXPECT_EQ(files.asked[0].section('|', 3), "Quillmarch Database (*.db)");
    EXPECT_EQ(fileBytes(target), "old");
    EXPECT_EQ(settings.getUserString("Ann", "LastBackupName"), data("mine.db"));
}

TEST_F(MaintenanceTest, TheCurrentFileIsRefusedWhateverItsCaseAndTheDialogComesBack) {
    for (bool backup : {true, false}) {
        const QString caption = backup ? kBackup : kRestore;
        files.expect(caption, data("ANN.DB"));
        prompts.expect(kApp, "Select a name that is not the same as your current database");
        files.expect(caption, "");
        EXPECT_EQ(backup ? maintenance.backupDatabase() : maintenance.restoreDatabase(),
                  Outcome::Cancelled);
    }
}

TEST_F(MaintenanceTest, ABackupHoldsChangesStillInTheWriteAheadLog) {
    note("only in the log");
    ASSERT_GT(QFileInfo(current + "-wal").size(), 0);
    files.expect(kBackup, data("copy.db"));
    prompts.expect(kApp, "Backup Completed to " + data("copy.db"));
    ASSERT_EQ(maintenance.backupDatabase(), Outcome::Done);
    EXPECT_FALSE(QFileInfo::exists(data("copy.db-wal")));
    EXPECT_EQ(notesIn(data("copy.db")), Rows{"only in the log"});
}

TEST_F(MaintenanceTest, RestoreRefusesWhatIsNotAPatientDatabaseAndChangesNothing) {
    note("kept");
    QByteArray damaged = fileBytes(backupNow("good.db"));
    damaged.replace(4096, 4096, QByteArray(4096, '\x5a'));
    const std::pair<const char*, QByteArray> cases[] = {
        {"log.txt", "Date\tTime\tGlucose\n2007/03/15\t08:00\t120\n"},
        {"empty.db", ""},
        {"damaged.db", damaged},
    };
    for (const auto& [name, bytes] : cases) {
        ASSERT_TRUE(writeFile(data(name), bytes));
        files.expect(kRestore, data(name));
        prompts.expect(kRestore);
        EXPECT_EQ(maintenance.restoreDatabase(), Outcome::Failed) << name;
        EXPECT_TRUE(prompts.shown().back().text.startsWith(data(name) + " cannot be restored: "));
        EXPECT_EQ(rows("select TEXT from NOTE"), Rows{"kept"}) << name;
        EXPECT_FALSE(QFileInfo::exists(data("Ann.before-restore.db")));
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
    EXPECT_EQ(files.asked[0].section('|', 2, 2), backup);
    EXPECT_EQ(rows("select TEXT from NOTE order by PK"), Rows{"before"});
    EXPECT_EQ(app.getPreference().getPatientName(), "Ann"); // the cache follows the file
    EXPECT_EQ(notesIn(kept), (Rows{"before", "after"}));
    EXPECT_EQ(QDir(data("")).entryList(QDir::Files | QDir::Hidden).filter("restoring"),
              QStringList());

    // Restoring the kept file brings the replaced logbook back.
    files.expect(kRestore, kept);
    prompts.expect(kApp);
    ASSERT_EQ(maintenance.restoreDatabase(), Outcome::Done);
    EXPECT_EQ(rows("select TEXT from NOTE order by PK"), (Rows{"before", "after"}));
    EXPECT_EQ(app.getPreference().getPatientName(), "Ann Smith");
}

TEST_F(MaintenanceTest, RestoreLeavesTheFileAloneWhileAnotherProgramHoldsIt) {
    note("mine");
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(current.toUtf8().constData(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "select count(*) from NOTE", nullptr, nullptr, nullptr), 0);
    files.expect(kRestore, backupNow("backup.db"));
    prompts.expect(kRestore);
    EXPECT_EQ(maintenance.restoreDatabase(), Outcome::Failed);
    sqlite3_close(other);
    EXPECT_TRUE(prompts.shown().back().text.contains("still open in another program"));
    EXPECT_EQ(rows("select TEXT from NOTE"), Rows{"mine"});
}

TEST_F(MaintenanceTest, ARestoredFileThatCannotBeConvertedIsReplacedByTheKeptOne) {
    note("mine");
    {
        Database old(data("old.db"), prompts);
        for (const char* sql : {"create table SAMPLE (PK)", "create table SAMPLE_DATE (PK)",
                                "create table NOTE (PK)", "create table PREFERENCE (PK)"})
            ASSERT_TRUE(old.exec(sql));
    }
    files.expect(kRestore, data("old.db"));
    prompts.allowAny();
    EXPECT_EQ(maintenance.restoreDatabase(), Outcome::Failed);
    EXPECT_TRUE(prompts.shown().back().text.endsWith("Your previous database has been put back."));
    EXPECT_EQ(rows("select TEXT from NOTE"), Rows{"mine"});
}

TEST_F(MaintenanceTest, OptimizeSaysWhetherTheVacuumRanWithTheWaitWindowAround) {
    std::vector<bool> window;
    prompts.expect(kApp, "Optimization Successful!");
    EXPECT_EQ(maintenance.optimizeDatabase([&](bool shown) { window.push_back(shown); }),
              Outcome::Done);
    auto reading = app.database().query("select * from SAMPLE_TYPE"); // a statement in progress
    ASSERT_TRUE(reading && reading->step());
    prompts.expect(kApp);
    EXPECT_EQ(maintenance.optimizeDatabase([&](bool shown) { window.push_back(shown); }),
              Outcome::Failed);
    EXPECT_TRUE(prompts.shown().back().text.startsWith(
        "********* Optimization Failed! **************\n\n"));
    EXPECT_EQ(window, (std::vector<bool>{true, false, true, false}));
}

TEST_F(MaintenanceTest, RemoveUserDeletesAnotherPatientWithFileAndKey) {
    EXPECT_FALSE(DatabaseMaintenance::removeUserEnabled(app));
    EXPECT_EQ(maintenance.removeUser(), Outcome::Cancelled); // one patient: no chooser
    struct Case {
        QString chosen, palmName, dbPath;
        PromptAnswer answer;
        Outcome outcome;
        bool fileGone;
    };
    const Case cases[] = {
        {"Ann", "", data("x.db"), PromptAnswer::Yes, Outcome::Failed, false},
        {"Bob", "", data("Bob.db"), PromptAnswer::No, Outcome::Cancelled, false},
        {"Bob", "", data("Bob.db"), PromptAnswer::Yes, Outcome::Done, true},
        {"Bob", "bobs-palm", data("Bob.db"), PromptAnswer::Yes, Outcome::Done, true},
        {"Bob", "", current, PromptAnswer::Yes, Outcome::Done, false}, // a file Ann uses too
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(writeFile(data("Bob.db"), "bob") && writeFile(data("Bob.db-wal"), "log"));
        settings.setUserString("Bob", "DbPath", c.dbPath);
        settings.setUserString("Bob", "PalmUserName", c.palmName);
        ASSERT_TRUE(DatabaseMaintenance::removeUserEnabled(app));
        dialogs.chosen = c.chosen;
        if (c.chosen == "Ann")
            prompts.expect(kApp, "You can not remove the current user.");
        else
            prompts.expect(kApp, "Are you sure you want to remove Bob", c.answer);
        if (!c.palmName.isEmpty())
            prompts.expect(kApp, "Remember to remove your Quillmarch application from your PDA "
                                 "before syncing");
        EXPECT_EQ(maintenance.removeUser(), c.outcome);
        EXPECT_EQ(settings.userExists("Bob"), c.outcome != Outcome::Done);
        EXPECT_EQ(!QFileInfo::exists(data("Bob.db")), c.fileGone);
        EXPECT_EQ(!QFileInfo::exists(data("Bob.db-wal")), c.fileGone);
        EXPECT_TRUE(QFileInfo::exists(current));
        prompts.verify();
    }
}

TEST(OptimizeWaitWindow, ShowsTheWaitTextCentredWithTheWaitCursorOnlyWhileShown) {
    OptimizeWaitWindow window;
    window.setShown(true);
    EXPECT_TRUE(window.isVisible() && !window.isModal());
    EXPECT_EQ(window.findChild<QLabel*>()->text(), "Optimizing ..... Please Wait!");
    EXPECT_LE((window.frameGeometry().center() - window.screen()->availableGeometry().center())
                  .manhattanLength(),
              2);
    ASSERT_TRUE(QApplication::overrideCursor());
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    window.setShown(false);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

} // namespace
