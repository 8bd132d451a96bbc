#include "settings/widgets/LogTypesDlg.h"
#include "SettingsTest.h"
#include "settings/widgets/LogTypeMedDlg.h"
#include "ui/ModalDriver.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimeEdit>

namespace {

class LogTypesPageTest : public SettingsTest {
protected:
    void SetUp() override {
        SettingsTest::SetUp();
        addUsualSlots();
        addMedication("Humalog", "H");
        addMedication("NPH", "N");
    }
    void TearDown() override {
        page.reset();
        SettingsTest::TearDown();
    }
    LogTypesDlg& open() {
        page = std::make_unique<LogTypesDlg>(*context);
        int* count = &changes;
        QObject::connect(page.get(), &PropertyPage::changed, [count] { ++*count; });
        return *page;
    }
    // The picker loses the keyboard focus as it would when the patient moves on.
    void leave(QTimeEdit* picker) {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(picker, &out);
    }

    std::unique_ptr<LogTypesDlg> page;
    int changes = 0;
};

} // namespace

TEST_F(LogTypesPageTest, ShowsTheStoredSlotsWithPickersInThePatientsClock) {
    for (auto [military, format] : {std::pair{false, "hh:mm AP"}, std::pair{true, "HH:mm"}}) {
        changePreference([military](Preference& p) { p.setMilitaryTimeBol(military); });
        context->reload();
        LogTypesDlg& shown = open();
        EXPECT_EQ(shown.timePicker(2)->displayFormat(), format);
        EXPECT_EQ(shown.nameEdit(0)->text(), "Early Am");
        EXPECT_EQ(shown.nameEdit(7)->text(), "Late Evening");
        EXPECT_EQ(shown.timePicker(2)->time(), QTime(9, 15));
        EXPECT_EQ(shown.medicationButton(1)->text(), "5H");
        EXPECT_EQ(shown.medicationButton(2)->text(), "Medication");
        EXPECT_FALSE(shown.timePicker(0)->isEnabled());
        for (int slot = 1; slot < LogTypesDlg::kSlotCount; ++slot)
            EXPECT_TRUE(shown.timePicker(slot)->isEnabled()) << slot;
        EXPECT_EQ(changes, 0);
    }
}

TEST_F(LogTypesPageTest, ARefusedTimeIsReportedAndTakenBackWhenThePickerIsLeft) {
    LogTypesDlg& shown = open();
    shown.show();
    shown.activateWindow();
    QApplication::processEvents();
    shown.timePicker(1)->setTime(QTime(8, 0)); // slot 2 moves; slot 3 is checked against it
    leave(shown.timePicker(1));
    // This time the focus really moves, from the picker to a name.
    shown.timePicker(2)->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), shown.timePicker(2));
    shown.timePicker(2)->setTime(QTime(8, 0));
    EXPECT_GT(changes, 0);
    prompts.expect("Quillmarch", "Time must be after 08:00 AM and before 11:30 AM");
    shown.nameEdit(5)->setFocus();
    prompts.verify();
    EXPECT_EQ(shown.timePicker(2)->time(), QTime(9, 15));
    EXPECT_EQ(QApplication::focusWidget(), shown.timePicker(2));

    takeStatements();
    shown.store();
    EXPECT_EQ(writes(), std::vector{slotUpdate(2, "0800", "Breakfast", "5H")});
}

TEST_F(LogTypesPageTest, TheLastSlotMustStayAfterTheSeventh) {
    LogTypesDlg& shown = open();
    shown.timePicker(7)->setTime(QTime(21, 0));
    prompts.expect("Quillmarch", "Time must be after 09:00 PM");
    leave(shown.timePicker(7));
    EXPECT_EQ(shown.timePicker(7)->time(), QTime(23, 0));
}

TEST_F(LogTypesPageTest, ATimeNotYetCheckedIsCheckedWhenThePageIsLeft) {
    LogTypesDlg& shown = open();
    shown.timePicker(4)->setTime(QTime(11, 0));
    prompts.expect("Quillmarch", "Time must be after 11:30 AM and before 06:00 PM");
    EXPECT_FALSE(shown.validate());
    EXPECT_EQ(shown.timePicker(4)->time(), QTime(15, 0));

    shown.timePicker(4)->setTime(QTime(16, 45));
    EXPECT_TRUE(shown.validate());
    takeStatements();
    shown.store();
    EXPECT_EQ(writes(), std::vector{slotUpdate(5, "1645", "Afternoon")});
}

