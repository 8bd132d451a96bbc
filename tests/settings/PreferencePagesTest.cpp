#include "SettingsTest.h"
#include "logbook/GlucoseClass.h"
#include "settings/widgets/GlucoseRangeDlg.h"
#include "settings/widgets/PatientDlg.h"
#include "settings/widgets/PatientNotesPage.h"
#include "settings/widgets/PrefMiscDlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <functional>

namespace {

constexpr const char* kCaption = "Quillmarch";
constexpr const char* kInvalidGlucose = "Invalid Glucose Amount";

// The pages on screen, so that the focus can be checked where a refusal puts it.
class PreferencePages : public SettingsTest {
protected:
    template <class Page> std::unique_ptr<Page> shown(std::unique_ptr<Page> page) {
        page->show();
        page->activateWindow();
        QApplication::processEvents();
        return page;
    }
    template <class Page> std::unique_ptr<Page> open() {
        return shown(std::make_unique<Page>(*context));
    }
    void useMillimoles() {
        changePreference([](Preference& p) {
            p.setGlucoseSampleCode(kGlucoseUnitMmol);
            p.setGlucoseExtLo(35);
            p.setGlucoseLo(44);
            p.setGlucoseHi(83);
            p.setGlucoseExtHi(122);
        });
        context->reload();
    }
};

int changesOf(PropertyPage& page, const std::function<void()>& act) {
    int count = 0;
    QObject counting; // ends the counting when this returns
    QObject::connect(&page, &PropertyPage::changed, &counting, [&count] { ++count; });
    act();
    return count;
}

} // namespace

// ---- Patient -----------------------------------------------------------------------------

TEST_F(PreferencePages, PatientPageShowsTheStoredRowAndTheDatabase) {
    changePreference([](Preference& p) {
        p.setPatientName("Ann");
        p.setDoctorName("Dr. Lee");
        p.setDoctorPhone("555-0100");
        p.setBirthDate("19800215");
        p.setDxDate("");
    });
    auto page = open<PatientDlg>();
    EXPECT_EQ(PatientDlg::kTitle, QString("Patient"));
    EXPECT_EQ(page->nameEdit()->text(), "Ann");
    EXPECT_EQ(page->doctorEdit()->text(), "Dr. Lee");
    EXPECT_EQ(page->phoneEdit()->text(), "555-0100");
    EXPECT_EQ(page->faxEdit()->text(), "(###)###-####");
    EXPECT_EQ(page->birthDateEdit()->date(), QDate(1980, 2, 15));
    EXPECT_TRUE(page->birthDateEdit()->calendarPopup());
    EXPECT_EQ(page->dxDateEdit()->text().trimmed(), ""); // an empty date shows blank
    EXPECT_EQ(page->databaseLabel()->text(), db->path());
    EXPECT_EQ(page->nameEdit()->maxLength(), 15);
    EXPECT_EQ(page->doctorEdit()->maxLength(), 35);
    EXPECT_EQ(page->phoneEdit()->maxLength(), 15);
    EXPECT_EQ(page->faxEdit()->maxLength(), 15);
}

TEST_F(PreferencePages, ALongerNameFromThePatientsCreationIsKeptWhole) {
    // Names up to 35 characters come from the new-patient dialog; only typing is held to 15.
    changePreference([](Preference& p) { p.setPatientName("Annemarie Berg-Lindqvist"); });
    auto page = open<PatientDlg>();
    ASSERT_TRUE(page->apply());
    EXPECT_EQ(page->fields().patientName, "Annemarie Berg-Lindqvist");
}

TEST_F(PreferencePages, UntouchedDatesKeepTheirStoredTextEvenWhenUnreadable) {
    changePreference([](Preference& p) {
        p.setPatientName("Ann");
        p.setBirthDate("19801399");
        p.setDxDate("");
    });
    auto page = open<PatientDlg>();
    page->nameEdit()->setText("Anna");
    ASSERT_TRUE(page->apply());
    EXPECT_EQ(page->fields().patientName, "Anna");
    EXPECT_EQ(page->fields().birthDate, "19801399");
    EXPECT_EQ(page->fields().dxDate, "");
    EXPECT_EQ(page->fields().doctorName, "Dr.");
}

