#include "storage/DbConvert.h"
#include "storage/BloodPressureTable.h"
#include "storage/MedicationTable.h"
#include "storage/OldLayouts.h"
#include "storage/PreferenceTable.h"
#include "storage/SampleDateTable.h"
#include "storage/SampleTable.h"
#include "support/RecordingProgress.h"
#include "support/TestDatabase.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

using namespace OldLayouts;
using Rows = std::vector<std::string>;

namespace {

const QString kCaption = QString::fromLatin1(DbConvert::kCaption);
// A preference row of the layout with the "normal" glucose range.
const char* const kOldPreferenceRow =
    "insert into PREFERENCE values (1, 0, 20, 'Jo O''Neil', 'Dr. Who', '(555)111-2222', "
    "'(555)111-3333', '19700101', '19950601', 14, 200, 'F', 'T', 118, 141, 121, 78, 81, 91, 90, "
    "60, 160, 250)";

class DbConvertTest : public DatabaseTest {
protected:
    bool convert() {
        takeStatements();
        DbConvert converter(*db, progress);
        converter.setTableCreatedHook(hook);
        const bool ok = converter.convert();
        statements = takeStatements();
        vacuumed = converter.vacuumed();
        return ok;
    }

    void exec(const std::string& sql) { ASSERT_TRUE(db->exec(sql.c_str())) << sql; }

    bool ran(const std::string& statement) const {
        return std::find(statements.begin(), statements.end(), statement) != statements.end();
    }
    bool ranAnyContaining(std::string part) const {
        std::transform(part.begin(), part.end(), part.begin(), ::tolower);
        return std::any_of(statements.begin(), statements.end(), [&part](std::string s) {
            std::transform(s.begin(), s.end(), s.begin(), ::tolower);
            return s.find(part) != std::string::npos;
        });
    }

    // The engine stores a creation statement with its first two words upper-cased.
    static std::string stored(const char* createSql) {
        return "CREATE TABLE" + std::string(createSql).substr(std::string("create table").size());
    }

    std::string schemaOf(const std::string& table) {
        Rows sql = rows(
            ("select sql from sqlite_master where type='table' and name='" + table + "'").c_str());
        return sql.empty() ? std::string() : sql.front();
    }

    // An old file with days and entries in every synchronisation state (30 included: those
    // rows still have to reach the handheld) and texts with apostrophes elsewhere.
    void fillVersion3File() {
        createVersion3Layout(*db);
        exec(kOldPreferenceRow);
        exec("insert into MEDICATION values (4, 3, 20, 'T', 'F', 'H', 'Humalog''s pen', "
             "'20070301', 28, 2, 'RX12345678')");
        exec("insert into BLOOD_PRESSURE values (3, '20070315083000', 120, 80, 60, 0)");
        exec("insert into SAMPLE_DATE values (1, 0, 10, 0, '20070315', 1, 45, 120, 2, 650, 1, 0)");
        exec("insert into SAMPLE_DATE values (4, 8, 20, 1, '20070316', 2, 30, 98, 1, 300, 0, 21)");
        exec("insert into SAMPLE_DATE values (5, 9, 30, 0, '20070317', 0, 0, 0, 0, 0, 0, 0)");
        exec("insert into SAMPLE values (10, 0, 10, 1, 2, '20070315083000', 45, 120, 0, 1, "
             "'20070315083500', '5H 2N', '1H')");
        exec("insert into SAMPLE values (11, 3, 20, 4, 3, '20070316120000', 30, 98, 22, 0, '', "
             "'', '')");
        exec("insert into SAMPLE values (15, 0, 99, 5, 4, '20070317190000', 0, 250, 0, 3, "
             "'20070317190000', '8H', '')");
    }

    Rows days() { return rows("select * from SAMPLE_DATE order by PK"); }
    Rows entries() { return rows("select * from SAMPLE order by PK"); }
    // The schema with the days and entries, to see that a run changed nothing.
    Rows everything() {
        Rows all = rows("select * from sqlite_master order by name");
        for (const Rows& part : {days(), entries()})
            all.insert(all.end(), part.begin(), part.end());
        return all;
    }
    void expectNothingRewritten() {
        EXPECT_FALSE(ranAnyContaining("drop "));
        EXPECT_FALSE(ranAnyContaining("vacuum"));
        EXPECT_FALSE(vacuumed);
        EXPECT_TRUE(progress.topics.isEmpty());
    }

    RecordingProgress progress;
    std::function<void(const QString&)> hook;
    std::vector<std::string> statements;
    bool vacuumed = false;
};

} // namespace

