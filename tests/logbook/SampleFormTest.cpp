#include "logbook/SampleForm.h"
#include "LogbookFixture.h"

namespace {

// Slots Breakfast from 0700 (usually 6 of H) and Lunch from 1130 (4 of H and 2 of N); the
// medications Humalog (H) and NPH (N) are active, Lantus (G) is not. Now is 15 March 2007,
// 12:00.
class SampleFormTest : public LogbookContextTest {
protected:
    void SetUp() override {
        LogbookTest::SetUp();
        addMedication("Humalog", "H");
        addMedication("NPH", "N");
        addMedication("Lantus", "G", [](Medication& m) { m.setActiveBol(false); });
        breakfast = addSlot("0700", "Breakfast", "6H");
        lunch = addSlot("1130", "Lunch", "4H 2N");
        changePreference([](Preference& p) {
            p.setGlucoseSampleCode(kGlucoseUnitMgDl);
            p.setDeliveryCode(kDeliveryOral);
        });
        openContext("20070315120000");
    }

    std::unique_ptr<SampleForm> open(const QString& time, const QString& doses = {}) {
        Sample entry;
        entry.setSampleTime(time);
        entry.setMedicationDosage(doses);
        return std::make_unique<SampleForm>(*context, entry);
    }
    std::unique_ptr<SampleForm> reopen(int pk) {
        auto entry = SampleTable::getByPk(*db, pk);
        EXPECT_TRUE(entry);
        return std::make_unique<SampleForm>(*context, *entry);
    }
    // The check refuses the form with this message.
    void expectRefused(SampleForm& form, const QString& text) {
        prompts.expect("Quillmarch", text);
        EXPECT_FALSE(form.check()) << text.toStdString();
    }
    // Checks the form and stores it: the entry's PK, 0 when the form was refused.
    static int save(SampleForm& form) {
        const bool accepted = form.check();
        EXPECT_TRUE(accepted) << "the form was refused";
        return accepted ? form.store() : 0;
    }
    // The stored entry; an empty one, with a failure, when there is none.
    Sample stored(int pk) {
        auto entry = SampleTable::getByPk(*db, pk);
        EXPECT_TRUE(entry) << "no entry " << pk;
        return entry ? *entry : Sample();
    }

    int breakfast = 0;
    int lunch = 0;
};

// The dose rows as amount and code ("6H"), "None" for a row without a medication; an amount
// that is enabled while empty, or disabled while filled, is marked with "!".
QStringList shownRows(const SampleForm& form) {
    QStringList shown;
    for (int row = 0; row < SampleForm::kRowCount; ++row) {
        const auto& r = form.row(row);
        shown << (r.code.isNull() ? "None" + r.amount : r.amount + r.code) +
                     (r.amountEnabled == r.amount.isEmpty() ? "!" : "");
    }
    return shown;
}

} // namespace

TEST_F(SampleFormTest, ANewEntryTakesTheSlotInForceAndItsUsualDosesAgainWhenTheTimeChanges) {
    auto form = open("20070315071000");
    EXPECT_EQ(form->slotPk(), breakfast);
    EXPECT_EQ(shownRows(*form), (QStringList{"6H", "None", "None", "None"}));
    EXPECT_EQ(form->medicationTime(), QTime(7, 10));
    form->entryTimeLeft(true); // same slot, same doses: OK is not held back
    EXPECT_TRUE(form->check());

    // Leaving the time by clicking OK fills in other doses: that click only shows them.
    form->setEntryTime(QDate(2007, 3, 15), QTime(11, 45));
    form->entryTimeLeft(true);
    EXPECT_EQ(form->slotPk(), lunch);
    EXPECT_EQ(shownRows(*form), (QStringList{"4H", "2N", "None", "None"}));
    prompts.expect("Quillmarch", SampleForm::kDosesFilledText);
    EXPECT_FALSE(form->check());
    prompts.verify();

    save(*form);
    EXPECT_EQ(rows("select SAMPLE_TYPE_PK, MEDICATION_DOSAGE, INSULIN_TIME, DELIVERY_CODE, "
                   "SYNC_STATE from SAMPLE"),
              std::vector<std::string>{std::to_string(lunch) + "|4H 2N|20070315114500|2|10"});
}

