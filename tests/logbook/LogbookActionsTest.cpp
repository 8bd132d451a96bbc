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

TEST_F(LogbookActionsTest, RemovingTwoEntriesRemovesExactlyThoseAndResummarizes) {
    int day = addDay("20070315");
    int a = addEntry("20070315080000", 100, "4H");
    int b = addEntry("20070315120000", 200, "6H");
    int c = addEntry("20070315180000", 150);
    auto removal = actions->removeRows({{'S', a}, {'S', c}});
    EXPECT_FALSE(removal.dayRemoved);
    EXPECT_EQ(removal.removedEntryRows, (std::vector<int>{0, 1}));
    EXPECT_EQ(SampleTable::getByPk(*db, a), nullptr);
    EXPECT_EQ(SampleTable::getByPk(*db, c), nullptr);
    EXPECT_TRUE(SampleTable::getByPk(*db, b));
    EXPECT_EQ(rows("select PK, TTL_SAMPLE_CNT, AVG_GLUCOSE_CNT, TTL_INSULIN_AMT, SUMMARY_STATE "
                   "from SAMPLE_DATE"),
              std::vector<std::string>{std::to_string(day) + "|1|200|600|2"});
}

TEST_F(LogbookActionsTest, RemovingADayTakesItsEntriesAndSkipsVanishedRows) {
    int day = addDay("20070315");
    int other = addDay("20070316");
    int note = addNote("gone with it");
    int entry = addEntry("20070315080000", 100, {}, note);
    int kept = addEntry("20070316080000", 100);
    // The entry row below the day is gone by the time it is visited: skipped quietly.
    auto removal = actions->removeRows({{'D', day}, {'S', entry}, {'S', 999}});
    EXPECT_TRUE(removal.dayRemoved);
    EXPECT_TRUE(removal.removedEntryRows.empty());
    EXPECT_EQ(SampleDateTable::getByPk(*db, day), nullptr);
    EXPECT_EQ(SampleTable::getByPk(*db, entry), nullptr);
    EXPECT_EQ(NoteTable::getByPk(*db, note), nullptr);
    EXPECT_TRUE(SampleDateTable::getByPk(*db, other));
    EXPECT_TRUE(SampleTable::getByPk(*db, kept));
}

TEST_F(LogbookActionsTest, QuickEditsStoreTheValueAsChanged) {
    int day = addDay("20070315");
    int entry = addEntry("20070315080000", 100);
    actions->removeRows({}); // nothing selected: nothing happens
    ASSERT_TRUE(actions->setKetones(entry, 4));
    ASSERT_TRUE(actions->setLogType(entry, 3));
    ASSERT_TRUE(actions->setDelivery(entry, 2));
    EXPECT_EQ(rows("select KEYTONE_CODE, SAMPLE_TYPE_PK, DELIVERY_CODE, SYNC_STATE from SAMPLE"),
              std::vector<std::string>{"4|3|2|20"});
    // Ketones and log type leave the day's totals as they were.
    EXPECT_EQ(SampleDateTable::getByPk(*db, day)->getMaxKeytoneCode(), 0);
    EXPECT_FALSE(actions->setKetones(999, 2));
}

TEST_F(LogbookActionsTest, InfusionSiteToggleSummarizesTheDay) {
    int day = addDay("20070315");
    int entry = addEntry("20070315080000", 100);
    ASSERT_TRUE(actions->toggleInfusionSite(entry));
    EXPECT_TRUE(SampleTable::getByPk(*db, entry)->getNewSiteBol());
    EXPECT_TRUE(SampleDateTable::getByPk(*db, day)->getNewSiteBol());
    ASSERT_TRUE(actions->toggleInfusionSite(entry));
    EXPECT_FALSE(SampleTable::getByPk(*db, entry)->getNewSiteBol());
    EXPECT_FALSE(SampleDateTable::getByPk(*db, day)->getNewSiteBol());
}

TEST_F(LogbookActionsTest, DayTypeIsStored) {
    int day = addDay("20070315");
    ASSERT_TRUE(actions->setDayType(day, 0));
    EXPECT_EQ(rows("select DAY_TYPE_ID, SYNC_STATE from SAMPLE_DATE"),
              std::vector<std::string>{"0|20"});
    EXPECT_FALSE(actions->setDayType(999, 2));
}

TEST_F(LogbookActionsTest, RetentionOffNeverAsks) {
    context->preference().setRetainPcDayCnt(0);
    addDay("19990101");
    RecordingProgress progress;
    EXPECT_EQ(actions->retentionCleanUp(progress), 0);
    EXPECT_EQ(SampleDateTable::getCount(*db), 1);
    EXPECT_TRUE(progress.topics.empty());
}

TEST_F(LogbookActionsTest, RetentionAsksAndRemovesOnlyOnYes) {
    context->preference().setRetainPcDayCnt(30);
    EXPECT_EQ(actions->retentionCutoff(), "20070213");
    int old1 = addDay("20070101");
    int old2 = addDay("20070212");
    int kept = addDay("20070213");
    int oldEntry = addEntry("20070101080000", 100);
    int orphan = addNote("nobody points here", NoteType::LogEntry);

    const QString caption = "Remove old log entries";
    const QString question =
        "You have log entries older then retenion.\r\nWould you like to remove them now?";
    prompts.expect(caption, question, PromptAnswer::No);
    RecordingProgress declined;
    EXPECT_EQ(actions->retentionCleanUp(declined), 0);
    EXPECT_EQ(SampleDateTable::getCount(*db), 3);
    EXPECT_EQ(NoteTable::getByPk(*db, orphan), nullptr); // orphans go regardless

    prompts.expect(caption, question, PromptAnswer::Yes);
    RecordingProgress progress;
    EXPECT_EQ(actions->retentionCleanUp(progress), 2);
    EXPECT_EQ(SampleDateTable::getByPk(*db, old1), nullptr);
    EXPECT_EQ(SampleDateTable::getByPk(*db, old2), nullptr);
    EXPECT_EQ(SampleTable::getByPk(*db, oldEntry), nullptr);
    EXPECT_TRUE(SampleDateTable::getByPk(*db, kept));
    EXPECT_EQ(progress.topics, QStringList{"Removing Old LogBook Entries...Please Wait!"});
    EXPECT_EQ(progress.steps(), 2);
    EXPECT_TRUE(progress.items.back().endsWith(" 2 of 2"));
}

TEST_F(LogbookActionsTest, SummarizeCommandAfterMarkingAll) {
    context->preference().setRetainPcDayCnt(0);
    for (int d = 1; d <= 3; ++d) {
        QString date = QString("2007031%1").arg(d);
        addDay(date);
        addEntry(date + "080000", 100 * d);
    }
    SampleDateTable::markAllUnsummarized(*db);
    RecordingProgress progress;
    EXPECT_EQ(actions->summarizeCommand(progress), 3);
    EXPECT_EQ(rows("select AVG_GLUCOSE_CNT, SUMMARY_STATE from SAMPLE_DATE order by PK"),
              (std::vector<std::string>{"100|0", "200|0", "300|0"}));
    EXPECT_EQ(progress.items.back(), "20070313 3 of 3");
}
