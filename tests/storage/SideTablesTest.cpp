#include "storage/A1cTable.h"
#include "storage/BasilRateTable.h"
#include "storage/BloodPressureTable.h"
#include "storage/CarbsTable.h"
#include "storage/Clock.h"
#include "storage/Conversions.h"
#include "storage/MedicationTable.h"
#include "storage/MeterTable.h"
#include "storage/NoteTable.h"
#include "storage/PreferenceTable.h"
#include "storage/ProtocolTable.h"
#include "storage/QbPreferenceTable.h"
#include "storage/QbRatioTable.h"
#include "storage/QbSensitivityTable.h"
#include "storage/QbTargetTable.h"
#include "storage/SampleDateTable.h"
#include "storage/SampleTable.h"
#include "storage/SampleTypeTable.h"
#include "support/TestDatabase.h"

#include <QDate>
#include <span>
#include <string>
#include <vector>

using Rows = std::vector<std::string>;

// ---- Table creation ------------------------------------------------------------------------

class TableCreation : public DatabaseTest {
protected:
    // A view under the table's name survives "drop table" and makes the CREATE fail.
    template <class Table>
    void expectCaptionOnFailure(const std::string& name, const char* caption) {
        ASSERT_TRUE(db->exec(("create view " + name + " as select 1 as PK").c_str()));
        prompts.expect(caption, QString::fromStdString("view " + name + " already exists"));
        EXPECT_FALSE(Table::createTable(*db)) << name;
        prompts.verify();
    }
};

TEST_F(TableCreation, DropsThenCreatesWithTheExactSchemaText) {
    takeStatements();
    ASSERT_TRUE(CarbsTable::createTable(*db));
    ASSERT_TRUE(BloodPressureTable::createTable(*db));
    EXPECT_EQ(takeStatements(),
              (Rows{"drop table CARBS",
                    "CREATE TABLE CARBS ( pk integer primary key, fk integer,catagory "
                    "integer, sync_state integer, carb_name varchar(25), carb_cnt integer )",
                    "drop table BLOOD_PRESSURE",
                    "create table BLOOD_PRESSURE ( PK INTEGER PRIMARY KEY, FK INTEGER, "
                    "SYNC_STATE INTEGER, BP_TIME TIMESTAMP, SYSTOLIC INTEGER, DIASTOLIC "
                    "INTEGER, PULSE INTEGER, NOTE_PK INTEGER, WEIGHT VARCHAR(6) )"}));
    // Creating again replaces the table and its rows.
    Carbs apple;
    ASSERT_TRUE(CarbsTable::save(*db, apple));
    ASSERT_TRUE(CarbsTable::createTable(*db));
    EXPECT_EQ(rows("select count(*) from CARBS"), Rows{"0"});
}

TEST_F(TableCreation, FailureShowsTheTablesCaption) {
    expectCaptionOnFailure<A1cTable>("A1C", "Create Table A1c");
    expectCaptionOnFailure<CarbsTable>("CARBS", "Create Table Carbs");
    expectCaptionOnFailure<BloodPressureTable>("BLOOD_PRESSURE", "Create Table BloodPressure");
    expectCaptionOnFailure<MedicationTable>("MEDICATION", "Create Table Medication");
    expectCaptionOnFailure<MeterTable>("METER", "Create Table Meter");
    expectCaptionOnFailure<ProtocolTable>("PROTOCOL", "Create Table Protocol");
    expectCaptionOnFailure<BasilRateTable>("BASIL_RATE", "Create Table BasilRate");
    expectCaptionOnFailure<PreferenceTable>("PREFERENCE", "Create Table Preference");
    expectCaptionOnFailure<SampleTable>("SAMPLE", "Create Table Sample");
    expectCaptionOnFailure<SampleDateTable>("SAMPLE_DATE", "Create Table SampleDate");
    expectCaptionOnFailure<SampleTypeTable>("SAMPLE_TYPE", "Create Table SampleType");
    expectCaptionOnFailure<NoteTable>("NOTE", "Create Table Note");
    expectCaptionOnFailure<QbPreferenceTable>("QB_PREFERENCE", "Create Table QbPreference");
    expectCaptionOnFailure<QbRatioTable>("QB_RATIO", "Create Table QbRatio");
    expectCaptionOnFailure<QbSensitivityTable>("QB_SENSITIVITY", "Create Table QbSensitivity");
    expectCaptionOnFailure<QbTargetTable>("QB_TARGET", "Create Table QbTarget");
}

