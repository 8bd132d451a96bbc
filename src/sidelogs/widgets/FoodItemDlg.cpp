#include "sidelogs/widgets/FoodItemDlg.h"

#include "sidelogs/FoodForm.h"
#include "sidelogs/widgets/SideLogFields.h"
#include "ui/widgets/DialogButtons.h"

#include <QFormLayout>
#include <QPushButton>
#include <QVBoxLayout>

FoodItemDlg::FoodItemDlg(FoodForm& form, QWidget* parent) : QDialog(parent), m_form(form) {
    setWindowTitle(QStringLiteral("Foods"));
    m_name = SideLogFields::textEdit(form.name(), FoodForm::kNameChars, "name", this);
    // Any text is taken as typed; the form refuses what is not a count in range.
    m_carbs = SideLogFields::textEdit(form.carbs(), 0, "carbs", this);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Name and serving size:"), m_name);
    fields->addRow(QStringLiteral("Carbohydrate content:"), m_carbs);
    auto* top = new QVBoxLayout(this);
    top->addLayout(fields);
    m_ok = addOkCancel(*this, *top);
    // Room for a whole name of 25 characters.
    m_name->setMinimumWidth(
        m_name->fontMetrics().horizontalAdvance(QString(FoodForm::kNameChars, u'n')) + 16);
    SideLogFields::fitDigits(m_carbs, 5);
}

void FoodItemDlg::accept() {
    m_form.setName(m_name->text());
    m_form.setCarbs(m_carbs->text());
    if (const auto field = m_form.check()) {
        QLineEdit* edit = *field == FoodForm::Field::Name ? m_name : m_carbs;
        edit->setFocus();
        edit->selectAll();
        return;
    }
    QDialog::accept();
}
