#include "settings/widgets/PrefMiscDlg.h"

#include "settings/PatientSettingsContext.h"
#include "settings/PreferenceRules.h"
#include "storage/Conversions.h"
#include "storage/Preference.h"
#include "ui/Prompts.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

PrefMiscDlg::PrefMiscDlg(PatientSettingsContext& context, QWidget* parent)
    : PropertyPage(parent), m_context(context) {
    const Preference& preference = context.preference();
    m_fields.militaryTime = preference.getMilitaryTimeBol();
    m_fields.retainDays = preference.getRetainPcDayCnt();
    m_fields.glucoseUnit = preference.getGlucoseSampleCode();
    m_fields.deliveryCode = preference.getDeliveryCode();
    m_deliveryCode = m_fields.deliveryCode;

    m_military = new QCheckBox(QStringLiteral("View Times in Military format?"), this);
    m_military->setObjectName(QStringLiteral("1090"));
    m_military->setChecked(m_fields.militaryTime);
    m_askDelete = new QCheckBox(QStringLiteral("Ask before remove of any record?"), this);
    m_askDelete->setObjectName(QStringLiteral("1111"));
    m_askDelete->setChecked(preference.getAskDeleteBol());

    m_retention = new QLineEdit(QString::number(m_fields.retainDays), this);
    m_retention->setObjectName(QStringLiteral("1123"));
    m_retention->setMaximumWidth(m_retention->fontMetrics().horizontalAdvance(u'0') * 8);
    // Whatever is typed stays as typed: a number out of range, a sign or a letter is
    // reported when the page is left, never cut or dropped.
    auto* retentionRow = new QHBoxLayout;
    retentionRow->addWidget(new QLabel(QStringLiteral("Remove log entries after"), this));
    retentionRow->addWidget(m_retention);
    retentionRow->addWidget(new QLabel(QStringLiteral("days."), this));
    retentionRow->addStretch();

    auto* unitBox = new QGroupBox(QStringLiteral("Glucose Measurements"), this);
    m_mgDl = new QRadioButton(QStringLiteral("MG/DL"), unitBox);
    m_mgDl->setObjectName(QStringLiteral("1126"));
    m_mmol = new QRadioButton(QStringLiteral("MMOL/L"), unitBox);
    m_mmol->setObjectName(QStringLiteral("1127"));
    m_unit = new QButtonGroup(this);
    m_unit->addButton(m_mgDl, kGlucoseUnitMgDl);
    m_unit->addButton(m_mmol, kGlucoseUnitMmol);
    (m_fields.glucoseUnit == kGlucoseUnitMmol ? m_mmol : m_mgDl)->setChecked(true);
    auto* unitLayout = new QVBoxLayout(unitBox);
    unitLayout->addWidget(m_mgDl);
    unitLayout->addWidget(m_mmol);

    m_delivery = new QComboBox(this);
    m_delivery->setObjectName(QStringLiteral("1017"));
    for (const DeliveryChoice& choice : deliveryChoices())
        m_delivery->addItem(choice.name, choice.code);
    m_delivery->setCurrentIndex(deliveryChoiceIndex(m_deliveryCode));
    auto* deliveryRow = new QHBoxLayout;
    deliveryRow->addWidget(new QLabel(QStringLiteral("Default Medication Delivery:"), this));
    deliveryRow->addWidget(m_delivery);
    deliveryRow->addStretch();

    // Connected once the stored values are shown, so that only the patient's changes count.
    connect(m_military, &QCheckBox::toggled, this, &PropertyPage::changed);
    connect(m_askDelete, &QCheckBox::toggled, this, [this] {
        m_askDeleteTouched = true;
        emit changed();
    });
    connect(m_retention, &QLineEdit::textEdited, this, &PropertyPage::changed);
    connect(m_unit, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            emit changed();
    });
    connect(m_delivery, &QComboBox::activated, this, [this](int index) {
        m_deliveryCode = m_delivery->itemData(index).toInt();
        emit changed();
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_military);
    layout->addWidget(m_askDelete);
    layout->addLayout(retentionRow);
    layout->addWidget(unitBox);
    layout->addLayout(deliveryRow);
    layout->addStretch();
}

bool PrefMiscDlg::validate() {
    if (retentionDays(m_retention->text()))
        return true;
    m_context.prompts().show(QString::fromLatin1(kProgramCaption), retentionRangeText(),
                             PromptButtons::Ok, PromptIcon::Warning);
    m_retention->setFocus();
    m_retention->selectAll();
    return false;
}

bool PrefMiscDlg::apply() {
    m_fields.militaryTime = m_military->isChecked();
    if (m_askDeleteTouched)
        m_fields.askDelete = m_askDelete->isChecked();
    // validate() has accepted the text; an unchecked one keeps the stored value.
    m_fields.retainDays = retentionDays(m_retention->text()).value_or(m_fields.retainDays);
    m_fields.glucoseUnit = m_unit->checkedId();
    m_fields.deliveryCode = m_deliveryCode;
    return true;
}

void PrefMiscDlg::showEvent(QShowEvent* event) {
    // A removal answered on another page may have turned the question off since the page
    // was built; a box the patient has not touched shows what holds now.
    if (!m_askDeleteTouched) {
        const QSignalBlocker quiet(m_askDelete);
        m_askDelete->setChecked(m_context.preference().getAskDeleteBol());
    }
    PropertyPage::showEvent(event);
}
