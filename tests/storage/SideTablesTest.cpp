#include "storage/A1cTable.h"
#include "storage/BasilRateTable.h"
#include "storage/BloodPressureTable.h"
#include "storage/CarbsTable.h"
#include "storage/Clock.h"
#include "storage/Conversions.h"
#include "storage/MedicationTable.h"
#include "storage/MeterTable.h"
#include "storage/NoteTable.h"
#include "storage/ProtocolTable.h"
#include "support/TestDatabase.h"

#include <QDate>
#include <string>
#include <vector>

using Statements = std::vector<std::string>;

namespace {

int rowCount(const std::vector<std::string>& countRows) {
    return countRows.empty() ? -1 : std::stoi(countRows.front());
}

} // namespace

// ---- Table creation ------------------------------------------------------------------------

class SideTableCreation : public DatabaseTest {
protected:
    // A view under the table's name survives "drop table" and makes the CREATE fail.
    template <class Table>
    void expectCaptionOnFailure(const std::string& name, const char* caption) {
        ASSERT_TRUE(db->exec(("create view " + name + " as select 1 as x").c_str()));
        prompts.expect(QString::fromUtf8(caption));
        EXPECT_FALSE(Table::createTable(*db)) << name;
        prompts.verify();
    }
};

TEST_F(SideTableCreation, DropsThenCreatesWithTheExactSchemaText) {
    takeStatements();
    ASSERT_TRUE(CarbsTable::createTable(*db));
    EXPECT_EQ(
        takeStatements(),
        (Statements{"drop table CARBS",
                    "CREATE TABLE CARBS ( pk integer primary key, fk integer,catagory "
                    "integer, sync_state integer, carb_name varchar(25), carb_cnt integer )"}));
    ASSERT_TRUE(BloodPressureTable::createTable(*db));
    EXPECT_EQ(takeStatements(),
              (Statements{"drop table BLOOD_PRESSURE",
                          "create table BLOOD_PRESSURE ( PK INTEGER PRIMARY KEY, FK INTEGER, "
                          "SYNC_STATE INTEGER, BP_TIME TIMESTAMP, SYSTOLIC INTEGER, DIASTOLIC "
                          "INTEGER, PULSE INTEGER, NOTE_PK INTEGER, WEIGHT VARCHAR(6) )"}));
    // Creating again replaces the table and its rows.
    Carbs apple;
    ASSERT_TRUE(CarbsTable::save(*db, apple));
    ASSERT_TRUE(CarbsTable::createTable(*db));
    EXPECT_EQ(rowCount(rows("select count(*) from CARBS")), 0);
}

TEST_F(SideTableCreation, FailureShowsTheTablesCaption) {
    expectCaptionOnFailure<A1cTable>("A1C", "Create Table A1c");
    expectCaptionOnFailure<CarbsTable>("CARBS", "Create Table Carbs");
    expectCaptionOnFailure<BloodPressureTable>("BLOOD_PRESSURE", "Create Table BloodPressure");
    expectCaptionOnFailure<MedicationTable>("MEDICATION", "Create Table Medication");
    expectCaptionOnFailure<MeterTable>("METER", "Create Table Meter");
    expectCaptionOnFailure<ProtocolTable>("PROTOCOL", "Create Table Protocol");
    expectCaptionOnFailure<BasilRateTable>("BASIL_RATE", "Create Table BasilRate");
}

// ---- The tables at work --------------------------------------------------------------------

