#include "settings/widgets/LogTypeMedDlg.h"

#include "logbook/LogbookContext.h"
#include "storage/Database.h"
#include "ui/Prompts.h"
#include "ui/widgets/DialogButtons.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int kFirstListId = 1024;
constexpr int kFirstAmountId = 1028;
} // namespace

LogTypeMedDlg::LogTypeMedDlg(LogbookContext& context, const QString& slotName,
                             const QString& medication, QWidget* parent)
    : QDialog(parent), m_context(context),
      m_form(SlotMedicationForm::activeMedications(context.database()), slotName, medication) {
    setWindowTitle(m_form.title());
    auto* top = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Medication Type:"), this), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Amount:"), this), 0, 1);
    for (int r = 0; r < SlotMedicationForm::kRowCount; ++r) {
        auto* list = new QComboBox(this);
        list->setObjectName(QString::number(kFirstListId + r));
        for (const SlotMedicationChoice& choice : m_form.choices())
            list->addItem(choice.name, QVariant::fromValue(choice.code));
        auto* amount = new QLineEdit(this);
        amount->setObjectName(QString::number(kFirstAmountId + r));
        grid->addWidget(list, r + 1, 0);
        grid->addWidget(amount, r + 1, 1);
        m_lists[static_cast<size_t>(r)] = list;
        m_amounts[static_cast<size_t>(r)] = amount;
        showRow(r);
        connect(list, &QComboBox::activated, this, [this, r](int choice) { chosen(r, choice); });
        connect(amount, &QLineEdit::textEdited, this,
                [this, r](const QString& text) { m_form.setAmount(r, text); });
    }
    top->addLayout(grid);

    m_ok = addOkCancel(*this, *top);
}

void LogTypeMedDlg::chosen(int row, int choice) {
    m_form.setAmount(row, amountEdit(row)->text());
    m_form.choose(row, choice);
    showRow(row);
}

void LogTypeMedDlg::showRow(int row) {
    const SlotMedicationRow& shown = m_form.row(row);
    medicationList(row)->setCurrentIndex(shown.choice);
    amountEdit(row)->setText(shown.amount);
    amountEdit(row)->setEnabled(shown.amountEnabled());
}

void LogTypeMedDlg::accept() {
    for (int r = 0; r < SlotMedicationForm::kRowCount; ++r)
        m_form.setAmount(r, amountEdit(r)->text());
    if (const std::optional<int> invalid = m_form.invalidRow()) {
        m_context.prompts().show(QString::fromLatin1(kProgramCaption),
                                 QString::fromLatin1(SlotMedicationForm::kInvalidDosage),
                                 PromptButtons::Ok, PromptIcon::Warning);
        amountEdit(*invalid)->setFocus();
        amountEdit(*invalid)->selectAll();
        return;
    }
    if (!m_form.resultFits()) {
        m_context.prompts().show(QString::fromLatin1(kProgramCaption),
                                 QString::fromLatin1(SlotMedicationForm::kTooLong),
                                 PromptButtons::Ok, PromptIcon::Warning);
        amountEdit(0)->setFocus();
        return;
    }
    m_result = m_form.result();
    QDialog::accept();
}
