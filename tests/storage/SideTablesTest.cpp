#include "storage/Clock.h"
#include "storage/Conversions.h"
#include "storage/OldLayouts.h"
#include "support/TestDatabase.h"

#include <QDate>
#include <string>
#include <vector>

using Rows = std::vector<std::string>;

namespace {

class SideTables : public DatabaseTest {
protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        OldLayouts::createTables(*db);
    }

    int addMedication(const QString& code, const QString& name = {}) {
        Medication m;
        m.setMedCode(code);
        m.setMedDesc(name.isEmpty() ? "Med " + code : name);
        EXPECT_TRUE(MedicationTable::save(*db, m));
        return m.getPk();
    }

    void addProtocol(const QString& date, const QString& text) {
        Protocol p;
        p.setEffectiveDate(date);
        p.setText(text);
        EXPECT_TRUE(ProtocolTable::save(*db, p));
    }
};

} // namespace

TEST_F(SideTables, FailedCreationShowsTheTablesCaptionAndCreatingAgainEmptiesTheTable) {
    Carbs apple;
    ASSERT_TRUE(CarbsTable::save(*db, apple));
    ASSERT_TRUE(CarbsTable::createTable(*db));
    EXPECT_EQ(rows("select count(*) from CARBS"), Rows{"0"});
    // A view under the table's name survives "drop table" and makes the CREATE fail.
    ASSERT_TRUE(db->exec("drop table A1C"));
    ASSERT_TRUE(db->exec("create view A1C as select 1 as PK"));
    prompts.expect("Create Table A1c", "view A1C already exists");
    EXPECT_FALSE(A1cTable::createTable(*db));
}

TEST_F(SideTables, A1cMarkedDeletedStaysAsDeletedRowEvenWithoutHandheldId) {
    A1c local;
    ASSERT_TRUE(A1cTable::save(*db, local));
    ASSERT_TRUE(A1cTable::markRecordDeleted(*db, local));
    EXPECT_EQ(rows("select pk, fk, sync_state from A1C"), Rows{"1|0|30"});
}

TEST_F(SideTables, MedicationByNameFindsTheRowOrTakesTheFirstFreeLetter) {
    for (QChar c : QString("HGNVRPLUAB"))
        addMedication(c);
    const int lantus = addMedication("N", "Lantus 'SoloStar'");
    auto found = MedicationTable::getOrCreateByDesc(*db, "Lantus 'SoloStar'");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->getPk(), lantus);

    auto created = MedicationTable::getOrCreateByDesc(*db, "Apidra");
    ASSERT_TRUE(created);
    EXPECT_EQ(rows("select FK, SYNC_STATE, IS_INSULIN_BOL, ACTIVE_BOL, INCLUDE_IN_TOTALS_BOL, "
                   "MED_CODE, MED_DESC from MEDICATION where MED_DESC = 'Apidra'"),
              Rows{"0|10|T|T|T|C|Apidra"});
    // A deleted row still holds its letter.
    ASSERT_TRUE(db->exec("update MEDICATION set SYNC_STATE = 30 where MED_CODE = 'C'"));
    EXPECT_EQ(MedicationTable::getOrCreateByDesc(*db, "Novolog Mix")->getMedCode(), "D");
    EXPECT_EQ(rows("select count(*) from MEDICATION"), Rows{"13"});
}

TEST_F(SideTables, MedicationByNewNameCreatesNothingWhenEveryLetterIsTaken) {
    for (QChar c : QString(MedicationTable::kCodeLetters))
        addMedication(c);
    EXPECT_FALSE(MedicationTable::getOrCreateByDesc(*db, "Twenty-seventh"));
    EXPECT_EQ(rows("select count(*) from MEDICATION"), Rows{"26"});
}

TEST_F(SideTables, RemovalByAKeyNoRowHas) {
    EXPECT_TRUE(MedicationTable::removeByPk(*db, 77));
    EXPECT_TRUE(MedicationTable::removeByPk(*db, addMedication("H")));
    EXPECT_EQ(rows("select count(*) from MEDICATION"), Rows{"0"});
    EXPECT_FALSE(BloodPressureTable::removeByPk(*db, 5)); // a vital record reports it
}

TEST_F(SideTables, VitalRecordTakesItsNoteAlong) {
    Note note;
    ASSERT_TRUE(NoteTable::save(*db, note));
    Note other;
    ASSERT_TRUE(NoteTable::save(*db, other));
    BloodPressure vital;
    vital.setNotePk(note.getPk());
    ASSERT_TRUE(BloodPressureTable::save(*db, vital));
    EXPECT_TRUE(BloodPressureTable::removeByPk(*db, vital.getPk()));
    EXPECT_EQ(rows("select count(*) from BLOOD_PRESSURE"), Rows{"0"});
    EXPECT_EQ(rows("select PK from NOTE"), Rows{std::to_string(other.getPk())});
}

TEST_F(SideTables, ProtocolsByDateAndInForceBefore) {
    addProtocol("20070101", "January");
    addProtocol("20070301", "March");
    addProtocol("20070315", "Ides");
    const std::pair<const char*, const char*> before[] = {
        {"20070315", "March"}, {"20070316", "Ides"}, {"20070301", "January"}, {"20070101", ""}};
    for (auto [date, text] : before) {
        auto found = ProtocolTable::getLatestBefore(*db, date);
        EXPECT_EQ(found ? found->getText() : QString(), text) << date;
    }
    EXPECT_EQ(ProtocolTable::getByDate(*db, "20070301")->getText(), "March");
    EXPECT_FALSE(ProtocolTable::getByDate(*db, "20070302"));
    ASSERT_TRUE(db->exec("update PROTOCOL set SYNC_STATE=30"));
    EXPECT_FALSE(ProtocolTable::getByDate(*db, "20070301"));
    EXPECT_FALSE(ProtocolTable::getLatestBefore(*db, "20070401"));
}

TEST_F(SideTables, BasalRateByStartTimeIncludesDeletedRows) {
    for (const char* time : {"00:00", "06:30"}) {
        BasilRate rate;
        rate.setStartTime(time);
        rate.setBasilMedAmt(time);
        ASSERT_TRUE(BasilRateTable::save(*db, rate));
    }
    ASSERT_TRUE(db->exec("update BASIL_RATE set SYNC_STATE = 30 where START_TIME = '00:00'"));
    EXPECT_EQ(BasilRateTable::getByStartTime(*db, "06:30")->getBasilMedAmt(), "06:30");
    EXPECT_EQ(BasilRateTable::getByStartTime(*db, "00:00")->getSyncState(), SyncState::Deleted);
    EXPECT_FALSE(BasilRateTable::getByStartTime(*db, "12:00"));
}

TEST(MedicationLookupOfList, KeepsItsOwnCopyOfTheFirstMedicationOfACode) {
    struct Row {
        const char* code;
        bool insulin;
        bool totals;
    };
    const Row list[] = {
        {"H", true, true}, {"M", false, true}, {"L", true, false}, {"H", false, false}, {"", 1, 1}};
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
        EXPECT_EQ(std::pair(flags->isInsulin, flags->includeInTotals),
                  std::pair(row.insulin, row.totals))
            << row.code;
    }
    EXPECT_FALSE(lookup(u'Z'));
    EXPECT_FALSE(lookup(QChar()));
}
