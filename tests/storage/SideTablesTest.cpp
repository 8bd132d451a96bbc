#include "storage/Clock.h"
#include "storage/Conversions.h"
#include "storage/OldLayouts.h"
#include "support/QbScheduleRows.h"
#include "support/TestDatabase.h"

using Rows = std::vector<std::string>;

namespace {

const std::string kDefaultRow =
    "1|0|10||Dr.|(###)###-####|(###)###-####|||28|168|T|T|119|140|120|79|80|90|0|1|80|65|150|220";
const GlucoseRange kOwnRange{65, 80, 150, 220};

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
};

template <class Table> class QbSchedule : public DatabaseTest {
protected:
    using Record = typename Table::Record;

    void SetUp() override {
        DatabaseTest::SetUp();
        ASSERT_TRUE(Table::createTable(*db));
    }
    static void setTime(Record& row, const char* time) {
        (row.*Table::TableTraits::columns()[Table::kTimeColumn].setText)(time);
    }
    int add(const char* time, int fk = 0) {
        Record row;
        setTime(row, time);
        row.setFk(fk);
        EXPECT_TRUE(Table::save(*db, row));
        return row.getPk();
    }
    // The key of the row in force, or -1 for none.
    int inForceAt(const char* time) {
        auto row = Table::findInForce(*db, time);
        return row ? row->getPk() : -1;
    }
};

using ScheduleTables = testing::Types<QbRatioTable, QbSensitivityTable, QbTargetTable>;
TYPED_TEST_SUITE(QbSchedule, ScheduleTables);

} // namespace

TEST_F(SideTables, FailedCreationShowsTheTablesCaption) {
    // A view under the table's name survives "drop table" and makes the CREATE fail.
    ASSERT_TRUE(db->exec("drop table A1C"));
    ASSERT_TRUE(db->exec("create view A1C as select 1 as PK"));
    prompts.expect("Create Table A1c", "view A1C already exists");
    EXPECT_FALSE(A1cTable::createTable(*db));
}

TEST_F(SideTables, MedicationByNameFindsTheRowOrTakesTheFirstFreeLetter) {
    for (QChar c : QString("HGNVRPLUAB"))
        addMedication(c);
    const int lantus = addMedication("N", "Lantus 'SoloStar'");
    EXPECT_EQ(MedicationTable::getOrCreateByDesc(*db, "Lantus 'SoloStar'")->getPk(), lantus);
    ASSERT_TRUE(MedicationTable::getOrCreateByDesc(*db, "Apidra"));
    EXPECT_EQ(rows("select FK, SYNC_STATE, IS_INSULIN_BOL, ACTIVE_BOL, INCLUDE_IN_TOTALS_BOL, "
                   "MED_CODE, MED_DESC from MEDICATION where MED_DESC = 'Apidra'"),
              Rows{"0|10|T|T|T|C|Apidra"});
    // A deleted row still holds its letter.
    ASSERT_TRUE(db->exec("update MEDICATION set SYNC_STATE = 30 where MED_CODE = 'C'"));
    EXPECT_EQ(MedicationTable::getOrCreateByDesc(*db, "Novolog Mix")->getMedCode(), "D");
    // With every letter taken nothing is created.
    for (QChar c : QString(MedicationTable::kCodeLetters).mid(4))
        addMedication(c);
    EXPECT_EQ(rows("select count(distinct MED_CODE) from MEDICATION"), Rows{"26"});
    EXPECT_FALSE(MedicationTable::getOrCreateByDesc(*db, "Twenty-seventh"));
    EXPECT_EQ(rows("select count(*) from MEDICATION where MED_DESC = 'Twenty-seventh'"), Rows{"0"});
}

