#include "reports/GlucoseStatsData.h"

#include "logbook/LogbookContext.h"
#include "storage/Conversions.h"
#include "storage/Preference.h"

#include <QDateTime>
#include <cmath>

namespace {

constexpr int kDaysPerWeek = 7;

struct BandName {
    GlucoseStats::Band band;
    const char* name;
    const char* mgdl;
    const char* mmol;
};
// Top to bottom, as the bar stacks them.
constexpr BandName kBandNames[] = {
    {GlucoseStats::veryHigh, "Very High", "> 250", "> 13.9"},
    {GlucoseStats::high, "High", "181-250", "10.1-13.9"},
    {GlucoseStats::inRange, "In Range", "70-180", "3.9-10.0"},
    {GlucoseStats::low, "Low", "54-69", "3.0-3.8"},
    {GlucoseStats::veryLow, "Very Low", "< 54", "< 3.0"},
};

// Half up to one decimal, for the numbers that are not shares of whole counts.
QString oneDecimal(double value) {
    return QString::number(std::floor(value * 10 + 0.5) / 10, 'f', 1);
}

} // namespace

GlucoseStatsData GlucoseStatsData::gather(LogbookContext& context, std::time_t periodEnd,
                                          int weeks) {
    const QDate lastDay = QDateTime::fromSecsSinceEpoch(periodEnd).date();
    return gather(context, lastDay, weeks * kDaysPerWeek);
}

GlucoseStatsData GlucoseStatsData::gather(LogbookContext& context, const QDate& lastDay, int days) {
    const Preference& preference = context.preference();
    return fromStats(GlucoseStats::gather(context.database(), preference, lastDay, days),
                     preference.getGlucoseSampleCode(), preference.getPatientName());
}

GlucoseStatsData GlucoseStatsData::fromStats(const GlucoseStats& stats, int unit,
                                             const QString& patientName) {
    GlucoseStatsData data;
    data.unit = unit;
    data.patientName = patientName;
    data.stats = stats;
    const QString format = QStringLiteral("MMMM d, yyyy");
    data.periodText = QStringLiteral("%1 through %2 (%3 days)")
                          .arg(stats.firstDay.toString(format),
                               stats.firstDay.addDays(stats.days - 1).toString(format))
                          .arg(stats.days);
    const QString unitText = unitName(unit);

    if (stats.empty())
        data.sourceText = QStringLiteral("No glucose readings in this period");
    else if (stats.source == GlucoseStats::Source::cgm)
        data.sourceText = QStringLiteral("From %1 sensor readings (CGM), one every %2 minutes")
                              .arg(stats.readings)
                              .arg(stats.intervalMinutes);
    else
        data.sourceText =
            QStringLiteral("From %1 meter readings: no sensor readings in this period")
                .arg(stats.readings);

    for (const BandName& name : kBandNames) {
        BandRow row;
        row.band = name.band;
        row.name = QLatin1String(name.name);
        row.range = QStringLiteral("%1 %2").arg(
            QLatin1String(unit == kGlucoseUnitMmol ? name.mmol : name.mgdl), unitText);
        row.percent = tenthsText(stats.bandTenths(name.band)) + QLatin1Char('%');
        row.perDay = durationText(stats.bandMinutesPerDay(name.band));
        data.bands.push_back(row);
    }

    const QString none = QStringLiteral("-");
    const bool any = !stats.empty();
    data.metrics = {
        {QStringLiteral("Mean glucose"),
         any ? glucoseText(stats.mean, unit) + QLatin1Char(' ') + unitText : none},
        {QStringLiteral("Glucose management indicator (GMI)"),
         any ? oneDecimal(stats.gmi()) + QLatin1Char('%') : none},
        {QStringLiteral("Standard deviation"),
         any ? glucoseText(stats.sd, unit) + QLatin1Char(' ') + unitText : none},
        {QStringLiteral("Coefficient of variation"),
         any ? QStringLiteral("%1% (target %2% or less)")
                   .arg(oneDecimal(stats.cv()))
                   .arg(GlucoseStats::kCvTarget)
             : none},
        {QStringLiteral("Sensor coverage"),
         stats.source == GlucoseStats::Source::cgm && any
             ? QStringLiteral("%1% (%2 of %3 readings)")
                   .arg(tenthsText(stats.coverageTenths()))
                   .arg(std::min(stats.readings, stats.expectedReadings))
                   .arg(stats.expectedReadings)
             : QStringLiteral("no sensor readings")},
        {QStringLiteral("Readings"), QString::number(stats.readings)},
    };
    data.warnings = stats.warnings();
    return data;
}

QString GlucoseStatsData::glucoseText(double mgdl, int unit) {
    if (unit == kGlucoseUnitMmol)
        return formatGlucose(static_cast<int>(std::floor(mgdl * 10 / 18 + 0.5)), unit);
    return QString::number(static_cast<long long>(std::floor(mgdl + 0.5)));
}

QString GlucoseStatsData::unitName(int unit) {
    return unit == kGlucoseUnitMmol ? QStringLiteral("mmol/L") : QStringLiteral("mg/dL");
}

QString GlucoseStatsData::durationText(int minutes) {
    return QStringLiteral("%1 h %2 min")
        .arg(minutes / 60)
        .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

QString GlucoseStatsData::tenthsText(int tenths) {
    return QStringLiteral("%1.%2").arg(tenths / 10).arg(tenths % 10);
}
