#include "ExchangeTest.h"
#include "app/AppTestSupport.h"
#include "exchange/widgets/DatabaseImportCommand.h"
#include "exchange/widgets/ExchangeWindow.h"
#include "exchange/widgets/LogExportCommand.h"
#include "support/ScriptedFileDialogs.h"

#include <QCursor>
#include <QGuiApplication>

// Notes whether the wait cursor was up while the import went on.
struct CursorProgress : NoProgress {
    void step(const QString&, int) override {
        waited = waited || QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor;
    }
    bool waited = false;
};

// The commands over the application of patient "Ann" (15 March 2007).
class ExchangeCommandsTest : public OpenPatientTest {
protected:
    QString file(const QString& name) const { return dir.filePath(name); }
    QString folder() { return QFileInfo(app.database().path()).absolutePath(); }

    CursorProgress progress;
    ScriptedFileDialogs files;
    int reloads = 0;
    ExchangeWindow window{app, files, progress, nullptr, [this] { ++reloads; }};
};

TEST_F(ExchangeCommandsTest, ImportAsksForADatabaseBesideThePatientsAndReloadsAfterIt) {
    importDatabaseCommand(window); // cancelled
    ASSERT_TRUE(writeFile(file("notes.db"), "not a database at all\n"));
    for (const char* answer : {"gone.db", "notes.db"})
        files.answer(file(answer));
    prompts.expect("Quillmarch", file("gone.db") + "\n does not exists and cannot be imported.");
    prompts.expect("Quillmarch"); // why, from the import itself
    prompts.expect("Quillmarch", "Import failed");
    importDatabaseCommand(window);
    importDatabaseCommand(window);
    prompts.verify();
    EXPECT_EQ(reloads, 0);
    files.answer(makeFile(file("bea.db"), "exchange/import_source.sql", prompts, &clock));
    importDatabaseCommand(window);
    EXPECT_EQ(files.asked.value(3),
              "open|Import Quillmarch Database|" + folder() + "|Quillmarch Database (*.db)");
    // The medications made for unknown codes are in the application's list at once.
    EXPECT_TRUE(reloads == 1 && progress.waited && !QGuiApplication::overrideCursor() &&
                rows("select count(*) from SAMPLE") == Rows{"6"} && app.findMedicationByCode('X'));
}

TEST_F(ExchangeCommandsTest, SaveAsAsksBeforeReplacingAndOffersToOpenTheFile) {
    ASSERT_TRUE(app.database().exec("insert into SAMPLE (SYNC_STATE, SAMPLE_TIME, GLUCOSE_CNT, "
                                    "CARB_CNT) values (10, '20070314083000', 95, 0)"));
    ASSERT_TRUE(writeFile(file("old.xls"), "kept") && writeFile(file("old.TXT"), "kept"));
    // "No" brings the dialog back, a name without extension takes the first filter's, "Yes"
    // replaces, and a file that cannot be made ends the command without a word.
    for (const char* answer : {"old.xls", "new", "old.TXT", "log.csv", "no folder/log.txt"})
        files.answer(file(answer));
    prompts.expect("Replace file?", file("old.xls") + "\n already exists. Over write this file?",
                   PromptAnswer::No);
    prompts.expect("Save As",
                   "Save As completed sucessfully to:\n" + file("new.xls") +
                       "\nOpen this file Now?",
                   PromptAnswer::Yes);
    prompts.expect("Replace file?", {}, PromptAnswer::Yes);
    prompts.expect("Save As", {}, PromptAnswer::No);
    prompts.expect("Quillmarch", "Unknown Format");
    QList<QUrl> opened;
    for (int i = 0; i < 4; ++i)
        saveAsCommand(window, [&opened](const QUrl& url) { return opened << url, true; });
    EXPECT_EQ(files.asked.value(1), "save-no-question|Save As|" + folder() +
                                        "/Ann20070315|Excel/Tab delimited (*.xls);;Text (*.txt)");
    EXPECT_EQ(fileBytes(file("old.xls")) + fileBytes(file("new.xls")),
              "kept03/14/2007 08:30\t095\t000\t     \t\t\t\n");
    EXPECT_EQ(fileBytes(file("old.TXT")), "03/14/2007 08:30 095 000" + QByteArray(29, ' ') + "\n");
    EXPECT_TRUE(opened == QList<QUrl>{QUrl::fromLocalFile(file("new.xls"))} &&
                !QFile::exists(file("log.csv")));
}
