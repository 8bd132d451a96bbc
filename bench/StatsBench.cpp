// Speed of the glucose statistics over a quarter of a year of sensor readings: 90 days of
// 5-minute readings (25,920), beside a logbook with the preference record.
// - stats_90d: every number of the statistics (bands, mean, SD, CV, GMI, coverage and the
//   96-bin profile), the readings read from the database as the stats job reads them.
// - stats_90d_compute: the same numbers from readings already in memory.
// - report_agp_pdf: the "Glucose Statistics (AGP)" page over the same 90 days written to PDF.
// Prints Google Benchmark's table and then one "name: value unit" line per figure.

#include "FigureReporter.h"

#include "reports/GlucoseStats.h"
#include "reports/ReportContext.h"
#include "reports/ReportPdf.h"
#include "reports/ReportPrintSettings.h"
#include "storage/CgmReadingTable.h"
#include "storage/SampleDateTable.h"
#include "storage/SampleTable.h"
#include "storage/Transaction.h"
#include "support/TestLogbookContext.h"
#include "ui/Prompts.h"

#include <QDate>
#include <QDateTime>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <random>

namespace {

constexpr int kDays = 90;
const QDate kLastDay(2026, 11, 30);

struct Fixture {
    QTemporaryDir dir;
    SilentPrompts prompts;
    std::unique_ptr<Database> db;
    std::unique_ptr<TestLogbookContext> context;
    std::vector<CgmReading> readings;

    Fixture() {
        db = std::make_unique<Database>(dir.filePath("sensor-quarter.db"), prompts);
        for (bool created : {PreferenceTable::createTable(*db), SampleDateTable::createTable(*db),
                             SampleTable::createTable(*db), CgmReadingTable::createTable(*db)})
            if (!created)
                std::abort();
        // A day curve with meals, the night lower, and a sensor's scatter.
        std::mt19937 random(20261205);
        std::normal_distribution<double> scatter(0, 22);
        const QDate first = kLastDay.addDays(1 - kDays);
        for (int day = 0; day < kDays; ++day) {
            for (int minute = 0; minute < 1440; minute += 5) {
                const double curve =
                    130 + 55 * std::sin((minute - 420) * std::numbers::pi / 720) + scatter(random);
                const int mgdl = std::clamp(static_cast<int>(curve), 40, 400);
                readings.push_back({first.addDays(day).toString(u"yyyyMMdd") +
                                        QString::asprintf("%02d%02d00", minute / 60, minute % 60),
                                    mgdl,
                                    mgdl == 40    ? -1
                                    : mgdl == 400 ? 1
                                                  : 0,
                                    QStringLiteral("clarity")});
            }
        }
        Transaction transaction(*db);
        if (CgmReadingTable::insertNew(*db, readings) != static_cast<int>(readings.size()) ||
            !transaction.commit())
            std::abort();
        context = std::make_unique<TestLogbookContext>(
            *db, prompts, QDateTime(kLastDay, QTime(12, 0)).toSecsSinceEpoch());
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void stats_90d(benchmark::State& state) {
    Fixture& f = fixture();
    GlucoseStats stats;
    for (auto _ : state) {
        stats = GlucoseStats::gather(*f.db, f.context->preference(), kLastDay, kDays);
        benchmark::DoNotOptimize(stats);
    }
    state.counters["readings"] = stats.readings;
}
BENCHMARK(stats_90d)->Unit(benchmark::kMillisecond);

void stats_90d_compute(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        GlucoseStats stats = GlucoseStats::compute(f.readings, kLastDay.addDays(1 - kDays), kDays,
                                                   GlucoseStats::Source::cgm);
        benchmark::DoNotOptimize(stats);
    }
}
BENCHMARK(stats_90d_compute)->Unit(benchmark::kMillisecond);

// The print sheet's period is whole weeks: 13 weeks hold the 90 days.
void report_agp_pdf(benchmark::State& state) {
    Fixture& f = fixture();
    ReportPrintSettings settings =
        ReportPrintSettings::createdAt(QDateTime(kLastDay, QTime(12, 0)).toSecsSinceEpoch());
    settings.includeGlucoseStats = true;
    settings.logWeeks = 13;
    const ReportContext context{*f.context, QStringLiteral("4.1.0.0")};
    const QString path = f.dir.filePath(QStringLiteral("report_agp.pdf"));
    ReportPdfResult result;
    for (auto _ : state)
        result = writeReportPdf(path, settings, context, QStringLiteral("Quillmarch reports"));
    if (!result.ok) {
        state.SkipWithError(result.error.toStdString().c_str());
        return;
    }
    state.counters["KiB"] = static_cast<double>(QFileInfo(path).size() / 1024);
}
BENCHMARK(report_agp_pdf)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    runWithFigures(argc, argv);
    return 0;
}
