#pragma once

#include "storage/CgmReading.h"

#include <QString>
#include <optional>
#include <vector>

class Database;

// The CGM_READING table: sensor readings beside the logbook. A reading of the same source at
// the same moment is stored once, so importing a file again, or an export that overlaps an
// earlier one, adds nothing.
class CgmReadingTable {
public:
    static constexpr const char* kTable = "CGM_READING";
    static constexpr const char* kCreate =
        "CREATE TABLE CGM_READING ( PK INTEGER PRIMARY KEY, FK INTEGER, SYNC_STATE INTEGER, "
        "READING_TIME CHAR(14), GLUCOSE_CNT INTEGER, RANGE_FLAG INTEGER, SOURCE VARCHAR(20), "
        "UNIQUE (SOURCE, READING_TIME) )";
    static constexpr const char* kIndex =
        "create index if not exists CGM_READING_BY_TIME on CGM_READING (READING_TIME)";

    // Creates the table (and its index); shows the engine's message when it cannot.
    static bool createTable(Database& db);
    // Creates the table when the file has none yet; true when it is there afterwards.
    static bool ensureTable(Database& db);

    // Stores the readings not stored yet (same source and moment); the number newly stored,
    // or nothing when a write failed (the caller's unit of work is then abandoned).
    static std::optional<int> insertNew(Database& db, const std::vector<CgmReading>& readings);
    // Readings from `first` to `last` (timestamps, both included) in time order, of every
    // source. Deleted rows are left out.
    static std::vector<CgmReading> between(Database& db, const QString& first, const QString& last);
    // Readings taken before the day `date` (YYYYMMDD); for the retention clean-up.
    static int countBefore(Database& db, const QString& date);
    // Removes them; the number removed, or -1 when the delete failed.
    static int removeBefore(Database& db, const QString& date);
    // Every stored reading.
    static int count(Database& db);
};
