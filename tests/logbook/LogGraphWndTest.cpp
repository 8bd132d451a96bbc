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

class MapSettings : public ViewSettings {
public:
    QString value(const char* name) const override { return values.value(name); }
    void setValue(const char* name, const QString& value) override { values[name] = value; }
    QMap<QString, QString> values;
};

class GraphTest : public LogbookContextTest {
protected:
    void SetUp() override {
        LogbookTest::SetUp();
        addSlot("0700", "Breakfast");
        changePreference([](Preference& p) {
            useStandardRange(p);
            p.setMilitaryTimeBol(true);
        });
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

    // Runs what the view posted to itself (the graph's creation, the first load).
    static void settle() {
        for (int i = 0; i < 4; ++i)
            QCoreApplication::processEvents();
    }
    LogGraphWnd& graph() { return *view->graph(); }
    // A point of the graph's client area in the widget's own coordinates.
    QPoint at(int x, int y) { return graph().contentsRect().topLeft() + QPoint(x, y); }
    int centreOfRow(int row) {
        for (const GraphColumn& column : graph().computePlot().columns)
            if (column.row == row)
                return column.centre;
        ADD_FAILURE() << "row " << row << " is not drawn";
        return 0;
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
    // Never written: the graph is shown at the start, balloons are off.
    ASSERT_NE(view->graph(), nullptr);
    EXPECT_EQ(settings.values.value("showLogGraph"), "true");
    EXPECT_TRUE(view->isCommandChecked(LogGraph));
    EXPECT_TRUE(view->isCommandEnabled(ShowBalloon));
    EXPECT_FALSE(view->isCommandChecked(ShowBalloon));
    EXPECT_EQ(graph().geometry(), QRect(-1, 400, 902, 100));
    EXPECT_EQ(view->list()->geometry(), QRect(-1, -1, 902, 401));
    view->resize(700, 600);
    EXPECT_EQ(graph().geometry(), QRect(-1, 500, 702, 100));

    EXPECT_TRUE(view->runCommand(ShowBalloon));
    EXPECT_EQ(settings.values.value("showLogGraphBallon"), "true");
    EXPECT_TRUE(view->isCommandChecked(ShowBalloon));
    EXPECT_TRUE(graph().balloonSwitch());

    EXPECT_TRUE(view->runCommand(LogGraph));
    EXPECT_EQ(view->graph(), nullptr);
    EXPECT_EQ(settings.values.value("showLogGraph"), "false");
    EXPECT_FALSE(view->isCommandChecked(LogGraph));
    EXPECT_FALSE(view->isCommandEnabled(ShowBalloon));
    EXPECT_FALSE(view->isCommandChecked(ShowBalloon));
    EXPECT_FALSE(view->runCommand(ShowBalloon));
    EXPECT_EQ(settings.values.value("showLogGraphBallon"), "true");
    EXPECT_EQ(view->list()->geometry(), QRect(-1, -1, 702, 602));

    // The next start follows what was written.
    CQuillmarchView next(*context, progress, question);
    next.setViewSettings(&settings);
    settle();
    EXPECT_EQ(next.graph(), nullptr);

    EXPECT_TRUE(view->runCommand(LogGraph));
    ASSERT_NE(view->graph(), nullptr);
    EXPECT_TRUE(graph().balloonSwitch());
    EXPECT_EQ(settings.values.value("showLogGraph"), "true");
}

TEST_F(GraphTest, PaintsBandsLineAndDayAverage) {
    addDay("20070315", [](SampleDate& d) { d.setAvgGlucoseCnt(200); });
    addEntry("20070315090000", 120);
    addEntry("20070315100000", 120);
    view->reload();
    // Oldest on the left: 09:00, 10:00, then the day.
    const int first = centreOfRow(2), second = centreOfRow(1), day = centreOfRow(0);
    ASSERT_EQ(graph().contentsRect().height(), 98);
    const QImage image = graph().grab().toImage();
    auto colour = [&](int x, int y) { return QColor(image.pixel(at(x, y))); };
    const int between = (first + second) / 2;
    EXPECT_EQ(colour(between, 20), QColor(211, 228, 245)); // above 180: y 0 to 54
    EXPECT_EQ(colour(between, 54), QColor(211, 228, 245));
    EXPECT_EQ(colour(between, 60), QColor(255, 255, 255));
    EXPECT_EQ(colour(between, 84), QColor(254, 215, 255));        // below 70: y 82 down
    EXPECT_EQ(colour(between, 68), QColor(0, 0, 255));            // 120 between its two points
    EXPECT_EQ(colour((second + day) / 2, 49), QColor(255, 0, 0)); // the day's 200
    int guide = 0; // the dotted guide above the day's date
    for (int y = 0; y < 60; ++y)
        guide += colour(day, y) == QColor(0, 0, 0);
    EXPECT_GT(guide, 10);
}

TEST_F(GraphTest, RestingSelectsTheRowAndTheBalloonOpensItsEditor) {
    const int dayPk = addDay("20070315");
    const int noon = addEntry("20070315120000", 180);
    const int morning = addEntry("20070315083000", 142);
    view->reload();
    int edited = 0;
    view->setEntryEditor([&](Sample& entry) {
        edited = entry.getPk();
        return 0;
    });
    ASSERT_TRUE(view->runCommand(ShowBalloon));

    moveTo(at(centreOfRow(2), 50));
    EXPECT_TRUE(graph().isTracking());
    tick();
    EXPECT_FALSE(graph().isTracking());
    EXPECT_EQ(selected(), (std::vector<LogRow>{{'S', morning}}));
    ASSERT_NE(graph().balloon(), nullptr);
    EXPECT_TRUE(graph().balloon()->isVisible());
    EXPECT_EQ(graph().balloon()->text(), "Thursday,Mar 15,2007 08:30\nGlucose:142");

    // Moving hides the balloon; resting again shows it for the new column.
    moveTo(at(centreOfRow(1), 50));
    moveTo(at(centreOfRow(0), 50));
    tick();
    EXPECT_FALSE(graph().balloon()->isVisible());
    tick();
    EXPECT_EQ(selected(), (std::vector<LogRow>{{'D', dayPk}}));
    EXPECT_TRUE(graph().balloon()->text().startsWith("Thursday,Mar 15,2007\nAvg Glucose:"));

    moveTo(at(centreOfRow(1), 50));
    tick();
    EXPECT_EQ(selected(), (std::vector<LogRow>{{'S', noon}}));
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(3, 3),
                        graph().balloon()->mapToGlobal(QPointF(3, 3)), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(graph().balloon(), &release);
    EXPECT_FALSE(graph().balloon()->isVisible());
    EXPECT_EQ(edited, 0); // the editor opens after the click has been handled
    settle();
    EXPECT_EQ(edited, noon);
}

TEST_F(GraphTest, RightOfAShortListIsAnAirBall) {
    addDay("20070315");
    const int entry = addEntry("20070315083000", 142);
    view->reload();
    ASSERT_TRUE(view->runCommand(ShowBalloon));
    const QRect client = graph().contentsRect();
    moveTo(at(client.width() - 3, 50));
    tick();
    EXPECT_LT(graph().hoveredOffset(), 0);
    EXPECT_EQ(graph().balloon()->text(), "AIR BALL!");
    // Kept inside the strip: it ends 2 pixels before the right edge.
    const QRect balloon = graph().balloon()->geometry();
    EXPECT_EQ(balloon.x() + balloon.width(), client.x() + client.width() - 2);

    // Leaving the strip hides it; with balloons off a rest still selects the row.
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&graph(), &leave);
    EXPECT_FALSE(graph().balloon()->isVisible());
    ASSERT_TRUE(view->runCommand(ShowBalloon));
    moveTo(at(centreOfRow(1), 50));
    tick();
    EXPECT_EQ(selected(), (std::vector<LogRow>{{'S', entry}}));
    EXPECT_FALSE(graph().balloon()->isVisible());
}