TEST_F(LogTypesPageTest, AnUntouchedPageStoresNothing) {
    LogTypesDlg& shown = open();
    EXPECT_TRUE(shown.validate());
    takeStatements();
    shown.store();
    EXPECT_TRUE(writes().empty());
}

TEST_F(LogTypesPageTest, TheMedicationEditorSetsTheSlotsMedication) {
    LogTypesDlg& shown = open();
    std::vector<std::pair<QString, QString>> asked;
    std::optional<QString> answer = QStringLiteral("2.5N");
    shown.setMedicationEditor([&](const QString& name, const QString& medication) {
        asked.emplace_back(name, medication);
        return answer;
    });
    shown.nameEdit(3)->setText("Noon");
    shown.medicationButton(3)->click();
    EXPECT_EQ(asked, (std::vector<std::pair<QString, QString>>{{"Noon", ""}}));
    EXPECT_EQ(shown.medicationButton(3)->text(), "2.5N");

    answer.reset(); // cancelled
    shown.medicationButton(1)->click();
    EXPECT_EQ(shown.medicationButton(1)->text(), "5H");
    answer = QString();
    shown.medicationButton(1)->click();
    EXPECT_EQ(shown.medicationButton(1)->text(), "Medication");

    takeStatements();
    shown.store();
    EXPECT_EQ(writes(), (std::vector{slotUpdate(2, "0700", "Breakfast"),
                                     slotUpdate(4, "1130", "Noon", "2.5N")}));
}

TEST_F(LogTypesPageTest, TheMedicationDialogRefusesABadAmountAndReturnsTheDoses) {
    LogTypesDlg& shown = open();
    bool seen = false;
    whenModalIs<LogTypeMedDlg>([&](LogTypeMedDlg* dialog) {
        seen = true;
        EXPECT_EQ(dialog->windowTitle(), "Medication for Breakfast");
        EXPECT_EQ(dialog->medicationList(0)->currentText(), "Humalog");
        EXPECT_EQ(dialog->amountEdit(0)->text(), "5");
        EXPECT_EQ(dialog->medicationList(1)->currentText(), "N/A");
        EXPECT_FALSE(dialog->amountEdit(1)->isEnabled());

        dialog->amountEdit(0)->setText("1.234");
        prompts.expect("Quillmarch", "Invalid Dosage");
        dialog->okButton()->click();
        EXPECT_TRUE(dialog->isVisible());

        dialog->amountEdit(0)->setText("12.5");
        dialog->medicationList(2)->setCurrentIndex(1);
        emit dialog->medicationList(2)->activated(1);
        EXPECT_EQ(dialog->medicationList(2)->currentText(), "NPH");
        EXPECT_EQ(dialog->amountEdit(2)->text(), "0.0");
        EXPECT_TRUE(dialog->amountEdit(2)->isEnabled());
        dialog->okButton()->click();
    });
    shown.medicationButton(1)->click();
    EXPECT_TRUE(seen);
    EXPECT_EQ(shown.medicationButton(1)->text(), "12.5H 0.0N");
    EXPECT_EQ(shown.schedule().slot(1).medication, "12.5H 0.0N");
}

TEST_F(LogTypesPageTest, ChoosingNotApplicableEmptiesAndDisablesTheAmount) {
    LogTypeMedDlg dialog(*context, "Lunch", "5H 2N");
    const int notApplicable = dialog.medicationList(1)->count() - 1;
    dialog.medicationList(1)->setCurrentIndex(notApplicable);
    emit dialog.medicationList(1)->activated(notApplicable);
    EXPECT_EQ(dialog.amountEdit(1)->text(), "");
    EXPECT_FALSE(dialog.amountEdit(1)->isEnabled());
    dialog.accept();
    EXPECT_EQ(dialog.result(), "5H");
}
