#include "settings/widgets/MeterDlg.h"

#include "logbook/LogbookContext.h"
#include "settings/SettingsLists.h"
#include "settings/widgets/LimitedEdit.h"
#include "settings/widgets/StoredDateEdit.h"
#include "ui/widgets/DialogButtons.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kTextChars = 25;
constexpr int kSerialChars = 11;

} // namespace

MeterDlg::MeterDlg(LogbookContext& context, const Meter& meter, QWidget* parent)
    : QDialog(parent), m_record(meter) {
    setWindowTitle(QStringLiteral("Glucose Meter"));
    m_desc = limitedEdit(m_record.getDesc(), kTextChars, "1053", this);
    m_model = limitedEdit(m_record.getModel(), kTextChars, "1054", this);
    m_mfg = limitedEdit(m_record.getMfg(), kTextChars, "1055", this);
    m_serial = limitedEdit(m_record.getSerialNo(), kSerialChars, "1056", this);
    m_serviceDate = new StoredDateEdit(m_record.getSeriviceDate(), context.clock(), this);
    m_serviceDate->setObjectName(QStringLiteral("1057"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Description:"), m_desc);
    form->addRow(QStringLiteral("Model:"), m_model);
    form->addRow(QStringLiteral("Manufacturer:"), m_mfg);
    form->addRow(QStringLiteral("Serial Number:"), m_serial);
    form->addRow(QStringLiteral("Service Date:"), m_serviceDate);

    auto* top = new QVBoxLayout(this);
    top->addLayout(form);
    m_ok = addOkCancel(*this, *top);
}

void MeterDlg::accept() {
    m_record.setDesc(m_desc->text());
    m_record.setModel(m_model->text());
    m_record.setMfg(m_mfg->text());
    m_record.setSerialNo(m_serial->text());
    m_record.setSeriviceDate(m_serviceDate->storedText());
    QDialog::accept();
}
