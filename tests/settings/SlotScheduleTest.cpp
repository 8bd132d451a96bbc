#include "settings/SlotSchedule.h"
#include "SettingsTest.h"
#include "settings/SlotMedicationForm.h"

namespace {

class SlotScheduleTest : public SettingsTest {
protected:
    SlotSchedule loaded() {
        SlotSchedule schedule;
        schedule.load(*db);
        return schedule;
    }
};

} // namespace

TEST_F(SlotScheduleTest, LoadsUpToEightLiveRowsInTimeOrder) {
    addUsualSlots();
    addSlot("2359", "Ninth");
    const int gone = addSlot("0600", "Gone");
    ASSERT_TRUE(db->exec("update SAMPLE_TYPE set sync_state = 30 where pk = %d", gone));
    SlotSchedule schedule = loaded();
    QStringList shown;
    for (int i = 0; i < SlotSchedule::kSlotCount; ++i)
        shown << schedule.slot(i).name + " " + schedule.slot(i).startTime().toString("hhmm") + " " +
                     schedule.slot(i).medication;
    EXPECT_EQ(shown, (QStringList{"Early Am 0500 ", "Breakfast 0700 5H", "Mid Morning 0915 ",
                                  "Lunch 1130 ", "Afternoon 1500 ", "Dinner 1800 ", "Bedtime 2100 ",
                                  "Late Evening 2300 "}));
}

TEST_F(SlotScheduleTest, ASlotMustLieStrictlyBetweenItsNeighboursNamedOnTheTwelveHourClock) {
    addUsualSlots();
    changePreference([](Preference& p) { p.setMilitaryTimeBol(true); });
    SlotSchedule schedule = loaded();
    schedule.setTime(3, QTime(11, 0)); // checked against the time being edited
    const struct {
        int slot;
        QStringList refused, accepted;
        const char* message;
    } cases[] = {
        {2, {"0700", "1100", "0630"}, {"0701", "1059"}, "after 07:00 AM and before 11:00 AM"},
        {1, {"0500"}, {"0501"}, "after 05:00 AM and before 09:15 AM"},
        {7, {"2100"}, {"2101"}, "after 09:00 PM"}, // the last slot only follows the 7th
        {5, {"1000"}, {"1501"}, "after 03:00 PM and before 09:00 PM"},
        {0, {}, {"2300"}, ""}};
    for (const auto& c : cases) {
        for (const QString& time : c.refused)
            EXPECT_EQ(schedule.timeRefusal(c.slot, QTime::fromString(time, "hhmm")),
                      "Time must be " + QString(c.message))
                << c.slot << " " << time.toStdString();
        for (const QString& time : c.accepted)
            EXPECT_FALSE(schedule.timeRefusal(c.slot, QTime::fromString(time, "hhmm"))) << c.slot;
    }
    // The check only answers; the slot keeps its time.
    EXPECT_EQ(schedule.slot(2).start.text(), "0915");
}

TEST_F(SlotScheduleTest, AnUnchangedScheduleWritesNothingEvenWhenTheClockSpringsForward) {
    addUsualSlots();
    ASSERT_TRUE(db->exec("update SAMPLE_TYPE set SAMPLE_TIME='0100' where pk=1"));
    ASSERT_TRUE(db->exec("update SAMPLE_TYPE set SAMPLE_TIME='0230' where pk=2"));
    ASSERT_TRUE(db->exec("update SAMPLE_TYPE set fk=4, sync_state=99 where pk=3"));
    ASSERT_TRUE(db->exec("update SAMPLE_TYPE set SAMPLE_TIME='2575' where pk=8")); // no time
    standOnSpringForwardDay();
    SlotSchedule schedule = loaded();
    EXPECT_EQ(schedule.slot(1).startTime(), QTime(2, 30));
    schedule.setTime(1, QTime(2, 30)); // the picker passed through, showing the same time
    schedule.store(*db, prompts);
    // Only the row with a state of its own is listed: nothing was written.
    EXPECT_EQ(changedSlots(), Rows{"3|0915|Mid Morning||99"});
}

TEST_F(SlotScheduleTest, OnlyChangedSlotsAreWrittenAndMarkedChanged) {
    addUsualSlots();
    SlotSchedule schedule = loaded();
    schedule.setName(3, "Noon's meal");
    schedule.setMedication(6, "10N");
    schedule.setTime(1, QTime(7, 45));
    schedule.setMedication(1, ""); // was "5H"
    schedule.store(*db, prompts);
    EXPECT_EQ(changedSlots(),
              (Rows{"2|0745|Breakfast||20", "4|1130|Noon's meal||20", "7|2100|Bedtime|10N|20"}));
    // A second store of the same values finds nothing left to write.
    ASSERT_TRUE(db->exec("update SAMPLE_TYPE set sync_state=10"));
    schedule.store(*db, prompts);
    EXPECT_TRUE(changedSlots().empty());
}

