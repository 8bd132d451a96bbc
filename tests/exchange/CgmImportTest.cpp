#include "exchange/CgmImport.h"
#include "app/DefaultData.h"
#include "exchange/CgmInsulin.h"
#include "exchange/ClarityReader.h"
#include "logbook/LogbookActions.h"
#include "storage/CgmReadingTable.h"
#include "storage/Preference.h"
#include "storage/PreferenceTable.h"
#include "storage/QbPreferenceTable.h"
#include "support/GoldenFile.h"
#include "support/RecordingProgress.h"
#include "support/TestDatabase.h"
#include "support/TestLogbookContext.h"

#include <QBuffer>

namespace {

QString dataPath(const QString& name) {
    return qEnvironmentVariable("QUILLMARCH_TEST_DATA") + "/exchange/" + name;
}

// One line per reading and event read, then the counts: what a reader hands on.
QStringList described(const CgmExport& data) {
    QStringList lines;
    for (const CgmReading& r : data.readings)
        lines << QString("reading %1 %2 %3 %4")
                     .arg(r.time)
                     .arg(r.glucose)
                     .arg(r.rangeFlag)
                     .arg(r.source);
    static const char* const kKinds[] = {"meter", "rapid", "long", "carbs", "note"};
    for (const CgmEvent& e : data.events) {
        const QString value = e.kind == CgmEvent::Kind::MeterGlucose ? QString::number(e.glucose)
                              : e.kind == CgmEvent::Kind::Carbs      ? QString::number(e.carbs)
                                                                     : e.units + e.text;
        lines << QString("%1 %2 %3").arg(kKinds[int(e.kind)], e.time, value);
    }
    lines << QString("read %1 ignored %2").arg(data.recordsRead).arg(data.linesIgnored);
    return lines;
}

CgmExport readClarity(const QByteArray& bytes, const QString& name = "export.csv") {
    QBuffer buffer;
    buffer.setData(bytes);
    return ClarityReader::read(buffer, name);
}

// A new patient's database at 10 March 2024, noon; the retention of 168 days reaches back to
// 24 September 2023. Humalog (H) is the first insulin counted in the totals, Lantus (G) the
// first one that is not.
class CgmImportTest : public DatabaseTest {
protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        Preference preference;
        preference.setPatientName("Test Patient");
        ASSERT_TRUE(DefaultData::initNewDatabase(*db, preference, clock));
        context = std::make_unique<TestLogbookContext>(*db, prompts, clock.now());
    }

    ImportResult clarity(const QString& sample, CgmInsulinChoice insulin = {"H", "G"}) {
        return CgmImport(*context, progress)
            .importFile(&ClarityReader::read, dataPath(sample), insulin);
    }
    ImportResult clarityBytes(const QByteArray& bytes, CgmInsulinChoice insulin = {"H", "G"}) {
        QBuffer buffer;
        buffer.setData(bytes);
        return CgmImport(*context, progress)
            .import(&ClarityReader::read, buffer, "bytes.csv", insulin);
    }

    // Sensor readings, days, entries and notes, one row a line.
    QStringList dump() {
        QStringList lines;
        for (const char* sql : {"select 'CGM', * from CGM_READING order by PK",
                                "select 'DAY', * from SAMPLE_DATE order by PK",
                                "select 'ENTRY', * from SAMPLE order by PK",
                                "select 'NOTE', * from NOTE order by PK"})
            for (const std::string& row : rows(sql))
                lines << QString::fromStdString(row).replace('\n', "\\n");
        return lines;
    }
    int count(const char* table) {
        return db->count((std::string("select count(*) from ") + table).c_str());
    }
    void setRetention(int days) {
        auto preference = PreferenceTable::load(*db);
        preference->setRetainPcDayCnt(days);
        ASSERT_TRUE(PreferenceTable::save(*db, *preference));
        context->reload();
    }

