#include "settings/widgets/PreferenceDlg.h"
#include "SettingsTest.h"
#include "logbook/GlucoseClass.h"
#include "settings/widgets/GlucoseRangeDlg.h"
#include "settings/widgets/MedicationsDlg.h"
#include "settings/widgets/PatientDlg.h"
#include "settings/widgets/PatientNotesPage.h"
#include "settings/widgets/PrefMiscDlg.h"
#include "settings/widgets/StoredDateEdit.h"
#include "support/ScriptedDeleteQuestion.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>

namespace {

constexpr const char* kInvalidGlucose = "Invalid Glucose Amount";

// The sheet on screen, so that the focus can be checked where a refusal puts it.
class PreferenceDlgTest : public SettingsTest {
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
    std::string stored(const char* columns) {
        return rows(("select " + std::string(columns) + " from PREFERENCE").c_str()).at(0);
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

TEST_F(PreferenceDlgTest, OkStoresWhatEveryPageHoldsAndKeepsUntouchedDates) {
    PreferenceDlg& shown = open();
    PatientDlg& patient = *shown.patientPage();
    EXPECT_EQ(
        texts({patient.nameEdit(), patient.doctorEdit(), patient.phoneEdit(), patient.faxEdit()}),
        (QStringList{"Ann", "Dr.", "555-0100", "555-0199"}));
    EXPECT_EQ(patient.databaseLabel()->text(), db->path());
    EXPECT_EQ(patient.birthDateEdit()->text().trimmed(), ""); // unreadable shows blank
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
    shown.okButton()->click();
    EXPECT_EQ(shown.result(), QDialog::Accepted);
    EXPECT_EQ(stored("PATIENT_NAME, DOCTOR_PHONE, DOCTOR_FAX, BIRTH_DATE, DX_DATE, "
                     "GLUCOSE_EXT_LO, GLUCOSE_LO, GLUCOSE_HI, BP_SYSTOLIC_MODERATE, "
                     "MILITARY_TIME_BOL, ASK_DELETE_BOL, RETAIN_PC_DAY_CNT, DELIVERY_CODE"),
              "Ann|555-0100|555-0142|19801399|20030704|56|70|150|135|F|T|60|2");
}

TEST_F(PreferenceDlgTest, DontAskAgainGivenInsideTheSheetSurvivesOk) {
    addMedication("Humalog", "H");
    PreferenceDlg& shown = open();
    MedicationsDlg& medications = showPage(shown.medicationsPage());
    medications.list()->setCurrentItem(medications.list()->topLevelItem(0));
    question.answers.push_back({false, false}); // "No", with "Always ask?" cleared
    medications.removeButton()->click();
    EXPECT_FALSE(showPage(shown.miscPage()).askDeleteBox()->isChecked());
    shown.okButton()->click();
    EXPECT_EQ(stored("ASK_DELETE_BOL"), "F");
}

TEST_F(PreferenceDlgTest, AFailedRenameKeepsTheSheetOpen) {
    context->renameSucceeds = false;
    PreferenceDlg& shown = open();
    shown.patientPage()->nameEdit()->setText("Berta");
    prompts.expect(kProgramCaption, "The patient's settings could not be moved to the name "
                                    "Berta. Nothing was changed.");
    shown.okButton()->click();
    EXPECT_TRUE(shown.isVisible());
    EXPECT_EQ(stored("PATIENT_NAME"), "Ann");
}

TEST_F(PreferenceDlgTest, ABlankOrTakenNameIsRefusedAndALongOneKeptWhole) {
    context->otherPatients << "Bob";
    PatientDlg& page = *open().patientPage();
    for (const char* name : {"", "Bob"}) {
        page.doctorEdit()->setFocus();
        page.nameEdit()->setText(name);
        prompts.expect(kProgramCaption, *name ? "A patient named Bob already exists."
                                              : "Please enter the patient's name.");
        EXPECT_FALSE(page.validate());
        EXPECT_EQ(page.focusWidget(), page.nameEdit());
    }
    // Names up to 35 characters come from the new-patient dialog; only typing is held to 15.
    changePreference([](Preference& p) { p.setPatientName("Annemarie Berg-Lindqvist"); });
    EXPECT_EQ(PatientDlg(*context).nameEdit()->text(), "Annemarie Berg-Lindqvist");
}

TEST_F(PreferenceDlgTest, ALimitLeftDerivesItsExtremeAndAnInvalidOneIsRefused) {
    GlucoseRangeDlg& page = showPage(open().rangesPage());
    EXPECT_EQ(texts({page.extLowEdit(), page.lowEdit(), page.highEdit(), page.extHighEdit()}),
              (QStringList{"65", "80", "150", "220"}));
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
}

TEST_F(PreferenceDlgTest, MillimoleLimitsShowOneDecimal) {
    changePreference([](Preference& p) {
        p.setGlucoseSampleCode(kGlucoseUnitMmol);
        p.setGlucoseHi(83);
    });
    context->reload();
    GlucoseRangeDlg page(*context);
    page.lowEdit()->setText("4");
    EXPECT_TRUE(page.lowLeft());
    EXPECT_EQ(texts({page.extLowEdit(), page.lowEdit(), page.highEdit()}),
              (QStringList{"3.2", "4.0", "8.3"}));
}

TEST_F(PreferenceDlgTest, TheColourKeyStandsBeforeItsTitles) {
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

TEST_F(PreferenceDlgTest, RetentionOutOfRangeIsRefusedAndAnUnknownDeliveryKept) {
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

TEST_F(PreferenceDlgTest, NotesComeFromTheSavedOnesAndKeepTheLinesAsShown) {
    context->values["PatientNotes"] = QString(250, u'a') + QStringLiteral("bcdefghij");
    EXPECT_EQ(PatientNotesPage(*context, QString()).notes(), QString(250, u'a') + "bcdef");

    PatientNotesPage page(*context, QStringLiteral("Short\r\nlines"));
    page.edit()->setPlainText(QString(1100, u'n'));
    EXPECT_EQ(page.edit()->toPlainText().size(), 1024);
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