class SideTables : public DatabaseTest {
protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        ASSERT_TRUE(A1cTable::createTable(*db));
        ASSERT_TRUE(CarbsTable::createTable(*db));
        ASSERT_TRUE(BloodPressureTable::createTable(*db));
        ASSERT_TRUE(MedicationTable::createTable(*db));
        ASSERT_TRUE(MeterTable::createTable(*db));
        ASSERT_TRUE(ProtocolTable::createTable(*db));
        ASSERT_TRUE(BasilRateTable::createTable(*db));
        ASSERT_TRUE(NoteTable::createTable(*db));
        takeStatements();
    }

    int count(const char* table) {
        return rowCount(rows(("select count(*) from " + std::string(table)).c_str()));
    }

    std::unique_ptr<Medication> medication(const QString& code, const QString& name) {
        auto m = std::make_unique<Medication>();
        m->setMedCode(code);
        m->setMedDesc(name);
        return m;
    }

    void addMedications(const QString& codes) {
        for (QChar c : codes) {
            auto m = medication(QString(c), QStringLiteral("Med ") + c);
            ASSERT_TRUE(MedicationTable::save(*db, *m));
        }
    }

    Protocol& addProtocol(const QString& date, const QString& text) {
        m_protocols.emplace_back(std::make_unique<Protocol>());
        Protocol& p = *m_protocols.back();
        p.setEffectiveDate(date);
        p.setText(text);
        EXPECT_TRUE(ProtocolTable::save(*db, p));
        return p;
    }

private:
    std::vector<std::unique_ptr<Protocol>> m_protocols;
};

TEST_F(SideTables, A1cSavesWithTheExactStatementsOfEachKind) {
    A1c result;
    result.setA1cDate("20070315");
    result.setA1cCount("6.5");
    ASSERT_TRUE(A1cTable::save(*db, result));
    EXPECT_EQ(result.getPk(), 1);
    EXPECT_EQ(takeStatements(), (Statements{"Insert into A1C ( fk, sync_state, a1c_date, "
                                            "a1c_count) values ( 0, 10, '20070315', '6.5')"}));

    result.setA1cCount("6.7");
    ASSERT_TRUE(A1cTable::save(*db, result));
    EXPECT_EQ(takeStatements(),
              (Statements{"Select * from A1C where pk=1",
                          "Update A1C set fk=0, sync_state=20, a1c_date='20070315', "
                          "a1c_count='6.7' where pk=1"}));

    A1c imported;
    imported.setPk(40);
    imported.setFk(3);
    imported.setA1cDate("20070401");
    imported.setA1cCount("7.1");
    ASSERT_TRUE(A1cTable::save(*db, imported, SyncState::Changed));
    EXPECT_EQ(takeStatements(),
              (Statements{"Select * from A1C where pk=40",
                          "Insert into A1C ( pk, fk, sync_state, a1c_date, a1c_count) values ( "
                          "40, 3, 20, '20070401', '7.1')"}));
    EXPECT_EQ(rows("select * from A1C order by pk"),
              (Statements{"1|0|20|20070315|6.7", "40|3|20|20070401|7.1"}));

    EXPECT_EQ(A1cTable::getCount(*db), 2);
    auto q = A1cTable::selectAll(*db, 3, false);
    ASSERT_TRUE(q);
    EXPECT_EQ(takeStatements(),
              (Statements{"Select count(*) from A1C",
                          "Select * from A1C  where sync_state <> 30  order by a1c_date desc"}));
    auto first = A1cTable::getNext(*db, *q);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->getPk(), 40);
    EXPECT_EQ(first->getFk(), 3);
    EXPECT_EQ(first->getA1cCount(), "7.1");
}

TEST_F(SideTables, CarbsStatementsPutTheCategoryBeforeTheState) {
    Carbs food;
    food.setCatagory(4);
    food.setCarbName("Apple, medium");
    food.setCarbCnt(21);
    ASSERT_TRUE(CarbsTable::save(*db, food));
    ASSERT_TRUE(CarbsTable::save(*db, food));
    EXPECT_EQ(takeStatements(),
              (Statements{"Insert into CARBS ( fk, catagory, sync_state, carb_name, carb_cnt) "
                          "values ( 0, 4, 10, 'Apple, medium', 21)",
                          "Select * from CARBS where pk=1",
                          "Update CARBS set fk=0, catagory=4, sync_state=20, carb_name='Apple, "
                          "medium', carb_cnt=21 where pk=1"}));

    Carbs listed;
    listed.setPk(9);
    listed.setCatagory(2);
    ASSERT_TRUE(CarbsTable::save(*db, listed, SyncState::Added));
    EXPECT_EQ(takeStatements().back(), "Insert into CARBS ( pk, fk, catagory, sync_state, "
                                       "carb_name, carb_cnt) values ( 9, 0, 2, 10, '', 0)");
}

