#include "logbook/GraphPlot.h"

#include "logbook/GraphScale.h"
#include "storage/Conversions.h"
#include "storage/SampleDateTable.h"
#include "storage/SampleTable.h"

namespace {

struct RowValue {
    bool found = false;
    int glucose = 0;
    QString date; // 8 digits, or a timestamp
};

RowValue readRow(Database& db, const LogRow& row) {
    RowValue value;
    if (row.tag == 'D') {
        if (auto day = SampleDateTable::getByPk(db, row.pk))
            value = {true, day->getAvgGlucoseCnt(), day->getSampleDate()};
    } else if (auto entry = SampleTable::getByPk(db, row.pk)) {
        value = {true, entry->getGlucoseCnt(), entry->getSampleTime()};
    }
    return value;
}

// "%m/%d" of a stored date or timestamp; a date that cannot be read gets no label.
std::optional<QString> shortDate(const QString& stored) {
    try {
        return formatTime(fromDateText(stored.left(8)), "%m/%d");
    } catch (const InvalidDateText&) {
        return std::nullopt;
    }
}

} // namespace

void GraphPlot::clear() {
    columnWidth = highBandBottom = lowBandTop = extHiY = extLoY = 0;
    columns.clear();
    line.clear();
    dayLines.clear();
    labels.clear();
}

void buildGraphPlot(Database& db, std::span<const LogRow> rows, const GraphPage& page,
                    const GraphLimits& limits, GraphPlot& plot) {
    using namespace GraphScale;
    plot.clear();
    const int h = page.height;
    auto band = [&](int stored) { return bandY(plotValue(stored, limits.unit), h); };
    plot.highBandBottom = band(limits.hi);
    plot.lowBandTop = band(limits.lo);
    plot.extHiY = band(limits.extHi);
    plot.extLoY = band(limits.extLo);
    const int n = page.rowsPerPage;
    const int w = columnWidth(page.width, n);
    plot.columnWidth = w;
    if (w <= 0 || page.topRow < 0)
        return;
    const bool allTypes = page.filter == LogFilter::AllTypes;
    const int count = static_cast<int>(rows.size());
    int x = 0;
    std::optional<int> previousDayCentre;
    for (int k = n - 1; k >= 0; --k) {
        const int row = page.topRow + k;
        if (row >= count)
            continue;
        const LogRow& key = rows[static_cast<std::size_t>(row)];
        const RowValue value = readRow(db, key);
        GraphColumn column{row, k, x, x + w / 2, key.tag == 'D', std::nullopt};
        x += w;
        if (value.found)
            column.y = pointY(plotValue(value.glucose, limits.unit), h);
        if (column.y)
            plot.line.emplace_back(column.centre, *column.y);
        if (allTypes && column.day) {
            // The day's average across its entries, which are drawn to its left.
            const int from = previousDayCentre.value_or(w / 2);
            if (column.y)
                plot.dayLines.push_back({from, column.centre, *column.y});
            previousDayCentre = column.centre;
        }
        if (value.found && (allTypes ? column.day : k % 3 == 0)) {
            if (auto text = shortDate(value.date))
                plot.labels.push_back({column.centre, *text});
        }
        plot.columns.push_back(column);
    }
}
