#include "storage/PreferenceTable.h"
#include "support/QbScheduleRows.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using Rows = std::vector<std::string>;

namespace {

const std::string kDefaultValues = "28|168|T|T|119|140|120|79|80|90|0|1|80|65|150|220";
const std::string kDefaultRow = "1|0|10||Dr.|(###)###-####|(###)###-####|||" + kDefaultValues;
const GlucoseRange kOwnRange{65, 80, 150, 220};

class PreferenceRecord : public DatabaseTest {
protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        ASSERT_TRUE(PreferenceTable::createTable(*db));
        ASSERT_TRUE(QbPreferenceTable::createTable(*db));
        ASSERT_TRUE(QbTargetTable::createTable(*db));
    }
};

class PreferenceRange : public PreferenceRecord {};

} // namespace

TEST_F(PreferenceRecord, LoadCreatesTheDefaultRowOnceAndRereadsIt) {
    auto first = PreferenceTable::load(*db);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->getPk(), 1);
    EXPECT_EQ(rows("select * from PREFERENCE"), Rows{kDefaultRow});

    first->setPatientName("Anna");
    first->setGlucoseLo(44);
    ASSERT_TRUE(PreferenceTable::save(*db, *first));
    auto again = PreferenceTable::load(*db);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->getPatientName(), "Anna");
    EXPECT_EQ(again->getGlucoseLo(), 44);
    EXPECT_EQ(rows("select count(*) from PREFERENCE"), Rows{"1"});
}

TEST_F(PreferenceRecord, ClearOfTheBaseZeroesButClearOfAPreferenceRestoresDefaults) {
    PreferenceAbs bare;
    Preference preference;
    for (PreferenceAbs* record : {&bare, static_cast<PreferenceAbs*>(&preference)}) {
        for (const auto& col : PreferenceTraits::columns()) {
            if (col.kind == ColumnKind::Integer)
                (record->*col.setInt)(4);
            else if (col.kind == ColumnKind::Text)
                (record->*col.setText)("x");
            else
                (record->*col.setBool)(false);
        }
        record->clear();
        ASSERT_TRUE(PreferenceTable::save(*db, *record, 10));
    }
    EXPECT_EQ(preference.getSyncState(), 4);
    // The base keeps only its three set fields; keys survive the clear of a preference.
    EXPECT_EQ(
        rows("select * from PREFERENCE order by PK"),
        (Rows{"1|0|10|||||||0|0|T|T|0|0|0|0|0|0|0|0|0|0|0|0", "4|4" + kDefaultRow.substr(3)}));
}

TEST_F(PreferenceRecord, ToMgDlConvertsTenthsOfMmolTruncating) {
    Preference preference;
    EXPECT_EQ(preference.toMgDl(99), 99);
    preference.setGlucoseSampleCode(1);
    EXPECT_EQ(preference.toMgDl(55), 99);
    EXPECT_EQ(preference.toMgDl(56), 100);
    EXPECT_EQ(preference.toMgDl(-56), -100);
}

TEST_F(PreferenceRange, TargetsApplyFromTheirTimeAndTheLastRunsPastMidnight) {
    storeQbPreference(*db, "", 0, true);
    addQbTarget(*db, "22:00", 100, 200); // stored first: the order must come from the time
    addQbTarget(*db, "06:00", 80, 140);
    ASSERT_TRUE(QbTargetTable::removeByPk(*db, addQbTarget(*db, "12:00", 90, 150, 5)));

    Preference preference;
    ASSERT_EQ(preference.loadTargetPeriods(*db), 2);
    EXPECT_EQ(preference.targetPeriods()[0].time, "06:00");
    EXPECT_EQ(preference.targetPeriods()[1].time, "22:00");

    const GlucoseRange morning{64, 80, 140, 168};
    const GlucoseRange night{80, 100, 200, 240};
    // Clock times, full time stamps and four-digit times alike; no time at all still means
    // the record's own range.
    const std::pair<const char*, GlucoseRange> expected[] = {
        {"05:59", night},          {"06:00", morning},
        {"21:59", morning},        {"22:00", night},
        {"23:30", night},          {"20070315083000", morning},
        {"20070315053000", night}, {"0830", morning},
        {"2230", night},           {"", kOwnRange}};
    for (const auto& [time, range] : expected)
        EXPECT_EQ(preference.getGlucoseRange(time), range) << time;
}

TEST_F(PreferenceRange, TargetsAreIgnoredWhileTheCalculatorIsOff) {
    addQbTarget(*db, "06:00", 80, 140);
    Preference preference;
    EXPECT_EQ(preference.loadTargetPeriods(*db), 0); // no quick-bolus row at all

    storeQbPreference(*db, "", 0, true);
    ASSERT_EQ(preference.loadTargetPeriods(*db), 1);
    storeQbPreference(*db, "", 0, false);
    EXPECT_EQ(preference.loadTargetPeriods(*db), 0);
    for (const char* time : {"00:00", "07:00", "23:59", "20070315083000", ""})
        EXPECT_EQ(preference.getGlucoseRange(time), kOwnRange) << time;
}

TEST_F(PreferenceRange, AtMostTenTargetsAreHeldTheEarliestOnes) {
    storeQbPreference(*db, "", 0, true);
    for (int hour = 12; hour >= 1; --hour)
        addQbTarget(*db, QString::asprintf("%02d:00", hour).toUtf8().constData(), 70 + hour, 150);
    Preference preference;
    ASSERT_EQ(preference.loadTargetPeriods(*db), 10);
    EXPECT_EQ(preference.targetPeriods().front().time, "01:00");
    EXPECT_EQ(preference.targetPeriods().back().time, "10:00");
    EXPECT_EQ(preference.getGlucoseRange("23:00").lo, 80);
}
