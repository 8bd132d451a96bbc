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

QStringList texts(std::initializer_list<QLineEdit*> edits) {
    QStringList shown;
    for (const QLineEdit* edit : edits)
        shown << edit->text();
    return shown;
}

QStringList limitsShown(GlucoseRangeDlg& page) {
    return texts({page.extLowEdit(), page.lowEdit(), page.highEdit(), page.extHighEdit()});
}

int changesOf(PropertyPage& page, const std::function<void()>& act) {
    int count = 0;
    QObject counting; // ends the counting when this returns
    QObject::connect(&page, &PropertyPage::changed, &counting, [&count] { ++count; });
    act();
    return count;
}

} // namespace

TEST_F(PreferencePages, PatientPageShowsTheStoredRowAndTheDatabase) {
    changePreference([](Preference& p) {
        p.setPatientName("Ann");
        p.setDoctorName("Dr. Lee");
        p.setDoctorPhone("555-0100");
        p.setBirthDate("19800215");
        p.setDxDate("");
    });
    auto page = open<PatientDlg>();
    const auto edits = {page->nameEdit(), page->doctorEdit(), page->phoneEdit(), page->faxEdit()};
    EXPECT_EQ(texts(edits), (QStringList{"Ann", "Dr. Lee", "555-0100", "(###)###-####"}));
    std::vector<int> maxLengths;
    for (const QLineEdit* edit : edits)
        maxLengths.push_back(edit->maxLength());
    EXPECT_EQ(maxLengths, (std::vector<int>{15, 35, 15, 15}));
    EXPECT_EQ(page->birthDateEdit()->date(), QDate(1980, 2, 15));
    EXPECT_TRUE(page->birthDateEdit()->calendarPopup());
    EXPECT_EQ(page->dxDateEdit()->text().trimmed(), ""); // an empty date shows blank
    EXPECT_EQ(page->databaseLabel()->text(), db->path());
}

TEST_F(PreferencePages, ALongerNameFromThePatientsCreationIsKeptWhole) {
    // Names up to 35 characters come from the new-patient dialog; only typing is held to 15.
    changePreference([](Preference& p) { p.setPatientName("Annemarie Berg-Lindqvist"); });
    auto page = open<PatientDlg>();
    ASSERT_TRUE(page->apply());
    EXPECT_EQ(page->fields().patientName, "Annemarie Berg-Lindqvist");
}

TEST_F(PreferencePages, UntouchedDatesKeepTheirStoredTextAndAPickedOneIsWrittenAsEightDigits) {
    changePreference([](Preference& p) {
        p.setPatientName("Ann");
        p.setBirthDate("19801399"); // unreadable
        p.setDxDate("");
    });
    auto page = open<PatientDlg>();
    page->nameEdit()->setText("Anna");
    const int changes = changesOf(*page, [&] { page->dxDateEdit()->setDate(QDate(2003, 7, 4)); });
    EXPECT_EQ(changes, 1);
    // Nothing is taken before the page applies.
    EXPECT_EQ(page->fields().dxDate, "");
    ASSERT_TRUE(page->apply());
    const PatientFields fields = page->fields();
    EXPECT_EQ(QStringList({fields.patientName, fields.doctorName, fields.birthDate, fields.dxDate}),
              (QStringList{"Anna", "Dr.", "19801399", "20030704"}));
}

TEST_F(PreferencePages, WithoutAStoredRowThePatientPageIsEmpty) {
    ASSERT_TRUE(db->exec("delete from PREFERENCE"));
    auto page = open<PatientDlg>();
    EXPECT_EQ(texts({page->nameEdit(), page->doctorEdit()}), (QStringList{"", ""}));
    ASSERT_TRUE(page->apply());
    EXPECT_EQ(page->fields().birthDate + page->fields().dxDate, "");
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

TEST_F(PreferencePages, RangesShowTheStoredLimitsInTheCurrentUnit) {
    auto page = open<GlucoseRangeDlg>();
    EXPECT_EQ(limitsShown(*page), (QStringList{"65", "80", "150", "220"}));
    EXPECT_TRUE(page->extLowEdit()->isReadOnly());
    EXPECT_TRUE(page->extHighEdit()->isReadOnly());
    EXPECT_FALSE(page->lowEdit()->isReadOnly());
    EXPECT_EQ(page->lowEdit()->maxLength(), 5);
    EXPECT_EQ(texts({page->systolicEdit(0), page->systolicEdit(1), page->systolicEdit(2),
                     page->diastolicEdit(0), page->diastolicEdit(1), page->diastolicEdit(2)}),
              (QStringList{"119", "120", "140", "79", "80", "90"}));

    useMillimoles();
    EXPECT_EQ(limitsShown(*open<GlucoseRangeDlg>()), (QStringList{"3.5", "4.4", "8.3", "12.2"}));
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
    EXPECT_EQ(page->extLowEdit()->text(), "58"); // each limit moves only its own extreme

    ASSERT_TRUE(page->apply());
    const RangeFields f = page->fields();
    EXPECT_EQ(QStringList({f.glucoseExtLo, f.glucoseLo, f.glucoseHi, f.glucoseExtHi}),
              (QStringList{"58", "72", "151", "181"}));
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
    page->highEdit()->setText("10");
    EXPECT_TRUE(page->highLeft());
    EXPECT_EQ(limitsShown(*page), (QStringList{"3.2", "4.0", "10.0", "12.0"}));
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
    const RangeFields f = page->fields();
    EXPECT_EQ((std::vector{f.bpSystolicNormal, f.bpSystolicModerate, f.bpDiastolicModerate,
                           f.bpDiastolicHi}),
              (std::vector{119, 135, 80, 95}));
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

TEST_F(PreferencePages, MiscellaneousShowsTheCurrentPreference) {
    changePreference([](Preference& p) {
        p.setMilitaryTimeBol(false);
        p.setAskDeleteBol(true);
        p.setRetainPcDayCnt(30);
        p.setGlucoseSampleCode(kGlucoseUnitMmol);
        p.setDeliveryCode(kDeliveryPump);
    });
    auto page = open<PrefMiscDlg>();
    EXPECT_EQ((std::vector{page->militaryBox()->isChecked(), page->askDeleteBox()->isChecked(),
                           page->mmolButton()->isChecked(), page->mgDlButton()->isChecked()}),
              (std::vector{false, true, true, false}));
    EXPECT_EQ(page->retentionEdit()->text(), "30");
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
    const MiscFields f = page->fields();
    EXPECT_EQ((std::vector{int(f.militaryTime), int(f.askDelete), f.retainDays, f.glucoseUnit,
                           f.deliveryCode}),
              (std::vector{0, 0, 60, kGlucoseUnitMmol, kDeliveryOral}));
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

TEST_F(PreferencePages, EmptyNotesAreFilledFromThePatientsSavedNotes) {
    context->values["PatientNotes"] = QString(250, u'a') + QStringLiteral("bcdefghij");
    auto page = shown(std::make_unique<PatientNotesPage>(*context, QString()));
    const QString expected = QString(250, u'a') + QStringLiteral("bcdef");
    EXPECT_EQ(page->edit()->toPlainText(), expected);
    EXPECT_EQ(page->notes(), expected);

    auto given = shown(std::make_unique<PatientNotesPage>(*context, QStringLiteral("See me")));
    EXPECT_EQ(given->edit()->toPlainText(), "See me");
    // The notes hold at most 1024 characters.
    given->edit()->setPlainText(QString(1100, u'n'));
    EXPECT_EQ(given->edit()->toPlainText().size(), 1024);
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
