#pragma once

#include "storage/CgmReading.h"

#include <QString>
#include <vector>

// Something the patient did or measured that a CGM export carries besides the sensor trace:
// each becomes (part of) an ordinary logbook entry at its moment.
struct CgmEvent {
    enum class Kind { MeterGlucose, RapidInsulin, LongInsulin, Carbs, Note };

    // YYYYMMDDhhmmss, local time.
    QString time;
    Kind kind = Kind::MeterGlucose;
    // MeterGlucose: mg/dL.
    int glucose = 0;
    // RapidInsulin / LongInsulin: the units as a dose is written ("4", "4.5").
    QString units;
    // Carbs: grams.
    int carbs = 0;
    // Note: the text.
    QString text;

    bool operator==(const CgmEvent&) const = default;

    // An event of the kind at the moment; the caller fills in its value.
    static CgmEvent at(const QString& time, Kind kind) {
        CgmEvent event;
        event.time = time;
        event.kind = kind;
        return event;
    }
};

// A CGM export file once read, before anything is stored. Reading stores nothing and shows
// nothing; a file that cannot be read is refused as a whole with `error` naming the file and,
// where there is one, the line.
struct CgmExport {
    std::vector<CgmReading> readings;
    std::vector<CgmEvent> events;
    // Records of the format read (readings, events and the rows deliberately skipped).
    int recordsRead = 0;
    // Lines or records that are not of the format and were passed over.
    int linesIgnored = 0;
    QString error;

    bool ok() const { return error.isEmpty(); }
};
