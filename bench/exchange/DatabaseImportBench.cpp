// Speed of importing a whole patient database: the ten-year logbook into a new patient.

#include "LogbookGenerator.h"

#include "app/DefaultData.h"
#include "exchange/DatabaseImport.h"
#include "storage/A1cTable.h"
#include "storage/BasilRateTable.h"
#include "storage/BloodPressureTable.h"
#include "storage/CarbsTable.h"
#include "storage/Clock.h"
#include "storage/Database.h"
#include "storage/MeterTable.h"
#include "storage/PreferenceTable.h"
#include "storage/ProtocolTable.h"
#include "storage/QbPreferenceTable.h"
#include "storage/QbRatioTable.h"
#include "storage/QbSensitivityTable.h"
#include "support/TestLogbookContext.h"
#include "ui/Progress.h"
#include "ui/Prompts.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

SilentPrompts g_prompts;

QTemporaryDir& scratch() {
    static QTemporaryDir dir;
    return dir;
}

// Another patient's file holding the ten-year logbook, with every table of the current
// layout, so that it needs no conversion.
const QString& tenYearPatientFile() {
    static const QString path = [] {
        const QString file = scratch().filePath("ten-years-bea.db");
        Database db(file, g_prompts);
        generateViewedLogbook(db);
        A1cTable::createTable(db);
        BasilRateTable::createTable(db);
        BloodPressureTable::createTable(db);
        CarbsTable::createTable(db);
        MeterTable::createTable(db);
        ProtocolTable::createTable(db);
        QbRatioTable::createTable(db);
        QbSensitivityTable::createTable(db);
        QbPreference settings;
        QbPreferenceTable::save(db, settings);
        Preference preference;
        preference.setPatientName("Bea");
        PreferenceTable::save(db, preference);
        return file;
    }();
    return path;
}

void import_database_10y(benchmark::State& state) {
    const QString& source = tenYearPatientFile();
    const FixedClock clock(fromDateTimeText("20261205120000"));
    int run = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QString path = scratch().filePath(QStringLiteral("ann-%1.db").arg(++run));
        Database db(path, g_prompts);
        Preference preference;
        preference.setPatientName("Ann");
        DefaultData::initNewDatabase(db, preference, clock);
        TestLogbookContext context(db, g_prompts, clock.now());
        NoProgress progress;
        state.ResumeTiming();

        const ImportResult result = DatabaseImport(context, progress).import(source);

        state.PauseTiming();
        if (!result.ok)
            state.SkipWithError(result.error.toUtf8().constData());
        state.counters["entries"] = db.count("select count(*) from SAMPLE");
        state.counters["days"] = db.count("select count(*) from SAMPLE_DATE");
        db.close();
        QFile::remove(path);
        QFile::remove(path + "-wal");
        QFile::remove(path + "-shm");
        state.ResumeTiming();
    }
}
BENCHMARK(import_database_10y)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
