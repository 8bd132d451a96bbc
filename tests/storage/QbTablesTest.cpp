#include "storage/QbPreferenceTable.h"
#include "storage/QbRatioTable.h"
#include "storage/QbSensitivityTable.h"
#include "storage/QbTargetTable.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using Rows = std::vector<std::string>;

namespace {

// What the three schedule tables do not share: their record, how a test row is filled, and
// how their statements name the columns. The look-ups are worded a little differently in
// each table, so they are spelled out here.
template <class Table> struct Schedule;

template <> struct Schedule<QbRatioTable> {
    using Record = QbRatio;
    static void setTime(Record& r, const char* time) { r.setRatioTime(time); }
    static void fill(Record& r) { r.setCarbCnt(15); }
    static constexpr const char* kTable = "QB_RATIO";
    static constexpr const char* kTime = "RATIO_TIME";
    static constexpr const char* kColumns = "RATIO_TIME, CARB_CNT";
    static constexpr const char* kFilled = "'06:00', 15";
    static constexpr const char* kFilledSet = "RATIO_TIME='06:00', CARB_CNT=15";
    static constexpr const char* kEmpty = "'12:00', 0";
    static constexpr const char* kInForce =
        "Select * from QB_RATIO where RATIO_TIME<='05:00' and sync_state <> 30 order by "
        "RATIO_TIME desc";
    static constexpr const char* kLatest =
        "Select * from QB_RATIO where sync_state <> 30  order by RATIO_TIME desc";
    static constexpr const char* kByTime =
        "Select * from QB_RATIO where RATIO_TIME='06:00' and sync_state <> 30";
};

template <> struct Schedule<QbSensitivityTable> {
    using Record = QbSensitivity;
    static void setTime(Record& r, const char* time) { r.setSensTime(time); }
    static void fill(Record& r) { r.setGlucoseCnt(40); }
    static constexpr const char* kTable = "QB_SENSITIVITY";
    static constexpr const char* kTime = "SENS_TIME";
    static constexpr const char* kColumns = "SENS_TIME, GLUCOSE_CNT";
    static constexpr const char* kFilled = "'06:00', 40";
    static constexpr const char* kFilledSet = "SENS_TIME='06:00', GLUCOSE_CNT=40";
    static constexpr const char* kEmpty = "'12:00', 0";
    static constexpr const char* kInForce =
        "Select * from QB_SENSITIVITY where SENS_TIME<='05:00' and sync_state <> 30  order by "
        "SENS_TIME desc";
    static constexpr const char* kLatest =
        "Select * from QB_SENSITIVITY where sync_state <> 30  order by SENS_TIME desc";
    static constexpr const char* kByTime =
        "Select * from QB_SENSITIVITY where SENS_TIME='06:00' and sync_state <> 30 ";
};

template <> struct Schedule<QbTargetTable> {
    using Record = QbTarget;
    static void setTime(Record& r, const char* time) { r.setTargetTime(time); }
    static void fill(Record& r) {
        r.setGlucoseLo(70);
        r.setGlucoseHi(180);
    }
    static constexpr const char* kTable = "QB_TARGET";
    static constexpr const char* kTime = "TARGET_TIME";
    static constexpr const char* kColumns =
        "TARGET_TIME, GLUCOSE_LO, GLUCOSE_LO_EXT, GLUCOSE_HI, GLUCOSE_HI_EXT";
    static constexpr const char* kFilled = "'06:00', 70, 56, 180, 216";
    static constexpr const char* kFilledSet = "TARGET_TIME='06:00', GLUCOSE_LO=70, "
                                              "GLUCOSE_LO_EXT=56, GLUCOSE_HI=180, "
                                              "GLUCOSE_HI_EXT=216";
    static constexpr const char* kEmpty = "'12:00', 0, 0, 0, 0";
    static constexpr const char* kInForce = "Select * from QB_TARGET where TARGET_TIME<='05:00' "
                                            "and sync_state <> 30 order by TARGET_TIME desc";
    static constexpr const char* kLatest =
        "Select * from QB_TARGET where sync_state <> 30  order by TARGET_TIME desc";
    static constexpr const char* kByTime =
        "Select * from QB_TARGET where TARGET_TIME='06:00' and sync_state <> 30 ";
};

class QbTables : public DatabaseTest {
protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        ASSERT_TRUE(QbPreferenceTable::createTable(*db));
        ASSERT_TRUE(QbRatioTable::createTable(*db));
        ASSERT_TRUE(QbSensitivityTable::createTable(*db));
        ASSERT_TRUE(QbTargetTable::createTable(*db));
        takeStatements();
    }
};

