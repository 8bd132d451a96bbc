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

// The logbook of 15 March: the day (average 200) and entries at 08:30 (142) and noon (180).
class GraphTest : public LogbookContextTest {
protected:
    void SetUp() override {
        LogbookTest::SetUp();
        changePreference(useStandardRange);
        dayPk = addDay("20070315", [](SampleDate& d) { d.setAvgGlucoseCnt(200); });
        morning = addEntry("20070315083000", 142);
        noon = addEntry("20070315120000", 180);
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
        return {-100, -100}; // a row not drawn
    }
    void restAt(const QPoint& pos) {
        QMouseEvent move(QEvent::MouseMove, pos, graph().mapToGlobal(pos), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&graph(), &move);
        graph().runCommand(GraphCommand::HoverTick);
    }

    int dayPk = 0, morning = 0, noon = 0;
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
    CQuillmarchView next(*context, progress, question); // the next start follows the settings
    next.setViewSettings(&settings);
    settle();
    EXPECT_EQ(next.graph(), nullptr);
    ASSERT_TRUE(view->runCommand(LogGraph) && view->graph());
    EXPECT_TRUE(graph().balloonSwitch() && view->isCommandChecked(ShowBalloon));
    EXPECT_EQ(settings.values.value("showLogGraph"), "true");
}

TEST_F(GraphTest, PaintsBandsLineDayAverageAndGuide) {
    const QImage image = graph().grab().toImage();
    // Oldest on the left: 08:30, noon, the day. The bands above 180 and below 70, the blue line
    // from 142 (y 63) to 180 (y 53), the day's red 200, the dotted guide over the day's date.
    const QPoint entries = (at(2, 0) + at(1, 0)) / 2, day = (at(1, 0) + at(0, 0)) / 2;
    const std::tuple<QPoint, int, QColor> pixels[] = {
        {entries, 20, {211, 228, 245}}, {entries, 54, {211, 228, 245}},  {entries, 60, Qt::white},
        {entries, 84, {254, 215, 255}}, {entries, 58, Qt::blue},         {day, 49, Qt::red},
        {at(0, 0), 9, Qt::black},       {at(0, 0), 10, {211, 228, 245}},
    };
    for (const auto& [pos, y, colour] : pixels)
        EXPECT_EQ(QColor(image.pixel(pos + QPoint(0, y))), colour) << pos.x() << "," << y;
}

TEST_F(GraphTest, RestingSelectsTheRowAndItsBalloonOpensTheEditor) {
    int edited = 0;
    view->setEntryEditor([&](Sample& entry) { return edited = entry.getPk(), 0; });
    ASSERT_TRUE(view->runCommand(ShowBalloon));
    restAt(at(2));
    EXPECT_EQ(view->list()->selectedLogRows(), (std::vector<LogRow>{{'S', morning}}));
    ASSERT_NE(graph().balloon(), nullptr);
    EXPECT_EQ(graph().balloon()->text(), "Thursday,Mar 15,2007 08:30\nGlucose:142");
    restAt(at(0));
    EXPECT_EQ(view->list()->selectedLogRows(), (std::vector<LogRow>{{'D', dayPk}}));
    EXPECT_TRUE(graph().balloon()->isVisible() &&
                graph().balloon()->text().startsWith("Thursday,Mar 15,2007\nAvg Glucose:200"));
    restAt(at(1));
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
    restAt(client.topRight() + QPoint(-3, 50));
    EXPECT_EQ(view->list()->selectedLogRows(), (std::vector<LogRow>{{'S', noon}}));
    EXPECT_EQ(graph().balloon()->text(), "AIR BALL!");
    EXPECT_EQ(graph().balloon()->geometry().right(), client.right() - 2);
}
