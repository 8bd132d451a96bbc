#include "logbook/GraphPlot.h"
#include "LogbookFixture.h"
#include "logbook/GraphScale.h"
#include "support/GoldenFile.h"

using namespace GraphScale;

TEST(GraphScaleTest, PointsAndBandsInWholePixels) {
    constexpr int mg = kGlucoseUnitMgDl, mmol = kGlucoseUnitMmol, none = -1;
    // The stored value, its unit, the strip's height, the point's y (none: not drawn), the
    // band's y. 10.0 mmol/L is plotted at 180 mg/dL, 3.9 at 70 (70.2 truncated); a point above
    // the scale is held 5 pixels below the top edge; 98 is the strip's client height.
    const struct {
        int stored, unit, height, y, band;
    } cases[] = {
        {180, mg, 100, 55, 55}, {70, mg, 100, 82, 83},    {250, mg, 100, 37, 38},
        {50, mg, 100, 87, 88},  {100, mmol, 100, 55, 55}, {39, mmol, 100, 82, 83},
        {1, mg, 100, 99, 100},  {0, mg, 100, none, 100},  {-20, mg, 100, none, 105},
        {400, mg, 100, 5, 0},   {600, mg, 100, 5, -50},   {120, mg, 98, 68, 70},
        {180, mg, 98, 53, 55},
    };
    for (const auto& c : cases) {
        const int value = plotValue(c.stored, c.unit);
        EXPECT_EQ(pointY(value, c.height), c.y == none ? std::nullopt : std::optional(c.y))
            << c.stored << " unit " << c.unit << " height " << c.height;
        EXPECT_EQ(bandY(value, c.height), c.band) << c.stored << " height " << c.height;
    }
}

TEST(GraphScaleTest, TheCursorFindsTheRowDrawnUnderIt) {
    // A full page of 12 rows, 50 pixels each, the oldest on the left, then 5 pixels left over;
    // five rows drawn from the left edge of a 12-row page; the last rows of a scrolled list;
    // no room for a column.
    const struct {
        int x, width, rowsPerPage, topRow, rowCount, offset;
    } cases[] = {
        {0, 600, 12, 30, 400, 11},  {99, 600, 12, 30, 400, 10}, {100, 600, 12, 30, 400, 9},
        {125, 600, 12, 30, 400, 9}, {599, 600, 12, 30, 400, 0}, {604, 605, 12, 0, 400, -1},
        {10, 600, 12, 0, 5, 4},     {240, 600, 12, 0, 5, 0},    {260, 600, 12, 0, 5, -1},
        {590, 600, 12, 0, 5, -7},   {160, 600, 12, 10, 15, 1},  {10, 5, 12, 0, 5, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(hoveredOffset(c.x, columnWidth(c.width, c.rowsPerPage), c.rowsPerPage, c.topRow,
                                c.rowCount),
                  c.offset)
            << "x " << c.x << " width " << c.width << " top " << c.topRow << " of " << c.rowCount;
}

// The plot as text: bands and limit lines, the columns, the line, the day averages, the dates.
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

TEST_F(GraphPlotTest, EmptyTwoDaysAndOneSlot) {
    const GraphLimits mgDl{50, 70, 180, 250, kGlucoseUnitMgDl};
    GraphPlot p;
    buildGraphPlot(*db, {}, {600, 100, 12, -1, LogFilter::AllTypes}, mgDl, p);
    QStringList lines = describe("an empty list", p);

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
