#include "app/DefaultData.h"
#include "exchange/BgTrackerData.h"
#include "exchange/OneTouchData.h"
#include "storage/Medication.h"
#include "storage/MedicationTable.h"
#include "storage/Preference.h"
#include "storage/PreferenceTable.h"
#include "support/GoldenFile.h"
#include "support/RecordingProgress.h"
#include "support/TestDatabase.h"
#include "support/TestLogbookContext.h"

#include <QBuffer>
#include <QFile>
#include <memory>

namespace {

QString dataPath(const QString& name) {
    return qEnvironmentVariable("QUILLMARCH_TEST_DATA") + "/exchange/" + name;
}

// A new patient's database, made as the program makes one, at 10 March 2024, noon; the
// retention of 168 days reaches back to 24 September 2023.
class MeterImportTest : public DatabaseTest {
protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        Preference preference;
        preference.setPatientName("Test Patient");
        ASSERT_TRUE(DefaultData::initNewDatabase(*db, preference, clock));
        context = std::make_unique<TestLogbookContext>(*db, prompts, clock.now());
    }

    ImportResult oneTouch(const QString& sample) {
        return OneTouchData(*context, progress).importFile(dataPath(sample));
    }
    ImportResult bgTracker(const QString& sample) {
        return BgTrackerData(*context, progress).importFile(dataPath(sample));
    }
    ImportResult oneTouchBytes(const QByteArray& bytes, const QString& name = "bytes.csv") {
        QBuffer buffer;
        buffer.setData(bytes);
        return OneTouchData(*context, progress).import(buffer, name);
    }
    ImportResult bgTrackerBytes(const QByteArray& bytes, const QString& name = "bytes.txt") {
        QBuffer buffer;
        buffer.setData(bytes);
        return BgTrackerData(*context, progress).import(buffer, name);
    }

    // Days, entries, notes and medications, one row a line (a note's line feeds as "\n").
    QStringList dump() {
        QStringList lines;
        for (const char* sql :
             {"select 'DAY', * from SAMPLE_DATE order by PK",
              "select 'ENTRY', * from SAMPLE order by PK", "select 'NOTE', * from NOTE order by PK",
              "select 'MEDICATION', * from MEDICATION order by PK"})
            for (const std::string& row : rows(sql))
                lines << QString::fromStdString(row).replace('\n', "\\n");
        return lines;
    }
    int count(const char* table) {
        return db->count((std::string("select count(*) from ") + table).c_str());
    }

    FixedClock clock{fromDateTimeText("20240310120000")};
    std::unique_ptr<TestLogbookContext> context;
    RecordingProgress progress;
};

TEST_F(MeterImportTest, OneTouchSampleIsStoredAsTheExpectedRowsAndAgainChangesNothing) {
    const ImportResult result = oneTouch("onetouch_sample.csv");
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(result.recordsRead, 16);
    EXPECT_EQ(result.recordsApplied, 10);
    EXPECT_EQ(result.skippedByRetention, 1);
    EXPECT_EQ(result.linesIgnored, 4); // two lines naming the meter, the column heads, month 13
    EXPECT_EQ(result.daysSummarized, 3);
    EXPECT_EQ(result.dosesWithoutMedication, 0);
    const QStringList stored = dump();
    expectGoldenFile(stored, "exchange/onetouch_sample.dump");

    const ImportResult again = oneTouch("onetouch_sample.csv");
    ASSERT_TRUE(again.ok);
    EXPECT_EQ(again.recordsApplied, 0);
    EXPECT_EQ(dump(), stored);
}

TEST_F(MeterImportTest, OneTouchProgressOpensAtTheTotalLineAndCountsFromOne) {
    ASSERT_TRUE(oneTouch("onetouch_sample.csv").ok);
    EXPECT_EQ(progress.topics, QStringList{"Importing Please Wait"});
    ASSERT_EQ(progress.steps(), 16);
    EXPECT_EQ(progress.items.first(), "Importing 1 of 17");
    EXPECT_EQ(progress.items.last(), "Importing 16 of 17");
    EXPECT_EQ(progress.finished, 1);
}

TEST_F(MeterImportTest, BgTrackerSampleIsStoredAsTheExpectedRowsAndAgainChangesNothing) {
    const ImportResult result = bgTracker("bgtracker_sample.txt");
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(result.recordsRead, 6);
    EXPECT_EQ(result.recordsApplied, 5); // the second line at 00:30 finds the first
    EXPECT_EQ(result.linesIgnored, 3);   // the column heads, hour 25, 30 February
    EXPECT_EQ(result.daysSummarized, 2);
    const QStringList stored = dump();
    expectGoldenFile(stored, "exchange/bgtracker_sample.dump");
    EXPECT_TRUE(progress.topics.isEmpty());

    ASSERT_TRUE(bgTracker("bgtracker_sample.txt").ok);
    EXPECT_EQ(dump(), stored);
}

TEST_F(MeterImportTest, RetentionOfZeroDaysKeepsEveryRecord) {
    auto preference = PreferenceTable::load(*db);
    preference->setRetainPcDayCnt(0);
    ASSERT_TRUE(PreferenceTable::save(*db, *preference));
    const ImportResult result = oneTouch("onetouch_sample.csv");
    EXPECT_EQ(result.skippedByRetention, 0);
    EXPECT_EQ(result.recordsApplied, 11);
}