// ---- The tables at work --------------------------------------------------------------------

class SideTables : public DatabaseTest {
protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        for (bool created :
             {A1cTable::createTable(*db), CarbsTable::createTable(*db),
              BloodPressureTable::createTable(*db), MedicationTable::createTable(*db),
              MeterTable::createTable(*db), ProtocolTable::createTable(*db),
              BasilRateTable::createTable(*db), NoteTable::createTable(*db)})
            ASSERT_TRUE(created);
        takeStatements();
    }

    int count(const char* table) {
        return std::stoi(rows(("select count(*) from " + std::string(table)).c_str()).at(0));
    }

    std::unique_ptr<Medication> medication(const QString& code, const QString& name) {
        auto m = std::make_unique<Medication>();
        m->setMedCode(code);
        m->setMedDesc(name);
        return m;
    }

    void addMedications(const QString& codes) {
        for (QChar c : codes)
            ASSERT_TRUE(MedicationTable::save(*db, *medication(QString(c), QString("Med ") + c)));
    }

    Protocol addProtocol(const QString& date, const QString& text) {
        Protocol p;
        p.setEffectiveDate(date);
        p.setText(text);
        EXPECT_TRUE(ProtocolTable::save(*db, p));
        return p;
    }

    // Saves a record the handheld knows (FK 5) and one it never had, and removes both; the
    // list then shows neither.
    template <class Table, class Record> void removeKnownAndLocal() {
        Record known;
        Record local;
        known.setFk(5);
        ASSERT_TRUE(Table::save(*db, known));
        ASSERT_TRUE(Table::save(*db, local));
        EXPECT_TRUE(Table::remove(*db, known));
        EXPECT_TRUE(Table::remove(*db, local));
        auto q = Table::selectAll(*db, 3, true);
        ASSERT_TRUE(q);
        EXPECT_FALSE(Table::getNext(*db, *q));
    }
};

TEST_F(SideTables, RemovalMarksRowsTheHandheldKnowsButMetersAndProtocolsGoAtOnce) {
    removeKnownAndLocal<A1cTable, A1c>();
    removeKnownAndLocal<CarbsTable, Carbs>();
    removeKnownAndLocal<BloodPressureTable, BloodPressure>();
    removeKnownAndLocal<MedicationTable, Medication>();
    removeKnownAndLocal<BasilRateTable, BasilRate>();
    removeKnownAndLocal<MeterTable, Meter>();
    removeKnownAndLocal<ProtocolTable, Protocol>();
    Rows changes;
    for (const std::string& s : takeStatements())
        if (s.starts_with("update ") || s.starts_with("delete "))
            changes.push_back(s);
    EXPECT_EQ(changes,
              (Rows{"update A1C set sync_state = 30 where pk = 1", "delete from A1C where pk=2",
                    "update CARBS set sync_state = 30 where pk = 1", "delete from CARBS where pk=2",
                    "update BLOOD_PRESSURE set sync_state = 30 where pk = 1",
                    "delete from BLOOD_PRESSURE where pk=2",
                    "update MEDICATION set sync_state = 30 where pk = 1",
                    "delete from MEDICATION where pk=2",
                    "update BASIL_RATE set sync_state = 30 where pk = 1",
                    "delete from BASIL_RATE where pk=2", "delete from METER where pk=1",
                    "delete from METER where pk=2", "delete from PROTOCOL where pk=1",
                    "delete from PROTOCOL where pk=2"}));
    for (const char* table : {"A1C", "CARBS", "BLOOD_PRESSURE", "MEDICATION", "BASIL_RATE"})
        EXPECT_EQ(rows(("select pk, fk, sync_state from " + std::string(table)).c_str()),
                  Rows{"1|5|30"})
            << table;
    EXPECT_EQ(count("METER") + count("PROTOCOL"), 0);
    // A marked row is still counted and still read by its key.
    EXPECT_EQ(BloodPressureTable::getCount(*db), 1);
    EXPECT_TRUE(CarbsTable::getByPk(*db, 1));
}

