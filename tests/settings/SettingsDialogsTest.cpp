#include "SettingsTest.h"
#include "logbook/GlucoseClass.h"
#include "settings/MedicationItemRules.h"
#include "settings/widgets/BasilDetailDlg.h"
#include "settings/widgets/GlucoseRangeDlg.h"
#include "settings/widgets/LogTypeMedDlg.h"
#include "settings/widgets/LogTypesDlg.h"
#include "settings/widgets/MedicationItemDlg.h"
#include "settings/widgets/MedicationsDlg.h"
#include "settings/widgets/MeterDlg.h"
#include "settings/widgets/MetersDlg.h"
#include "settings/widgets/PatientDlg.h"
#include "settings/widgets/PatientNotesPage.h"
#include "settings/widgets/PrefBasil.h"
#include "settings/widgets/PrefMiscDlg.h"
#include "settings/widgets/PreferenceDlg.h"
#include "settings/widgets/ProtocolsDlg.h"
#include "settings/widgets/StoredDateEdit.h"
#include "support/ScriptedDeleteQuestion.h"
#include "ui/ListTexts.h"
#include "ui/ModalDriver.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimeEdit>
#include <QTreeWidget>

namespace {

constexpr const char* kInvalidGlucose = "Invalid Glucose Amount";

// The dialogs and pages driven as the patient would, one wiring test each: the rules behind
// them are tested on their own classes.
class SettingsDialogsTest : public SettingsTest {
protected:
    void SetUp() override {
        SettingsTest::SetUp();
        changePreference([](Preference& p) {
            p.setPatientName("Ann");
            p.setDoctorPhone("555-0100");
            p.setDoctorFax("555-0199");
            p.setBirthDate("19801399"); // unreadable
        });
        context->reload();
    }
    void TearDown() override {
        sheet.reset();
        SettingsTest::TearDown();
    }
    // The sheet on screen, so that the focus can be checked where a refusal puts it.
    PreferenceDlg& open() {
        sheet = std::make_unique<PreferenceDlg>(*context, question);
        sheet->show();
        sheet->activateWindow();
        QApplication::processEvents();
        return *sheet;
    }
    template <class Page> Page& showPage(Page* page) {
        for (int i = 0; i < sheet->pageCount(); ++i)
            if (sheet->page(i) == page)
                sheet->setCurrentPage(i);
        QApplication::processEvents();
        return *page;
    }
    static void leave(QLineEdit* edit) {
        emit edit->editingFinished();
        QApplication::processEvents();
    }
    // The picker loses the keyboard focus as it would when the patient moves on.
    static void leavePicker(QWidget* picker) {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(picker, &out);
    }
    std::string stored(const char* columns) {
        return rows(("select " + std::string(columns) + " from PREFERENCE").c_str()).at(0);
    }
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

    ScriptedDeleteQuestion question;
    std::unique_ptr<PreferenceDlg> sheet;
};

QStringList texts(std::initializer_list<QLineEdit*> edits) {
    QStringList shown;
    for (const QLineEdit* edit : edits)
        shown << edit->text();
    return shown;
}

} // namespace

