#include "storage/PreferenceTable.h"
#include "support/QbScheduleRows.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using Rows = std::vector<std::string>;

namespace {

const std::string kDefaultValues = "28|168|T|T|119|140|120|79|80|90|0|1|80|65|150|220";
const std::string kDefaultRow = "1|0|10||Dr.|(###)###-####|(###)###-####|||" + kDefaultValues;
const GlucoseRange kOwnRange{65, 80, 150, 220};

class PreferenceRecord : public DatabaseTest {
protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        ASSERT_TRUE(PreferenceTable::createTable(*db));
        ASSERT_TRUE(QbPreferenceTable::createTable(*db));
        ASSERT_TRUE(QbTargetTable::createTable(*db));
        takeStatements();
    }
};

class PreferenceRange : public PreferenceRecord {};

} // namespace

TEST_F(PreferenceRecord, LoadCreatesTheDefaultRowOnceAndRereadsIt) {
    auto first = PreferenceTable::load(*db);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->getPk(), 1);
    EXPECT_EQ(rows("select * from PREFERENCE"), Rows{kDefaultRow});

    first->setPatientName("Anna O'Neill");
    first->setGlucoseSampleCode(1);
    first->setAskDeleteBol(false);
    first->setGlucoseLo(44);
    ASSERT_TRUE(PreferenceTable::save(*db, *first));
    takeStatements();
    auto again = PreferenceTable::load(*db);
    ASSERT_TRUE(again);
    EXPECT_EQ(takeStatements(), Rows{"Select * from PREFERENCE where pk=1"});
    EXPECT_EQ(again->getPatientName(), "Anna O'Neill");
    EXPECT_EQ(again->getDoctorName(), "Dr.");
    EXPECT_EQ(again->getGlucoseSampleCode(), 1);
    EXPECT_FALSE(again->getAskDeleteBol());
    EXPECT_TRUE(again->getMilitaryTimeBol());
    EXPECT_EQ(again->getGlucoseLo(), 44);
    EXPECT_EQ(again->getGlucoseExtHi(), 220);
    EXPECT_EQ(again->getRetainPcDayCnt(), 168);
    EXPECT_EQ(again->getDeliveryCode(), 1);
    EXPECT_EQ(rows("select count(*) from PREFERENCE"), Rows{"1"});
}

TEST_F(PreferenceRecord, ClearOfTheBaseZeroesButClearOfAPreferenceRestoresDefaults) {
    PreferenceAbs bare;
    bare.setDoctorName("Dr. Who");
    bare.setGlucoseHi(180);
    bare.setMilitaryTimeBol(false);
    bare.clear();
    EXPECT_EQ(bare.getDoctorName(), "");
    EXPECT_EQ(bare.getGlucoseHi(), 0);
    EXPECT_EQ(bare.getDeliveryCode(), 0);
    EXPECT_EQ(bare.getSyncState(), 10);
    EXPECT_TRUE(bare.getMilitaryTimeBol());
    EXPECT_TRUE(bare.getAskDeleteBol());

    Preference preference;
    preference.setPk(4);
    preference.setFk(9);
    preference.setSyncState(20);
    preference.setPatientName("Anna");
    preference.setDoctorFax("555");
    preference.setBirthDate("19700101");
    preference.setRetainHhDayCnt(3);
    preference.setBpDiastolicHi(1);
    preference.setGlucoseSampleCode(1);
    preference.setDeliveryCode(0);
    preference.setAskDeleteBol(false);
    static_cast<PreferenceAbs&>(preference).clear();
    EXPECT_EQ(preference.getSyncState(), 20);
    ASSERT_TRUE(PreferenceTable::save(*db, preference, 10));
    // Keys survive the clear; every other field is back at its default.
    EXPECT_EQ(rows("select * from PREFERENCE"), Rows{"4|9" + kDefaultRow.substr(3)});
}

