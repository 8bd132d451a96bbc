#include "ui/widgets/AskDeleteDialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

AskDeleteDialog::AskDeleteDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Delete?"));
    setModal(true);

    m_message = new QLabel(QStringLiteral("Remove the selected information?"), this);
    m_alwaysAsk = new QCheckBox(QStringLiteral("Always ask?"), this);
    m_alwaysAsk->setChecked(true);
    m_yes = new QPushButton(QStringLiteral("Yes"), this);
    m_no = new QPushButton(QStringLiteral("No"), this);
    m_yes->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_yes);
    buttons->addWidget(m_no);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_message);
    layout->addWidget(m_alwaysAsk);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_yes, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_no, &QPushButton::clicked, this, &QDialog::reject);
}

DeleteAnswer AskDeleteDialog::ask() {
    // The box starts ticked every time, even when the same dialog asks again.
    m_alwaysAsk->setChecked(true);
    const bool yes = exec() == QDialog::Accepted;
    return {yes, m_alwaysAsk->isChecked()};
}
