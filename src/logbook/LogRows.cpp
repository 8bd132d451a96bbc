#include "logbook/LogRows.h"

#include "storage/Database.h"
#include "storage/SampleDateTable.h"
#include "storage/SampleTable.h"

namespace {

bool full(const std::vector<LogRow>& rows, std::size_t limit) {
    return limit > 0 && rows.size() >= limit;
}

void addPks(std::vector<LogRow>& rows, char tag, std::unique_ptr<Query> query, std::size_t limit) {
    while (!full(rows, limit) && query && query->step())
        rows.push_back({tag, static_cast<int>(query->intValue(0))});
}

} // namespace

std::vector<LogRow> buildLogRows(Database& db, int filter, std::size_t limit) {
    std::vector<LogRow> rows;
    if (filter >= 1) {
        addPks(rows, 'S', SampleTable::selectByType(db, filter, true), limit);
        return rows;
    }
    if (filter == LogFilter::DailySummary) {
        addPks(rows, 'D', SampleDateTable::selectAll(db, 4, false), limit);
        return rows;
    }
    auto query = SampleTable::selectDayAndEntryPks(db);
    int lastDay = 0;
    // The statements walk their indexes in list order, so stopping early reads only the rows
    // kept.
    while (!full(rows, limit) && query && query->step()) {
        int day = static_cast<int>(query->intValue(0));
        if (rows.empty() || day != lastDay) {
            rows.push_back({'D', day});
            lastDay = day;
        }
        if (query->value(1) && !full(rows, limit))
            rows.push_back({'S', static_cast<int>(query->intValue(1))});
    }
    return rows;
}