TEST_F(SettingsDialogsTest, OkStoresWhatEveryPageHoldsAndKeepsUntouchedDates) {
    PreferenceDlg& shown = open();
    PatientDlg& patient = *shown.patientPage();
    // The database's path is shown; an unreadable date shows blank.
    EXPECT_EQ(patient.databaseLabel()->text() + patient.birthDateEdit()->text().trimmed(),
              db->path());
    patient.faxEdit()->setText("555-0142");
    patient.dxDateEdit()->setDate(QDate(2003, 7, 4));

    GlucoseRangeDlg& ranges = showPage(shown.rangesPage());
    ranges.lowEdit()->setText("70");
    leave(ranges.lowEdit());
    ranges.systolicEdit(1)->setText("135");
    PrefMiscDlg& misc = showPage(shown.miscPage());
    misc.militaryBox()->setChecked(false);
    misc.retentionEdit()->setText("60");
    misc.deliveryBox()->setCurrentIndex(2);
    emit misc.deliveryBox()->activated(2);
    prompts.expect(kProgramCaption, {}, PromptAnswer::No);
    shown.okButton()->click(); // all is stored from the fields, touched or not
    EXPECT_EQ(shown.result(), QDialog::Accepted);
    EXPECT_EQ(stored("PATIENT_NAME, DOCTOR_PHONE, DOCTOR_FAX, BIRTH_DATE, DX_DATE, GLUCOSE_EXT_HI, "
                     "GLUCOSE_EXT_LO, GLUCOSE_LO, GLUCOSE_HI, BP_SYSTOLIC_MODERATE, "
                     "MILITARY_TIME_BOL, ASK_DELETE_BOL, RETAIN_PC_DAY_CNT, DELIVERY_CODE"),
              "Ann|555-0100|555-0142|19801399|20030704|220|56|70|150|135|F|T|60|2");
}

TEST_F(SettingsDialogsTest, DontAskAgainGivenInsideTheSheetSurvivesOk) {
    addMedication("Humalog", "H");
    PreferenceDlg& shown = open();
    MedicationsDlg& medications = showPage(shown.medicationsPage());
    selectRow(medications, 0);
    question.answers.push_back({false, false}); // "No", with "Always ask?" cleared
    medications.removeButton()->click();
    ASSERT_TRUE(shown.applyAll()); // as OK does, the Miscellaneous page never shown
    EXPECT_EQ(stored("ASK_DELETE_BOL"), "F");
    EXPECT_FALSE(showPage(shown.miscPage()).askDeleteBox()->isChecked());
}

TEST_F(SettingsDialogsTest, ARefusedOrUnmovableNameKeepsTheSheetOpenAndALongOneIsKeptWhole) {
    context->otherPatients << "Bob";
    PatientDlg& page = *open().patientPage();
    for (const char* name : {"  ", "Bob"}) {
        page.doctorEdit()->setFocus();
        page.nameEdit()->setText(name);
        prompts.expect(kProgramCaption, *name == 'B' ? "A patient named Bob already exists."
                                                     : "Please enter the patient's name.");
        EXPECT_FALSE(page.validate());
        EXPECT_EQ(page.focusWidget(), page.nameEdit());
    }
    // A name the patient's settings cannot follow keeps the sheet open and nothing stored.
    context->renameSucceeds = false;
    page.nameEdit()->setText("Berta");
    prompts.expect(kProgramCaption, "The patient's settings could not be moved to the name "
                                    "Berta. Nothing was changed.");
    sheet->okButton()->click();
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(stored("PATIENT_NAME"), "Ann");
    // A name as long as the new-patient dialog takes is shown whole.
    changePreference([](Preference& p) { p.setPatientName("Annemarie Berg-Lindqvist"); });
    EXPECT_EQ(PatientDlg(*context).nameEdit()->text(), "Annemarie Berg-Lindqvist");
}

TEST_F(SettingsDialogsTest, ALimitLeftDerivesItsExtremeAndAnInvalidOneIsRefused) {
    GlucoseRangeDlg& page = showPage(open().rangesPage());
    page.highEdit()->setText("151");
    leave(page.highEdit());
    EXPECT_EQ(page.extHighEdit()->text(), "181");
    page.highEdit()->setFocus();
    page.lowEdit()->setText("12.0");
    prompts.expect(kProgramCaption, kInvalidGlucose);
    leave(page.lowEdit());
    prompts.verify();
    EXPECT_EQ(page.focusWidget(), page.lowEdit());
    EXPECT_EQ(page.extLowEdit()->text(), "65");
    // OK pressed straight after typing, before the field was left.
    page.lowEdit()->setText("72");
    emit page.lowEdit()->textEdited("72");
    ASSERT_TRUE(page.validate());
    EXPECT_EQ(page.extLowEdit()->text(), "58");
    // In the millimole unit limits show one decimal, and so does a whole number once left.
    context->preference().setGlucoseSampleCode(kGlucoseUnitMmol);
    GlucoseRangeDlg mmol(*context);
    mmol.lowEdit()->setText("4");
    EXPECT_TRUE(mmol.lowLeft());
    EXPECT_EQ(texts({mmol.extLowEdit(), mmol.lowEdit(), mmol.highEdit()}),
              (QStringList{"3.2", "4.0", "15.0"}));
}

