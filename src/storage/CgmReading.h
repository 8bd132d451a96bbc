#pragma once

#include <QString>

// One reading of a continuous glucose monitor. Kept apart from the logbook's entries: a sensor
// gives hundreds a day, and the list, the day totals and the averages are about the patient's
// own readings at their times of day.
struct CgmReading {
    // What a device's "above range" and "below range" readings are kept as (with rangeFlag).
    static constexpr int kHighMgDl = 400;
    static constexpr int kLowMgDl = 40;

    // YYYYMMDDhhmmss, local time, as the logbook stores moments.
    QString time;
    // Always mg/dL.
    int glucose = 0;
    // 0 for a measured value; -1 or 1 when the device reported only "below" or "above" its
    // range (the value is then the device's limit, 40 or 400).
    int rangeFlag = 0;
    // Where the reading came from ("clarity", "libreview", "nightscout"): a reading is stored
    // once per source and moment.
    QString source;

    bool operator==(const CgmReading&) const = default;
};
