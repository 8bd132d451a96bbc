#include "app/widgets/UserDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

UserDialog::UserDialog(const std::vector<std::pair<QString, QString>>& namesAndPalmNames,
                       QWidget* parent)
    : QDialog(parent), m_list(new QTreeWidget(this)) {
    setWindowTitle(tr("Open Patient"));
    m_list->setColumnCount(2);
    m_list->setHeaderLabels({tr("Patient Name"), tr("Palm Name")});
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->header()->setStretchLastSection(false);
    m_list->setColumnWidth(0, kNameColumnWidth);
    m_list->setColumnWidth(1, kPalmColumnWidth);
    for (const auto& [name, palmName] : namesAndPalmNames)
        m_list->addTopLevelItem(new QTreeWidgetItem(QStringList{name, palmName}));
    m_list->sortItems(0, Qt::AscendingOrder);
    m_list->setMinimumWidth(kNameColumnWidth + kPalmColumnWidth + 4);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &UserDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &UserDialog::reject);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &UserDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
}

void UserDialog::accept() {
    const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
    if (selected.size() != 1)
        return;
    m_selected = selected.front()->text(0);
    QDialog::accept();
}
