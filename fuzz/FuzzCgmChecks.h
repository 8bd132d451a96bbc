#pragma once

#include "FuzzSupport.h"

#include "exchange/CgmExport.h"
#include "storage/Conversions.h"

// What every CGM reader promises of what it returns, whatever the file held.
inline void checkCgmExport(const CgmExport& data, const QString& fileName, const char* source) {
    if (!data.ok()) {
        // A refused file names itself and hands nothing on to be stored.
        FUZZ_CHECK(data.error.startsWith(fileName));
        FUZZ_CHECK(data.readings.empty() && data.events.empty());
        return;
    }
    FUZZ_CHECK(data.recordsRead > 0 && data.linesIgnored >= 0);
    size_t glucoseRecords = data.readings.size();
    for (const CgmReading& reading : data.readings) {
        // Every moment exists for the logbook (fromDateTimeText throws on one that does not).
        FUZZ_CHECK(reading.time.size() == 14);
        (void)fromDateTimeText(reading.time);
        FUZZ_CHECK(reading.glucose > 0 && reading.glucose < 10000);
        FUZZ_CHECK(reading.rangeFlag >= -1 && reading.rangeFlag <= 1);
        if (reading.rangeFlag != 0)
            FUZZ_CHECK(reading.glucose == (reading.rangeFlag < 0 ? 40 : 400));
        FUZZ_CHECK(reading.source == QLatin1String(source));
    }
    for (const CgmEvent& event : data.events) {
        FUZZ_CHECK(event.time.size() == 14);
        (void)fromDateTimeText(event.time);
        switch (event.kind) {
        case CgmEvent::Kind::MeterGlucose:
            ++glucoseRecords;
            FUZZ_CHECK(event.glucose > 0 && event.glucose < 10000);
            break;
        case CgmEvent::Kind::RapidInsulin:
        case CgmEvent::Kind::LongInsulin:
            // A dose is written as the logbook writes one, and is above zero.
            FUZZ_CHECK(isValidDosageAmount(event.units) && event.units.toDouble() > 0);
            break;
        case CgmEvent::Kind::Carbs:
            FUZZ_CHECK(event.carbs > 0 && event.carbs < 10000);
            break;
        case CgmEvent::Kind::Note:
            FUZZ_CHECK(!event.text.trimmed().isEmpty());
            break;
        }
    }
    // Each record gives at most one glucose value.
    FUZZ_CHECK(glucoseRecords <= static_cast<size_t>(data.recordsRead));
}