TEST_F(PreferencePages, APickedDateIsWrittenAsEightDigits) {
    changePreference([](Preference& p) {
        p.setBirthDate("19800215");
        p.setDxDate("");
    });
    auto page = open<PatientDlg>();
    const int changes = changesOf(*page, [&] { page->dxDateEdit()->setDate(QDate(2003, 7, 4)); });
    EXPECT_EQ(changes, 1);
    // Nothing is taken before the page applies.
    EXPECT_EQ(page->fields().dxDate, "");
    ASSERT_TRUE(page->apply());
    EXPECT_EQ(page->fields().dxDate, "20030704");
    EXPECT_EQ(page->fields().birthDate, "19800215");
}

TEST_F(PreferencePages, WithoutAStoredRowThePatientPageIsEmpty) {
    ASSERT_TRUE(db->exec("delete from PREFERENCE"));
    auto page = open<PatientDlg>();
    EXPECT_EQ(page->nameEdit()->text(), "");
    EXPECT_EQ(page->doctorEdit()->text(), "");
    ASSERT_TRUE(page->apply());
    EXPECT_EQ(page->fields().birthDate, "");
    EXPECT_EQ(page->fields().dxDate, "");
}

TEST_F(PreferencePages, ABlankOrTakenNameIsRefusedAndKeepsTheFocus) {
    changePreference([](Preference& p) { p.setPatientName("Ann"); });
    context->otherPatients << "Bob";
    auto page = open<PatientDlg>();
    page->doctorEdit()->setFocus();

    page->nameEdit()->setText("");
    prompts.expect(kCaption, "Please enter the patient's name.");
    EXPECT_FALSE(page->validate());
    EXPECT_EQ(page->focusWidget(), page->nameEdit());

    page->doctorEdit()->setFocus();
    page->nameEdit()->setText("Bob");
    prompts.expect(kCaption, "A patient named Bob already exists.");
    EXPECT_FALSE(page->validate());
    EXPECT_EQ(page->focusWidget(), page->nameEdit());

    page->nameEdit()->setText("Ann");
    EXPECT_TRUE(page->validate());
    EXPECT_EQ(prompts.count(), 2);
}

// ---- Ranges ------------------------------------------------------------------------------

TEST_F(PreferencePages, RangesShowTheStoredLimitsInTheCurrentUnit) {
    auto page = open<GlucoseRangeDlg>();
    EXPECT_EQ(GlucoseRangeDlg::kTitle, QString("Ranges"));
    EXPECT_EQ(page->extLowEdit()->text(), "65");
    EXPECT_EQ(page->lowEdit()->text(), "80");
    EXPECT_EQ(page->highEdit()->text(), "150");
    EXPECT_EQ(page->extHighEdit()->text(), "220");
    EXPECT_TRUE(page->extLowEdit()->isReadOnly());
    EXPECT_TRUE(page->extHighEdit()->isReadOnly());
    EXPECT_FALSE(page->lowEdit()->isReadOnly());
    EXPECT_EQ(page->lowEdit()->maxLength(), 5);
    EXPECT_EQ(page->systolicEdit(0)->text(), "119");
    EXPECT_EQ(page->systolicEdit(1)->text(), "120");
    EXPECT_EQ(page->systolicEdit(2)->text(), "140");
    EXPECT_EQ(page->diastolicEdit(0)->text(), "79");
    EXPECT_EQ(page->diastolicEdit(1)->text(), "80");
    EXPECT_EQ(page->diastolicEdit(2)->text(), "90");

    useMillimoles();
    auto mmol = open<GlucoseRangeDlg>();
    EXPECT_EQ(mmol->extLowEdit()->text(), "3.5");
    EXPECT_EQ(mmol->lowEdit()->text(), "4.4");
    EXPECT_EQ(mmol->highEdit()->text(), "8.3");
    EXPECT_EQ(mmol->extHighEdit()->text(), "12.2");
}

