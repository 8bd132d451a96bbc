#include "reports/GlucoseStats.h"

#include "storage/CgmReadingTable.h"
#include "storage/Preference.h"
#include "storage/SampleDateTable.h"
#include "storage/SampleTable.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kSecondsPerDay = 86400;
constexpr int kMinutesPerDay = 1440;
// Median gaps up to this many seconds belong to a 5-minute sensor, longer ones to a 15-minute
// one.
constexpr long long kFiveMinuteSensorUpTo = 600;

int digitsAt(const QString& text, int at, int count) {
    int value = 0;
    for (int i = at; i < at + count; ++i)
        value = value * 10 + (text.at(i).unicode() - '0');
    return value;
}

// A stored moment as seconds of local wall-clock time from the start of `firstDay`; nothing
// for a text that is no moment. Parsed by hand: the numbers of a quarter-year of sensor
// readings should take milliseconds, and building a date-time object per reading would not.
std::optional<long long> secondsFrom(const QString& time, qint64 firstJulianDay) {
    if (time.size() < 14)
        return std::nullopt;
    for (int i = 0; i < 14; ++i)
        if (time.at(i) < QLatin1Char('0') || time.at(i) > QLatin1Char('9'))
            return std::nullopt;
    const QDate day(digitsAt(time, 0, 4), digitsAt(time, 4, 2), digitsAt(time, 6, 2));
    if (!day.isValid())
        return std::nullopt;
    const long long seconds =
        digitsAt(time, 8, 2) * 3600 + digitsAt(time, 10, 2) * 60 + digitsAt(time, 12, 2);
    return (day.toJulianDay() - firstJulianDay) * kSecondsPerDay + seconds;
}

// Half up, exactly, for a non-negative share of whole numbers.
int roundedShare(long long numerator, long long denominator) {
    return denominator > 0 ? static_cast<int>((2 * numerator + denominator) / (2 * denominator))
                           : 0;
}

// The glucose of the logbook's live entries in the period, in mg/dL, in time order.
std::vector<CgmReading> meterReadings(Database& db, const Preference& preference,
                                      const QDate& firstDay, int days) {
    std::vector<CgmReading> readings;
    for (int i = 0; i < days; ++i) {
        auto day = SampleDateTable::getByDate(db, firstDay.addDays(i).toString(u"yyyyMMdd"));
        if (!day)
            continue;
        auto query = SampleTable::selectByDay(db, day->getPk(), true);
        if (!query)
            continue;
        while (auto entry = SampleTable::getNext(db, *query)) {
            if (entry->getGlucoseCnt() < 1)
                continue;
            CgmReading reading;
            reading.time = entry->getSampleTime();
            reading.glucose = preference.toMgDl(entry->getGlucoseCnt());
            readings.push_back(reading);
        }
    }
    return readings;
}

} // namespace

GlucoseStats::Band GlucoseStats::bandOf(int mgdl) {
    if (mgdl < 54)
        return veryLow;
    if (mgdl < 70)
        return low;
    if (mgdl <= 180)
        return inRange;
    if (mgdl <= 250)
        return high;
    return veryHigh;
}

double GlucoseStats::percentile(const std::vector<int>& sorted, double p) {
    if (sorted.empty())
        return 0;
    const double rank = (static_cast<double>(sorted.size()) - 1) * p;
    const auto below = static_cast<size_t>(std::floor(rank));
    if (below + 1 >= sorted.size())
        return sorted.back();
    const double fraction = rank - static_cast<double>(below);
    return sorted[below] + fraction * (sorted[below + 1] - sorted[below]);
}

