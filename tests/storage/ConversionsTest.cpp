#include "storage/Conversions.h"
#include "storage/Clock.h"
#include "storage/SampleType.h"
#include "support/TestDatabase.h"

#include <QFile>
#include <climits>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <string>

namespace {

// Conversions run in a zone with daylight saving, whatever the process had.
class BerlinTimeZone : public testing::Test {
protected:
    void SetUp() override {
        setenv("TZ", "Europe/Berlin", 1);
        tzset();
    }

    // The moment of a UTC calendar time, to check local conversions against.
    static std::time_t utc(int year, int month, int day, int hour, int minute) {
        std::tm f{};
        f.tm_year = year - 1900;
        f.tm_mon = month - 1;
        f.tm_mday = day;
        f.tm_hour = hour;
        f.tm_min = minute;
        return timegm(&f);
    }
};

class ConversionsTime : public BerlinTimeZone {};
class ConversionsSlot : public BerlinTimeZone {};

MedicationLookup medicationsOf(std::map<QChar, MedicationFlags> known) {
    return [known](QChar code) {
        return known.contains(code) ? std::optional(known.at(code)) : std::nullopt;
    };
}

using Dosage = std::vector<DosageEntry>;

} // namespace

// ---- Glucose --------------------------------------------------------------------------

TEST(ConversionsGlucose, FormatsValidatesAndParsesInThePatientsUnit) {
    EXPECT_EQ(formatGlucose(65, kGlucoseUnitMmol), "6.5");
    EXPECT_EQ(formatGlucose(123, kGlucoseUnitMmol), "12.3");
    EXPECT_EQ(formatGlucose(65, 7), "65"); // any other code is mg/dL
    struct Row {
        const char* text;
        bool mgDl;
        bool mmol;
        int parsed;
    };
    for (const Row& row :
         {Row{"120", true, true, 120}, Row{"6.5", false, true, 65}, Row{"6.", false, true, 6},
          Row{"12.0", false, true, 120}, Row{"12.34", false, false, 123}, Row{".7", false, true, 7},
          Row{"12a", false, false, 12}, Row{"6,5", false, false, 6}, Row{"6.5a", false, false, 65},
          Row{"-5", false, false, 0}, Row{"", true, true, 0}, Row{"abc", false, false, 0}}) {
        EXPECT_EQ(isValidGlucoseEntry(row.text, kGlucoseUnitMgDl), row.mgDl) << row.text;
        EXPECT_EQ(isValidGlucoseEntry(row.text, kGlucoseUnitMmol), row.mmol) << row.text;
        EXPECT_EQ(parseGlucoseEntry(row.text), row.parsed) << row.text;
    }
}

// ---- Dosage lists ----------------------------------------------------------------------

TEST(ConversionsDosage, SplitsWholeAmountsAndComposesAgain) {
    auto entries = splitDosage("5.5H 12G", 5);
    EXPECT_EQ(entries, (Dosage{{QChar('H'), "5.5"}, {QChar('G'), "12"}}));
    EXPECT_EQ(composeDosage(entries), "5.5H 12G");
    EXPECT_TRUE(splitDosage("3", 5).empty()); // shorter than two characters
    EXPECT_EQ(splitDosage("  4R   2N  ", 5), (Dosage{{QChar('R'), "4"}, {QChar('N'), "2"}}));
    // The amount is kept whole and the rest of the item ignored.
    EXPECT_EQ(splitDosage("12345.5Hxyz 7 N", 5),
              (Dosage{{QChar('H'), "12345.5"}, {QChar(), "7"}, {QChar('N'), ""}}));
    EXPECT_EQ(splitDosage("1A 2B 3C 4D", 2).size(), 2u);
    EXPECT_EQ(splitDosage("1A 2B", 0).size(), 0u);
}

TEST(ConversionsDosage, AmountValidity) {
    for (const char* good : {"1", "100", "999.99", "0.5", "12.", ".25"})
        EXPECT_TRUE(isValidDosageAmount(good)) << good;
    for (const char* bad : {"", "1000", "1.234", "1.2.3", "1a", "-1", " 1"})
        EXPECT_FALSE(isValidDosageAmount(bad)) << bad;
}

