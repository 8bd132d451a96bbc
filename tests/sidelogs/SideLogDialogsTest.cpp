#include "SideLogTest.h"
#include "logbook/widgets/TimePicker.h"
#include "sidelogs/widgets/A1cItemDlg.h"
#include "sidelogs/widgets/A1cListDlg.h"
#include "sidelogs/widgets/BloodPressureListDlg.h"
#include "sidelogs/widgets/FoodItemDlg.h"
#include "sidelogs/widgets/FoodListDlg.h"
#include "sidelogs/widgets/VitalsItemDlg.h"
#include "support/ScriptedDeleteQuestion.h"
#include "ui/ListTexts.h"
#include "ui/ModalDriver.h"
#include "ui/widgets/RecordListPage.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>

namespace {

using Listed = std::vector<QStringList>;

// Each list dialog driven as the patient would: the rules behind it are tested on their own.
class SideLogDialogsTest : public SideLogTest {
protected:
    // Presses the button and acts on the item dialog it opens, which then gets OK.
    template <class Dialog>
    void editThroughDialog(QPushButton* button, std::function<void(Dialog*)> act) {
        bool seen = false;
        whenModalIs<Dialog>([&](Dialog* dialog) {
            seen = true;
            act(dialog);
            if (dialog->isVisible())
                dialog->okButton()->click();
            if (dialog->isVisible()) {
                ADD_FAILURE() << "the dialog refused OK";
                dialog->reject();
            }
        });
        button->click();
        EXPECT_TRUE(seen);
    }
    // Presses the button; true when that opened a modal window, which is closed again.
    static bool opensDialog(QPushButton* button) {
        bool looked = false;
        bool opened = false;
        QTimer::singleShot(200, qApp, [&] {
            looked = true;
            for (QWidget* top : QApplication::topLevelWidgets())
                if (top->isVisible() && top->isModal()) {
                    opened = true;
                    top->close();
                }
        });
        button->click();
        while (!looked)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        return opened;
    }

    ScriptedDeleteQuestion question;
};

} // namespace

TEST_F(SideLogDialogsTest, A1cNewStoresThePickedDateAndDeleteRemovesEverySelectedResult) {
    addA1c("20070101", "7.0");
    A1cListDlg dialog(*context, question);
    RecordListPage& page = *dialog.page();
    EXPECT_EQ(page.removeButton()->text(), "Delete");
    editThroughDialog<A1cItemDlg>(page.newButton(), [](A1cItemDlg* item) {
        EXPECT_EQ(item->countEdit()->text(), "0.0");
        item->datePicker()->setDate(QDate(2007, 2, 14));
        item->countEdit()->setText("6.8");
    });
    EXPECT_EQ(rows("select pk, a1c_date, a1c_count from A1C where pk > 1"), Rows{"2|20070214|6.8"});
    EXPECT_EQ(listedTexts(*page.list()), (Listed{{"February 14, 2007", "Wednesday", "6.8", ""},
                                                 {"January 01, 2007", "Monday", "7.0", ""}}));
    EXPECT_EQ(page.selectedKey(), 2); // the new result is selected

    page.list()->selectAll();
    question.answers.push_back({true, true});
    page.removeButton()->click();
    EXPECT_EQ(question.asked, 1);
    EXPECT_TRUE(rows("select pk from A1C where sync_state <> 30").empty());
}

TEST_F(SideLogDialogsTest, FoodsModifyOneSelectedFoodAndARefusedCountKeepsTheDialogOpen) {
    addFood("Rice", 45);
    addFood("Apple", 7);
    FoodListDlg dialog(*context, question);
    RecordListPage& page = *dialog.page();
    EXPECT_EQ(listedTexts(*page.list()), (Listed{{"Apple", "7", ""}, {"Rice", "45", ""}}));

    page.list()->selectAll();
    EXPECT_FALSE(opensDialog(page.modifyButton())); // two foods selected: nothing to modify
    page.list()->setCurrentItem(page.list()->topLevelItem(1));
    prompts.expect("Quillmarch", "Please enter an integer between 0 and 300.");
    editThroughDialog<FoodItemDlg>(page.modifyButton(), [this](FoodItemDlg* item) {
        EXPECT_EQ(item->nameEdit()->text(), "Rice");
        item->carbsEdit()->setText("450");
        item->okButton()->click();
        EXPECT_TRUE(item->isVisible());
        prompts.verify();
        item->nameEdit()->setText("Basmati Rice 1 cup");
        item->carbsEdit()->setText("45");
    });
    EXPECT_EQ(rows("select pk, carb_name, carb_cnt, sync_state from CARBS where pk = 1"),
              Rows{"1|Basmati Rice 1 cup|45|20"});
    EXPECT_EQ(page.selectedKey(), 1);
}

TEST_F(SideLogDialogsTest, VitalsStoreThePickedTimeAndNoteAndAClearedNoteGoes) {
    BloodPressureListDlg dialog(*context, question);
    RecordListPage& page = *dialog.page();
    editThroughDialog<VitalsItemDlg>(page.newButton(), [](VitalsItemDlg* item) {
        EXPECT_EQ(item->systolicEdit()->text() + "/" + item->diastolicEdit()->text(), "125/85");
        item->datePicker()->setDate(QDate(2007, 3, 14));
        item->timePicker()->setTime(QTime(21, 15));
        item->systolicEdit()->setText("140");
        item->diastolicEdit()->setText("90");
        item->pulseEdit()->setText("66");
        item->weightEdit()->setText("81.5");
        item->notesEdit()->setPlainText("After dinner");
    });
    EXPECT_EQ(rows("select PK, BP_TIME, SYSTOLIC, DIASTOLIC, PULSE, WEIGHT, NOTE_PK from "
                   "BLOOD_PRESSURE"),
              Rows{"1|20070314211500|140|90|66|81.5|1"});
    EXPECT_EQ(rows("select NOTE_TYPE, OWNER_PK, TEXT from NOTE"), Rows{"2|1|After dinner"});
    EXPECT_EQ(listedTexts(*page.list()),
              (Listed{{"Mar 14, 2007 09:15 PM", "140", "90", "66", "81.5", "After dinner"}}));

    editThroughDialog<VitalsItemDlg>(page.modifyButton(), [](VitalsItemDlg* item) {
        EXPECT_EQ(item->notesEdit()->toPlainText(), "After dinner");
        item->notesEdit()->clear();
    });
    EXPECT_EQ(rows("select NOTE_PK, SYNC_STATE from BLOOD_PRESSURE"), Rows{"0|20"});
    EXPECT_TRUE(rows("select PK from NOTE").empty());

    question.answers.push_back({true, true});
    page.removeButton()->click();
    EXPECT_TRUE(rows("select PK from BLOOD_PRESSURE").empty());
}