TEST_F(SlotScheduleTest, AMissingRowIsStoredAsANewRow) {
    addUsualSlots();
    ASSERT_TRUE(db->exec("delete from SAMPLE_TYPE where pk = 5"));
    SlotSchedule schedule = loaded(); // slots 5 to 7 move up, the eighth is empty
    schedule.setName(7, "Night");
    schedule.setTime(7, QTime(23, 30));
    schedule.store(*db, prompts);
    EXPECT_EQ(changedSlots(), (Rows{"6|2100|Bedtime||20", "7|2300|Late Evening||20",
                                    "8|2330|Night||20", "9|1800|Dinner||10"}));
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
    EXPECT_EQ(changedSlots(), Rows{"3|0915|Good||20"});
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
    // Each row as "choice:amount" with the choice's code, "-" for N/A; "*" marks an amount
    // that can be typed into.
    static QStringList shown(const SlotMedicationForm& form) {
        QStringList rows;
        for (int r = 0; r < SlotMedicationForm::kRowCount; ++r) {
            const QChar code = form.choices().at(size_t(form.row(r).choice)).code;
            rows << (code.isNull() ? QStringLiteral("-") : QString(code)) + ":" +
                        form.row(r).amount + (form.row(r).amountEnabled() ? "*" : "");
        }
        return rows;
    }
};

} // namespace

TEST_F(SlotMedicationTest, OpensWithTheKnownDosesOfTheSlotAndGivesThemBack) {
    const struct {
        const char* medication;
        QStringList rows;
        const char* result;
    } cases[] = {
        {"5H 2.5N", {"H:5*", "N:2.5*", "-:"}, "5H 2.5N"},
        {"12.25H 100.5N", {"H:12.25*", "N:100.5*", "-:"}, "12.25H 100.5N"}, // amounts whole
        // Unknown or inactive codes show N/A and are dropped; a fourth dose never shows.
        {"3X 4L 2A 1H", {"-:", "-:", "A:2*"}, "2A"},
        {"", {"-:", "-:", "-:"}, ""},
    };
    // The active medications by name, then "N/A".
    QStringList listed;
    const SlotMedicationForm empty = formFor("");
    for (const SlotMedicationChoice& choice : empty.choices())
        listed << choice.name + QString(choice.code);
    EXPECT_EQ(listed, (QStringList{"ApidraA", "HumalogH", "NPHN", "N/A" + QString(QChar())}));
    for (const auto& c : cases) {
        SlotMedicationForm form = formFor(c.medication);
        EXPECT_EQ(shown(form), c.rows) << c.medication;
        EXPECT_EQ(form.result(), c.result) << c.medication;
    }
}

TEST_F(SlotMedicationTest, ChoosingFillsAnEmptyAmountAndNotApplicableEmptiesIt) {
    SlotMedicationForm form = formFor("");
    form.choose(2, 2); // NPH
    EXPECT_EQ(shown(form), (QStringList{"-:", "-:", "N:0.0*"}));
    form.setAmount(2, "7");
    form.choose(2, 0); // an amount typed stays
    EXPECT_EQ(form.result(), "7A");
    form.choose(2, form.notApplicableIndex());
    EXPECT_EQ(shown(form), (QStringList{"-:", "-:", "-:"}));
}

TEST_F(SlotMedicationTest, AmountsAreCheckedRowByRowAndMustFitTheSlot) {
    SlotMedicationForm form = formFor("5H 2N 1A");
    for (const char* refused : {"1234", "1.234", ""}) {
        form.setAmount(1, refused);
        EXPECT_EQ(form.invalidRow(), 1) << refused;
    }
    form.setAmount(0, "x");
    EXPECT_EQ(form.invalidRow(), 0); // the first failing row
    form.setAmount(0, "12.5");
    form.setAmount(1, "12.5");
    EXPECT_EQ(form.invalidRow(), std::nullopt);
    form.setAmount(2, "2.5"); // "12.5H 12.5N 2.5A" is 16 characters
    EXPECT_FALSE(form.resultFits());
    form.setAmount(2, "25");
    EXPECT_TRUE(form.resultFits()); // "12.5H 12.5N 25A", exactly 15
}
