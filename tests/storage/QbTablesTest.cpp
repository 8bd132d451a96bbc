#include "storage/QbPreferenceTable.h"
#include "storage/QbRatioTable.h"
#include "storage/QbSensitivityTable.h"
#include "storage/QbTargetTable.h"
#include "support/QbScheduleRows.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

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

    // The carbohydrate count of the ratio in force, or -1 for none.
    int carbsAt(const char* time) {
        auto ratio = QbRatioTable::findInForce(*db, time);
        return ratio ? ratio->getCarbCnt() : -1;
    }

    int listedRatios() {
        auto query = QbRatioTable::selectAll(*db, QbRatioTable::kTimeColumn, true);
        int n = 0;
        while (query && QbRatioTable::getNext(*db, *query))
            ++n;
        return n;
    }
};

} // namespace

TEST_F(QbTables, RatioInForceCarriesTheLatestRowPastMidnight) {
    addQbRatio(*db, "11:30", 12);
    addQbRatio(*db, "06:00", 15);
    EXPECT_EQ(carbsAt("05:59"), 12);
    EXPECT_EQ(carbsAt("00:00"), 12);
    EXPECT_EQ(carbsAt("06:00"), 15);
    EXPECT_EQ(carbsAt("11:29"), 15);
    EXPECT_EQ(carbsAt("11:30"), 12);
    EXPECT_EQ(carbsAt("23:59"), 12);
}

TEST_F(QbTables, ASingleRowIsInForceAllDay) {
    QbSensitivity sensitivity;
    sensitivity.setSensTime("12:00");
    sensitivity.setGlucoseCnt(40);
    ASSERT_TRUE(QbSensitivityTable::save(*db, sensitivity));
    for (const char* time : {"00:00", "11:59", "12:00", "23:59"}) {
        auto found = QbSensitivityTable::findInForce(*db, time);
        ASSERT_TRUE(found) << time;
        EXPECT_EQ(found->getGlucoseCnt(), 40) << time;
    }
}

TEST_F(QbTables, DeletedRowsAreNeverInForceButStillCounted) {
    EXPECT_EQ(carbsAt("08:00"), -1);
    int first = addQbRatio(*db, "06:00", 15, 3);
    int second = addQbRatio(*db, "18:00", 10, 4);
    ASSERT_TRUE(QbRatioTable::removeByPk(*db, first));
    ASSERT_TRUE(QbRatioTable::removeByPk(*db, second));
    for (const char* time : {"05:00", "06:00", "12:00", "23:59"})
        EXPECT_EQ(carbsAt(time), -1) << time;
    EXPECT_FALSE(QbRatioTable::findByTime(*db, "06:00"));
    EXPECT_EQ(QbRatioTable::getCount(*db), 2);
    EXPECT_EQ(listedRatios(), 0);
}

TEST_F(QbTables, IsTimeFreeRefusesADuplicateButNotTheRowItself) {
    int existing = addQbRatio(*db, "08:00", 15, 2);
    QbRatio duplicate;
    duplicate.setRatioTime("08:00");
    EXPECT_FALSE(QbRatioTable::isTimeFree(*db, duplicate));

    auto edited = QbRatioTable::getByPk(*db, existing);
    ASSERT_TRUE(edited);
    edited->setCarbCnt(18);
    EXPECT_TRUE(QbRatioTable::isTimeFree(*db, *edited));

    duplicate.setRatioTime("09:00");
    EXPECT_TRUE(QbRatioTable::isTimeFree(*db, duplicate));

    // Once removed (here only marked, the handheld knows it) the time is free again.
    ASSERT_TRUE(QbRatioTable::removeByPk(*db, existing));
    duplicate.setRatioTime("08:00");
    EXPECT_TRUE(QbRatioTable::isTimeFree(*db, duplicate));
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
              (std::vector<std::string>{"07:00|99|79|99|118|20", "21:00|4|3|10|12|10"}));
}

