// Speed of the storage layer on a ten-year logbook. Prints Google Benchmark's table and,
// at the end, one line per figure: "name: value unit".

#include "FigureReporter.h"
#include "LogbookGenerator.h"

#include "logbook/DaySummary.h"
#include "logbook/LogRows.h"
#include "storage/Database.h"
#include "storage/MedicationTable.h"
#include "storage/NoteTable.h"
#include "storage/SampleDateTable.h"
#include "storage/SampleTable.h"
#include "storage/Transaction.h"
#include "ui/Progress.h"
#include "ui/Prompts.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>
#include <sqlite3.h>
#include <vector>

namespace {

SilentPrompts g_prompts;

QTemporaryDir& scratch() {
    static QTemporaryDir dir;
    return dir;
}

std::unique_ptr<Database> freshDatabase(const QString& name) {
    QString path = scratch().filePath(name);
    QFile::remove(path);
    QFile::remove(path + "-wal");
    QFile::remove(path + "-shm");
    return std::make_unique<Database>(path, g_prompts);
}

// The ten-year logbook the read benchmarks share, generated once.
Database& tenYears() {
    static std::unique_ptr<Database> db = [] {
        auto made = freshDatabase("ten-years.db");
        createLogbookSchema(*made);
        generateLogbook(*made, LogbookShape{});
        return made;
    }();
    return *db;
}

MedicationLookup medicationsOf(Database& db) {
    std::vector<std::unique_ptr<Medication>> meds;
    if (auto q = MedicationTable::selectAll(db, 6, true)) {
        while (auto med = MedicationTable::getNext(db, *q))
            meds.push_back(std::move(med));
    }
    return makeMedicationLookup(meds);
}

void generate_10y(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto db = freshDatabase("generate.db");
        createLogbookSchema(*db);
        state.ResumeTiming();
        GeneratedCounts counts = generateLogbook(*db, LogbookShape{});
        state.counters["entries"] = counts.entries;
        state.counters["days"] = counts.days;
    }
}
BENCHMARK(generate_10y)->Unit(benchmark::kMillisecond)->Iterations(2);

// One entry saved the way the entry dialog saves it: its own commit, flushed to disk.
void save_entry_own_commit(benchmark::State& state) {
    auto db = freshDatabase("one-by-one.db");
    createLogbookSchema(*db);
    SampleDate day;
    day.setSampleDate("20261205");
    SampleDateTable::save(*db, day);
    int minute = 0;
    for (auto _ : state) {
        Sample entry;
        entry.setSampleTime(QString("20261205%1%200")
                                .arg(minute / 60 % 24, 2, 10, QChar('0'))
                                .arg(minute % 60, 2, 10, QChar('0')));
        ++minute;
        entry.setGlucoseCnt(120);
        entry.setMedicationDosage("4H");
        SampleTable::saveWithDay(*db, entry, SyncState::Added);
    }
}
BENCHMARK(save_entry_own_commit)->Unit(benchmark::kMicrosecond)->Iterations(300);

void summarize_all_10y(benchmark::State& state) {
    Database& db = tenYears();
    MedicationLookup meds = medicationsOf(db);
    NoProgress progress;
    for (auto _ : state) {
        SampleDateTable::markAllUnsummarized(db);
        int days = summarizeOutOfDateDays(db, meds, progress, g_prompts);
        state.counters["days"] = days;
    }
}
BENCHMARK(summarize_all_10y)->Unit(benchmark::kMillisecond)->Iterations(3);

void list_all_types_10y(benchmark::State& state) {
    Database& db = tenYears();
    for (auto _ : state) {
        auto rows = buildLogRows(db, LogFilter::AllTypes);
        benchmark::DoNotOptimize(rows.data());
        state.counters["rows"] = static_cast<double>(rows.size());
    }
}
BENCHMARK(list_all_types_10y)->Unit(benchmark::kMillisecond);

