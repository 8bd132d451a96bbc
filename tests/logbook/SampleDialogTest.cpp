#include "logbook/widgets/SampleDialog.h"
#include "LogbookFixture.h"
#include "ui/ModalDriver.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimeEdit>

namespace {

class SampleDialogTest : public LogbookContextTest {
protected:
    void SetUp() override {
        LogbookTest::SetUp();
        addMedication("NPH", "N");
        addMedication("Lantus", "G", [](Medication& m) { m.setActiveBol(false); });
        addMedication("Humalog", "H");
        addSlot("0700", "Breakfast", "6H");
        addSlot("1130", "Lunch", "4H 2N");
        changePreference([](Preference& p) { p.setMilitaryTimeBol(true); });
        openContext("20070315120000");
    }

    static Sample newEntry(const QString& time) {
        Sample entry;
        entry.setSampleTime(time);
        return entry;
    }
};

QStringList itemsOf(const QComboBox* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->itemText(i);
    return items;
}

} // namespace

TEST_F(SampleDialogTest, ShowsTheEntryInItsFields) {
    SampleDialog dialog(*context, newEntry("20070315071000"));
    EXPECT_EQ(dialog.windowTitle(), "Log Entry");
    EXPECT_EQ(dialog.timeEdit()->displayFormat(), "HH:mm");
    EXPECT_EQ(dialog.timeEdit()->time(), QTime(7, 10));
    EXPECT_EQ(itemsOf(dialog.ketoneList()),
              (QStringList{"N/A", "Negative", "Small", "Medium", "Large"}));
    EXPECT_EQ(itemsOf(dialog.deliveryList()), (QStringList{"Injection", "Pump", "Oral"}));
    EXPECT_EQ(itemsOf(dialog.medicationList(3)), (QStringList{"Humalog", "NPH", "None"}));
    EXPECT_EQ(dialog.slotList()->currentText(), "Breakfast");
    EXPECT_EQ(dialog.medicationList(0)->currentText(), "Humalog");
    EXPECT_EQ(dialog.amountEdit(0)->text(), "6");
    EXPECT_EQ(dialog.medicationList(1)->currentText(), "None");
    EXPECT_FALSE(dialog.amountEdit(1)->isEnabled());

    changePreference([](Preference& p) { p.setMilitaryTimeBol(false); });
    SampleDialog twelveHour(*context, newEntry("20070315071000"));
    EXPECT_EQ(twelveHour.timeEdit()->displayFormat(), "hh:mm AP");
    EXPECT_EQ(twelveHour.medicationTimeEdit()->displayFormat(), "hh:mm AP");
}

TEST_F(SampleDialogTest, ChoosingAMedicationAndLeavingTheTimeUpdateTheRows) {
    SampleDialog dialog(*context, newEntry("20070315071000"));
    dialog.medicationList(1)->setCurrentIndex(dialog.medicationList(1)->findText("NPH"));
    EXPECT_EQ(dialog.amountEdit(1)->text(), "0.0");
    EXPECT_TRUE(dialog.amountEdit(1)->isEnabled());
    dialog.medicationList(1)->setCurrentIndex(dialog.medicationList(1)->findText("None"));
    EXPECT_EQ(dialog.amountEdit(1)->text(), "");
    EXPECT_FALSE(dialog.amountEdit(1)->isEnabled());

    dialog.timeEdit()->setTime(QTime(11, 45));
    QFocusEvent left(QEvent::FocusOut);
    QApplication::sendEvent(dialog.timeEdit(), &left);
    EXPECT_EQ(dialog.slotList()->currentText(), "Lunch");
    EXPECT_EQ(dialog.amountEdit(0)->text(), "4");
    EXPECT_EQ(dialog.medicationList(1)->currentText(), "NPH");
    EXPECT_EQ(dialog.amountEdit(1)->text(), "2");
    EXPECT_EQ(dialog.medicationTimeEdit()->time(), QTime(11, 45));
}

TEST_F(SampleDialogTest, LeavingTheTimeByClickingOkOnlyShowsTheNewDoses) {
    SampleDialog dialog(*context, newEntry("20070315071000"));
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    dialog.timeEdit()->setFocus();
    dialog.timeEdit()->setTime(QTime(11, 45));
    dialog.okButton()->setFocus(); // the click on OK takes the focus from the time
    ASSERT_EQ(dialog.amountEdit(0)->text(), "4");
    prompts.expect("Quillmarch", "The usual doses of the new time were filled in. Please check "
                                 "them and press OK again.");
    dialog.okButton()->click();
    EXPECT_EQ(rows("select count(*) from SAMPLE"), std::vector<std::string>{"0"});
    EXPECT_TRUE(dialog.isVisible());
    // Seen: the next OK stores them.
    dialog.okButton()->click();
    EXPECT_EQ(rows("select SAMPLE_TIME, MEDICATION_DOSAGE from SAMPLE"),
              std::vector<std::string>{"20070315114500|4H 2N"});
}