TEST_F(SideTables, A1cSavesWithTheExactStatementsOfEachKind) {
    A1c result;
    result.setA1cDate("20070315");
    result.setA1cCount("6.5");
    ASSERT_TRUE(A1cTable::save(*db, result));
    EXPECT_EQ(result.getPk(), 1);
    result.setA1cCount("6.7");
    ASSERT_TRUE(A1cTable::save(*db, result));
    A1c imported;
    imported.setPk(40);
    imported.setFk(3);
    imported.setA1cDate("20070401");
    imported.setA1cCount("7.1");
    ASSERT_TRUE(A1cTable::save(*db, imported, SyncState::Changed));
    EXPECT_EQ(takeStatements(),
              (Rows{"Insert into A1C ( fk, sync_state, a1c_date, a1c_count) values ( 0, 10, "
                    "'20070315', '6.5')",
                    "Select * from A1C where pk=1",
                    "Update A1C set fk=0, sync_state=20, a1c_date='20070315', a1c_count='6.7' "
                    "where pk=1",
                    "Select * from A1C where pk=40",
                    "Insert into A1C ( pk, fk, sync_state, a1c_date, a1c_count) values ( 40, 3, "
                    "20, '20070401', '7.1')"}));
    EXPECT_EQ(rows("select * from A1C order by pk"),
              (Rows{"1|0|20|20070315|6.7", "40|3|20|20070401|7.1"}));

    EXPECT_EQ(A1cTable::getCount(*db), 2);
    auto q = A1cTable::selectAll(*db, 3, false);
    ASSERT_TRUE(q);
    EXPECT_EQ(takeStatements(),
              (Rows{"Select count(*) from A1C",
                    "Select * from A1C  where sync_state <> 30  order by a1c_date desc"}));
    auto first = A1cTable::getNext(*db, *q);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->getPk(), 40);
    EXPECT_EQ(first->getFk(), 3);
    EXPECT_EQ(first->getA1cCount(), "7.1");
}

TEST_F(SideTables, A1cMarkedDeletedStaysAsDeletedRowWithoutHandheldId) {
    A1c local;
    local.setA1cDate("20070315");
    ASSERT_TRUE(A1cTable::save(*db, local));
    takeStatements();
    ASSERT_TRUE(A1cTable::markRecordDeleted(*db, local));
    EXPECT_EQ(takeStatements(), Rows{"update A1C set sync_state = 30 where pk = 1"});
    EXPECT_EQ(rows("select pk, fk, sync_state from A1C"), Rows{"1|0|30"});
}

TEST_F(SideTables, CarbsStatementsPutTheCategoryBeforeTheState) {
    Carbs food;
    food.setCatagory(4);
    food.setCarbName("Apple, medium");
    food.setCarbCnt(21);
    ASSERT_TRUE(CarbsTable::save(*db, food));
    ASSERT_TRUE(CarbsTable::save(*db, food));
    Carbs listed;
    listed.setPk(9);
    listed.setCatagory(2);
    ASSERT_TRUE(CarbsTable::save(*db, listed, SyncState::Added));
    EXPECT_EQ(takeStatements(),
              (Rows{"Insert into CARBS ( fk, catagory, sync_state, carb_name, carb_cnt) values ( "
                    "0, 4, 10, 'Apple, medium', 21)",
                    "Select * from CARBS where pk=1",
                    "Update CARBS set fk=0, catagory=4, sync_state=20, carb_name='Apple, medium', "
                    "carb_cnt=21 where pk=1",
                    "Select * from CARBS where pk=9",
                    "Insert into CARBS ( pk, fk, catagory, sync_state, carb_name, carb_cnt) "
                    "values ( 9, 0, 2, 10, '', 0)"}));
}

