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
#include <initializer_list>
#include <utility>

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

// A titled group of labelled fields, one row each.
QGroupBox* fieldGroup(const QString& title,
                      std::initializer_list<std::pair<const char*, QLineEdit*>> rows,
                      QWidget* parent) {
    auto* group = new QGroupBox(title, parent);
    auto* form = new QFormLayout(group);
    for (const auto& [label, field] : rows) {
        field->setParent(group);
        form->addRow(QString::fromLatin1(label), field);
    }
    return group;
}

} // namespace

RivezAdozuDlg::RivezAdozuDlg(LogbookContext& context, QWidget* parent)
    : QDialog(parent), m_calculator(context) {
    setWindowTitle(QStringLiteral("Quick Bolus"));
    setModal(true);

    m_glucose = digitsEdit(this);
    m_carbs = digitsEdit(this);
    m_target = shownField(this);
    m_ratio = shownField(this);
    m_sensitivity = shownField(this);
    m_carbDose = shownField(this);
    m_correction = shownField(this);
    m_active = shownField(this);
    m_adjusted = shownField(this);
    m_total = shownField(this);
    QGroupBox* parameters = fieldGroup(QStringLiteral("Parameters"),
                                       {{"Glucose:", m_glucose},
                                        {"Carbohydrates:", m_carbs},
                                        {"Target Glucose:", m_target},
                                        {"1u Carb Ratio", m_ratio},
                                        {"1u Sensitivity", m_sensitivity}},
                                       this);
    QGroupBox* estimation = fieldGroup(QStringLiteral("Estimation"),
                                       {{"Carbohydrate Adjustment:", m_carbDose},
                                        {"Glucose Correction:", m_correction},
                                        {"Active Insulin:", m_active},
                                        {"Adjusted Correction:", m_adjusted},
                                        {"Quick Bolus Amt:", m_total}},
                                       this);

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
