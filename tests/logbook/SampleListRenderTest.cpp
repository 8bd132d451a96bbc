#include "LogbookFixture.h"
#include "logbook/LogCells.h"
#include "logbook/widgets/SampleListCtrl.h"
#include "logbook/widgets/SampleListDelegate.h"
#include "logbook/widgets/SampleListModel.h"

#include <QApplication>
#include <QImage>
#include <QScrollBar>
#include <functional>

namespace {

const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);
const QColor kBand(220, 219, 184);

bool same(QRgb pixel, const QColor& colour) {
    return (pixel & 0xffffff) == (colour.rgb() & 0xffffff);
}

// How many pixels of the rectangle satisfy the test.
int countPixels(const QImage& image, const QRect& rect, const std::function<bool(QRgb)>& test) {
    int found = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (test(image.pixel(x, y)))
                ++found;
    return found;
}

bool nearWhite(QRgb p) {
    return qRed(p) > 200 && qGreen(p) > 200 && qBlue(p) > 200;
}

bool dark(QRgb p) {
    return qRed(p) < 110 && qGreen(p) < 110 && qBlue(p) < 110;
}

// The rightmost column of the rectangle holding a strongly dark (text) pixel, or -1.
int textRightEdge(const QImage& image, const QRect& rect) {
    for (int x = rect.right() - 1; x > rect.left(); --x)
        for (int y = rect.top() + 1; y < rect.bottom(); ++y)
            if (qGray(image.pixel(x, y)) < 80)
                return x;
    return -1;
}

// Entry rows with the keys 1 to count.
std::vector<LogRow> entryRows(int count) {
    std::vector<LogRow> rows;
    for (int pk = 1; pk <= count; ++pk)
        rows.push_back({'S', pk});
    return rows;
}

class SampleListTest : public LogbookContextTest {
protected:
    void SetUp() override {
        LogbookTest::SetUp();
        addSlot("0700", "Breakfast");
        changePreference([](Preference& p) {
            useStandardRange(p);
            p.setDeliveryCode(kDeliveryInjection);
        });
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

    int addEntry(int glucose, const std::function<void(Sample&)>& fill = {}) {
        Sample entry;
        entry.setSampleTime("20070315083000");
        entry.setSampleTypePk(1);
        entry.setDeliveryCode(kDeliveryInjection);
        entry.setGlucoseCnt(glucose);
        if (fill)
            fill(entry);
        EXPECT_TRUE(SampleTable::save(*db, entry));
        return entry.getPk();
    }

    QImage render() {
        if (!list->isVisible())
            list->show();
        QApplication::processEvents();
        QImage image = list->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(image.devicePixelRatio(), 1.0);
        return image;
    }

    QRect cell(int row, int column) const {
        return list->visualRect(list->model()->index(row, column));
    }
    // The glucose cell within its own two-pixel frame.
    QRect box(int row) const { return cell(row, LogColumn::Glucose).adjusted(2, 2, -2, -2); }
    static QPoint corner(const QRect& r) { return r.topLeft() + QPoint(1, 1); }
    static QPoint leftEdge(const QRect& r) { return {r.left(), r.center().y()}; }
    QColor highlight() const {
        return list->palette().color(QPalette::Active, QPalette::Highlight);
    }
    QColor base() const { return list->palette().color(QPalette::Active, QPalette::Base); }

    std::unique_ptr<SampleListCtrl> list;
};

} // namespace

