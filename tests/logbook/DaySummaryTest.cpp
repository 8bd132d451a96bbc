#include "logbook/DaySummary.h"
#include "support/LogbookTest.h"
#include "support/RecordingProgress.h"

namespace {

// H and G are insulins counted in totals, N an insulin left out of them, P a pill.
class DaySummaryTest : public LogbookTest {
protected:
    void SetUp() override {
        LogbookTest::SetUp();
        for (const char* code : {"H", "G"})
            addMedication(code, code);
        addMedication("N", "N", [](Medication& m) { m.setIncludeInTotalsBol(false); });
        addMedication("P", "P", [](Medication& m) { m.setIsInsulinBol(false); });
        std::vector<std::unique_ptr<Medication>> all;
        for (int pk = 1; pk <= 4; ++pk)
            all.push_back(MedicationTable::getByPk(*db, pk));
        meds = makeMedicationLookup(all);
    }
    // Summarizes the day and answers its stored totals (see `totals`).
    std::string summarize(int dayPk, bool edited = true) {
        auto day = SampleDateTable::getByPk(*db, dayPk);
        EXPECT_TRUE(day && summarizeDay(*db, *day, edited, meds));
        return totals(dayPk);
    }
    // entries|average|carbs|insulin|max ketones|site change|summary state
    std::string totals(int dayPk) {
        auto found = rows(("select TTL_SAMPLE_CNT, AVG_GLUCOSE_CNT, TTL_CARB_CNT, "
                           "TTL_INSULIN_AMT, MAX_KEYTONE_CODE, NEW_SITE_BOL, SUMMARY_STATE "
                           "from SAMPLE_DATE where PK = " +
                           std::to_string(dayPk))
                              .c_str());
        return found.size() == 1 ? found.front() : "no day";
    }

    MedicationLookup meds;
};

} // namespace

TEST_F(DaySummaryTest, TotalsOfTheDaysEntries) {
    struct Entry {
        int glucose, carbs = 0, ketone = 0;
        const char *dose = "", *correction = "";
        bool site = false;
    };
    struct Case {
        std::vector<Entry> entries;
        const char* totals; // entries|average|carbs|insulin|max ketones|site change|state
    };
    const Case cases[] = {
        {{{100}, {0}, {151}}, "3|125|0|0|0|F|2"}, // (100 + 0 + 151) / 2, truncated
        {{{0, 40}}, "1|0|40|0|0|F|2"},
        // 675 + 412 hundredths: N is left out of totals, P is no insulin, "7" has no code.
        {{{120, 60, 0, "5.5H", "1.25H"}, {90, 25, 0, "2P 3N 4.125G 7"}}, "2|105|85|1087|0|F|2"},
        {{{100, 0, 2}, {100, 0, 4, "", "", true}, {100, 0, 1}}, "3|100|0|0|4|T|2"},
        {{}, "0|0|0|0|0|F|2"}, // the last entry removed
        // Counts stored before entries were checked: the total stops at the column's largest.
        {{{0, 999999999}, {0, 999999999}, {0, 999999999}}, "3|0|2147483647|0|0|F|2"},
    };
    for (const Case& c : cases) {
        // Stale totals from before: every one is worked out afresh.
        int day = addDay("20070315", [](SampleDate& d) {
            d.setTtlSampleCnt(9);
            d.setAvgGlucoseCnt(9);
            d.setMaxKeytoneCode(9);
            d.setNewSiteBol(true);
        });
        int minute = 0;
        for (const Entry& e : c.entries)
            addEntry(QString("200703150800%1").arg(minute++, 2, 10, QChar('0')), e.glucose,
                     [&e](Sample& entry) {
                         entry.setCarbCnt(e.carbs);
                         entry.setKeytoneCode(e.ketone);
                         entry.setMedicationDosage(e.dose);
                         entry.setCorrectionDosage(e.correction);
                         entry.setNewSiteBol(e.site);
                     });
        EXPECT_EQ(summarize(day), c.totals);
        ASSERT_TRUE(SampleDateTable::removeByPk(*db, day));
    }
}

TEST_F(DaySummaryTest, SummarizeDayOfCreatesAMissingDayOnce) {
    ASSERT_TRUE(summarizeDayOf(*db, "20070320101500", true, meds));
    ASSERT_TRUE(summarizeDayOf(*db, "20070320", false, meds));
    EXPECT_EQ(rows("select SAMPLE_DATE, TTL_SAMPLE_CNT, DAY_TYPE_ID, SYNC_STATE from SAMPLE_DATE"),
              std::vector<std::string>{"20070320|0|1|10"});
}

// Deleted entries do not count; a misfiled one counts for the day it was filed under, then
// moves to the day of its time.
TEST_F(DaySummaryTest, MisfiledEntriesAreRefiledUnderTheDayOfTheirTime) {
    int day = addDay("20070315");
    int next = addDay("20070316");
    int stray = addEntry("20070316090000", 180);
    ASSERT_TRUE(db->exec("update SAMPLE set SAMPLE_DATE_PK = %ld", long(day)));
    int own = addEntry("20070315090000", 100);
    int gone = addEntry("20070315100000", 300, [](Sample& e) { e.setFk(3); });
    ASSERT_TRUE(SampleTable::removeByPk(*db, gone)); // marked 30, still in the table
    EXPECT_EQ(summarize(day), "2|140|0|0|0|F|2");
    EXPECT_EQ(SampleTable::getByPk(*db, stray)->getSampleDatePk(), next);
    EXPECT_EQ(SampleTable::getByPk(*db, own)->getSampleDatePk(), day);
    EXPECT_EQ(summarize(day), "1|100|0|0|0|F|2");
    EXPECT_EQ(summarize(next), "1|180|0|0|0|F|2");
}

TEST_F(DaySummaryTest, UnchangedEntriesKeepTheirSyncState) {
    int day = addDay("20070315");
    addEntry("20070315090000", 100);
    // A dose-less entry with an insulin time is stored again without it, in its own state.
    ASSERT_TRUE(db->exec("update SAMPLE set FK = 8, SYNC_STATE = 10, INSULIN_TIME = '1'"));
    summarize(day);
    EXPECT_EQ(rows("select FK, SYNC_STATE, INSULIN_TIME, SAMPLE_DATE_PK from SAMPLE"),
              std::vector<std::string>{"8|10||" + std::to_string(day)});
}

TEST_F(DaySummaryTest, PassSummarizesEveryOutOfDateDayWithProgressLines) {
    for (int d = 1; d <= 12; ++d) {
        QString date = QString("200703%1").arg(d, 2, 10, QChar('0'));
        addDay(date);
        addEntry(date + "080000", 100 + d);
    }
    EXPECT_TRUE(SampleDateTable::markAllUnsummarized(*db));
    RecordingProgress progress;
    EXPECT_EQ(summarizeOutOfDateDays(*db, meds, progress, prompts), 12);
    ASSERT_EQ(progress.topics, QStringList{"Summarizing LogBook...Please Wait!"});
    EXPECT_EQ(progress.items.front() + ", " + progress.items.back(),
              "20070301 1 of 12, 20070312 12 of 12");
    EXPECT_EQ(progress.finished, 1);
    EXPECT_EQ(rows("select sum(SUMMARY_STATE), sum(AVG_GLUCOSE_CNT) from SAMPLE_DATE"),
              std::vector<std::string>{"0|1278"}); // 101 + ... + 112

    // Nothing out of date: no progress window at all.
    RecordingProgress idle;
    EXPECT_EQ(summarizeOutOfDateDays(*db, meds, idle, prompts), 0);
    EXPECT_TRUE(idle.topics.empty());
}
