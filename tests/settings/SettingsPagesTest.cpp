#include "SettingsTest.h"
#include "settings/widgets/BasilDetailDlg.h"
#include "settings/widgets/LogTypeMedDlg.h"
#include "settings/widgets/LogTypesDlg.h"
#include "settings/widgets/MedicationItemDlg.h"
#include "settings/widgets/MedicationsDlg.h"
#include "settings/widgets/MeterDlg.h"
#include "settings/widgets/MetersDlg.h"
#include "settings/widgets/PrefBasil.h"
#include "settings/widgets/ProtocolsDlg.h"
#include "settings/widgets/StoredDateEdit.h"
#include "support/ScriptedDeleteQuestion.h"
#include "ui/ListTexts.h"
#include "ui/ModalDriver.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimeEdit>
#include <QTreeWidget>

namespace {

class SettingsPagesTest : public SettingsTest {
protected:
    static void selectRow(const RecordListPage& page, int row) {
        page.list()->setCurrentItem(page.list()->topLevelItem(row));
    }
    // The menu's entries, "-" for a separator and "*" after a checked one.
    static QStringList menuTexts(QMenu& menu) {
        QStringList texts;
        for (QAction* action : menu.actions())
            texts << (action->isSeparator() ? QStringLiteral("-")
                                            : action->text() + (action->isChecked() ? "*" : ""));
        return texts;
    }
    // The picker loses the keyboard focus as it would when the patient moves on.
    static void leave(QWidget* picker) {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(picker, &out);
    }
    template <class Dialog>
    void editThroughDialog(QPushButton* button, std::function<void(Dialog*)> act) {
        bool seen = false;
        whenModalIs<Dialog>([&](Dialog* dialog) {
            seen = true;
            act(dialog);
            if (dialog->isVisible())
                dialog->okButton()->click();
        });
        button->click();
        EXPECT_TRUE(seen);
    }

    ScriptedDeleteQuestion question;
};

} // namespace

TEST_F(SettingsPagesTest, LogTypesShowTheSlotsAndTakeBackARefusedTime) {
    addUsualSlots();
    changePreference([](Preference& p) { p.setMilitaryTimeBol(false); });
    LogTypesDlg page(*context);
    EXPECT_EQ(page.timePicker(2)->displayFormat(), "hh:mm AP");
    EXPECT_EQ(page.nameEdit(7)->text(), "Late Evening");
    EXPECT_EQ(page.timePicker(2)->time(), QTime(9, 15));
    EXPECT_EQ(page.medicationButton(1)->text(), "5H");
    EXPECT_EQ(page.medicationButton(2)->text(), "Medication");
    EXPECT_FALSE(page.timePicker(0)->isEnabled());

    page.timePicker(1)->setTime(QTime(8, 0));
    leave(page.timePicker(1));
    page.timePicker(2)->setTime(QTime(8, 0)); // slot 3 is checked against the moved slot 2
    prompts.expect(kProgramCaption, "Time must be after 08:00 AM and before 11:30 AM");
    leave(page.timePicker(2));
    EXPECT_EQ(page.timePicker(2)->time(), QTime(9, 15));
    page.timePicker(7)->setTime(QTime(21, 0)); // typed, and the page left at once
    prompts.expect(kProgramCaption, "Time must be after 09:00 PM");
    EXPECT_FALSE(page.validate());
    page.store();
    EXPECT_EQ(changedSlots(), Rows{"2|0800|Breakfast|5H|20"});
}

TEST_F(SettingsPagesTest, PassingThroughPickersOnTheDayTheClockSpringsForwardStoresNothing) {
    addUsualSlots();
    ASSERT_TRUE(db->exec("update SAMPLE_TYPE set SAMPLE_TIME='0100' where pk=1"));
    ASSERT_TRUE(db->exec("update SAMPLE_TYPE set SAMPLE_TIME='0230' where pk=2"));
    standOnSpringForwardDay();
    LogTypesDlg page(*context);
    EXPECT_EQ(page.timePicker(1)->time(), QTime(2, 30));
    for (int slot = 1; slot < LogTypesDlg::kSlotCount; ++slot)
        leave(page.timePicker(slot));
    ASSERT_TRUE(page.validate());
    page.store();
    EXPECT_EQ(changedSlots(), Rows{});
}