    FixedClock clock{fromDateTimeText("20240310120000")};
    std::unique_ptr<TestLogbookContext> context;
    RecordingProgress progress;
};

TEST_F(CgmImportTest, QuotedSampleIsStoredAsTheExpectedRowsAndAgainChangesNothing) {
    const ImportResult result = clarity("clarity_quoted.csv");
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(result.recordsRead, 20); // 22 rows less hour 25 and a dose without units
    EXPECT_EQ(result.linesIgnored, 2);
    EXPECT_EQ(result.skippedByRetention, 2); // a reading and carbohydrates of September 2023
    EXPECT_EQ(result.readingsStored, 4);
    EXPECT_EQ(result.readingsKnown, 1); // 07:05 twice: the first one is kept
    EXPECT_EQ(result.recordsApplied, 6);
    EXPECT_EQ(result.daysSummarized, 2);
    EXPECT_EQ(result.dosesWithoutMedication, 0);
    const QStringList stored = dump();
    expectGoldenFile(stored, "exchange/clarity_sample.dump");

    const ImportResult again = clarity("clarity_quoted.csv");
    ASSERT_TRUE(again.ok);
    EXPECT_EQ(again.readingsStored, 0);
    EXPECT_EQ(again.readingsKnown, 5);
    EXPECT_EQ(again.recordsApplied, 0);
    EXPECT_EQ(dump(), stored);
}

TEST_F(CgmImportTest, PlainFormWithOtherColumnOrderStoresTheSameAndOverlapsTheQuotedOne) {
    const ImportResult result = clarity("clarity_plain.csv");
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(result.recordsRead, 20);
    EXPECT_EQ(result.readingsStored, 4);
    expectGoldenFile(dump(), "exchange/clarity_sample.dump");
    const QStringList stored = dump();
    ASSERT_TRUE(clarity("clarity_quoted.csv").ok);
    EXPECT_EQ(dump(), stored);
}

TEST_F(CgmImportTest, ReaderTakesEachKindOfRowAsItsValueSays) {
    const QByteArray mgdl = "Timestamp,Event Type,Event Subtype,Glucose Value (mg/dL),Insulin "
                            "Value (u),Carb Value (grams)\n";
    const QByteArray mmol = "Timestamp,Event Type,Event Subtype,Glucose Value (mmol/L),Insulin "
                            "Value (u),Carb Value (grams)\n";
    const struct {
        QByteArray header;
        QByteArray row;
        QString expected;
    } cases[] = {
        {mgdl, "2024-03-01T08:00:00,EGV,,High,,", "reading 20240301080000 400 1 clarity"},
        {mgdl, "2024-03-01T08:00:00,egv,,low,,", "reading 20240301080000 40 -1 clarity"},
        {mgdl, "2024-03-01 08:07,EGV,,123.7,,", "reading 20240301080700 123 0 clarity"},
        {mgdl, "2024-03-01T08:00:00,EGV,,0,,", ""},
        {mgdl, "2024-03-01T08:00:00,EGV,,1000,,", ""},
        {mgdl, "2024-03-01T08:00:00,EGV,,-5,,", ""},
        {mgdl, "2024-02-30T08:00:00,EGV,,100,,", ""},
        {mgdl, "2024-03-01T08:60:00,EGV,,100,,", ""},
        {mgdl, "2024-03-01T08:00:59,Insulin,Fast-Acting,,04.50,", "rapid 20240301080000 4.5"},
        {mgdl, "2024-03-01T08:00:00,Insulin,Long-Acting,,10.0,", "long 20240301080000 10"},
        {mgdl, "2024-03-01T08:00:00,Insulin,Long-Acting,,0.25,", "long 20240301080000 0.25"},
        {mgdl, "2024-03-01T08:00:00,Insulin,Fast-Acting,,0.0,", ""},
        {mgdl, "2024-03-01T08:00:00,Insulin,Fast-Acting,,1000,", ""},
        {mgdl, "2024-03-01T08:00:00,Insulin,Premixed,,5,", "skipped"},
        {mgdl, "2024-03-01T08:00:00,Carbs,,,,12.9", "carbs 20240301080000 12"},
        {mgdl, "2024-03-01T08:00:00,Carbs,,,,0", ""},
        {mgdl, "2024-03-01T08:00:00,Calibration,,High,,", ""},
        {mgdl, "2024-03-01T08:00:00,Calibration,,95,,", "meter 20240301080000 95"},
        {mgdl, "2024-03-01T08:00:00,Alert,Urgent Low,55,,", "skipped"},
        {mgdl, "\"2024-03-01T08:00:00\",\"EGV\",\"\",\"1\"\"0\",,", ""},
        {mmol, "2024-03-01T08:00:00,EGV,,6.7,,", "reading 20240301080000 120 0 clarity"},
        {mmol, "2024-03-01T08:00:00,Calibration,,5.55,,", "meter 20240301080000 99"},
        {mmol, "2024-03-01T08:00:00,EGV,,HIGH,,", "reading 20240301080000 400 1 clarity"},
    };
    for (const auto& c : cases) {
        // A second, good record keeps the file from being refused when the row is not read.
        const CgmExport data =
            readClarity(c.header + c.row + "\n2024-03-05T10:00:00,Alert,High,260,,\n");
        ASSERT_TRUE(data.ok()) << c.row.constData() << ": " << data.error.toStdString();
        QStringList lines = described(data);
        const QString counts = lines.takeLast();
        const QString got =
            c.expected == "skipped" && lines.isEmpty() && counts == "read 2 ignored 0"
                ? "skipped"
                : lines.join("; ");
        EXPECT_EQ(got, c.expected) << c.row.constData() << " (" << counts.toStdString() << ")";
        if (c.expected.isEmpty()) {
            EXPECT_EQ(counts, "read 1 ignored 1") << c.row.constData();
        }
    }
}