// ---- Files already in the current layout ---------------------------------------------------

TEST_F(DbConvertTest, CurrentLayoutPassesThroughUntouched) {
    createCurrentLayout(*db);
    exec("insert into SAMPLE_DATE values (1, 0, 20, 0, '20070315', 1, 45, 120, 2, 650, 1, 0, "
         "'T')");
    exec("insert into SAMPLE values (2, 0, 30, 1, 2, '20070315083000', 45, 120, 0, 1, '', '', "
         "'', 'T', 0)");
    exec("insert into BLOOD_PRESSURE values (3, 0, 10, '20070315083000', 120, 80, 60, 0, '72.5')");
    const Rows before = everything();

    ASSERT_TRUE(convert());

    expectNothingRewritten();
    EXPECT_FALSE(ranAnyContaining("insert "));
    EXPECT_TRUE(ran("select * from sqlite_master where tbl_name='BLOOD_PRESSURE'"));
    EXPECT_TRUE(ran("select * from sqlite_master where tbl_name='MEDICATION'"));
    EXPECT_TRUE(ran("select * from sqlite_master where tbl_name='PREFERENCE'"));
    EXPECT_EQ(progress.finished, 0);
    EXPECT_EQ(everything(), before);
}

TEST_F(DbConvertTest, SecondRunChangesNothing) {
    fillVersion3File();
    ASSERT_TRUE(convert());
    const Rows before = everything();
    progress.topics.clear();

    ASSERT_TRUE(convert());

    expectNothingRewritten();
    EXPECT_EQ(everything(), before);
}

// ---- Vital records and medications ---------------------------------------------------------

TEST_F(DbConvertTest, VitalsWithoutSyncStateKeepKeysAndValues) {
    createCurrentLayout(*db);
    replaceTable(*db, "BLOOD_PRESSURE", kBloodPressureWithoutSync);
    exec("insert into BLOOD_PRESSURE values (3, '20070315083000', 120, 80, 60, 0)");
    exec("insert into BLOOD_PRESSURE values (7, '20070316090000', 135, 85, 72, 12)");

    ASSERT_TRUE(convert());

    EXPECT_TRUE(ran("select BP_TIME,DIASTOLIC,SYSTOLIC,PULSE,NOTE_PK from BLOOD_PRESSURE"));
    EXPECT_TRUE(ran("drop table blood_pressure"));
    EXPECT_EQ(rows("select * from BLOOD_PRESSURE order by PK"),
              (Rows{"3|0|10|20070315083000|120|80|60|0|", "7|0|10|20070316090000|135|85|72|12|"}));
    EXPECT_EQ(schemaOf("BLOOD_PRESSURE"), stored(BloodPressureTraits::kCreate));
    // This conversion shows no progress, and the new table already has WEIGHT.
    EXPECT_TRUE(progress.topics.isEmpty());
    EXPECT_FALSE(vacuumed);
}

TEST_F(DbConvertTest, VitalsWithoutWeightAreRewrittenWithProgress) {
    createCurrentLayout(*db);
    replaceTable(*db, "BLOOD_PRESSURE", kBloodPressureWithoutWeight);
    exec("insert into BLOOD_PRESSURE values (2, 0, 10, '20070301080000', 118, 79, 55, 0)");
    exec("insert into BLOOD_PRESSURE values (5, 4, 20, '20070302080000', 140, 90, 80, 31)");
    exec("insert into BLOOD_PRESSURE values (9, 6, 30, '20070303080000', 150, 95, 88, 0)");

    ASSERT_TRUE(convert());

    EXPECT_EQ(rows("select * from BLOOD_PRESSURE order by PK"),
              (Rows{"2|0|10|20070301080000|118|79|55|0|", "5|4|20|20070302080000|140|90|80|31|",
                    "9|6|30|20070303080000|150|95|88|0|"}));
    EXPECT_EQ(schemaOf("BLOOD_PRESSURE"), stored(BloodPressureTraits::kCreate));
    EXPECT_EQ(progress.topics, (QStringList{"Converting Vital Entries to 4.0.1 step 1",
                                            "Converting Vital Entries to 4.0.1 step 2"}));
    EXPECT_EQ(progress.items,
              (QStringList{"Read 1 of 3", "Read 2 of 3", "Read 3 of 3", "20070301080000 1 of 3",
                           "20070302080000 2 of 3", "20070303080000 3 of 3"}));
    EXPECT_EQ(progress.finished, 1);
    EXPECT_FALSE(vacuumed); // only the quick-bolus conversion vacuums
}