TEST(ConversionsDosage, InsulinHundredths) {
    auto meds = medicationsOf({{QChar('H'), {true, true}},
                               {QChar('G'), {true, true}},
                               {QChar('P'), {false, true}},   // not an insulin
                               {QChar('L'), {true, false}}}); // insulin left out of totals
    // X is unknown; "H" alone has no amount; only the first five items are counted.
    const std::pair<const char*, int> totals[] = {
        {"5.5H", 550},    {"5.25H", 525},     {"5.125H", 512},
        {"7H", 700},      {".5H", 50},        {"10P", 0},
        {"10L", 0},       {"5.5H 12G", 1750}, {"10X", 0},
        {"3", 0},         {"3 H", 0},         {"1H 1H 1H 1H 1H 1H", 500},
        {"12.25H", 1225}, {"100.5H", 10050},  {"10.25H 2.75H", 1300}};
    for (auto [dosage, hundredths] : totals)
        EXPECT_EQ(dosageInsulinHundredths(dosage, meds), hundredths) << dosage;
    EXPECT_EQ(entryInsulinHundredths("5.5H 2P", "1.05G", meds), 655);
    // An amount without a code counts nothing, even for a lookup that accepts any code.
    const MedicationLookup any = [](QChar) { return std::optional(MedicationFlags{true, true}); };
    EXPECT_EQ(dosageInsulinHundredths("3 4", any), 0);
}

// ---- Delivery --------------------------------------------------------------------------

TEST(ConversionsDelivery, NamesAndChoices) {
    const std::pair<int, const char*> names[] = {
        {0, "Pump"}, {1, "Injection"}, {2, "Oral"}, {3, "Unknown"}, {-1, "Unknown"}};
    for (auto [code, name] : names)
        EXPECT_EQ(deliveryName(code), name) << code;

    // Injection is offered first; an unknown code selects the first choice.
    QStringList offered;
    for (const DeliveryChoice& choice : deliveryChoices())
        offered << QString("%1=%2").arg(choice.name).arg(choice.code);
    EXPECT_EQ(offered, (QStringList{"Injection=1", "Pump=0", "Oral=2"}));
    for (auto [code, index] : {std::pair{1, 0}, {0, 1}, {2, 2}, {9, 0}})
        EXPECT_EQ(deliveryChoiceIndex(code), index) << code;
}

// ---- Dates and times -------------------------------------------------------------------

TEST_F(ConversionsTime, ReadsLocalTimeWithSecondsZero) {
    // 14:30 in winter is 13:30 UTC, in summer 12:30 UTC.
    EXPECT_EQ(fromDateTimeText("20070115143059"), utc(2007, 1, 15, 13, 30));
    EXPECT_EQ(fromDateTimeText("20070715143000"), utc(2007, 7, 15, 12, 30));
    EXPECT_EQ(fromDateTimeText("200707151430"), utc(2007, 7, 15, 12, 30));
    EXPECT_EQ(fromDateText("20070715"), utc(2007, 7, 14, 22, 0));
}

TEST_F(ConversionsTime, RoundTripsAndReadsTheClockChangeHoursAsOneSideOrTheOther) {
    for (const char* text : {"20070115143000", "20070715000000", "19991231235900", "20000229120500",
                             "20071028040000", "20070325013000"})
        EXPECT_EQ(toDateTimeText(fromDateTimeText(text)), text);
    EXPECT_EQ(toDateText(fromDateTimeText("20070715235900")), "20070715");
    EXPECT_EQ(toDateTimeText(utc(2007, 7, 15, 12, 30) + 17), "20070715143017");
    // 02:30 does not exist in spring and happens twice in autumn.
    const std::time_t spring = fromDateTimeText("20070325023000");
    EXPECT_TRUE(spring == utc(2007, 3, 25, 0, 30) || spring == utc(2007, 3, 25, 1, 30));
    const QString back = toDateTimeText(spring);
    EXPECT_TRUE(back == "20070325013000" || back == "20070325033000") << back.toStdString();
    const std::time_t autumn = fromDateTimeText("20071028023000");
    EXPECT_TRUE(autumn == utc(2007, 10, 28, 0, 30) || autumn == utc(2007, 10, 28, 1, 30));
    EXPECT_EQ(toDateTimeText(autumn), "20071028023000");
}

