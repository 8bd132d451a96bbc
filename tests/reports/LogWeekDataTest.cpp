#include "reports/LogWeekData.h"
#include "reports/LogWeekFixture.h"
#include "support/GoldenFile.h"

namespace {

using LogWeekDataTest = LogWeekFixture;

QString tallyText(const WeekTally& t) {
    return QString::asprintf("g%d/%d c%d/%d i%d r%d%s k%d", t.glucoseSum, t.glucoseCount, t.carbSum,
                             t.carbCount, t.insulin, t.correction, t.hasNote ? " N" : "",
                             t.maxKetone);
}

// Each slot with its tally and rows, one cell per day ("-" for none: day/glucose/carbs, then
// n for a note, o for another delivery, s for a site change and the ketone); each day with its
// type, icons, tally and notes; the week's totals.
QStringList dump(const LogWeekData& week) {
    QStringList lines;
    for (const WeekSlot& slot : week.logSlots) {
        lines << slot.name + ": " + tallyText(slot.tally);
        for (const WeekRow& row : slot.rows) {
            QString text;
            for (const auto& c : row.cells)
                text += !c ? QString(" -")
                           : QString::asprintf(
                                 " %s/%d/%d%s%s%s k%d", qPrintable(c->sampleTime.mid(6, 2)),
                                 c->glucose, c->carbs, c->hasNote ? "n" : "",
                                 c->otherDelivery ? "o" : "", c->siteChange ? "s" : "", c->ketone);
            lines << text;
        }
    }
    for (const WeekDay& d : week.days)
        lines << formatTime(d.date, "%a %d ") + QString::number(d.dayType) +
                     (d.siteChange ? " site" : "") +
                     (d.delivery ? " delivery " + QString::number(*d.delivery) : "") + " " +
                     tallyText(d.tally) + " [" + QString(d.notes).replace("\r\n", "|") + "]";
    // Glucose over all readings; carbs, insulin and correction per day that has any.
    const LogWeekTotals t = week.weekTotals();
    lines << QString::asprintf("week g%d/%d c%d i%d r%d", t.glucose, t.glucoseCount, t.carbs,
                               t.insulin, t.correction);
    return lines;
}

} // namespace

// Rows take the next entry of every day in turn; days collect their totals, icons and notes.
TEST_F(LogWeekDataTest, SlotsAndDaysOfAWeek) {
    addDay("20070310", [&](SampleDate& d) {
        d.setDayTypeId(0);
        d.setNewSiteBol(true);
        d.setNotePk(addNote("Flu", NoteType::Day));
    });
    for (const Entry& e : std::initializer_list<Entry>{
             {"20070313073000", breakfast, 100, 30},
             {"20070313080000", breakfast, 0, 40},
             {"20070313090000", breakfast, 300},
             {"20070309071500", breakfast, 90, 20},
             {"20070308071500", breakfast, 55}, // the day before the week
             {"20070315183000", supper, 210, 0, "3.5H 2P", "1H"},
             {"20070310071000", breakfast, 240, 50, "5H", "", "Pizza", 2},
             {"20070310181500", supper, 80, 30, "2.25H", "0.5H", "", 4, 0},
             {"20070314071000", breakfast, 120, 0, "", "", "Run", 0, 1, true},
         })
        add(e);
    addProtocol("20070101", "Old plan");
    addProtocol("20070301", "Plan A");
    addProtocol("20070314", "Plan B\r\nmore");
    addProtocol("20070320", "Later");
    expectGoldenFile(dump(collect()), "reports/log_week_data.txt");
}

TEST_F(LogWeekDataTest, AnEmptyWeekStillHasItsSlotsAndOneRow) {
    const LogWeekData week = collect();
    EXPECT_EQ(week.logSlots.size(), 3u);
    EXPECT_EQ(week.rowCount(), 1);
    EXPECT_EQ(week.weekTotals().glucose, 0);
}

// A protocol whose stored date is cut short and an entry whose stored time is damaged are printed,
// not thrown over: the log book of such a week used to end the program.
TEST_F(LogWeekDataTest, AShortProtocolDateAndADamagedTimeStillPrint) {
    addProtocol("20070101", "Undated plan");
    add({.time = "20070310083000", .slot = breakfast, .glucose = 90, .note = "walk"});
    ASSERT_TRUE(db->exec("update SAMPLE set SAMPLE_TIME='2007031099'"));
    ASSERT_TRUE(db->exec("update PROTOCOL set EFFECTIVE_DATE='2007031'"));
    const LogWeekData week = collect();
    EXPECT_EQ(week.days[0].notes, "Protocol:()\r\nUndated plan");
    EXPECT_EQ(week.days[1].notes, "(Sat)\r\n::walk");
    for (auto [stamp, hour, minute] : {std::tuple{"20070315123000", 12, 30},
                                       {"20070315235900", 23, 59},
                                       {"20070315240000", -1, -1},
                                       {"2007031512", -1, -1},
                                       {"", -1, -1}})
        EXPECT_EQ(std::pair(storedClock(stamp).hour, storedClock(stamp).minute),
                  std::pair(hour, minute))
            << stamp;
}

TEST(LogTotalsText, UnitsCorrectionAndRatio) {
    struct Case {
        int insulin, correction, carbs;
        const char* text;
    } cases[] = {
        {250, 0, 60, "2.50u 24g:1u"},    {0, 0, 60, ""},
        {0, 150, 60, "(1.50u) "},        {100, 50, 45, "1.00u (0.50u) 45g:1u"},
        {300, 0, 0, "3.00u "},           {700, 0, 5, "7.00u "}, // 5 / 7 truncates to 0
        {333, -20, 100, "3.33u 30g:1u"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(logTotalsText(c.insulin, c.correction, c.carbs), c.text) << c.insulin;
}
