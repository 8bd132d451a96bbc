#include "settings/SlotSchedule.h"
#include "SettingsTest.h"
#include "settings/SlotMedicationForm.h"

#include <algorithm>

namespace {

class SlotScheduleTest : public SettingsTest {
protected:
    SlotSchedule loaded() {
        SlotSchedule schedule;
        schedule.load(*db, context->clock());
        return schedule;
    }
};

} // namespace

TEST_F(SlotScheduleTest, LoadsTheLiveRowsInTimeOrderAtTodaysDate) {
    addSlot("1130", "Lunch", "2.5N");
    addSlot("0700", "Breakfast", "5H");
    const int gone = addSlot("0600", "Gone");
    ASSERT_TRUE(db->exec("update SAMPLE_TYPE set sync_state = 30 where pk = %d", gone));

    SlotSchedule schedule = loaded();
    EXPECT_EQ(schedule.slot(0).name, "Breakfast");
    EXPECT_EQ(schedule.slot(0).medication, "5H");
    EXPECT_EQ(schedule.slot(0).time, today("0700"));
    EXPECT_EQ(schedule.slot(1).name, "Lunch");
    EXPECT_EQ(schedule.slot(1).time, today("1130"));
    for (int i = 2; i < SlotSchedule::kSlotCount; ++i) {
        EXPECT_EQ(schedule.slot(i).name + schedule.slot(i).medication, "") << i;
        EXPECT_EQ(schedule.slot(i).time, 0) << i;
    }
}

TEST_F(SlotScheduleTest, RowsAfterTheEighthAreIgnored) {
    addUsualSlots();
    addSlot("2359", "Ninth");
    SlotSchedule schedule = loaded();
    EXPECT_EQ(schedule.slot(7).name, "Late Evening");
    EXPECT_EQ(schedule.slot(7).time, today("2300"));

    // And storing leaves the ninth row alone.
    schedule.setName(7, "Night");
    schedule.store(*db, prompts);
    EXPECT_EQ(rows("select pk, DESC from SAMPLE_TYPE where pk >= 8 order by pk"),
              (std::vector<std::string>{"8|Night", "9|Ninth"}));
}

TEST_F(SlotScheduleTest, AnUnreadableStartTimeLeavesTimeZero) {
    addSlot("2575", "Broken");
    EXPECT_EQ(loaded().slot(0).time, 0);
    EXPECT_EQ(loaded().slot(0).name, "Broken");
}

TEST_F(SlotScheduleTest, ASlotMustLieStrictlyBetweenItsNeighboursNamedOnTheTwelveHourClock) {
    addUsualSlots();
    changePreference([](Preference& p) { p.setMilitaryTimeBol(true); });
    SlotSchedule schedule = loaded();
    schedule.setTime(3, today("1100")); // checked against the time being edited
    const QString third = "Time must be after 07:00 AM and before 11:00 AM";
    const QString second = "Time must be after 05:00 AM and before 09:15 AM";
    const QString last = "Time must be after 09:00 PM"; // the last slot only follows the 7th
    const struct {
        int slot;
        const char* time;
        std::optional<QString> refusal;
    } cases[] = {{2, "0700", third},
                 {2, "1100", third},
                 {2, "0630", third},
                 {2, "1200", third},
                 {2, "0701", {}},
                 {2, "1059", {}},
                 {1, "0500", second},
                 {1, "1200", second},
                 {1, "0501", {}},
                 {0, "2300", {}},
                 {7, "2000", last},
                 {7, "2100", last},
                 {7, "2101", {}},
                 {7, "2359", {}},
                 {5, "1000", "Time must be after 03:00 PM and before 09:00 PM"}};
    for (const auto& c : cases)
        EXPECT_EQ(schedule.timeRefusal(c.slot, today(c.time)), c.refusal)
            << "slot " << c.slot << " at " << c.time;
    // The check only answers; the slot keeps its time.
    EXPECT_EQ(schedule.slot(2).time, today("0915"));
}

TEST_F(SlotScheduleTest, AtTimeOfDayKeepsTheDate) {
    EXPECT_EQ(SlotSchedule::atTimeOfDay(today("0700"), 23, 5), today("2305"));
    EXPECT_EQ(SlotSchedule::atTimeOfDay(today("2300"), 0, 0), today("0000"));
    EXPECT_EQ(SlotSchedule::storedTime(today("0905")), "0905");
}

