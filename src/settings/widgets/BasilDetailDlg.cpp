#include "settings/widgets/BasilDetailDlg.h"

#include "logbook/LogbookContext.h"
#include "logbook/widgets/TimePicker.h"
#include "settings/PreferenceRules.h"
#include "settings/SettingsLists.h"
#include "storage/PreferenceTable.h"
#include "ui/widgets/DialogButtons.h"

#include <QDateTime>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTimeEdit>
#include <QVBoxLayout>

BasilDetailDlg::BasilDetailDlg(LogbookContext& context, const BasilRate& rate, QWidget* parent)
    : QDialog(parent), m_context(context), m_record(rate),
      m_start(rate.getStartTime(), kBasalTimeFormat) {
    setWindowTitle(QStringLiteral("Basil Detail"));
    m_time = new TimePicker(context.preference().getMilitaryTimeBol(), this);
    m_time->setObjectName(QStringLiteral("1148"));
    // A text that names no time of day is read as the clock reads it (a new rate's empty one
    // is midnight); OK then stores what the picker shows.
    m_time->setTime(m_start.shown().value_or(
        QDateTime::fromSecsSinceEpoch(clockTimeToday(m_record.getStartTime(), context.clock()))
            .time()));
    m_rate = new QLineEdit(m_record.getBasilMedAmt(), this);
    m_rate->setObjectName(QStringLiteral("1131"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Begin Basil at:"), m_time);
    form->addRow(QStringLiteral("Rate per hour:"), m_rate);

    auto* top = new QVBoxLayout(this);
    top->addLayout(form);
    m_ok = addOkCancel(*this, *top);
}

void BasilDetailDlg::accept() {
    // Stored in the 24-hour form whatever clock the patient reads.
    m_start.pick(m_time->time());
    const std::optional<BasalRefusal> refused = takeBasalDetail(
        m_context.database(), m_context.prompts(), m_record, m_rate->text(), m_start.text());
    if (!refused) {
        QDialog::accept();
        return;
    }
    if (refused->field == BasalField::Rate) {
        m_rate->setFocus();
        m_rate->selectAll();
    } else {
        m_time->setFocus();
    }
}