TEST_F(CgmImportTest, RefusedFilesNameTheFileAndTheFirstBadLineAndStoreNothing) {
    const struct {
        QByteArray bytes;
        QString error;
    } cases[] = {
        {QByteArray("Timestamp,Event Type\0", 21),
         "bytes.csv is not a text file: line 1 holds a NUL byte."},
        {"\"SKU: 0004-7788\"\n1,03/01/2024,08:00,120,,,10,,0,0,,,,,,\n",
         "bytes.csv holds no Clarity record; line 1 cannot be read: \"\"SKU: 0004-7788\"\""},
        {"Index,Timestamp,Event Type,Glucose Value (mg/dL)\r\n\r\n",
         "bytes.csv holds no Clarity record: line 1 is the column heads and no record follows."},
        {"Title\nTimestamp,Event Type,Glucose Value (mg/dL)\n2024-13-01T08:00:00,EGV,100\n",
         "bytes.csv holds no Clarity record; line 3 cannot be read: "
         "\"2024-13-01T08:00:00,EGV,100\""},
    };
    for (const auto& c : cases) {
        const ImportResult result = clarityBytes(c.bytes);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.error, c.error);
    }
    EXPECT_EQ(count("CGM_READING"), 0);
    EXPECT_EQ(count("SAMPLE"), 0);
    EXPECT_EQ(count("SAMPLE_DATE"), 0);
}

TEST_F(CgmImportTest, AWriteThatFailsPartWayLeavesNoReadingBehind) {
    ASSERT_TRUE(db->exec("create trigger refuse before insert on SAMPLE begin select "
                         "raise(abort, 'disk full'); end"));
    const ImportResult result = clarity("clarity_quoted.csv");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, dataPath("clarity_quoted.csv") +
                                " could not be imported: disk full. Nothing of it was stored.");
    EXPECT_EQ(count("CGM_READING"), 0);
    EXPECT_EQ(count("SAMPLE_DATE"), 0);
    EXPECT_EQ(db->openUnits(), 0);
}

