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
    for (const char* refused : {"6", "0", "10000", "", "12x", "99999999999"})
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
