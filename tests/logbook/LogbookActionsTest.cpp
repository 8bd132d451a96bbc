#include "logbook/LogbookActions.h"
#include "storage/Conversions.h"
#include "storage/MedicationTable.h"
#include "storage/NoteTable.h"
#include "storage/QbPreferenceTable.h"
#include "storage/QbTargetTable.h"
#include "storage/SampleDateTable.h"
#include "storage/SampleTable.h"
#include "support/TestDatabase.h"
#include "support/TestLogbookContext.h"
#include "ui/Progress.h"

namespace {

class StepLog : public Progress {
public:
    void begin(const QString& topic, int steps) override {
        topics.push_back(topic);
        m_steps = steps;
    }
    void step(const QString& item, int taken) override {
        items.push_back(itemLine(item, taken, m_steps));
    }
    void finish() override {}
    std::vector<QString> topics;
    std::vector<QString> items;

private:
    int m_steps = 0;
};

class LogbookActionsTest : public DatabaseTest {
protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        for (bool ok : {SampleDateTable::createTable(*db), SampleTable::createTable(*db),
                        NoteTable::createTable(*db), PreferenceTable::createTable(*db),
                        MedicationTable::createTable(*db), QbPreferenceTable::createTable(*db),
                        QbTargetTable::createTable(*db)})
            ASSERT_TRUE(ok);
        Medication humalog;
        humalog.setMedCode("H");
        ASSERT_TRUE(MedicationTable::save(*db, humalog));
        // 15 March 2007, 12:00 local time.
        context =
            std::make_unique<TestLogbookContext>(*db, prompts, fromDateTimeText("20070315120000"));
        actions = std::make_unique<LogbookActions>(*context);
    }

    int addDay(const QString& date) {
        SampleDate day;
        day.setSampleDate(date);
        EXPECT_TRUE(SampleDateTable::save(*db, day));
        return day.getPk();
    }

    int addEntry(const QString& time, int glucose, const QString& dose = {}, int notePk = 0) {
        Sample entry;
        entry.setSampleTime(time);
        entry.setGlucoseCnt(glucose);
        entry.setMedicationDosage(dose);
        entry.setInsulinTime(dose.isEmpty() ? QString() : time);
        entry.setNotePk(notePk);
        EXPECT_TRUE(SampleTable::saveWithDay(*db, entry, SyncState::Added));
        return entry.getPk();
    }

    std::unique_ptr<TestLogbookContext> context;
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
    auto totals = SampleDateTable::getByPk(*db, day);
    EXPECT_EQ(totals->getTtlSampleCnt(), 1);
    EXPECT_EQ(totals->getAvgGlucoseCnt(), 200);
    EXPECT_EQ(totals->getTtlInsulinAmt(), 600);
    EXPECT_EQ(totals->getSummaryState(), 2);
}

TEST_F(LogbookActionsTest, RemovingADayTakesItsEntriesAndSkipsVanishedRows) {
    int day = addDay("20070315");
    int other = addDay("20070316");
    Note note;
    note.setText("gone with it");
    ASSERT_TRUE(NoteTable::save(*db, note));
    int entry = addEntry("20070315080000", 100, {}, note.getPk());
    int kept = addEntry("20070316080000", 100);
    // The entry row below the day is gone by the time it is visited: skipped quietly.
    auto removal = actions->removeRows({{'D', day}, {'S', entry}, {'S', 999}});
    EXPECT_TRUE(removal.dayRemoved);
    EXPECT_TRUE(removal.removedEntryRows.empty());
    EXPECT_EQ(SampleDateTable::getByPk(*db, day), nullptr);
    EXPECT_EQ(SampleTable::getByPk(*db, entry), nullptr);
    EXPECT_EQ(NoteTable::getByPk(*db, note.getPk()), nullptr);
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
    StepLog progress;
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
    Note orphan;
    orphan.setNoteType(NoteType::LogEntry);
    orphan.setText("nobody points here");
    ASSERT_TRUE(NoteTable::save(*db, orphan));

    const QString caption = "Remove old log entries";
    const QString question =
        "You have log entries older then retenion.\r\nWould you like to remove them now?";
    prompts.expect(caption, question, PromptAnswer::No);
    StepLog declined;
    EXPECT_EQ(actions->retentionCleanUp(declined), 0);
    EXPECT_EQ(SampleDateTable::getCount(*db), 3);
    EXPECT_EQ(NoteTable::getByPk(*db, orphan.getPk()), nullptr); // orphans go regardless

    prompts.expect(caption, question, PromptAnswer::Yes);
    StepLog progress;
    EXPECT_EQ(actions->retentionCleanUp(progress), 2);
    EXPECT_EQ(SampleDateTable::getByPk(*db, old1), nullptr);
    EXPECT_EQ(SampleDateTable::getByPk(*db, old2), nullptr);
    EXPECT_EQ(SampleTable::getByPk(*db, oldEntry), nullptr);
    EXPECT_TRUE(SampleDateTable::getByPk(*db, kept));
    EXPECT_EQ(progress.topics, std::vector<QString>{"Removing Old LogBook Entries...Please Wait!"});
    EXPECT_EQ(progress.items.size(), 2u);
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
    StepLog progress;
    EXPECT_EQ(actions->summarizeCommand(progress), 3);
    EXPECT_EQ(rows("select AVG_GLUCOSE_CNT, SUMMARY_STATE from SAMPLE_DATE order by PK"),
              (std::vector<std::string>{"100|0", "200|0", "300|0"}));
    EXPECT_EQ(progress.items.back(), "20070313 3 of 3");
}
