// Speed of the printed reports on a ten-year logbook: the physician's summary over 25 weeks,
// 25 weeks of the detailed log book, and every report over 25 weeks in one job, each written to
// a PDF file as the command line does.
// Prints Google Benchmark's table and then one "name: value unit" line per figure, with the
// size and page count of each PDF.

#include "FigureReporter.h"
#include "LogbookGenerator.h"

#include "reports/ReportContext.h"
#include "reports/ReportPdf.h"
#include "reports/ReportPrintSettings.h"
#include "support/TestLogbookContext.h"
#include "ui/Prompts.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

struct Fixture {
    QTemporaryDir dir;
    SilentPrompts prompts;
    std::unique_ptr<Database> db;
    std::unique_ptr<TestLogbookContext> context;

    Fixture() {
        db = std::make_unique<Database>(dir.filePath("ten-years.db"), prompts);
        generateReportedLogbook(*db);
        context = std::make_unique<TestLogbookContext>(*db, prompts, std::time(nullptr));
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

// One line per benchmark, however often Google Benchmark ran it.
std::map<std::string, std::string>& sizes() {
    static std::map<std::string, std::string> lines;
    return lines;
}

// The last generated day is the period's end, so every week of the period holds entries.
std::time_t lastGeneratedDay() {
    const QDate first = QDate::fromString(LogbookShape{}.firstDate, QStringLiteral("yyyyMMdd"));
    return QDateTime(first.addDays(LogbookShape{}.days - 1), QTime(23, 59, 59)).toSecsSinceEpoch();
}

// Writes the reports `choose` ticks, over 25 weeks, into the PDF file of the benchmark's name.
void writePdf(benchmark::State& state, const char* name,
              const std::function<void(ReportPrintSettings&)>& choose) {
    Fixture& f = fixture();
    ReportPrintSettings settings = ReportPrintSettings::createdAt(lastGeneratedDay());
    choose(settings);
    settings.logWeeks = 25;
    const ReportContext context{*f.context, QStringLiteral("4.1.0.0")};
    const QString path = f.dir.filePath(QString::fromLatin1(name) + QStringLiteral(".pdf"));
    ReportPdfResult result;
    for (auto _ : state)
        result = writeReportPdf(path, settings, context, QStringLiteral("Quillmarch reports"));
    if (!result.ok) {
        state.SkipWithError(result.error.toStdString().c_str());
        return;
    }
    state.counters["pages"] = result.pages;
    sizes()[name] = (std::string(name) + "_size: " + std::to_string(QFileInfo(path).size() / 1024) +
                     " KiB, " + std::to_string(result.pages) + " pages");
}

void report_physician_pdf(benchmark::State& state) {
    writePdf(state, "report_physician_pdf",
             [](ReportPrintSettings& s) { s.includeDocSummary = true; });
}
BENCHMARK(report_physician_pdf)->Unit(benchmark::kMillisecond);

void report_logbook_25w_pdf(benchmark::State& state) {
    writePdf(state, "report_logbook_25w_pdf",
             [](ReportPrintSettings& s) { s.includeLogDetail = true; });
}
BENCHMARK(report_logbook_25w_pdf)->Unit(benchmark::kMillisecond);

// Every report of the print sheet in one job: the physician's summary, the daily summary, the
// log book, the quick bolus and infusion site report, a worksheet, the vital history and the
// food list.
void report_all_25w_pdf(benchmark::State& state) {
    writePdf(state, "report_all_25w_pdf", [](ReportPrintSettings& s) {
        s.includeDocSummary = s.includeGlucoseStats = s.includeDaySummary = s.includeLogDetail =
            true;
        s.includePumpStatus = s.includeWorksheet = s.includeBpLog = s.includeFoodLog = true;
    });
}
BENCHMARK(report_all_25w_pdf)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    runWithFigures(argc, argv);
    // QUILLMARCH_BENCH_KEEP names a folder that receives the generated logbook and the PDFs,
    // to look at what was measured.
    if (const char* keep = std::getenv("QUILLMARCH_BENCH_KEEP")) {
        const QDir target(QString::fromLocal8Bit(keep));
        const QDir source(fixture().dir.path());
        for (const QString& name : source.entryList(QDir::Files))
            QFile::copy(source.filePath(name), target.filePath(name));
    }
    for (const auto& [name, line] : sizes())
        std::printf("%s\n", line.c_str());
    return 0;
}
