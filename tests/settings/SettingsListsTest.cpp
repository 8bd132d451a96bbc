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
}

TEST_F(SettingsLists, MeterAndBasalCellsFollowTheirColumns) {
    Meter meter;
    meter.setDesc("Primary Meter");
    meter.setMfg("Maker");
    meter.setModel("M1");
    EXPECT_EQ(meterCells(meter), (QStringList{"Primary Meter", "", "M1", "Maker"}));

    BasilRate rate;
    rate.setStartTime("13:30");
    rate.setBasilMedAmt("0.85");
    EXPECT_EQ(basalCells(rate, context->clock(), false), (QStringList{"1:30 pm", "0.85"}));
    standOnSpringForwardDay(); // 02:30 does not exist today, and must still show as stored
    rate.setStartTime("02:30");
    EXPECT_EQ(basalCells(rate, context->clock(), true), (QStringList{"02:30", "0.85"}));
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

TEST_F(SettingsLists, BasalDetailChecksTheRateThenTheTimeDeletedRowsIncluded) {
    addRate("06:00", "0.85"); // a row keeps its own time: see the basal dialog's test
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
    // One the handheld never knew goes at once (a known one: the medications page's test).
    ASSERT_TRUE(removeMedication(*db, prompts, addMedication("Lantus", "L")));
    EXPECT_TRUE(rows("select * from MEDICATION").empty());

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
