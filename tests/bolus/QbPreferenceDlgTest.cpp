#include "bolus/widgets/QbPreferenceDlg.h"
#include "QbSetupFixture.h"
#include "bolus/widgets/QbPrefGeneral.h"
#include "bolus/widgets/QbPrefItemDlg.h"
#include "bolus/widgets/QbPrefSchedulePage.h"
#include "support/ScriptedDeleteQuestion.h"
#include "ui/ListTexts.h"
#include "ui/ModalDriver.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimeEdit>
#include <QTreeWidget>

namespace {

constexpr const char* kCaption = "Quillmarch";
constexpr const char* kNotSwitchedOn =
    "To enable RivezAdozu you must setup Targets,Ratios, and Sensitivities first.";

class QbSheet : public QbSetupFixture {
protected:
    void SetUp() override {
        QbSetupFixture::SetUp();
        addMedication("Humalog", "H");
        addMedication("Apidra", "A");
        storeQbPreference(*db, "H", 180, false);
    }
    void TearDown() override {
        sheet.reset();
        QbSetupFixture::TearDown();
    }
    QbPreferenceDlg& open() {
        sheet = std::make_unique<QbPreferenceDlg>(*context, question);
        return *sheet;
    }
    QTreeWidget* listOf(int schedule) { return sheet->schedulePage(schedule)->list(); }
    std::vector<QStringList> listed(int schedule) { return listedTexts(*listOf(schedule)); }
    void selectRow(int schedule, int row) {
        listOf(schedule)->setCurrentItem(listOf(schedule)->topLevelItem(row));
    }

    ScriptedDeleteQuestion question;
    std::unique_ptr<QbPreferenceDlg> sheet;
};

} // namespace

TEST_F(QbSheet, OpensWithItsPagesListsAndTheStoredInsulin) {
    addQbTarget(*db, "07:00", 80, 141);
    QbPreferenceDlg& dlg = open();
    EXPECT_EQ(dlg.windowTitle(), "Quick Bolus Setup");
    EXPECT_EQ(listed(0), (std::vector<QStringList>{{"07:00", "80", "141", "110"}}));
    EXPECT_EQ(listOf(0)->topLevelItem(0)->data(0, Qt::UserRole).toInt(), 1);

    QbPrefGeneral* general = dlg.generalPage();
    EXPECT_EQ(general->insulinBox()->itemText(0), "Apidra"); // by name
    EXPECT_EQ(general->insulinBox()->currentText(), "Humalog");
    EXPECT_EQ(general->minutesEdit()->text(), "180");
}

TEST_F(QbSheet, ItemDialogShowsTheRowInThePatientsClockAndStaysOpenOnARefusal) {
    changePreference([](Preference& p) { p.setMilitaryTimeBol(false); });
    context->reload();
    QbTarget target;
    target.setTargetTime("18:30");
    target.setGlucoseLo(90);
    target.setGlucoseHi(160);
    QbPrefTargetItem dialog(*context, target);
    EXPECT_EQ(dialog.windowTitle(), "RivezAdozu - Target");
    EXPECT_EQ(dialog.timePicker()->displayFormat(), "hh:mm AP");
    EXPECT_EQ(dialog.timePicker()->time(), QTime(18, 30));
    EXPECT_EQ(dialog.valueEdit(1)->text(), "160");

    dialog.valueEdit(1)->setText("80");
    prompts.expect(kCaption, "Maximum glucose must be greater then minimum glucose");
    dialog.okButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);

    dialog.valueEdit(1)->setText("90");
    dialog.timePicker()->setTime(QTime(6, 15));
    dialog.okButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.record().getTargetTime(), "06:15");
    EXPECT_EQ(QbTargetTable::getCount(*db), 0); // the page stores, not the dialog
}

