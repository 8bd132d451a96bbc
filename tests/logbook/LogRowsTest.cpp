#include "logbook/LogRows.h"
#include "support/LogbookTest.h"

#include <random>

namespace {

class LogRowsTest : public LogbookTest {
protected:
    // An entry without a reading.
    int addEntry(const QString& time, int slot) {
        return LogbookTest::addEntry(time, 0,
                                     [slot](Sample& entry) { entry.setSampleTypePk(slot); });
    }

    // The list as asked day by day: every live day newest first, then its entries.
    std::vector<LogRow> dayByDay(bool withEntries) {
        std::vector<LogRow> expected;
        std::vector<int> days;
        auto q = SampleDateTable::selectAll(*db, 4, false);
        while (auto day = SampleDateTable::getNext(*db, *q))
            days.push_back(day->getPk());
        for (int day : days) {
            expected.push_back({'D', day});
            if (!withEntries)
                continue;
            auto entries = SampleTable::selectByDay(*db, day, false);
            while (auto entry = SampleTable::getNext(*db, *entries))
                expected.push_back({'S', entry->getPk()});
        }
        return expected;
    }
};

} // namespace

TEST_F(LogRowsTest, ThreeFilterModes) {
    int d1 = addDay("20070314");
    int d2 = addDay("20070315");
    int a = addEntry("20070314080000", 1);
    int b = addEntry("20070314200000", 2);
    int c = addEntry("20070315070000", 1);
    int gone = addEntry("20070315090000", 1);
    ASSERT_TRUE(db->exec("update SAMPLE set SYNC_STATE = 30 where PK = %ld", long(gone)));

    EXPECT_EQ(buildLogRows(*db, LogFilter::DailySummary),
              (std::vector<LogRow>{{'D', d2}, {'D', d1}}));
    EXPECT_EQ(buildLogRows(*db, LogFilter::AllTypes),
              (std::vector<LogRow>{{'D', d2}, {'S', c}, {'D', d1}, {'S', b}, {'S', a}}));
    // One slot: its entries newest first across all days, and no day rows.
    EXPECT_EQ(buildLogRows(*db, 1), (std::vector<LogRow>{{'S', c}, {'S', a}}));
    EXPECT_EQ(buildLogRows(*db, 2), (std::vector<LogRow>{{'S', b}}));
    EXPECT_TRUE(buildLogRows(*db, 7).empty());
}

TEST_F(LogRowsTest, AllTypesMatchesReadingDayByDay) {
    std::mt19937 random(7);
    for (int d = 1; d <= 28; ++d) {
        QString date = QString("200702%1").arg(d, 2, 10, QChar('0'));
        if (d % 5 != 0) // some days stay empty
            addDay(date);
        for (int e = 0; e < d % 6; ++e)
            addEntry(date + QString("%1").arg(random() % 2400, 4, 10, QChar('0')) + "00",
                     e % 3 + 1);
    }
    ASSERT_TRUE(db->exec("update SAMPLE_DATE set SYNC_STATE = 30 where PK = 3"));
    ASSERT_TRUE(db->exec("update SAMPLE set SYNC_STATE = 30 where PK %% 7 = 0"));
    EXPECT_EQ(buildLogRows(*db, LogFilter::AllTypes), dayByDay(true));
    EXPECT_EQ(buildLogRows(*db, LogFilter::DailySummary), dayByDay(false));
}
