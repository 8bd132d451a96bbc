#include "settings/PreferenceRules.h"
#include "storage/Conversions.h"

#include <QStringList>
#include <gtest/gtest.h>

TEST(GlucoseFieldCheck, WholeNumbersInMilligramsOneDecimalShownInMillimoles) {
    const struct {
        const char* text;
        int unit;
        const char* shown; // nullptr: refused
    } cases[] = {{"120", kGlucoseUnitMgDl, "120"},    {"12a", kGlucoseUnitMgDl, nullptr},
                 {"12.0", kGlucoseUnitMgDl, nullptr}, {"-5", kGlucoseUnitMgDl, nullptr},
                 {"", kGlucoseUnitMgDl, ""},          {"4", kGlucoseUnitMmol, "4.0"},
                 {"6.5", kGlucoseUnitMmol, "6.5"},    {"6.", kGlucoseUnitMmol, "6."},
                 {"6.55", kGlucoseUnitMmol, nullptr}, {"6,5", kGlucoseUnitMmol, nullptr},
                 {"", kGlucoseUnitMmol, ""}};
    for (const auto& c : cases) {
        const std::optional<QString> shown = checkedGlucoseText(c.text, c.unit);
        EXPECT_EQ(shown.value_or("<refused>"), c.shown ? c.shown : "<refused>") << c.text;
    }
}

TEST(Retention, AcceptsSevenToNineThousandNineHundredNinetyNineDays) {
    EXPECT_EQ(retentionDays("7"), 7);
    EXPECT_EQ(retentionDays(" 9999"), 9999);
    for (const char* refused : {"6", "0", "10000", "", "12x", "99999999999", "-30", "3 0"})
        EXPECT_FALSE(retentionDays(refused)) << refused;
}

TEST(StoredDates, AreReadFromTheirPlacesAndWrittenWithEightDigits) {
    EXPECT_EQ(dateOfText("19991231"), QDate(1999, 12, 31));
    EXPECT_EQ(dateOfText("20260314093000"), QDate(2026, 3, 14)); // a timestamp's date
    for (const char* text : {"", "2026031", "20260230", "20261301", "2026-3-1", "abcd0101"})
        EXPECT_FALSE(dateOfText(text)) << text;
    EXPECT_EQ(dateTextOf(QDate(987, 11, 30)), "09871130");
}

TEST(StoredTimes, AreReadAsHourAndMinuteAndKeptUntilAnotherTimeIsPicked) {
    const struct {
        const char* stored;
        const char* format;
        QTime picked;
        const char* kept;
    } cases[] = {{"0230", kSlotTimeFormat, QTime(2, 30), "0230"},    // kept on any day, DST or not
                 {"0230", kSlotTimeFormat, QTime(3, 30), "0330"},    // picked
                 {"2575", kSlotTimeFormat, QTime(0, 0), "0000"},     // names no time: the picker's
                 {"02:30", kBasalTimeFormat, QTime(2, 30), "02:30"}, //
                 {"", kBasalTimeFormat, QTime(0, 0), "00:00"}, // a new rate takes what is shown
                 {"06:00", kBasalTimeFormat, QTime(13, 5), "13:05"}};
    for (const auto& c : cases) {
        PickedTime time(c.stored, c.format);
        EXPECT_EQ(time.text(), c.stored);
        time.pick(c.picked);
        EXPECT_EQ(time.text(), c.kept) << c.stored;
    }
    EXPECT_EQ(PickedTime("0230", kSlotTimeFormat).shown(), QTime(2, 30));
    EXPECT_FALSE(PickedTime("2575", kSlotTimeFormat).shown());
}

// One field of the stored defaults changed at a time: a bad text is refused naming its limit.
TEST(RangeCheck, RefusesEmptyImplausibleAndContradictoryLimitsNamingThem) {
    const RangeTexts defaults = {"80", "150", "65", "220", "119", "120", "140", "79", "80", "90"};
    const QString mgDl = " must be a whole number between 1 and 999 mg/dL.";
    const QString systolic =
        "The systolic normal limit must be a whole number between 60 and 300 mmHg.";
    const struct {
        RangeField field;
        const char* text;
        QString refusal;
    } cases[] = {
        {RangeField::Low, "200",
         "The low glucose limit (200) must not be above the high glucose limit (150)."},
        {RangeField::Low, "", "The low glucose limit" + mgDl},
        {RangeField::High, "99999", "The high glucose limit" + mgDl},
        {RangeField::ExtremeLow, "90",
         "The extreme low glucose limit (90) must not be above the low glucose limit (80)."},
        {RangeField::SystolicNormal, "5", systolic},
        {RangeField::SystolicNormal, "999999999", systolic},
        {RangeField::SystolicModerate, "119",
         "The systolic moderate limit (119) must be above the systolic normal limit (119)."}};
    for (const auto& c : cases) {
        RangeTexts texts = defaults;
        texts[static_cast<size_t>(c.field)] = c.text;
        const auto refusal = rangeRefusal(texts, kGlucoseUnitMgDl);
        ASSERT_TRUE(refusal) << c.text;
        EXPECT_EQ(std::pair(refusal->text, refusal->field), std::pair(c.refusal, c.field));
    }
    const RangeTexts mmol = {"4.0", "55.6", "3.2", "66.7", "119", "120", "140", "79", "80", "90"};
    EXPECT_EQ(rangeRefusal(mmol, kGlucoseUnitMmol).value().text,
              "The high glucose limit must lie between 0.1 and 55.5 mmol/L.");
}

TEST(PatientDates, NoneInTheFutureAndNoDiagnosisBeforeBirth) {
    const QDate today(2026, 12, 6);
    EXPECT_FALSE(patientDatesRefusal("", "19991399", today)); // never picked: not judged
    EXPECT_EQ(patientDatesRefusal("20261207", "19800101", today)->text,
              "The birth date cannot lie in the future.");
    EXPECT_EQ(patientDatesRefusal("19800101", "19791231", today)->text,
              "The diagnosis (Dx) date cannot lie before the birth date.");
}
