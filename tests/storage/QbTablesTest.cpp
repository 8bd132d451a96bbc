#include "storage/OldLayouts.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using Rows = std::vector<std::string>;

namespace {

// How a test row of each schedule table gets its time.
void setTime(QbRatio& r, const char* time) {
    r.setRatioTime(time);
}
void setTime(QbSensitivity& r, const char* time) {
    r.setSensTime(time);
}
void setTime(QbTarget& r, const char* time) {
    r.setTargetTime(time);
}

template <class Table> class QbSchedule : public DatabaseTest {
protected:
    using Record = typename Table::Record;

    void SetUp() override {
        DatabaseTest::SetUp();
        ASSERT_TRUE(Table::createTable(*db));
    }
    int add(const char* time, int fk = 0) {
        Record row;
        setTime(row, time);
        row.setFk(fk);
        EXPECT_TRUE(Table::save(*db, row));
        return row.getPk();
    }
    // The key of the row in force, or -1 for none.
    int inForceAt(const char* time) {
        auto row = Table::findInForce(*db, time);
        return row ? row->getPk() : -1;
    }
};

using ScheduleTables = testing::Types<QbRatioTable, QbSensitivityTable, QbTargetTable>;
TYPED_TEST_SUITE(QbSchedule, ScheduleTables);

} // namespace

TYPED_TEST(QbSchedule, InForceCarriesTheLatestRowPastMidnight) {
    EXPECT_EQ(this->inForceAt("08:00"), -1);
    const int lunch = this->add("11:30");
    for (const char* time : {"00:00", "11:30", "23:59"})
        EXPECT_EQ(this->inForceAt(time), lunch) << time; // a single row is in force all day
    const int morning = this->add("06:00");
    const std::pair<const char*, int> expected[] = {{"05:59", lunch},   {"00:00", lunch},
                                                    {"06:00", morning}, {"11:29", morning},
                                                    {"11:30", lunch},   {"23:59", lunch}};
    for (auto [time, pk] : expected)
        EXPECT_EQ(this->inForceAt(time), pk) << time;
}

TYPED_TEST(QbSchedule, DeletedRowsAreNeverInForceNorFoundButStillCounted) {
    ASSERT_TRUE(TypeParam::removeByPk(*this->db, this->add("06:00", 3)));
    ASSERT_TRUE(TypeParam::removeByPk(*this->db, this->add("18:00", 4)));
    for (const char* time : {"05:00", "06:00", "12:00", "23:59"})
        EXPECT_EQ(this->inForceAt(time), -1) << time;
    EXPECT_FALSE(TypeParam::findByTime(*this->db, "06:00"));
    EXPECT_EQ(TypeParam::getCount(*this->db), 2);
}

TYPED_TEST(QbSchedule, IsTimeFreeRefusesADuplicateButNotTheRowItself) {
    Database& db = *this->db;
    const int existing = this->add("08:00", 2);
    typename TestFixture::Record duplicate;
    setTime(duplicate, "08:00");
    EXPECT_FALSE(TypeParam::isTimeFree(db, duplicate));
    EXPECT_TRUE(TypeParam::isTimeFree(db, *TypeParam::getByPk(db, existing)));
    setTime(duplicate, "09:00");
    EXPECT_TRUE(TypeParam::isTimeFree(db, duplicate));
    // Once removed (here only marked, the handheld knows it) the time is free again.
    ASSERT_TRUE(TypeParam::removeByPk(db, existing));
    setTime(duplicate, "08:00");
    EXPECT_TRUE(TypeParam::isTimeFree(db, duplicate));
}

TEST_F(DatabaseTest, QbTargetSaveDerivesTheExtremeLimits) {
    ASSERT_TRUE(QbTargetTable::createTable(*db));
    QbTarget target;
    target.setTargetTime("07:00");
    target.setGlucoseLo(70);
    target.setGlucoseHi(180);
    target.setGlucoseLoExt(1); // never taken from the caller
    ASSERT_TRUE(QbTargetTable::save(*db, target));
    EXPECT_EQ(std::pair(target.getGlucoseLoExt(), target.getGlucoseHiExt()), std::pair(56, 216));
    QbTarget mmol;
    mmol.setGlucoseLo(4);
    mmol.setGlucoseHi(10);
    ASSERT_TRUE(QbTargetTable::save(*db, mmol, 10));
    // An edit saved again derives the limits from the new range.
    target.setGlucoseLo(99);
    target.setGlucoseHi(99);
    ASSERT_TRUE(QbTargetTable::save(*db, target));
    EXPECT_EQ(rows("select GLUCOSE_LO, GLUCOSE_LO_EXT, GLUCOSE_HI, GLUCOSE_HI_EXT from QB_TARGET "
                   "order by PK"),
              (Rows{"99|79|99|118", "4|3|10|12"}));
}

TEST(QbPreferenceRecord, StartsSwitchedOffWhileClearSwitchesItOn) {
    QbPreference preference;
    EXPECT_FALSE(preference.getUseBol());
    EXPECT_EQ(preference.getSyncState(), 10);
    preference.setMedCode("Nov");
    EXPECT_EQ(preference.getMedCode(), "No");
    static_cast<QbPreferenceAbs&>(preference).clear();
    EXPECT_TRUE(preference.getUseBol());
    EXPECT_EQ(preference.getMedCode(), "");
}
