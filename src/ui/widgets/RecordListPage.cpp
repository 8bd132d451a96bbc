#include "ui/widgets/RecordListPage.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <utility>

namespace {

Qt::Alignment cellAlignment(const RecordListColumn& column) {
    const Qt::Alignment across = column.rightAligned ? Qt::AlignRight
                                 : column.centred    ? Qt::AlignHCenter
                                                     : Qt::AlignLeft;
    return across | Qt::AlignVCenter;
}

} // namespace

RecordListPage::RecordListPage(const char* listName, std::span<const RecordListColumn> columns,
                               const char* explanation, QWidget* parent)
    : PropertyPage(parent) {
    auto* layout = new QVBoxLayout(this);
    if (explanation) {
        auto* text = new QLabel(QString::fromLatin1(explanation), this);
        text->setWordWrap(true);
        layout->addWidget(text);
    }

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QString::fromLatin1(listName));
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setColumnCount(static_cast<int>(columns.size()));
    auto* header = new QTreeWidgetItem;
    for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
        const RecordListColumn& column = columns[static_cast<size_t>(i)];
        header->setText(i, QString::fromLatin1(column.header));
        header->setTextAlignment(i, cellAlignment(column));
        m_alignments.push_back(cellAlignment(column));
    }
    m_list->setHeaderItem(header);
    // The widths are the columns' own; stretching the last one would hide them.
    m_list->header()->setStretchLastSection(false);
    // Narrow marker columns (20 pixels) are narrower than the style's least section width.
    for (const RecordListColumn& column : columns)
        if (column.width >= 0 && column.width < m_list->header()->minimumSectionSize())
            m_list->header()->setMinimumSectionSize(column.width);
    for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
        const int width = columns[static_cast<size_t>(i)].width;
        if (width == RecordListColumn::kRemainingWidth)
            m_list->header()->setSectionResizeMode(i, QHeaderView::Stretch);
        else
            m_list->setColumnWidth(i, width);
    }
    layout->addWidget(m_list);

    m_new = new QPushButton(QStringLiteral("New"), this);
    m_new->setObjectName(QStringLiteral("1003"));
    m_modify = new QPushButton(QStringLiteral("Modify"), this);
    m_modify->setObjectName(QStringLiteral("1060"));
    m_remove = new QPushButton(QStringLiteral("Remove"), this);
    m_remove->setObjectName(QStringLiteral("1005"));
    connect(m_new, &QPushButton::clicked, this, &RecordListPage::newItem);
    connect(m_modify, &QPushButton::clicked, this, &RecordListPage::modifyItem);
    connect(m_remove, &QPushButton::clicked, this, &RecordListPage::removeItem);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &RecordListPage::modifyItem);

    m_buttons = new QHBoxLayout;
    m_buttons->addWidget(m_new);
    m_buttons->addWidget(m_modify);
    m_buttons->addWidget(m_remove);
    m_buttons->addStretch();
    layout->addLayout(m_buttons);
}

void RecordListPage::fill() {
    // The row the patient was working on stays selected when it is still listed, so that
    // a toggle or an edit can be followed by another without choosing the row again.
    const int kept = m_selectNext != 0 ? std::exchange(m_selectNext, 0) : selectedKey();
    m_list->clear();
    QTreeWidgetItem* keptItem = nullptr;
    for (const Row& row : rows()) {
        auto* item = new QTreeWidgetItem(m_list, row.cells);
        item->setData(0, Qt::UserRole, row.pk);
        for (int i = 0; i < row.cells.size() && i < static_cast<int>(m_alignments.size()); ++i)
            item->setTextAlignment(i, m_alignments[static_cast<size_t>(i)]);
        if (kept != 0 && row.pk == kept)
            keptItem = item;
    }
    if (keptItem) {
        keptItem->setSelected(true);
        m_list->setCurrentItem(keptItem);
        m_list->scrollToItem(keptItem);
    }
    filled();
}

int RecordListPage::selectedKey() const {
    const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
    if (selected.size() != 1)
        return 0;
    return selected.front()->data(0, Qt::UserRole).toInt();
}

std::vector<int> RecordListPage::selectedKeys() const {
    std::vector<int> keys;
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = m_list->topLevelItem(i);
        if (item->isSelected())
            keys.push_back(item->data(0, Qt::UserRole).toInt());
    }
    return keys;
}

void RecordListPage::newItem() {
    stored(editNew());
}

void RecordListPage::modifyItem() {
    const int pk = selectedKey();
    if (pk != 0)
        stored(editStored(pk));
}

void RecordListPage::removeItem() {
    const std::vector<int> keys = m_several ? selectedKeys() : std::vector<int>{selectedKey()};
    if (keys.empty() || keys.front() == 0 || !confirmRemove())
        return;
    bool anyRemoved = false;
    for (int pk : keys)
        anyRemoved = removeStored(pk) || anyRemoved;
    stored(anyRemoved);
}

std::unique_ptr<QMenu> RecordListPage::contextMenu() {
    const int pk = selectedKey();
    if (!m_hasMenu || pk == 0)
        return nullptr;
    auto menu = std::make_unique<QMenu>(this);
    // The entries run after the menu has closed, when the selection is still this row.
    connect(menu->addAction(QStringLiteral("New")), &QAction::triggered, this,
            &RecordListPage::newItem);
    connect(menu->addAction(QStringLiteral("Modify")), &QAction::triggered, this,
            &RecordListPage::modifyItem);
    connect(menu->addAction(QStringLiteral("Remove")), &QAction::triggered, this,
            &RecordListPage::removeItem);
    extendContextMenu(*menu, pk);
    return menu;
}

void RecordListPage::enableContextMenu() {
    if (m_hasMenu)
        return;
    m_hasMenu = true;
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_list, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (std::unique_ptr<QMenu> menu = contextMenu())
            menu->exec(m_list->viewport()->mapToGlobal(at));
    });
}

void RecordListPage::allowSeveralSelected() {
    m_several = true;
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
}

void RecordListPage::stored(bool anyStored) {
    // Refilled after a failed store too, so the list shows what the table really holds.
    fill();
    if (anyStored)
        emit changed();
}
