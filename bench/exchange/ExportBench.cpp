// Speed of writing the ten-year logbook as a tab-delimited file.

#include "LogbookGenerator.h"

#include "exchange/LogExport.h"
#include "storage/Database.h"
#include "ui/Prompts.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

SilentPrompts g_prompts;

void export_tab_10y(benchmark::State& state) {
    QTemporaryDir dir;
    Database db(dir.filePath("ten-years.db"), g_prompts);
    const GeneratedCounts counts = generateViewedLogbook(db);
    const QString path = dir.filePath("logbook.xls");
    for (auto _ : state) {
        QString error;
        if (!LogExport::write(db, path, LogExport::Format::TabDelimited, error))
            state.SkipWithError(error.toUtf8().constData());
    }
    state.counters["entries"] = counts.entries;
}
BENCHMARK(export_tab_10y)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
