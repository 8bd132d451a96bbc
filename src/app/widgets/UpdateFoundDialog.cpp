#include "app/widgets/UpdateFoundDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

UpdateFoundDialog::UpdateFoundDialog(const QString& currentVersion, const QString& availableVersion,
                                     QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Application Update Found"));
    auto* buttons = new QDialogButtonBox(this);
    m_go = buttons->addButton(QStringLiteral("Go Get It!"), QDialogButtonBox::AcceptRole);
    m_later =
        buttons->addButton(QStringLiteral("No, Remind me later"), QDialogButtonBox::RejectRole);
    m_go->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* versions = new QFormLayout;
    versions->addRow(QStringLiteral("Current version:"), new QLabel(currentVersion, this));
    versions->addRow(QStringLiteral("Available version:"), new QLabel(availableVersion, this));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(QStringLiteral("An update for this application is available."), this));
    layout->addLayout(versions);
    layout->addWidget(new QLabel(QStringLiteral("Would you like to download it now?"), this));
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