TEST_F(SideTables, CarbsStateIsWrittenAndReadInTheFourthColumn) {
    Carbs food;
    food.setFk(6);
    food.setCatagory(3);
    food.setCarbName("Bagel");
    food.setCarbCnt(38);
    ASSERT_TRUE(CarbsTable::save(*db, food, SyncState::Changed));
    EXPECT_EQ(rows("select pk, fk, catagory, sync_state, carb_name, carb_cnt from CARBS"),
              (Statements{"1|6|3|20|Bagel|38"}));

    auto back = CarbsTable::getByPk(*db, 1);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->getCatagory(), 3);
    EXPECT_EQ(back->getSyncState(), SyncState::Changed);

    // A record in the foreign state keeps it and loses its handheld id, whatever is asked.
    back->setSyncState(SyncState::Foreign);
    ASSERT_TRUE(CarbsTable::save(*db, *back, SyncState::Changed));
    EXPECT_EQ(rows("select pk, fk, catagory, sync_state from CARBS"), (Statements{"1|0|3|99"}));

    EXPECT_EQ(CarbsTable::getColumnCount(), 6);
    EXPECT_EQ(CarbsTable::getColumnName(2), "catagory");
    EXPECT_EQ(CarbsTable::getColumnName(3), "sync_state");
    EXPECT_EQ(CarbsTable::getColumnName(6), "?");
}

TEST_F(SideTables, CarbsRemovalFollowsTheHandheldState) {
    Carbs known;
    known.setFk(12);
    known.setCarbName("Known");
    ASSERT_TRUE(CarbsTable::save(*db, known));
    Carbs local;
    local.setCarbName("Local");
    ASSERT_TRUE(CarbsTable::save(*db, local));
    takeStatements();

    ASSERT_TRUE(CarbsTable::remove(*db, known));
    ASSERT_TRUE(CarbsTable::remove(*db, local));
    EXPECT_EQ(takeStatements(), (Statements{"update CARBS set sync_state = 30 where pk = 1",
                                            "delete from CARBS where pk=2"}));
    EXPECT_EQ(rows("select pk, fk, catagory, sync_state from CARBS"), (Statements{"1|12|0|30"}));

    auto q = CarbsTable::selectAll(*db, -1, true);
    ASSERT_TRUE(q);
    EXPECT_FALSE(CarbsTable::getNext(*db, *q));
    EXPECT_TRUE(CarbsTable::getByPk(*db, 1));
}

