#include "ui/widgets/RecordListPage.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

Qt::Alignment cellAlignment(bool centred) {
    return (centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter;
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
        header->setTextAlignment(i, cellAlignment(column.centred));
        m_centred.push_back(column.centred);
    }
    m_list->setHeaderItem(header);
    // The widths are the columns' own; stretching the last one would hide them.
    m_list->header()->setStretchLastSection(false);
    // Narrow marker columns (20 pixels) are narrower than the style's least section width.
    for (const RecordListColumn& column : columns)
        if (column.width < m_list->header()->minimumSectionSize())
            m_list->header()->setMinimumSectionSize(column.width);
    for (int i = 0; i < static_cast<int>(columns.size()); ++i)
        m_list->setColumnWidth(i, columns[static_cast<size_t>(i)].width);
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
    const int kept = selectedKey();
    m_list->clear();
    for (const Row& row : rows()) {
        auto* item = new QTreeWidgetItem(m_list, row.cells);
        item->setData(0, Qt::UserRole, row.pk);
        for (int i = 0; i < row.cells.size() && i < static_cast<int>(m_centred.size()); ++i)
            item->setTextAlignment(i, cellAlignment(m_centred[static_cast<size_t>(i)]));
        if (kept != 0 && row.pk == kept) {
            item->setSelected(true);
            m_list->setCurrentItem(item);
        }
    }
    filled();
}

int RecordListPage::selectedKey() const {
    const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
    if (selected.size() != 1)
        return 0;
    return selected.front()->data(0, Qt::UserRole).toInt();
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
    const int pk = selectedKey();
    if (pk == 0 || !confirmRemove())
        return;
    stored(removeStored(pk));
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

void RecordListPage::stored(bool anyStored) {
    // Refilled after a failed store too, so the list shows what the table really holds.
    fill();
    if (anyStored)
        emit changed();
}
