#include "logbook/LogRows.h"

#include "storage/Database.h"
#include "storage/SampleDateTable.h"
#include "storage/SampleTable.h"

namespace {

void addPks(std::vector<LogRow>& rows, char tag, std::unique_ptr<Query> query) {
    while (query && query->step())
        rows.push_back({tag, static_cast<int>(query->intValue(0))});
}

} // namespace

std::vector<LogRow> buildLogRows(Database& db, int filter) {
    std::vector<LogRow> rows;
    if (filter >= 1) {
        addPks(rows, 'S', SampleTable::selectByType(db, filter, true));
        return rows;
    }
    if (filter == LogFilter::DailySummary) {
        addPks(rows, 'D', SampleDateTable::selectAll(db, 4, false));
        return rows;
    }
    // Every day newest first, each followed by its live entries latest first, in one read:
    // the same order as asking day by day, without a statement per day.
    auto query = db.query("select d.PK, s.PK from SAMPLE_DATE d left join SAMPLE s on "
                          "s.SAMPLE_DATE_PK = d.PK and s.sync_state <> 30 where d.sync_state "
                          "<> 30 order by d.SAMPLE_DATE desc, d.PK, s.SAMPLE_TIME desc");
    int lastDay = 0;
    while (query && query->step()) {
        int day = static_cast<int>(query->intValue(0));
        if (rows.empty() || day != lastDay) {
            rows.push_back({'D', day});
            lastDay = day;
        }
        if (query->value(1))
            rows.push_back({'S', static_cast<int>(query->intValue(1))});
    }
    return rows;
}
