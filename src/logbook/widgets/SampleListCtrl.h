#pragma once

#include "logbook/LogCommands.h"
#include "logbook/LogRows.h"

#include <QTableView>
#include <utility>
#include <vector>

class LogbookContext;
class SampleListDelegate;
class SampleListModel;

// The logbook list: day rows and entry rows, each known only by its tag and PK. The
// delegate reads each record when it paints, through the context given here.
class SampleListCtrl : public QTableView {
    Q_OBJECT
public:
    explicit SampleListCtrl(LogbookContext& context, QWidget* parent = nullptr);
    ~SampleListCtrl() override;

    // The log type filter (-1 all types, 0 daily summary, a slot PK); set before a reload.
    void setFilter(int filter);
    int filter() const;
    // The day dialog's layout; set once, before insertColumns.
    void setCompact(bool compact);
    bool compact() const;
    // Puts up the ten columns of the chosen layout with their widths.
    void insertColumns();

    QSize sizeHint() const override;

    void setRows(std::vector<LogRow> rows);
    int logRowCount() const;
    const LogRow& logRowAt(int row) const;

    // Selected row numbers, top to bottom.
    std::vector<int> selectedRows() const;
    std::vector<LogRow> selectedLogRows() const;
    // The focus-and-anchor row, or -1.
    int selectionMark() const;
    // The selected rows with the row of the selection mark, for the commands.
    LogSelection selection() const;
    // Selects, focuses and shows the first entry row with that PK (day rows are not
    // searched); with none, nothing stays selected. Returns whether a row was found.
    bool reselect(int pk);
    // The same for a row as the list held it: an entry row by its PK as above, a day row
    // by its own PK.
    bool reselect(const LogRow& row);

    // The rows at the top and bottom of the visible area, or -1, -1 when there are none.
    std::pair<int, int> visibleRows() const;
    // Redraws the rows from the database without rebuilding them.
    void repaintRows();

    int rowHeightForFont() const;
    // How many rows the list could show at most, on its screen or in its present size.
    int rowsPerScreen() const;
    // How many whole rows the visible area holds now (at least 1).
    int rowsPerPage() const;

    // The list's own model; it hides the base class's accessor of the same name.
    SampleListModel* model() const { return m_model; }
    SampleListModel& listModel() const { return *m_model; }
    SampleListDelegate& listDelegate() const { return *m_delegate; }

signals:
    void keyReleased(int key);
    // Emitted before the rows scroll vertically, while they are still where they were.
    void aboutToScroll();
    void rowsReloaded();

protected:
    void keyReleaseEvent(QKeyEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void applyRowHeight();
    // Widens the date column to the longest texts the filter puts in it.
    // `force`: also over a width set by hand.
    void fitDateColumn(bool force);

    LogbookContext& m_context;
    SampleListModel* m_model;
    SampleListDelegate* m_delegate;
    int m_fittedWidth = 0;
};