TEST_F(SettingsPagesTest, TheMedicationDialogRefusesABadAmountAndGivesTheSlotItsDoses) {
    addUsualSlots();
    addMedication("Humalog", "H");
    addMedication("NPH", "N");
    LogTypesDlg page(*context);
    editThroughDialog<LogTypeMedDlg>(page.medicationButton(1), [&](LogTypeMedDlg* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Medication for Breakfast");
        EXPECT_EQ(dialog->medicationList(0)->currentText() + dialog->amountEdit(0)->text(),
                  "Humalog5");
        EXPECT_FALSE(dialog->amountEdit(1)->isEnabled());
        dialog->amountEdit(0)->setText("1.234");
        prompts.expect(kProgramCaption, "Invalid Dosage");
        dialog->okButton()->click();
        EXPECT_TRUE(dialog->isVisible());
        dialog->amountEdit(0)->setText("12.5");
        dialog->medicationList(2)->setCurrentIndex(1);
        emit dialog->medicationList(2)->activated(1);
        EXPECT_EQ(dialog->amountEdit(2)->text(), "0.0");
        EXPECT_TRUE(dialog->amountEdit(2)->isEnabled());
    });
    EXPECT_EQ(page.medicationButton(1)->text(), "12.5H 0.0N");
    page.store();
    EXPECT_EQ(changedSlots(), Rows{"2|0700|Breakfast|12.5H 0.0N|20"});
}

TEST_F(SettingsPagesTest, TheMedicationDialogStoresEachFieldWhereItBelongs) {
    addMedication("Humalog", "H");
    addMedication("Glargine", "G");
    MedicationsDlg page(*context, question);
    editThroughDialog<MedicationItemDlg>(page.newButton(), [](MedicationItemDlg* dialog) {
        EXPECT_EQ(dialog->codeBox()->count(), 24); // G and H are taken
        EXPECT_EQ(dialog->codeBox()->findText("G"), -1);
        EXPECT_EQ(dialog->codeBox()->currentIndex(), -1);
        dialog->nameEdit()->setText("Regular");
        const int r = dialog->codeBox()->findText("R");
        dialog->codeBox()->setCurrentIndex(r);
        emit dialog->codeBox()->activated(r);
        dialog->activeBox()->setChecked(true);
        dialog->includeBox()->setChecked(false);
        dialog->insulinBox()->setChecked(true);
        dialog->rxEdit()->setText("RX-7");
        dialog->incrementBox()->setCurrentIndex(2);
        dialog->expireDaysBox()->setValue(28);
    });
    const char* columns = "select MED_DESC, MED_CODE, ACTIVE_BOL, INCLUDE_IN_TOTALS_BOL, "
                          "IS_INSULIN_BOL, RX_ORDER_ID, INCREMENT_BY_CODE, OPEN_DATE, "
                          "EXPIRE_DAY_CNT, SYNC_STATE from MEDICATION where MED_CODE='R'";
    // An opened date never picked stays empty: no days are counted down.
    EXPECT_EQ(rows(columns), Rows{"Regular|R|T|F|T|RX-7|2||28|10"});
    EXPECT_EQ(listedTexts(*page.list())[2], (QStringList{"Regular", "*", "", "R", "", "RX-7"}));

    selectRow(page, 2); // Modify, touching nothing, keeps its own code on offer
    editThroughDialog<MedicationItemDlg>(page.modifyButton(), [](MedicationItemDlg* dialog) {
        EXPECT_EQ(dialog->codeBox()->currentText(), "R");
    });
    EXPECT_EQ(rows(columns), Rows{"Regular|R|T|F|T|RX-7|2||28|20"});
    selectRow(page, 2);
    editThroughDialog<MedicationItemDlg>(page.modifyButton(), [](MedicationItemDlg* dialog) {
        dialog->openedPicker()->setDate(QDate(2026, 3, 4));
    });
    EXPECT_EQ(listedTexts(*page.list())[2][4], "17");
}

TEST_F(SettingsPagesTest, TheActiveButtonAndTheMenuToggleTheSelectedMedication) {
    addMedication("Humalog", "H");
    MedicationsDlg page(*context, question);
    page.activeButton()->click(); // nothing selected: nothing happens
    EXPECT_EQ(page.contextMenu(), nullptr);
    selectRow(page, 0);
    page.activeButton()->click();
    selectRow(page, 0);
    std::unique_ptr<QMenu> menu = page.contextMenu();
    ASSERT_TRUE(menu);
    EXPECT_EQ(menuTexts(*menu),
              (QStringList{"New", "Modify", "Remove", "-", "Active", "Include In Totals*"}));
    menu->actions().at(5)->trigger();
    EXPECT_EQ(listedTexts(*page.list())[0], (QStringList{"Humalog", "", "", "H", "", ""}));
    selectRow(page, 0);
    page.contextMenu()->actions().at(4)->trigger();
    EXPECT_EQ(rows("select ACTIVE_BOL, INCLUDE_IN_TOTALS_BOL from MEDICATION"), Rows{"T|F"});
}