TEST_F(SideTables, SpecialRemovals) {
    // An A1c result marked deleted stays as a deleted row even without a handheld id.
    A1c local;
    ASSERT_TRUE(A1cTable::save(*db, local));
    ASSERT_TRUE(A1cTable::markRecordDeleted(*db, local));
    EXPECT_EQ(rows("select pk, fk, sync_state from A1C"), Rows{"1|0|30"});
    // A key no row has: done for a medication, a failure for a vital record.
    EXPECT_TRUE(MedicationTable::removeByPk(*db, 77));
    EXPECT_TRUE(MedicationTable::removeByPk(*db, addMedication("H")));
    EXPECT_EQ(rows("select count(*) from MEDICATION"), Rows{"0"});
    EXPECT_FALSE(BloodPressureTable::removeByPk(*db, 5));
    // A vital record takes its note along, and only its own.
    Note note, other;
    ASSERT_TRUE(NoteTable::save(*db, note) && NoteTable::save(*db, other));
    BloodPressure vital;
    vital.setNotePk(note.getPk());
    ASSERT_TRUE(BloodPressureTable::save(*db, vital));
    EXPECT_TRUE(BloodPressureTable::removeByPk(*db, vital.getPk()));
    EXPECT_EQ(rows("select count(*) from BLOOD_PRESSURE"), Rows{"0"});
    EXPECT_EQ(rows("select PK from NOTE"), Rows{std::to_string(other.getPk())});
}

TEST_F(SideTables, PreferenceLoadCreatesTheDefaultRowOnceAndRereadsIt) {
    auto first = PreferenceTable::load(*db);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->getPk(), 1);
    EXPECT_EQ(rows("select * from PREFERENCE"), Rows{kDefaultRow});

    first->setGlucoseLo(44);
    ASSERT_TRUE(PreferenceTable::save(*db, *first));
    EXPECT_EQ(PreferenceTable::load(*db)->getGlucoseLo(), 44);
    EXPECT_EQ(rows("select count(*) from PREFERENCE"), Rows{"1"});
}

TEST_F(SideTables, PreferenceClearOfTheBaseZeroesButClearOfAPreferenceRestoresDefaults) {
    PreferenceAbs bare;
    Preference preference;
    for (PreferenceAbs* record : {&bare, static_cast<PreferenceAbs*>(&preference)}) {
        for (const auto& col : PreferenceTraits::columns()) {
            if (col.kind == ColumnKind::Integer)
                (record->*col.setInt)(4);
            else if (col.kind == ColumnKind::Text)
                (record->*col.setText)("x");
            else
                (record->*col.setBool)(false);
        }
        record->clear();
        ASSERT_TRUE(PreferenceTable::save(*db, *record, 10));
    }
    EXPECT_EQ(preference.getSyncState(), 4);
    // The base keeps only its three set fields; keys survive the clear of a preference.
    EXPECT_EQ(
        rows("select * from PREFERENCE order by PK"),
        (Rows{"1|0|10|||||||0|0|T|T|0|0|0|0|0|0|0|0|0|0|0|0", "4|4" + kDefaultRow.substr(3)}));
}

TEST_F(SideTables, PreferenceRangeTargetsApplyFromTheirTimeAndTheLastRunsPastMidnight) {
    storeQbPreference(*db, "", 0, true);
    addQbTarget(*db, "22:00", 100, 200); // stored first: the order must come from the time
    addQbTarget(*db, "06:00", 80, 140);
    ASSERT_TRUE(QbTargetTable::removeByPk(*db, addQbTarget(*db, "12:00", 90, 150, 5)));

    Preference preference;
    ASSERT_EQ(preference.loadTargetPeriods(*db), 2);
    EXPECT_EQ(preference.targetPeriods()[0].time, "06:00");
    EXPECT_EQ(preference.targetPeriods()[1].time, "22:00");

    const GlucoseRange morning{64, 80, 140, 168};
    const GlucoseRange night{80, 100, 200, 240};
    // Clock times, full time stamps and four-digit times alike; no time at all still means
    // the record's own range.
    const std::pair<const char*, GlucoseRange> expected[] = {
        {"05:59", night},          {"06:00", morning},
        {"21:59", morning},        {"22:00", night},
        {"23:30", night},          {"20070315083000", morning},
        {"20070315053000", night}, {"0830", morning},
        {"2230", night},           {"", kOwnRange}};
    for (const auto& [time, range] : expected)
        EXPECT_EQ(preference.getGlucoseRange(time), range) << time;
}

