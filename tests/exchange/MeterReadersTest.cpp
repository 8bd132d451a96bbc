#include "exchange/BgTrackerReader.h"
#include "exchange/MeterFileText.h"
#include "exchange/OneTouchReader.h"

#include <gtest/gtest.h>

namespace {

std::string joined(const QStringList& list) {
    return list.join('|').toStdString();
}

TEST(OneTouchReaderTest, SplitsAtCommasWithQuotedFieldsRunningToTheirClosingQuote) {
    const struct {
        const char* line;
        const char* fields;
    } cases[] = {
        {"a,b,c", "a|b|c"},
        {"\"x, y\",z", "x, y|z"},
        {"\"x\"dropped,z", "x|z"},
        {"\"never closed, at all", "never closed, at all"},
        {"a,", "a|"},
        {"", ""},
        {"1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18", "1|2|3|4|5|6|7|8|9|10|11|12|13|14|15|16"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(joined(OneTouchReader::splitFields(c.line)), c.fields) << c.line;
}

TEST(OneTouchReaderTest, BuildsTimestampsOnlyFromDatesAndTimesInTheirFixedForm) {
    const struct {
        const char* date;
        const char* time;
        const char* timestamp;
    } cases[] = {
        {"03/01/2024", "07:15:09", "20240301071500"},
        {"12/31/1999", "23:59", "19991231235900"},
        {" 03/01/2024 ", " 07:15 ", "20240301071500"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(OneTouchReader::timestampOf(c.date, c.time).toStdString(), c.timestamp);
    const char* refused[][2] = {{"3/1/2024", "07:15"},      {"02/30/2024", "07:15"},
                                {"13/01/2024", "07:15"},    {"03/01/1899", "07:15"},
                                {"03/01/2024", "24:00"},    {"03/01/2024", "07:60"},
                                {"03/01/2024", "07:15:60"}, {"03/01/2024", "7:15"},
                                {"03-01-2024", "07:15"},    {"03/01/20245", "07:15"}};
    for (const auto& c : refused)
        EXPECT_EQ(OneTouchReader::timestampOf(c[0], c[1]), "") << c[0] << " " << c[1];
}

TEST(OneTouchReaderTest, NamesEventCodesAndInsulinTypeCodes) {
    const QString mark(QChar(OneTouchReader::kEventMark));
    EXPECT_EQ(joined(OneTouchReader::eventNames(mark + "0111")), "Fasting|Before Exercise");
    EXPECT_EQ(joined(OneTouchReader::eventNames(mark + "082299")),
              "Different Food|Control Solution|Unknown {99}");
    EXPECT_EQ(joined(OneTouchReader::eventNames(mark + "1")), "Fasting");
    EXPECT_EQ(joined(OneTouchReader::eventNames(mark)), "");

    const struct {
        const char* code;
        const char* name;
    } insulins[] = {{"1", "Rapid"},      {"2", "Regular"},  {"3", "NPH"},       {"4", "Lente"},
                    {"5", "Ultralente"}, {"6", "Premixed"}, {"46", "Glargine"}, {"7", "Own Mix"},
                    {"8", ""},           {"", ""},          {"x", ""}};
    for (const auto& c : insulins)
        EXPECT_EQ(OneTouchReader::insulinName(c.code, " Own Mix ").toStdString(), c.name) << c.code;
}

TEST(OneTouchReaderTest, ReadsTotalsRecordsAndPassesOverOtherLines) {
    OneTouchLine total = OneTouchReader::read("\"TOTAL NUMBER OF RECORDS:  1234\"");
    EXPECT_EQ(total.kind, OneTouchLine::Kind::Total);
    EXPECT_EQ(total.total, 1234);
    EXPECT_EQ(OneTouchReader::read("TOTAL NUMBER").total, 0);
    EXPECT_EQ(OneTouchReader::read("\"SKU: 12\"").kind, OneTouchLine::Kind::Other);
    EXPECT_EQ(OneTouchReader::read("a,TOTAL NUMBER: 5").kind, OneTouchLine::Kind::Other);

    const auto record = [](const char* value, const char* type, const char* code,
                           const char* dropped = "0") {
        return OneTouchReader::read(
            QStringLiteral("1,03/01/2024,07:15,%1,,,%2,,%3,%4,note,,,Mine,,")
                .arg(value, type, dropped, code));
    };
    const struct {
        OneTouchLine line;
        OneTouchLine::Value value;
        int number;
    } cases[] = {
        {record("142", "10", "0"), OneTouchLine::Value::Glucose, 142},
        {record("80", "12", "0"), OneTouchLine::Value::Glucose, 80},
        {record("45", "55", "0"), OneTouchLine::Value::Carbohydrates, 45},
        {record("6.8", "10", "0"), OneTouchLine::Value::None, 0},
        {record("-5", "50", "0"), OneTouchLine::Value::None, 0},
        {record("4.5", "30", "2"), OneTouchLine::Value::Insulin, 0},
        {record("4.5", "30", "9"), OneTouchLine::Value::None, 0},
        {record("4u", "30", "2"), OneTouchLine::Value::None, 0},
        {record("4", "31", "2"), OneTouchLine::Value::None, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.line.kind, OneTouchLine::Kind::Record);
        EXPECT_EQ(c.line.value, c.value);
        EXPECT_EQ(c.line.number, c.number);
        EXPECT_EQ(joined(c.line.noteLines), "note");
    }
    EXPECT_EQ(record("4", "30", "7").insulinName, "Mine");
    EXPECT_TRUE(record("4", "30", "7", "-1").dropped);
    EXPECT_FALSE(record("4", "30", "7", "-10").dropped);
}

TEST(BgTrackerReaderTest, ReadsTwelveHourTimesAndDatesWithoutLeadingZeros) {
    const struct {
        const char* date;
        const char* time;
        const char* timestamp;
    } cases[] = {
        {"3/1/2024", "12:30:00 AM", "20240301003000"},
        {"3/1/2024", "12:30:00 PM", "20240301123000"},
        {"3/1/2024", "1:05:59 PM", "20240301130500"},
        {"12/31/2024", "11:59:00 pm", "20241231235900"},
        {"03/01/2024", "07:05:00 AM", "20240301070500"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BgTrackerReader::timestampOf(c.date, c.time).toStdString(), c.timestamp);
    const char* refused[][2] = {{"3/1/2024", "1:05:00"},     {"3/1/2024", "0:30:00 AM"},
                                {"3/1/2024", "13:30:00 PM"}, {"3/1/2024", "1:05 PM"},
                                {"3/1/2024", "1:05:00 XM"},  {"2/30/2024", "1:05:00 PM"},
                                {"3/1/24", "1:05:00 PM"},    {"3/1", "1:05:00 PM"}};
    for (const auto& c : refused)
        EXPECT_EQ(BgTrackerReader::timestampOf(c[0], c[1]), "") << c[0] << " " << c[1];
}

TEST(BgTrackerReaderTest, ReadsGlucoseWithAPointAsTenths) {
    const struct {
        const char* text;
        int glucose;
    } cases[] = {{"126", 126}, {"6.8", 68}, {"5.", 50},   {".5", 5},     {"7.25", 72},
                 {"", 0},      {"HI", 0},   {"1.2.3", 0}, {"1234567", 0}};
    for (const auto& c : cases)
        EXPECT_EQ(BgTrackerReader::glucoseOf(c.text), c.glucose) << c.text;
}

TEST(BgTrackerReaderTest, TakesDosePairsUntilOneIsIncompleteAndTheNoteFromThere) {
    const QString head = QStringLiteral("0\t7\t3/1/2024\t8:00:00 AM\t120\t\t");
    const struct {
        QString rest;
        const char* doses;
        const char* note;
    } cases[] = {
        {"Humalog\t4\tLantus\t12\t\t\t\t\tlast", "Humalog 4|Lantus 12", ""},
        {"Went for a walk\t\tLantus\t12", "", "Went for a walk"},
        {"Lantus\tabc\tHumalog\t2", "", "Lantus"},
        {"Humalog\t2.5u\tA\t1\tB\t2\tC\t3\tfour doses\tpast the fields", "Humalog 2.5|A 1|B 2|C 3",
         "four doses"},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        const BgTrackerLine line = BgTrackerReader::read(head + c.rest);
        ASSERT_TRUE(line.isRecord);
        QStringList doses;
        for (const auto& dose : line.doses)
            doses << dose.name + " " + dose.amount;
        EXPECT_EQ(joined(doses), c.doses) << c.rest.toStdString();
        EXPECT_EQ(line.note.toStdString(), c.note) << c.rest.toStdString();
    }
    EXPECT_FALSE(BgTrackerReader::read("0\tNo\t3/1/2024\t8:00:00 AM\t120").isRecord);
    EXPECT_FALSE(BgTrackerReader::read("0\t7\t3/1/2024\t8:00 AM\t120").isRecord);
    const QStringList fields = BgTrackerReader::splitFields(QString(150, 'x') + "\ty");
    EXPECT_EQ(fields.value(0).size(), BgTrackerReader::kMaxFieldChars);
    EXPECT_EQ(fields.value(1), "y");
}

// Refusals of whole files are in the import tests; here the lines and their encoding.
TEST(MeterFileTextTest, SplitsLinesAtAnyLineEndAndDecodesUtf8ElseLatin1) {
    const struct {
        QByteArray bytes;
        const char* linesOrProblem;
    } cases[] = {
        {"x\r\ny\rz\n\nlast", "x|y|z||last"},
        {"\r\n \n", "f.csv is empty: it holds no line to import."},
        {"\xEF\xBB\xBF"
         "caf\xC3\xA9",
         "caf\xC3\xA9"},
        {"caf\xE9\n\xC3\xA9", "caf\xC3\xA9|\xC3\x83\xC2\xA9"},
        {QByteArray("ok\nab\0cd", 8), "f.csv is not a text file: line 2 holds a NUL byte."},
    };
    for (const auto& c : cases) {
        QStringList lines;
        QString problem;
        const bool read = MeterFileText::split(c.bytes, "f.csv", lines, problem);
        EXPECT_EQ((read ? lines.join('|') : problem).toStdString(), c.linesOrProblem);
    }
    QStringList lines;
    QString problem;
    EXPECT_TRUE(
        MeterFileText::split(QByteArray(MeterFileText::kMaxLineBytes, 'y'), "f", lines, problem));
    EXPECT_FALSE(MeterFileText::split(QByteArray(MeterFileText::kMaxLineBytes + 1, 'y'), "f", lines,
                                      problem));
}

} // namespace