TEST_F(SideTables, TextsAreCutByCharactersAndKeepTheirApostrophes) {
    Carbs food;
    food.setCarbName(QString(30, u'x'));
    EXPECT_EQ(food.getCarbName().size(), 25);
    food.setCarbName("Mom's 'apple' pie, a slice that is long");
    ASSERT_TRUE(CarbsTable::save(*db, food));
    EXPECT_EQ(rows("select carb_name from CARBS"), (Statements{"Mom's 'apple' pie, a slic"}));
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

    Protocol protocol;
    protocol.setText("Don't skip the 'bedtime' snack");
    ASSERT_TRUE(ProtocolTable::save(*db, protocol));
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
    Medication fresh;
    EXPECT_TRUE(fresh.getIsInsulinBol());
    EXPECT_TRUE(fresh.getActiveBol());
    EXPECT_TRUE(fresh.getIncludeInTotalsBol());

    Medication pill;
    pill.setIsInsulinBol(false);
    pill.setIncludeInTotalsBol(false);
    pill.setMedCode("M");
    pill.setMedDesc("Metformin");
    pill.setOpenDate("20070301");
    pill.setExpireDayCnt(90);
    pill.setIncrementByCode(2);
    pill.setRxOrderId("A-17");
    ASSERT_TRUE(MedicationTable::save(*db, pill));
    EXPECT_EQ(takeStatements(),
              (Statements{"Insert into MEDICATION ( FK, SYNC_STATE, IS_INSULIN_BOL, ACTIVE_BOL, "
                          "INCLUDE_IN_TOTALS_BOL, MED_CODE, MED_DESC, OPEN_DATE, EXPIRE_DAY_CNT, "
                          "INCREMENT_BY_CODE, RX_ORDER_ID) values ( 0, 10, 'F', 'T', 'F', 'M', "
                          "'Metformin', '20070301', 90, 2, 'A-17')"}));

    auto back = MedicationTable::getByCode(*db, "M");
    ASSERT_TRUE(back);
    EXPECT_EQ(takeStatements(), (Statements{"Select * from MEDICATION where MED_CODE  = 'M'"}));
    EXPECT_FALSE(back->getIsInsulinBol());
    EXPECT_TRUE(back->getActiveBol());
    EXPECT_FALSE(back->getIncludeInTotalsBol());
    EXPECT_EQ(back->getExpireDayCnt(), 90);
    EXPECT_EQ(back->getIncrementByCode(), 2);
    EXPECT_EQ(back->getRxOrderId(), "A-17");

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
    EXPECT_EQ(takeStatements(), (Statements{"Select * from MEDICATION where MED_DESC = 'Lantus "
                                            "''SoloStar'''"}));
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
              (Statements{std::to_string(created->getPk()) + "|0|10|T|T|T|C|Apidra"}));

    // A deleted row still holds its letter.
    auto c = MedicationTable::getByCode(*db, "C");
    c->setFk(4);
    ASSERT_TRUE(MedicationTable::save(*db, *c));
    c = MedicationTable::getByCode(*db, "C");
    ASSERT_TRUE(MedicationTable::remove(*db, *c));
    ASSERT_EQ(rows("select SYNC_STATE from MEDICATION where MED_CODE = 'C'"), (Statements{"30"}));
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
    // and is still one day.
    FixedClock clock(fromDateTimeText("20261030000000"));
    Medication vial;
    vial.setOpenDate("20261020");
    vial.setExpireDayCnt(28); // the vial expires as 17 November begins
    EXPECT_EQ(vial.getDaysLeft(clock), 18);
    clock.set(fromDateTimeText("20261030000100"));
    EXPECT_EQ(vial.getDaysLeft(clock), 17);
    clock.set(fromDateTimeText("20261117000000"));
    EXPECT_EQ(vial.getDaysLeft(clock), 0);
    clock.set(fromDateTimeText("20261117235900"));
    EXPECT_EQ(vial.getDaysLeft(clock), 0);
    clock.set(fromDateTimeText("20261118000000"));
    EXPECT_EQ(vial.getDaysLeft(clock), -1);
}

TEST(MedicationLookupOfList, KeepsItsOwnCopyOfTheFlags) {
    std::vector<std::unique_ptr<Medication>> list;
    auto add = [&list](const char* code, bool insulin, bool totals) {
        auto m = std::make_unique<Medication>();
        m->setMedCode(code);
        m->setIsInsulinBol(insulin);
        m->setIncludeInTotalsBol(totals);
        list.push_back(std::move(m));
    };
    add("H", true, true);
    add("M", false, true);
    add("L", true, false);
    add("H", false, false); // a second H is not the one dosage lists mean
    add("", true, true);

    MedicationLookup lookup = makeMedicationLookup(list);
    list.clear();

    auto h = lookup(u'H');
    ASSERT_TRUE(h);
    EXPECT_TRUE(h->isInsulin);
    EXPECT_TRUE(h->includeInTotals);
    auto m = lookup(u'M');
    ASSERT_TRUE(m);
    EXPECT_FALSE(m->isInsulin);
    EXPECT_TRUE(m->includeInTotals);
    auto l = lookup(u'L');
    ASSERT_TRUE(l);
    EXPECT_TRUE(l->isInsulin);
    EXPECT_FALSE(l->includeInTotals);
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
    EXPECT_EQ(rows("select * from BLOOD_PRESSURE"),
              (Statements{"1|0|10|20070315083000|128|84|66|1|81.5"}));
    takeStatements();

    EXPECT_TRUE(BloodPressureTable::removeByPk(*db, vital.getPk()));
    EXPECT_EQ(
        takeStatements(),
        (Statements{"Select * from BLOOD_PRESSURE where pk=1", "Select * from NOTE where pk=1",
                    "delete from NOTE where pk=1", "delete from BLOOD_PRESSURE where pk=1"}));
    EXPECT_EQ(count("BLOOD_PRESSURE"), 0);
    EXPECT_EQ(rows("select PK from NOTE"), (Statements{"2"}));
}