TEST_F(PreferenceRecord, TextsAreCutToTheirWidthInCharacters) {
    Preference preference;
    preference.setDoctorName(QString(40, u'x'));
    // 40 characters, most of them two bytes in UTF-8.
    QString accented = QString(20, QChar(0x00E4)) + QString(20, QChar(0x00DF));
    preference.setPatientName(accented);
    preference.setDoctorPhone("0123456789012345678");
    ASSERT_TRUE(PreferenceTable::save(*db, preference));
    EXPECT_EQ(rows("select DOCTOR_NAME, PATIENT_NAME, DOCTOR_PHONE from PREFERENCE"),
              Rows{QString(35, u'x').toStdString() + "|" + accented.left(35).toStdString() +
                   "|012345678901234"});
}

TEST_F(PreferenceRecord, ToMgDlConvertsTenthsOfMmolTruncating) {
    Preference preference;
    EXPECT_EQ(preference.toMgDl(99), 99);
    preference.setGlucoseSampleCode(1);
    EXPECT_EQ(preference.toMgDl(55), 99);
    EXPECT_EQ(preference.toMgDl(56), 100);
    EXPECT_EQ(preference.toMgDl(-56), -100);
}

TEST_F(PreferenceRecord, SaveStatementsAndTableShape) {
    ASSERT_TRUE(PreferenceTable::createTable(*db));
    EXPECT_EQ(
        takeStatements(),
        (Rows{"drop table PREFERENCE",
              "create table PREFERENCE ( PK INTEGER PRIMARY KEY, FK INTEGER, SYNC_STATE INTEGER, "
              "PATIENT_NAME VARCHAR(35), DOCTOR_NAME VARCHAR(35), DOCTOR_PHONE VARCHAR(15), "
              "DOCTOR_FAX VARCHAR(15), BIRTH_DATE DATE, DX_DATE DATE, RETAIN_HH_DAY_CNT INTEGER, "
              "RETAIN_PC_DAY_CNT INTEGER, MILITARY_TIME_BOL VARCHAR(2), ASK_DELETE_BOL "
              "VARCHAR(2), BP_SYSTOLIC_NORMAL INTEGER, BP_SYSTOLIC_HI INTEGER, "
              "BP_SYSTOLIC_MODERATE INTEGER, BP_DIASTOLIC_NORMAL INTEGER, BP_DIASTOLIC_MODERATE "
              "INTEGER, BP_DIASTOLIC_HI INTEGER, GLUCOSE_SAMPLE_CODE INTEGER, DELIVERY_CODE "
              "INTEGER, GLUCOSE_LO INTEGER, GLUCOSE_EXT_LO INTEGER, GLUCOSE_HI INTEGER, "
              "GLUCOSE_EXT_HI INTEGER )"}));

    Preference preference;
    ASSERT_TRUE(PreferenceTable::save(*db, preference));
    preference.setPatientName("O'Neill");
    ASSERT_TRUE(PreferenceTable::save(*db, preference));
    Preference elsewhere;
    elsewhere.setPk(7);
    ASSERT_TRUE(PreferenceTable::save(*db, elsewhere));
    const std::string columns =
        "PATIENT_NAME, DOCTOR_NAME, DOCTOR_PHONE, DOCTOR_FAX, BIRTH_DATE, DX_DATE, "
        "RETAIN_HH_DAY_CNT, RETAIN_PC_DAY_CNT, MILITARY_TIME_BOL, ASK_DELETE_BOL, "
        "BP_SYSTOLIC_NORMAL, BP_SYSTOLIC_HI, BP_SYSTOLIC_MODERATE, BP_DIASTOLIC_NORMAL, "
        "BP_DIASTOLIC_MODERATE, BP_DIASTOLIC_HI, GLUCOSE_SAMPLE_CODE, DELIVERY_CODE, GLUCOSE_LO, "
        "GLUCOSE_EXT_LO, GLUCOSE_HI, GLUCOSE_EXT_HI) values ( ";
    const std::string defaults = "'', 'Dr.', '(###)###-####', '(###)###-####', '', '', 28, 168, "
                                 "'T', 'T', 119, 140, 120, 79, 80, 90, 0, 1, 80, 65, 150, 220)";
    EXPECT_EQ(takeStatements(),
              (Rows{"Insert into PREFERENCE ( FK, SYNC_STATE, " + columns + "0, 10, " + defaults,
                    "Select * from PREFERENCE where pk=1",
                    "Update PREFERENCE set FK=0, SYNC_STATE=20, PATIENT_NAME='O''Neill', "
                    "DOCTOR_NAME='Dr.', DOCTOR_PHONE='(###)###-####', DOCTOR_FAX='(###)###-####', "
                    "BIRTH_DATE='', DX_DATE='', RETAIN_HH_DAY_CNT=28, RETAIN_PC_DAY_CNT=168, "
                    "MILITARY_TIME_BOL='T', ASK_DELETE_BOL='T', BP_SYSTOLIC_NORMAL=119, "
                    "BP_SYSTOLIC_HI=140, BP_SYSTOLIC_MODERATE=120, BP_DIASTOLIC_NORMAL=79, "
                    "BP_DIASTOLIC_MODERATE=80, BP_DIASTOLIC_HI=90, GLUCOSE_SAMPLE_CODE=0, "
                    "DELIVERY_CODE=1, GLUCOSE_LO=80, GLUCOSE_EXT_LO=65, GLUCOSE_HI=150, "
                    "GLUCOSE_EXT_HI=220 where pk=1",
                    "Select * from PREFERENCE where pk=7",
                    "Insert into PREFERENCE ( PK, FK, SYNC_STATE, " + columns + "7, 0, 20, " +
                        defaults}));

    db->exec("update PREFERENCE set sync_state = 30 where pk = 7");
    takeStatements();
    auto query = PreferenceTable::selectAll(*db, 4, false);
    ASSERT_TRUE(query);
    EXPECT_EQ(takeStatements(),
              Rows{"Select * from PREFERENCE  where sync_state <> 30  order by DOCTOR_NAME desc"});
    auto listed = PreferenceTable::getNext(*db, *query);
    ASSERT_TRUE(listed);
    EXPECT_EQ(listed->getPatientName(), "O'Neill");
    EXPECT_FALSE(PreferenceTable::getNext(*db, *query));
}