template <class Table> class QbSchedule : public QbTables {
protected:
    using S = Schedule<Table>;

    int add(const char* time, int fk = 0) {
        typename S::Record row;
        S::setTime(row, time);
        S::fill(row);
        row.setFk(fk);
        EXPECT_TRUE(Table::save(*db, row));
        return row.getPk();
    }
    // The key of the row in force, or -1 for none.
    int inForceAt(const char* time) {
        auto row = Table::findInForce(*db, time);
        return row ? row->getPk() : -1;
    }
    int listed() {
        auto query = Table::selectAll(*db, Table::kTimeColumn, true);
        int n = 0;
        while (query && Table::getNext(*db, *query))
            ++n;
        return n;
    }
};

using ScheduleTables = testing::Types<QbRatioTable, QbSensitivityTable, QbTargetTable>;
TYPED_TEST_SUITE(QbSchedule, ScheduleTables);

} // namespace

TYPED_TEST(QbSchedule, InForceCarriesTheLatestRowPastMidnight) {
    const int lunch = this->add("11:30");
    const int morning = this->add("06:00");
    const std::pair<const char*, int> expected[] = {{"05:59", lunch},   {"00:00", lunch},
                                                    {"06:00", morning}, {"11:29", morning},
                                                    {"11:30", lunch},   {"23:59", lunch}};
    for (auto [time, pk] : expected)
        EXPECT_EQ(this->inForceAt(time), pk) << time;
}

TYPED_TEST(QbSchedule, ASingleRowIsInForceAllDay) {
    const int only = this->add("12:00");
    for (const char* time : {"00:00", "11:59", "12:00", "23:59"})
        EXPECT_EQ(this->inForceAt(time), only) << time;
}

TYPED_TEST(QbSchedule, DeletedRowsAreNeverInForceButStillCounted) {
    EXPECT_EQ(this->inForceAt("08:00"), -1);
    ASSERT_TRUE(TypeParam::removeByPk(*this->db, this->add("06:00", 3)));
    ASSERT_TRUE(TypeParam::removeByPk(*this->db, this->add("18:00", 4)));
    for (const char* time : {"05:00", "06:00", "12:00", "23:59"})
        EXPECT_EQ(this->inForceAt(time), -1) << time;
    EXPECT_FALSE(TypeParam::findByTime(*this->db, "06:00"));
    EXPECT_EQ(TypeParam::getCount(*this->db), 2);
    EXPECT_EQ(this->listed(), 0);
}

TYPED_TEST(QbSchedule, IsTimeFreeRefusesADuplicateButNotTheRowItself) {
    using S = Schedule<TypeParam>;
    Database& db = *this->db;
    const int existing = this->add("08:00", 2);
    typename S::Record duplicate;
    S::setTime(duplicate, "08:00");
    EXPECT_FALSE(TypeParam::isTimeFree(db, duplicate));

    auto edited = TypeParam::getByPk(db, existing);
    ASSERT_TRUE(edited);
    EXPECT_TRUE(TypeParam::isTimeFree(db, *edited));
    S::setTime(duplicate, "09:00");
    EXPECT_TRUE(TypeParam::isTimeFree(db, duplicate));

    // Once removed (here only marked, the handheld knows it) the time is free again.
    ASSERT_TRUE(TypeParam::removeByPk(db, existing));
    S::setTime(duplicate, "08:00");
    EXPECT_TRUE(TypeParam::isTimeFree(db, duplicate));
}