TEST_F(SideTables, VitalRecordRemovalByMissingPkFails) {
    EXPECT_FALSE(BloodPressureTable::removeByPk(*db, 5));
}

TEST_F(SideTables, VitalRecordKnownToTheHandheldIsOnlyMarked) {
    BloodPressure vital;
    vital.setFk(8);
    vital.setSyncState(SyncState::Changed);
    ASSERT_TRUE(BloodPressureTable::save(*db, vital));
    ASSERT_TRUE(BloodPressureTable::remove(*db, vital));
    EXPECT_EQ(rows("select PK, FK, SYNC_STATE from BLOOD_PRESSURE"), (Statements{"1|8|30"}));
    EXPECT_EQ(BloodPressureTable::getCount(*db), 1);
    auto q = BloodPressureTable::selectAll(*db, 3, true);
    ASSERT_TRUE(q);
    EXPECT_FALSE(BloodPressureTable::getNext(*db, *q));
}

// ---- Meters, protocols, basal rates, A1c removal ---------------------------------------------

TEST_F(SideTables, MeterWithUnknownPkUpdatesNothingAndSucceeds) {
    Meter meter;
    meter.setPk(42);
    meter.setDesc("Primary Meter");
    EXPECT_TRUE(MeterTable::save(*db, meter));
    EXPECT_EQ(takeStatements(),
              (Statements{"Update METER set FK=0, SYNC_STATE=20, DESC='Primary Meter', MFG='', "
                          "MODEL='', SERIAL_NO='', SERIVICE_DATE='' where pk=42"}));
    EXPECT_EQ(count("METER"), 0);

    Meter fresh;
    fresh.setDesc("Primary Meter");
    fresh.setMfg("Unknown");
    fresh.setSeriviceDate("20070315");
    ASSERT_TRUE(MeterTable::save(*db, fresh));
    EXPECT_EQ(fresh.getPk(), 1);
    EXPECT_EQ(takeStatements(), (Statements{"Insert into METER ( FK, SYNC_STATE, DESC, MFG, "
                                            "MODEL, SERIAL_NO, SERIVICE_DATE) values ( 0, 10, "
                                            "'Primary Meter', 'Unknown', '', '', '20070315')"}));
    auto back = MeterTable::getByPk(*db, 1);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->getSeriviceDate(), "20070315");
}

TEST_F(SideTables, MetersAndProtocolsAreDeletedAtOnceEvenWhenTheHandheldKnowsThem) {
    Meter meter;
    meter.setFk(3);
    ASSERT_TRUE(MeterTable::save(*db, meter));
    Protocol& protocol = addProtocol("20070101", "Old");
    protocol.setFk(4);
    ASSERT_TRUE(ProtocolTable::save(*db, protocol));
    takeStatements();

    EXPECT_TRUE(MeterTable::remove(*db, meter));
    EXPECT_TRUE(ProtocolTable::remove(*db, protocol));
    EXPECT_EQ(takeStatements(),
              (Statements{"delete from METER where pk=1", "delete from PROTOCOL where pk=1"}));
    EXPECT_EQ(count("METER"), 0);
    EXPECT_EQ(count("PROTOCOL"), 0);
}

