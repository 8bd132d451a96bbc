#include "AppTestSupport.h"
#include "app/DefaultData.h"
#include "app/PatientDatabase.h"
#include "storage/Preference.h"
#include "storage/SampleTypeTable.h"
#include "support/TestDatabase.h"

#include <QRegularExpression>

namespace {

// The tables a patient's database must have, in the order an opening creates them.
const Rows kTablesInCreationOrder = {"PREFERENCE",     "NOTE",       "SAMPLE_DATE",   "METER",
                                     "SAMPLE",         "MEDICATION", "PROTOCOL",      "SAMPLE_TYPE",
                                     "BLOOD_PRESSURE", "BASIL_RATE", "QB_PREFERENCE", "QB_RATIO",
                                     "QB_SENSITIVITY", "QB_TARGET"};

// Each statement that creates or drops a table, or inserts into one, as "verb TABLE" in
// lower case; consecutive inserts into the same table count once.
Rows tableSteps(const std::vector<std::string>& statements) {
    static const QRegularExpression step(
        QStringLiteral("^(drop table|create table|insert into) (\\w+)"),
        QRegularExpression::CaseInsensitiveOption);
    Rows steps;
    for (const std::string& statement : statements) {
        const auto match = step.match(QString::fromStdString(statement));
        if (!match.hasMatch())
            continue;
        std::string item = (match.captured(1).toLower() + u' ' + match.captured(2)).toStdString();
        if (steps.empty() || steps.back() != item || item.rfind("insert", 0) != 0)
            steps.push_back(item);
    }
    return steps;
}

class NewDatabaseTest : public DatabaseTest {
protected:
    // 5 March 2024, 10:00 local time.
    FixedClock clock{fromDateTimeText("20240305100000")};
    NoProgress progress;
    int countOf(const std::string& table) {
        return db->count(("select count(*) from " + table).c_str());
    }
};

TEST_F(NewDatabaseTest, HoldsExactlyTheDefaultRows) {
    Preference preference;
    preference.setPatientName("3 Jo O'Neil-Smith");
    preference.setDeliveryCode(0);
    ASSERT_TRUE(DefaultData::initNewDatabase(*db, preference, clock));

    EXPECT_EQ(
        rows("select SAMPLE_TIME, DESC, SYNC_STATE from SAMPLE_TYPE order by PK"),
        (Rows{"0000|EarlyAm|10", "0700|Breakfast|10", "0915|Mid Morning|10", "1130|Lunch|10",
              "1330|Afternoon|10", "1630|Dinner|10", "1930|Bedtime|10", "2100|Late Eve.|10"}));
    EXPECT_EQ(rows("select CARB_NAME, CARB_CNT, SYNC_STATE from CARBS order by PK"),
              (Rows{"Apple ( med ) 1/2 peeled|7|10", "Bananna (med) 1/2|13|10",
                    "McD Fries (small) |25|10", "McD Hashbrown|15|10", "McD Hamburger (Jr)|30|10",
                    "McD Chicken Nugget (1)|3|10", "Pancake ( 4 inch )|10|10",
                    "Apple Juice 4oz|15|10", "Milk ( skim ) 4oz|6|10", "Kraft McChez Quick|38|10",
                    "Wheat Bread 1 slice|14|10", "Gogurt|13|10", "Yoplay Yogurt|33|10"}));
    EXPECT_EQ(rows("select MED_CODE, MED_DESC, IS_INSULIN_BOL, ACTIVE_BOL, "
                   "INCLUDE_IN_TOTALS_BOL, OPEN_DATE, EXPIRE_DAY_CNT, RX_ORDER_ID, SYNC_STATE "
                   "from MEDICATION order by PK"),
              (Rows{"H|Humalog|T|T|T|20240305|60||10", "G|Lantus|T|T|F|20240305|60||10",
                    "N|NPH|T|T|T|20240305|60||10", "V|Novalog|T|F|F|20240305|60||10",
                    "R|Regular|T|T|F|20240305|60||10", "P|NPH Pork|T|F|F|20240305|60||10",
                    "L|Lenti|T|F|F|20240305|60||10", "U|UltraLenti|T|F|F|20240305|60||10",
                    "A|70/30|T|F|F|20240305|60||10", "B|50/50|T|F|F|20240305|60||10"}));
    EXPECT_EQ(rows("select DESC, MFG, MODEL, SERIAL_NO, SERIVICE_DATE, SYNC_STATE from METER"),
              Rows{"Primary Meter|Unknown|Unknown|[ Not on file ]|20240305|10"});
    EXPECT_EQ(rows("select EFFECTIVE_DATE, TEXT, SYNC_STATE from PROTOCOL"),
              Rows{"20240305|[ Not on file ]|10"});
    EXPECT_EQ(rows("select PK, PATIENT_NAME, DELIVERY_CODE, DOCTOR_NAME, GLUCOSE_EXT_LO, "
                   "GLUCOSE_LO, GLUCOSE_HI, GLUCOSE_EXT_HI, RETAIN_HH_DAY_CNT, "
                   "RETAIN_PC_DAY_CNT, MILITARY_TIME_BOL, ASK_DELETE_BOL, GLUCOSE_SAMPLE_CODE "
                   "from PREFERENCE"),
              Rows{"1|3 Jo O'Neil-Smith|1|Dr.|65|80|150|220|28|168|T|T|0"});
    EXPECT_EQ(rows("select PK, SYNC_STATE, USE_BOL from QB_PREFERENCE"), Rows{"1|10|F"});
    for (const char* empty : {"A1C", "BASIL_RATE", "BLOOD_PRESSURE", "NOTE", "QB_TARGET",
                              "QB_RATIO", "QB_SENSITIVITY", "SAMPLE_DATE", "SAMPLE"})
        EXPECT_EQ(countOf(empty), 0) << empty;
    // The caller's record is the one stored.
    EXPECT_EQ(preference.getPk(), 1);
    EXPECT_EQ(preference.getDeliveryCode(), 1);
}

TEST_F(NewDatabaseTest, ReplacesEveryTableInOrderThenWritesTheDefaults) {
    db->exec("create table SAMPLE_TYPE ( PK INTEGER PRIMARY KEY, DESC VARCHAR(15) )");
    db->exec("insert into SAMPLE_TYPE (DESC) values ('Leftover')");
    takeStatements();
    Preference preference;
    ASSERT_TRUE(DefaultData::initNewDatabase(*db, preference, clock));

    Rows expected;
    for (const char* table :
         {"A1C", "BASIL_RATE", "BLOOD_PRESSURE", "CARBS", "MEDICATION", "METER", "NOTE",
          "PREFERENCE", "PROTOCOL", "QB_TARGET", "QB_RATIO", "QB_SENSITIVITY", "QB_PREFERENCE",
          "SAMPLE_DATE", "SAMPLE", "SAMPLE_TYPE"}) {
        expected.push_back(std::string("drop table ") + table);
        expected.push_back(std::string("create table ") + table);
    }
    for (const char* table :
         {"QB_PREFERENCE", "PREFERENCE", "SAMPLE_TYPE", "METER", "PROTOCOL", "CARBS", "MEDICATION"})
        expected.push_back(std::string("insert into ") + table);
    EXPECT_EQ(tableSteps(takeStatements()), expected);
    EXPECT_EQ(db->count("select count(*) from SAMPLE_TYPE where DESC='Leftover'"), 0);
}

TEST(DefaultData, ListsSplitAtBothSeparators) {
    EXPECT_EQ(DefaultData::tokens("a,,b;;c;"), (QStringList{"a", "b", "c"}));
    EXPECT_EQ(DefaultData::tokens(DefaultData::kKetoneNames),
              (QStringList{"N/A", "Negative", "Small", "Medium", "Large"}));
}

TEST_F(NewDatabaseTest, OpeningCreatesTheMissingTablesInOrder) {
    takeStatements();
    ASSERT_TRUE(createMissingTables(*db));
    Rows created;
    for (const std::string& step : tableSteps(takeStatements()))
        if (step.rfind("create table", 0) == 0)
            created.push_back(step.substr(13));
    EXPECT_EQ(created, kTablesInCreationOrder);

    // A second opening finds them all and leaves their rows alone.
    SampleType slot;
    slot.setSampleTime("0700");
    slot.setDesc("Breakfast");
    ASSERT_TRUE(SampleTypeTable::save(*db, slot));
    ASSERT_TRUE(createMissingTables(*db));
    EXPECT_EQ(tableSteps(takeStatements()), Rows{"insert into SAMPLE_TYPE"});
    EXPECT_EQ(rows("select DESC from SAMPLE_TYPE"), Rows{"Breakfast"});
}

TEST_F(NewDatabaseTest, OpeningAnEmptyFileWritesNoDefaultRows) {
    db = openPatientDatabase(pathOf("empty.db"), prompts, progress);
    ASSERT_TRUE(db);
    Rows tables = kTablesInCreationOrder;
    tables.insert(tables.end(), {"A1C", "CARBS"});
    for (const std::string& table : tables) {
        EXPECT_TRUE(db->tableExists(QString::fromStdString(table))) << table;
        if (table != "QB_PREFERENCE") {
            EXPECT_EQ(countOf(table), 0) << table;
        }
    }
    // Only the conversion's mark that the quick-bolus tables are in place.
    EXPECT_EQ(rows("select PK, USE_BOL from QB_PREFERENCE"), Rows{"1|F"});
}

} // namespace