TEST_F(ConversionsTime, InvalidTextsThrow) {
    for (const char* bad :
         {"18991231120000", "20071301120000", "20070001120000", "20070100120000", "20070132120000",
          "20070101240000", "20070101126000", "", "2007", "20070101", "2007010112",
          "2007-1-01 1200", "2007010112ab00", "abcdefghijklmn"})
        EXPECT_THROW(fromDateTimeText(bad), InvalidDateText) << bad;
    EXPECT_THROW(fromDateText("2007"), InvalidDateText);
    EXPECT_THROW(fromDateText("20071310"), InvalidDateText);
    // InvalidDateText is an invalid_argument, which is what callers catch.
    EXPECT_THROW(fromDateText("x"), std::invalid_argument);
    EXPECT_NO_THROW(fromDateTimeText("19000101000000"));
    EXPECT_NO_THROW(fromDateTimeText("20071231235900"));
}

TEST_F(ConversionsTime, PadsDatesAndStillGivesTextForAnUnconvertibleMoment) {
    EXPECT_EQ(padDateText("20070715"), "20070715000000");
    EXPECT_EQ(padDateText("20070715143000"), "20070715000000");
    EXPECT_EQ(padDateText("2007"), "20070000000000");
    EXPECT_EQ(toDateTimeText(static_cast<std::time_t>(LLONG_MAX)), "00000000-01-01-01");
    EXPECT_EQ(formatTime(static_cast<std::time_t>(LLONG_MAX), "%H%M"), "");
}

TEST_F(ConversionsTime, TimeOfDayOnBothClocks) {
    struct Row {
        const char* time;
        bool military;
        const char* shown;
    };
    for (const Row& row :
         {Row{"20070715000500", false, "12:05 am"}, Row{"20070715120000", false, "12:00 pm"},
          Row{"20070715115900", false, "11:59 am"}, Row{"20070715130700", false, "1:07 pm"},
          Row{"20070115233000", false, "11:30 pm"}, Row{"20070715000500", true, "00:05"},
          Row{"20070715130700", true, "13:07"}})
        EXPECT_EQ(formatTimeOfDay(fromDateTimeText(row.time), row.military), row.shown) << row.time;
    EXPECT_EQ(formatDateAtTime("07/15/2007", "20070715130700", false), "07/15/2007 @ 1:07 pm");
    EXPECT_EQ(formatDateAtTime("07/15/2007", "20070715130700", true), "07/15/2007 @ 13:07");
    EXPECT_EQ(timePickerFormat(true), "HH:mm");
    EXPECT_EQ(timePickerFormat(false), "hh:mm tt");
}

TEST_F(ConversionsTime, ClockTimeIsTodayAtTheGivenHour) {
    FixedClock clock(fromDateTimeText("20070715183000"));
    EXPECT_EQ(toDateTimeText(clockTimeToday("07:45", clock)), "20070715074500");
    EXPECT_EQ(toDateTimeText(clockTimeToday("23:05", clock)), "20070715230500");
    EXPECT_EQ(toDateTimeText(clockTimeToday("07:", clock)), "20070715070000");
    EXPECT_EQ(toDateTimeText(clockTimeToday("7", clock)), "20070715000000");
    // In winter the same hour is a different UTC moment.
    clock.set(fromDateTimeText("20070115010000"));
    EXPECT_EQ(clockTimeToday("07:45", clock), utc(2007, 1, 15, 6, 45));
}

TEST_F(ConversionsTime, ShortDateAndAge) {
    EXPECT_EQ(shortDateText("20070315"), "03/15/2007");
    FixedClock clock(fromDateTimeText("20070715120000"));
    auto between = [&clock](const char* from, const char* to) {
        auto span = yearsAndMonthsBetween(from, to, clock);
        return std::pair{span.years, span.months};
    };
    EXPECT_EQ(between("19991120", "20050310"), std::pair(5, 4));
    EXPECT_EQ(between("19990320", "20050310"), std::pair(6, 0)); // days are ignored
    EXPECT_EQ(between("20000115", ""), std::pair(7, 6));         // up to today
}

TEST_F(ConversionsTime, FormatsWithPatterns) {
    const std::time_t t = fromDateTimeText("20070305083000");
    EXPECT_EQ(formatTime(t, "%H%M"), "0830");
    EXPECT_EQ(formatTime(t, "%Y%m%d"), "20070305");
    EXPECT_EQ(formatTime(t, "%B %d, %Y"), "March 05, 2007");
}

