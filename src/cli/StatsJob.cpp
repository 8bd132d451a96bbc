#include "cli/StatsJob.h"

#include "cli/CliJob.h"
#include "cli/CliSession.h"
#include "cli/ReportJob.h"
#include "reports/GlucoseStatsData.h"
#include "reports/ReportPrintSettings.h"
#include "storage/Clock.h"

#include <QCommandLineParser>
#include <QDateTime>
#include <QTextStream>
#include <cmath>

namespace {

// Half up to one decimal: the JSON's numbers that are not shares of whole counts.
QString oneDecimal(double value) {
    return QString::number(std::floor(value * 10 + 0.5) / 10, 'f', 1);
}

QString tenths(int value) {
    return GlucoseStatsData::tenthsText(value);
}

// One line, the keys always in this order. Shares of readings and the mean are rounded from
// whole counts exactly; SD, CV and GMI half up from their computed values. Without readings
// the mean, SD, CV and GMI are null.
QString jsonOf(const GlucoseStats& stats) {
    const bool any = !stats.empty();
    const QString null = QStringLiteral("null");
    QString json = QStringLiteral("{\"source\": \"%1\", \"readings\": %2")
                       .arg(stats.source == GlucoseStats::Source::cgm ? QStringLiteral("cgm")
                                                                      : QStringLiteral("meter"))
                       .arg(stats.readings);
    json += QStringLiteral(", \"mean_mgdl\": %1").arg(any ? tenths(stats.meanTenths()) : null);
    json += QStringLiteral(", \"sd_mgdl\": %1").arg(any ? oneDecimal(stats.sd) : null);
    json += QStringLiteral(", \"cv_percent\": %1").arg(any ? oneDecimal(stats.cv()) : null);
    json += QStringLiteral(", \"gmi_percent\": %1").arg(any ? oneDecimal(stats.gmi()) : null);
    json += QStringLiteral(", \"coverage_percent\": %1").arg(tenths(stats.coverageTenths()));
    json += QStringLiteral(", \"tir\": {\"very_low\": %1, \"low\": %2, \"in_range\": %3, "
                           "\"high\": %4, \"very_high\": %5}}")
                .arg(tenths(stats.bandTenths(GlucoseStats::veryLow)),
                     tenths(stats.bandTenths(GlucoseStats::low)),
                     tenths(stats.bandTenths(GlucoseStats::inRange)),
                     tenths(stats.bandTenths(GlucoseStats::high)),
                     tenths(stats.bandTenths(GlucoseStats::veryHigh)));
    return json;
}

void writeText(QTextStream& out, const GlucoseStatsData& data) {
    out << QStringLiteral("Glucose statistics of %1").arg(data.patientName) << '\n'
        << data.periodText << '\n'
        << data.sourceText << '\n'
        << '\n'
        << QStringLiteral("Time in ranges") << '\n';
    for (const GlucoseStatsData::BandRow& row : data.bands)
        out << "  " << row.name.leftJustified(10) << row.range.leftJustified(18)
            << row.percent.rightJustified(6) << "  " << row.perDay.rightJustified(11)
            << QStringLiteral(" a day") << '\n';
    out << '\n';
    for (const GlucoseStatsData::Metric& metric : data.metrics)
        out << "  " << (metric.caption + QLatin1Char(':')).leftJustified(37) << metric.value
            << '\n';
    for (const QString& warning : data.warnings)
        out << QStringLiteral("Warning: ") << warning << '\n';
    out << Qt::flush;
}

} // namespace

int runStatsJob(CliSession& session, const QCommandLineParser& parser, const QStringList&) {
    // The report period of the print sheet: its end today, its weeks those the patient keeps.
    std::optional<QDate> lastDay;
    if (parser.isSet(QStringLiteral("end"))) {
        const QString text = parser.value(QStringLiteral("end"));
        const auto day = reportDayFromText(text);
        if (!day)
            return session.fail(
                QStringLiteral("Bad date \"%1\" for --end: write the day as YYYY-MM-DD.")
                    .arg(text));
        lastDay = QDateTime::fromSecsSinceEpoch(*day).date();
    }
    std::optional<int> weeks;
    if (parser.isSet(QStringLiteral("weeks"))) {
        bool ok = false;
        const QString text = parser.value(QStringLiteral("weeks"));
        const int value = text.toInt(&ok);
        if (!ok || value < 1 || value > ReportPrintSettings::kMaxLogWeeks)
            return session.fail(
                QStringLiteral("--weeks takes a whole number of weeks from 1 to %1, not \"%2\".")
                    .arg(ReportPrintSettings::kMaxLogWeeks)
                    .arg(text));
        weeks = value;
    }

    if (!session.openPatient(CliSession::Access::readOnly))
        return CliExit::failed;
    CQuillmarchApp& app = session.app();
    if (!lastDay)
        lastDay = QDateTime::fromSecsSinceEpoch(app.clock().now()).date();
    if (!weeks) {
        ReportPrintSettings stored;
        stored.loadChoices(session.settings(), app.currentUserName());
        weeks = stored.logWeeks;
    }
    GlucoseStatsData data = GlucoseStatsData::gather(app, *lastDay, *weeks * 7);
    if (data.patientName.isEmpty())
        data.patientName = app.currentUserName();
    if (parser.isSet(QStringLiteral("json")))
        session.out() << jsonOf(data.stats) << Qt::endl;
    else
        writeText(session.out(), data);
    return CliExit::ok;
}