TEST_F(CgmImportTest, RetentionOfZeroKeepsEveryRecordAndTheCleanUpRemovesOldReadings) {
    setRetention(0);
    const ImportResult result = clarity("clarity_quoted.csv");
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.skippedByRetention, 0);
    EXPECT_EQ(result.readingsStored, 5);
    EXPECT_EQ(result.recordsApplied, 7);

    // Back to 168 days: the clean-up asks once and takes the September reading with the day.
    setRetention(168);
    prompts.expect("Remove old log entries", {}, PromptAnswer::Yes);
    RecordingProgress cleanUp;
    LogbookActions(*context).retentionCleanUp(cleanUp);
    EXPECT_EQ(count("CGM_READING"), 4);
    EXPECT_EQ(db->count("select count(*) from CGM_READING where READING_TIME < '20240301'"), 0);
}

TEST_F(CgmImportTest, DosesGoUnderTheChosenInsulinsOrAreLeftOutAndCounted) {
    const ImportResult result = clarity("clarity_quoted.csv", {"N", ""});
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.dosesWithoutMedication, 1); // the long-acting dose of 21:00
    EXPECT_EQ(rows("select SAMPLE_TIME, MEDICATION_DOSAGE from SAMPLE where MEDICATION_DOSAGE <> "
                   "'' order by SAMPLE_TIME"),
              (std::vector<std::string>{"20240301080100|4.5N", "20240302130200|2N"}));
    EXPECT_EQ(count("SAMPLE"), 3);
}

TEST_F(CgmImportTest, MeterReadingsAreKeptInThePatientsUnit) {
    auto preference = PreferenceTable::load(*db);
    preference->setGlucoseSampleCode(kGlucoseUnitMmol);
    ASSERT_TRUE(PreferenceTable::save(*db, *preference));
    context->reload();
    ASSERT_TRUE(clarity("clarity_quoted.csv").ok);
    // 131 mg/dL is 7.3 mmol/L (7.28), 187 is 10.4 (10.39); sensor readings stay in mg/dL.
    EXPECT_EQ(rows("select GLUCOSE_CNT from SAMPLE where GLUCOSE_CNT <> 0 order by SAMPLE_TIME"),
              (std::vector<std::string>{"73", "104"}));
    EXPECT_EQ(rows("select GLUCOSE_CNT from CGM_READING order by READING_TIME limit 1"),
              std::vector<std::string>{"112"});
}

TEST_F(CgmImportTest, InsulinDefaultsFollowTheQuickBolusAndTheTotals) {
    EXPECT_EQ(CgmInsulin::defaults(*db), (CgmInsulinChoice{"H", "G"}));
    auto settings = QbPreferenceTable::getByPk(*db, QbPreferenceTable::kPk);
    ASSERT_TRUE(settings);
    settings->setMedCode("G"); // an odd choice, but the calculator's: it wins
    ASSERT_TRUE(QbPreferenceTable::save(*db, *settings));
    EXPECT_EQ(CgmInsulin::defaults(*db), (CgmInsulinChoice{"G", "R"}));
    settings->setMedCode("V"); // not active: the first insulin in the totals instead
    ASSERT_TRUE(QbPreferenceTable::save(*db, *settings));
    EXPECT_EQ(CgmInsulin::defaults(*db), (CgmInsulinChoice{"H", "G"}));

    EXPECT_EQ(CgmInsulin::problem(*db, "H", "rapid-acting"), "");
    EXPECT_EQ(CgmInsulin::problem(*db, "", "rapid-acting"), "");
    EXPECT_EQ(CgmInsulin::problem(*db, "V", "long-acting"),
              "\"V\" is not the code of one of the patient's active insulins, so it cannot take "
              "the long-acting insulin. The codes are: H (Humalog), G (Lantus), N (NPH), R "
              "(Regular).");
}

} // namespace
