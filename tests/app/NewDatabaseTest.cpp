#include "AppTestSupport.h"
#include "app/DefaultData.h"
#include "app/PatientDatabase.h"
#include "storage/Preference.h"
#include "support/TestDatabase.h"

namespace {

// The tables a patient's database must have, in the order an opening creates them.
const Rows kTablesInCreationOrder = {"PREFERENCE",     "NOTE",       "SAMPLE_DATE",   "METER",
                                     "SAMPLE",         "MEDICATION", "PROTOCOL",      "SAMPLE_TYPE",
                                     "BLOOD_PRESSURE", "BASIL_RATE", "QB_PREFERENCE", "QB_RATIO",
                                     "QB_SENSITIVITY", "QB_TARGET"};

class NewDatabaseTest : public DatabaseTest {
protected:
    FixedClock clock{fromDateTimeText("20240305100000")};
    NoProgress progress;
};

TEST_F(NewDatabaseTest, ReplacesEveryTableAndHoldsExactlyTheDefaultRows) {
    // A file that already held a patient's data, made on another day.
    Preference old;
    clock.set(fromDateTimeText("20200101100000"));
    ASSERT_TRUE(DefaultData::initNewDatabase(*db, old, clock));
    for (const char* table : {"A1C", "BASIL_RATE", "BLOOD_PRESSURE", "NOTE", "QB_TARGET",
                              "QB_RATIO", "QB_SENSITIVITY", "SAMPLE_DATE", "SAMPLE"})
        ASSERT_TRUE(db->exec(("insert into " + std::string(table) + " (PK) values (99)").c_str()));

    clock.set(fromDateTimeText("20240305100000"));
    Preference preference;
    preference.setPatientName("3 Jo O'Neil-Smith");
    preference.setDeliveryCode(0);
    ASSERT_TRUE(DefaultData::initNewDatabase(*db, preference, clock));
    std::string dump;
    for (const std::string table :
         {"A1C", "BASIL_RATE", "BLOOD_PRESSURE", "CARBS", "MEDICATION", "METER", "NOTE",
          "PREFERENCE", "PROTOCOL", "QB_PREFERENCE", "QB_RATIO", "QB_SENSITIVITY", "QB_TARGET",
          "SAMPLE", "SAMPLE_DATE", "SAMPLE_TYPE"})
        for (const std::string& row : rows(("select * from " + table + " order by PK").c_str()))
            dump += table + "|" + row + "\n";
    EXPECT_EQ(dump,
              fileBytes(qEnvironmentVariable("QUILLMARCH_TEST_DATA") + "/app/new_database.txt")
                  .toStdString());
    // The caller's record is the one stored.
    EXPECT_EQ(preference.getPk(), 1);
    EXPECT_EQ(preference.getDeliveryCode(), 1);
}

TEST(DefaultData, ListsSplitAtBothSeparators) {
    EXPECT_EQ(DefaultData::tokens("a,,b;;c;"), (QStringList{"a", "b", "c"}));
    EXPECT_EQ(DefaultData::tokens(DefaultData::kKetoneNames),
              (QStringList{"N/A", "Negative", "Small", "Medium", "Large"}));
}

// Opening creates the missing tables, in order and empty: a file is filled with the default
// rows only when it is made for a new patient.
TEST_F(NewDatabaseTest, OpeningCreatesTheMissingTablesInOrderEmptyAndKeepsTheRest) {
    ASSERT_TRUE(createMissingTables(*db));
    EXPECT_EQ(rows("select name from sqlite_master where type='table' order by rowid"),
              kTablesInCreationOrder);
    db.reset();
    QString failure;
    db = openPatientDatabase(pathOf("patient.db"), prompts, progress, failure);
    ASSERT_TRUE(db);
    EXPECT_TRUE(failure.isEmpty());
    Rows tables = kTablesInCreationOrder;
    tables.insert(tables.end(), {"A1C", "CARBS"}); // made by the conversion
    for (const std::string& table : tables) {
        if (table != "QB_PREFERENCE") {
            EXPECT_EQ(db->count(("select count(*) from " + table).c_str()), 0) << table;
        }
    }
    // Only the conversion's mark that the quick-bolus tables are in place.
    EXPECT_EQ(rows("select PK, USE_BOL from QB_PREFERENCE"), Rows{"1|F"});

    ASSERT_TRUE(db->exec("insert into SAMPLE_TYPE (DESC) values ('Breakfast')"));
    ASSERT_TRUE(createMissingTables(*db));
    EXPECT_EQ(rows("select DESC from SAMPLE_TYPE"), Rows{"Breakfast"});
}

} // namespace
