#include "bolus/widgets/QbPrefItemDlg.h"

#include "logbook/widgets/TimePicker.h"
#include "ui/widgets/DialogButtons.h"
#include <QDateTime>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimeEdit>
#include <QVBoxLayout>

QbPrefItemDlg::QbPrefItemDlg(const Layout& layout, const Clock& clock, bool military,
                             QWidget* parent)
    : QDialog(parent), m_clock(clock) {
    setWindowTitle(QString::fromLatin1(layout.title));
    auto* top = new QVBoxLayout(this);

    auto* timeRow = new QFormLayout;
    m_time = new TimePicker(military, this);
    m_time->setObjectName(QStringLiteral("1138"));
    timeRow->addRow(QString::fromLatin1(layout.timeLabel), m_time);
    top->addLayout(timeRow);

    auto* valueRows = new QFormLayout;
    for (const QbValueField& field : layout.fields) {
        // Whatever is typed stays visible: a sign or letter dropped on the way would leave a
        // number the patient did not type. The checks refuse it with a message instead.
        auto* edit = new QLineEdit(this);
        valueRows->addRow(QString::fromLatin1(field.label), edit);
        m_values.push_back(edit);
    }
    if (layout.valueGroup) {
        auto* group = new QGroupBox(QString::fromLatin1(layout.valueGroup), this);
        group->setLayout(valueRows);
        top->addWidget(group);
    } else {
        top->addLayout(valueRows);
    }

    m_ok = addOkCancel(*this, *top);
}

void QbPrefItemDlg::showEntry(std::time_t time, const std::vector<int>& numbers) {
    m_time->setTime(QDateTime::fromSecsSinceEpoch(time).time());
    for (size_t i = 0; i < numbers.size() && i < m_values.size(); ++i)
        m_values[i]->setText(QString::number(numbers[i]));
}

void QbPrefItemDlg::accept() {
    std::vector<QString> numbers;
    for (QLineEdit* edit : m_values)
        numbers.push_back(edit->text());
    const std::time_t picked =
        clockTimeToday(m_time->time().toString(QStringLiteral("HH:mm")), m_clock);
    const std::optional<QbItemFocus> refused = takeEntry(numbers, picked);
    if (!refused) {
        QDialog::accept();
        return;
    }
    switch (*refused) {
    case QbItemFocus::Unchanged:
        break;
    case QbItemFocus::Time:
        m_time->setFocus();
        break;
    case QbItemFocus::FirstValue:
        m_values.front()->setFocus();
        m_values.front()->selectAll();
        break;
    case QbItemFocus::SecondValue:
        m_values.back()->setFocus();
        m_values.back()->selectAll();
        break;
    }
}
