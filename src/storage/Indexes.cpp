#include "storage/Indexes.h"

#include "storage/Database.h"

namespace {

struct IndexDef {
    const char* table;
    const char* statement;
};

// Each index serves reads that would otherwise scan every entry of a ten-year logbook:
// a day's entries in time order (list, summaries), a slot's entries, the duplicate check of
// imports by exact time, active insulin since a moment, and a day by its date.
constexpr IndexDef kIndexes[] = {
    {"SAMPLE", "create index if not exists SAMPLE_BY_DAY on SAMPLE (SAMPLE_DATE_PK, SAMPLE_TIME)"},
    {"SAMPLE", "create index if not exists SAMPLE_BY_TYPE on SAMPLE (SAMPLE_TYPE_PK, SAMPLE_TIME)"},
    {"SAMPLE", "create index if not exists SAMPLE_BY_TIME on SAMPLE (SAMPLE_TIME)"},
    {"SAMPLE", "create index if not exists SAMPLE_BY_INSULIN on SAMPLE (INSULIN_TIME)"},
    {"SAMPLE_DATE", "create index if not exists SAMPLE_DATE_BY_DATE on SAMPLE_DATE (SAMPLE_DATE)"},
};

} // namespace

bool ensureIndexes(Database& db) {
    bool ok = true;
    for (const IndexDef& index : kIndexes) {
        if (db.tableExists(QString::fromLatin1(index.table)))
            ok = db.exec(index.statement) && ok;
    }
    return ok;
}
