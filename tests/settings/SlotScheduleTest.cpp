#include "settings/SlotSchedule.h"
#include "SettingsTest.h"
#include "settings/SlotMedicationForm.h"

#include <algorithm>

namespace {

// 2026-03-14 (the fixture's today) at the given "hhmm".
std::time_t today(const char* hhmm) {
    return fromDateTimeText(QStringLiteral("20260314%1").arg(QLatin1String(hhmm)));
}

class SlotScheduleTest : public SettingsTest {
protected:
    // The usual eight slots, stored in time order so that PK k is the k-th slot.
    void addUsualSlots() {
        const char* times[] = {"0500", "0700", "0915", "1130", "1500", "1800", "2100", "2300"};
        const char* names[] = {"Early Am",  "Breakfast", "Mid Morning", "Lunch",
                               "Afternoon", "Dinner",    "Bedtime",     "Late Evening"};
        for (int i = 0; i < SlotSchedule::kSlotCount; ++i)
            addSlot(QString::fromLatin1(times[i]), QString::fromLatin1(names[i]),
                    i == 1 ? QStringLiteral("5H") : QString());
    }
    SlotSchedule loaded() {
        SlotSchedule schedule;
        schedule.load(*db, context->clock());
        return schedule;
    }
    std::vector<std::string> slotWrites() {
        std::vector<std::string> writes;
        for (const std::string& statement : takeStatements())
            if (statement.rfind("Update SAMPLE_TYPE", 0) == 0 ||
                statement.rfind("Insert into SAMPLE_TYPE", 0) == 0)
                writes.push_back(statement);
        return writes;
    }
};

} // namespace

// ---- Loading --------------------------------------------------------------------------

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
        EXPECT_EQ(schedule.slot(i).name, "");
        EXPECT_EQ(schedule.slot(i).medication, "");
        EXPECT_EQ(schedule.slot(i).time, 0);
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
    takeStatements();
    schedule.store(*db, prompts);
    EXPECT_EQ(rows("select pk, DESC from SAMPLE_TYPE where pk >= 8 order by pk"),
              (std::vector<std::string>{"8|Night", "9|Ninth"}));
}

TEST_F(SlotScheduleTest, AnUnreadableStartTimeLeavesTimeZero) {
    addSlot("2575", "Broken");
    EXPECT_EQ(loaded().slot(0).time, 0);
    EXPECT_EQ(loaded().slot(0).name, "Broken");
}

// ---- The time check -------------------------------------------------------------------

TEST_F(SlotScheduleTest, AMiddleSlotMustLieStrictlyBetweenItsNeighbours) {
    addUsualSlots();
    SlotSchedule schedule = loaded();
    schedule.setTime(2, today("0800"));
    schedule.setTime(3, today("0915"));
    const QString between = "Time must be after 07:00 AM and before 09:15 AM";
    EXPECT_EQ(schedule.timeRefusal(2, today("0700")), between);
    EXPECT_EQ(schedule.timeRefusal(2, today("0915")), between);
    EXPECT_EQ(schedule.timeRefusal(2, today("0630")), between);
    EXPECT_EQ(schedule.timeRefusal(2, today("1000")), between);
    EXPECT_EQ(schedule.timeRefusal(2, today("0701")), std::nullopt);
    EXPECT_EQ(schedule.timeRefusal(2, today("0914")), std::nullopt);
    // The check only answers; the slot keeps its time.
    EXPECT_EQ(schedule.slot(2).time, today("0800"));
}

TEST_F(SlotScheduleTest, TheLastSlotOnlyHasToFollowTheSeventh) {
    addUsualSlots();
    SlotSchedule schedule = loaded();
    const QString after = "Time must be after 09:00 PM";
    EXPECT_EQ(schedule.timeRefusal(7, today("2000")), after);
    EXPECT_EQ(schedule.timeRefusal(7, today("2100")), after);
    EXPECT_EQ(schedule.timeRefusal(7, today("2101")), std::nullopt);
    EXPECT_EQ(schedule.timeRefusal(7, today("2359")), std::nullopt);
}

TEST_F(SlotScheduleTest, TheSecondSlotIsCheckedAgainstTheFirstAndThird) {
    addUsualSlots();
    SlotSchedule schedule = loaded();
    EXPECT_EQ(schedule.timeRefusal(1, today("0500")),
              "Time must be after 05:00 AM and before 09:15 AM");
    EXPECT_EQ(schedule.timeRefusal(1, today("1200")),
              "Time must be after 05:00 AM and before 09:15 AM");
    EXPECT_EQ(schedule.timeRefusal(1, today("0501")), std::nullopt);
    EXPECT_EQ(schedule.timeRefusal(0, today("2300")), std::nullopt);
}

