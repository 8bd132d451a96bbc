#include "reports/LogWeekData.h"
#include "reports/LogWeekFixture.h"

namespace {

using LogWeekDataTest = LogWeekFixture;

std::string tallyText(const WeekTally& t) {
    return QString::asprintf("g%d/%d c%d/%d i%d r%d%s k%d", t.glucoseSum, t.glucoseCount, t.carbSum,
                             t.carbCount, t.insulin, t.correction, t.hasNote ? " N" : "",
                             t.maxKetone)
        .toStdString();
}

// Each slot with its rows (one cell per day, "-" for none) and tally.
std::string slotsText(const LogWeekData& week) {
    std::string out;
    for (const WeekSlot& slot : week.logSlots) {
        out += slot.name.toStdString() + ": " + tallyText(slot.tally) + "\n";
        for (const WeekRow& row : slot.rows) {
            for (const auto& cell : row.cells)
                out += !cell
                           ? " -"
                           : QString::asprintf(" %s/%d/%d", qPrintable(cell->sampleTime.mid(6, 2)),
                                               cell->glucose, cell->carbs)
                                 .toStdString();
            out += "\n";
        }
    }
    return out;
}

} // namespace

TEST_F(LogWeekDataTest, RowsTakeTheNextEntryOfEveryDayInTurn) {
    for (const Entry& e : std::initializer_list<Entry>{
             {"20070313073000", breakfast, 100, 30},
             {"20070313080000", breakfast, 0, 40},
             {"20070313090000", breakfast, 300},
             {"20070309071500", breakfast, 90, 20},
             {"20070308071500", breakfast, 55}, // the day before the week
             {"20070315183000", supper, 210, 0, "3.5H 2P", "1H"},
         })
        add(e);
    EXPECT_EQ(slotsText(collect()), "Breakfast: g490/3 c90/3 i0 r0 k0\n"
                                    " 09/90/20 - - - 13/100/30 - -\n"
                                    " - - - - 13/0/40 - -\n"
                                    " - - - - 13/300/0 - -\n"
                                    "Lunch: g0/0 c0/0 i0 r0 k0\n"
                                    "Supper: g210/1 c0/0 i350 r100 k0\n"
                                    " - - - - - - 15/210/0\n");
}

TEST_F(LogWeekDataTest, DaysCollectTheirTotalsIconsAndNotes) {
    addDay("20070310", [&](SampleDate& d) {
        d.setDayTypeId(0);
        d.setNewSiteBol(true);
        d.setNotePk(addNote("Flu", NoteType::Day));
    });
    for (const Entry& e : std::initializer_list<Entry>{
             {"20070310071000", breakfast, 240, 50, "5H", "", "Pizza", 2},
             {"20070310181500", supper, 80, 30, "2.25H", "0.5H", "", 4, 0},
             {"20070314071000", breakfast, 120, 0, "", "", "Run", 0, 1, true},
         })
        add(e);
    addProtocol("20070101", "Old plan");
    addProtocol("20070301", "Plan A");
    addProtocol("20070314", "Plan B\r\nmore");
    addProtocol("20070320", "Later");

    const LogWeekData week = collect();
    std::string days;
    for (const WeekDay& d : week.days)
        days += formatTime(d.date, "%a %d ").toStdString() + std::to_string(d.dayType) +
                (d.siteChange ? " site" : "") +
                (d.delivery ? " delivery " + std::to_string(*d.delivery) : "") + " " +
                tallyText(d.tally) + " [" + d.notes.toStdString() + "]\n";
    EXPECT_EQ(days, "Fri 09 1 g0/0 c0/0 i0 r0 k0 [Protocol:(03/01)\r\nPlan A]\n"
                    "Sat 10 0 site delivery 0 g320/2 c80/2 i725 r50 N k4 "
                    "[(Sat)Flu\r\n:07:10:Pizza]\n"
                    "Sun 11 1 g0/0 c0/0 i0 r0 k0 []\n"
                    "Mon 12 1 g0/0 c0/0 i0 r0 k0 []\n"
                    "Tue 13 1 g0/0 c0/0 i0 r0 k0 []\n"
                    "Wed 14 1 g120/1 c0/0 i0 r0 N k0 "
                    "[(Wed)\r\n:07:10:Run\r\nProtocol:(03/14)\r\nPlan B\r\nmore]\n"
                    "Thu 15 1 g0/0 c0/0 i0 r0 k0 []\n");
    const WeekCell& pizza = *week.logSlots[0].rows[0].cells[1];
    EXPECT_TRUE(pizza.hasNote && !pizza.otherDelivery && pizza.ketone == 2);
    const WeekCell& run = *week.logSlots[0].rows[0].cells[5];
    EXPECT_TRUE(run.siteChange && !run.otherDelivery);
    EXPECT_TRUE(week.logSlots[2].rows[0].cells[1]->otherDelivery);

    // Glucose over all readings; carbs, insulin and correction per day that has any.
    const LogWeekTotals totals = week.weekTotals();
    EXPECT_EQ(std::vector<int>({totals.glucose, totals.glucoseCount, totals.carbs, totals.insulin,
                                totals.correction}),
              std::vector<int>({146, 3, 80, 725, 50}));
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