TEST_F(SampleListTest, GlucoseCellsCarryTheirClassColours) {
    std::vector<LogRow> shown;
    for (int glucose : {300, 60, 70, 45, 181, 180})
        shown.push_back({'S', addEntry(glucose)});
    list->setRows(shown);
    QImage image = render();

    // Very high: white bold text on a blue fill inside the cell's own highlight frame.
    QRect r = cell(0, LogColumn::Glucose);
    QRect inner = box(0);
    EXPECT_TRUE(same(image.pixel(corner(inner)), kBlue));
    EXPECT_TRUE(same(image.pixel(leftEdge(inner)), kBlue));
    EXPECT_TRUE(same(image.pixel(corner(r)), base()));
    EXPECT_TRUE(same(image.pixel(leftEdge(r)), highlight()));
    EXPECT_GT(countPixels(image, inner, nearWhite), 5);

    // Low: a red frame, red text, no fill.
    inner = box(1);
    EXPECT_TRUE(same(image.pixel(leftEdge(inner)), kRed));
    EXPECT_TRUE(same(image.pixel(inner.right(), inner.top() + 3), kRed));
    EXPECT_TRUE(same(image.pixel(corner(inner)), base()));
    const QRect inside = inner.adjusted(1, 1, -1, -1);
    const int reddish = countPixels(
        image, inside, [](QRgb p) { return qRed(p) > 150 && qGreen(p) < 120 && qBlue(p) < 120; });
    EXPECT_GT(reddish, 5);
    EXPECT_LT(reddish, inside.width() * inside.height() / 3);

    // In range, at both limits: the row's text colour and nothing red or blue.
    for (int row : {2, 5}) {
        r = cell(row, LogColumn::Glucose);
        EXPECT_EQ(countPixels(image, r, [](QRgb p) { return same(p, kRed) || same(p, kBlue); }), 0)
            << "row " << row;
        EXPECT_GT(countPixels(image, r, dark), 5) << "row " << row;
    }

    // Very low: white on red.
    EXPECT_TRUE(same(image.pixel(corner(box(3))), kRed));
    EXPECT_GT(countPixels(image, box(3), nearWhite), 5);

    // High: blue frame without fill.
    EXPECT_TRUE(same(image.pixel(leftEdge(box(4))), kBlue));
    EXPECT_TRUE(same(image.pixel(corner(box(4))), base()));
}

TEST_F(SampleListTest, SelectedRowKeepsTheAlarmCell) {
    int veryHigh = addEntry(300);
    int other = addEntry(100);
    list->setRows({{'S', other}, {'S', veryHigh}});
    list->selectRow(1);
    QImage image = render();
    EXPECT_TRUE(same(image.pixel(corner(cell(1, LogColumn::Glucose))), highlight()));
    EXPECT_TRUE(same(image.pixel(cell(1, LogColumn::Notes).center()), highlight()));
    EXPECT_TRUE(same(image.pixel(corner(box(1))), kBlue));
    EXPECT_GT(countPixels(image, box(1), nearWhite), 5);
    // The row above is not selected.
    EXPECT_TRUE(same(image.pixel(cell(0, LogColumn::Notes).center()), base()));
}

TEST_F(SampleListTest, DayBandOnlyBetweenEntryRows) {
    int entry = addEntry(100);
    int day = LogbookTest::addDay("20070315", [](SampleDate& d) { d.setTtlSampleCnt(5); });
    list->setRows({{'S', entry}, {'D', day}});

    list->setFilter(LogFilter::AllTypes);
    QImage allTypes = render();
    EXPECT_TRUE(same(allTypes.pixel(cell(1, LogColumn::Site).center()), kBand));
    EXPECT_TRUE(same(allTypes.pixel(cell(1, LogColumn::Notes).center()), kBand));
    EXPECT_TRUE(same(allTypes.pixel(cell(0, LogColumn::Notes).center()), base()));

    list->setFilter(LogFilter::DailySummary);
    list->repaintRows();
    QImage summary = render();
    EXPECT_TRUE(same(summary.pixel(cell(1, LogColumn::Site).center()), base()));
    EXPECT_EQ(
        countPixels(summary, cell(1, LogColumn::Notes), [](QRgb p) { return same(p, kBand); }), 0);

    // The same date text is drawn in bold between entry rows, so it runs wider.
    QRect date = cell(1, LogColumn::DateTime);
    EXPECT_GT(textRightEdge(allTypes, date), textRightEdge(summary, date) + 3);

    // Selected, the day row shows the selection instead of the band.
    list->setFilter(LogFilter::AllTypes);
    list->selectRow(1);
    QImage selected = render();
    EXPECT_TRUE(same(selected.pixel(cell(1, LogColumn::Site).center()), highlight()));
}

