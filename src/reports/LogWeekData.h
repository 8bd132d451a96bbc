#pragma once

#include "storage/Preference.h"

#include <QString>
#include <array>
#include <ctime>
#include <optional>
#include <vector>

class LogbookContext;

// Sums of the entries of a slot, a day or the whole week, as the log book totals them.
struct WeekTally {
    int glucoseSum = 0;
    int glucoseCount = 0;
    int carbSum = 0;
    int carbCount = 0;
    int insulin = 0;    // hundredths of a unit
    int correction = 0; // hundredths of a unit
    bool hasNote = false;
    int maxKetone = 0;

    int averageGlucose() const { return glucoseCount ? glucoseSum / glucoseCount : 0; }
    int averageCarbs() const { return carbCount ? carbSum / carbCount : 0; }
};

// One entry as its day cell shows it.
struct WeekCell {
    QString sampleTime; // the stored 14-digit timestamp
    int glucose = 0;
    int carbs = 0;
    QString dosage;
    QString correction;
    bool hasNote = false;
    int delivery = 0;
    bool otherDelivery = false; // a delivery other than the patient's usual one
    bool siteChange = false;
    int ketone = 0;
};

// One printed row of a slot: the n-th entry of the slot on each day that has one.
struct WeekRow {
    std::array<std::optional<WeekCell>, 7> cells;
};

struct WeekSlot {
    QString name;
    QString time;       // the slot's start, "HHMM"
    GlucoseRange range; // the range in force at the slot's start
    std::vector<WeekRow> rows;
    WeekTally tally;
};

struct WeekDay {
    std::time_t date = 0; // the week date minus whole days
    int dayType = 1;
    bool siteChange = false;
    bool hasNote = false;        // the day itself has a note
    std::optional<int> delivery; // set when an entry used a delivery other than the usual one
    QString notes;               // the day's note, its entries' notes and its protocol
    WeekTally tally;
};

// The last column of the "Weekly" row: the average glucose of all readings, and the daily
// carbohydrates, insulin and correction averaged over the days that have any.
struct LogWeekTotals {
    int glucose = 0;
    int glucoseCount = 0;
    int carbs = 0;
    int insulin = 0;
    int correction = 0;
};

// One week of the logbook as the detailed log book prints it, read once before drawing.
struct LogWeekData {
    std::time_t weekDate = 0;
    int glucoseUnit = 0;
    bool militaryTime = false;
    int defaultDelivery = 0;
    GlucoseRange range; // the patient's own range, for the weekly averages
    std::array<WeekDay, 7> days;
    std::vector<WeekSlot> logSlots; // every slot, in slot order, including slots without entries

    // Reads the week that ends on the day of `weekDate`: day records, notes, each slot's
    // entries, and the protocols dated in the week or in force at its start.
    static LogWeekData collect(LogbookContext& context, std::time_t weekDate);

    LogWeekTotals weekTotals() const;
    // Rows of all slots together (an empty week still prints one row).
    int rowCount() const;
};

// "2.50u (0.50u) 24g:1u": insulin, correction (both hundredths of a unit) and the grams of
// carbohydrate per unit; parts that are zero are left out.
QString logTotalsText(int insulin, int correction, int carbs);

// The hour and minute written in a stored 14-digit timestamp, read as written so that no clock
// change moves them; -1 for both when the text is not such a timestamp. A report prints what an
// import or a handheld stored without falling over a damaged time.
struct StoredClock {
    int hour = -1;
    int minute = -1;
    bool valid() const { return hour >= 0; }
};
StoredClock storedClock(const QString& timestamp);
