#include "logbook/widgets/LogGraphWnd.h"
#include "LogbookFixture.h"
#include "logbook/ViewCommands.h"
#include "logbook/ViewSettings.h"
#include "logbook/widgets/CQuillmarchView.h"
#include "logbook/widgets/TipView.h"
#include "support/RecordingProgress.h"
#include "support/ScriptedDeleteQuestion.h"

#include <QCoreApplication>
#include <QImage>
#include <QMap>
#include <QMouseEvent>

using namespace ViewCommand;

namespace {

struct MapSettings : ViewSettings {
    QString value(const char* name) const override { return values.value(name); }
    void setValue(const char* name, const QString& value) override { values[name] = value; }
    QMap<QString, QString> values;
};

// Runs what the view posted to itself (the graph's creation, the first load, the editor).
void settle() {
    for (int i = 0; i < 4; ++i)
        QCoreApplication::processEvents();
}

class GraphTest : public LogbookContextTest {
protected:
    void SetUp() override {
        LogbookTest::SetUp();
        addSlot("0700", "Breakfast");
        changePreference(useStandardRange);
        openContext("20070315120000");
        view = std::make_unique<CQuillmarchView>(*context, progress, question);
        view->setViewSettings(&settings);
        view->resize(900, 500);
        view->show();
        settle();
    }
    void TearDown() override {
        view.reset();
        DatabaseTest::TearDown();
    }
    LogGraphWnd& graph() { return *view->graph(); }
    // A point of the client area, in the strip's own coordinates, over the given row's column.
    QPoint at(int row, int y = 50) {
        for (const GraphColumn& column : graph().computePlot().columns)
            if (column.row == row)
                return graph().contentsRect().topLeft() + QPoint(column.centre, y);
        ADD_FAILURE() << "row " << row << " is not drawn";
        return {};
    }
    void moveTo(const QPoint& pos) {
        QMouseEvent move(QEvent::MouseMove, pos, graph().mapToGlobal(pos), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&graph(), &move);
    }
    void tick() { graph().runCommand(GraphCommand::HoverTick); }
    std::vector<LogRow> selected() const { return view->list()->selectedLogRows(); }

    MapSettings settings;
    ScriptedDeleteQuestion question;
    RecordingProgress progress;
    std::unique_ptr<CQuillmarchView> view;
};

} // namespace

TEST_F(GraphTest, TheSwitchesAreThePatientsSettings) {
    // Never written: the graph is shown under the list, balloons are off.
    ASSERT_NE(view->graph(), nullptr);
    EXPECT_EQ(graph().geometry(), QRect(-1, 400, 902, 100));
    EXPECT_FALSE(view->isCommandChecked(ShowBalloon));
    EXPECT_TRUE(view->runCommand(ShowBalloon) && graph().balloonSwitch());
    EXPECT_TRUE(view->runCommand(LogGraph));
    EXPECT_EQ(settings.values,
              (QMap<QString, QString>{{"showLogGraph", "false"}, {"showLogGraphBallon", "true"}}));
    EXPECT_FALSE(view->graph() || view->isCommandEnabled(ShowBalloon));
    EXPECT_EQ(view->list()->geometry(), QRect(-1, -1, 902, 502));
    CQuillmarchView next(*context, progress, question); // the next start follows the settings
    next.setViewSettings(&settings);
    settle();
    EXPECT_EQ(next.graph(), nullptr);
    ASSERT_TRUE(view->runCommand(LogGraph) && view->graph());
    EXPECT_TRUE(graph().balloonSwitch() && view->isCommandChecked(ShowBalloon));
    EXPECT_EQ(settings.values.value("showLogGraph"), "true");
}

TEST_F(GraphTest, PaintsBandsLineDayAverageAndGuide) {
    addDay("20070315", [](SampleDate& d) { d.setAvgGlucoseCnt(200); });
    addEntry("20070315090000", 120);
    addEntry("20070315100000", 120);
    view->reload();
    ASSERT_EQ(graph().contentsRect().height(), 98);
    const QImage image = graph().grab().toImage();
    // Oldest on the left: 09:00, 10:00, the day. Above 180 to y 54, below 70 from y 82, 120
    // in blue between the entries, the day's 200 in red, the dotted guide over the day's date.
    const QPoint entries = (at(2, 0) + at(1, 0)) / 2, day = (at(1, 0) + at(0, 0)) / 2;
    const std::pair<QPoint, QColor> pixels[] = {
        {entries + QPoint(0, 20), {211, 228, 245}},
        {entries + QPoint(0, 54), {211, 228, 245}},
        {entries + QPoint(0, 60), Qt::white},
        {entries + QPoint(0, 84), {254, 215, 255}},
        {entries + QPoint(0, 68), Qt::blue},
        {day + QPoint(0, 49), Qt::red},
        {at(0, 9), Qt::black},
        {at(0, 10), {211, 228, 245}},
    };
    for (const auto& [pos, colour] : pixels)
        EXPECT_EQ(QColor(image.pixel(pos)), colour) << pos.x() << "," << pos.y();
}

TEST_F(GraphTest, RestingSelectsTheRowAndItsBalloonOpensTheEditor) {
    const int dayPk = addDay("20070315");
    const int noon = addEntry("20070315120000", 180), morning = addEntry("20070315083000", 142);
    view->reload();
    int edited = 0;
    view->setEntryEditor([&](Sample& entry) { return edited = entry.getPk(), 0; });
    ASSERT_TRUE(view->runCommand(ShowBalloon));
    moveTo(at(2));
    tick();
    EXPECT_EQ(selected(), (std::vector<LogRow>{{'S', morning}}));
    ASSERT_NE(graph().balloon(), nullptr);
    EXPECT_EQ(graph().balloon()->text(), "Thursday,Mar 15,2007 08:30\nGlucose:142");
    moveTo(at(1)); // a tick while moving hides the balloon; the next one shows it for the day
    moveTo(at(0));
    tick();
    EXPECT_FALSE(graph().balloon()->isVisible());
    tick();
    EXPECT_EQ(selected(), (std::vector<LogRow>{{'D', dayPk}}));
    EXPECT_TRUE(graph().balloon()->isVisible() &&
                graph().balloon()->text().startsWith("Thursday,Mar 15,2007\nAvg Glucose:"));

    moveTo(at(1));
    tick();
    const QPointF inside(3, 3);
    QMouseEvent release(QEvent::MouseButtonRelease, inside, graph().balloon()->mapToGlobal(inside),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(graph().balloon(), &release);
    EXPECT_FALSE(graph().balloon()->isVisible());
    EXPECT_EQ(edited, 0); // the editor opens after the click has been handled
    settle();
    EXPECT_EQ(edited, noon);

    // Right of the three columns no row is drawn; the balloon stays inside the strip.
    const QRect client = graph().contentsRect();
    moveTo(client.topRight() + QPoint(-3, 50));
    tick();
    EXPECT_EQ(selected(), (std::vector<LogRow>{{'S', noon}}));
    EXPECT_EQ(graph().balloon()->text(), "AIR BALL!");
    EXPECT_EQ(graph().balloon()->geometry().right(), client.right() - 2);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&graph(), &leave);
    EXPECT_FALSE(graph().balloon()->isVisible());
}