TEST_F(DbConvertTest, OldMedicationsBecomeInsulinsWithTheirFlags) {
    createCurrentLayout(*db);
    replaceTable(*db, "MEDICATION", kMedicationWithoutInsulinFlag);
    exec("insert into MEDICATION values (4, 3, 20, 'T', 'F', 'H', 'Humalog''s pen', '20070301', "
         "28, 2, 'RX12345678')");
    exec("insert into MEDICATION values (6, 0, 10, 't', 'T', 'N', 'NPH', '', 0, 0, '')");

    ASSERT_TRUE(convert());

    EXPECT_TRUE(ran("select ACTIVE_BOL,INCLUDE_IN_TOTALS_BOL,MED_CODE,MED_DESC,OPEN_DATE, "
                    "EXPIRE_DAY_CNT, INCREMENT_BY_CODE, RX_ORDER_ID from MEDICATION"));
    EXPECT_TRUE(ran("drop table medication"));
    EXPECT_EQ(rows("select * from MEDICATION order by PK"),
              (Rows{"4|3|20|T|T|F|H|Humalog's pen|20070301|28|2|RX12345678",
                    "6|0|10|T|F|T|N|NPH||0|0|"}));
    EXPECT_EQ(schemaOf("MEDICATION"), stored(MedicationTraits::kCreate));
}

// ---- Preferences ---------------------------------------------------------------------------

TEST_F(DbConvertTest, PreferenceWithoutRowOneIsLeftAsItWas) {
    createCurrentLayout(*db);
    const std::pair<const char*, const char*> cases[] = {
        {"", "PREFERENCE Read returned 0 for conversion"},
        {"insert into PREFERENCE (PK, SYNC_STATE, PATIENT_NAME, NORMAL_GLUCOSE_LO) values (2, 10, "
         "'Someone', 90)",
         "Not Pref found"}};
    for (auto [insert, message] : cases) {
        replaceTable(*db, "PREFERENCE", kPreferenceNormalRange);
        if (*insert)
            exec(insert);
        const Rows before = rows("select * from PREFERENCE");
        prompts.expect(kCaption, message);

        EXPECT_FALSE(convert()) << message;

        prompts.verify();
        EXPECT_EQ(schemaOf("PREFERENCE"), stored(kPreferenceNormalRange)) << message;
        EXPECT_EQ(rows("select * from PREFERENCE"), before) << message;
        EXPECT_FALSE(ranAnyContaining("drop ")) << message;
    }
}

TEST_F(DbConvertTest, PreferenceWithUnitButOldRangeIsRewrittenByQuickBolusStep) {
    fillVersion3File();
    replaceTable(*db, "PREFERENCE", kPreferenceUnitAndNormalRange);
    exec("insert into PREFERENCE values (1, 5, 20, 'Jo O''Neil', 'Dr. No', 7, 90, 1, 45, 35, 80, "
         "120)");

    ASSERT_TRUE(convert());

    // mmol/L stays mmol/L; the phone was not in the old row and takes its default.
    EXPECT_EQ(rows("select PK, FK, PATIENT_NAME, RETAIN_PC_DAY_CNT, GLUCOSE_SAMPLE_CODE, "
                   "DELIVERY_CODE, GLUCOSE_EXT_LO, GLUCOSE_LO, GLUCOSE_HI, GLUCOSE_EXT_HI, "
                   "DOCTOR_PHONE from PREFERENCE"),
              Rows{"1|5|Jo O'Neil|90|1|1|35|45|80|120|(###)###-####"});
    EXPECT_EQ(schemaOf("PREFERENCE"), stored(PreferenceTraits::kCreate));
}

// ---- The quick-bolus conversion of days and entries ----------------------------------------