TEST_F(SlotScheduleTest, AnUnchangedScheduleWritesNoSlotAndKeepsTheStates) {
    addUsualSlots();
    ASSERT_TRUE(db->exec("update SAMPLE_TYPE set fk = 4, sync_state = 99 where pk = 3"));
    SlotSchedule schedule = loaded();
    takeStatements();
    schedule.store(*db, prompts);
    std::vector<std::string> statements = takeStatements();
    EXPECT_EQ(statements.size(), 8u);
    for (const std::string& statement : statements)
        EXPECT_TRUE(statement.starts_with("Select * from SAMPLE_TYPE where pk=")) << statement;
    EXPECT_EQ(rows("select pk, fk, sync_state from SAMPLE_TYPE where pk <= 4"),
              (std::vector<std::string>{"1|0|10", "2|0|10", "3|4|99", "4|0|10"}));
}

TEST_F(SlotScheduleTest, AChangedNameWritesOnlyThatSlotAsChanged) {
    addUsualSlots();
    SlotSchedule schedule = loaded();
    schedule.setName(3, "Noon's meal");
    takeStatements();
    schedule.store(*db, prompts);
    EXPECT_EQ(writes(), std::vector{slotUpdate(4, "1130", "Noon''s meal")});
    EXPECT_EQ(rows("select pk, sync_state from SAMPLE_TYPE where sync_state <> 10"),
              (std::vector<std::string>{"4|20"}));
}

TEST_F(SlotScheduleTest, ChangedTimesAndMedicationsAreWrittenInSlotOrder) {
    addUsualSlots();
    SlotSchedule schedule = loaded();
    schedule.setMedication(6, "10N");
    schedule.setTime(1, today("0745"));
    schedule.setMedication(1, ""); // was "5H"
    takeStatements();
    schedule.store(*db, prompts);
    EXPECT_EQ(writes(), (std::vector{slotUpdate(2, "0745", "Breakfast"),
                                     slotUpdate(7, "2100", "Bedtime", "10N")}));
    // A second store of the same values finds nothing left to write.
    schedule.store(*db, prompts);
    EXPECT_TRUE(writes().empty());
}

TEST_F(SlotScheduleTest, AMissingRowIsStoredAsANewRow) {
    addUsualSlots();
    ASSERT_TRUE(db->exec("delete from SAMPLE_TYPE where pk = 5"));
    SlotSchedule schedule = loaded(); // slots 5 to 7 move up, the eighth is empty
    EXPECT_EQ(schedule.slot(4).name, "Dinner");
    schedule.setName(7, "Night");
    schedule.setTime(7, today("2330"));
    takeStatements();
    schedule.store(*db, prompts);
    std::vector<std::string> written = writes();
    ASSERT_EQ(written.size(), 4u); // row 5 added, rows 6 to 8 take the slots that moved up
    EXPECT_EQ(written[0], "Insert into SAMPLE_TYPE ( FK, SYNC_STATE, SAMPLE_TIME, DESC, "
                          "MEDICATION_DOSAGE) values ( 0, 10, '1800', 'Dinner', '')");
    EXPECT_EQ(written[3], slotUpdate(8, "2330", "Night"));
    EXPECT_EQ(rows("select pk, SAMPLE_TIME, DESC, sync_state from SAMPLE_TYPE where pk > 8"),
              (std::vector<std::string>{"9|1800|Dinner|10"}));
}

TEST_F(SlotScheduleTest, AFailedWriteIsReportedAndTheOthersAreStillStored) {
    addUsualSlots();
    ASSERT_TRUE(db->exec("create trigger refuse before update on SAMPLE_TYPE when new.DESC = "
                         "'Bad' begin select raise(abort, 'slot refused'); end"));
    SlotSchedule schedule = loaded();
    schedule.setName(1, "Bad");
    schedule.setName(2, "Good");
    prompts.expect("Database", "slot refused");
    schedule.store(*db, prompts);
    EXPECT_EQ(rows("select DESC from SAMPLE_TYPE where pk in (2, 3) order by pk"),
              (std::vector<std::string>{"Breakfast", "Good"}));
}

namespace {

class SlotMedicationTest : public SettingsTest {
protected:
    void SetUp() override {
        SettingsTest::SetUp();
        addMedication("NPH", "N");
        addMedication("Humalog", "HL");
        addMedication("Lantus", "L", [](Medication& m) { m.setActiveBol(false); });
        addMedication("Apidra", "A");
    }
    SlotMedicationForm formFor(const QString& medication) {
        return SlotMedicationForm(SlotMedicationForm::activeMedications(*db), "Lunch", medication);
    }
    int indexOf(const SlotMedicationForm& form, const char* name) {
        const auto& choices = form.choices();
        auto found = std::find_if(choices.begin(), choices.end(),
                                  [&](const SlotMedicationChoice& c) { return c.name == name; });
        return found == choices.end() ? -1 : static_cast<int>(found - choices.begin());
    }
};

} // namespace

