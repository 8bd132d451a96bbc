#include "sidelogs/widgets/A1cItemDlg.h"

#include "sidelogs/A1cForm.h"
#include "sidelogs/widgets/SideLogFields.h"
#include "ui/widgets/DialogButtons.h"

#include <QFormLayout>
#include <QPushButton>
#include <QVBoxLayout>

A1cItemDlg::A1cItemDlg(A1cForm& form, QWidget* parent) : QDialog(parent), m_form(form) {
    setWindowTitle(QStringLiteral("Hemoglobin A1c"));
    m_date = SideLogFields::datePicker(form.date(), "date", this);
    m_count = SideLogFields::textEdit(form.count(), A1cForm::kCountChars, "count", this);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("A1c Date:"), m_date);
    fields->addRow(QStringLiteral("A1c Count:"), m_count);
    auto* top = new QVBoxLayout(this);
    top->addLayout(fields);
    m_ok = addOkCancel(*this, *top);
}

void A1cItemDlg::accept() {
    m_form.setDate(m_date->date());
    m_form.setCount(m_count->text());
    if (m_form.check()) {
        m_count->setFocus();
        m_count->selectAll();
        return;
    }
    QDialog::accept();
}