TEST_F(SampleFormTest, DosesAlreadyGivenAndExistingEntriesAreNotReplacedBySlotDefaults) {
    // Doses from the bolus calculator: the slot is chosen, the doses stay.
    auto calculated = open("20070315071000", "3N");
    EXPECT_EQ(calculated->slotPk(), breakfast);
    EXPECT_EQ(shownRows(*calculated), (QStringList{"3N", "None", "None", "None"}));

    int pk = addEntry("20070315071000", 100, [&](Sample& e) {
        e.setSampleTypePk(breakfast);
        e.setMedicationDosage("5H");
        e.setInsulinTime("20070315070500");
        e.setDeliveryCode(kDeliveryPump);
    });
    auto existing = reopen(pk);
    existing->setEntryTime(QDate(2007, 3, 15), QTime(11, 45));
    existing->entryTimeLeft(true);
    EXPECT_EQ(existing->slotPk(), breakfast);
    EXPECT_EQ(shownRows(*existing), (QStringList{"5H", "None", "None", "None"}));
    EXPECT_EQ(existing->medicationTime(), QTime(7, 5));
    EXPECT_EQ(stored(save(*existing)).getDeliveryCode(), kDeliveryPump);
}

TEST_F(SampleFormTest, RefusalsComeInOrderWithTheirMessagesAndStoreNothing) {
    auto form = open("20070315071000");
    form->setEntryTime(QDate(2007, 3, 15), QTime(12, 1));
    form->setGlucose("12.5");
    form->selectMedication(1, u'H');
    form->setAmount(1, "1234");

    expectRefused(*form, "You can not create a log entry for the future");
    form->setEntryTime(QDate(2007, 3, 15), QTime(12, 0));
    expectRefused(*form, "Invalid Glucose entry");
    form->setGlucose("120");
    expectRefused(*form, "Invalid Dosage");
    EXPECT_EQ(form->focusRow(), 1);
    form->setAmount(1, "1.234");
    expectRefused(*form, "Invalid Dosage");
    form->setAmount(1, "12.25");
    form->selectMedication(3, u'N');
    form->setAmount(3, "");
    expectRefused(*form, "Invalid Dosage");
    EXPECT_EQ(form->focusRow(), 3);
    EXPECT_EQ(rows("select (select count(*) from SAMPLE) + count(*) from SAMPLE_DATE"),
              std::vector<std::string>{"0"});
    form->setAmount(3, "1");
    int pk = save(*form);
    EXPECT_EQ(rows("select GLUCOSE_CNT, MEDICATION_DOSAGE, CORRECTION_DOSAGE from SAMPLE"),
              std::vector<std::string>{"120|6H 12.25H|1N"});
    EXPECT_GT(pk, 0);
}