// Through the sheet: an emptied limit, or one contradicting another, keeps it open with the
// focus on that limit, and nothing is stored.
TEST_F(SettingsDialogsTest, AnEmptiedOrContradictoryLimitKeepsTheSheetOpen) {
    GlucoseRangeDlg& page = showPage(open().rangesPage());
    const std::string before = stored("BP_SYSTOLIC_MODERATE, GLUCOSE_LO, GLUCOSE_EXT_LO");
    const std::tuple<QLineEdit*, const char*, const char*> cases[] = {
        {page.systolicEdit(1), "",
         "The systolic moderate limit must be a whole number between 60 and 300 mmHg."},
        {page.lowEdit(), "200",
         "The low glucose limit (200) must not be above the high glucose limit (150)."}};
    for (auto [edit, text, refusal] : cases) {
        edit->setText(text);
        emit edit->textEdited(text);
        prompts.expect(kProgramCaption, refusal);
        sheet->okButton()->click();
        prompts.verify();
        EXPECT_EQ(page.focusWidget(), edit);
    }
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(stored("BP_SYSTOLIC_MODERATE, GLUCOSE_LO, GLUCOSE_EXT_LO"), before);
}

TEST_F(SettingsDialogsTest, TheColourKeyStandsBeforeItsTitles) {
    GlucoseRangeDlg& page = showPage(open().rangesPage());
    QStringList keys;
    for (ColourKeyBox* key : page.findChildren<ColourKeyBox*>()) {
        QLabel* title = key->parentWidget()->findChild<QLabel*>();
        EXPECT_LT(key->x(), title->x());
        keys << title->text() + (key->solid() ? " solid " : " outline ") +
                    (key->colour() == GlucoseColors::low() ? "red" : "blue");
    }
    keys.sort();
    EXPECT_EQ(keys,
              (QStringList{"Extreme High solid blue", "Extreme Low solid red", "High outline blue",
                           "High solid blue", "Low outline red", "Moderate outline blue"}));
}

TEST_F(SettingsDialogsTest, RetentionOutOfRangeIsRefusedAndAnUnknownDeliveryKept) {
    changePreference([](Preference& p) { p.setDeliveryCode(7); });
    PrefMiscDlg& page = showPage(open().miscPage());
    page.militaryBox()->setFocus();
    page.retentionEdit()->setText("6");
    prompts.expect(kProgramCaption, "Please enter an integer between 7 and 9999.");
    EXPECT_FALSE(page.validate());
    EXPECT_EQ(page.focusWidget(), page.retentionEdit());
    EXPECT_EQ(page.deliveryBox()->currentText(), "Injection");
    ASSERT_TRUE(page.apply());
    EXPECT_EQ(page.fields().deliveryCode, 7);
}

TEST_F(SettingsDialogsTest, NotesComeFromTheSavedOnesAndKeepTheLinesAsShown) {
    context->values["PatientNotes"] = QString(250, u'a') + QStringLiteral("bcdefghij");
    EXPECT_EQ(PatientNotesPage(*context, QString()).notes(), QString(250, u'a') + "bcdef");

    PatientNotesPage page(*context, QStringLiteral("Given"));
    const QString paragraph = QStringLiteral(
        "Insulin needs rose after the move to night shifts and the new pump settings in May");
    page.edit()->setPlainText(paragraph + QStringLiteral("\nEnd"));
    page.resize(160, 300);
    page.show();
    QApplication::processEvents();
    ASSERT_TRUE(page.apply());
    const QStringList lines = page.notes().split(QStringLiteral("\r\n"));
    ASSERT_GT(lines.size(), 3);
    EXPECT_EQ(lines.last(), "End");
    // Only breaks were added: the lines put together give the text back.
    EXPECT_EQ(lines.mid(0, lines.size() - 1).join(QString()), paragraph);
    const QFontMetrics metrics(page.edit()->font());
    for (const QString& line : lines)
        EXPECT_LE(metrics.horizontalAdvance(line.trimmed()), page.edit()->viewport()->width());
}

