#include "settings/widgets/StoredDateEdit.h"

#include "storage/Clock.h"
#include "storage/Conversions.h"

#include <QCalendarWidget>
#include <QEvent>

namespace {

// A picker showing this date shows a blank instead: the stored date is empty or unreadable.
const QDate kNoDate(1900, 1, 1);

} // namespace

StoredDateEdit::StoredDateEdit(const QString& stored, const Clock& clock, QWidget* parent)
    : QDateEdit(parent), m_date(stored),
      m_today(dateOfText(toDateText(clock.now())).value_or(QDate())) {
    setCalendarPopup(true);
    setDisplayFormat(QStringLiteral("MM/dd/yyyy"));
    setMinimumDate(kNoDate);
    setSpecialValueText(QStringLiteral(" "));
    setDate(m_date.shown().value_or(kNoDate));
    // A blank picker would open its calendar in 1900; today is where a date is looked for.
    calendarWidget()->installEventFilter(this);
    // Connected only now, so that showing the stored date picks nothing.
    connect(this, &QDateEdit::dateChanged, this, [this](const QDate& date) {
        m_date.pick(date);
        emit picked();
    });
}

bool StoredDateEdit::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && watched == calendarWidget() && date() == kNoDate &&
        m_today.isValid())
        calendarWidget()->setCurrentPage(m_today.year(), m_today.month());
    return QDateEdit::eventFilter(watched, event);
}
