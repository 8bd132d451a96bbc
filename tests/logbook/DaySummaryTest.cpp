#include "logbook/DaySummary.h"
#include "support/LogbookTest.h"
#include "support/RecordingProgress.h"

namespace {

// H and G are insulins counted in totals, N an insulin left out of them, P a pill.
MedicationLookup testMedications() {
    return [](QChar code) -> std::optional<MedicationFlags> {
        switch (code.unicode()) {
        case 'H':
        case 'G':
            return MedicationFlags{true, true};
        case 'N':
            return MedicationFlags{true, false};
        case 'P':
            return MedicationFlags{false, true};
        default:
            return std::nullopt;
        }
    };
}

class DaySummaryTest : public LogbookTest {
protected:
    std::unique_ptr<SampleDate> summarize(int dayPk, bool edited = true) {
        auto day = SampleDateTable::getByPk(*db, dayPk);
        EXPECT_TRUE(summarizeDay(*db, *day, edited, meds));
        return SampleDateTable::getByPk(*db, dayPk);
    }

    MedicationLookup meds = testMedications();
};

} // namespace

TEST_F(DaySummaryTest, AverageCountsOnlyEntriesWithAReading) {
    int day = addDay("20070315");
    addEntry("20070315080000", 100);
    addEntry("20070315120000", 0);
    addEntry("20070315180000", 151);
    auto stored = summarize(day);
    EXPECT_EQ(stored->getTtlSampleCnt(), 3);
    EXPECT_EQ(stored->getAvgGlucoseCnt(), 125); // (100 + 0 + 151) / 2, truncated
}

TEST_F(DaySummaryTest, DayWithoutReadingsAveragesZero) {
    int day = addDay("20070315");
    addEntry("20070315080000", 0, [](Sample& e) { e.setCarbCnt(40); });
    auto stored = summarize(day);
    EXPECT_EQ(stored->getAvgGlucoseCnt(), 0);
    EXPECT_EQ(stored->getTtlCarbCnt(), 40);
    EXPECT_EQ(stored->getTtlSampleCnt(), 1);
}

TEST_F(DaySummaryTest, InsulinTotalsCountOnlyInsulinsIncludedInTotals) {
    int day = addDay("20070315");
    addEntry("20070315080000", 120, [](Sample& meal) {
        meal.setMedicationDosage("5.5H");
        meal.setCorrectionDosage("1.25H");
        meal.setCarbCnt(60);
    });
    addEntry("20070315120000", 90, [](Sample& other) {
        other.setMedicationDosage("2P 3N 4.125G 7");
        other.setCarbCnt(25);
    });
    auto stored = summarize(day);
    EXPECT_EQ(stored->getTtlInsulinAmt(), 675 + 412);
    EXPECT_EQ(stored->getTtlCarbCnt(), 85);
}

TEST_F(DaySummaryTest, KetonesSiteChangeAndSummaryState) {
    int day = addDay("20070315");
    addEntry("20070315080000", 100, [](Sample& small) { small.setKeytoneCode(2); });
    addEntry("20070315120000", 100, [](Sample& large) {
        large.setKeytoneCode(4);
        large.setNewSiteBol(true);
    });
    addEntry("20070315180000", 100, [](Sample& none) { none.setKeytoneCode(1); });
    auto edited = summarize(day, true);
    EXPECT_EQ(edited->getMaxKeytoneCode(), 4);
    EXPECT_TRUE(edited->getNewSiteBol());
    EXPECT_EQ(edited->getSummaryState(), 2);
    EXPECT_EQ(summarize(day, false)->getSummaryState(), 0);
}

TEST_F(DaySummaryTest, DeletedEntriesAndOtherDaysDoNotCount) {
    int day = addDay("20070315");
    int next = addDay("20070316");
    addEntry("20070315080000", 100);
    int gone = addEntry("20070315090000", 300);
    addEntry("20070316080000", 200);
    ASSERT_TRUE(db->exec("update SAMPLE set FK = 3, SYNC_STATE = 20 where PK = %ld", long(gone)));
    ASSERT_TRUE(SampleTable::removeByPk(*db, gone)); // marked 30, still in the table
    auto stored = summarize(day);
    EXPECT_EQ(stored->getTtlSampleCnt(), 1);
    EXPECT_EQ(stored->getAvgGlucoseCnt(), 100);
    EXPECT_EQ(summarize(next)->getAvgGlucoseCnt(), 200);
}

