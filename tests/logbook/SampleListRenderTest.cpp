#include "logbook/LogCells.h"
#include "logbook/widgets/SampleListCtrl.h"
#include "logbook/widgets/SampleListDelegate.h"
#include "logbook/widgets/SampleListModel.h"
#include "support/LogbookTest.h"
#include "support/TestLogbookContext.h"

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QKeyEvent>
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

class SampleListTest : public LogbookTest {
protected:
    void SetUp() override {
        LogbookTest::SetUp();
        addSlot("0700", "Breakfast");
        changePreference([](Preference& p) {
            p.setGlucoseExtLo(50);
            p.setGlucoseLo(70);
            p.setGlucoseHi(180);
            p.setGlucoseExtHi(250);
            p.setDeliveryCode(kDeliveryInjection);
        });
        ASSERT_FALSE(HasFailure());
        context = std::make_unique<TestLogbookContext>(*db, prompts, 0);

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

    int addDay() {
        return LogbookTest::addDay("20070315", [](SampleDate& day) {
            day.setTtlSampleCnt(5);
            day.setTtlCarbCnt(120);
        });
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
    QColor highlight() const {
        return list->palette().color(QPalette::Active, QPalette::Highlight);
    }
    QColor base() const { return list->palette().color(QPalette::Active, QPalette::Base); }

    std::unique_ptr<TestLogbookContext> context;
    std::unique_ptr<SampleListCtrl> list;
};

} // namespace

TEST_F(SampleListTest, GlucoseCellsCarryTheirClassColours) {
    int veryHigh = addEntry(300);
    int low = addEntry(60);
    int inRange = addEntry(70);
    int veryLow = addEntry(45);
    int high = addEntry(181);
    int top = addEntry(180);
    list->setRows(
        {{'S', veryHigh}, {'S', low}, {'S', inRange}, {'S', veryLow}, {'S', high}, {'S', top}});
    QImage image = render();

    // Very high: white bold text on a blue fill inside the cell's own highlight frame.
    QRect r = cell(0, LogColumn::Glucose);
    QRect inner = r.adjusted(2, 2, -2, -2);
    EXPECT_TRUE(same(image.pixel(inner.left() + 1, inner.top() + 1), kBlue));
    EXPECT_TRUE(same(image.pixel(inner.left(), inner.center().y()), kBlue));
    EXPECT_TRUE(same(image.pixel(r.left() + 1, r.top() + 1), base()));
    EXPECT_TRUE(same(image.pixel(r.left(), r.center().y()), highlight()));
    EXPECT_GT(countPixels(image, inner, nearWhite), 5);

    // Low: a red frame, red text, no fill.
    r = cell(1, LogColumn::Glucose);
    inner = r.adjusted(2, 2, -2, -2);
    EXPECT_TRUE(same(image.pixel(inner.left(), inner.center().y()), kRed));
    EXPECT_TRUE(same(image.pixel(inner.right(), inner.top() + 3), kRed));
    EXPECT_TRUE(same(image.pixel(inner.left() + 1, inner.top() + 1), base()));
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
    inner = cell(3, LogColumn::Glucose).adjusted(2, 2, -2, -2);
    EXPECT_TRUE(same(image.pixel(inner.left() + 1, inner.top() + 1), kRed));
    EXPECT_GT(countPixels(image, inner, nearWhite), 5);

    // High: blue frame without fill.
    inner = cell(4, LogColumn::Glucose).adjusted(2, 2, -2, -2);
    EXPECT_TRUE(same(image.pixel(inner.left(), inner.center().y()), kBlue));
    EXPECT_TRUE(same(image.pixel(inner.left() + 1, inner.top() + 1), base()));
}

TEST_F(SampleListTest, SelectedRowKeepsTheAlarmCell) {
    int veryHigh = addEntry(300);
    int other = addEntry(100);
    list->setRows({{'S', other}, {'S', veryHigh}});
    list->selectRow(1);
    QImage image = render();
    QRect r = cell(1, LogColumn::Glucose);
    QRect inner = r.adjusted(2, 2, -2, -2);
    EXPECT_TRUE(same(image.pixel(r.left() + 1, r.top() + 1), highlight()));
    EXPECT_TRUE(same(image.pixel(cell(1, LogColumn::Notes).center()), highlight()));
    EXPECT_TRUE(same(image.pixel(inner.left() + 1, inner.top() + 1), kBlue));
    EXPECT_GT(countPixels(image, inner, nearWhite), 5);
    // The row above is not selected.
    EXPECT_TRUE(same(image.pixel(cell(0, LogColumn::Notes).center()), base()));
}

TEST_F(SampleListTest, DayBandOnlyBetweenEntryRows) {
    int entry = addEntry(100);
    int day = addDay();
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
    QRect inner = cell(0, LogColumn::Glucose).adjusted(2, 2, -2, -2);
    QImage before = render();
    ASSERT_TRUE(same(before.pixel(inner.left() + 1, inner.top() + 1), kBlue));

    ASSERT_TRUE(db->exec("update SAMPLE set GLUCOSE_CNT = 60 where PK = %ld", long(pk)));
    list->repaintRows();
    QImage after = render();
    EXPECT_TRUE(same(after.pixel(inner.left() + 1, inner.top() + 1), base()));
    EXPECT_TRUE(same(after.pixel(inner.left(), inner.center().y()), kRed));

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

TEST_F(SampleListTest, ColumnsOfBothLayouts) {
    QHeaderView* header = list->horizontalHeader();
    const int mainWidths[] = {150, 20, 20, 20, 20, 75, 75, 60, 180, 300};
    ASSERT_EQ(list->model()->columnCount(), LogColumn::Count);
    for (int c = 0; c < LogColumn::Count; ++c) {
        EXPECT_EQ(header->sectionSize(c), mainWidths[c]) << c;
        EXPECT_FALSE(list->isColumnHidden(c));
    }
    EXPECT_EQ(list->model()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
              "Date/Time");
    EXPECT_EQ(list->model()->headerData(8, Qt::Horizontal, Qt::DisplayRole).toString(),
              "Medication");

    SampleListCtrl compact(*context);
    compact.setCompact(true);
    compact.insertColumns();
    const int compactWidths[] = {120, 20, 20, 0, 20, 65, 55, 60, 150, 250};
    for (int c = 0; c < LogColumn::Count; ++c) {
        if (compactWidths[c] == 0)
            EXPECT_TRUE(compact.isColumnHidden(c));
        else
            EXPECT_EQ(compact.horizontalHeader()->sectionSize(c), compactWidths[c]) << c;
    }
    EXPECT_EQ(compact.model()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "Time");

    QFontMetrics metrics(list->font());
    EXPECT_EQ(list->verticalHeader()->defaultSectionSize(),
              metrics.height() + metrics.leading() + 24);
    EXPECT_FALSE(list->showGrid());
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::ExtendedSelection);
}

TEST_F(SampleListTest, ModelHoldsOnlyTagsAndKeys) {
    int pk = addEntry(300);
    list->setRows({{'D', 4}, {'S', pk}});
    SampleListModel* model = list->model();
    for (int c = 0; c < LogColumn::Count; ++c)
        EXPECT_FALSE(model->data(model->index(1, c), Qt::DisplayRole).isValid());
    EXPECT_EQ(model->data(model->index(0, 0), SampleListModel::TagRole).toString(), "D");
    EXPECT_EQ(model->data(model->index(1, 3), SampleListModel::PkRole).toInt(), pk);
    EXPECT_EQ(list->logRowAt(1), (LogRow{'S', pk}));
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
    std::vector<LogRow> many;
    for (int i = 1; i <= 200; ++i)
        many.push_back({'S', i});
    list->setRows(many);
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

TEST_F(SampleListTest, SignalsForKeysScrollingAndReloads) {
    std::vector<int> keys;
    QObject::connect(list.get(), &SampleListCtrl::keyReleased,
                     [&keys](int key) { keys.push_back(key); });
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Delete, Qt::NoModifier);
    QApplication::sendEvent(list.get(), &release);
    EXPECT_EQ(keys, std::vector<int>{Qt::Key_Delete});

    int reloads = 0;
    QObject::connect(list.get(), &SampleListCtrl::rowsReloaded, [&reloads] { ++reloads; });
    std::vector<LogRow> many;
    for (int i = 1; i <= 100; ++i)
        many.push_back({'S', i});
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
    SampleDate day;
    day.setSampleDate("20070315");
    ASSERT_TRUE(SampleDateTable::save(*db, day));
    int early = addEntry(100, [&](Sample& e) {
        e.setSampleDatePk(day.getPk());
        e.setSampleTime("20070315070000");
    });
    int late = addEntry(100, [&](Sample& e) {
        e.setSampleDatePk(day.getPk());
        e.setSampleTime("20070315200000");
    });
    list->setRows({{'D', day.getPk()}, {'D', 99}});
    SampleListModel* model = list->model();
    model->setDayExpanded(*db, 0, true);
    EXPECT_EQ(model->rows(),
              (std::vector<LogRow>{{'D', day.getPk()}, {'S', late}, {'S', early}, {'D', 99}}));
    model->setDayExpanded(*db, 0, true); // already shown: no second copy
    EXPECT_EQ(model->rowCount(), 4);
    model->setDayExpanded(*db, 0, false);
    EXPECT_EQ(model->rows(), (std::vector<LogRow>{{'D', day.getPk()}, {'D', 99}}));

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