TYPED_TEST(QbSchedule, RemovalDeletesUnknownRowsAndMarksHandheldOnes) {
    const std::string table = Schedule<TypeParam>::kTable;
    Database& db = *this->db;
    const int local = this->add("06:00");
    const int known = this->add("12:00", 7);
    const int foreign = this->add("18:00", 8);
    db.exec(("update " + table + " set sync_state = 99 where pk = %ld").c_str(), long(foreign));

    for (int pk : {local, known, foreign, 999}) // nothing there counts as removed
        ASSERT_TRUE(TypeParam::removeByPk(db, pk)) << pk;

    EXPECT_EQ(this->rows(("select PK, FK, SYNC_STATE from " + table).c_str()),
              Rows{std::to_string(known) + "|7|30"});
    EXPECT_EQ(TypeParam::getByPk(db, known)->getSyncState(), 30);
    EXPECT_EQ(this->listed(), 0);
    EXPECT_EQ(this->inForceAt("13:00"), -1);
    EXPECT_FALSE(TypeParam::findByTime(db, "12:00"));
    // Removing it again deletes the marked row for good.
    ASSERT_TRUE(TypeParam::removeByPk(db, known));
    EXPECT_EQ(TypeParam::getCount(db), 0);
}

TYPED_TEST(QbSchedule, StatementsOfEachOperation) {
    using S = Schedule<TypeParam>;
    Database& db = *this->db;
    typename S::Record row;
    S::setTime(row, "06:00");
    S::fill(row);
    ASSERT_TRUE(TypeParam::save(db, row));
    ASSERT_TRUE(TypeParam::save(db, row));
    typename S::Record keyed;
    keyed.setPk(9);
    keyed.setFk(4);
    S::setTime(keyed, "12:00");
    ASSERT_TRUE(TypeParam::save(db, keyed));
    TypeParam::findInForce(db, "05:00");
    TypeParam::findByTime(db, "06:00");
    TypeParam::selectAll(db, TypeParam::kTimeColumn, true);
    TypeParam::getCount(db);
    TypeParam::removeByPk(db, 9);
    TypeParam::removeByPk(db, 1);

    const std::string t = S::kTable;
    EXPECT_EQ(
        this->takeStatements(),
        (Rows{"Insert into " + t + " ( FK, SYNC_STATE, " + S::kColumns + ") values ( 0, 10, " +
                  S::kFilled + ")",
              "Select * from " + t + " where pk=1",
              "Update " + t + " set FK=0, SYNC_STATE=20, " + S::kFilledSet + " where pk=1",
              "Select * from " + t + " where pk=9",
              "Insert into " + t + " ( PK, FK, SYNC_STATE, " + S::kColumns +
                  ") values ( 9, 4, 20, " + S::kEmpty + ")",
              S::kInForce, S::kLatest, S::kByTime,
              "Select * from " + t + "  where sync_state <> 30  order by " + S::kTime + " asc",
              "Select count(*) from " + t, "Select * from " + t + " where pk=9",
              "update " + t + " set sync_state = 30 where pk = 9",
              "Select * from " + t + " where pk=1", "delete from " + t + " where pk=1"}));
}

TEST_F(QbTables, TargetSaveDerivesTheExtremeLimits) {
    QbTarget target;
    target.setTargetTime("07:00");
    target.setGlucoseLo(70);
    target.setGlucoseHi(180);
    target.setGlucoseLoExt(1); // never taken from the caller
    ASSERT_TRUE(QbTargetTable::save(*db, target));
    EXPECT_EQ(target.getGlucoseLoExt(), 56);
    EXPECT_EQ(target.getGlucoseHiExt(), 216);

    QbTarget mmol;
    mmol.setTargetTime("21:00");
    mmol.setGlucoseLo(4);
    mmol.setGlucoseHi(10);
    ASSERT_TRUE(QbTargetTable::save(*db, mmol, 10));

    // An edit saved again derives the limits from the new range.
    target.setGlucoseLo(99);
    target.setGlucoseHi(99);
    ASSERT_TRUE(QbTargetTable::save(*db, target));

    EXPECT_EQ(rows("select TARGET_TIME, GLUCOSE_LO, GLUCOSE_LO_EXT, GLUCOSE_HI, GLUCOSE_HI_EXT, "
                   "SYNC_STATE from QB_TARGET order by PK"),
              (Rows{"07:00|99|79|99|118|20", "21:00|4|3|10|12|10"}));
}

TEST_F(QbTables, UseBolIsTrueOnlyForAnUpperCaseT) {
    const std::pair<const char*, bool> stored[] = {
        {"T", true}, {"F", false}, {"t", false}, {"", false}, {"True", true}};
    for (auto [text, expected] : stored) {
        ASSERT_TRUE(db->exec("insert into QB_PREFERENCE values (null, 0, 10, 'N', 180, %Q)",
                             QString(text)));
        auto row = QbPreferenceTable::getByPk(*db, int(db->lastInsertRowId()));
        ASSERT_TRUE(row) << text;
        EXPECT_EQ(row->getUseBol(), expected) << text;
        EXPECT_EQ(row->getMedMinutes(), 180);
    }
    EXPECT_EQ(QbPreferenceTable::getCount(*db), 5);
}

