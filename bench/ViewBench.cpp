// Speed of the logbook list on a ten-year logbook: rebuilding the rows of "All Types" and
// painting one screen of them, every cell read from the database by PK as it is drawn.
// Prints Google Benchmark's table and then one "name: value unit" line per figure.

#include "FigureReporter.h"
#include "LogbookGenerator.h"

#include "logbook/widgets/CQuillmarchView.h"
#include "logbook/widgets/SampleListCtrl.h"
#include "storage/PreferenceTable.h"
#include "storage/QbPreferenceTable.h"
#include "storage/QbTargetTable.h"
#include "support/TestLogbookContext.h"
#include "ui/DeleteQuestion.h"
#include "ui/Progress.h"
#include "ui/Prompts.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdlib>

namespace {

class NeverDelete : public DeleteQuestion {
public:
    DeleteAnswer ask() override { return {false, true}; }
};

struct Fixture {
    QTemporaryDir dir;
    SilentPrompts prompts;
    NoProgress progress;
    NeverDelete question;
    std::unique_ptr<Database> db;
    std::unique_ptr<TestLogbookContext> context;
    std::unique_ptr<CQuillmarchView> view;

    Fixture() {
        db = std::make_unique<Database>(dir.filePath("ten-years.db"), prompts);
        createLogbookSchema(*db);
        PreferenceTable::createTable(*db);
        QbPreferenceTable::createTable(*db);
        QbTargetTable::createTable(*db);
        generateLogbook(*db, LogbookShape{});
        context = std::make_unique<TestLogbookContext>(*db, prompts, std::time(nullptr));
        view = std::make_unique<CQuillmarchView>(*context, progress, question);
        view->resize(1000, 740);
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void view_reload_10y(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        f.view->reload();
        state.counters["rows"] = f.view->list()->logRowCount();
    }
}
BENCHMARK(view_reload_10y)->Unit(benchmark::kMillisecond);

// One screen of the list painted into an image: about thirty rows of ten cells, each row's
// record (and note) read by PK.
void paint_screen(benchmark::State& state) {
    Fixture& f = fixture();
    f.view->reload();
    QWidget* viewport = f.view->list()->viewport();
    QImage image(viewport->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&image);
        viewport->render(&painter);
    }
    auto [top, bottom] = f.view->list()->visibleRows();
    state.counters["rows"] = bottom - top + 1;
}
BENCHMARK(paint_screen)->Unit(benchmark::kMillisecond);

void reload_and_paint_10y(benchmark::State& state) {
    Fixture& f = fixture();
    QWidget* viewport = f.view->list()->viewport();
    QImage image(viewport->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        f.view->reload();
        QPainter painter(&image);
        viewport->render(&painter);
    }
}
BENCHMARK(reload_and_paint_10y)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    runWithFigures(argc, argv);
    fixture().view.reset();
    return 0;
}
