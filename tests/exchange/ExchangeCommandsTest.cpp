#include "ExchangeTest.h"
#include "app/AppTestSupport.h"
#include "exchange/DatabaseImport.h"
#include "exchange/widgets/DatabaseImportCommand.h"
#include "exchange/widgets/ExchangeWindow.h"
#include "exchange/widgets/LogExportCommand.h"
#include "support/ScriptedFileDialogs.h"

#include <QCursor>
#include <QDir>
#include <QGuiApplication>

namespace {

// Notes whether the wait cursor was up while the import stepped its progress.
struct CursorProgress : RecordingProgress {
    void step(const QString& item, int taken) override {
        RecordingProgress::step(item, taken);
        waitCursorSeen =
            waitCursorSeen || (QGuiApplication::overrideCursor() &&
                               QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor);
    }
    bool waitCursorSeen = false;
};

} // namespace

// The import and Save As commands over the application of patient "Ann" (15 March 2007),
// with the dialogs answered by the test.
class ExchangeCommandsTest : public OpenPatientTest {
protected:
    QString folder() { return QFileInfo(app.database().path()).absolutePath(); }
    QString file(const QString& name) const { return dir.filePath(name); }

    CursorProgress progress;
    ScriptedFileDialogs files;
    int reloads = 0;
    ExchangeWindow window{app, files, progress, nullptr, [this] { ++reloads; }};
    QList<QUrl> opened;
    std::function<bool(const QUrl&)> open = [this](const QUrl& url) {
        opened << url;
        return true;
    };
};

TEST_F(ExchangeCommandsTest, ImportAsksForADatabaseBesideThePatientsAndReloadsAfterIt) {
    importDatabaseCommand(window); // cancelled
    EXPECT_EQ(files.asked, QStringList({"open|Import Quillmarch Database|" + folder() +
                                        "|Quillmarch Database (*.db)"}));

    files.answer(file("gone.db"));
    prompts.expect("Quillmarch", file("gone.db") + "\n does not exists and cannot be imported.");
    importDatabaseCommand(window);
    prompts.verify();
    EXPECT_EQ(reloads, 0);

    makeSourceDatabase(file("bea.db"), "exchange/import_source.sql", prompts, clock);
    files.answer(file("bea.db"));
    importDatabaseCommand(window);
    EXPECT_EQ(reloads, 1);
    EXPECT_TRUE(progress.waitCursorSeen);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(rows("select count(*) from SAMPLE"), Rows{"6"});
    // The medications made for unknown codes are in the application's list now.
    EXPECT_NE(app.findMedicationByCode('X'), nullptr);
}

TEST_F(ExchangeCommandsTest, AFailedImportSaysSoAndDoesNotReload) {
    const QString text = file("notes.db");
    ASSERT_TRUE(writeFile(text, "not a database at all\n"));
    files.answer(text);
    prompts.expect("Quillmarch");
    prompts.expect("Quillmarch", "Import failed");
    importDatabaseCommand(window);
    prompts.verify();
    EXPECT_EQ(reloads, 0);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(ExchangeCommandsTest, SaveAsAsksBeforeReplacingAndOffersToOpenTheFile) {
    Sample entry;
    entry.setSampleTime("20070314083000");
    entry.setGlucoseCnt(95);
    ASSERT_TRUE(SampleTable::saveWithDay(app.database(), entry, SyncState::Added));
    ASSERT_TRUE(writeFile(file("old.xls"), "kept"));

    // "No" to replacing brings the dialog back; a name without extension gets the first
    // filter's.
    files.answer(file("old.xls"));
    files.answer(file("new"));
    prompts.expect("Replace file?", file("old.xls") + "\n already exists. Over write this file?",
                   PromptAnswer::No);
    prompts.expect("Save As",
                   "Save As completed sucessfully to:\n" + file("new.xls") +
                       "\nOpen this file Now?",
                   PromptAnswer::Yes);
    saveAsCommand(window, open);
    prompts.verify();
    const QString dialog = "save-no-question|Save As|" + folder() +
                           "/Ann20070315|Excel/Tab delimited (*.xls);;Text (*.txt)";
    EXPECT_EQ(files.asked, QStringList({dialog, dialog}));
    EXPECT_EQ(fileBytes(file("old.xls")), "kept");
    EXPECT_EQ(fileBytes(file("new.xls")), "03/14/2007 08:30\t095\t000\t     \t\t\t\n");
    EXPECT_EQ(opened, QList<QUrl>{QUrl::fromLocalFile(file("new.xls"))});

    // "Yes" replaces the file, here in the text format; not opening it is fine too.
    files.answer(file("old.TXT"));
    ASSERT_TRUE(writeFile(file("old.TXT"), "kept"));
    prompts.expect("Replace file?", {}, PromptAnswer::Yes);
    prompts.expect("Save As", {}, PromptAnswer::No);
    saveAsCommand(window, open);
    prompts.verify();
    // After the carbohydrates: blank, five blank insulin-time, blank, two empty ten-wide
    // dosage columns each followed by a blank.
    EXPECT_EQ(fileBytes(file("old.TXT")), "03/14/2007 08:30 095 000" + QByteArray(29, ' ') + "\n");
    EXPECT_EQ(opened.size(), 1);
}

TEST_F(ExchangeCommandsTest, SaveAsWritesNothingForAnUnknownFormat) {
    files.answer(file("log.csv"));
    prompts.expect("Quillmarch", "Unknown Format");
    saveAsCommand(window, open);
    prompts.verify();
    EXPECT_FALSE(QFile::exists(file("log.csv")));
    // A file that cannot be made ends the command without a word.
    files.answer(file("missing folder/log.txt"));
    saveAsCommand(window, open);
    EXPECT_EQ(prompts.count(), 1);
    EXPECT_TRUE(opened.isEmpty());
}
