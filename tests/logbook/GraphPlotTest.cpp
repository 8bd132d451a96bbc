#include "logbook/GraphPlot.h"
#include "LogbookFixture.h"
#include "logbook/BalloonText.h"
#include "logbook/GraphScale.h"
#include "support/GoldenFile.h"

// What the graph strip shows, worked out without widgets. The plot as text: bands and limit lines,
// the columns, the line, the day averages, the dates.
static QStringList describe(const char* what, const GraphPlot& p) {
    QStringList out{QString::asprintf("# %s: bands %d %d, limits %d %d, columns of %d", what,
                                      p.highBandBottom, p.lowBandTop, p.extHiY, p.extLoY,
                                      p.columnWidth)};
    for (const GraphColumn& c : p.columns)
        out << QString::asprintf("row %d at %d centre %d%s y %s", c.row, c.left, c.centre,
                                 c.day ? " (day)" : "",
                                 c.y ? qPrintable(QString::number(*c.y)) : "-");
    out << "line";
    for (const QPoint& point : p.line)
        out.back() += QString::asprintf(" %d,%d", point.x(), point.y());
    for (const GraphDayLine& day : p.dayLines)
        out << QString::asprintf("day average from %d to %d at %d", day.from, day.to, day.y);
    for (const GraphLabel& label : p.labels)
        out << QString::asprintf("date %s at %d", qPrintable(label.text), label.centre);
    return out;
}

using GraphPlotTest = LogbookTest;

// Heights of points and bands, in mg/dL or tenths of mmol/L on strips of 100 and 98 (the
// client height) pixels; the row under x on a 12-row page, full, of five rows drawn from the
// left edge, or scrolled to its last rows; then whole plots. All in logbook/graph_plots.txt.
TEST_F(GraphPlotTest, ScaleHitsAndPlots) {
    using namespace GraphScale;
    const std::array<int, 3> points[] = {{180, 0, 100}, {70, 0, 100},  {250, 0, 100}, {50, 0, 100},
                                         {100, 1, 100}, {39, 1, 100},  {1, 0, 100},   {0, 0, 100},
                                         {-20, 0, 100}, {400, 0, 100}, {600, 0, 100}, {120, 0, 98},
                                         {180, 0, 98}};
    const std::array<int, 4> hits[] = {{0, 600, 30, 400},   {99, 600, 30, 400}, {100, 600, 30, 400},
                                       {599, 600, 30, 400}, {604, 605, 0, 400}, {10, 600, 0, 5},
                                       {240, 600, 0, 5},    {260, 600, 0, 5},   {590, 600, 0, 5},
                                       {160, 600, 10, 15},  {10, 5, 0, 5}};
    QStringList lines;
    for (auto [stored, unit, height] : points) {
        const std::optional<int> y = pointY(plotValue(stored, unit), height);
        lines << QString::asprintf(
            "%d %s at height %d: point %s, band %d", stored, unit ? "mmol" : "mg", height,
            y ? qPrintable(QString::number(*y)) : "none", bandY(plotValue(stored, unit), height));
    }
    for (auto [x, width, top, count] : hits)
        lines << QString::asprintf("x %d of %d, top row %d of %d: offset %d", x, width, top, count,
                                   hoveredOffset(x, columnWidth(width, 12), 12, top, count));
    const GraphLimits mgDl{50, 70, 180, 250, kGlucoseUnitMgDl};
    GraphPlot p;
    buildGraphPlot(*db, {}, {600, 100, 12, -1, LogFilter::AllTypes}, mgDl, p);
    lines << describe("an empty list", p);

    // Two days of "All Types" on a 12-row page; the line passes over the entry without glucose.
    const int d1 = addDay("20070314", [](SampleDate& d) { d.setAvgGlucoseCnt(180); });
    const int d2 = addDay("20070315", [](SampleDate& d) { d.setAvgGlucoseCnt(235); });
    const int a = addEntry("20070314070000", 180), b = addEntry("20070314120000", 0);
    const int c = addEntry("20070315070000", 70), e = addEntry("20070315120000", 480);
    const std::vector<LogRow> days = {{'D', d2}, {'S', e}, {'S', c}, {'D', d1}, {'S', b}, {'S', a}};
    buildGraphPlot(*db, days, {600, 100, 12, 0, LogFilter::AllTypes}, mgDl, p);
    lines << describe("two days", p);

    // One slot in millimoles, scrolled one row down a 6-row page: a date every third row.
    std::vector<LogRow> slot;
    for (int day = 9; day >= 1; --day)
        slot.push_back({'S', addEntry(QString("2007030%1080000").arg(day), 100 + day)});
    buildGraphPlot(*db, slot, {300, 100, 6, 1, 1}, {28, 39, 100, 139, kGlucoseUnitMmol}, p);
    lines << describe("one slot in millimoles", p);
    expectGoldenFile(lines, "logbook/graph_plots.txt");
}

// Every balloon text, one case after another, compared with logbook/balloon_texts.txt.
TEST(BalloonTextTest, DaysAndEntries) {
    SampleDate day;
    day.setSampleDate("20070315");
    day.setAvgGlucoseCnt(142);
    day.setTtlCarbCnt(180);
    QStringList lines = QStringList("# a day") << BalloonText::forDay(day).split('\n');
    day.setNotePk(7);
    lines << "# a day with a note" << BalloonText::forDay(day).split('\n');
    // H is an insulin counted in totals, any other code a pill.
    const MedicationLookup medication = [](QChar code) {
        return std::optional(MedicationFlags{code == 'H', code == 'H'});
    };
    const struct {
        int glucose, carbs, newSite, note, military;
        const char *dose, *correction, *what;
    } cases[] = {
        {142, 60, 0, 0, 1, "5H", "1H", "dose and correction"},
        {0, 45, 0, 0, 1, "", "", "carbs without glucose"},
        {95, 0, 0, 0, 1, "", "", "glucose only"},
        {0, 45, 0, 0, 1, "3.5H", "", "half units"},
        {110, 30, 0, 0, 1, "2P", "", "a pill gives no ratio"},
        {250, 0, 0, 0, 1, "", "1H", "only a correction"},
        {95, 0, 1, 9, 0, "", "", "new site, note, 12-hour clock"},
    };
    for (const auto& c : cases) {
        Sample entry;
        entry.setSampleTime("20070315083000");
        entry.setInsulinTime("20070315083500");
        entry.setGlucoseCnt(c.glucose);
        entry.setCarbCnt(c.carbs);
        entry.setMedicationDosage(c.dose);
        entry.setCorrectionDosage(c.correction);
        entry.setNewSiteBol(c.newSite);
        entry.setNotePk(c.note);
        lines << QString("# ") + c.what
              << BalloonText::forEntry(entry, c.military, medication).split('\n');
    }
    lines << "# long date" << BalloonText::longDate(fromDateText("20261206"));
    expectGoldenFile(lines, "logbook/balloon_texts.txt");
}