TEST_F(PreferencePages, LeavingTheLimitsDerivesTheExtremes) {
    auto page = open<GlucoseRangeDlg>();
    page->lowEdit()->setText("70");
    EXPECT_TRUE(page->lowLeft());
    EXPECT_EQ(page->extLowEdit()->text(), "56");
    page->highEdit()->setText("180");
    EXPECT_TRUE(page->highLeft());
    EXPECT_EQ(page->extHighEdit()->text(), "216");
    // Finishing the edit is leaving the field.
    page->lowEdit()->setText("72");
    emit page->lowEdit()->editingFinished();
    QApplication::processEvents();
    EXPECT_EQ(page->extLowEdit()->text(), "58");
    page->highEdit()->setText("151");
    emit page->highEdit()->editingFinished();
    QApplication::processEvents();
    EXPECT_EQ(page->extHighEdit()->text(), "181");
    // Each limit moves only its own extreme.
    EXPECT_EQ(page->extLowEdit()->text(), "58");

    ASSERT_TRUE(page->apply());
    const RangeFields fields = page->fields();
    EXPECT_EQ(fields.glucoseExtLo, "58");
    EXPECT_EQ(fields.glucoseLo, "72");
    EXPECT_EQ(fields.glucoseHi, "151");
    EXPECT_EQ(fields.glucoseExtHi, "181");
}

TEST_F(PreferencePages, OkStraightFromAnEditedLimitStillDerivesItsExtreme) {
    auto page = open<GlucoseRangeDlg>();
    // Stored extremes that do not follow the rule stay while their limit is untouched.
    const QString storedExtHigh = page->extHighEdit()->text();
    page->lowEdit()->setText("72");
    emit page->lowEdit()->textEdited("72"); // typed, and OK pressed before the focus moved
    ASSERT_TRUE(page->validate());
    ASSERT_TRUE(page->apply());
    EXPECT_EQ(page->fields().glucoseExtLo, "58");
    EXPECT_EQ(page->fields().glucoseExtHi, storedExtHigh);
}

TEST_F(PreferencePages, AWholeMillimoleLimitGetsItsDecimal) {
    useMillimoles();
    auto page = open<GlucoseRangeDlg>();
    page->lowEdit()->setText("4");
    EXPECT_TRUE(page->lowLeft());
    EXPECT_EQ(page->lowEdit()->text(), "4.0");
    EXPECT_EQ(page->extLowEdit()->text(), "3.2");
    page->highEdit()->setText("10");
    EXPECT_TRUE(page->highLeft());
    EXPECT_EQ(page->highEdit()->text(), "10.0");
    EXPECT_EQ(page->extHighEdit()->text(), "12.0");
}

TEST_F(PreferencePages, AnInvalidGlucoseIsRefusedAndKeepsTheFocus) {
    auto page = open<GlucoseRangeDlg>();
    page->highEdit()->setFocus();
    page->lowEdit()->setText("12a");
    prompts.expect(kCaption, kInvalidGlucose);
    EXPECT_FALSE(page->lowLeft());
    EXPECT_EQ(page->focusWidget(), page->lowEdit());
    EXPECT_EQ(page->extLowEdit()->text(), "65");
    prompts.verify();

    // Moving on from a refused text is leaving the field again: refused again.
    page->lowEdit()->setText("12.0");
    prompts.expect(kCaption, kInvalidGlucose);
    page->highEdit()->setFocus();
    QApplication::processEvents();
    prompts.verify();
    EXPECT_EQ(page->focusWidget(), page->lowEdit());
    EXPECT_EQ(page->extLowEdit()->text(), "65");

    page->lowEdit()->setText("100");
    page->highEdit()->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(page->extLowEdit()->text(), "80");
    EXPECT_EQ(prompts.count(), 2);
}

TEST_F(PreferencePages, TwoDecimalsAreRefusedInMillimoles) {
    useMillimoles();
    auto page = open<GlucoseRangeDlg>();
    page->lowEdit()->setFocus();
    page->highEdit()->setText("6.55");
    prompts.expect(kCaption, kInvalidGlucose);
    EXPECT_FALSE(page->highLeft());
    EXPECT_EQ(page->focusWidget(), page->highEdit());
    EXPECT_EQ(page->highEdit()->text(), "6.55");
    EXPECT_EQ(page->extHighEdit()->text(), "12.2");
}

