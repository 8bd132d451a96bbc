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
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
    int paints = 0;
};

} // namespace

TEST(ProgressDlg, ItemLineCountsFromOneAndTheWindowHidesWhenFinished) {
    ProgressDlg progress;
    EXPECT_EQ(progress.window(), nullptr);
    EXPECT_FALSE(progress.isVisible());

    progress.begin("Summarizing", 12);
    QWidget* window = progress.window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(progress.isVisible());
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(progress.topicText(), "Summarizing");
    EXPECT_EQ(progress.maximum(), 12);
    EXPECT_EQ(progress.value(), 0);
    EXPECT_EQ(progress.itemText(), "");

    PaintCounter counter;
    window->installEventFilter(&counter);
    for (int k = 1; k <= 12; ++k) {
        const int before = counter.paints;
        const QString day = QStringLiteral("200703%1").arg(k, 2, 10, QChar('0'));
        progress.step(day, k);
        EXPECT_GT(counter.paints, before) << "no repaint at step " << k;
        EXPECT_EQ(progress.value(), k);
        EXPECT_EQ(progress.itemText(), QStringLiteral("%1 %2 of 12").arg(day).arg(k));
    }
    window->removeEventFilter(&counter);
    EXPECT_EQ(progress.itemText(), "20070312 12 of 12");

    progress.finish();
    EXPECT_FALSE(progress.isVisible());
}

TEST(ProgressDlg, TheSameWindowServesTheNextTopicFromTheStart) {
    ProgressDlg progress;
    progress.begin("Summarizing", 12);
    progress.step("20070301", 1);
    QWidget* first = progress.window();
    progress.finish();

    progress.begin("Importing", 3);
    EXPECT_EQ(progress.window(), first);
    EXPECT_TRUE(progress.isVisible());
    EXPECT_EQ(progress.topicText(), "Importing");
    EXPECT_EQ(progress.maximum(), 3);
    EXPECT_EQ(progress.value(), 0);
    EXPECT_EQ(progress.itemText(), "");
    progress.step("Sample", 3);
    EXPECT_EQ(progress.itemText(), "Sample 3 of 3");
    progress.finish();
}

TEST(ProgressDlg, IsCentredOnTheScreen) {
    QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    ProgressDlg progress;
    progress.begin("Summarizing", 12);
    const QPoint centre = progress.window()->frameGeometry().center();
    const QPoint expected = screen->availableGeometry().center();
    EXPECT_LE((centre - expected).manhattanLength(), 2)
        << centre.x() << "," << centre.y() << " vs " << expected.x() << "," << expected.y();
    progress.finish();
}

TEST(ProgressDlg, OutlivesAParentThatTookTheWindowWithIt) {
    auto parent = std::make_unique<QWidget>();
    ProgressDlg progress(parent.get());
    progress.begin("Summarizing", 2);
    parent.reset();
    EXPECT_FALSE(progress.isVisible());
    EXPECT_EQ(progress.itemText(), "");
    // Without its parent it builds a window of its own for the next topic.
    progress.begin("Importing", 2);
    progress.step("Sample", 1);
    EXPECT_EQ(progress.itemText(), "Sample 1 of 2");
    progress.finish();
}