TEST_F(DaySummaryTest, RemovingTheLastEntryLeavesTheDayWithZeroTotals) {
    int day = addDay("20070315");
    int pk = addEntry("20070315080000", 140, [](Sample& entry) {
        entry.setNewSiteBol(true);
        entry.setCarbCnt(30);
        entry.setKeytoneCode(3);
        entry.setMedicationDosage("4H");
    });
    summarize(day);
    ASSERT_TRUE(SampleTable::removeByPk(*db, pk));
    ASSERT_TRUE(summarizeDayOf(*db, "20070315080000", true, meds));
    auto stored = SampleDateTable::getByPk(*db, day);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->getTtlSampleCnt(), 0);
    EXPECT_EQ(stored->getAvgGlucoseCnt(), 0);
    EXPECT_EQ(stored->getTtlCarbCnt(), 0);
    EXPECT_EQ(stored->getTtlInsulinAmt(), 0);
    EXPECT_EQ(stored->getMaxKeytoneCode(), 0);
    EXPECT_FALSE(stored->getNewSiteBol());
}

TEST_F(DaySummaryTest, SummarizeDayOfCreatesAMissingDay) {
    ASSERT_TRUE(summarizeDayOf(*db, "20070320101500", true, meds));
    auto created = SampleDateTable::getByDate(*db, "20070320");
    ASSERT_TRUE(created);
    EXPECT_EQ(created->getTtlSampleCnt(), 0);
    EXPECT_EQ(created->getDayTypeId(), 1);
    EXPECT_EQ(created->getSyncState(), 10);
    EXPECT_EQ(created->getSummaryState(), 2);
    // Asking again updates the same row instead of adding one.
    ASSERT_TRUE(summarizeDayOf(*db, "20070320", false, meds));
    EXPECT_EQ(SampleDateTable::getCount(*db), 1);
}

TEST_F(DaySummaryTest, MisfiledEntriesAreRefiledUnderTheDayOfTheirTime) {
    int day = addDay("20070315");
    int next = addDay("20070316");
    int stray = addEntry("20070316090000", 180);
    ASSERT_TRUE(db->exec("update SAMPLE set SAMPLE_DATE_PK = %ld", long(day)));
    int own = addEntry("20070315090000", 100);
    // The stray entry counts for the day it was filed under, then moves to its own day.
    auto stored = summarize(day);
    EXPECT_EQ(stored->getTtlSampleCnt(), 2);
    EXPECT_EQ(SampleTable::getByPk(*db, stray)->getSampleDatePk(), next);
    EXPECT_EQ(SampleTable::getByPk(*db, own)->getSampleDatePk(), day);
    EXPECT_EQ(summarize(day)->getTtlSampleCnt(), 1);
    EXPECT_EQ(summarize(next)->getTtlSampleCnt(), 1);
}

TEST_F(DaySummaryTest, UnchangedEntriesKeepTheirSyncState) {
    int day = addDay("20070315");
    int pk = addEntry("20070315090000", 100);
    ASSERT_TRUE(db->exec("update SAMPLE set FK = 8, SYNC_STATE = 10"));
    summarize(day);
    EXPECT_EQ(rows("select FK, SYNC_STATE from SAMPLE"), std::vector<std::string>{"8|10"});
    // A dose-less entry with an insulin time is stored again without it, in its own state.
    ASSERT_TRUE(db->exec("update SAMPLE set INSULIN_TIME = '20070315090000'"));
    summarize(day);
    EXPECT_EQ(rows("select FK, SYNC_STATE, INSULIN_TIME from SAMPLE"),
              std::vector<std::string>{"8|10|"});
    EXPECT_EQ(SampleTable::getByPk(*db, pk)->getSampleDatePk(), day);
}

TEST_F(DaySummaryTest, PassSummarizesEveryOutOfDateDayWithProgressLines) {
    std::vector<int> days;
    for (int d = 1; d <= 12; ++d) {
        QString date = QString("200703%1").arg(d, 2, 10, QChar('0'));
        days.push_back(addDay(date));
        addEntry(date + "080000", 100 + d);
    }
    EXPECT_TRUE(SampleDateTable::markAllUnsummarized(*db));
    RecordingProgress progress;
    EXPECT_EQ(summarizeOutOfDateDays(*db, meds, progress, prompts), 12);
    ASSERT_EQ(progress.topics, QStringList{"Summarizing LogBook...Please Wait!"});
    ASSERT_EQ(progress.steps(), 12);
    EXPECT_EQ(progress.items.front(), "20070301 1 of 12");
    EXPECT_EQ(progress.items.back(), "20070312 12 of 12");
    EXPECT_EQ(progress.finished, 1);
    EXPECT_EQ(rows("select count(*) from SAMPLE_DATE where SUMMARY_STATE = 0"),
              std::vector<std::string>{"12"});
    EXPECT_EQ(SampleDateTable::getByPk(*db, days[4])->getAvgGlucoseCnt(), 105);

    // Nothing out of date: no progress window at all.
    RecordingProgress idle;
    EXPECT_EQ(summarizeOutOfDateDays(*db, meds, idle, prompts), 0);
    EXPECT_TRUE(idle.topics.empty());
}