TEST_F(PreferencePages, LeavingTheRangesChecksLowThenHigh) {
    auto page = open<GlucoseRangeDlg>();
    page->lowEdit()->setText("70");
    page->highEdit()->setText("1x0");
    page->lowEdit()->setFocus();
    prompts.expect(kCaption, kInvalidGlucose);
    EXPECT_FALSE(page->validate());
    EXPECT_EQ(page->focusWidget(), page->highEdit());
    EXPECT_EQ(prompts.count(), 1);

    page->lowEdit()->setText("7.0");
    prompts.expect(kCaption, kInvalidGlucose);
    EXPECT_FALSE(page->validate());
    EXPECT_EQ(page->focusWidget(), page->lowEdit());

    page->lowEdit()->setText("70");
    page->highEdit()->setText("180");
    EXPECT_TRUE(page->validate());
    EXPECT_EQ(prompts.count(), 2);
}

TEST_F(PreferencePages, PressureThresholdsTakeDigitsOnly) {
    auto page = open<GlucoseRangeDlg>();
    QLineEdit* moderate = page->systolicEdit(1);
    moderate->setFocus();
    moderate->selectAll();
    const int changes = changesOf(*page, [&] {
        for (QChar c : QStringLiteral("1a3-5")) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(moderate, &press);
        }
    });
    EXPECT_EQ(moderate->text(), "135");
    EXPECT_EQ(changes, 3);
    page->diastolicEdit(2)->setText("95");
    ASSERT_TRUE(page->apply());
    EXPECT_EQ(page->fields().bpSystolicModerate, 135);
    EXPECT_EQ(page->fields().bpSystolicNormal, 119);
    EXPECT_EQ(page->fields().bpDiastolicHi, 95);
    EXPECT_EQ(page->fields().bpDiastolicModerate, 80);
}

TEST_F(PreferencePages, TheColourKeyStandsBeforeItsTitles) {
    auto page = open<GlucoseRangeDlg>();
    QStringList keys;
    for (ColourKeyBox* key : page->findChildren<ColourKeyBox*>()) {
        QLabel* title = key->parentWidget()->findChild<QLabel*>();
        ASSERT_TRUE(title);
        EXPECT_LT(key->x(), title->x());
        const QString colour = key->colour() == GlucoseColors::low()    ? "red"
                               : key->colour() == GlucoseColors::high() ? "blue"
                                                                        : "other";
        keys << title->text() + ": " + (key->solid() ? "solid " : "outline ") + colour;
    }
    keys.sort();
    EXPECT_EQ(keys, (QStringList{"Extreme High: solid blue", "Extreme Low: solid red",
                                 "High: outline blue", "High: solid blue", "Low: outline red",
                                 "Moderate: outline blue"}));
}

// ---- Miscellaneous -----------------------------------------------------------------------

TEST_F(PreferencePages, MiscellaneousShowsTheCurrentPreference) {
    changePreference([](Preference& p) {
        p.setMilitaryTimeBol(false);
        p.setAskDeleteBol(true);
        p.setRetainPcDayCnt(30);
        p.setGlucoseSampleCode(kGlucoseUnitMmol);
        p.setDeliveryCode(kDeliveryPump);
    });
    auto page = open<PrefMiscDlg>();
    EXPECT_EQ(PrefMiscDlg::kTitle, QString("Miscellaneous"));
    EXPECT_FALSE(page->militaryBox()->isChecked());
    EXPECT_TRUE(page->askDeleteBox()->isChecked());
    EXPECT_EQ(page->retentionEdit()->text(), "30");
    EXPECT_TRUE(page->mmolButton()->isChecked());
    EXPECT_FALSE(page->mgDlButton()->isChecked());
    QStringList choices;
    for (int i = 0; i < page->deliveryBox()->count(); ++i)
        choices << page->deliveryBox()->itemText(i);
    EXPECT_EQ(choices, (QStringList{"Injection", "Pump", "Oral"}));
    EXPECT_EQ(page->deliveryBox()->currentText(), "Pump");
}

TEST_F(PreferencePages, MiscellaneousTakesTheChangedValues) {
    auto page = open<PrefMiscDlg>();
    const int changes = changesOf(*page, [&] {
        page->militaryBox()->setChecked(false);
        page->askDeleteBox()->setChecked(false);
        page->mmolButton()->setChecked(true);
        page->deliveryBox()->setCurrentIndex(2);
        emit page->deliveryBox()->activated(2);
    });
    EXPECT_EQ(changes, 4);
    page->retentionEdit()->setText("60");
    // The page keeps what it read until it applies.
    EXPECT_TRUE(page->fields().militaryTime);
    ASSERT_TRUE(page->validate());
    ASSERT_TRUE(page->apply());
    const MiscFields fields = page->fields();
    EXPECT_FALSE(fields.militaryTime);
    EXPECT_FALSE(fields.askDelete);
    EXPECT_EQ(fields.retainDays, 60);
    EXPECT_EQ(fields.glucoseUnit, kGlucoseUnitMmol);
    EXPECT_EQ(fields.deliveryCode, kDeliveryOral);
}