TEST_F(SampleDialogTest, OkAndAddAnotherStoresAndOpensANewEntryAtTheSameTime) {
    // Long enough to wrap in the notes edit.
    const QString typedNotes = QStringLiteral("first entry of the morning ").repeated(6) + "\nend";
    bool secondWasNew = false;
    QTime secondTime;
    whenModalIs<SampleDialog>([&](SampleDialog* first) {
        first->glucoseEdit()->setText("120");
        first->notesEdit()->setPlainText(typedNotes);
        whenModalIs<SampleDialog>([&](SampleDialog* second) {
            secondWasNew = second->form().isNew();
            secondTime = second->timeEdit()->time();
            second->cancelButton()->click();
        });
        first->addAnotherButton()->click();
    });
    int firstPk = newEntryAt(*context, fromDateTimeText("20070315093000"), nullptr);
    EXPECT_TRUE(secondWasNew);
    EXPECT_EQ(secondTime, QTime(9, 30));
    EXPECT_EQ(rows("select PK, SAMPLE_TIME, GLUCOSE_CNT, MEDICATION_DOSAGE from SAMPLE"),
              std::vector<std::string>{std::to_string(firstPk) + "|20070315093000|120|6H"});
    // Stored with its wrap points marked; they go again when the notes are edited.
    auto note = NoteTable::getByPk(*db, SampleTable::getByPk(*db, firstPk)->getNotePk());
    ASSERT_TRUE(note);
    EXPECT_TRUE(note->getText().contains("\r\r\n"));
    EXPECT_TRUE(note->getText().endsWith("\r\nend"));
    EXPECT_EQ(SampleForm::notesForEditing(note->getText()), typedNotes);

    // When the next entry is stored too, its PK is the answer.
    whenModalIs<SampleDialog>([&](SampleDialog* first) {
        whenModalIs<SampleDialog>([&](SampleDialog* second) {
            second->glucoseEdit()->setText("130");
            second->okButton()->click();
        });
        first->addAnotherButton()->click();
    });
    Sample entry = newEntry("20070315100000");
    int lastPk = editEntry(*context, entry, nullptr);
    EXPECT_EQ(rows(("select GLUCOSE_CNT from SAMPLE where PK = " + std::to_string(lastPk)).c_str()),
              std::vector<std::string>{"130"});
    EXPECT_NE(lastPk, entry.getPk());
    EXPECT_EQ(entry.getSampleTime(), "20070315100000");
}

TEST_F(SampleDialogTest, ARefusalKeepsTheDialogOpenAndCancelStoresNothing) {
    int notePk = addNote("keep me");
    int pk = addEntry("20070315090000", 100, [&](Sample& e) { e.setNotePk(notePk); });
    Sample entry = *SampleTable::getByPk(*db, pk);
    bool stillOpen = false;
    bool dosageFocused = false;
    whenModalIs<SampleDialog>([&](SampleDialog* dialog) {
        dialog->glucoseEdit()->setText("150");
        dialog->notesEdit()->clear();
        dialog->medicationList(2)->setCurrentIndex(0);
        dialog->amountEdit(2)->setText("1234");
        prompts.expect("Quillmarch", "Invalid Dosage");
        dialog->okButton()->click();
        stillOpen = dialog->isVisible();
        dosageFocused = dialog->focusWidget() == dialog->amountEdit(2);
        dialog->cancelButton()->click();
    });
    EXPECT_EQ(editEntry(*context, entry, nullptr), 0);
    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(dosageFocused);
    EXPECT_EQ(rows("select GLUCOSE_CNT, NOTE_PK, MEDICATION_DOSAGE from SAMPLE"),
              std::vector<std::string>{"100|" + std::to_string(notePk) + "|"});
    EXPECT_EQ(rows("select TEXT from NOTE"), std::vector<std::string>{"keep me"});
    EXPECT_EQ(rows("select count(*) from SAMPLE_DATE"), std::vector<std::string>{"0"});
}
