#include "logbook/DayForm.h"
#include "LogbookFixture.h"
#include "logbook/DaySummary.h"

#include <algorithm>

namespace {

class DayFormTest : public LogbookContextTest {
protected:
    void SetUp() override {
        LogbookTest::SetUp();
        changePreference(useStandardRange);
        openContext();
    }
};

} // namespace

TEST_F(DayFormTest, ShowsTheTotalsOfTheDay) {
    int pk = addDay("20070315", [](SampleDate& day) {
        day.setAvgGlucoseCnt(60);
        day.setMaxKeytoneCode(4);
        day.setTtlCarbCnt(145);
        day.setTtlInsulinAmt(1250);
        day.setDayTypeId(DayType::Active);
    });
    DayForm form(*context, pk);
    ASSERT_TRUE(form.load());
    EXPECT_EQ(form.caption(), "Thursday March 15 2007");
    EXPECT_EQ(form.averageGlucoseText(), "60");
    EXPECT_EQ(form.averageGlucoseClass(), GlucoseClass::Low);
    EXPECT_EQ(form.maxKetoneText(), "Large");
    EXPECT_EQ(form.maxKetoneIcon(), LogIcon::Ketone4);
    EXPECT_EQ(form.totalCarbsText(), "145");
    EXPECT_EQ(form.totalMedicationText(), "12.50");
    EXPECT_EQ(form.dayType(), DayType::Active);

    // No ketone result, no reading, a few hundredths of insulin.
    int bare = addDay("20070316", [](SampleDate& day) { day.setTtlInsulinAmt(5); });
    DayForm empty(*context, bare);
    ASSERT_TRUE(empty.load());
    EXPECT_EQ(empty.maxKetoneText(), "N/A");
    EXPECT_EQ(empty.maxKetoneIcon(), LogIcon::None);
    EXPECT_FALSE(empty.hasAverageGlucose());
    EXPECT_EQ(empty.averageGlucoseText(), "");
    EXPECT_EQ(empty.totalMedicationText(), "0.05");
    EXPECT_EQ(empty.totalCarbsText(), "0");
}

TEST_F(DayFormTest, NoteIsCreatedChangedInPlaceAndRemovedWhenEmptied) {
    int pk = addDay("20070315");
    DayForm form(*context, pk);
    ASSERT_TRUE(form.load());
    form.setNoteText("Felt dizzy");
    ASSERT_TRUE(form.apply());
    auto day = SampleDateTable::getByPk(*db, pk);
    ASSERT_GT(day->getNotePk(), 0);
    const int note = day->getNotePk();
    EXPECT_EQ(rows("select PK, NOTE_TYPE, OWNER_PK, TEXT, SYNC_STATE from NOTE"),
              std::vector<std::string>{std::to_string(note) + "|1|" + std::to_string(pk) +
                                       "|Felt dizzy|10"});

    DayForm again(*context, pk);
    ASSERT_TRUE(again.load());
    EXPECT_EQ(again.noteText(), "Felt dizzy");
    again.setNoteText("Felt better");
    ASSERT_TRUE(again.apply());
    EXPECT_EQ(rows("select PK, TEXT, SYNC_STATE from NOTE"),
              std::vector<std::string>{std::to_string(note) + "|Felt better|20"});
    EXPECT_EQ(SampleDateTable::getByPk(*db, pk)->getNotePk(), note);

    again.setNoteText("");
    ASSERT_TRUE(again.apply());
    EXPECT_EQ(rows("select count(*) from NOTE"), std::vector<std::string>{"0"});
    EXPECT_EQ(SampleDateTable::getByPk(*db, pk)->getNotePk(), 0);
}

TEST_F(DayFormTest, EmptiedNoteKnownToTheHandheldIsOnlyMarkedDeleted) {
    int pk = addDay("20070315");
    int note = addNote("from the handheld", NoteType::Day, pk, 7);
    auto day = SampleDateTable::getByPk(*db, pk);
    day->setNotePk(note);
    ASSERT_TRUE(SampleDateTable::save(*db, *day));

    DayForm form(*context, pk);
    ASSERT_TRUE(form.load());
    form.setNoteText("");
    ASSERT_TRUE(form.apply());
    EXPECT_EQ(rows("select PK, SYNC_STATE from NOTE"),
              std::vector<std::string>{std::to_string(note) + "|30"});
    EXPECT_EQ(SampleDateTable::getByPk(*db, pk)->getNotePk(), 0);
}

TEST_F(DayFormTest, KindOfDayIsStoredOnTheDayAsItIsNow) {
    int pk = addDay("20070315");
    addEntry("20070315080000", 100);
    ASSERT_TRUE(summarizeDayOf(*db, "20070315", true, context->medicationLookup()));
    DayForm form(*context, pk);
    ASSERT_TRUE(form.load());
    // Meanwhile the entries page adds an entry and summarizes the day.
    addEntry("20070315120000", 200);
    ASSERT_TRUE(summarizeDayOf(*db, "20070315", true, context->medicationLookup()));

    form.setDayType(DayType::Sick);
    takeStatements();
    ASSERT_TRUE(form.apply());
    // Only the day is written: nothing is done to a note that neither was nor is there.
    auto written = takeStatements();
    ASSERT_EQ(std::count_if(written.begin(), written.end(),
                            [](const std::string& s) { return s.rfind("Update", 0) == 0; }),
              1);
    EXPECT_EQ(rows("select DAY_TYPE_ID, TTL_SAMPLE_CNT, AVG_GLUCOSE_CNT, NOTE_PK, SYNC_STATE "
                   "from SAMPLE_DATE"),
              std::vector<std::string>{"0|2|150|0|20"});
}

TEST_F(DayFormTest, MissingDayIsNeitherShownNorStored) {
    DayForm form(*context, 42);
    EXPECT_FALSE(form.load());
    form.setNoteText("lost");
    takeStatements();
    EXPECT_FALSE(form.apply());
    for (const std::string& sql : takeStatements())
        EXPECT_EQ(sql.rfind("Select", 0), 0u) << sql;
}

TEST_F(DayFormTest, NoteKeepsTheWrapPointsOfTheEdit) {
    EXPECT_EQ(DayForm::noteFromLines({{"Felt ", true}, {"dizzy", false}, {"later", false}}),
              "Felt \r\r\ndizzy\r\nlater");
    EXPECT_EQ(DayForm::noteFromLines({{"", false}}), "");
    EXPECT_EQ(DayForm::noteFromLines({{"end", false}, {"", false}}), "end\r\n");
    // Back in the edit the wraps go (the edit makes its own) and the breaks stay.
    EXPECT_EQ(DayForm::noteForEditing("Felt \r\r\ndizzy\r\nlater"), "Felt dizzy\nlater");
}
