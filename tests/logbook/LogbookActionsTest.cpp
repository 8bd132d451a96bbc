#include "logbook/LogbookActions.h"
#include "LogbookFixture.h"
#include "support/RecordingProgress.h"

namespace {

class LogbookActionsTest : public LogbookContextTest {
protected:
    void SetUp() override {
        LogbookTest::SetUp();
        addMedication("Humalog", "H");
        openContext("20070315120000");
        actions = std::make_unique<LogbookActions>(*context);
    }

    int addEntry(const QString& time, int glucose, const QString& dose = {}, int notePk = 0) {
        return LogbookTest::addEntry(time, glucose, [&](Sample& entry) {
            entry.setMedicationDosage(dose);
            entry.setInsulinTime(dose.isEmpty() ? QString() : time);
            entry.setNotePk(notePk);
        });
    }

    std::unique_ptr<LogbookActions> actions;
};

} // namespace

TEST_F(LogbookActionsTest, RemovalTakesExactlyTheRowsAndResummarizes) {
    int day = addDay("20070315");
    int other = addDay("20070316");
    int a = addEntry("20070315080000", 100, "4H");
    addEntry("20070315120000", 200, "6H");
    int c = addEntry("20070315180000", 150, {}, addNote("gone with it"));
    int kept = addEntry("20070316080000", 100);
    auto removal = actions->removeRows({{'S', a}, {'S', c}, {'S', 999}});
    EXPECT_FALSE(removal.dayRemoved);
    EXPECT_EQ(removal.removedEntryRows, (std::vector<int>{0, 1}));
    EXPECT_EQ(rows("select count(*) from NOTE"), std::vector<std::string>{"0"});
    EXPECT_EQ(rows("select PK, TTL_SAMPLE_CNT, AVG_GLUCOSE_CNT, TTL_INSULIN_AMT, SUMMARY_STATE "
                   "from SAMPLE_DATE where SAMPLE_DATE = '20070315'"),
              std::vector<std::string>{std::to_string(day) + "|1|200|600|2"});

    // A day goes with its entries; an entry row under it is gone by the time it is visited.
    removal = actions->removeRows({{'D', day}, {'S', a}});
    EXPECT_TRUE(removal.dayRemoved);
    EXPECT_TRUE(removal.removedEntryRows.empty());
    EXPECT_EQ(rows("select SAMPLE_DATE_PK from SAMPLE"),
              std::vector<std::string>{std::to_string(other)});
    EXPECT_TRUE(SampleTable::getByPk(*db, kept));
}

TEST_F(LogbookActionsTest, RetentionAsksAndRemovesOnlyOnYes) {
    for (const char* date : {"19990101", "20070212", "20070213"})
        addDay(date);
    addEntry("19990101080000", 100);
    addNote("nobody points here");
    RecordingProgress progress;
    context->preference().setRetainPcDayCnt(0);
    EXPECT_EQ(actions->retentionCleanUp(progress), 0); // never asks
    context->preference().setRetainPcDayCnt(30);
    EXPECT_EQ(actions->retentionCutoff(), "20070213");
    const QString caption = "Remove old log entries";
    const QString question =
        "You have log entries older then retenion.\r\nWould you like to remove them now?";
    prompts.expect(caption, question, PromptAnswer::No);
    EXPECT_EQ(actions->retentionCleanUp(progress), 0);
    EXPECT_EQ(SampleDateTable::getCount(*db), 3);
    EXPECT_EQ(rows("select count(*) from NOTE"), std::vector<std::string>{"0"}); // orphans go

    prompts.expect(caption, question, PromptAnswer::Yes);
    EXPECT_EQ(actions->retentionCleanUp(progress), 2);
    EXPECT_EQ(rows("select SAMPLE_DATE from SAMPLE_DATE"), std::vector<std::string>{"20070213"});
    EXPECT_EQ(SampleTable::getCount(*db), 0);
    EXPECT_EQ(progress.topics, QStringList{"Removing Old LogBook Entries...Please Wait!"});
    EXPECT_EQ(progress.items.back(), "20070212 2 of 2");
}
