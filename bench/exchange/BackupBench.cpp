// Backup of the ten-year logbook through the Backup... command itself: the patient's file is
// opened by the application as the program opens it, and each run answers the save dialog
// with a new name. After the table, one line "backup_10y: value ms".

#include "LogbookGenerator.h"

#include "app/AppDialogs.h"
#include "app/CQuillmarchApp.h"
#include "app/DatabaseMaintenance.h"
#include "app/SettingsTree.h"
#include "storage/Clock.h"
#include "storage/Database.h"
#include "storage/QbPreferenceTable.h"
#include "ui/FileDialogs.h"
#include "ui/Progress.h"
#include "ui/Prompts.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <utility>

namespace {

class NoAppDialogs : public AppDialogs {
public:
    std::optional<QString> askNewPatientName() override { return std::nullopt; }
    std::optional<QString> chooseUser(const std::vector<std::pair<QString, QString>>&) override {
        return std::nullopt;
    }
    void showFinalizing(bool) override {}
};

// Answers the next save dialog with `answer`, and any further one with cancel: an unexpected
// question can never make the command go round for ever.
class OneAnswer : public FileDialogs {
public:
    QString getOpenFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString getSaveFileName(const QString&, const QString&, const QString&) override {
        return std::exchange(answer, QString());
    }
    QString answer;
};

void backup_10y(benchmark::State& state) {
    QTemporaryDir dir;
    SilentPrompts prompts;
    NoProgress progress;
    NoAppDialogs dialogs;
    SystemClock clock;
    const QString path = dir.filePath("TenYears.db");
    {
        Database db(path, prompts);
        generateViewedLogbook(db);
        QbPreference settings; // a file of this version: nothing to convert on opening
        QbPreferenceTable::save(db, settings);
    }
    SettingsTree tree(dir.filePath("settings.ini"), prompts);
    tree.setUserString("Bench", "DbPath", path);
    CQuillmarchApp app(tree, prompts, progress, dialogs, clock);
    if (!app.switchUser("Bench")) {
        state.SkipWithError("the logbook could not be opened");
        return;
    }
    OneAnswer files;
    DatabaseMaintenance maintenance(app, files, prompts);
    double totalMs = 0;
    int runs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QString target = dir.filePath(QStringLiteral("backup%1.db").arg(runs));
        QFile::remove(dir.filePath(QStringLiteral("backup%1.db").arg(runs - 1)));
        files.answer = target;
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        const auto outcome = maintenance.backupDatabase();
        totalMs +=
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        ++runs;
        if (outcome != DatabaseMaintenance::Outcome::Done) {
            state.SkipWithError("the backup failed");
            return;
        }
        state.counters["MB"] = static_cast<double>(QFile(target).size()) / (1024.0 * 1024.0);
    }
    std::printf("backup_10y: %.1f ms (goal under 500 ms)\n", totalMs / runs);
}
BENCHMARK(backup_10y)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
