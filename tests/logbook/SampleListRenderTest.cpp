#include "LogbookFixture.h"
#include "logbook/LogCells.h"
#include "logbook/widgets/LogbookLook.h"
#include "logbook/widgets/SampleListCtrl.h"
#include "logbook/widgets/SampleListDelegate.h"
#include "logbook/widgets/SampleListModel.h"

#include <QApplication>
#include <QImage>
#include <QScrollBar>

namespace {

class SampleListTest : public LogbookContextTest {
protected:
    void SetUp() override {
        LogbookTest::SetUp();
        addSlot("0700", "Breakfast");
        changePreference(useStandardRange);
        openContext();
        list = std::make_unique<SampleListCtrl>(*context);
        // Keyboard focus would mark a row as focused and take the day band away from it.
        list->setFocusPolicy(Qt::NoFocus);
        list->insertColumns();
        list->resize(1100, 420);
    }
    void TearDown() override {
        list.reset();
        DatabaseTest::TearDown();
    }
    QColor pixel(const QImage& image, int row, int column, QPoint offset = {3, 3}) const {
        return image.pixelColor(list->visualRect(list->model()->index(row, column)).topLeft() +
                                offset);
    }
    QImage render() {
        list->show();
        QApplication::processEvents();
        return list->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    std::unique_ptr<SampleListCtrl> list;
};

} // namespace

// One look at the painting: the glucose cell's class colour, the day band between entry rows,
// the selection, and an edit showing at the next paint without a reload.
TEST_F(SampleListTest, PaintsClassesBandAndSelectionFromTheDatabase) {
    int day = addDay("20070315");
    int entry = addEntry("20070315083000", 300, [](Sample& e) { e.setNewSiteBol(true); });
    list->setRows({{'D', day}, {'S', entry}});
    QImage image = render();
    EXPECT_EQ(pixel(image, 0, LogColumn::Site), QColor(220, 219, 184));
    EXPECT_EQ(LogbookLook::bold(list->font()).weight(), QFont::ExtraBold); // day rows, alarms
    EXPECT_EQ(pixel(image, 1, LogColumn::Glucose), QColor(0, 0, 255));
    const QColor base = list->palette().color(QPalette::Active, QPalette::Base);
    EXPECT_EQ(pixel(image, 1, LogColumn::Notes), base);
    int drawn = 0; // the site-change picture
    for (int x = 0; x < 16; ++x)
        for (int y = 0; y < 16; ++y)
            drawn += pixel(image, 1, LogColumn::Site, {3 + x, 1 + y}) != base;
    EXPECT_GT(drawn, 10);

    list->selectRow(0); // the selection, not the band
    ASSERT_TRUE(db->exec("update SAMPLE set GLUCOSE_CNT = 45 where PK = %ld", long(entry)));
    list->repaintRows();
    image = render();
    EXPECT_EQ(pixel(image, 1, LogColumn::Glucose), QColor(255, 0, 0));
    EXPECT_EQ(pixel(image, 0, LogColumn::Site),
              list->palette().color(QPalette::Active, QPalette::Highlight));
}

TEST_F(SampleListTest, ReselectShowsAndExpandsRows) {
    list->setRows({{'D', 7}, {'S', 3}, {'S', 7}, {'D', 2}});
    EXPECT_TRUE(list->reselect(7)); // the entry row, not the day with the same PK
    EXPECT_EQ(list->selection().rows, (std::vector<LogRow>{{'S', 7}}));
    EXPECT_TRUE(list->reselect(LogRow{'D', 2}));
    EXPECT_EQ(list->selectedRows(), std::vector<int>{3});
    EXPECT_FALSE(list->reselect(2));
    EXPECT_TRUE(list->selectedRows().empty());
    selectRows(*list, {3, 0}); // in list order, the mark where the selection ended
    EXPECT_EQ(list->selection().rows, (std::vector<LogRow>{{'D', 7}, {'D', 2}}));
    EXPECT_EQ(list->selection().mark, (LogRow{'D', 7}));

    int day = addDay("20070315");
    int early = addEntry("20070315070000", 100);
    int late = addEntry("20070315200000", 100);
    list->setRows({{'D', day}, {'D', 99}});
    list->model()->setDayExpanded(*db, 0, true);
    list->model()->setDayExpanded(*db, 0, true); // already shown: no second copy
    EXPECT_EQ(list->model()->rows(),
              (std::vector<LogRow>{{'D', day}, {'S', late}, {'S', early}, {'D', 99}}));
    list->model()->removeLogRows({0}, {{'S', late}});
    list->model()->setDayExpanded(*db, 0, false);
    EXPECT_EQ(list->model()->rows(), (std::vector<LogRow>{{'D', day}, {'D', 99}}));

    // A long list scrolls the found row into view, announcing the scroll first.
    std::vector<LogRow> many;
    for (int pk = 1; pk <= 200; ++pk)
        many.push_back({'S', pk});
    list->setRows(many);
    render();
    int announced = 0;
    QObject::connect(list.get(), &SampleListCtrl::aboutToScroll, [&] { ++announced; });
    EXPECT_TRUE(list->reselect(150));
    QApplication::processEvents();
    auto [first, last] = list->visibleRows();
    EXPECT_LE(first, 149);
    EXPECT_GE(last, 149);
    EXPECT_GE(announced, 1);
}

TEST(SampleListElideTest, EndsAtAWordEnd) {
    QFontMetrics metrics(QFont(QStringLiteral("Liberation Sans"), 10));
    const QString text = QStringLiteral("Went for a long walk");
    EXPECT_EQ(SampleListDelegate::elideAtWordEnd(text, metrics, metrics.horizontalAdvance(text)),
              text);
    const int room = metrics.horizontalAdvance(QStringLiteral("Went for a lo..."));
    EXPECT_EQ(SampleListDelegate::elideAtWordEnd(text, metrics, room), "Went for a...");
    // A word too long for the cell is cut inside it.
    const int narrow = metrics.horizontalAdvance("Super") + metrics.horizontalAdvance("...");
    EXPECT_EQ(SampleListDelegate::elideAtWordEnd("Supercalifragilistic", metrics, narrow),
              "Super...");
}

// Scaled screens draw the finer picture of each icon: it must exist beside the plain one, at
// twice its size, and show the same picture (alike once brought down to the plain size).
TEST(LogIconPictures, EachHasAFinerTwinAtTwiceTheSize) {
    (void)LogbookLook::iconPixmap(LogIcon::Ketone1); // registers the pictures
    for (int icon = int(LogIcon::Ketone1); icon <= int(LogIcon::Delivery); ++icon) {
        const QString path = logIconPath(LogIcon(icon));
        const QImage plain(path);
        const QImage fine(QString(path).replace(".png", "@2x.png"));
        ASSERT_FALSE(fine.isNull()) << path.toStdString();
        EXPECT_EQ(fine.size(), plain.size() * 2) << path.toStdString();
        const QImage reduced =
            fine.scaled(plain.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                .convertToFormat(plain.format());
        int unlike = 0;
        for (int y = 0; y < plain.height(); ++y)
            for (int x = 0; x < plain.width(); ++x)
                unlike += qAlpha(reduced.pixel(x, y)) / 128 != qAlpha(plain.pixel(x, y)) / 128;
        EXPECT_LE(unlike, plain.width() * plain.height() / 8) << path.toStdString();
    }
}