// The engine's own limit for the list: the keys of every day and its live entries in list
// order, through one prepared statement, with nothing kept but the two integers per row.
void baseline_select_pks_10y(benchmark::State& state) {
    sqlite3* raw = tenYears().handle();
    for (auto _ : state) {
        sqlite3_stmt* select = nullptr;
        sqlite3_prepare_v2(raw,
                           "select d.PK, s.PK from SAMPLE_DATE d left join SAMPLE s on "
                           "s.SAMPLE_DATE_PK = d.PK and s.sync_state <> 30 where d.sync_state "
                           "<> 30 order by d.SAMPLE_DATE desc, d.PK, s.SAMPLE_TIME desc",
                           -1, &select, nullptr);
        std::vector<std::pair<int, int>> keys;
        while (sqlite3_step(select) == SQLITE_ROW)
            keys.emplace_back(sqlite3_column_int(select, 0), sqlite3_column_int(select, 1));
        sqlite3_finalize(select);
        benchmark::DoNotOptimize(keys.data());
        state.counters["rows"] = static_cast<double>(keys.size());
    }
}
BENCHMARK(baseline_select_pks_10y)->Unit(benchmark::kMillisecond);

void read_screen(benchmark::State& state) {
    Database& db = tenYears();
    auto rows = buildLogRows(db, LogFilter::AllTypes);
    std::vector<int> screen;
    for (size_t i = rows.size() / 2; i < rows.size() && screen.size() < 40; ++i)
        if (rows[i].tag == 'S')
            screen.push_back(rows[i].pk);
    for (auto _ : state) {
        int notes = 0;
        for (int pk : screen) {
            auto entry = SampleTable::getByPk(db, pk);
            if (entry && entry->getNotePk() != 0 && NoteTable::getByPk(db, entry->getNotePk()))
                ++notes;
        }
        benchmark::DoNotOptimize(notes);
    }
}
BENCHMARK(read_screen)->Unit(benchmark::kMillisecond);

// The engine's own limit: the same number of entry rows through one prepared statement in
// one transaction, with no record objects, no day lookups and no statement formatting.
void baseline_insert_29200(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto db = freshDatabase("baseline.db");
        SampleTable::createTable(*db);
        state.ResumeTiming();
        sqlite3* raw = db->handle();
        sqlite3_exec(raw, "begin", nullptr, nullptr, nullptr);
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(raw,
                           "insert into SAMPLE ( FK, SYNC_STATE, SAMPLE_DATE_PK, SAMPLE_TYPE_PK, "
                           "SAMPLE_TIME, CARB_CNT, GLUCOSE_CNT, NOTE_PK, KEYTONE_CODE, "
                           "INSULIN_TIME, MEDICATION_DOSAGE, CORRECTION_DOSAGE, NEW_SITE_BOL, "
                           "DELIVERY_CODE) values ( 0, 10, ?, ?, ?, ?, ?, 0, 0, ?, ?, '', 'F', 1)",
                           -1, &insert, nullptr);
        for (int i = 0; i < 29200; ++i) {
            char time[16];
            std::snprintf(time, sizeof time, "2017%02d%02d%02d0000", i / 2400 % 12 + 1,
                          i / 80 % 28 + 1, i % 8 * 3);
            sqlite3_bind_int(insert, 1, i / 8 + 1);
            sqlite3_bind_int(insert, 2, i % 8 + 1);
            sqlite3_bind_text(insert, 3, time, -1, SQLITE_TRANSIENT);
            sqlite3_bind_int(insert, 4, 40 + i % 30);
            sqlite3_bind_int(insert, 5, 80 + i % 150);
            sqlite3_bind_text(insert, 6, time, -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 7, "4.5H", -1, SQLITE_STATIC);
            sqlite3_step(insert);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        sqlite3_exec(raw, "commit", nullptr, nullptr, nullptr);
    }
}
BENCHMARK(baseline_insert_29200)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    runWithFigures(argc, argv);
    return 0;
}