TEST_F(SampleFormTest, DosesTheRowsCannotShowAreStoredAgainAndOverlongListsAreRefused) {
    int pk = addEntry("20070315090000", 0, [](Sample& e) {
        e.setMedicationDosage("100.5H 3G 1N 2H");
        e.setCorrectionDosage("1H 2N");
        e.setInsulinTime("20070315090000");
    });
    auto form = reopen(pk);
    EXPECT_EQ(shownRows(*form), (QStringList{"100.5H", "1N", "2H", "1H"}));
    EXPECT_EQ(form->keptMedicationDoses(), "3G");
    EXPECT_EQ(form->keptCorrectionDoses(), "2N");
    save(*form);
    EXPECT_EQ(stored(pk).getMedicationDosage(), "100.5H 1N 2H 3G");
    EXPECT_EQ(stored(pk).getCorrectionDosage(), "1H 2N");

    auto longer = reopen(pk);
    longer->setAmount(1, "10");
    expectRefused(*longer, SampleForm::kDosageTooLongText);
    EXPECT_EQ(stored(pk).getMedicationDosage(), "100.5H 1N 2H 3G");

    // Rows compose in row order, skipping "None"; without doses there is no insulin time.
    auto form2 = open("20070315090000");
    form2->selectMedication(0, u'H');
    form2->setAmount(0, "5");
    form2->selectMedication(2, u'N');
    form2->setAmount(2, "2");
    form2->setMedicationTime(QTime(8, 50));
    int fresh = save(*form2);
    EXPECT_EQ(stored(fresh).getMedicationDosage() + stored(fresh).getInsulinTime(),
              "5H 2N20070315085000");
    auto none = reopen(fresh);
    for (int row = 0; row < SampleForm::kRowCount; ++row)
        none->selectMedication(row, QChar());
    save(*none);
    EXPECT_EQ(stored(fresh).getMedicationDosage() + stored(fresh).getInsulinTime(), "");
}

TEST_F(SampleFormTest, MillimolesAreShownAndStoredInTenths) {
    changePreference([](Preference& p) { p.setGlucoseSampleCode(kGlucoseUnitMmol); });
    EXPECT_EQ(reopen(addEntry("20070315090000", 65))->glucose(), "6.5");
    // Whole millimoles get their tenths when the field is left, or confirmed without leaving.
    for (auto [typed, left, tenths] : {std::tuple{"7", "7.0", 70}, std::tuple{"6.", "6.0", 60}}) {
        auto form = open("20070315080000");
        form->setGlucose(typed);
        EXPECT_EQ(stored(save(*form)).getGlucoseCnt(), tenths) << typed;
        form->setGlucose(typed);
        form->glucoseLeft();
        EXPECT_EQ(form->glucose(), left);
    }
    auto tooFine = open("20070315090000");
    tooFine->setGlucose("6.55");
    expectRefused(*tooFine, "Invalid Glucose entry");
}

TEST_F(SampleFormTest, AMovedEntrySummarizesBothDaysAndAFirstEntryCreatesItsDay) {
    int march14 = addDay("20070314");
    addEntry("20070314080000", 100);
    int moved = addEntry("20070314180000", 200);
    auto form = reopen(moved);
    form->setEntryTime(QDate(2007, 3, 15), QTime(8, 0));
    save(*form);
    EXPECT_EQ(rows("select SAMPLE_DATE, TTL_SAMPLE_CNT, AVG_GLUCOSE_CNT, SUMMARY_STATE from "
                   "SAMPLE_DATE order by SAMPLE_DATE"),
              (std::vector<std::string>{"20070314|1|100|2", "20070315|1|200|2"}));
    EXPECT_NE(stored(moved).getSampleDatePk(), march14);

    // A new entry preset on the 13th but stored on the 12th: only the 12th gets a day.
    auto fresh = open("20070313090000");
    fresh->setEntryTime(QDate(2007, 3, 12), QTime(9, 0));
    save(*fresh);
    EXPECT_EQ(rows("select SAMPLE_DATE, TTL_SAMPLE_CNT from SAMPLE_DATE where SAMPLE_DATE < "
                   "'20070314' order by SAMPLE_DATE"),
              std::vector<std::string>{"20070312|1"});
}