TEST_F(SlotMedicationTest, ListsTheActiveMedicationsByNameThenNotApplicable) {
    SlotMedicationForm form = formFor("");
    QStringList listed;
    for (const SlotMedicationChoice& choice : form.choices())
        listed << choice.name << QString(choice.code);
    EXPECT_EQ(listed, (QStringList{"Apidra", "A", "Humalog", "H", "NPH", "N", "N/A", QChar()}));
    EXPECT_EQ(form.notApplicableIndex(), 3);
    EXPECT_EQ(form.title(), "Medication for Lunch");
}

TEST_F(SlotMedicationTest, OpensWithTheSlotsDosesInTheRows) {
    SlotMedicationForm form = formFor("5H 2.5N");
    EXPECT_EQ(form.row(0).choice, indexOf(form, "Humalog"));
    EXPECT_EQ(form.row(0).amount, "5");
    EXPECT_TRUE(form.row(0).amountEnabled());
    EXPECT_EQ(form.row(1).choice, indexOf(form, "NPH"));
    EXPECT_EQ(form.row(1).amount, "2.5");
    EXPECT_EQ(form.row(2).choice, form.notApplicableIndex());
    EXPECT_EQ(form.row(2).amount, "");
    EXPECT_FALSE(form.row(2).amountEnabled());
    EXPECT_EQ(form.result(), "5H 2.5N");
}

TEST_F(SlotMedicationTest, DosesOfUnknownOrInactiveCodesShowNotApplicableAndAreDropped) {
    SlotMedicationForm form = formFor("3X 4L 2A 1H");
    EXPECT_EQ(form.row(0).choice, form.notApplicableIndex());
    EXPECT_EQ(form.row(0).amount, "");
    EXPECT_EQ(form.row(1).choice, form.notApplicableIndex());
    EXPECT_EQ(form.row(2).choice, indexOf(form, "Apidra"));
    EXPECT_EQ(form.invalidRow(), std::nullopt);
    // Only three doses fit; the fourth never shows.
    EXPECT_EQ(form.result(), "2A");
}

TEST_F(SlotMedicationTest, ARowWithoutMedicationIsSkippedInTheResult) {
    SlotMedicationForm form = formFor("");
    form.choose(0, indexOf(form, "Humalog"));
    form.setAmount(0, "5");
    form.choose(2, indexOf(form, "NPH"));
    form.setAmount(2, "2.5");
    EXPECT_EQ(form.invalidRow(), std::nullopt);
    EXPECT_EQ(form.result(), "5H 2.5N");
}

TEST_F(SlotMedicationTest, ChoosingFillsAnEmptyAmountAndNotApplicableEmptiesIt) {
    SlotMedicationForm form = formFor("");
    form.choose(1, indexOf(form, "Apidra"));
    EXPECT_EQ(form.row(1).amount, "0.0");
    EXPECT_TRUE(form.row(1).amountEnabled());
    form.setAmount(1, "7");
    form.choose(1, indexOf(form, "NPH")); // an amount typed stays
    EXPECT_EQ(form.row(1).amount, "7");
    form.choose(1, form.notApplicableIndex());
    EXPECT_EQ(form.row(1).amount, "");
    EXPECT_FALSE(form.row(1).amountEnabled());
    EXPECT_EQ(form.result(), "");
}

TEST_F(SlotMedicationTest, AmountsAreCheckedRowByRow) {
    SlotMedicationForm form = formFor("5H 2N 1A");
    for (const char* refused : {"1234", "1.234", "", "1.2.3", "5u"}) {
        form.setAmount(1, refused);
        EXPECT_EQ(form.invalidRow(), 1) << refused;
    }
    for (const char* accepted : {"12.5", "0.0", "999.99"}) {
        form.setAmount(1, accepted);
        EXPECT_EQ(form.invalidRow(), std::nullopt) << accepted;
    }
    form.setAmount(0, "1234");
    form.setAmount(2, "x");
    EXPECT_EQ(form.invalidRow(), 0); // the first failing row
}

TEST_F(SlotMedicationTest, ThreeLongDosesThatOverflowTheSlotAreRefusedNotCut) {
    SlotMedicationForm form = formFor("5H 2N 1A");
    EXPECT_TRUE(form.resultFits());
    form.setAmount(0, "12.5");
    form.setAmount(1, "12.5");
    form.setAmount(2, "2.5"); // "12.5H 12.5N 2.5A" is 16 characters
    EXPECT_EQ(form.invalidRow(), std::nullopt);
    EXPECT_FALSE(form.resultFits());
    form.setAmount(2, "25");
    EXPECT_TRUE(form.resultFits()); // "12.5H 12.5N 25A", exactly 15
}
