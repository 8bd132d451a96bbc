#include "AppTestSupport.h"
#include "app/widgets/CMainFrame.h"
#include "logbook/widgets/CQuillmarchView.h"
#include "reports/widgets/ReportPrintCommands.h"
#include "ui/FileDialogs.h"

#include <QAction>
#include <QFileInfo>
#include <QPrinter>

namespace {

// Answers the save dialog with a given path and remembers what it offered.
struct ScriptedFileDialogs : FileDialogs {
    QString getOpenFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString getSaveFileName(const QString& caption, const QString& file, const QString&) override {
        asked << caption + "|" + QFileInfo(file).fileName();
        return answer;
    }
    QString answer;
    QStringList asked;
};

// The frame's print commands with the sheet and the print dialog answered by the test.
class PrintCommandsTest : public OpenPatientTest {
protected:
    void SetUp() override {
        OpenPatientTest::SetUp();
        view = new CQuillmarchView(app, progress, question);
        frame = std::make_unique<CMainFrame>(app, *view);
        commands().setFileDialogs(files);
        commands().setSheet([this](ReportPrintSettings& settings) {
            ++sheets;
            settings.includeDocSummary = tick;
            return confirmSheet;
        });
        commands().setPrinterQuestion([this](QPrinter& printer) {
            ++printerQuestions;
            printer.setOutputFileName(printTo); // nothing set: the patient cancelled
            return !printTo.isEmpty();
        });
        commands().setJobEnded([this] { ++jobsEnded; });
    }
    ReportPrintCommands& commands() { return frame->printCommands(); }

    CQuillmarchView* view = nullptr;
    std::unique_ptr<CMainFrame> frame;
    ScriptedFileDialogs files;
    QString printTo;
    bool confirmSheet = true;
    bool tick = true;
    int sheets = 0;
    int printerQuestions = 0;
    int jobsEnded = 0;
};

TEST_F(PrintCommandsTest, TheFileMenuOffersPrintingOnThePrintKeysAndLandscapePaper) {
    QStringList texts;
    for (int id : {57607, 32900, 57609, 57606})
        texts << frame->action(id)->text();
    EXPECT_EQ(texts.join('|'), "Print...|Save as PDF ...|Print Preview|Print Setup...");
    EXPECT_EQ(frame->action(57607)->shortcuts().value(0), QKeySequence(QKeySequence::Print));
    EXPECT_EQ(frame->action(57609)->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
    EXPECT_EQ(frame->printer().pageLayout().pageSize().id(), QPageSize::A4); // in landscape:
    EXPECT_GT(frame->printer().width(), frame->printer().height());
    // Both dates start when the view is made.
    EXPECT_TRUE(view->printSettings().periodEnd == clock.now() &&
                view->printSettings().worksheetStart == clock.now());
}

TEST_F(PrintCommandsTest, OnlyAConfirmedSheetWithAReportLeadsToThePrinterOrTheFile) {
    confirmSheet = false;
    EXPECT_FALSE(commands().print(frame->printer()));
    EXPECT_FALSE(view->printSettings().includeDocSummary); // a cancelled sheet changes nothing
    confirmSheet = true;
    tick = false;
    EXPECT_FALSE(commands().print(frame->printer()));
    EXPECT_FALSE(commands().saveAsPdf());
    EXPECT_EQ(std::tuple(sheets, printerQuestions, files.asked.size()), std::tuple(3, 0, 0));

    tick = true;
    EXPECT_FALSE(commands().print(frame->printer())); // the print dialog was cancelled
    EXPECT_EQ(std::pair(printerQuestions, jobsEnded), std::pair(1, 0));
    EXPECT_TRUE(view->printSettings().includeDocSummary); // kept for the next print

    printTo = dir.filePath("printed.pdf");
    EXPECT_TRUE(commands().print(frame->printer()));
    EXPECT_GT(QFileInfo(printTo).size(), 0);
    EXPECT_TRUE(jobsEnded == 1 && !view->isPrinting());

    files.answer = dir.filePath("no such folder/out.pdf");
    prompts.expect("Save as PDF");
    EXPECT_FALSE(commands().saveAsPdf());
    files.answer = dir.filePath("out.pdf");
    EXPECT_TRUE(commands().saveAsPdf());
    EXPECT_GT(QFileInfo(files.answer).size(), 0);
    EXPECT_EQ(files.asked.value(0), "Save as PDF|Ann reports 2007-03-15.pdf");
}

} // namespace