TEST_F(SampleFormTest, UntouchedTimesAreStoredAgainExactly) {
    int pk = addEntry("20070315071035", 100);
    auto form = reopen(pk);
    form->setEntryTime(QDate(2007, 3, 15), QTime(7, 10));
    form->setGlucose("110");
    save(*form);
    EXPECT_EQ(stored(pk).getSampleTime(), "20070315071035");
    auto moved = reopen(pk);
    moved->setEntryTime(QDate(2007, 3, 15), QTime(7, 11, 35));
    save(*moved);
    EXPECT_EQ(stored(pk).getSampleTime(), "20070315071100");

    // Insulin given before midnight for an entry after it keeps its date until it is changed.
    int late = addEntry("20070315001000", 100, [](Sample& e) {
        e.setMedicationDosage("2H");
        e.setInsulinTime("20070314235000");
    });
    auto untouched = reopen(late);
    untouched->setGlucose("90");
    save(*untouched);
    EXPECT_EQ(stored(late).getInsulinTime(), "20070314235000");
    auto retimed = reopen(late);
    retimed->setMedicationTime(QTime(0, 5));
    save(*retimed);
    EXPECT_EQ(stored(late).getInsulinTime(), "20070315000500");
}

TEST_F(SampleFormTest, NotesAreCreatedForTheEntryChangedAndRemoved) {
    Sample fresh;
    fresh.setSampleTime("20070315090000");
    SampleForm form(*context, fresh, "From the calculator");
    EXPECT_EQ(form.notes(), "From the calculator");
    int pk = save(form);
    const int notePk = stored(pk).getNotePk();
    EXPECT_EQ(rows("select PK, NOTE_TYPE, OWNER_PK, TEXT, SYNC_STATE from NOTE"),
              std::vector<std::string>{std::to_string(notePk) + "|0|" + std::to_string(pk) +
                                       "|From the calculator|10"});
    for (const char* text : {"Pizza\r\nlate", ""}) {
        auto changed = reopen(pk);
        changed->setNotes(text);
        save(*changed);
        EXPECT_EQ(rows("select group_concat(PK || TEXT) from NOTE"),
                  std::vector<std::string>{*text ? std::to_string(notePk) + text : "NULL"});
        EXPECT_EQ(stored(pk).getNotePk(), *text ? notePk : 0);
    }
}

// Glucose and carbohydrates typed into an entry of 100 mg/dL and 30 g: stored exactly
// ("glucose|carbs") or refused with the range, the entry left as it was.
TEST_F(SampleFormTest, NumbersAreStoredAsTypedOrRefusedWithTheirRange) {
    const QString carbs = "Carbohydrates must be a whole number between 0 and 999 grams.";
    const QString noReading = " Enter 0 or nothing for an entry without a reading.";
    const struct {
        const char *glucose, *carbs;
        int unit;
        QString outcome;
    } cases[] = {
        {"100", "12.7", 0, carbs},
        {"100", "-5", 0, carbs},
        {"100", "1000", 0, carbs},
        {"100", "4a", 0, carbs},
        {"100", "99999999999", 0, carbs},
        {"100", "", 0, "100|0"},
        {"0", " 999 ", 0, "0|999"},
        {"999", "30", 0, "999|30"},
        {"55.5", "30", 1, "555|30"},
        {"99999", "30", 0, "Glucose must be a whole number between 1 and 999 mg/dL." + noReading},
        {"55.6", "30", 1, "Glucose must lie between 0.1 and 55.5 mmol/L." + noReading}};
    int minute = 0;
    for (const auto& c : cases) {
        changePreference([&](Preference& p) { p.setGlucoseSampleCode(c.unit); });
        const int pk = addEntry(QString("200703150900%1").arg(minute++, 2, 10, QChar('0')), 100,
                                [](Sample& e) { e.setCarbCnt(30); });
        auto form = reopen(pk);
        form->setGlucose(c.glucose);
        form->setCarbs(c.carbs);
        const bool stores = c.outcome.contains('|');
        stores ? void(save(*form)) : expectRefused(*form, c.outcome);
        EXPECT_EQ(form->focusRow(), stores               ? -1
                                    : c.outcome == carbs ? SampleForm::kCarbsFocus
                                                         : SampleForm::kGlucoseFocus);
        EXPECT_EQ(QString("%1|%2").arg(stored(pk).getGlucoseCnt()).arg(stored(pk).getCarbCnt()),
                  stores ? c.outcome : "100|30")
            << c.glucose << " " << c.carbs;
    }
}
