#include "settings/SettingsLists.h"
#include "SettingsTest.h"

#include <QDate>

namespace {

class SettingsLists : public SettingsTest {
protected:
    // The letters A to Z without the given ones.
    static QStringList lettersWithout(const QString& taken) {
        QStringList letters;
        for (char c = 'A'; c <= 'Z'; ++c)
            if (!taken.contains(QLatin1Char(c)))
                letters << QString(QLatin1Char(c));
        return letters;
    }
};

template <class Ptr> QStringList namesOf(const std::vector<Ptr>& records, auto getter) {
    QStringList names;
    for (const auto& record : records)
        names << ((*record).*getter)();
    return names;
}

} // namespace

TEST_F(SettingsLists, MedicationCellsCountDaysLeftOnlyForActiveOnes) {
    // The clock stands at 2026-03-14 09:30: a vial opened on 03-04 for 28 days runs out at
    // the midnight starting 04-01, 17 days and some hours later; the part day is dropped.
    Medication opened;
    opened.setMedDesc("Humalog");
    opened.setMedCode("H");
    opened.setOpenDate("20260304");
    opened.setExpireDayCnt(28);
    opened.setRxOrderId("RX-1");
    EXPECT_EQ(medicationCells(opened, context->clock()),
              (QStringList{"Humalog", "*", "+", "H", "17", "RX-1"}));

    // Counted at midnight, ten days after opening, with no clock change on the way: 18.
    const FixedClock midnight{fromDateTimeText("20260211000000")};
    opened.setOpenDate("20260201");
    EXPECT_EQ(medicationCells(opened, midnight)[4], "18");

    // Expired 13 days and 9.5 hours ago: truncated toward zero, not down.
    opened.setOpenDate("20260201");
    EXPECT_EQ(medicationCells(opened, context->clock())[4], "-13");

    opened.setActiveBol(false);
    opened.setIncludeInTotalsBol(false);
    EXPECT_EQ(medicationCells(opened, context->clock()),
              (QStringList{"Humalog", "", "", "H", "", "RX-1"}));

    // Active but never opened: nothing to count down to.
    Medication unopened;
    EXPECT_EQ(medicationCells(unopened, context->clock())[4], "");
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

    addProtocol("20070301");
    addProtocol("20251231");
    addProtocol("20070101");
    EXPECT_EQ(namesOf(listedProtocols(*db), &ProtocolAbs::getEffectiveDate),
              (QStringList{"20251231", "20070301", "20070101"}));

    addRate("13:30", "1.0");
    addRate("06:00", "0.85");
    addRate("22:15", "0.5");
    EXPECT_EQ(namesOf(listedBasalRates(*db), &BasilRateAbs::getStartTime),
              (QStringList{"06:00", "13:30", "22:15"}));
    takeStatements();
    listedBasalRates(*db);
    EXPECT_EQ(takeStatements(), std::vector<std::string>{"Select * from BASIL_RATE  where "
                                                         "sync_state <> 30  order by START_TIME "
                                                         "asc"});
}

TEST_F(SettingsLists, CodeLettersLeaveOutThoseOfOtherLiveMedications) {
    const int humalog = addMedication("Humalog", "H");
    addMedication("Glargine", "G");
    addMedication("NPH", "N");
    const int deleted = addMedication("Old", "X", [](Medication& m) { m.setFk(9); });
    ASSERT_TRUE(MedicationTable::markDeleted(*db, deleted));

    EXPECT_EQ(freeCodeLetters(*db, 0), lettersWithout("GHN"));
    EXPECT_EQ(freeCodeLetters(*db, humalog), lettersWithout("GN"));
}