TEST_F(PreferencePages, AnUnknownDeliveryStaysUntilOneIsChosen) {
    changePreference([](Preference& p) { p.setDeliveryCode(7); });
    auto page = open<PrefMiscDlg>();
    EXPECT_EQ(page->deliveryBox()->currentText(), "Injection");
    ASSERT_TRUE(page->apply());
    EXPECT_EQ(page->fields().deliveryCode, 7);
    page->deliveryBox()->setCurrentIndex(1);
    emit page->deliveryBox()->activated(1);
    ASSERT_TRUE(page->apply());
    EXPECT_EQ(page->fields().deliveryCode, kDeliveryPump);
}

TEST_F(PreferencePages, RetentionOutsideItsRangeIsRefused) {
    auto page = open<PrefMiscDlg>();
    for (const char* refused : {"6", "10000", ""}) {
        page->militaryBox()->setFocus();
        page->retentionEdit()->setText(refused);
        prompts.expect(kCaption, "Please enter an integer between 7 and 9999.");
        EXPECT_FALSE(page->validate()) << refused;
        EXPECT_EQ(page->focusWidget(), page->retentionEdit()) << refused;
    }
    for (const char* accepted : {"7", "9999"}) {
        page->retentionEdit()->setText(accepted);
        EXPECT_TRUE(page->validate()) << accepted;
    }
    EXPECT_EQ(prompts.count(), 3);
}

// ---- Patient notes -----------------------------------------------------------------------

TEST_F(PreferencePages, EmptyNotesAreFilledFromThePatientsSavedNotes) {
    context->values["PatientNotes"] = QString(250, u'a') + QStringLiteral("bcdefghij");
    auto page = shown(std::make_unique<PatientNotesPage>(*context, QString()));
    EXPECT_EQ(PatientNotesPage::kTitle, QString("Patient Notes"));
    const QString expected = QString(250, u'a') + QStringLiteral("bcdef");
    EXPECT_EQ(page->edit()->toPlainText(), expected);
    EXPECT_EQ(page->notes(), expected);

    auto given = shown(std::make_unique<PatientNotesPage>(*context, QStringLiteral("See me")));
    EXPECT_EQ(given->edit()->toPlainText(), "See me");
}

TEST_F(PreferencePages, NotesHoldAtMostTheirLimit) {
    auto page = shown(std::make_unique<PatientNotesPage>(*context, QStringLiteral("x")));
    page->edit()->setPlainText(QString(1100, u'n'));
    EXPECT_EQ(page->edit()->toPlainText().size(), 1024);
}

TEST_F(PreferencePages, NotesKeepTheLinesAsShown) {
    auto page = std::make_unique<PatientNotesPage>(*context, QStringLiteral("Short\r\nlines"));
    page->resize(600, 300);
    page = shown(std::move(page));
    ASSERT_TRUE(page->apply());
    EXPECT_EQ(page->notes(), "Short\r\nlines");

    const QString paragraph = QStringLiteral(
        "Insulin needs rose after the move to night shifts and the new pump settings in May");
    page->edit()->setPlainText(paragraph + QStringLiteral("\nEnd"));
    page->resize(160, 300);
    QApplication::processEvents();
    ASSERT_TRUE(page->apply());
    const QStringList lines = page->notes().split(QStringLiteral("\r\n"));
    ASSERT_GT(lines.size(), 3);
    EXPECT_EQ(lines.last(), "End");
    // Only breaks were added: the lines put together give the text back.
    EXPECT_EQ(lines.mid(0, lines.size() - 1).join(QString()), paragraph);
    const QFontMetrics metrics(page->edit()->font());
    for (const QString& line : lines)
        EXPECT_LE(metrics.horizontalAdvance(line.trimmed()), page->edit()->viewport()->width())
            << line.toStdString();
}