TEST_F(QbSheet, RowsAreStoredAtOnceAndARefusedOkLeavesTheCalculatorOff) {
    QbPreferenceDlg& dlg = open();
    // A new target through the real item dialog.
    whenModalIs<QbPrefItemDlg>([](QbPrefItemDlg* item) {
        item->timePicker()->setTime(QTime(7, 0));
        item->valueEdit(0)->setText("70");
        item->valueEdit(1)->setText("180");
        item->okButton()->click();
    });
    sheet->schedulePage(0)->newButton()->click();
    EXPECT_EQ(listed(0), (std::vector<QStringList>{{"07:00", "70", "180", "125"}}));
    EXPECT_TRUE(dlg.applyButton()->isEnabled());

    auto& ratios = static_cast<QbPrefRatio&>(*sheet->schedulePage(1));
    ratios.setItemEditor([](QbRatio& ratio) {
        ratio.setRatioTime("07:00");
        ratio.setCarbCnt(12);
        return true;
    });
    ratios.newButton()->click();
    EXPECT_EQ(listed(1), (std::vector<QStringList>{{"07:00", "12"}}));

    // No sensitivity yet: OK is refused and the sheet stays open.
    dlg.generalPage()->insulinBox()->setCurrentIndex(0);
    emit dlg.generalPage()->insulinBox()->activated(0);
    dlg.generalPage()->minutesEdit()->setText("240");
    prompts.expect(kCaption, kNotSwitchedOn);
    dlg.okButton()->click();
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(qbPreference(), std::vector<std::string>{"H|180|F"});

    // Cancel keeps the rows but not the insulin choice.
    dlg.cancelButton()->click();
    EXPECT_EQ(QbTargetTable::getCount(*db), 1);
    EXPECT_EQ(QbRatioTable::getCount(*db), 1);
    EXPECT_EQ(qbPreference(), std::vector<std::string>{"H|180|F"});
}

TEST_F(QbSheet, OkWithEverySchedulePlayingStoresTheInsulinAndTheLogbookFollowsTheTargets) {
    addQbTarget(*db, "06:00", 100, 100);
    addQbRatio(*db, "06:00", 15);
    const GlucoseRange before = context->preference().getGlucoseRange("09:00");
    QbPreferenceDlg& dlg = open();

    auto& sensitivities = static_cast<QbPrefSensitivity&>(*sheet->schedulePage(2));
    sensitivities.setItemEditor([](QbSensitivity& s) {
        s.setSensTime("06:00");
        s.setGlucoseCnt(50);
        return true;
    });
    sensitivities.newButton()->click();
    emit dlg.generalPage()->insulinBox()->activated(0); // Apidra
    dlg.generalPage()->minutesEdit()->setText("300");
    dlg.okButton()->click();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(qbPreference(), std::vector<std::string>{"A|300|T"});
    EXPECT_NE(before, (GlucoseRange{80, 100, 100, 120}));
    EXPECT_EQ(context->preference().getGlucoseRange("09:00"), (GlucoseRange{80, 100, 100, 120}));
}

TEST_F(QbSheet, LeavingGeneralWithMinutesOutOfRangeReturnsToIt) {
    QbPreferenceDlg& dlg = open();
    auto* tabs = dlg.findChild<QTabWidget*>();
    dlg.generalPage()->minutesEdit()->setText("29");
    prompts.expect(kCaption, "Please enter an integer between 30 and 300.");
    tabs->setCurrentIndex(2);
    EXPECT_EQ(tabs->currentIndex(), 0);
    dlg.generalPage()->minutesEdit()->setText("30");
    tabs->setCurrentIndex(2);
    EXPECT_EQ(tabs->currentIndex(), 2);
}

TEST_F(QbSheet, RemoveAndModifyActOnTheSelectedRowAfterConfirmation) {
    addQbRatio(*db, "06:00", 15);
    addQbRatio(*db, "11:30", 12);
    open();
    auto& ratios = static_cast<QbPrefRatio&>(*sheet->schedulePage(1));
    int edited = 0;
    ratios.setItemEditor([&](QbRatio& ratio) {
        edited = ratio.getPk();
        ratio.setCarbCnt(ratio.getCarbCnt() + 1);
        return true;
    });
    // Nothing selected: neither acts.
    ratios.modifyButton()->click();
    ratios.removeButton()->click();
    EXPECT_EQ(edited, 0);
    EXPECT_EQ(question.asked, 0);

    selectRow(1, 1);
    ratios.modifyButton()->click();
    EXPECT_EQ(edited, 2);
    EXPECT_EQ(listed(1), (std::vector<QStringList>{{"06:00", "15"}, {"11:30", "13"}}));

    selectRow(1, 0);
    question.answers = {{false, true}, {true, true}};
    ratios.removeButton()->click();
    EXPECT_EQ(question.asked, 1);
    EXPECT_EQ(QbRatioTable::getCount(*db), 2);
    ratios.removeButton()->click();
    EXPECT_EQ(listed(1), (std::vector<QStringList>{{"11:30", "13"}}));
    EXPECT_EQ(rows("select PK from QB_RATIO"), std::vector<std::string>{"2"});
}