TEST_F(SideTables, CarbsStateIsWrittenAndReadInTheFourthColumn) {
    Carbs food;
    food.setFk(6);
    food.setCatagory(3);
    food.setCarbName("Bagel");
    food.setCarbCnt(38);
    ASSERT_TRUE(CarbsTable::save(*db, food, SyncState::Changed));
    EXPECT_EQ(rows("select pk, fk, catagory, sync_state, carb_name, carb_cnt from CARBS"),
              Rows{"1|6|3|20|Bagel|38"});

    auto back = CarbsTable::getByPk(*db, 1);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->getCatagory(), 3);
    EXPECT_EQ(back->getSyncState(), SyncState::Changed);

    // A record in the foreign state keeps it and loses its handheld id, whatever is asked.
    back->setSyncState(SyncState::Foreign);
    ASSERT_TRUE(CarbsTable::save(*db, *back, SyncState::Changed));
    EXPECT_EQ(rows("select pk, fk, catagory, sync_state from CARBS"), Rows{"1|0|3|99"});
}

TEST_F(SideTables, TextsAreCutByCharactersAndKeepTheirApostrophes) {
    Carbs food;
    food.setCarbName(QString(30, u'x'));
    EXPECT_EQ(food.getCarbName().size(), 25);
    food.setCarbName("Mom's 'apple' pie, a slice that is long");
    ASSERT_TRUE(CarbsTable::save(*db, food));
    EXPECT_EQ(rows("select carb_name from CARBS"), Rows{"Mom's 'apple' pie, a slic"});
    EXPECT_EQ(CarbsTable::getByPk(*db, food.getPk())->getCarbName(), "Mom's 'apple' pie, a slic");

    // Eleven characters are kept of a serial number, however many bytes they take.
    Meter meter;
    meter.setSerialNo(QStringLiteral("ÄÖÜäöüßéèêëç"));
    meter.setDesc("O'Brien's meter");
    ASSERT_TRUE(MeterTable::save(*db, meter));
    auto back = MeterTable::getByPk(*db, meter.getPk());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->getSerialNo(), QStringLiteral("ÄÖÜäöüßéèêë"));
    EXPECT_EQ(back->getDesc(), "O'Brien's meter");

    Protocol protocol = addProtocol("20070101", "Don't skip the 'bedtime' snack");
    EXPECT_EQ(ProtocolTable::getByPk(*db, protocol.getPk())->getText(),
              "Don't skip the 'bedtime' snack");

    BloodPressure vital;
    vital.setWeight("1234567");
    EXPECT_EQ(vital.getWeight(), "123456");
    Medication med;
    med.setMedCode("HHH");
    med.setRxOrderId("RX-1234567890");
    EXPECT_EQ(med.getMedCode(), "HH");
    EXPECT_EQ(med.getRxOrderId(), "RX-1234567");
}

// ---- Medications ---------------------------------------------------------------------------

TEST_F(SideTables, MedicationStoresItsFlagsAsLetters) {
    Medication pill;
    EXPECT_TRUE(pill.getIsInsulinBol() && pill.getActiveBol() && pill.getIncludeInTotalsBol());
    pill.setIsInsulinBol(false);
    pill.setIncludeInTotalsBol(false);
    pill.setMedCode("M");
    pill.setMedDesc("Metformin");
    pill.setOpenDate("20070301");
    pill.setExpireDayCnt(90);
    pill.setIncrementByCode(2);
    pill.setRxOrderId("A-17");
    ASSERT_TRUE(MedicationTable::save(*db, pill));
    auto back = MedicationTable::getByCode(*db, "M");
    ASSERT_TRUE(back);
    EXPECT_EQ(takeStatements(),
              (Rows{"Insert into MEDICATION ( FK, SYNC_STATE, IS_INSULIN_BOL, ACTIVE_BOL, "
                    "INCLUDE_IN_TOTALS_BOL, MED_CODE, MED_DESC, OPEN_DATE, EXPIRE_DAY_CNT, "
                    "INCREMENT_BY_CODE, RX_ORDER_ID) values ( 0, 10, 'F', 'T', 'F', 'M', "
                    "'Metformin', '20070301', 90, 2, 'A-17')",
                    "Select * from MEDICATION where MED_CODE  = 'M'"}));

    // Saved again, the record read back writes every other field as it was stored.
    back->setActiveBol(false);
    ASSERT_TRUE(MedicationTable::save(*db, *back));
    EXPECT_EQ(takeStatements().back(),
              "Update MEDICATION set FK=0, SYNC_STATE=20, IS_INSULIN_BOL='F', ACTIVE_BOL='F', "
              "INCLUDE_IN_TOTALS_BOL='F', MED_CODE='M', MED_DESC='Metformin', "
              "OPEN_DATE='20070301', EXPIRE_DAY_CNT=90, INCREMENT_BY_CODE=2, RX_ORDER_ID='A-17' "
              "where pk=1");
    EXPECT_FALSE(MedicationTable::getByPk(*db, 1)->getActiveBol());
}