TEST_F(QbTables, QbPreferenceStartsSwitchedOffAndStoresItsFlag) {
    QbPreference preference;
    EXPECT_FALSE(preference.getUseBol());
    EXPECT_EQ(preference.getSyncState(), 10);
    preference.setMedCode("Nov");
    EXPECT_EQ(preference.getMedCode(), "No");
    QbPreferenceAbs& asBase = preference;
    asBase.clear();
    EXPECT_TRUE(preference.getUseBol());
    EXPECT_EQ(preference.getMedCode(), "");

    preference.setUseBol(false);
    preference.setMedCode("H");
    preference.setMedMinutes(180);
    ASSERT_TRUE(QbPreferenceTable::save(*db, preference));
    ASSERT_TRUE(QbPreferenceTable::save(*db, preference));
    QbPreference withPk;
    withPk.setPk(5);
    ASSERT_TRUE(QbPreferenceTable::save(*db, withPk));
    QbPreferenceTable::getCount(*db);
    EXPECT_EQ(takeStatements(),
              (Rows{"Insert into QB_PREFERENCE ( FK, SYNC_STATE, MED_CODE, MED_MINUTES, USE_BOL) "
                    "values ( 0, 10, 'H', 180, 'F')",
                    "Select * from QB_PREFERENCE where pk=1",
                    "Update QB_PREFERENCE set FK=0, SYNC_STATE=20, MED_CODE='H', MED_MINUTES=180, "
                    "USE_BOL='F' where pk=1",
                    "Select * from QB_PREFERENCE where pk=5",
                    "Insert into QB_PREFERENCE ( PK, FK, SYNC_STATE, MED_CODE, MED_MINUTES, "
                    "USE_BOL) values ( 5, 0, 20, '', 0, 'F')",
                    "Select count(*) from QB_PREFERENCE"}));

    QbPreference other;
    other.setPk(1);
    ASSERT_TRUE(QbPreferenceTable::save(*db, other)); // the same row, switched off
    EXPECT_EQ(rows("select * from QB_PREFERENCE where PK = 1"), Rows{"1|0|20||0|F"});
}

TEST_F(QbTables, CreateStatements) {
    ASSERT_TRUE(QbPreferenceTable::createTable(*db));
    ASSERT_TRUE(QbRatioTable::createTable(*db));
    ASSERT_TRUE(QbSensitivityTable::createTable(*db));
    ASSERT_TRUE(QbTargetTable::createTable(*db));
    EXPECT_EQ(
        takeStatements(),
        (Rows{"drop table QB_PREFERENCE",
              "create table QB_PREFERENCE  (      PK           INTEGER PRIMARY KEY,     FK        "
              "   INTEGER,     SYNC_STATE   INTEGER,     MED_CODE     VARCHAR(2),     MED_MINUTES  "
              "INTEGER,     USE_BOL      VARCHAR(2) )",
              "drop table QB_RATIO",
              "create table QB_RATIO  (     PK          INTEGER PRIMARY KEY,     FK          "
              "INTEGER,     SYNC_STATE  INTEGER,     RATIO_TIME  VARCHAR(5),     CARB_CNT    "
              "INTEGER )",
              "drop table QB_SENSITIVITY",
              "create table QB_SENSITIVITY (     PK           INTEGER PRIMARY KEY,     FK        "
              "   INTEGER,     SYNC_STATE   INTEGER,     SENS_TIME    VARCHAR(5),     GLUCOSE_CNT "
              " INTEGER )",
              "drop table QB_TARGET",
              "create table QB_TARGET  (      PK              INTEGER PRIMARY KEY,     FK        "
              "      INTEGER,     SYNC_STATE      INTEGER,     TARGET_TIME     VARCHAR(5),     "
              "GLUCOSE_LO      INTEGER,     GLUCOSE_LO_EXT  INTEGER,     GLUCOSE_HI      INTEGER, "
              "    GLUCOSE_HI_EXT  INTEGER )"}));
}