TEST_F(SettingsPagesTest, RemoveAsksFirstAndFollowsTheTablesRule) {
    const int known = addMedication("Humalog", "H", [](Medication& m) { m.setFk(12); });
    MedicationsDlg page(*context, question);
    for (bool yes : {false, true}) {
        selectRow(page, 0);
        question.answers.push_back({yes, true});
        page.removeButton()->click();
    }
    EXPECT_EQ(question.asked, 2);
    EXPECT_TRUE(listedTexts(*page.list()).empty());
    // The handheld knows it, so the row stays marked for it.
    EXPECT_EQ(rows("select PK, SYNC_STATE from MEDICATION"), Rows{std::to_string(known) + "|30"});
}

TEST_F(SettingsPagesTest, TheMeterDialogStoresEachFieldWhereItBelongs) {
    MetersDlg page(*context, question);
    editThroughDialog<MeterDlg>(page.newButton(), [](MeterDlg* dialog) {
        dialog->descEdit()->setText("Primary Meter");
        dialog->modelEdit()->setText("M1");
        dialog->mfgEdit()->setText("Maker");
        dialog->serialEdit()->setText("SN-42");
    });
    EXPECT_EQ(rows("select DESC, MODEL, MFG, SERIAL_NO, SERIVICE_DATE from METER"),
              Rows{"Primary Meter|M1|Maker|SN-42|"});
    selectRow(page, 0);
    std::unique_ptr<QMenu> menu = page.contextMenu();
    ASSERT_TRUE(menu);
    EXPECT_EQ(menuTexts(*menu), (QStringList{"New", "Modify", "Remove"}));
}

TEST_F(SettingsPagesTest, ProtocolsKeep256CharactersAndOneProtocolAlwaysRemains) {
    addProtocol("20070101");
    ProtocolsDlg page(*context, question);
    EXPECT_FALSE(page.removeButton()->isEnabled());
    selectRow(page, 0);
    page.removeItem(); // asked another way, the last protocol stays and nobody is asked
    EXPECT_EQ(question.asked, 0);
    editThroughDialog<ProtocolDlg>(page.newButton(), [](ProtocolDlg* dialog) {
        dialog->textEdit()->setPlainText(QString(255, u'a') + "bc");
    });
    EXPECT_EQ(rows("select EFFECTIVE_DATE, TEXT from PROTOCOL where pk=2"),
              Rows{"20260314|" + std::string(255, 'a') + "b"});
    EXPECT_EQ(listedTexts(*page.list()),
              (std::vector<QStringList>{{"March 14, 2026"}, {"January 01, 2007"}}));
    EXPECT_TRUE(page.removeButton()->isEnabled());
    selectRow(page, 1);
    question.answers.push_back({true, true});
    page.removeButton()->click();
    EXPECT_EQ(rows("select pk from PROTOCOL"), Rows{"2"});
    EXPECT_FALSE(page.removeButton()->isEnabled());
}

TEST_F(SettingsPagesTest, BasalRatesRefuseATimeInUseAndKeepAnUntouchedOne) {
    changePreference([](Preference& p) {
        p.setMilitaryTimeBol(false);
        p.setAskDeleteBol(false);
    });
    addRate("02:30", "0.85");
    standOnSpringForwardDay();
    PrefBasil page(*context, question);
    selectRow(page, 0);
    editThroughDialog<BasilDetailDlg>(page.modifyButton(), [](BasilDetailDlg* dialog) {
        EXPECT_EQ(dialog->timePicker()->displayFormat(), "hh:mm AP");
        EXPECT_EQ(dialog->timePicker()->time(), QTime(2, 30));
        dialog->rateEdit()->setText("0.9");
    });
    editThroughDialog<BasilDetailDlg>(page.newButton(), [&](BasilDetailDlg* dialog) {
        dialog->timePicker()->setTime(QTime(2, 30));
        dialog->rateEdit()->setText("1.2");
        prompts.expect(kProgramCaption, "This time is already used");
        dialog->okButton()->click();
        EXPECT_TRUE(dialog->isVisible());
        dialog->timePicker()->setTime(QTime(13, 30));
    });
    EXPECT_EQ(rows("select START_TIME, BASIL_MED_AMT from BASIL_RATE order by PK"),
              (Rows{"02:30|0.9", "13:30|1.2"}));
    page.setItemEditor([](BasilRate& edited) { // cancelled: nothing stored
        edited.setBasilMedAmt("9.9");
        return false;
    });
    selectRow(page, 0);
    page.modifyButton()->click();
    selectRow(page, 0);
    page.removeButton()->click(); // asked nothing: the patient turned the question off
    EXPECT_EQ(rows("select BASIL_MED_AMT from BASIL_RATE"), Rows{"1.2"});
}
