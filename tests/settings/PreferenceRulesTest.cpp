#include "settings/PreferenceRules.h"
#include "storage/Conversions.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

QString accepted(const QString& text, int unit) {
    return checkedGlucoseText(text, unit).value_or(QStringLiteral("<refused>"));
}

} // namespace

TEST(ExtremeLimits, LieAFifthBeyondTheRangeTruncated) {
    EXPECT_EQ(extremeLowFor(70), 56);
    EXPECT_EQ(extremeLowFor(72), 58);    // 14.4 drops to 14
    EXPECT_EQ(extremeLowFor(4), 4);      // a fifth of 4 truncates to nothing
    EXPECT_EQ(extremeHighFor(151), 181); // 30.2 drops to 30
    EXPECT_EQ(extremeHighFor(0), 0);
    // Millimoles work on tenths.
    EXPECT_EQ(formatGlucose(extremeLowFor(parseGlucoseEntry("4.0")), kGlucoseUnitMmol), "3.2");
    EXPECT_EQ(formatGlucose(extremeHighFor(parseGlucoseEntry("8.3")), kGlucoseUnitMmol), "9.9");
}

TEST(GlucoseFieldCheck, MilligramUnitTakesWholeNumbersOnly) {
    EXPECT_EQ(accepted("120", kGlucoseUnitMgDl), "120");
    EXPECT_EQ(accepted("12a", kGlucoseUnitMgDl), "<refused>");
    EXPECT_EQ(accepted("12.0", kGlucoseUnitMgDl), "<refused>");
    EXPECT_EQ(accepted("-5", kGlucoseUnitMgDl), "<refused>");
    EXPECT_EQ(accepted("", kGlucoseUnitMgDl), "");
}

TEST(GlucoseFieldCheck, MillimoleUnitShowsOneDecimal) {
    EXPECT_EQ(accepted("4", kGlucoseUnitMmol), "4.0");
    EXPECT_EQ(accepted("12", kGlucoseUnitMmol), "12.0");
    EXPECT_EQ(accepted("6.5", kGlucoseUnitMmol), "6.5");
    EXPECT_EQ(accepted("6.", kGlucoseUnitMmol), "6.");
    EXPECT_EQ(accepted("6.55", kGlucoseUnitMmol), "<refused>");
    EXPECT_EQ(accepted("6,5", kGlucoseUnitMmol), "<refused>");
    // Nothing typed is left as nothing, not turned into a bare ".0".
    EXPECT_EQ(accepted("", kGlucoseUnitMmol), "");
}

TEST(Retention, AcceptsSevenToNineThousandNineHundredNinetyNineDays) {
    EXPECT_EQ(retentionDays("7"), 7);
    EXPECT_EQ(retentionDays("9999"), 9999);
    for (const char* refused : {"6", "0", "10000", "", "12x", "99999999999"})
        EXPECT_FALSE(retentionDays(refused)) << refused;
}

TEST(StoredDates, ReadYearMonthAndDayFromTheirPlacesAndRefuseEmptyShortOrImpossibleTexts) {
    EXPECT_EQ(dateOfText("19991231"), QDate(1999, 12, 31));
    // A timestamp starts with its date.
    EXPECT_EQ(dateOfText("20260314093000"), QDate(2026, 3, 14));
    for (const char* text : {"", "2026031", "20260230", "20261301", "2026-3-1", "abcd0101"})
        EXPECT_FALSE(dateOfText(text)) << text;
}

TEST(StoredDates, PickedDatesAreWrittenWithEightDigits) {
    EXPECT_EQ(dateTextOf(QDate(2026, 1, 5)), "20260105");
    EXPECT_EQ(dateTextOf(QDate(987, 11, 30)), "09871130");
}

TEST(StoredDates, AnUnpickedDateKeepsItsStoredText) {
    for (const char* stored : {"", "1980021", "19800215", "junk"}) {
        PickedDate date{QString::fromLatin1(stored)};
        EXPECT_EQ(date.text(), stored);
    }
    PickedDate empty{QString()};
    EXPECT_FALSE(empty.shown());
    empty.pick(QDate(1975, 6, 9));
    EXPECT_EQ(empty.text(), "19750609");
    EXPECT_EQ(empty.shown(), QDate(1975, 6, 9));
}

TEST(PatientName, MustBeGivenAndNotAnotherPatients) {
    const QStringList others{"Bob", "Carol"};
    auto other = [&](const QString& name) { return others.contains(name); };
    EXPECT_EQ(patientNameRefusal("", other), "Please enter the patient's name.");
    EXPECT_EQ(patientNameRefusal("   ", other), "Please enter the patient's name.");
    EXPECT_EQ(patientNameRefusal("Bob", other), "A patient named Bob already exists.");
    EXPECT_EQ(patientNameRefusal("Ann", other), "");
}
