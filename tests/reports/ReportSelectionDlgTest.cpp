#include "reports/widgets/ReportSelectionDlg.h"
#include "app/SettingsTree.h"
#include "reports/widgets/ReportColorPage.h"
#include "reports/widgets/ReportPreviewFrame.h"
#include "reports/widgets/ReportSelectionPage.h"
#include "settings/widgets/PatientNotesPage.h"
#include "storage/Conversions.h"
#include "support/LogbookTest.h"
#include "support/TestSettingsContext.h"
#include "ui/ModalDriver.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

namespace {

// The sheet as the patient sees it, shown modally and driven from inside its loop.
class ReportSelectionDlgTest : public LogbookTest {
protected:
    void SetUp() override {
        LogbookTest::SetUp();
        context = std::make_unique<TestSettingsContext>(*db, prompts, copy.periodEnd);
    }
    // Runs the sheet over `copy`; `act` does what the patient does while it is up.
    bool run(std::function<void(ReportSelectionDlg&)> act) {
        ReportSelectionDlg sheet(*context, tree, "Ann");
        whenModalIs<ReportSelectionDlg>([&act](ReportSelectionDlg* shown) { act(*shown); });
        return sheet.run(copy);
    }

    QTemporaryDir dir;
    SettingsTree tree{dir.filePath("settings.ini"), prompts};
    ReportPrintSettings copy = ReportPrintSettings::createdAt(fromDateTimeText("20260314093000"));
    std::unique_ptr<TestSettingsContext> context;
};

TEST_F(ReportSelectionDlgTest, OkKeepsTheChoicesInTheCopyAndTheSettings) {
    tree.setUserBool("Ann", "IncludeBpLog", true);
    tree.setUserBool("Ann", "IncludePumpStatus", true); // from before the calculator was off
    copy.style = ReportStyle::greyscale;
    const bool confirmed = run([](ReportSelectionDlg& sheet) {
        EXPECT_EQ(sheet.windowTitle(), "Print");
        ReportSelectionPage* page = sheet.selectionPage();
        // The stored tick offers the period; the worksheet fields wait for their box.
        EXPECT_TRUE(page->bpLog()->isChecked() && page->periodEnd()->isEnabled() &&
                    page->logWeeks()->isEnabled());
        EXPECT_FALSE(page->worksheetStart()->isEnabled() || page->worksheetWeeks()->isEnabled());
        // Quick bolus is not set up: not offered, and the stored tick is not shown.
        EXPECT_FALSE(page->pumpStatus()->isEnabled() || page->pumpStatus()->isChecked());
        EXPECT_EQ(page->pumpStatus()->text(), "RivezAdozu and Infusion Site");

        page->bpLog()->setChecked(false);
        EXPECT_FALSE(page->periodEnd()->isEnabled());
        EXPECT_EQ(page->glucoseStats()->text(), "Glucose Statistics (AGP)");
        page->glucoseStats()->setChecked(true);
        EXPECT_TRUE(page->periodEnd()->isEnabled() && page->logWeeks()->isEnabled());
        page->worksheet()->setChecked(true);
        EXPECT_TRUE(page->worksheetWeeks()->isEnabled());
        page->worksheetWeeks()->setText("12");
        page->worksheetStart()->setDate(QDate(2026, 4, 1));
        sheet.notesPage()->edit()->setPlainText("Lows at night");
        EXPECT_TRUE(sheet.colorPage()->radio(1)->isChecked());
        sheet.colorPage()->radio(2)->click();
        sheet.okButton()->click();
    });
    ASSERT_TRUE(confirmed);
    EXPECT_TRUE(copy.includeWorksheet && !copy.includeBpLog && !copy.includePumpStatus &&
                copy.includeGlucoseStats && copy.worksheetWeeks == 12);
    EXPECT_EQ(toDateTimeText(copy.worksheetStart) + toDateTimeText(copy.periodEnd),
              "2026040109300020260314093000");
    EXPECT_TRUE(copy.style == ReportStyle::blackAndWhite && copy.patientNotes == "Lows at night");
    QStringList stored;
    for (const char* name : {"IncludeWorksheet", "IncludeBpLog", "IncludeGlucoseStats",
                             "WorksheetWeekCnt", "PatientNotes"})
        stored << tree.getUserString("Ann", name);
    EXPECT_EQ(stored.join('|'), "true|false|true|12|Lows at night");
}

TEST_F(ReportSelectionDlgTest, ApplyStoresAtOnceACountOutOfRangeKeepsItOpenCancelKeepsTheRest) {
    ASSERT_TRUE(db->exec("insert into QB_PREFERENCE (PK, USE_BOL) values (1, 'T')"));
    prompts.expect(kProgramCaption, "Please enter an integer between 1 and 25.");
    const bool confirmed = run([this](ReportSelectionDlg& sheet) {
        ReportSelectionPage* page = sheet.selectionPage();
        page->foodLog()->setChecked(true);
        sheet.applyButton()->click();
        EXPECT_EQ(tree.getUserString("Ann", "IncludeFoodLog"), "true");

        EXPECT_TRUE(page->pumpStatus()->isEnabled());
        page->pumpStatus()->setChecked(true);
        page->logWeeks()->setText("26");
        sheet.okButton()->click();
        EXPECT_TRUE(sheet.isVisible());
        EXPECT_EQ(prompts.count(), 1);

        sheet.setCurrentPage(2);
        ReportPreviewFrame* preview = sheet.colorPage()->preview();
        sheet.colorPage()->radio(1)->click();
        // The 220 units wide picture in the middle, as high as the frame, on white.
        const QRect in = preview->contentsRect();
        EXPECT_EQ(preview->pictureRect(), QRect(in.center().x() - 109, in.top(), 220, in.height()));
        EXPECT_EQ(preview->grab().toImage().pixelColor(in.left() + 2, in.center().y()),
                  QColor(Qt::white));
        sheet.cancelButton()->click();
    });
    EXPECT_FALSE(confirmed || copy.includePumpStatus);
    EXPECT_EQ(copy.style, ReportStyle::color);
    EXPECT_EQ(tree.getUserString("Ann", "IncludePumpStatus"), "false"); // as applied, not ticked
}

} // namespace
