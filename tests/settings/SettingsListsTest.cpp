#include "settings/SettingsLists.h"
#include "SettingsTest.h"

namespace {

class SettingsLists : public SettingsTest {};

template <class Ptr> QStringList namesOf(const std::vector<Ptr>& records, auto getter) {
    QStringList names;
    for (const auto& record : records)
        names << ((*record).*getter)();
    return names;
}

} // namespace

TEST_F(SettingsLists, MedicationCellsCountDaysLeftOnlyForActiveOnes) {
    Medication medication;
    medication.setMedDesc("Humalog");
    medication.setMedCode("H");
    medication.setExpireDayCnt(28);
    medication.setRxOrderId("RX-1");
    // The clock stands at 2026-03-14 09:30. Opened on 03-04 for 28 days, the vial runs out at
    // the midnight starting 04-01: 17 days and some hours, the part day dropped; expired 13
    // days and 9.5 hours ago is -13, truncated toward zero. Never opened: nothing to count.
    const std::pair<const char*, const char*> cases[] = {
        {"20260304", "17"}, {"20260201", "-13"}, {"", ""}};
    for (const auto& [opened, left] : cases) {
        medication.setOpenDate(opened);
        EXPECT_EQ(medicationCells(medication, context->clock()),
                  (QStringList{"Humalog", "*", "+", "H", left, "RX-1"}))
            << opened;
    }
    // Counted at midnight, ten days after opening: 18.
    medication.setOpenDate("20260201");
    EXPECT_EQ(medicationCells(medication, FixedClock{fromDateTimeText("20260211000000")})[4], "18");

    medication.setActiveBol(false);
    medication.setIncludeInTotalsBol(false);
    EXPECT_EQ(medicationCells(medication, context->clock()),
              (QStringList{"Humalog", "", "", "H", "", "RX-1"}));
}

TEST_F(SettingsLists, MeterProtocolAndBasalCellsFollowTheirColumns) {
    Meter meter;
    meter.setDesc("Primary Meter");
    meter.setMfg("Maker");
    meter.setModel("M1");
    EXPECT_EQ(meterCells(meter), (QStringList{"Primary Meter", "", "M1", "Maker"}));
    Protocol protocol;
    protocol.setEffectiveDate("20070105");
    EXPECT_EQ(protocolCells(protocol), QStringList{"January 05, 2007"});

    BasilRate rate;
    rate.setStartTime("13:30");
    rate.setBasilMedAmt("0.85");
    EXPECT_EQ(basalCells(rate, context->clock(), false), (QStringList{"1:30 pm", "0.85"}));
    EXPECT_EQ(basalCells(rate, context->clock(), true), (QStringList{"13:30", "0.85"}));
    rate.setStartTime("00:05");
    EXPECT_EQ(basalCells(rate, context->clock(), false)[0], "12:05 am");
}

TEST_F(SettingsLists, ListsComeInTheirOrderWithoutDeletedRows) {
    addMedication("Novolog", "N");
    addMedication("Apidra", "A");
    const int gone = addMedication("Byetta", "B", [](Medication& m) { m.setFk(5); });
    addMedication("Lantus", "L");
    ASSERT_TRUE(MedicationTable::markDeleted(*db, gone));
    EXPECT_EQ(namesOf(listedMedications(*db), &MedicationAbs::getMedDesc),
              (QStringList{"Apidra", "Lantus", "Novolog"}));

    addMeter("Pump");
    addMeter("Backup");
    EXPECT_EQ(namesOf(listedMeters(*db), &MeterAbs::getDesc), (QStringList{"Backup", "Pump"}));

    for (const char* date : {"20070301", "20251231", "20070101"})
        addProtocol(date);
    EXPECT_EQ(namesOf(listedProtocols(*db), &ProtocolAbs::getEffectiveDate),
              (QStringList{"20251231", "20070301", "20070101"}));

    addRate("13:30", "1.0");
    addRate("06:00", "0.85");
    const int deleted = addRate("05:00", "0.5", 4);
    ASSERT_TRUE(removeBasalRate(*db, prompts, deleted));
    EXPECT_EQ(namesOf(listedBasalRates(*db), &BasilRateAbs::getStartTime),
              (QStringList{"06:00", "13:30"}));
}

