#include "logbook/widgets/SampleListCtrl.h"

#include "logbook/LogCells.h"
#include "logbook/LogbookContext.h"
#include "logbook/widgets/LogbookLook.h"
#include "logbook/widgets/SampleListDelegate.h"
#include "logbook/widgets/SampleListModel.h"
#include "storage/SampleType.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QScreen>
#include <QScrollBar>
#include <algorithm>

SampleListCtrl::SampleListCtrl(LogbookContext& context, QWidget* parent)
    : QTableView(parent), m_context(context), m_model(new SampleListModel(this)),
      m_delegate(new SampleListDelegate(context, this)) {
    setModel(m_model);
    setItemDelegate(m_delegate);
    // The owner may fill the model directly; either way the rows were rebuilt.
    connect(m_model, &QAbstractItemModel::modelReset, this, &SampleListCtrl::rowsReloaded);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Every cell draws its own frame.
    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setMinimumSectionSize(0);
    applyRowHeight();
}

SampleListCtrl::~SampleListCtrl() = default;

void SampleListCtrl::setFilter(int filter) {
    // Each reload sets the filter; the slots' names may have changed since the last one.
    const bool changed = filter != m_delegate->filter();
    m_delegate->setFilter(filter);
    fitDateColumn(changed);
}

int SampleListCtrl::filter() const {
    return m_delegate->filter();
}

void SampleListCtrl::fitDateColumn(bool force) {
    if (compact())
        return;
    // The longest texts the filter puts in the column must fit whole, with the cell's
    // margins on either side: the date, time and weekday of one slot's entries, the date,
    // weekday and count of a day row (bold), and the slot name and time of an entry under it.
    const QFontMetrics plain(font());
    int text = 0;
    if (filter() > LogFilter::DailySummary) {
        text = plain.horizontalAdvance(QStringLiteral("12/31 12:59 PM Wednesday"));
    } else {
        text = QFontMetrics(LogbookLook::bold(font()))
                   .horizontalAdvance(QStringLiteral("12/31 Wednesday #99"));
        for (int slot = 0; filter() == LogFilter::AllTypes && slot < m_context.slotCount(); ++slot)
            text = std::max(
                text, plain.horizontalAdvance(
                          QStringLiteral("  %1 @ 12:59 PM").arg(m_context.slotAt(slot).getDesc())));
    }
    // A width the patient set by hand stays until the texts change.
    const int width = std::max(logColumnLayout(LogColumn::DateTime, false).width, text + 16);
    if (width != m_fittedWidth || force)
        setColumnWidth(LogColumn::DateTime, width);
    m_fittedWidth = width;
}

void SampleListCtrl::setCompact(bool compact) {
    m_delegate->setCompact(compact);
}

bool SampleListCtrl::compact() const {
    return m_delegate->compact();
}

void SampleListCtrl::insertColumns() {
    const bool isCompact = compact();
    m_model->setLayout(isCompact);
    for (int column = 0; column < LogColumn::Count; ++column) {
        const int width = logColumnLayout(column, isCompact).width;
        setColumnHidden(column, width == 0);
        if (width > 0)
            setColumnWidth(column, width);
    }
    fitDateColumn(true);
}

QSize SampleListCtrl::sizeHint() const {
    // Wide enough for every column shown, so that a dialog holding the list opens showing
    // them all.
    QSize hint = QTableView::sizeHint();
    int width = 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
    for (int column = 0; column < LogColumn::Count; ++column) {
        if (!isColumnHidden(column))
            width += columnWidth(column);
    }
    hint.setWidth(std::max(hint.width(), width));
    return hint;
}

void SampleListCtrl::setRows(std::vector<LogRow> rows) {
    m_model->setRows(std::move(rows));
}

int SampleListCtrl::logRowCount() const {
    return m_model->rowCount();
}

const LogRow& SampleListCtrl::logRowAt(int row) const {
    return m_model->rowAt(row);
}

std::vector<int> SampleListCtrl::selectedRows() const {
    std::vector<int> rows;
    if (!selectionModel())
        return rows;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

std::vector<LogRow> SampleListCtrl::selectedLogRows() const {
    std::vector<LogRow> rows;
    for (int row : selectedRows())
        rows.push_back(logRowAt(row));
    return rows;
}

int SampleListCtrl::selectionMark() const {
    QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

LogSelection SampleListCtrl::selection() const {
    LogSelection selection{selectedLogRows(), {0, 0}};
    const int mark = selectionMark();
    if (mark >= 0 && !selection.rows.empty())
        selection.mark = logRowAt(mark);
    return selection;
}

bool SampleListCtrl::reselect(int pk) {
    return reselect(LogRow{'S', pk});
}

bool SampleListCtrl::reselect(const LogRow& wanted) {
    const bool day = wanted.tag == 'D';
    const auto& rows = m_model->rows();
    auto found = std::find_if(rows.begin(), rows.end(), [&](const LogRow& row) {
        return (row.tag == 'D') == day && row.pk == wanted.pk;
    });
    if (found == rows.end()) {
        clearSelection();
        return false;
    }
    const int row = static_cast<int>(found - rows.begin());
    QModelIndex index = m_model->index(row, 0);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                 QItemSelectionModel::Rows);
    scrollTo(index);
    return true;
}

std::pair<int, int> SampleListCtrl::visibleRows() const {
    if (logRowCount() == 0)
        return {-1, -1};
    int first = rowAt(0);
    int last = rowAt(viewport()->height() - 1);
    if (first < 0)
        return {-1, -1};
    if (last < 0)
        last = logRowCount() - 1;
    return {first, last};
}

void SampleListCtrl::repaintRows() {
    viewport()->update();
}

int SampleListCtrl::rowHeightForFont() const {
    QFontMetrics metrics(font());
    return metrics.height() + metrics.leading() + 24;
}

int SampleListCtrl::rowsPerScreen() const {
    const QScreen* where = screen();
    const int height = std::max(where ? where->geometry().height() : 0, viewport()->height());
    return height / std::max(1, rowHeightForFont()) + 1;
}

int SampleListCtrl::rowsPerPage() const {
    return std::max(1, viewport()->height() / std::max(1, verticalHeader()->defaultSectionSize()));
}

void SampleListCtrl::applyRowHeight() {
    const int height = rowHeightForFont();
    verticalHeader()->setMinimumSectionSize(height);
    verticalHeader()->setDefaultSectionSize(height);
}

void SampleListCtrl::keyReleaseEvent(QKeyEvent* event) {
    // The owner acts on Delete, Insert and Enter; it hears of them through the signal
    // alone, so the event goes no further.
    emit keyReleased(event->key());
    event->accept();
}

void SampleListCtrl::scrollContentsBy(int dx, int dy) {
    if (dy != 0)
        emit aboutToScroll();
    QTableView::scrollContentsBy(dx, dy);
}

void SampleListCtrl::paintEvent(QPaintEvent* event) {
    m_delegate->beginPaintPass();
    QTableView::paintEvent(event);
    m_delegate->endPaintPass();
}

void SampleListCtrl::changeEvent(QEvent* event) {
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        applyRowHeight();
}
