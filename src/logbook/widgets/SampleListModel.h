#pragma once

#include "logbook/LogRows.h"

#include <QAbstractTableModel>
#include <vector>

class Database;

// The rows of the logbook list: a tag and a PK each, nothing more. Whatever a row shows
// is read by the delegate when it paints, so an edit in the database shows at the next
// repaint without reloading.
class SampleListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The tag ('D' or 'S') and the PK of a row, for whoever needs them through an index.
    static constexpr int TagRole = Qt::UserRole + 1;
    static constexpr int PkRole = Qt::UserRole + 2;

    explicit SampleListModel(QObject* parent = nullptr);

    // Sets the headers of the main or the compact layout; until then there are no columns.
    void setLayout(bool compact);
    bool compact() const { return m_compact; }

    void setRows(std::vector<LogRow> rows);
    // Brings in the whole list when the rows held so far are its beginning: the rows after
    // them are added at the end, so the selection and the scrolling stay. Otherwise the
    // rows are replaced, as by setRows.
    void completeRows(std::vector<LogRow> all);
    const std::vector<LogRow>& rows() const { return m_rows; }
    const LogRow& rowAt(int row) const { return m_rows.at(static_cast<std::size_t>(row)); }

    // Takes out, without a reload, the rows named by their positions in `rows` (a list of
    // rows as they were in the list, such as the selection that was removed).
    void removeLogRows(const std::vector<int>& positions, const std::vector<LogRow>& rows);
    // Shows or hides the entry rows under the day row at `row`; other rows are left alone.
    void setDayExpanded(Database& db, int row, bool show);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    std::vector<LogRow> m_rows;
    bool m_compact = false;
    bool m_hasColumns = false;
};