TEST_F(MeterImportTest, InsulinWithoutAFreeCodeLetterIsLeftOutAndTheRestImported) {
    for (char letter = 'C'; letter <= 'Z'; ++letter) {
        Medication medication;
        medication.setMedCode(QString(QChar(letter)));
        medication.setMedDesc(QString("Taken %1").arg(letter));
        if (!MedicationTable::getByCode(*db, medication.getMedCode())) {
            ASSERT_TRUE(MedicationTable::save(*db, medication));
        }
    }
    const ImportResult result = oneTouchBytes("1,03/01/2024,07:15,5.5,,,30,,0,1,,,,,,\n"
                                              "2,03/01/2024,07:15,142,,,10,,0,0,,,,,,\n"
                                              "3,03/01/2024,07:15,3,,,30,,0,7,,,,Humalog,,\n");
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.dosesWithoutMedication, 1);
    EXPECT_EQ(rows("select GLUCOSE_CNT, MEDICATION_DOSAGE from SAMPLE"),
              std::vector<std::string>{"142|3H"});
}

TEST_F(MeterImportTest, AFailedWritePartWayLeavesTheLogbookAsItWas) {
    ASSERT_TRUE(bgTracker("bgtracker_sample.txt").ok);
    const QStringList before = dump();
    // The disk fills up after two more entries.
    ASSERT_TRUE(db->exec("create trigger full_disk before insert on SAMPLE when (select "
                         "count(*) from SAMPLE) >= 7 begin select raise(abort, 'disk full'); end"));
    const ImportResult result = oneTouch("onetouch_sample.csv");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error.toStdString(),
              (dataPath("onetouch_sample.csv") +
               " could not be imported: disk full. Nothing of it was stored.")
                  .toStdString());
    EXPECT_EQ(progress.finished, 1);
    EXPECT_EQ(dump(), before);
    EXPECT_EQ(db->openUnits(), 0);
}

TEST_F(MeterImportTest, FilesOfNoRecordAreRefusedNamingTheFileAndNothingIsStored) {
    QByteArray tenMegabytes(10 * 1024 * 1024, '7');
    const struct {
        const char* what;
        QByteArray bytes;
        const char* problem;
    } cases[] = {
        {"empty", "", "bad.csv is empty: it holds no line to import."},
        {"binary", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16),
         "bad.csv is not a text file: line 3 holds a NUL byte."},
        {"truncated", "\"TOTAL",
         "bad.csv holds no OneTouch record; line 1 cannot be read: \"\"TOTAL\""},
        {"10 MB line", "\"TOTAL NUMBER: 1\"\n" + tenMegabytes,
         "bad.csv: line 2 is longer than 65536 bytes and cannot be read."},
        {"UTF-16", QByteArray("\xFF\xFE\x31\0,\0", 6),
         "bad.csv is UTF-16 text, which is not read: save it as UTF-8 or ANSI text and import it "
         "again."},
        {"another CSV",
         "Date,Payee,Amount,Balance,A,B,C,D,E,F,G,H,I,J,K,L\n2024-03-01,Shop,-5.00,100.00,,,,,,,,,,"
         ",,\n",
         "bad.csv holds no OneTouch record; line 1 cannot be read: "
         "\"Date,Payee,Amount,Balance,A,B,C,D,E,F,G,H,I,J,K,L\""},
    };
    for (const auto& c : cases) {
        const ImportResult result = oneTouchBytes(c.bytes, "bad.csv");
        EXPECT_FALSE(result.ok) << c.what;
        EXPECT_EQ(result.error.toStdString(), c.problem) << c.what;
    }
    const ImportResult tracker = bgTrackerBytes("Id\tNo\tDate\n\n", "bad.txt");
    EXPECT_EQ(tracker.error.toStdString(),
              "bad.txt holds no BG Tracker 4 record; line 1 cannot be read: \"Id No Date\"");
    EXPECT_EQ(bgTracker("onetouch_sample.csv").ok, false);
    EXPECT_EQ(oneTouch("bgtracker_sample.txt").ok, false);
    EXPECT_EQ(oneTouch("no_such_file.csv").error,
              dataPath("no_such_file.csv") + "\n does not exists and cannot be imported.");
    for (const char* table : {"SAMPLE", "SAMPLE_DATE", "NOTE"})
        EXPECT_EQ(count(table), 0) << table;
    EXPECT_EQ(count("MEDICATION"), 10);
    EXPECT_TRUE(progress.topics.isEmpty());
}

TEST_F(MeterImportTest, RecordsOfOneMomentApartInTheFileFillOneEntry) {
    const ImportResult result = oneTouchBytes("1,03/01/2024,07:15,142,,,10,,0,0,,,,,,\n"
                                              "2,03/01/2024,09:15,99,,,10,,0,0,,,,,,\n"
                                              "3,03/01/2024,07:15,30,,,50,,0,0,,,,,,\n");
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(rows("select SAMPLE_TIME, GLUCOSE_CNT, CARB_CNT, SYNC_STATE from SAMPLE"),
              (std::vector<std::string>{"20240301071500|142|30|20", "20240301091500|99|0|10"}));
}

TEST_F(MeterImportTest, ATruncatedLastRecordIsPassedOverAndLatinOneCommentsRead) {
    const ImportResult result = oneTouchBytes("1,03/01/2024,07:15,142,,,10,,0,0,Caf\xE9,,,,,\n"
                                              "2,03/01/2024,08:15,99,,,10,,0");
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.recordsApplied, 1);
    EXPECT_EQ(result.linesIgnored, 1);
    EXPECT_EQ(rows("select TEXT from NOTE"), std::vector<std::string>{"Caf\xC3\xA9"});
}

} // namespace