TEST_F(SettingsDialogsTest, LogTypesShowTheSlotsAndTakeBackARefusedTime) {
    addUsualSlots();
    changePreference([](Preference& p) { p.setMilitaryTimeBol(false); });
    LogTypesDlg page(*context);
    EXPECT_EQ(QStringList({page.timePicker(2)->displayFormat(), page.nameEdit(7)->text(),
                           page.timePicker(2)->time().toString("hhmm"),
                           page.medicationButton(1)->text(), page.medicationButton(2)->text()}),
              (QStringList{"hh:mm AP", "Late Evening", "0915", "5H", "Medication"}));
    EXPECT_FALSE(page.timePicker(0)->isEnabled());

    page.timePicker(1)->setTime(QTime(8, 0));
    leavePicker(page.timePicker(1));
    page.timePicker(2)->setTime(QTime(8, 0)); // slot 3 is checked against the moved slot 2
    prompts.expect(kProgramCaption, "Time must be after 08:00 AM and before 11:30 AM");
    leavePicker(page.timePicker(2));
    EXPECT_EQ(page.timePicker(2)->time(), QTime(9, 15));
    page.timePicker(7)->setTime(QTime(21, 0)); // typed, and the page left at once
    prompts.expect(kProgramCaption, "Time must be after 09:00 PM");
    EXPECT_FALSE(page.validate());
    page.store();
    EXPECT_EQ(changedSlots(), Rows{"2|0800|Breakfast|5H|20"});
}

TEST_F(SettingsDialogsTest, PassingThroughPickersOnTheDayTheClockSpringsForwardStoresNothing) {
    addUsualSlots();
    ASSERT_TRUE(db->exec("update SAMPLE_TYPE set SAMPLE_TIME='0100' where pk=1"));
    ASSERT_TRUE(db->exec("update SAMPLE_TYPE set SAMPLE_TIME='0230' where pk=2"));
    standOnSpringForwardDay();
    LogTypesDlg page(*context);
    EXPECT_EQ(page.timePicker(1)->time(), QTime(2, 30));
    for (int slot = 1; slot < LogTypesDlg::kSlotCount; ++slot)
        leavePicker(page.timePicker(slot));
    ASSERT_TRUE(page.validate());
    page.store();
    EXPECT_EQ(changedSlots(), Rows{});
}

TEST_F(SettingsDialogsTest, TheMedicationDialogRefusesABadAmountAndGivesTheSlotItsDoses) {
    addUsualSlots();
    addMedication("Humalog", "H");
    addMedication("NPH", "N");
    LogTypesDlg page(*context);
    editThroughDialog<LogTypeMedDlg>(page.medicationButton(1), [&](LogTypeMedDlg* dialog) {
        EXPECT_EQ(dialog->windowTitle() + dialog->medicationList(0)->currentText() +
                      dialog->amountEdit(0)->text(),
                  "Medication for BreakfastHumalog5");
        dialog->amountEdit(0)->setText("1.234");
        prompts.expect(kProgramCaption, "Invalid Dosage");
        dialog->okButton()->click();
        EXPECT_TRUE(dialog->isVisible());
        dialog->amountEdit(0)->setText("12.5");
        dialog->medicationList(2)->setCurrentIndex(1);
        emit dialog->medicationList(2)->activated(1);
        EXPECT_EQ(dialog->amountEdit(2)->text(), "0.0");
    });
    page.store();
    EXPECT_EQ(changedSlots(), Rows{"2|0700|Breakfast|12.5H 0.0N|20"});
}