TEST_F(DbConvertTest, Version3FileIsBroughtToTheCurrentLayout) {
    fillVersion3File();

    ASSERT_TRUE(convert());

    for (const char* table :
         {"BASIL_RATE", "QB_PREFERENCE", "QB_RATIO", "QB_SENSITIVITY", "QB_TARGET", "A1C", "CARBS"})
        EXPECT_FALSE(schemaOf(table).empty()) << table;
    EXPECT_TRUE(ran("Insert into QB_PREFERENCE ( PK, FK, SYNC_STATE, MED_CODE, MED_MINUTES, "
                    "USE_BOL) values ( 1, 0, 10, '', 0, 'F')"));
    EXPECT_EQ(rows("select * from QB_PREFERENCE"), Rows{"1|0|10||0|F"});

    EXPECT_EQ(schemaOf("SAMPLE_DATE"), stored(SampleDateTraits::kCreate));
    EXPECT_EQ(schemaOf("SAMPLE"), stored(SampleTraits::kCreate));
    EXPECT_EQ(days(), (Rows{"1|0|10|0|20070315|1|45|120|2|650|1|0|F",
                            "4|8|20|1|20070316|2|30|98|1|300|0|21|F",
                            "5|9|30|0|20070317|0|0|0|0|0|0|0|F"}));
    EXPECT_EQ(entries(), (Rows{"10|0|10|1|2|20070315083000|45|120|0|1|20070315083500|5H 2N|1H|F|1",
                               "11|3|20|4|3|20070316120000|30|98|22|0||||F|1",
                               "15|0|99|5|4|20070317190000|0|250|0|3|20070317190000|8H||F|1"}));
    EXPECT_EQ(rows("select * from MEDICATION"),
              Rows{"4|3|20|T|T|F|H|Humalog's pen|20070301|28|2|RX12345678"});
    // The old preference takes its range and injection: GLUCOSE_SAMPLE_CODE 0 (mg/dL),
    // DELIVERY_CODE 1, then LO, EXT_LO, HI, EXT_HI.
    EXPECT_TRUE(ran("select normal_glucose_ext_lo, normal_glucose_lo, normal_glucose_hi, "
                    "normal_glucose_ext_hi from preference"));
    EXPECT_EQ(schemaOf("PREFERENCE"), stored(PreferenceTraits::kCreate));
    EXPECT_EQ(rows("select * from PREFERENCE"),
              (Rows{"1|0|20|Jo O'Neil|Dr. Who|(555)111-2222|(555)111-3333|19700101|19950601|14|"
                    "200|F|T|118|141|121|78|81|91|0|1|90|60|160|250"}));

    EXPECT_TRUE(vacuumed);
    EXPECT_TRUE(ran("vacuum"));
    EXPECT_EQ(progress.topics, (QStringList{"Converting Day Entries to 4.0 step 1",
                                            "Converting Day Entries to 4.0 step 2",
                                            "Converting Log Entries to 4.0 step 1",
                                            "Converting Log Entries to 4.0 step 2"}));
    EXPECT_EQ(progress.items,
              (QStringList{"Read 1 of 3", "Read 2 of 3", "Read 3 of 3", "20070315 1 of 3",
                           "20070316 2 of 3", "20070317 3 of 3", "Read 1 of 3", "Read 2 of 3",
                           "Read 3 of 3", "20070315083000 1 of 3", "20070316120000 2 of 3",
                           "20070317190000 3 of 3"}));
    EXPECT_EQ(progress.finished, 1);
    // Dropping SAMPLE dropped its indexes; they are back.
    EXPECT_EQ(rows("select name from sqlite_master where type='index' and name='SAMPLE_BY_DAY'"),
              Rows{"SAMPLE_BY_DAY"});
}

TEST_F(DbConvertTest, SlotTimeWrittenAsElevenThreeBecomesHalfPastEleven) {
    createCurrentLayout(*db);
    exec("insert into SAMPLE_TYPE values (1, 0, 10, '0700', 'Breakfast', '')");
    exec("insert into SAMPLE_TYPE values (2, 0, 20, '11:3', 'Lunch', '4H')");

    ASSERT_TRUE(convert());

    EXPECT_TRUE(ran("update sample_type set sample_time = '1130' where sample_time='11:3'"));
    EXPECT_EQ(rows("select PK, SAMPLE_TIME from SAMPLE_TYPE order by PK"),
              (Rows{"1|0700", "2|1130"}));
}

// ---- Failures leave the old rows in place --------------------------------------------------

TEST_F(DbConvertTest, FailureWhileWritingEntriesKeepsEveryOldRow) {
    fillVersion3File();
    const Rows oldDays = days();
    const Rows oldEntries = entries();
    hook = [this](const QString& table) {
        if (table == QStringLiteral("SAMPLE"))
            exec("create trigger stop_at_second before insert on SAMPLE when new.PK = 11 begin "
                 "select raise(abort, 'disk full'); end");
    };
    prompts.expect(kCaption, QStringLiteral("Could not convert SAMPLE: disk full"));

    EXPECT_FALSE(convert());

    EXPECT_TRUE(ran("drop table SAMPLE")); // it got as far as that
    EXPECT_EQ(entries(), oldEntries);
    EXPECT_EQ(schemaOf("SAMPLE"), stored(kSampleWithoutDelivery));
    // The days were already rewritten; they go back too, and so does the quick-bolus row
    // that would have marked the conversion as done.
    EXPECT_EQ(days(), oldDays);
    EXPECT_EQ(schemaOf("SAMPLE_DATE"), stored(kSampleDateWithoutSite));
    EXPECT_TRUE(schemaOf("QB_PREFERENCE").empty());
    EXPECT_FALSE(ran("vacuum"));
    EXPECT_EQ(progress.finished, 1);
    EXPECT_EQ(db->openUnits(), 0);

    hook = nullptr;
    ASSERT_TRUE(convert());
    EXPECT_EQ(entries().size(), 3u);
    EXPECT_EQ(rows("select * from QB_PREFERENCE"), Rows{"1|0|10||0|F"});
}

