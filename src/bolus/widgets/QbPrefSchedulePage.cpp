#include "bolus/widgets/QbPrefSchedulePage.h"

#include "logbook/DeleteConfirmation.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

QbPrefSchedulePage::QbPrefSchedulePage(LogbookContext& context, DeleteQuestion& deleteQuestion,
                                       const char* explanation,
                                       std::span<const QbListColumn> columns, QWidget* parent)
    : PropertyPage(parent), m_context(context), m_deleteQuestion(deleteQuestion) {
    auto* text = new QLabel(QString::fromLatin1(explanation), this);
    text->setWordWrap(true);

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("1089"));
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setColumnCount(static_cast<int>(columns.size()));
    auto* header = new QTreeWidgetItem;
    for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
        const QbListColumn& column = columns[static_cast<size_t>(i)];
        header->setText(i, QString::fromLatin1(column.header));
        header->setTextAlignment(i, column.centred ? Qt::AlignHCenter : Qt::AlignLeft);
        m_centred.push_back(column.centred);
    }
    m_list->setHeaderItem(header);
    for (int i = 0; i < static_cast<int>(columns.size()); ++i)
        m_list->setColumnWidth(i, columns[static_cast<size_t>(i)].width);

    m_new = new QPushButton(QStringLiteral("New"), this);
    m_modify = new QPushButton(QStringLiteral("Modify"), this);
    m_remove = new QPushButton(QStringLiteral("Remove"), this);
    connect(m_new, &QPushButton::clicked, this, &QbPrefSchedulePage::newItem);
    connect(m_modify, &QPushButton::clicked, this, &QbPrefSchedulePage::modifyItem);
    connect(m_remove, &QPushButton::clicked, this, &QbPrefSchedulePage::removeItem);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &QbPrefSchedulePage::modifyItem);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_new);
    buttons->addWidget(m_modify);
    buttons->addWidget(m_remove);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(m_list);
    layout->addLayout(buttons);
}

void QbPrefSchedulePage::fill() {
    m_list->clear();
    for (const Row& row : rows()) {
        auto* item = new QTreeWidgetItem(m_list, row.cells);
        item->setData(0, Qt::UserRole, row.pk);
        for (int i = 0; i < row.cells.size() && i < static_cast<int>(m_centred.size()); ++i)
            item->setTextAlignment(i, m_centred[static_cast<size_t>(i)] ? Qt::AlignHCenter
                                                                        : Qt::AlignLeft);
    }
}

void QbPrefSchedulePage::newItem() {
    stored(editNew());
}

void QbPrefSchedulePage::modifyItem() {
    const int pk = selectedPk();
    if (pk != 0)
        stored(editStored(pk));
}

void QbPrefSchedulePage::removeItem() {
    const int pk = selectedPk();
    if (pk == 0 || !confirmDelete(m_context.database(), m_context.preference(), m_deleteQuestion))
        return;
    stored(removeStored(pk));
}

int QbPrefSchedulePage::selectedPk() const {
    const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
    if (selected.size() != 1)
        return 0;
    return selected.front()->data(0, Qt::UserRole).toInt();
}

void QbPrefSchedulePage::stored(bool anyStored) {
    // Refilled after a failed store too, so the list shows what the table really holds.
    fill();
    // The schedules decide whether the calculator can be switched on: Apply can ask again.
    if (anyStored)
        emit changed();
}
