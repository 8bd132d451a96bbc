#pragma once

#include "bolus/QbCalculator.h"

#include <QDialog>
#include <optional>

class LogbookContext;
class QLineEdit;
class QPushButton;
class QWidget;

// The quick bolus dialog: two inputs, the settings in force and the estimate. Every rule
// lives in QbCalculator; the dialog reads the edits, shows the fields and keeps OK off
// whenever the estimate shown does not belong to the inputs shown.
class RivezAdozuDlg : public QDialog {
    Q_OBJECT
public:
    // Opening looks up the settings at once, so their messages come before the dialog shows.
    explicit RivezAdozuDlg(LogbookContext& context, QWidget* parent = nullptr);

    // The accepted estimate; nothing unless the dialog was closed with OK.
    const std::optional<QuickBolusResult>& result() const { return m_result; }
    const QbCalculator& calculator() const { return m_calculator; }

    QLineEdit* glucoseEdit() const { return m_glucose; }
    QLineEdit* carbsEdit() const { return m_carbs; }
    QLineEdit* targetField() const { return m_target; }
    QLineEdit* ratioField() const { return m_ratio; }
    QLineEdit* sensitivityField() const { return m_sensitivity; }
    QLineEdit* carbDoseField() const { return m_carbDose; }
    QLineEdit* correctionField() const { return m_correction; }
    QLineEdit* activeInsulinField() const { return m_active; }
    QLineEdit* adjustedCorrectionField() const { return m_adjusted; }
    QLineEdit* totalField() const { return m_total; }
    QPushButton* calculateButton() const { return m_calculate; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }

private:
    void calculate();
    void acceptEstimate();
    void inputChanged();
    void showFields();

    QbCalculator m_calculator;
    std::optional<QuickBolusResult> m_result;

    QLineEdit* m_glucose = nullptr;
    QLineEdit* m_carbs = nullptr;
    QLineEdit* m_target = nullptr;
    QLineEdit* m_ratio = nullptr;
    QLineEdit* m_sensitivity = nullptr;
    QLineEdit* m_carbDose = nullptr;
    QLineEdit* m_correction = nullptr;
    QLineEdit* m_active = nullptr;
    QLineEdit* m_adjusted = nullptr;
    QLineEdit* m_total = nullptr;
    QPushButton* m_calculate = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

// Runs the dialog modally; the accepted estimate, or nothing when it was cancelled.
std::optional<QuickBolusResult> runQuickBolus(LogbookContext& context, QWidget* parent);