TEST_F(SettingsDialogsTest, TheMedicationDialogStoresEachFieldWhereItBelongs) {
    addMedication("Humalog", "H");
    addMedication("Glargine", "G");
    MedicationsDlg page(*context, question);
    const int old = addMedication("Old", "X", [](Medication& m) { m.setFk(9); });
    ASSERT_TRUE(MedicationTable::markDeleted(*db, old));
    editThroughDialog<MedicationItemDlg>(page.newButton(), [](MedicationItemDlg* dialog) {
        // G and H are taken, a deleted one's X is free; no letter until one is chosen.
        EXPECT_EQ(dialog->codeBox()->count() + dialog->codeBox()->findText("G"), 23);
        EXPECT_NE(dialog->codeBox()->findText("X"), -1);
        EXPECT_EQ(dialog->codeBox()->currentIndex(), -1);
        dialog->nameEdit()->setText("Regular");
        const int r = dialog->codeBox()->findText("R");
        dialog->codeBox()->setCurrentIndex(r);
        emit dialog->codeBox()->activated(r);
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

    for (const char* opened : {"", "20260304"}) { // untouched, then picked
        selectRow(page, 2);
        editThroughDialog<MedicationItemDlg>(page.modifyButton(), [&](MedicationItemDlg* dialog) {
            EXPECT_EQ(dialog->codeBox()->currentText(), "R"); // its own code is on offer
            if (*opened)
                dialog->openedPicker()->setDate(QDate(2026, 3, 4));
        });
        EXPECT_EQ(rows(columns), Rows{"Regular|R|T|F|T|RX-7|2|" + std::string(opened) + "|28|20"});
    }
    EXPECT_EQ(listedTexts(*page.list())[2][4], "17");
}

// OK is refused until the medication has a name (more than spaces) and a code.
TEST_F(SettingsDialogsTest, TheMedicationDialogRefusesAMedicationWithoutNameOrCode) {
    MedicationsDlg page(*context, question);
    editThroughDialog<MedicationItemDlg>(page.newButton(), [&](MedicationItemDlg* dialog) {
        for (const char* name : {"", " ", "Regular"}) {
            dialog->nameEdit()->setText(name);
            prompts.expect("Quillmarch", *name == 'R' ? MedicationItemRules::kNoCode
                                                      : MedicationItemRules::kNoName);
            dialog->okButton()->click();
        }
        emit dialog->codeBox()->activated(dialog->codeBox()->findText("R"));
    });
    EXPECT_EQ(rows("select MED_DESC, MED_CODE from MEDICATION"), Rows{"Regular|R"});
}

TEST_F(SettingsDialogsTest, TheActiveButtonAndTheMenuToggleTheSelectedMedication) {
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

TEST_F(SettingsDialogsTest, RemoveAsksFirstAndFollowsTheTablesRule) {
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

TEST_F(SettingsDialogsTest, TheMeterDialogStoresEachFieldWhereItBelongs) {
    MetersDlg page(*context, question);
    editThroughDialog<MeterDlg>(page.newButton(), [](MeterDlg* dialog) {
        dialog->descEdit()->setText("Primary Meter");
        dialog->modelEdit()->setText("M1");
        dialog->mfgEdit()->setText("Maker");
        dialog->serialEdit()->setText("SN-42");
    });
    EXPECT_EQ(rows("select DESC, MODEL, MFG, SERIAL_NO, SERIVICE_DATE from METER"),
              Rows{"Primary Meter|M1|Maker|SN-42|"});
}

TEST_F(SettingsDialogsTest, ProtocolsKeep256CharactersAndOneProtocolAlwaysRemains) {
    addProtocol("20070101");
    ProtocolsDlg page(*context, question);
    EXPECT_FALSE(page.removeButton()->isEnabled());
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
}

TEST_F(SettingsDialogsTest, BasalRatesRefuseATimeInUseAndKeepAnUntouchedOne) {
    changePreference([](Preference& p) { p.setMilitaryTimeBol(false); });
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
}
