#include "logbook/widgets/SampleListModel.h"

#include "logbook/LogCells.h"
#include "storage/SampleTable.h"

#include <algorithm>

SampleListModel::SampleListModel(QObject* parent) : QAbstractTableModel(parent) {}

void SampleListModel::setLayout(bool compact) {
    beginResetModel();
    m_compact = compact;
    m_hasColumns = true;
    endResetModel();
}

void SampleListModel::setRows(std::vector<LogRow> rows) {
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

void SampleListModel::completeRows(std::vector<LogRow> all) {
    const std::size_t held = m_rows.size();
    if (all.size() < held || !std::equal(m_rows.begin(), m_rows.end(), all.begin())) {
        setRows(std::move(all));
        return;
    }
    if (all.size() == held)
        return;
    beginInsertRows({}, static_cast<int>(held), static_cast<int>(all.size()) - 1);
    m_rows.insert(m_rows.end(), all.begin() + static_cast<std::ptrdiff_t>(held), all.end());
    endInsertRows();
}

void SampleListModel::removeLogRows(const std::vector<int>& positions,
                                    const std::vector<LogRow>& rows) {
    for (int position : positions) {
        if (position < 0 || position >= static_cast<int>(rows.size()))
            continue;
        const LogRow& gone = rows[static_cast<std::size_t>(position)];
        auto found = std::find(m_rows.begin(), m_rows.end(), gone);
        if (found == m_rows.end())
            continue;
        const int row = static_cast<int>(found - m_rows.begin());
        beginRemoveRows({}, row, row);
        m_rows.erase(found);
        endRemoveRows();
    }
}

void SampleListModel::setDayExpanded(Database& db, int row, bool show) {
    if (row < 0 || row >= rowCount() || rowAt(row).tag != 'D')
        return;
    // The day's entries are the run of entry rows right below it.
    int end = row + 1;
    while (end < rowCount() && rowAt(end).tag != 'D')
        ++end;
    const bool shown = end > row + 1;
    if (!show && shown) {
        beginRemoveRows({}, row + 1, end - 1);
        m_rows.erase(m_rows.begin() + row + 1, m_rows.begin() + end);
        endRemoveRows();
        return;
    }
    if (!show || shown)
        return;
    std::vector<LogRow> entries;
    if (auto query = SampleTable::selectByDay(db, rowAt(row).pk, false))
        while (auto entry = SampleTable::getNext(db, *query))
            entries.push_back({'S', entry->getPk()});
    if (entries.empty())
        return;
    beginInsertRows({}, row + 1, row + static_cast<int>(entries.size()));
    m_rows.insert(m_rows.begin() + row + 1, entries.begin(), entries.end());
    endInsertRows();
}

int SampleListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int SampleListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() || !m_hasColumns ? 0 : LogColumn::Count;
}

QVariant SampleListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const LogRow& row = rowAt(index.row());
    switch (role) {
    case TagRole:
        return QString(QChar::fromLatin1(row.tag));
    case PkRole:
        return row.pk;
    default:
        // No display data: the delegate reads the record when it paints.
        return {};
    }
}

QVariant SampleListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return {};
    const LogColumnLayout& layout = logColumnLayout(section, m_compact);
    if (role == Qt::DisplayRole)
        return QString::fromLatin1(layout.title);
    if (role == Qt::TextAlignmentRole)
        return layout.alignment.toInt();
    return {};
}

Qt::ItemFlags SampleListModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}