TEST_F(SideTables, MedicationByNameFindsTheExistingRow) {
    addMedications("HG");
    auto named = medication("N", "Lantus 'SoloStar'");
    ASSERT_TRUE(MedicationTable::save(*db, *named));
    takeStatements();

    auto found = MedicationTable::getOrCreateByDesc(*db, "Lantus 'SoloStar'");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->getPk(), named->getPk());
    EXPECT_EQ(found->getMedCode(), "N");
    EXPECT_EQ(takeStatements(),
              Rows{"Select * from MEDICATION where MED_DESC = 'Lantus ''SoloStar'''"});
    EXPECT_EQ(count("MEDICATION"), 3);
}

TEST_F(SideTables, MedicationByNewNameTakesTheFirstFreeLetter) {
    addMedications("HGNVRPLUAB");
    auto created = MedicationTable::getOrCreateByDesc(*db, "Apidra");
    ASSERT_TRUE(created);
    EXPECT_EQ(created->getMedCode(), "C");
    EXPECT_EQ(count("MEDICATION"), 11);
    EXPECT_EQ(rows("select PK, FK, SYNC_STATE, IS_INSULIN_BOL, ACTIVE_BOL, "
                   "INCLUDE_IN_TOTALS_BOL, MED_CODE, MED_DESC from MEDICATION where MED_CODE = "
                   "'C'"),
              Rows{std::to_string(created->getPk()) + "|0|10|T|T|T|C|Apidra"});

    // A deleted row still holds its letter.
    auto c = MedicationTable::getByCode(*db, "C");
    c->setFk(4);
    ASSERT_TRUE(MedicationTable::save(*db, *c));
    ASSERT_TRUE(MedicationTable::remove(*db, *MedicationTable::getByCode(*db, "C")));
    ASSERT_EQ(rows("select SYNC_STATE from MEDICATION where MED_CODE = 'C'"), Rows{"30"});
    auto next = MedicationTable::getOrCreateByDesc(*db, "Novolog Mix");
    ASSERT_TRUE(next);
    EXPECT_EQ(next->getMedCode(), "D");
}

TEST_F(SideTables, MedicationByNewNameCreatesNothingWhenEveryLetterIsTaken) {
    addMedications(MedicationTable::kCodeLetters);
    ASSERT_EQ(count("MEDICATION"), 26);
    takeStatements();
    EXPECT_FALSE(MedicationTable::getOrCreateByDesc(*db, "Twenty-seventh"));
    EXPECT_EQ(count("MEDICATION"), 26);
    for (const std::string& s : takeStatements())
        EXPECT_EQ(s.find("Insert"), std::string::npos) << s;
}

TEST_F(SideTables, MedicationRemovalByMissingPkCountsAsDone) {
    EXPECT_TRUE(MedicationTable::removeByPk(*db, 77));
    addMedications("H");
    EXPECT_TRUE(MedicationTable::removeByPk(*db, 1));
    EXPECT_EQ(count("MEDICATION"), 0);
}

TEST(MedicationDaysLeft, TruncatesWithinTheDayAndGoesNegativeOnceExpired) {
    FixedClock clock(fromDateTimeText("20070315083000"));
    const QString today = toDateText(clock.now());
    const QDate day = QDate::fromString(today, "yyyyMMdd");
    const std::time_t midnight = fromDateText(today);

    Medication vial;
    vial.setOpenDate(day.addDays(-10).toString("yyyyMMdd"));
    vial.setExpireDayCnt(28);
    for (std::time_t later : {1L, 8 * 3600L + 30 * 60L, 12 * 3600L, 23 * 3600L + 59 * 60L + 59L}) {
        clock.set(midnight + later);
        EXPECT_EQ(vial.getDaysLeft(clock), 17) << later;
    }
    clock.set(midnight);
    EXPECT_EQ(vial.getDaysLeft(clock), 18);

    // Twelve and a third days past expiry: truncation toward zero, not flooring.
    vial.setOpenDate(day.addDays(-40).toString("yyyyMMdd"));
    clock.set(midnight + 8 * 3600);
    EXPECT_EQ(vial.getDaysLeft(clock), -12);

    // The seconds would overflow 32 bits.
    vial.setOpenDate(day.addDays(-10).toString("yyyyMMdd"));
    vial.setExpireDayCnt(30000);
    EXPECT_EQ(vial.getDaysLeft(clock), 29989);
}