TEST_F(PreferenceRange, WithoutTargetsTheRecordsOwnRangeAppliesAllDay) {
    Preference preference;
    preference.setGlucoseExtLo(60);
    preference.setGlucoseLo(70);
    preference.setGlucoseHi(160);
    preference.setGlucoseExtHi(250);
    EXPECT_EQ(preference.loadTargetPeriods(*db), 0);
    for (const char* time : {"00:00", "05:59", "12:00", "23:59", "20070315083000", ""})
        EXPECT_EQ(preference.getGlucoseRange(time), (GlucoseRange{60, 70, 160, 250})) << time;
}

TEST_F(PreferenceRange, TargetsApplyFromTheirTimeAndTheLastRunsPastMidnight) {
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

TEST_F(PreferenceRange, TargetsAreIgnoredWhileTheCalculatorIsOff) {
    addQbTarget(*db, "06:00", 80, 140);
    Preference preference;
    EXPECT_EQ(preference.loadTargetPeriods(*db), 0); // no quick-bolus row at all

    storeQbPreference(*db, "", 0, true);
    ASSERT_EQ(preference.loadTargetPeriods(*db), 1);
    storeQbPreference(*db, "", 0, false);
    EXPECT_EQ(preference.loadTargetPeriods(*db), 0);
    EXPECT_EQ(preference.getGlucoseRange("07:00"), kOwnRange);
}

TEST_F(PreferenceRange, AtMostTenTargetsAreHeldTheEarliestOnes) {
    storeQbPreference(*db, "", 0, true);
    for (int hour = 12; hour >= 1; --hour)
        addQbTarget(*db, QString::asprintf("%02d:00", hour).toUtf8().constData(), 70 + hour, 150);
    Preference preference;
    ASSERT_EQ(preference.loadTargetPeriods(*db), 10);
    EXPECT_EQ(preference.targetPeriods().front().time, "01:00");
    EXPECT_EQ(preference.targetPeriods().back().time, "10:00");
    EXPECT_EQ(preference.getGlucoseRange("23:00").lo, 80);
}
