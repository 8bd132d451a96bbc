#include "logbook/GraphPlot.h"
#include "LogbookFixture.h"

namespace {

struct Drawn {
    int left;
    std::optional<int> y;
    bool operator==(const Drawn&) const = default;
};

class GraphPlotTest : public LogbookTest {
protected:
    // The standard range, 50 / 70 / 180 / 250 mg/dL, in either unit.
    GraphPlot plot(const std::vector<LogRow>& rows, const GraphPage& page, int unit) {
        const GraphLimits limits = unit == kGlucoseUnitMmol ? GraphLimits{28, 39, 100, 139, unit}
                                                            : GraphLimits{50, 70, 180, 250, unit};
        GraphPlot result;
        buildGraphPlot(*db, rows, page, limits, result);
        return result;
    }
    static std::vector<Drawn> drawn(const GraphPlot& plot) {
        std::vector<Drawn> columns;
        for (const GraphColumn& column : plot.columns)
            columns.push_back({column.left, column.y});
        return columns;
    }
    static std::vector<std::pair<int, QString>> labels(const GraphPlot& plot) {
        std::vector<std::pair<int, QString>> result;
        for (const GraphLabel& label : plot.labels)
            result.emplace_back(label.centre, label.text);
        return result;
    }
    static std::vector<std::array<int, 3>> dayLines(const GraphPlot& plot) {
        std::vector<std::array<int, 3>> result;
        for (const GraphDayLine& line : plot.dayLines)
            result.push_back({line.from, line.to, line.y});
        return result;
    }
};

} // namespace

// Two days of "All Types" on a 12-row page, 50 pixels a column: six rows drawn from the left,
// oldest first, each day's average drawn in red across its entries.
TEST_F(GraphPlotTest, AllTypesDrawsDaysAcrossTheirEntries) {
    int d1 = addDay("20070314", [](SampleDate& d) { d.setAvgGlucoseCnt(180); });
    int d2 = addDay("20070315", [](SampleDate& d) { d.setAvgGlucoseCnt(235); });
    int a = addEntry("20070314070000", 180);
    int b = addEntry("20070314120000", 0); // no glucose: a gap the line passes over
    int c = addEntry("20070315070000", 70);
    int e = addEntry("20070315120000", 480);
    const std::vector<LogRow> rows = {{'D', d2}, {'S', e}, {'S', c}, {'D', d1}, {'S', b}, {'S', a}};
    GraphPlot p = plot(rows, {600, 100, 12, 0, LogFilter::AllTypes}, kGlucoseUnitMgDl);

    EXPECT_EQ((std::array{p.highBandBottom, p.lowBandTop, p.extHiY, p.extLoY}),
              (std::array{55, 83, 38, 88}));
    EXPECT_EQ(p.columnWidth, 50);
    EXPECT_EQ(drawn(p),
              (std::vector<Drawn>{
                  {0, 55}, {50, std::nullopt}, {100, 55}, {150, 82}, {200, 5}, {250, 41}}));
    EXPECT_EQ(p.line, (std::vector<QPoint>{{25, 55}, {125, 55}, {175, 82}, {225, 5}, {275, 41}}));
    EXPECT_EQ(dayLines(p), (std::vector<std::array<int, 3>>{{25, 125, 55}, {125, 275, 41}}));
    EXPECT_EQ(labels(p), (std::vector<std::pair<int, QString>>{{125, "03/14"}, {275, "03/15"}}));
}

// One slot's entries in millimoles, the list scrolled one row down a 6-row page: a label at
// every third row of the page, no day lines.
TEST_F(GraphPlotTest, OneSlotLabelsEveryThirdRow) {
    std::vector<LogRow> rows;
    for (int day = 9; day >= 1; --day)
        rows.push_back({'S', addEntry(QString("2007030%1080000").arg(day), 100 + day)});
    GraphPlot p = plot(rows, {300, 100, 6, 1, 1}, kGlucoseUnitMmol);

    EXPECT_EQ((std::array{p.highBandBottom, p.lowBandTop, p.extHiY, p.extLoY}),
              (std::array{55, 83, 38, 88}));
    std::vector<int> drawnRows;
    for (const GraphColumn& column : p.columns)
        drawnRows.push_back(column.row);
    EXPECT_EQ(drawnRows, (std::vector<int>{6, 5, 4, 3, 2, 1}));
    // Row 6 is 3 March, 10.3 mmol/L: 185 mg/dL.
    EXPECT_EQ(p.line.front(), QPoint(25, 53));
    EXPECT_TRUE(p.dayLines.empty());
    EXPECT_EQ(labels(p), (std::vector<std::pair<int, QString>>{{125, "03/05"}, {275, "03/08"}}));
}

TEST_F(GraphPlotTest, AnEmptyListDrawsOnlyTheBackground) {
    GraphPlot p = plot({}, {600, 100, 12, -1, LogFilter::AllTypes}, kGlucoseUnitMgDl);
    EXPECT_EQ(p.highBandBottom, 55);
    EXPECT_TRUE(p.columns.empty() && p.line.empty() && p.labels.empty());
}