TEST(MedicationDaysLeft, CountsCalendarDaysAcrossTheClockChange) {
    // Opened in summer time, counted in winter time: the night of 25 October has 25 hours,
    // and is still one day. The vial expires as 17 November begins.
    Medication vial;
    vial.setOpenDate("20261020");
    vial.setExpireDayCnt(28);
    const std::pair<const char*, int> expected[] = {{"20261030000000", 18},
                                                    {"20261030000100", 17},
                                                    {"20261117000000", 0},
                                                    {"20261117235900", 0},
                                                    {"20261118000000", -1}};
    for (auto [now, left] : expected)
        EXPECT_EQ(vial.getDaysLeft(FixedClock(fromDateTimeText(now))), left) << now;
}

TEST(MedicationLookupOfList, KeepsItsOwnCopyOfTheFlags) {
    struct Row {
        const char* code;
        bool insulin;
        bool totals;
    };
    // A second H is not the one dosage lists mean.
    const Row list[] = {{"H", true, true},
                        {"M", false, true},
                        {"L", true, false},
                        {"H", false, false},
                        {"", true, true}};
    std::vector<std::unique_ptr<Medication>> medications;
    for (const Row& row : list) {
        medications.push_back(std::make_unique<Medication>());
        medications.back()->setMedCode(row.code);
        medications.back()->setIsInsulinBol(row.insulin);
        medications.back()->setIncludeInTotalsBol(row.totals);
    }
    MedicationLookup lookup = makeMedicationLookup(medications);
    medications.clear();

    for (const Row& row : std::span(list, 3)) {
        auto flags = lookup(QChar(row.code[0]));
        ASSERT_TRUE(flags) << row.code;
        EXPECT_EQ(flags->isInsulin, row.insulin) << row.code;
        EXPECT_EQ(flags->includeInTotals, row.totals) << row.code;
    }
    EXPECT_FALSE(lookup(u'Z'));
    EXPECT_FALSE(lookup(QChar()));
}

// ---- Vital records -------------------------------------------------------------------------

TEST_F(SideTables, VitalRecordTakesItsNoteAlong) {
    Note note;
    note.setNoteType(NoteType::Vital);
    note.setText("After the walk");
    ASSERT_TRUE(NoteTable::save(*db, note));
    Note other;
    other.setNoteType(NoteType::Vital);
    ASSERT_TRUE(NoteTable::save(*db, other));

    BloodPressure vital;
    vital.setBpTime("20070315083000");
    vital.setSystolic(128);
    vital.setDiastolic(84);
    vital.setPulse(66);
    vital.setNotePk(note.getPk());
    vital.setWeight("81.5");
    ASSERT_TRUE(BloodPressureTable::save(*db, vital));
    EXPECT_EQ(rows("select * from BLOOD_PRESSURE"), Rows{"1|0|10|20070315083000|128|84|66|1|81.5"});
    takeStatements();

    EXPECT_TRUE(BloodPressureTable::removeByPk(*db, vital.getPk()));
    EXPECT_EQ(takeStatements(),
              (Rows{"Select * from BLOOD_PRESSURE where pk=1", "Select * from NOTE where pk=1",
                    "delete from NOTE where pk=1", "delete from BLOOD_PRESSURE where pk=1"}));
    EXPECT_EQ(count("BLOOD_PRESSURE"), 0);
    EXPECT_EQ(rows("select PK from NOTE"), Rows{"2"});
}

TEST_F(SideTables, VitalRecordRemovalByMissingPkFails) {
    EXPECT_FALSE(BloodPressureTable::removeByPk(*db, 5));
}

