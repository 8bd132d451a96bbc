#include "bolus/widgets/QbPrefGeneral.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

QbPrefGeneral::QbPrefGeneral(LogbookContext& context, QWidget* parent)
    : PropertyPage(parent), m_setup(context) {
    auto* about = new QLabel(
        QStringLiteral("RivezAdozu is a bolus calculator that will calculate insulin amounts for "
                       "carbohydrate intake and corrections based on time of day, sensitivity "
                       "and target ranges.The calculated values should only be used as a "
                       "guideline."),
        this);
    about->setWordWrap(true);
    auto* review = new QLabel(QStringLiteral("Review all amounts before administering"), this);

    m_insulin = new QComboBox(this);
    m_insulin->setObjectName(QStringLiteral("1136"));
    for (const QbGeneralSetup::BolusChoice& choice : m_setup.choices())
        m_insulin->addItem(choice.desc, choice.code);
    m_insulin->setCurrentIndex(m_setup.shownChoice());
    // Only the patient's own pick changes the code: a stored code no choice matches stays.
    // Until then a line under the box says that the insulin shown is not the one set up.
    auto* unset = new QLabel(
        QStringLiteral("No insulin is set up for bolusing yet: choose one from the list."), this);
    unset->setObjectName(QStringLiteral("insulinNotSetUp"));
    unset->setWordWrap(true);
    unset->setVisible(m_insulin->count() > 0 && !m_setup.shownIsStored());
    connect(m_insulin, &QComboBox::activated, this, [this, unset](int index) {
        m_setup.choose(index);
        unset->setVisible(false);
        emit changed();
    });

    m_minutes = new QLineEdit(QString::number(m_setup.minutes()), this);
    m_minutes->setObjectName(QStringLiteral("1149"));
    m_minutes->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,9}")), m_minutes));
    connect(m_minutes, &QLineEdit::textEdited, this, &PropertyPage::changed);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Insulin used for bolusing:"), m_insulin);
    form->addRow(QString(), unset);
    form->addRow(QStringLiteral("Minutes this insulin is active:"), m_minutes);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(about);
    layout->addLayout(form);
    layout->addWidget(review);
    layout->addStretch();
}

bool QbPrefGeneral::validate() {
    if (m_setup.takeMinutes(m_minutes->text()))
        return true;
    m_minutes->setFocus();
    m_minutes->selectAll();
    return false;
}

bool QbPrefGeneral::apply() {
    return m_setup.apply();
}
