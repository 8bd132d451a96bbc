#include "storage/CgmReadingTable.h"
#include "storage/SyncState.h"
#include "support/TestDatabase.h"

namespace {

using Readings = std::vector<CgmReading>;

class CgmReadingTableTest : public DatabaseTest {
protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        ASSERT_TRUE(CgmReadingTable::ensureTable(*db));
    }
};

TEST_F(CgmReadingTableTest, AReadingIsStoredOncePerSourceAndMoment) {
    const Readings first{{"20240301080000", 120, 0, "clarity"},
                         {"20240301080500", 400, 1, "clarity"},
                         {"20240301080000", 119, 0, "clarity"}};
    EXPECT_EQ(CgmReadingTable::insertNew(*db, first), 2);
    EXPECT_EQ(CgmReadingTable::insertNew(*db, first), 0);
    EXPECT_EQ(CgmReadingTable::insertNew(*db, {{"20240301080000", 117, 0, "libreview"}}), 1);
    EXPECT_EQ(CgmReadingTable::insertNew(*db, {}), 0);
    EXPECT_EQ(CgmReadingTable::count(*db), 3);
    // The first of a moment stays; every row is new to the handheld.
    EXPECT_EQ(rows("select GLUCOSE_CNT, SYNC_STATE, FK from CGM_READING where SOURCE = 'clarity' "
                   "and READING_TIME = '20240301080000'"),
              std::vector<std::string>{"120|10|0"});
}

TEST_F(CgmReadingTableTest, BetweenTakesBothEndsInTimeOrderWithoutDeletedRows) {
    ASSERT_TRUE(CgmReadingTable::insertNew(*db, {{"20240302000000", 90, 0, "b"},
                                                 {"20240301000000", 80, 0, "b"},
                                                 {"20240301000000", 81, 0, "a"},
                                                 {"20240302000001", 95, 0, "a"},
                                                 {"20240301120000", 40, -1, "a"}}));
    ASSERT_TRUE(db->exec("update CGM_READING set SYNC_STATE = %d where GLUCOSE_CNT = 40",
                         SyncState::Deleted));
    const Readings got = CgmReadingTable::between(*db, "20240301000000", "20240302000000");
    QStringList shown;
    for (const CgmReading& r : got)
        shown << r.time + " " + r.source + " " + QString::number(r.glucose);
    EXPECT_EQ(shown,
              (QStringList{"20240301000000 a 81", "20240301000000 b 80", "20240302000000 b 90"}));
}

TEST_F(CgmReadingTableTest, TheRetentionCutOffIsTheStartOfItsDay) {
    ASSERT_TRUE(CgmReadingTable::insertNew(*db, {{"20240229235959", 100, 0, "a"},
                                                 {"20240301000000", 101, 0, "a"},
                                                 {"20230101120000", 102, 0, "a"}}));
    EXPECT_EQ(CgmReadingTable::countBefore(*db, "20240301"), 2);
    EXPECT_EQ(CgmReadingTable::removeBefore(*db, "20240301"), 2);
    EXPECT_EQ(rows("select READING_TIME from CGM_READING"),
              std::vector<std::string>{"20240301000000"});
}

TEST_F(CgmReadingTableTest, AnOlderFileGainsTheTableAndKeepsItsReadingsWhenOpenedAgain) {
    auto older = openAt("older.db");
    EXPECT_EQ(CgmReadingTable::count(*older), 0);
    EXPECT_TRUE(CgmReadingTable::between(*older, "0", "9").empty());
    EXPECT_EQ(CgmReadingTable::removeBefore(*older, "20240301"), 0);
    ASSERT_TRUE(CgmReadingTable::ensureTable(*older));
    ASSERT_EQ(CgmReadingTable::insertNew(*older, {{"20240301080000", 120, 0, "a"}}), 1);
    ASSERT_TRUE(CgmReadingTable::ensureTable(*older));
    EXPECT_EQ(CgmReadingTable::count(*older), 1);
    EXPECT_EQ(older->count("select count(*) from sqlite_master where name = "
                           "'CGM_READING_BY_TIME'"),
              1);
    // A new database replaces every table, this one with them.
    ASSERT_TRUE(CgmReadingTable::createTable(*older));
    EXPECT_EQ(CgmReadingTable::count(*older), 0);
    EXPECT_EQ(prompts.count(), 0);
}

} // namespace
