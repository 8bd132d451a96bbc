// Speed of the logbook list on a ten-year logbook: rebuilding the rows of "All Types" and
// painting one screen of them, every cell read from the database by PK as it is drawn; and
// the start of the program over that logbook, beside the start of an empty main window.
// Prints Google Benchmark's table and then one "name: value unit" line per figure.

#include "FigureReporter.h"
#include "LogbookGenerator.h"

#include "app/AppDialogs.h"
#include "app/CQuillmarchApp.h"
#include "app/SettingsTree.h"
#include "app/widgets/CMainFrame.h"
#include "logbook/ViewCommands.h"
#include "logbook/widgets/CQuillmarchView.h"
#include "logbook/widgets/LogGraphWnd.h"
#include "logbook/widgets/SampleListCtrl.h"
#include "storage/Clock.h"
#include "support/TestLogbookContext.h"
#include "ui/DeleteQuestion.h"
#include "ui/Progress.h"
#include "ui/Prompts.h"

#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QMainWindow>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <cstring>
#include <functional>

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
        generateViewedLogbook(*db);
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

// The graph strip under a full page of the list painted into an image: each visible row's
// record read once, the line, markers, day lines and date labels drawn. A view of its own,
// so that the strip does not change the list's page for the other figures.
void paint_graph(benchmark::State& state) {
    Fixture& f = fixture();
    CQuillmarchView view(*f.context, f.progress, f.question);
    view.resize(1000, 740);
    if (!view.graph())
        view.runCommand(ViewCommand::LogGraph);
    view.show();
    QApplication::processEvents();
    view.reload();
    LogGraphWnd* graph = view.graph();
    QImage image(graph->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&image);
        graph->render(&painter);
    }
    state.counters["columns"] = static_cast<double>(graph->computePlot().columns.size());
}
BENCHMARK(paint_graph)->Unit(benchmark::kMillisecond);

// Start-up never asks anything here: the one patient is opened without a question.
class NoAppDialogs : public AppDialogs {
public:
    std::optional<QString> askNewPatientName() override { return std::nullopt; }
    std::optional<QString> chooseUser(const std::vector<std::pair<QString, QString>>&) override {
        return std::nullopt;
    }
    void showFinalizing(bool) override {}
};

// Waits for the first paint of `target` while `ready` holds. The start ends when that paint
// is over: at the first event of another kind delivered after it (a window's repaint pass
// sends nothing but paint events until it has flushed), or when the event loop hands control
// back, whichever comes first.
class FirstPaint : public QObject {
public:
    FirstPaint(QObject* target, std::function<bool()> ready)
        : m_target(target), m_ready(std::move(ready)) {
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~FirstPaint() override { QCoreApplication::instance()->removeEventFilter(this); }
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            if (object == m_target && m_ready())
                m_painted = true;
        } else if (m_painted) {
            finish();
        }
        return false;
    }
    // Runs the event loop until the paint is over.
    void wait() {
        while (!m_painted)
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        finish();
    }
    // What a timed start does the moment it is over (the child process ends there).
    static inline std::function<void()> onFinished;

private:
    void finish() {
        if (m_finished)
            return;
        m_finished = true;
        if (onFinished)
            onFinished();
    }

    QObject* m_target;
    std::function<bool()> m_ready;
    bool m_painted = false;
    bool m_finished = false;
};

// The program's start as main runs it, up to the logbook list painted with its rows.
void showLogbook(const QString& settingsPath) {
    SilentPrompts prompts;
    NoProgress progress;
    NoAppDialogs dialogs;
    SystemClock clock;
    NeverDelete question;
    SettingsTree settings(settingsPath, prompts);
    CQuillmarchApp app(settings, prompts, progress, dialogs, clock);
    if (!app.selectUser())
        std::abort();
    auto* view = new CQuillmarchView(app, progress, question);
    CMainFrame frame(app, *view);
    FirstPaint paint(view->list()->viewport(), [view] { return view->list()->logRowCount() > 0; });
    frame.resize(1000, 740);
    frame.show();
    frame.updateTitle();
    paint.wait();
    app.closeUser();
}

// The patient "Bench" whose database is the ten-year logbook, in a settings file of its own.
struct StartupFiles {
    QTemporaryDir dir;
    QString settingsPath;

    StartupFiles() {
        SilentPrompts prompts;
        const QString dbPath = dir.filePath("ten-years.db");
        {
            Database db(dbPath, prompts);
            createLogbookSchema(db);
            generateLogbook(db, LogbookShape{});
        }
        settingsPath = dir.filePath("quillmarch.ini");
        SettingsTree settings(settingsPath, prompts);
        settings.setUserString("Bench", CQuillmarchApp::kDbPathValue, dbPath);
        settings.flush();
        // The first start summarizes every generated day; the figure is for a later start.
        showLogbook(settingsPath);
    }
};

StartupFiles& startupFiles() {
    static StartupFiles files;
    return files;
}

// An empty main window shown until its first paint: what any start of a Qt window costs.
void showEmptyWindow() {
    QMainWindow window;
    FirstPaint paint(&window, [] { return true; });
    window.resize(1000, 740);
    window.show();
    paint.wait();
}

// Inside this program, the application object already made: our code's part of a start.
void startup_10y_in_process(benchmark::State& state) {
    const QString settingsPath = startupFiles().settingsPath;
    for (auto _ : state)
        showLogbook(settingsPath);
}
BENCHMARK(startup_10y_in_process)->Unit(benchmark::kMillisecond)->Iterations(10);

void startup_empty_window_in_process(benchmark::State& state) {
    for (auto _ : state)
        showEmptyWindow();
}
BENCHMARK(startup_empty_window_in_process)->Unit(benchmark::kMillisecond)->Iterations(10);

// A whole start, as the patient waits for it: a new process of this program that loads the
// libraries, makes the application object and ends at the first paint (see startChild).
void runChild(benchmark::State& state, const QStringList& arguments) {
    for (auto _ : state) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), arguments);
        if (!child.waitForFinished(60000) || child.exitCode() != 0)
            state.SkipWithError("the start did not reach its first paint");
    }
}

void startup_10y(benchmark::State& state) {
    runChild(state, {QStringLiteral("--start"), startupFiles().settingsPath});
}
BENCHMARK(startup_10y)->Unit(benchmark::kMillisecond)->Iterations(10);

void startup_empty_window(benchmark::State& state) {
    runChild(state, {QStringLiteral("--start")});
}
BENCHMARK(startup_empty_window)->Unit(benchmark::kMillisecond)->Iterations(10);

// The child of runChild: "--start" and the settings file shows the logbook, "--start" alone
// an empty window; it ends the moment its first paint is over, skipping the tear-down.
[[noreturn]] void startChild(int argc, char** argv) {
    QApplication app(argc, argv);
    FirstPaint::onFinished = [] { std::_Exit(0); };
    if (argc > 2)
        showLogbook(QString::fromLocal8Bit(argv[2]));
    else
        showEmptyWindow();
    std::_Exit(0);
}

} // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (argc > 1 && std::strcmp(argv[1], "--start") == 0)
        startChild(argc, argv);
    QApplication app(argc, argv);
    runWithFigures(argc, argv);
    fixture().view.reset();
    return 0;
}
