#include "sidelogs/widgets/SideLogListDlg.h"

#include "ui/widgets/RecordListPage.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

SideLogListDlg::SideLogListDlg(const QString& title, QWidget* parent) : QDialog(parent) {
    setWindowTitle(title);
    setModal(true);
}

void SideLogListDlg::placePage(RecordListPage* page, QHBoxLayout* buttonRow, bool withCancel) {
    m_page = page;
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(page);
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    buttonRow->addWidget(m_ok);
    if (withCancel) {
        m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
        connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
        buttonRow->addWidget(m_cancel);
    }
}
