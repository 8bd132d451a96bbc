#include "exchange/CsvFields.h"
#include "exchange/LibreViewReader.h"
#include "exchange/NightscoutReader.h"
#include "storage/Conversions.h"
#include "support/CgmExportText.h"
#include "support/GoldenFile.h"

#include <QBuffer>
#include <QFile>
#include <gtest/gtest.h>

#include <ctime>

namespace {

QString cgmData(const QString& name) {
    return qEnvironmentVariable("QUILLMARCH_TEST_DATA") + "/exchange/cgm/" + name;
}

// Files are named by their base name, so that messages do not depend on where the tests run.
CgmExport readFile(const QString& name) {
    QFile file(cgmData(name));
    if (name.endsWith(QLatin1String(".json")))
        return NightscoutReader::read(file, name);
    return LibreViewReader::read(file, name);
}

template <typename Reader> CgmExport readBytes(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    return Reader::read(buffer, QStringLiteral("in.txt"));
}

// Nightscout keeps moments in UTC; they are read in a zone of their own (one that changes to
// daylight saving time inside the samples), whatever zone the machine or the other tests use.
class CgmReadersTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_zone = qgetenv("TZ");
        qputenv("TZ", "America/New_York");
        tzset();
    }
    static void TearDownTestSuite() {
        qputenv("TZ", s_zone);
        tzset();
    }
    static inline QByteArray s_zone;
};

TEST_F(CgmReadersTest, SamplesReadAsTheirGoldenDumps) {
    for (const char* sample : {"libreview_dayfirst_mmol", "libreview_monthfirst_mgdl",
                               "nightscout_entries", "nightscout_treatments"}) {
        SCOPED_TRACE(sample);
        const QString name = QString::fromLatin1(sample) +
                             (QString::fromLatin1(sample).startsWith("night") ? ".json" : ".csv");
        expectGoldenFile(cgmExportText(readFile(name)),
                         "exchange/cgm/" + QString(sample) + ".expected");
    }
}

TEST_F(CgmReadersTest, RefusesFilesNamingTheFileAndWhatIsWrong) {
    const struct {
        const char* file;
        const char* message;
    } files[] = {
        {"libreview_ambiguous.csv",
         "libreview_ambiguous.csv cannot be imported: every date in it reads both with the day "
         "first and with the month first (line 3: \"05-03-2024 23:52\"), so the day of its "
         "readings is not known. Export a period that includes a day after the 12th of a month."},
        {"libreview_contradicting.csv",
         "libreview_contradicting.csv cannot be imported: its dates contradict each other. Line 3 "
         "(\"13-03-2024 06:58\") has the day first, line 4 (\"03-13-2024 07:13\") the month "
         "first."},
        {"libreview_malformed.csv",
         "libreview_malformed.csv holds no LibreView record; line 3 cannot be read: "
         "\"FreeStyle LibreLink;3F8A21C0-5B7E-4D0A-9E11-2C6D8A7B4E90;12....\""},
        {"nightscout_malformed.json",
         "nightscout_malformed.json is not a Nightscout file: it is not JSON (unterminated string "
         "at character 133)."},
        {"libreview_missing.csv",
         "libreview_missing.csv cannot be read: No such file or directory"},
    };
    for (const auto& c : files) {
        const CgmExport data = readFile(c.file);
        EXPECT_EQ(data.error.toStdString(), c.message);
        EXPECT_TRUE(data.readings.empty() && data.events.empty()) << c.file;
    }

    const struct {
        const char* bytes;
        bool json;
        const char* message;
    } contents[] = {
        {"Device,Serial Number,Device Timestamp,Historic Glucose mg/dL\nx,y,01-13-2024 10:00,99\n",
         false,
         "in.txt is not a LibreView export: none of its first lines names the columns \"Device "
         "Timestamp\" and \"Record Type\"."},
        {"details\nDevice Timestamp,Record Type,Historic Glucose mg/dL\n\n", false,
         "in.txt holds no LibreView record: no line follows its header."},
        {"details\nDevice Timestamp,Record Type\n31-02-2024 10:00,0\n", false,
         "in.txt holds no LibreView record with a date that exists."},
        {"details\nDevice Timestamp,Record Type,Historic Glucose mg/dL\n13-03-2024 10:00,0,\n"
         "13-03-2024 10:15,0,high-ish\n",
         false, "in.txt holds no LibreView record; line 3 cannot be read: \"13-03-2024 10:00,0,\""},
        {"", false, "in.txt is empty: it holds no line to import."},
        {"{\"type\":\"sgv\",\"sgv\":120,\"date\":1710054000000}", true,
         "in.txt is not a Nightscout file: it holds an object where a list of records belongs."},
        {"[{\"sgv\":5,\"date\":1710054000000},{\"eventType\":\"Note\"},{\"name\":\"x\"},7]", true,
         "in.txt holds no Nightscout record: none of its 4 items is a glucose entry (sgv, mbg) or "
         "a treatment with its time."},
        {" \n", true, "in.txt is empty: it holds no record to import."},
    };
    for (const auto& c : contents) {
        const CgmExport data =
            c.json ? readBytes<NightscoutReader>(c.bytes) : readBytes<LibreViewReader>(c.bytes);
        EXPECT_EQ(data.error.toStdString(), c.message) << c.bytes;
        EXPECT_TRUE(data.readings.empty() && data.events.empty()) << c.bytes;
    }
}

