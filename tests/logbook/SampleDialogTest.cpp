#include "logbook/widgets/SampleDialog.h"
#include "LogbookFixture.h"
#include "logbook/NoteText.h"
#include "ui/ModalDriver.h"

#include <QComboBox>
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
        addMedication("Humalog", "H");
        addSlot("0700", "Breakfast", "6H");
        addSlot("1130", "Lunch", "4H 2N");
        changePreference([](Preference& p) { p.setMilitaryTimeBol(true); });
        openContext("20070315120000");
    }
};

} // namespace

// Set the fields, leave the time, press OK: the form gets every field and the entry is stored
// with its wrapped note; "OK and Add Another" opens a new entry at the same time.
TEST_F(SampleDialogTest, FieldsReachTheStoredEntry) {
    const QString typedNotes = QStringLiteral("first entry of the morning ").repeated(6) + "\nend";
    QTime secondTime;
    whenModalIs<SampleDialog>([&](SampleDialog* dialog) {
        EXPECT_EQ(dialog->timeEdit()->displayFormat(), "HH:mm");
        EXPECT_EQ(dialog->amountEdit(0)->text(), "6");
        EXPECT_EQ(dialog->medicationList(3)->itemText(0), "Humalog"); // by name
        dialog->timeEdit()->setTime(QTime(11, 45));
        QFocusEvent left(QEvent::FocusOut);
        QApplication::sendEvent(dialog->timeEdit(), &left);
        EXPECT_EQ(dialog->slotList()->currentText(), "Lunch");
        dialog->glucoseEdit()->setText("120");
        dialog->carbsEdit()->setText("45");
        dialog->medicationList(3)->setCurrentIndex(dialog->medicationList(3)->findText("NPH"));
        EXPECT_EQ(dialog->amountEdit(3)->text(), "0.0");
        dialog->amountEdit(3)->setText("1.5");
        dialog->ketoneList()->setCurrentIndex(2);
        dialog->deliveryList()->setCurrentIndex(dialog->deliveryList()->findText("Oral"));
        dialog->notesEdit()->setPlainText(typedNotes);
        whenModalIs<SampleDialog>([&](SampleDialog* second) {
            secondTime = second->timeEdit()->time();
            second->cancelButton()->click();
        });
        dialog->addAnotherButton()->click();
    });
    int pk = newEntryAt(*context, fromDateTimeText("20070315093000"), nullptr);
    EXPECT_EQ(secondTime, QTime(11, 45));
    EXPECT_EQ(rows(("select SAMPLE_TIME, SAMPLE_TYPE_PK, GLUCOSE_CNT, CARB_CNT, KEYTONE_CODE, "
                    "MEDICATION_DOSAGE, CORRECTION_DOSAGE, DELIVERY_CODE from SAMPLE where PK = " +
                    std::to_string(pk))
                       .c_str()),
              std::vector<std::string>{"20070315114500|2|120|45|2|4H 2N|1.5N|2"});
    auto note = NoteTable::getByPk(*db, SampleTable::getByPk(*db, pk)->getNotePk());
    ASSERT_TRUE(note);
    EXPECT_TRUE(note->getText().contains("\r\r\n"));
    EXPECT_EQ(NoteText::forEditing(note->getText()), typedNotes);
}