TEST_F(SlotScheduleTest, TimesAreWrittenOnTheTwelveHourClockEvenForMilitaryTime) {
    addUsualSlots();
    changePreference([](Preference& p) { p.setMilitaryTimeBol(true); });
    SlotSchedule schedule = loaded();
    EXPECT_EQ(schedule.timeRefusal(5, today("1000")),
              "Time must be after 03:00 PM and before 09:00 PM");
}

TEST_F(SlotScheduleTest, AtTimeOfDayKeepsTheDate) {
    EXPECT_EQ(SlotSchedule::atTimeOfDay(today("0700"), 23, 5), today("2305"));
    EXPECT_EQ(SlotSchedule::atTimeOfDay(today("2300"), 0, 0), today("0000"));
    EXPECT_EQ(SlotSchedule::storedTime(today("0905")), "0905");
}

// ---- Storing --------------------------------------------------------------------------

TEST_F(SlotScheduleTest, AnUnchangedScheduleWritesNoSlotAndKeepsTheStates) {
    addUsualSlots();
    ASSERT_TRUE(db->exec("update SAMPLE_TYPE set fk = 4, sync_state = 99 where pk = 3"));
    SlotSchedule schedule = loaded();
    takeStatements();
    schedule.store(*db, prompts);
    std::vector<std::string> statements = takeStatements();
    EXPECT_EQ(statements.size(), 8u);
    for (const std::string& statement : statements)
        EXPECT_EQ(statement.rfind("Select * from SAMPLE_TYPE where pk=", 0), 0u) << statement;
    EXPECT_EQ(rows("select pk, fk, sync_state from SAMPLE_TYPE where pk <= 4"),
              (std::vector<std::string>{"1|0|10", "2|0|10", "3|4|99", "4|0|10"}));
}

TEST_F(SlotScheduleTest, AChangedNameWritesOnlyThatSlotAsChanged) {
    addUsualSlots();
    SlotSchedule schedule = loaded();
    schedule.setName(3, "Noon's meal");
    takeStatements();
    schedule.store(*db, prompts);
    EXPECT_EQ(slotWrites(), (std::vector<std::string>{
                                "Update SAMPLE_TYPE set FK=0, SYNC_STATE=20, SAMPLE_TIME='1130', "
                                "DESC='Noon''s meal', MEDICATION_DOSAGE='' where pk=4"}));
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
    EXPECT_EQ(slotWrites(), (std::vector<std::string>{"Update SAMPLE_TYPE set FK=0, SYNC_STATE=20, "
                                                      "SAMPLE_TIME='0745', DESC='Breakfast', "
                                                      "MEDICATION_DOSAGE='' where pk=2",
                                                      "Update SAMPLE_TYPE set FK=0, SYNC_STATE=20, "
                                                      "SAMPLE_TIME='2100', DESC='Bedtime', "
                                                      "MEDICATION_DOSAGE='10N' where pk=7"}));
    // A second store of the same values finds nothing left to write.
    schedule.store(*db, prompts);
    EXPECT_TRUE(slotWrites().empty());
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
    std::vector<std::string> writes = slotWrites();
    ASSERT_EQ(writes.size(), 4u); // row 5 added, rows 6 to 8 take the slots that moved up
    EXPECT_EQ(writes[0], "Insert into SAMPLE_TYPE ( FK, SYNC_STATE, SAMPLE_TIME, DESC, "
                         "MEDICATION_DOSAGE) values ( 0, 10, '1800', 'Dinner', '')");
    EXPECT_EQ(writes[3], "Update SAMPLE_TYPE set FK=0, SYNC_STATE=20, SAMPLE_TIME='2330', "
                         "DESC='Night', MEDICATION_DOSAGE='' where pk=8");
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

// ---- The slot medication rows ---------------------------------------------------------

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
    std::vector<std::pair<QString, QChar>> listed;
    for (const SlotMedicationChoice& choice : form.choices())
        listed.emplace_back(choice.name, choice.code);
    EXPECT_EQ(listed, (std::vector<std::pair<QString, QChar>>{{"Apidra", QChar('A')},
                                                              {"Humalog", QChar('H')},
                                                              {"NPH", QChar('N')},
                                                              {"N/A", QChar()}}));
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
