#include "storage/DbConvert.h"
#include "storage/OldLayouts.h"
#include "support/RecordingProgress.h"
#include "support/TestDatabase.h"

#include <algorithm>
#include <string>
#include <vector>

using namespace OldLayouts;
using Rows = std::vector<std::string>;

namespace {

const QString kCaption = QString::fromLatin1(DbConvert::kCaption);
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

    // A new file for the next case of a table.
    void freshFile() {
        db = openAt(QString("case%1.db").arg(++m_files));
        clearProgress();
    }
    void clearProgress() {
        progress.topics.clear();
        progress.items.clear();
        progress.finished = 0;
    }

    void exec(const std::string& sql) { ASSERT_TRUE(db->exec(sql.c_str())) << sql; }

    bool ran(const std::string& statement) const {
        return std::find(statements.begin(), statements.end(), statement) != statements.end();
    }
    bool dropped() const {
        return std::any_of(statements.begin(), statements.end(), [](const std::string& s) {
            return QString::fromStdString(s).startsWith("drop", Qt::CaseInsensitive);
        });
    }

    // The creation statement as the engine keeps it: its first two words upper-cased.
    std::string schemaOf(const std::string& table) {
        Rows sql = rows(
            ("select sql from sqlite_master where type='table' and name='" + table + "'").c_str());
        return sql.empty()
                   ? std::string()
                   : "create table" + sql.front().substr(std::string("CREATE TABLE").size());
    }

    void fillVersion3File() { runScript(*db, "version3.sql"); }

    // The table again with its columns spelled in lower case, rows and all.
    void lowerColumns(const std::string& table) {
        const QString create = QString::fromStdString(
            rows(("select sql from sqlite_master where name='" + table + "'").c_str()).at(0));
        const qsizetype open = create.indexOf('(');
        exec("alter table " + table + " rename to OLD");
        exec((create.left(open) + create.mid(open).toLower()).toStdString());
        exec("insert into " + table + " select * from OLD");
        exec("drop table OLD");
    }

    // The file as text: each table's creation statement with its rows (only the tables named,
    // when names are given), then what the progress window showed.
    QStringList dump(const QStringList& only = {}) {
        QStringList out;
        for (const std::string& table :
             rows("select name from sqlite_master where type='table' order by name")) {
            if (!only.isEmpty() && !only.contains(QString::fromStdString(table)))
                continue;
            out << QString::fromStdString(schemaOf(table));
            for (const std::string& row : rows(("select * from " + table + " order by 1").c_str()))
                out << "  " + QString::fromStdString(row);
        }
        if (!only.isEmpty())
            return out;
        for (const QString& topic : progress.topics)
            out << "topic " + topic;
        for (const QString& item : progress.items)
            out << "item " + item;
        return out;
    }

    Rows entries() { return rows("select * from SAMPLE order by PK"); }

    RecordingProgress progress;
    std::function<void(const QString&)> hook;
    std::vector<std::string> statements;
    bool vacuumed = false;

private:
    int m_files = 0;
};

} // namespace

TEST_F(DbConvertTest, CurrentLayoutAndASecondRunPassThroughUntouched) {
    for (bool old : {false, true}) {
        freshFile();
        old ? fillVersion3File() : createCurrentLayout(*db);
        if (old)
            ASSERT_TRUE(convert());
        else
            exec("insert into BLOOD_PRESSURE values (7, 0, 10, '20070315083000', 120, 80, 60, 0, "
                 "'72.5')");
        clearProgress();
        const QStringList before = dump();

        ASSERT_TRUE(convert());

        EXPECT_FALSE(dropped()) << old;
        EXPECT_FALSE(vacuumed || ran("vacuum")) << old;
        EXPECT_EQ(progress.finished, 0) << old;
        EXPECT_EQ(dump(), before) << old; // no progress shown either
        for (const char* table : {"BLOOD_PRESSURE", "MEDICATION", "PREFERENCE"})
            EXPECT_TRUE(
                ran("select * from sqlite_master where tbl_name='" + std::string(table) + "'"));
    }
}

TEST_F(DbConvertTest, VitalsWithoutWeightAreRewrittenWithProgress) {
    createCurrentLayout(*db);
    replaceTable(*db, "BLOOD_PRESSURE", kBloodPressureWithoutWeight);
    exec("insert into BLOOD_PRESSURE values (2, 0, 10, '20070301080000', 118, 79, 55, 0)");
    exec("insert into BLOOD_PRESSURE values (5, 4, 30, '20070302080000', 140, 90, 80, 31)");

    ASSERT_TRUE(convert());

    EXPECT_EQ(dump({"BLOOD_PRESSURE"}),
              (QStringList{BloodPressureTraits::kCreate, "  2|0|10|20070301080000|118|79|55|0|",
                           "  5|4|30|20070302080000|140|90|80|31|"}));
    EXPECT_EQ(progress.topics, (QStringList{"Converting Vital Entries to 4.0.1 step 1",
                                            "Converting Vital Entries to 4.0.1 step 2"}));
    EXPECT_EQ(progress.items, (QStringList{"Read 1 of 2", "Read 2 of 2", "20070301080000 1 of 2",
                                           "20070302080000 2 of 2"}));
    EXPECT_FALSE(vacuumed); // only the quick-bolus conversion vacuums
}

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
        EXPECT_EQ(schemaOf("PREFERENCE"), kPreferenceNormalRange) << message;
        EXPECT_EQ(rows("select * from PREFERENCE"), before) << message;
        EXPECT_FALSE(dropped()) << message;
    }
}