TEST_F(SampleListTest, EditsShowAtTheNextPaint) {
    int pk = addEntry(300);
    list->setRows({{'S', pk}});
    ASSERT_TRUE(same(render().pixel(corner(box(0))), kBlue));

    ASSERT_TRUE(db->exec("update SAMPLE set GLUCOSE_CNT = 60 where PK = %ld", long(pk)));
    list->repaintRows();
    QImage after = render();
    EXPECT_TRUE(same(after.pixel(corner(box(0))), base()));
    EXPECT_TRUE(same(after.pixel(leftEdge(box(0))), kRed));

    // A removed record leaves its row blank: background only, not even the cell frames.
    ASSERT_TRUE(db->exec("delete from SAMPLE where PK = %ld", long(pk)));
    list->repaintRows();
    QImage gone = render();
    QRect row = cell(0, 0).united(cell(0, LogColumn::Notes));
    EXPECT_EQ(countPixels(gone, row, [this](QRgb p) { return !same(p, base()); }), 0);
}

TEST_F(SampleListTest, IconsAreDrawnAndBlendedWhenSelected) {
    int pk = addEntry(100, [](Sample& e) {
        e.setKeytoneCode(4);
        e.setDeliveryCode(kDeliveryPump);
    });
    int plain = addEntry(100);
    list->setRows({{'S', pk}, {'S', plain}});
    QImage image = render();
    // The strip's outline: its top edge starts 4 pixels into the picture.
    QPoint origin = cell(0, LogColumn::Ketone).topLeft() + QPoint(3, 1);
    EXPECT_TRUE(same(image.pixel(origin + QPoint(4, 0)), QColor(64, 64, 64)));
    EXPECT_TRUE(same(image.pixel(origin), base())); // transparent corner
    QRect delivery = cell(0, LogColumn::Delivery).adjusted(3, 1, -3, -1);
    EXPECT_GT(countPixels(image, delivery, [this](QRgb p) { return !same(p, base()); }), 10);
    EXPECT_EQ(countPixels(image, cell(1, LogColumn::Delivery).adjusted(1, 1, -1, -1),
                          [this](QRgb p) { return !same(p, base()); }),
              0);

    list->selectRow(0);
    QImage selected = render();
    QRgb blended = selected.pixel(origin + QPoint(4, 0));
    EXPECT_FALSE(same(blended, QColor(64, 64, 64)));
    EXPECT_FALSE(same(blended, highlight()));
    EXPECT_TRUE(same(selected.pixel(origin), highlight()));
}

TEST_F(SampleListTest, ReselectFindsTheEntryRowOnly) {
    list->setRows({{'D', 7}, {'S', 3}, {'S', 7}, {'D', 2}, {'S', 7}});
    EXPECT_TRUE(list->reselect(7));
    EXPECT_EQ(list->selectedRows(), std::vector<int>{2});
    EXPECT_EQ(list->selectionMark(), 2);

    EXPECT_TRUE(list->reselect(LogRow{'D', 2}));
    EXPECT_EQ(list->selectedRows(), std::vector<int>{3});

    EXPECT_FALSE(list->reselect(2)); // only a day has PK 2
    EXPECT_TRUE(list->selectedRows().empty());

    // A long list scrolls the found row into view.
    list->setRows(entryRows(200));
    render();
    EXPECT_TRUE(list->reselect(150));
    QApplication::processEvents();
    auto [first, last] = list->visibleRows();
    EXPECT_LE(first, 149);
    EXPECT_GE(last, 149);
}

