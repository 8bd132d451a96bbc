#pragma once

#include "storage/CgmReading.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

class Database;
class Preference;

// The glucose numbers a physician judges therapy by, over a period of whole days: time in the
// five consensus bands, mean, standard deviation, coefficient of variation, GMI, how much of the
// period the sensor covered, and the ambulatory glucose profile (percentiles by time of day).
//
// Conventions, kept the same everywhere the numbers are shown:
// - Readings at the same moment (two exports of one sensor) count once, the first one read.
// - The standard deviation is the population one (divided by n, not n - 1): it is defined for a
//   single reading, and over a sensor's thousands of readings the two differ in the fourth digit.
// - Percentiles interpolate linearly between the closest ranks: for n sorted values and a share
//   p, the rank h = (n - 1) p, the value x[floor h] + (h - floor h)(x[floor h + 1] - x[floor h]).
// - The device's interval is the median gap between successive readings, taken as 5 minutes up
//   to 10 minutes and as 15 minutes above; coverage counts the readings present against the
//   readings that interval gives the whole period, at most 100 %.
class GlucoseStats {
public:
    enum class Source { cgm, meter };
    enum Band { veryLow, low, inRange, high, veryHigh };
    static constexpr int kBandCount = 5;
    static constexpr int kBinMinutes = 15;
    static constexpr int kBinCount = 24 * 60 / kBinMinutes;
    // The percentiles of each time-of-day bin: 5th, 25th, 50th, 75th and 95th.
    static constexpr std::array<int, 5> kPercentiles = {5, 25, 50, 75, 95};
    static constexpr int kMinimumCoverage = 70;
    static constexpr int kMinimumDays = 14;
    static constexpr int kCvTarget = 36;

    // One 15-minute bin of the profile; a bin without readings is a gap in every curve.
    struct AgpBin {
        int count = 0;
        std::array<double, 5> percentiles{};
        bool isGap() const { return count == 0; }
    };

    Source source = Source::cgm;
    QDate firstDay;
    int days = 0;
    int readings = 0;
    std::array<int, kBandCount> bandCounts{};
    long long sum = 0; // of the readings, in mg/dL
    double mean = 0;
    double sd = 0;
    // The device's interval in minutes (sensor readings only; 0 for meter readings).
    int intervalMinutes = 0;
    int expectedReadings = 0;
    std::array<AgpBin, kBinCount> agp{};

    // The numbers of readings (glucose in mg/dL) over the `days` days from `firstDay`; readings
    // outside those days are left out. The readings come in time order.
    static GlucoseStats compute(const std::vector<CgmReading>& readings, const QDate& firstDay,
                                int days, Source source);
    // The period of `days` days ending with `lastDay`: its sensor readings when it has any,
    // otherwise the glucose of the logbook's live entries (converted from the patient's unit).
    static GlucoseStats gather(Database& db, const Preference& preference, const QDate& lastDay,
                               int days);

    // The band a value in mg/dL falls in: below 54, 54-69, 70-180, 181-250, above 250.
    static Band bandOf(int mgdl);
    // The value at share `p` (0 to 1) of sorted values, interpolated as described above.
    static double percentile(const std::vector<int>& sorted, double p);

    bool empty() const { return readings == 0; }
    double cv() const { return mean > 0 ? sd / mean * 100 : 0; }
    double gmi() const { return 3.31 + 0.02392 * mean; }
    // The share of readings in a band in tenths of a percent, rounded half up exactly.
    int bandTenths(Band band) const;
    // The mean in tenths of mg/dL, rounded half up exactly.
    int meanTenths() const;
    double bandPercent(Band band) const { return bandTenths(band) / 10.0; }
    // The band's share of a day in whole minutes (the exact share, rounded half up).
    int bandMinutesPerDay(Band band) const;
    // The readings present against those expected, in tenths of a percent rounded half up; 0
    // for meter readings, which say nothing of a sensor's coverage.
    int coverageTenths() const;
    double coveragePercent() const { return coverageTenths() / 10.0; }
    // The caveats the page and the command line print under the numbers.
    QStringList warnings() const;
};