TEST_F(DbConvertTest, FailureWhileWritingVitalsKeepsOldTableAndStops) {
    fillVersion3File();
    exec("insert into BLOOD_PRESSURE values (7, '20070316090000', 135, 85, 72, 12)");
    const Rows oldVitals = rows("select * from BLOOD_PRESSURE order by PK");
    hook = [this](const QString& table) {
        if (table == QStringLiteral("BLOOD_PRESSURE"))
            exec("create trigger stop_vitals before insert on BLOOD_PRESSURE when new.PK = 7 "
                 "begin select raise(abort, 'no room'); end");
    };
    prompts.expect(kCaption, QStringLiteral("Could not convert BLOOD_PRESSURE: no room"));

    EXPECT_FALSE(convert());

    EXPECT_EQ(rows("select * from BLOOD_PRESSURE order by PK"), oldVitals);
    EXPECT_EQ(schemaOf("BLOOD_PRESSURE"), stored(kBloodPressureWithoutSync));
    // Nothing after the failed step ran.
    EXPECT_EQ(schemaOf("MEDICATION"), stored(kMedicationWithoutInsulinFlag));
    EXPECT_FALSE(ranAnyContaining("drop table medication"));
}

TEST_F(DbConvertTest, UnreadableEntriesStopBeforeAnythingIsDropped) {
    fillVersion3File();
    // A column spelled in other letter case would be read back as a default value.
    replaceTable(*db, "SAMPLE",
                 "create table SAMPLE ( PK INTEGER PRIMARY KEY, FK INTEGER, SYNC_STATE INTEGER, "
                 "SAMPLE_DATE_PK INTEGER, SAMPLE_TIME TIMESTAMP, glucose_cnt INTEGER )");
    exec("insert into SAMPLE values (10, 0, 10, 1, '20070315083000', 120)");
    const Rows oldDays = days();
    prompts.expect(kCaption, QStringLiteral("Sample Read returned 0 for conversion"));

    EXPECT_FALSE(convert());

    EXPECT_FALSE(ran("drop table SAMPLE"));
    EXPECT_EQ(entries(), Rows{"10|0|10|1|20070315083000|120"});
    EXPECT_EQ(days(), oldDays);
    EXPECT_EQ(schemaOf("SAMPLE_DATE"), stored(kSampleDateWithoutSite));
}

TEST_F(DbConvertTest, OldRowsSharingAKeyAreNotMergedAway) {
    fillVersion3File();
    replaceTable(*db, "SAMPLE",
                 "create table SAMPLE ( PK INTEGER, FK INTEGER, SYNC_STATE INTEGER, "
                 "SAMPLE_TIME TIMESTAMP )");
    exec("insert into SAMPLE values (10, 0, 10, '20070315083000')");
    exec("insert into SAMPLE values (10, 0, 10, '20070315120000')");
    prompts.expect(kCaption, QStringLiteral("Could not convert SAMPLE: 2 rows read, 1 stored"));

    EXPECT_FALSE(convert());

    EXPECT_EQ(entries(), (Rows{"10|0|10|20070315083000", "10|0|10|20070315120000"}));
}

TEST_F(DbConvertTest, ClosedDatabaseIsReported) {
    Database closed(prompts);
    RecordingProgress unused;
    prompts.expect(kCaption, QStringLiteral("Db is null"));
    EXPECT_FALSE(DbConvert(closed, unused).convert());
}

TEST_F(DbConvertTest, MissingVitalsTableIsReported) {
    createCurrentLayout(*db);
    exec("drop table BLOOD_PRESSURE");
    prompts.expect(kCaption, QStringLiteral("Failed .schema BLOOD_PRESSURE"));

    EXPECT_FALSE(convert());
    EXPECT_FALSE(ranAnyContaining("drop "));
}