TEST_F(SampleListTest, SelectedRowsInListOrder) {
    list->setRows({{'D', 1}, {'S', 1}, {'S', 2}, {'S', 3}, {'D', 2}});
    auto* selection = list->selectionModel();
    const auto flags = QItemSelectionModel::Select | QItemSelectionModel::Rows;
    selection->select(list->model()->index(3, 0), flags);
    selection->select(list->model()->index(0, 0), flags);
    selection->select(list->model()->index(2, 0), flags);
    EXPECT_EQ(list->selectedRows(), (std::vector<int>{0, 2, 3}));
    EXPECT_EQ(list->selectedLogRows(), (std::vector<LogRow>{{'D', 1}, {'S', 2}, {'S', 3}}));
}

TEST_F(SampleListTest, SignalsForScrollingAndReloads) {
    int reloads = 0;
    QObject::connect(list.get(), &SampleListCtrl::rowsReloaded, [&reloads] { ++reloads; });
    const std::vector<LogRow> many = entryRows(100);
    list->setRows(many);
    EXPECT_EQ(reloads, 1);
    list->model()->setRows({{'S', 1}, {'S', 2}});
    EXPECT_EQ(reloads, 2);

    list->setRows(many);
    render();
    std::vector<int> topRowsAtSignal;
    QObject::connect(list.get(), &SampleListCtrl::aboutToScroll,
                     [&] { topRowsAtSignal.push_back(list->rowAt(0)); });
    list->horizontalScrollBar()->setValue(30);
    EXPECT_TRUE(topRowsAtSignal.empty()); // sideways scrolling is not announced
    list->verticalScrollBar()->setValue(20);
    ASSERT_EQ(topRowsAtSignal.size(), 1u);
    EXPECT_EQ(topRowsAtSignal[0], 0); // still the old position
    EXPECT_EQ(list->rowAt(0), 20);
}

TEST_F(SampleListTest, ShowingAndHidingADaysEntries) {
    int day = LogbookTest::addDay("20070315");
    int early = LogbookTest::addEntry("20070315070000", 100);
    int late = LogbookTest::addEntry("20070315200000", 100);
    list->setRows({{'D', day}, {'D', 99}});
    SampleListModel* model = list->model();
    model->setDayExpanded(*db, 0, true);
    EXPECT_EQ(model->rows(),
              (std::vector<LogRow>{{'D', day}, {'S', late}, {'S', early}, {'D', 99}}));
    model->setDayExpanded(*db, 0, true); // already shown: no second copy
    EXPECT_EQ(model->rowCount(), 4);
    model->setDayExpanded(*db, 0, false);
    EXPECT_EQ(model->rows(), (std::vector<LogRow>{{'D', day}, {'D', 99}}));

    list->setRows({{'D', 1}, {'S', 5}, {'S', 6}, {'S', 7}});
    std::vector<LogRow> selected{{'S', 5}, {'S', 7}};
    model->removeLogRows({1}, selected);
    EXPECT_EQ(model->rows(), (std::vector<LogRow>{{'D', 1}, {'S', 5}, {'S', 6}}));
}

TEST(SampleListElideTest, EndsAtAWordEnd) {
    QFont font(QStringLiteral("Liberation Sans"), 10);
    QFontMetrics metrics(font);
    const QString text = QStringLiteral("Went for a long walk");
    EXPECT_EQ(SampleListDelegate::elideAtWordEnd(text, metrics, metrics.horizontalAdvance(text)),
              text);
    const int room = metrics.horizontalAdvance(QStringLiteral("Went for a lo..."));
    EXPECT_EQ(SampleListDelegate::elideAtWordEnd(text, metrics, room), "Went for a...");

    const QString word = QStringLiteral("Supercalifragilistic");
    const int narrow = metrics.horizontalAdvance(QStringLiteral("Super..."));
    QString cut = SampleListDelegate::elideAtWordEnd(word, metrics, narrow);
    EXPECT_TRUE(cut.endsWith("...")) << cut.toStdString();
    EXPECT_TRUE(word.startsWith(cut.left(cut.size() - 3)));
    EXPECT_GE(cut.size(), 5);
    EXPECT_LE(metrics.horizontalAdvance(cut), narrow);

    EXPECT_TRUE(SampleListDelegate::elideAtWordEnd(word, metrics, 2).isEmpty());
}
