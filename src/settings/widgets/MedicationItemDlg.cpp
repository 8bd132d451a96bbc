#include "settings/widgets/MedicationItemDlg.h"

#include "logbook/LogbookContext.h"
#include "settings/MedicationItemRules.h"
#include "settings/SettingsLists.h"
#include "settings/widgets/LimitedEdit.h"
#include "settings/widgets/StoredDateEdit.h"
#include "ui/widgets/DialogButtons.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

constexpr int kNameChars = 25;
constexpr int kRxChars = 10;
constexpr int kMostExpireDays = 99999;

QCheckBox* checkBox(const char* label, bool checked, const char* name, QWidget* parent) {
    auto* box = new QCheckBox(QString::fromLatin1(label), parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setChecked(checked);
    return box;
}

} // namespace

MedicationItemDlg::MedicationItemDlg(LogbookContext& context, const Medication& medication,
                                     QWidget* parent)
    : QDialog(parent), m_prompts(context.prompts()), m_record(medication) {
    setWindowTitle(QStringLiteral("Medication"));

    m_name = limitedEdit(m_record.getMedDesc(), kNameChars, "1063", this);
    m_code = new QComboBox(this);
    m_code->setObjectName(QStringLiteral("1067"));
    m_code->addItems(freeCodeLetters(context.database(), m_record.getPk()));
    // A new medication has no letter until the patient chooses one.
    m_code->setCurrentIndex(m_code->findText(m_record.getMedCode()));
    connect(m_code, &QComboBox::activated, this,
            [this](int index) { m_record.setMedCode(m_code->itemText(index)); });

    m_active = checkBox("Active", m_record.getActiveBol(), "1062", this);
    m_include = checkBox("Include in totals", m_record.getIncludeInTotalsBol(), "1066", this);
    m_insulin = checkBox("Is Insulin", m_record.getIsInsulinBol(), "1124", this);
    m_rx = limitedEdit(m_record.getRxOrderId(), kRxChars, "1064", this);

    m_increment = new QComboBox(this);
    m_increment->setObjectName(QStringLiteral("1068"));
    for (const char* step : SettingsListText::kIncrements)
        m_increment->addItem(QString::fromLatin1(step));
    const int increment = m_record.getIncrementByCode();
    m_increment->setCurrentIndex(increment >= 0 && increment < m_increment->count() ? increment
                                                                                    : -1);

    m_opened = new StoredDateEdit(m_record.getOpenDate(), context.clock(), this);
    m_opened->setObjectName(QStringLiteral("1069"));

    m_expireDays = new QSpinBox(this);
    m_expireDays->setObjectName(QStringLiteral("1070"));
    m_expireDays->setRange(0, kMostExpireDays);
    m_expireDays->setValue(m_record.getExpireDayCnt());

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Name:"), m_name);
    form->addRow(QStringLiteral("Code:"), m_code);
    form->addRow(m_active);
    form->addRow(m_include);
    form->addRow(m_insulin);
    form->addRow(QStringLiteral("Rx #:"), m_rx);
    form->addRow(QStringLiteral("Increment:"), m_increment);
    form->addRow(QStringLiteral("Opened:"), m_opened);
    form->addRow(QStringLiteral("Expire Days:"), m_expireDays);

    auto* top = new QVBoxLayout(this);
    top->addLayout(form);
    m_ok = addOkCancel(*this, *top);
}

void MedicationItemDlg::accept() {
    m_record.setMedDesc(m_name->text());
    m_record.setActiveBol(m_active->isChecked());
    m_record.setIncludeInTotalsBol(m_include->isChecked());
    m_record.setIsInsulinBol(m_insulin->isChecked());
    m_record.setRxOrderId(m_rx->text());
    // A stored step the list does not know is kept rather than lost.
    if (m_increment->currentIndex() >= 0)
        m_record.setIncrementByCode(m_increment->currentIndex());
    m_record.setOpenDate(m_opened->storedText());
    m_record.setExpireDayCnt(m_expireDays->value());
    if (auto field = MedicationItemRules::check(m_prompts, m_record)) {
        if (*field == MedicationItemRules::Field::Name)
            m_name->setFocus();
        else
            m_code->setFocus();
        return;
    }
    QDialog::accept();
}