TEST_F(SideTables, PreferenceRangeTargetsAreIgnoredWhileTheCalculatorIsOff) {
    addQbTarget(*db, "06:00", 80, 140);
    Preference preference;
    EXPECT_EQ(preference.loadTargetPeriods(*db), 0); // no quick-bolus row at all

    storeQbPreference(*db, "", 0, true);
    ASSERT_EQ(preference.loadTargetPeriods(*db), 1);
    storeQbPreference(*db, "", 0, false);
    EXPECT_EQ(preference.loadTargetPeriods(*db), 0);
    for (const char* time : {"00:00", "07:00", "23:59", "20070315083000", ""})
        EXPECT_EQ(preference.getGlucoseRange(time), kOwnRange) << time;
}

TEST_F(SideTables, PreferenceRangeAtMostTenTargetsAreHeldTheEarliestOnes) {
    storeQbPreference(*db, "", 0, true);
    for (int hour = 12; hour >= 1; --hour)
        addQbTarget(*db, QString::asprintf("%02d:00", hour).toUtf8().constData(), 70 + hour, 150);
    Preference preference;
    ASSERT_EQ(preference.loadTargetPeriods(*db), 10);
    EXPECT_EQ(preference.targetPeriods().front().time, "01:00");
    EXPECT_EQ(preference.targetPeriods().back().time, "10:00");
    EXPECT_EQ(preference.getGlucoseRange("23:00").lo, 80);
}

TYPED_TEST(QbSchedule, InForceCarriesTheLatestRowPastMidnight) {
    EXPECT_EQ(this->inForceAt("08:00"), -1);
    const int lunch = this->add("11:30");
    for (const char* time : {"00:00", "11:30", "23:59"})
        EXPECT_EQ(this->inForceAt(time), lunch) << time; // a single row is in force all day
    const int morning = this->add("06:00");
    const std::pair<const char*, int> expected[] = {{"05:59", lunch},   {"00:00", lunch},
                                                    {"06:00", morning}, {"11:29", morning},
                                                    {"11:30", lunch},   {"23:59", lunch}};
    for (auto [time, pk] : expected)
        EXPECT_EQ(this->inForceAt(time), pk) << time;
}

TYPED_TEST(QbSchedule, IsTimeFreeRefusesADuplicateButNotTheRowItself) {
    Database& db = *this->db;
    const int existing = this->add("08:00", 2);
    typename TestFixture::Record duplicate;
    this->setTime(duplicate, "08:00");
    EXPECT_FALSE(TypeParam::isTimeFree(db, duplicate));
    EXPECT_TRUE(TypeParam::isTimeFree(db, *TypeParam::getByPk(db, existing)));
    this->setTime(duplicate, "09:00");
    EXPECT_TRUE(TypeParam::isTimeFree(db, duplicate));
    // Once removed (here only marked, the handheld knows it) the time is free again.
    ASSERT_TRUE(TypeParam::removeByPk(db, existing));
    this->setTime(duplicate, "08:00");
    EXPECT_TRUE(TypeParam::isTimeFree(db, duplicate));
}

// Saving derives the extreme limits from the range, truncated, whatever the record held;
// saved again after an edit, from the new range.
TEST_F(SideTables, QbTargetSaveDerivesTheExtremeLimits) {
    QbTarget target;
    for (auto [lo, hi, stored] :
         {std::tuple{70, 180, "70|56|180|216"}, {4, 10, "4|3|10|12"}, {99, 99, "99|79|99|118"}}) {
        target.setGlucoseLo(lo);
        target.setGlucoseHi(hi);
        target.setGlucoseLoExt(1);
        ASSERT_TRUE(lo == 4 ? QbTargetTable::save(*db, target, 20)
                            : QbTargetTable::save(*db, target));
        EXPECT_EQ(
            rows("select GLUCOSE_LO, GLUCOSE_LO_EXT, GLUCOSE_HI, GLUCOSE_HI_EXT from QB_TARGET"),
            Rows{stored});
    }
}

TEST(QbPreferenceRecord, StartsSwitchedOffWhileClearSwitchesItOn) {
    QbPreference preference;
    preference.setMedCode("Nov");
    EXPECT_EQ(
        std::tuple(preference.getUseBol(), preference.getSyncState(), preference.getMedCode()),
        std::tuple(false, 10, QString("No")));
    static_cast<QbPreferenceAbs&>(preference).clear();
    EXPECT_EQ(std::pair(preference.getUseBol(), preference.getMedCode()),
              std::pair(true, QString()));
}
