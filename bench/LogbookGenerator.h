#pragma once

#include <QString>
#include <cstdint>

class Database;

// Writes a realistic logbook through the table operations, the way an import stores a day
// of records: the day row is found or created once for the day, each entry's note is
// stored before the entry, and the entry is saved under the day's key.
struct LogbookShape {
    int days = 3650;
    int entriesPerDay = 8;
    QString firstDate = QStringLiteral("20161201");
    std::uint32_t seed = 20261205;
};

struct GeneratedCounts {
    int days = 0;
    int entries = 0;
    int notes = 0;
};

// Creates the logbook tables (with their indexes) and the medications the doses name.
bool createLogbookSchema(Database& db);
// The whole logbook is stored as one unit of work, as an import is.
GeneratedCounts generateLogbook(Database& db, const LogbookShape& shape);
// The ten-year logbook with the tables the view and the reports read beside it (preference
// and quick-bolus settings), as the view and report benchmarks use it.
GeneratedCounts generateViewedLogbook(Database& db);
