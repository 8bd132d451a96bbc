#include "bolus/widgets/RivezAdozuDlg.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace {

// Five digits keep every amount the calculator forms well inside an int.
QLineEdit* digitsEdit(QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,5}")), edit));
    return edit;
}

QLineEdit* shownField(QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::NoFocus);
    return field;
}

} // namespace

RivezAdozuDlg::RivezAdozuDlg(LogbookContext& context, QWidget* parent)
    : QDialog(parent), m_calculator(context) {
    setWindowTitle(QStringLiteral("Quick Bolus"));
    setModal(true);

    auto* parameters = new QGroupBox(QStringLiteral("Parameters"), this);
    m_glucose = digitsEdit(parameters);
    m_carbs = digitsEdit(parameters);
    m_target = shownField(parameters);
    m_ratio = shownField(parameters);
    m_sensitivity = shownField(parameters);
    auto* inputs = new QFormLayout(parameters);
    inputs->addRow(QStringLiteral("Glucose:"), m_glucose);
    inputs->addRow(QStringLiteral("Carbohydrates:"), m_carbs);
    inputs->addRow(QStringLiteral("Target Glucose:"), m_target);
    inputs->addRow(QStringLiteral("1u Carb Ratio"), m_ratio);
    inputs->addRow(QStringLiteral("1u Sensitivity"), m_sensitivity);

    auto* estimation = new QGroupBox(QStringLiteral("Estimation"), this);
    m_carbDose = shownField(estimation);
    m_correction = shownField(estimation);
    m_active = shownField(estimation);
    m_adjusted = shownField(estimation);
    m_total = shownField(estimation);
    auto* results = new QFormLayout(estimation);
    results->addRow(QStringLiteral("Carbohydrate Adjustment:"), m_carbDose);
    results->addRow(QStringLiteral("Glucose Correction:"), m_correction);
    results->addRow(QStringLiteral("Active Insulin:"), m_active);
    results->addRow(QStringLiteral("Adjusted Correction:"), m_adjusted);
    results->addRow(QStringLiteral("Quick Bolus Amt:"), m_total);

    auto* caution = new QLabel(QString::fromLatin1(QbCalculator::kEstimateOnly), this);
    caution->setWordWrap(true);

    m_calculate = new QPushButton(QStringLiteral("Calculate"), this);
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    // Enter asks for an estimate; accepting one always takes a deliberate press of OK.
    m_ok->setAutoDefault(false);
    m_cancel->setAutoDefault(false);
    m_calculate->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_calculate);
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(parameters);
    layout->addWidget(estimation);
    layout->addWidget(caution);
    layout->addLayout(buttons);

    m_calculator.open();
    m_glucose->setText(QString::number(m_calculator.glucose()));
    m_carbs->setText(QString::number(m_calculator.carbs()));
    m_ok->setEnabled(false);
    showFields();

    connect(m_glucose, &QLineEdit::textChanged, this, &RivezAdozuDlg::inputChanged);
    connect(m_carbs, &QLineEdit::textChanged, this, &RivezAdozuDlg::inputChanged);
    connect(m_calculate, &QPushButton::clicked, this, &RivezAdozuDlg::calculate);
    connect(m_ok, &QPushButton::clicked, this, &RivezAdozuDlg::acceptEstimate);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void RivezAdozuDlg::inputChanged() {
    m_calculator.inputsChanged();
    m_ok->setEnabled(false);
}

void RivezAdozuDlg::calculate() {
    m_ok->setEnabled(false);
    // An empty edit counts as 0, as "not entered".
    if (m_calculator.calculate(m_glucose->text().toInt(), m_carbs->text().toInt())) {
        showFields();
        m_ok->setEnabled(true);
    }
}

void RivezAdozuDlg::acceptEstimate() {
    m_result = m_calculator.accept();
    if (m_result)
        accept();
}

void RivezAdozuDlg::showFields() {
    m_target->setText(QString::number(m_calculator.target()));
    m_ratio->setText(QString::number(m_calculator.ratio()));
    m_sensitivity->setText(QString::number(m_calculator.sensitivity()));
    m_carbDose->setText(m_calculator.carbDoseText());
    m_correction->setText(m_calculator.correctionText());
    m_active->setText(m_calculator.activeInsulinText());
    m_adjusted->setText(m_calculator.adjustedCorrectionText());
    m_total->setText(m_calculator.totalText());
}

std::optional<QuickBolusResult> runQuickBolus(LogbookContext& context, QWidget* parent) {
    RivezAdozuDlg dialog(context, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.result();
}
