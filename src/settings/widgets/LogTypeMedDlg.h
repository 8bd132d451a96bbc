#pragma once

#include "settings/SlotMedicationForm.h"

#include <QDialog>
#include <array>

class LogbookContext;
class QComboBox;
class QLineEdit;
class QPushButton;

// Edits one slot's usual medication as up to three doses; on OK the doses are in result().
class LogTypeMedDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kTitle = SlotMedicationForm::kTitle;

    LogTypeMedDlg(LogbookContext& context, const QString& slotName, const QString& medication,
                  QWidget* parent = nullptr);

    QComboBox* medicationList(int row) const { return m_lists.at(static_cast<size_t>(row)); }
    QLineEdit* amountEdit(int row) const { return m_amounts.at(static_cast<size_t>(row)); }
    QPushButton* okButton() const { return m_ok; }
    const SlotMedicationForm& form() const { return m_form; }
    // The slot's medication as confirmed; meaningful once the dialog was accepted.
    const QString& result() const { return m_result; }

    // Closes only when every chosen medication has a valid amount.
    void accept() override;

private:
    void chosen(int row, int choice);
    void showRow(int row);

    LogbookContext& m_context;
    SlotMedicationForm m_form;
    std::array<QComboBox*, SlotMedicationForm::kRowCount> m_lists{};
    std::array<QLineEdit*, SlotMedicationForm::kRowCount> m_amounts{};
    QPushButton* m_ok = nullptr;
    QString m_result;
};