TEST_F(SideTables, ProtocolInForceIsTheNewestStartedStrictlyBefore) {
    addProtocol("20070101", "January");
    addProtocol("20070301", "March");
    takeStatements();
    auto latest = ProtocolTable::getLatestBefore(*db, "20070315");
    ASSERT_TRUE(latest);
    EXPECT_EQ(latest->getText(), "March");
    EXPECT_EQ(takeStatements(),
              (Statements{"Select * from PROTOCOL where sync_state <> 30 and "
                          "EFFECTIVE_DATE<'20070315' order by EFFECTIVE_DATE desc"}));

    addProtocol("20070315", "Ides");
    EXPECT_EQ(ProtocolTable::getLatestBefore(*db, "20070315")->getText(), "March");
    EXPECT_EQ(ProtocolTable::getLatestBefore(*db, "20070316")->getText(), "Ides");
    EXPECT_FALSE(ProtocolTable::getLatestBefore(*db, "20070101"));
}

TEST_F(SideTables, ProtocolByDateSkipsDeletedRows) {
    Protocol& march = addProtocol("20070301", "March");
    takeStatements();
    auto found = ProtocolTable::getByDate(*db, "20070301");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->getPk(), march.getPk());
    EXPECT_EQ(takeStatements(), (Statements{"Select * from PROTOCOL where sync_state <> 30 and "
                                            "EFFECTIVE_DATE='20070301' "}));
    EXPECT_FALSE(ProtocolTable::getByDate(*db, "20070302"));

    ASSERT_TRUE(db->exec("update PROTOCOL set SYNC_STATE=30"));
    EXPECT_FALSE(ProtocolTable::getByDate(*db, "20070301"));
    EXPECT_FALSE(ProtocolTable::getLatestBefore(*db, "20070401"));
}

TEST_F(SideTables, BasalRateByStartTimeIncludesDeletedRows) {
    BasilRate night;
    night.setStartTime("00:00");
    night.setBasilMedAmt("0.8");
    night.setFk(2);
    ASSERT_TRUE(BasilRateTable::save(*db, night));
    BasilRate morning;
    morning.setStartTime("06:30");
    morning.setBasilMedAmt("1.15");
    ASSERT_TRUE(BasilRateTable::save(*db, morning));
    auto nightBack = BasilRateTable::getByPk(*db, night.getPk());
    ASSERT_TRUE(BasilRateTable::remove(*db, *nightBack));
    takeStatements();

    auto found = BasilRateTable::getByStartTime(*db, "06:30");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->getBasilMedAmt(), "1.15");
    EXPECT_EQ(takeStatements(), (Statements{"Select * from BASIL_RATE where START_TIME='06:30'"}));
    auto deleted = BasilRateTable::getByStartTime(*db, "00:00");
    ASSERT_TRUE(deleted);
    EXPECT_EQ(deleted->getSyncState(), SyncState::Deleted);
    EXPECT_FALSE(BasilRateTable::getByStartTime(*db, "12:00"));

    auto q = BasilRateTable::selectAll(*db, 3, true);
    ASSERT_TRUE(q);
    auto live = BasilRateTable::getNext(*db, *q);
    ASSERT_TRUE(live);
    EXPECT_EQ(live->getStartTime(), "06:30");
    EXPECT_FALSE(BasilRateTable::getNext(*db, *q));
}

TEST_F(SideTables, A1cMarkedDeletedStaysAsDeletedRowWithoutHandheldId) {
    A1c local;
    local.setA1cDate("20070315");
    ASSERT_TRUE(A1cTable::save(*db, local));
    takeStatements();
    ASSERT_TRUE(A1cTable::markRecordDeleted(*db, local));
    EXPECT_EQ(takeStatements(), (Statements{"update A1C set sync_state = 30 where pk = 1"}));
    EXPECT_EQ(rows("select pk, fk, sync_state from A1C"), (Statements{"1|0|30"}));

    // The plain removal of a record the handheld never knew deletes it outright.
    A1c other;
    ASSERT_TRUE(A1cTable::save(*db, other));
    ASSERT_TRUE(A1cTable::remove(*db, other));
    EXPECT_EQ(count("A1C"), 1);
}
