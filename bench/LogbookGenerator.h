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
    // The morning entry of every n-th day changes the infusion site (0: never).
    int siteChangeEveryDays = 0;
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
// The same with everything every report prints beside the logbook: the patient's name, the
// quick-bolus schedules (calculator on) and basal rates, a site change every third day, a
// vital record a day (some with a note), an A1c result a quarter, a food list, a protocol and a
// meter; and every day summarized, as the view's summarize pass leaves it.
GeneratedCounts generateReportedLogbook(Database& db);