// ---- Meters, protocols, basal rates --------------------------------------------------------

TEST_F(SideTables, MeterWithUnknownPkUpdatesNothingAndSucceeds) {
    Meter meter;
    meter.setPk(42);
    meter.setDesc("Primary Meter");
    EXPECT_TRUE(MeterTable::save(*db, meter));
    EXPECT_EQ(count("METER"), 0);

    Meter fresh;
    fresh.setDesc("Primary Meter");
    fresh.setMfg("Unknown");
    fresh.setSeriviceDate("20070315");
    ASSERT_TRUE(MeterTable::save(*db, fresh));
    EXPECT_EQ(fresh.getPk(), 1);
    EXPECT_EQ(takeStatements(),
              (Rows{"Update METER set FK=0, SYNC_STATE=20, DESC='Primary Meter', MFG='', "
                    "MODEL='', SERIAL_NO='', SERIVICE_DATE='' where pk=42",
                    "Insert into METER ( FK, SYNC_STATE, DESC, MFG, MODEL, SERIAL_NO, "
                    "SERIVICE_DATE) values ( 0, 10, 'Primary Meter', 'Unknown', '', '', "
                    "'20070315')"}));
    EXPECT_EQ(MeterTable::getByPk(*db, 1)->getSeriviceDate(), "20070315");
}

TEST_F(SideTables, ProtocolInForceIsTheNewestStartedStrictlyBefore) {
    addProtocol("20070101", "January");
    addProtocol("20070301", "March");
    takeStatements();
    auto latest = ProtocolTable::getLatestBefore(*db, "20070315");
    ASSERT_TRUE(latest);
    EXPECT_EQ(latest->getText(), "March");
    EXPECT_EQ(takeStatements(), Rows{"Select * from PROTOCOL where sync_state <> 30 and "
                                     "EFFECTIVE_DATE<'20070315' order by EFFECTIVE_DATE desc"});

    addProtocol("20070315", "Ides");
    EXPECT_EQ(ProtocolTable::getLatestBefore(*db, "20070315")->getText(), "March");
    EXPECT_EQ(ProtocolTable::getLatestBefore(*db, "20070316")->getText(), "Ides");
    EXPECT_FALSE(ProtocolTable::getLatestBefore(*db, "20070101"));
}

TEST_F(SideTables, ProtocolByDateSkipsDeletedRows) {
    const int march = addProtocol("20070301", "March").getPk();
    takeStatements();
    auto found = ProtocolTable::getByDate(*db, "20070301");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->getPk(), march);
    EXPECT_EQ(takeStatements(), Rows{"Select * from PROTOCOL where sync_state <> 30 and "
                                     "EFFECTIVE_DATE='20070301' "});
    EXPECT_FALSE(ProtocolTable::getByDate(*db, "20070302"));

    ASSERT_TRUE(db->exec("update PROTOCOL set SYNC_STATE=30"));
    EXPECT_FALSE(ProtocolTable::getByDate(*db, "20070301"));
    EXPECT_FALSE(ProtocolTable::getLatestBefore(*db, "20070401"));
}

TEST_F(SideTables, BasalRateByStartTimeIncludesDeletedRows) {
    for (auto [time, amount] : {std::pair{"00:00", "0.8"}, std::pair{"06:30", "1.15"}}) {
        BasilRate rate;
        rate.setStartTime(time);
        rate.setBasilMedAmt(amount);
        ASSERT_TRUE(BasilRateTable::save(*db, rate));
    }
    ASSERT_TRUE(db->exec("update BASIL_RATE set SYNC_STATE = 30 where START_TIME = '00:00'"));
    takeStatements();

    auto found = BasilRateTable::getByStartTime(*db, "06:30");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->getBasilMedAmt(), "1.15");
    EXPECT_EQ(takeStatements(), Rows{"Select * from BASIL_RATE where START_TIME='06:30'"});
    auto deleted = BasilRateTable::getByStartTime(*db, "00:00");
    ASSERT_TRUE(deleted);
    EXPECT_EQ(deleted->getSyncState(), SyncState::Deleted);
    EXPECT_FALSE(BasilRateTable::getByStartTime(*db, "12:00"));
}