TEST_F(DbConvertTest, PreferenceWithUnitButOldRangeIsRewrittenByQuickBolusStep) {
    fillVersion3File();
    replaceTable(*db, "PREFERENCE", kPreferenceUnitAndNormalRange);
    exec("insert into PREFERENCE values (1, 5, 20, 'Jo', 'Dr. No', 7, 90, 1, 45, 35, 80, 120)");

    ASSERT_TRUE(convert());

    // mmol/L stays mmol/L; the phone was not in the old row and takes its default.
    EXPECT_EQ(rows("select PK, FK, RETAIN_PC_DAY_CNT, GLUCOSE_SAMPLE_CODE, DELIVERY_CODE, "
                   "GLUCOSE_EXT_LO, GLUCOSE_LO, GLUCOSE_HI, GLUCOSE_EXT_HI, DOCTOR_PHONE from "
                   "PREFERENCE"),
              Rows{"1|5|90|1|1|35|45|80|120|(###)###-####"});
    EXPECT_EQ(schemaOf("PREFERENCE"), PreferenceTraits::kCreate);
}

TEST_F(DbConvertTest, Version3FileIsBroughtToTheCurrentLayout) {
    fillVersion3File();

    ASSERT_TRUE(convert());

    // Every table created; days and entries rewritten with their own keys and states; the
    // old preference takes its range and injection; '11:3' becomes '1130'.
    expectGolden(dump(), "converted_version3.txt");
    for (const char* read :
         {"select normal_glucose_ext_lo, normal_glucose_lo, normal_glucose_hi, "
          "normal_glucose_ext_hi from preference",
          "select BP_TIME,DIASTOLIC,SYSTOLIC,PULSE,NOTE_PK from BLOOD_PRESSURE",
          "select ACTIVE_BOL,INCLUDE_IN_TOTALS_BOL,MED_CODE,MED_DESC,OPEN_DATE, EXPIRE_DAY_CNT, "
          "INCREMENT_BY_CODE, RX_ORDER_ID from MEDICATION"})
        EXPECT_TRUE(ran(read)) << read;
    EXPECT_TRUE(vacuumed && ran("vacuum"));
    EXPECT_EQ(progress.finished, 1);
    // Dropping SAMPLE dropped its indexes; they are back.
    EXPECT_EQ(rows("select name from sqlite_master where name='SAMPLE_BY_DAY'").size(), 1u);
}

// Rows are read by column name, and old tables did not always spell a name as now: the same
// file with every old column in lower case converts to exactly the same.
TEST_F(DbConvertTest, ColumnsSpelledInOtherLetterCaseKeepTheirValues) {
    fillVersion3File();
    for (const char* table :
         {"SAMPLE", "SAMPLE_DATE", "PREFERENCE", "MEDICATION", "BLOOD_PRESSURE"})
        lowerColumns(table);

    ASSERT_TRUE(convert());

    expectGolden(dump(), "converted_version3.txt");
}

// A failure part way leaves every old row and table as it was, and is reported.
TEST_F(DbConvertTest, FailureWhileWritingKeepsEveryOldRow) {
    struct Failure {
        const char* table;
        const char* trigger;
        const char* message;
        QStringList kept; // the days go back too, and everything after the failed step
    };
    const Failure cases[] = {
        {"SAMPLE",
         "create trigger stop before insert on SAMPLE when new.PK = 11",
         "Could not convert SAMPLE: disk full",
         {"SAMPLE", "SAMPLE_DATE"}},
        {"BLOOD_PRESSURE",
         "create trigger stop before insert on BLOOD_PRESSURE",
         "Could not convert BLOOD_PRESSURE: disk full",
         {"BLOOD_PRESSURE", "MEDICATION"}},
    };
    for (const Failure& failure : cases) {
        freshFile();
        fillVersion3File();
        const QStringList before = dump(failure.kept);
        hook = [&](const QString& table) {
            if (table == failure.table)
                exec(failure.trigger + std::string(" begin select raise(abort, 'disk full'); end"));
        };
        prompts.expect(kCaption, failure.message);

        EXPECT_FALSE(convert());

        EXPECT_TRUE(dropped()); // it got as far as that
        EXPECT_EQ(dump(failure.kept), before) << failure.table;
        EXPECT_FALSE(ran("vacuum"));
        EXPECT_EQ(db->openUnits(), 0);
        // The quick-bolus row that would mark the conversion done goes back too.
        EXPECT_TRUE(schemaOf("QB_PREFERENCE").empty());
        hook = nullptr;
        ASSERT_TRUE(convert());
        EXPECT_EQ(entries().size(), 3u);
    }
}

TEST_F(DbConvertTest, OldRowsSharingAKeyAreNotMergedAway) {
    fillVersion3File();
    replaceTable(*db, "SAMPLE",
                 "create table SAMPLE ( PK INTEGER, FK INTEGER, SYNC_STATE INTEGER, SAMPLE_TIME "
                 "TIMESTAMP )");
    exec("insert into SAMPLE values (10, 0, 10, '20070315083000')");
    exec("insert into SAMPLE values (10, 0, 10, '20070315120000')");
    prompts.expect(kCaption, QStringLiteral("Could not convert SAMPLE: 2 rows read, 1 stored"));

    EXPECT_FALSE(convert());

    EXPECT_EQ(entries(), (Rows{"10|0|10|20070315083000", "10|0|10|20070315120000"}));
}

TEST_F(DbConvertTest, ClosedDatabaseAndMissingVitalsAreReported) {
    Database closed(prompts);
    prompts.expect(kCaption, QStringLiteral("Db is null"));
    EXPECT_FALSE(DbConvert(closed, progress).convert());

    createCurrentLayout(*db);
    exec("drop table BLOOD_PRESSURE");
    prompts.expect(kCaption, QStringLiteral("Failed .schema BLOOD_PRESSURE"));
    EXPECT_FALSE(convert());
    EXPECT_FALSE(dropped());
}