TEST_F(QbTables, UseBolIsTrueOnlyForAnUpperCaseT) {
    db->exec("insert into QB_PREFERENCE values (1, 0, 10, 'N', 180, 'T')");
    db->exec("insert into QB_PREFERENCE values (2, 0, 10, 'N', 180, 'F')");
    db->exec("insert into QB_PREFERENCE values (3, 0, 10, 'N', 180, 't')");
    db->exec("insert into QB_PREFERENCE values (4, 0, 10, 'N', 180, '')");
    db->exec("insert into QB_PREFERENCE values (5, 0, 10, 'N', 180, 'True')");
    const bool expected[] = {true, false, false, false, true};
    for (int pk = 1; pk <= 5; ++pk) {
        auto row = QbPreferenceTable::getByPk(*db, pk);
        ASSERT_TRUE(row) << pk;
        EXPECT_EQ(row->getUseBol(), expected[pk - 1]) << pk;
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

    preference.setMedCode("N");
    preference.setMedMinutes(240);
    ASSERT_TRUE(QbPreferenceTable::save(*db, preference));
    QbPreference other;
    other.setPk(1);
    ASSERT_TRUE(QbPreferenceTable::save(*db, other)); // the same row, switched off
    EXPECT_EQ(rows("select * from QB_PREFERENCE"), std::vector<std::string>{"1|0|20||0|F"});
}

TEST_F(QbTables, RemovalDeletesUnknownRowsAndMarksHandheldOnes) {
    int local = addQbRatio(*db, "06:00", 15);
    int known = addQbRatio(*db, "12:00", 12, 7);
    int foreign = addQbRatio(*db, "18:00", 10, 8);
    db->exec("update QB_RATIO set sync_state = 99 where pk = %ld", long(foreign));

    ASSERT_TRUE(QbRatioTable::removeByPk(*db, local));
    ASSERT_TRUE(QbRatioTable::removeByPk(*db, known));
    ASSERT_TRUE(QbRatioTable::removeByPk(*db, foreign));
    ASSERT_TRUE(QbRatioTable::removeByPk(*db, 999)); // nothing there counts as removed

    EXPECT_EQ(rows("select PK, FK, SYNC_STATE from QB_RATIO"),
              std::vector<std::string>{std::to_string(known) + "|7|30"});
    auto stillThere = QbRatioTable::getByPk(*db, known);
    ASSERT_TRUE(stillThere);
    EXPECT_EQ(stillThere->getSyncState(), 30);
    EXPECT_EQ(listedRatios(), 0);
    EXPECT_EQ(carbsAt("13:00"), -1);
    EXPECT_FALSE(QbRatioTable::findByTime(*db, "12:00"));
    // Removing it again deletes the marked row for good.
    ASSERT_TRUE(QbRatioTable::removeByPk(*db, known));
    EXPECT_EQ(QbRatioTable::getCount(*db), 0);
}

TEST_F(QbTables, RatioStatements) {
    QbRatio ratio;
    ratio.setRatioTime("06:00");
    ratio.setCarbCnt(15);
    ASSERT_TRUE(QbRatioTable::save(*db, ratio));
    ASSERT_TRUE(QbRatioTable::save(*db, ratio));
    QbRatio withKey;
    withKey.setPk(9);
    withKey.setFk(4);
    withKey.setRatioTime("12:00");
    ASSERT_TRUE(QbRatioTable::save(*db, withKey));
    QbRatioTable::findInForce(*db, "05:00");
    QbRatioTable::findByTime(*db, "06:00");
    QbRatioTable::selectAll(*db, QbRatioTable::kTimeColumn, true);
    QbRatioTable::getCount(*db);
    QbRatioTable::removeByPk(*db, 9);
    QbRatioTable::removeByPk(*db, 1);
    std::vector<std::string> expected = {
        "Insert into QB_RATIO ( FK, SYNC_STATE, RATIO_TIME, CARB_CNT) values ( 0, 10, '06:00', 15)",
        "Select * from QB_RATIO where pk=1",
        "Update QB_RATIO set FK=0, SYNC_STATE=20, RATIO_TIME='06:00', CARB_CNT=15 where pk=1",
        "Select * from QB_RATIO where pk=9",
        "Insert into QB_RATIO ( PK, FK, SYNC_STATE, RATIO_TIME, CARB_CNT) values ( 9, 4, 20, "
        "'12:00', 0)",
        "Select * from QB_RATIO where RATIO_TIME<='05:00' and sync_state <> 30 order by "
        "RATIO_TIME desc",
        "Select * from QB_RATIO where sync_state <> 30  order by RATIO_TIME desc",
        "Select * from QB_RATIO where RATIO_TIME='06:00' and sync_state <> 30",
        "Select * from QB_RATIO  where sync_state <> 30  order by RATIO_TIME asc",
        "Select count(*) from QB_RATIO",
        "Select * from QB_RATIO where pk=9",
        "update QB_RATIO set sync_state = 30 where pk = 9",
        "Select * from QB_RATIO where pk=1",
        "delete from QB_RATIO where pk=1",
    };
    EXPECT_EQ(takeStatements(), expected);
}

TEST_F(QbTables, SensitivityStatements) {
    QbSensitivity sensitivity;
    sensitivity.setSensTime("06:00");
    sensitivity.setGlucoseCnt(40);
    ASSERT_TRUE(QbSensitivityTable::save(*db, sensitivity));
    ASSERT_TRUE(QbSensitivityTable::save(*db, sensitivity));
    QbSensitivity withKey;
    withKey.setPk(9);
    withKey.setFk(4);
    withKey.setSensTime("12:00");
    ASSERT_TRUE(QbSensitivityTable::save(*db, withKey));
    QbSensitivityTable::findInForce(*db, "05:00");
    QbSensitivityTable::findByTime(*db, "06:00");
    QbSensitivityTable::selectAll(*db, QbSensitivityTable::kTimeColumn, false);
    QbSensitivityTable::removeByPk(*db, 9);
    QbSensitivityTable::removeByPk(*db, 1);
    std::vector<std::string> expected = {
        "Insert into QB_SENSITIVITY ( FK, SYNC_STATE, SENS_TIME, GLUCOSE_CNT) values ( 0, 10, "
        "'06:00', 40)",
        "Select * from QB_SENSITIVITY where pk=1",
        "Update QB_SENSITIVITY set FK=0, SYNC_STATE=20, SENS_TIME='06:00', GLUCOSE_CNT=40 where "
        "pk=1",
        "Select * from QB_SENSITIVITY where pk=9",
        "Insert into QB_SENSITIVITY ( PK, FK, SYNC_STATE, SENS_TIME, GLUCOSE_CNT) values ( 9, 4, "
        "20, '12:00', 0)",
        "Select * from QB_SENSITIVITY where SENS_TIME<='05:00' and sync_state <> 30  order by "
        "SENS_TIME desc",
        "Select * from QB_SENSITIVITY where sync_state <> 30  order by SENS_TIME desc",
        "Select * from QB_SENSITIVITY where SENS_TIME='06:00' and sync_state <> 30 ",
        "Select * from QB_SENSITIVITY  where sync_state <> 30  order by SENS_TIME desc",
        "Select * from QB_SENSITIVITY where pk=9",
        "update QB_SENSITIVITY set sync_state = 30 where pk = 9",
        "Select * from QB_SENSITIVITY where pk=1",
        "delete from QB_SENSITIVITY where pk=1",
    };
    EXPECT_EQ(takeStatements(), expected);
}

TEST_F(QbTables, TargetAndPreferenceStatements) {
    QbTarget target;
    target.setTargetTime("06:00");
    target.setGlucoseLo(70);
    target.setGlucoseHi(180);
    ASSERT_TRUE(QbTargetTable::save(*db, target));
    ASSERT_TRUE(QbTargetTable::save(*db, target));
    QbTarget withKey;
    withKey.setPk(9);
    withKey.setTargetTime("12:00");
    ASSERT_TRUE(QbTargetTable::save(*db, withKey));
    QbTargetTable::findInForce(*db, "05:00");
    QbTargetTable::findByTime(*db, "06:00");
    QbTargetTable::selectAll(*db, QbTargetTable::kTimeColumn, true);
    QbTargetTable::removeByPk(*db, 9);

    QbPreference preference;
    preference.setMedCode("H");
    preference.setMedMinutes(180);
    ASSERT_TRUE(QbPreferenceTable::save(*db, preference));
    ASSERT_TRUE(QbPreferenceTable::save(*db, preference));
    QbPreference withPk;
    withPk.setPk(5);
    ASSERT_TRUE(QbPreferenceTable::save(*db, withPk));
    QbPreferenceTable::getCount(*db);

    std::vector<std::string> expected = {
        "Insert into QB_TARGET ( FK, SYNC_STATE, TARGET_TIME, GLUCOSE_LO, GLUCOSE_LO_EXT, "
        "GLUCOSE_HI, GLUCOSE_HI_EXT) values ( 0, 10, '06:00', 70, 56, 180, 216)",
        "Select * from QB_TARGET where pk=1",
        "Update QB_TARGET set FK=0, SYNC_STATE=20, TARGET_TIME='06:00', GLUCOSE_LO=70, "
        "GLUCOSE_LO_EXT=56, GLUCOSE_HI=180, GLUCOSE_HI_EXT=216 where pk=1",
        "Select * from QB_TARGET where pk=9",
        "Insert into QB_TARGET ( PK, FK, SYNC_STATE, TARGET_TIME, GLUCOSE_LO, GLUCOSE_LO_EXT, "
        "GLUCOSE_HI, GLUCOSE_HI_EXT) values ( 9, 0, 20, '12:00', 0, 0, 0, 0)",
        "Select * from QB_TARGET where TARGET_TIME<='05:00' and sync_state <> 30 order by "
        "TARGET_TIME desc",
        "Select * from QB_TARGET where sync_state <> 30  order by TARGET_TIME desc",
        "Select * from QB_TARGET where TARGET_TIME='06:00' and sync_state <> 30 ",
        "Select * from QB_TARGET  where sync_state <> 30  order by TARGET_TIME asc",
        "Select * from QB_TARGET where pk=9",
        "delete from QB_TARGET where pk=9",
        "Insert into QB_PREFERENCE ( FK, SYNC_STATE, MED_CODE, MED_MINUTES, USE_BOL) values ( 0, "
        "10, 'H', 180, 'F')",
        "Select * from QB_PREFERENCE where pk=1",
        "Update QB_PREFERENCE set FK=0, SYNC_STATE=20, MED_CODE='H', MED_MINUTES=180, USE_BOL='F' "
        "where pk=1",
        "Select * from QB_PREFERENCE where pk=5",
        "Insert into QB_PREFERENCE ( PK, FK, SYNC_STATE, MED_CODE, MED_MINUTES, USE_BOL) values ( "
        "5, 0, 20, '', 0, 'F')",
        "Select count(*) from QB_PREFERENCE",
    };
    EXPECT_EQ(takeStatements(), expected);
}

TEST_F(QbTables, CreateStatementsAndColumns) {
    ASSERT_TRUE(QbPreferenceTable::createTable(*db));
    ASSERT_TRUE(QbRatioTable::createTable(*db));
    ASSERT_TRUE(QbSensitivityTable::createTable(*db));
    ASSERT_TRUE(QbTargetTable::createTable(*db));
    std::vector<std::string> expected = {
        "drop table QB_PREFERENCE",
        "create table QB_PREFERENCE  (      PK           INTEGER PRIMARY KEY,     FK           "
        "INTEGER,     SYNC_STATE   INTEGER,     MED_CODE     VARCHAR(2),     MED_MINUTES  "
        "INTEGER,     USE_BOL      VARCHAR(2) )",
        "drop table QB_RATIO",
        "create table QB_RATIO  (     PK          INTEGER PRIMARY KEY,     FK          INTEGER,  "
        "   SYNC_STATE  INTEGER,     RATIO_TIME  VARCHAR(5),     CARB_CNT    INTEGER )",
        "drop table QB_SENSITIVITY",
        "create table QB_SENSITIVITY (     PK           INTEGER PRIMARY KEY,     FK           "
        "INTEGER,     SYNC_STATE   INTEGER,     SENS_TIME    VARCHAR(5),     GLUCOSE_CNT  "
        "INTEGER )",
        "drop table QB_TARGET",
        "create table QB_TARGET  (      PK              INTEGER PRIMARY KEY,     FK              "
        "INTEGER,     SYNC_STATE      INTEGER,     TARGET_TIME     VARCHAR(5),     GLUCOSE_LO    "
        "  INTEGER,     GLUCOSE_LO_EXT  INTEGER,     GLUCOSE_HI      INTEGER,     GLUCOSE_HI_EXT "
        " INTEGER )",
    };
    EXPECT_EQ(takeStatements(), expected);
    EXPECT_EQ(QbPreferenceTable::getColumnCount(), 6);
    EXPECT_EQ(QbRatioTable::getColumnCount(), 5);
    EXPECT_EQ(QbSensitivityTable::getColumnCount(), 5);
    EXPECT_EQ(QbTargetTable::getColumnCount(), 8);
    EXPECT_EQ(QbTargetTable::getColumnName(7), "GLUCOSE_HI_EXT");
    EXPECT_EQ(QbTargetTable::getColumnName(8), "?");
    EXPECT_EQ(QbSensitivityTable::getColumnName(QbSensitivityTable::kTimeColumn), "SENS_TIME");
}

TEST_F(QbTables, AFailedCreateIsShownUnderTheTablesCaption) {
    // A view of the same name can be neither dropped as a table nor created over.
    for (const char* name : {"QB_PREFERENCE", "QB_RATIO", "QB_SENSITIVITY", "QB_TARGET"}) {
        db->exec("drop table %s", name);
        ASSERT_TRUE(db->exec("create view %s as select 1 as PK", name)) << name;
    }
    prompts.expect("Create Table QbPreference");
    prompts.expect("Create Table QbRatio");
    prompts.expect("Create Table QbSensitivity");
    prompts.expect("Create Table QbTarget");
    EXPECT_FALSE(QbPreferenceTable::createTable(*db));
    EXPECT_FALSE(QbRatioTable::createTable(*db));
    EXPECT_FALSE(QbSensitivityTable::createTable(*db));
    EXPECT_FALSE(QbTargetTable::createTable(*db));
}