TEST_F(CgmReadersTest, LibreViewHeadersAreFoundByNameWhateverTheirOrderAndSpelling) {
    // No details line, columns reordered, other spellings, semicolons, seconds and AM/PM.
    const CgmExport data = readBytes<LibreViewReader>(
        "Notes;Long-acting insulin (units);record type;HISTORIC GLUCOSE (MMOL/L);device "
        "timestamp\n"
        "\"a; b\";;0;6.7;2024-03-13 08:15:30\n"
        ";10;4;;03/13/2024 09:05 PM\n"
        ";;0;4.44;03/14/2024 12:00 AM\n");
    EXPECT_EQ(cgmExportText(data).join('|').toStdString(),
              "read 3 ignored 0|reading 20240313081530 120 0 libreview|"
              "reading 20240314000000 79 0 libreview|note 20240313081530 a; b|"
              "long 20240313210500 10");
}

TEST_F(CgmReadersTest, NightscoutDosesAreLongActingOnlyWhenTheRecordSaysSo) {
    const struct {
        const char* record;
        const char* kind;
    } cases[] = {
        {R"("eventType":"Meal Bolus")", "rapid"},
        {R"("eventType":"Correction Bolus","insulinType":"Humalog")", "rapid"},
        {R"("eventType":"Temp Basal Start")", "rapid"},
        {R"("eventType":"Basal Injection")", "long"},
        {R"("eventType":"Note","insulinType":"Insulin Degludec")", "long"},
        {R"("eventType":"Note","insulinType":"long-acting")", "long"},
    };
    for (const auto& c : cases) {
        const QByteArray json =
            QByteArray("[{") + c.record + R"(,"insulin":2,"created_at":"2024-01-02T03:04:05Z"}])";
        EXPECT_EQ(cgmExportText(readBytes<NightscoutReader>(json)).value(1).toStdString(),
                  std::string(c.kind) + " 20240101220405 2")
            << c.record;
    }
}

TEST(CsvFieldsTest, SplitsQuotedFieldsAndFindsTheDelimiter) {
    const struct {
        const char* record;
        const char* fields;
    } cases[] = {
        {"a,b,,c", "a|b||c"},
        {"\"x, y\",z", "x, y|z"},
        {"\"say \"\"hi\"\"\",2", "say \"hi\"|2"},
        {" \"lead\",\"a\nb\"", "lead|a\nb"},
        {"\"never closed, at all", "never closed, at all"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CsvFields::split(QString::fromUtf8(c.record)).join('|').toStdString(), c.fields)
            << c.record;
    EXPECT_EQ(CsvFields::delimiterOf(u"a;b;\"c,d,e\""), u';');
    EXPECT_EQ(CsvFields::delimiterOf(u"a\tb\tc,d"), u'\t');
    EXPECT_EQ(CsvFields::delimiterOf(u"plain"), u',');
    EXPECT_TRUE(CsvFields::quoteOpen(u"1,\"note"));
    EXPECT_FALSE(CsvFields::quoteOpen(u"1,\"a \"\"b\"\"\""));
}

TEST(CsvFieldsTest, ReadsDosesAndGramsAsTheLogbookKeepsThem) {
    const struct {
        const char* text;
        const char* dose;
        int grams;
    } cases[] = {
        {"4", "4", 4},        {"4.50", "4.5", 5},     {" 1,25 ", "1.25", 1},
        {"0.338", "0.33", 0}, {"12.49", "12.49", 12}, {"0", "", 0},
        {"0.00", "", 0},      {".5", "0.5", 1},       {"1000", "", 1000},
        {"10000", "", 0},     {"-2", "", 0},          {"2 u", "", 0},
        {"", "", 0},          {"1.2.3", "", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CsvFields::dose(QString::fromLatin1(c.text)).toStdString(), c.dose) << c.text;
        EXPECT_EQ(CsvFields::grams(QString::fromLatin1(c.text)), c.grams) << c.text;
    }
    EXPECT_EQ(CsvFields::dose(2.006).toStdString(), "2.01");
    EXPECT_EQ(CsvFields::dose(1.5).toStdString(), "1.5");
    EXPECT_EQ(CsvFields::dose(0.004).toStdString(), "");
    EXPECT_EQ(CsvFields::dose(-1.0).toStdString(), "");
    EXPECT_EQ(CsvFields::dose(999.996).toStdString(), "");
    EXPECT_EQ(CsvFields::dose(999.994).toStdString(), "999.99");
}

TEST(CgmConversionTest, MmolTenthsBecomeMgDlTruncated) {
    // 3.9 mmol/L is 70.2 mg/dL and 10.0 is exactly 180: the band edges land where the
    // logbook puts them.
    const int cases[][2] = {{39, 70}, {100, 180}, {56, 100}, {72, 129}, {30, 54}, {0, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(mmolTenthsToMgDl(c[0]), c[1]) << c[0];
}

} // namespace