TEST_F(SettingsLists, TogglingActiveTwiceSavesTwiceAndEndsAsBefore) {
    const int pk = addMedication("Humalog", "H");
    takeStatements();
    ASSERT_TRUE(toggleMedicationFlag(*db, prompts, pk, MedicationFlag::Active));
    EXPECT_EQ(rows("select ACTIVE_BOL, INCLUDE_IN_TOTALS_BOL, SYNC_STATE from MEDICATION"),
              std::vector<std::string>{"F|T|20"});
    ASSERT_TRUE(toggleMedicationFlag(*db, prompts, pk, MedicationFlag::Active));
    EXPECT_EQ(rows("select ACTIVE_BOL, INCLUDE_IN_TOTALS_BOL, SYNC_STATE from MEDICATION"),
              std::vector<std::string>{"T|T|20"});

    int updates = 0;
    for (const std::string& statement : takeStatements())
        updates += statement.starts_with("Update MEDICATION set FK=0, SYNC_STATE=20, "
                                         "IS_INSULIN_BOL='T', ACTIVE_BOL=");
    EXPECT_EQ(updates, 2);

    ASSERT_TRUE(toggleMedicationFlag(*db, prompts, pk, MedicationFlag::IncludeInTotals));
    EXPECT_EQ(rows("select ACTIVE_BOL, INCLUDE_IN_TOTALS_BOL from MEDICATION"),
              std::vector<std::string>{"T|F"});
    EXPECT_FALSE(toggleMedicationFlag(*db, prompts, pk + 1, MedicationFlag::Active));
}

// Through the dialog: BasalRatesThroughTheRealDialogRefuseATimeInUse.
TEST_F(SettingsLists, BasalDetailLetsARowKeepItsTimeAndARefusalChangesNothing) {
    const std::time_t six = clockTimeToday("06:00", context->clock());
    BasilRate first;
    EXPECT_FALSE(takeBasalDetail(*db, prompts, first, "0.85", six));
    EXPECT_EQ(first.getStartTime() + "|" + first.getBasilMedAmt(), "06:00|0.85");
    ASSERT_TRUE(BasilRateTable::save(*db, first));
    EXPECT_FALSE(takeBasalDetail(*db, prompts, first, "0.9", six));

    BasilRate second;
    prompts.expect(kProgramCaption, "This time is already used");
    auto refused = takeBasalDetail(*db, prompts, second, "1.1", six);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->field, BasalField::Time);
    // The rate is checked first.
    BasilRate third;
    prompts.expect(kProgramCaption, "Invalid Dosage");
    refused = takeBasalDetail(*db, prompts, third, "1.234", six);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->field, BasalField::Rate);
    EXPECT_EQ(third.getStartTime() + third.getBasilMedAmt(), "");
}

TEST_F(SettingsLists, ADeletedRateStillHoldsItsTime) {
    const int pk = addRate("07:30", "1.0", 4);
    ASSERT_TRUE(removeBasalRate(*db, prompts, pk));
    EXPECT_EQ(rows("select SYNC_STATE from BASIL_RATE"), std::vector<std::string>{"30"});
    BasilRate rate;
    prompts.expect(kProgramCaption, "This time is already used");
    EXPECT_TRUE(
        takeBasalDetail(*db, prompts, rate, "1.0", clockTimeToday("07:30", context->clock())));
}

TEST_F(SettingsLists, RemovalFollowsEachTablesRule) {
    const int known = addMedication("Humalog", "H", [](Medication& m) { m.setFk(3); });
    const int local = addMedication("Lantus", "L");
    ASSERT_TRUE(removeMedication(*db, prompts, known));
    ASSERT_TRUE(removeMedication(*db, prompts, local));
    EXPECT_EQ(rows("select PK, SYNC_STATE from MEDICATION"),
              std::vector<std::string>{std::to_string(known) + "|30"});

    // Meters and protocols go at once, even when the handheld knows them.
    const int meter = addMeter("Pump", 7);
    ASSERT_TRUE(removeMeter(*db, prompts, meter));
    EXPECT_TRUE(rows("select * from METER").empty());
    const int protocol = addProtocol("20260101");
    ASSERT_TRUE(removeProtocol(*db, prompts, protocol));
    EXPECT_TRUE(rows("select * from PROTOCOL").empty());
    EXPECT_FALSE(removeProtocol(*db, prompts, protocol));
}

TEST_F(SettingsLists, AFailedStoreIsShownUnderDatabase) {
    Meter meter;
    ASSERT_TRUE(db->exec("drop table METER"));
    prompts.expect("Database");
    EXPECT_FALSE(storeListed<MeterTable>(*db, prompts, meter));
}

TEST_F(SettingsLists, PickerDatesComeFromTheStoredTextOrToday) {
    EXPECT_EQ(pickerDate("20070105", context->clock()), QDate(2007, 1, 5));
    EXPECT_EQ(pickerDate("", context->clock()), QDate(2026, 3, 14));
}