GlucoseStats GlucoseStats::compute(const std::vector<CgmReading>& readings, const QDate& firstDay,
                                   int days, Source source) {
    GlucoseStats stats;
    stats.source = source;
    stats.firstDay = firstDay;
    stats.days = std::max(days, 0);
    const long long periodSeconds = static_cast<long long>(stats.days) * kSecondsPerDay;
    const qint64 firstJulianDay = firstDay.toJulianDay();

    std::array<std::vector<int>, kBinCount> bins;
    std::vector<long long> moments;
    moments.reserve(readings.size());
    long long sum = 0;
    long long lastMoment = -1;
    for (const CgmReading& reading : readings) {
        const auto moment = secondsFrom(reading.time, firstJulianDay);
        if (!moment || *moment < 0 || *moment >= periodSeconds || *moment == lastMoment)
            continue;
        lastMoment = *moment;
        moments.push_back(*moment);
        ++stats.bandCounts[bandOf(reading.glucose)];
        sum += reading.glucose;
        const auto minuteOfDay = (*moment % kSecondsPerDay) / 60;
        bins[minuteOfDay / kBinMinutes].push_back(reading.glucose);
    }
    stats.readings = static_cast<int>(moments.size());
    if (stats.readings == 0)
        return stats;

    stats.sum = sum;
    stats.mean = static_cast<double>(sum) / stats.readings;
    double squares = 0;
    for (const auto& bin : bins)
        for (int value : bin)
            squares += (value - stats.mean) * (value - stats.mean);
    stats.sd = std::sqrt(squares / stats.readings);

    for (int i = 0; i < kBinCount; ++i) {
        std::vector<int>& values = bins[i];
        stats.agp[i].count = static_cast<int>(values.size());
        if (values.empty())
            continue;
        std::sort(values.begin(), values.end());
        for (size_t p = 0; p < kPercentiles.size(); ++p)
            stats.agp[i].percentiles[p] = percentile(values, kPercentiles[p] / 100.0);
    }

    if (source == Source::cgm) {
        std::vector<long long> gaps;
        gaps.reserve(moments.size());
        for (size_t i = 1; i < moments.size(); ++i)
            if (moments[i] > moments[i - 1])
                gaps.push_back(moments[i] - moments[i - 1]);
        // A lone reading tells no interval; the common sensors read every 5 minutes.
        long long median = 300;
        if (!gaps.empty()) {
            auto middle = gaps.begin() + static_cast<std::ptrdiff_t>(gaps.size() / 2);
            std::nth_element(gaps.begin(), middle, gaps.end());
            median = *middle;
        }
        stats.intervalMinutes = median <= kFiveMinuteSensorUpTo ? 5 : 15;
        stats.expectedReadings = stats.days * kMinutesPerDay / stats.intervalMinutes;
    }
    return stats;
}

GlucoseStats GlucoseStats::gather(Database& db, const Preference& preference, const QDate& lastDay,
                                  int days) {
    const QDate firstDay = lastDay.addDays(1 - days);
    const std::vector<CgmReading> sensor =
        CgmReadingTable::between(db, firstDay.toString(u"yyyyMMdd") + QStringLiteral("000000"),
                                 lastDay.toString(u"yyyyMMdd") + QStringLiteral("235959"));
    GlucoseStats stats = compute(sensor, firstDay, days, Source::cgm);
    if (!stats.empty())
        return stats;
    return compute(meterReadings(db, preference, firstDay, days), firstDay, days, Source::meter);
}

int GlucoseStats::bandTenths(Band band) const {
    return roundedShare(1000LL * bandCounts[band], readings);
}

int GlucoseStats::meanTenths() const {
    return roundedShare(10 * sum, readings);
}

int GlucoseStats::bandMinutesPerDay(Band band) const {
    return roundedShare(static_cast<long long>(kMinutesPerDay) * bandCounts[band], readings);
}

int GlucoseStats::coverageTenths() const {
    if (source != Source::cgm)
        return 0;
    return roundedShare(1000LL * std::min(readings, expectedReadings), expectedReadings);
}

QStringList GlucoseStats::warnings() const {
    QStringList list;
    if (empty())
        list << QStringLiteral("No glucose readings in this period.");
    else if (source == Source::meter)
        list << QStringLiteral("No sensor readings in this period: the numbers come from meter "
                               "readings and do not describe the whole day.");
    else if (coverageTenths() < kMinimumCoverage * 10)
        list << QStringLiteral("The sensor covered less than %1% of the period.")
                    .arg(kMinimumCoverage);
    if (days < kMinimumDays)
        list << QStringLiteral("The period is shorter than %1 days.").arg(kMinimumDays);
    return list;
}
