#include "app/widgets/NewPatientDialog.h"

#include "app/Q7User.h"
#include "logbook/widgets/CharLimitValidator.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

NewPatientDialog::NewPatientDialog(QWidget* parent) : QDialog(parent), m_name(new QLineEdit(this)) {
    setWindowTitle(tr("New Patient"));
    CharLimitValidator::install(m_name, Q7User::kMaxNameChars);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &NewPatientDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &NewPatientDialog::reject);
    connect(m_name, &QLineEdit::textChanged, this, &NewPatientDialog::updateOk);

    auto* form = new QFormLayout;
    form->addRow(tr("Patient Name:"), m_name);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    updateOk();
}

QString NewPatientDialog::name() const {
    return m_name->text();
}

void NewPatientDialog::accept() {
    if (m_ok->isEnabled())
        QDialog::accept();
}

void NewPatientDialog::updateOk() {
    // Blanks alone make no file name and no title.
    m_ok->setEnabled(!m_name->text().trimmed().isEmpty());
}
