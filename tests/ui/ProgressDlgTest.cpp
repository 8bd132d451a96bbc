#include "ui/widgets/ProgressDlg.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
    int paints = 0;
};

} // namespace

TEST(ProgressDlg, EachStepRepaintsAndTheWindowServesTheNextTopicFromTheStart) {
    ProgressDlg progress;
    EXPECT_FALSE(progress.isVisible());
    for (const auto& [topic, steps] : {std::pair{"Summarizing", 12}, std::pair{"Importing", 3}}) {
        progress.begin(topic, steps);
        QWidget* window = progress.window();
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(progress.isVisible());
        EXPECT_TRUE(window->windowFlags().testFlag(Qt::FramelessWindowHint) && !window->isModal());
        EXPECT_EQ(progress.topicText(), topic);
        EXPECT_EQ(progress.maximum(), steps);
        EXPECT_EQ(progress.value(), 0);
        EXPECT_EQ(progress.itemText(), "");
        PaintCounter counter;
        window->installEventFilter(&counter);
        for (int k = 1; k <= steps; ++k) {
            const int before = counter.paints;
            progress.step(QStringLiteral("200703%1").arg(k, 2, 10, QChar('0')), k);
            EXPECT_GT(counter.paints, before) << "no repaint at step " << k;
            EXPECT_EQ(progress.value(), k);
        }
        window->removeEventFilter(&counter);
        EXPECT_EQ(progress.itemText(),
                  QStringLiteral("200703%1 %2 of %2").arg(steps, 2, 10, QChar('0')).arg(steps));
        progress.finish();
        EXPECT_FALSE(progress.isVisible());
    }
}

TEST(ProgressDlg, IsCentredOnTheScreenAndOutlivesAParentThatTookTheWindow) {
    ProgressDlg alone;
    alone.begin("Summarizing", 12);
    const QPoint centre = alone.window()->frameGeometry().center();
    const QPoint expected = QGuiApplication::primaryScreen()->availableGeometry().center();
    EXPECT_LE((centre - expected).manhattanLength(), 2);
    alone.finish();

    auto parent = std::make_unique<QWidget>();
    ProgressDlg progress(parent.get());
    progress.begin("Summarizing", 2);
    parent.reset();
    EXPECT_FALSE(progress.isVisible());
    // Without its parent it builds a window of its own for the next topic.
    progress.begin("Importing", 2);
    progress.step("Sample", 1);
    EXPECT_EQ(progress.itemText(), "Sample 1 of 2");
    progress.finish();
}