TEST_F(SettingsLists, CodeLettersLeaveOutThoseOfOtherLiveMedications) {
    const int humalog = addMedication("Humalog", "H");
    addMedication("Glargine", "G");
    addMedication("NPH", "N");
    const int deleted = addMedication("Old", "X", [](Medication& m) { m.setFk(9); });
    ASSERT_TRUE(MedicationTable::markDeleted(*db, deleted));
    for (const auto& [pk, taken] : {std::pair{0, "GHN"}, std::pair{humalog, "GN"}}) {
        QStringList expected;
        for (char c = 'A'; c <= 'Z'; ++c)
            if (!QString(taken).contains(QLatin1Char(c)))
                expected << QString(QLatin1Char(c));
        EXPECT_EQ(freeCodeLetters(*db, pk), expected) << taken;
    }
}

TEST_F(SettingsLists, TogglingAFlagTwiceSavesTwiceAndEndsAsBefore) {
    const int pk = addMedication("Humalog", "H");
    const std::pair<MedicationFlag, const char*> steps[] = {
        {MedicationFlag::Active, "F|T|20"},
        {MedicationFlag::Active, "T|T|20"},
        {MedicationFlag::IncludeInTotals, "T|F|20"}};
    for (const auto& [flag, stored] : steps) {
        ASSERT_TRUE(db->exec("update MEDICATION set sync_state = 10"));
        ASSERT_TRUE(toggleMedicationFlag(*db, prompts, pk, flag));
        EXPECT_EQ(rows("select ACTIVE_BOL, INCLUDE_IN_TOTALS_BOL, SYNC_STATE from MEDICATION"),
                  Rows{stored});
    }
    EXPECT_FALSE(toggleMedicationFlag(*db, prompts, pk + 1, MedicationFlag::Active));
}

TEST_F(SettingsLists, BasalDetailChecksTheRateThenTheTimeDeletedRowsIncluded) {
    BasilRate first;
    EXPECT_FALSE(takeBasalDetail(*db, prompts, first, "0.85", "06:00"));
    EXPECT_EQ(first.getStartTime() + "|" + first.getBasilMedAmt(), "06:00|0.85");
    ASSERT_TRUE(BasilRateTable::save(*db, first));
    EXPECT_FALSE(takeBasalDetail(*db, prompts, first, "0.9", "06:00")); // its own time
    ASSERT_TRUE(removeBasalRate(*db, prompts, addRate("07:30", "1.0", 4)));

    const struct {
        const char* amount;
        const char* start;
        const char* message;
        BasalField field;
    } refused[] = {{"1.1", "06:00", "This time is already used", BasalField::Time},
                   {"1.0", "07:30", "This time is already used", BasalField::Time},
                   {"1.234", "06:00", "Invalid Dosage", BasalField::Rate}};
    for (const auto& c : refused) {
        BasilRate rate;
        prompts.expect(kProgramCaption, c.message);
        const auto refusal = takeBasalDetail(*db, prompts, rate, c.amount, c.start);
        ASSERT_TRUE(refusal) << c.amount;
        EXPECT_EQ(refusal->field, c.field) << c.amount;
    }
}

TEST_F(SettingsLists, RemovalFollowsEachTablesRuleAndAFailureIsShownUnderDatabase) {
    const int known = addMedication("Humalog", "H", [](Medication& m) { m.setFk(3); });
    const int local = addMedication("Lantus", "L");
    ASSERT_TRUE(removeMedication(*db, prompts, known));
    ASSERT_TRUE(removeMedication(*db, prompts, local));
    EXPECT_EQ(rows("select PK, SYNC_STATE from MEDICATION"), Rows{std::to_string(known) + "|30"});

    // Meters and protocols go at once, even when the handheld knows them.
    ASSERT_TRUE(removeMeter(*db, prompts, addMeter("Pump", 7)));
    EXPECT_TRUE(rows("select * from METER").empty());
    const int protocol = addProtocol("20260101");
    ASSERT_TRUE(removeProtocol(*db, prompts, protocol));
    EXPECT_TRUE(rows("select * from PROTOCOL").empty());
    EXPECT_FALSE(removeProtocol(*db, prompts, protocol));

    Meter meter;
    ASSERT_TRUE(db->exec("drop table METER"));
    prompts.expect("Database");
    EXPECT_FALSE(storeListed<MeterTable>(*db, prompts, meter));
}