// ---- Slots -----------------------------------------------------------------------------

TEST_F(ConversionsSlot, PicksTheSlotInForce) {
    std::vector<std::unique_ptr<SampleType>> slotList;
    for (const char* start : {"0700", "1130", "1700"}) {
        slotList.push_back(std::make_unique<SampleType>());
        slotList.back()->setSampleTime(start);
    }
    auto at = [&](const char* text) { return slotForTime(fromDateTimeText(text), slotList); };
    EXPECT_EQ(at("20070715003000"), slotList[0].get()); // before all: the first
    EXPECT_EQ(at("20070715070000"), slotList[0].get());
    EXPECT_EQ(at("20070715112900"), slotList[0].get());
    EXPECT_EQ(at("20070715113000"), slotList[1].get());
    EXPECT_EQ(at("20070715165900"), slotList[1].get());
    EXPECT_EQ(at("20070715235900"), slotList[2].get());
    EXPECT_EQ(slotForTime(0, std::vector<std::unique_ptr<SampleType>>{}), nullptr);

    std::vector<const SampleTypeAbs*> raw{slotList[0].get(), slotList[1].get()};
    EXPECT_EQ(
        slotForTime(fromDateTimeText("20070715200000"), std::span<const SampleTypeAbs* const>(raw)),
        slotList[1].get());
}

// ---- Miscellaneous ---------------------------------------------------------------------

TEST(ConversionsMisc, SpacesEmptyLinesInOnePass) {
    EXPECT_EQ(spaceEmptyLines("a\r\n\r\nb"), "a\r\n \r\nb");
    EXPECT_EQ(spaceEmptyLines("a\r\nb"), "a\r\nb");
    // Three line ends: the match after the first replacement starts past it.
    EXPECT_EQ(spaceEmptyLines("a\r\n\r\n\r\nb"), "a\r\n \r\n\r\nb");
    EXPECT_EQ(spaceEmptyLines("\r\n\r\n\r\n\r\n"), "\r\n \r\n\r\n \r\n");
}

TEST(ConversionsMisc, ExtractsQuotedValues) {
    const QString text = "<version number=\"4.1.2\" date=\"20070301\">";
    EXPECT_EQ(extractQuotedValue(text, "number"), std::optional<QString>("4.1.2"));
    EXPECT_EQ(extractQuotedValue(text, "date"), std::optional<QString>("20070301"));
    EXPECT_EQ(extractQuotedValue(text, "url"), std::nullopt);
    EXPECT_EQ(extractQuotedValue("number=\"4.1.2", "number"), std::nullopt);
    EXPECT_EQ(extractQuotedValue("number", "number"), std::nullopt);
    EXPECT_EQ(extractQuotedValue("number=\"\"", "number"), std::optional<QString>(""));
}

TEST(ConversionsFile, CopiesOverAnExistingFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString source = dir.filePath("source.txt");
    const QString target = dir.filePath("target.txt");
    for (auto [path, body] : {std::pair{source, "new contents"}, std::pair{target, "old"}}) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(body);
    }
    ScriptedPrompts prompts;
    EXPECT_TRUE(copyFileReporting(source, target, prompts));
    QFile copied(target);
    ASSERT_TRUE(copied.open(QIODevice::ReadOnly));
    EXPECT_EQ(copied.readAll(), "new contents");
    EXPECT_EQ(prompts.count(), 0);
}

TEST(ConversionsFile, FailureShowsOneErrorBoxWithTheInformationIcon) {
    struct Recording : Prompts {
        QStringList shown;
        PromptAnswer show(const QString& caption, const QString& text, PromptButtons buttons,
                          PromptIcon icon) override {
            shown << caption;
            EXPECT_FALSE(text.isEmpty());
            EXPECT_EQ(buttons, PromptButtons::Ok);
            EXPECT_EQ(icon, PromptIcon::Information);
            return PromptAnswer::Ok;
        }
    } recording;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_FALSE(copyFileReporting(dir.filePath("none"), dir.filePath("copy"), recording));
    EXPECT_EQ(recording.shown, QStringList{"Error"});
    EXPECT_FALSE(QFile::exists(dir.filePath("copy")));
}
