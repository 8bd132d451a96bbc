#include "logbook/LocalMoment.h"

#include "storage/Conversions.h"

LocalMoment momentOf(std::time_t time) {
    const QString text = toDateTimeText(time);
    return {QDate(text.mid(0, 4).toInt(), text.mid(4, 2).toInt(), text.mid(6, 2).toInt()),
            QTime(text.mid(8, 2).toInt(), text.mid(10, 2).toInt(), text.mid(12, 2).toInt())};
}

std::optional<LocalMoment> storedMoment(const QString& text) {
    LocalMoment moment;
    try {
        moment = momentOf(fromDateTimeText(text));
    } catch (const InvalidDateText&) {
        return std::nullopt;
    }
    const QString secondsText = text.mid(12, 2);
    bool ok = false;
    const int seconds = secondsText.toInt(&ok);
    if (ok && secondsText.size() == 2 && seconds >= 0 && seconds < 60)
        moment.time = QTime(moment.time.hour(), moment.time.minute(), seconds);
    return moment;
}

std::time_t timeOf(QDate date, QTime time) {
    const QString text = QString::asprintf("%04d%02d%02d%02d%02d00", date.year(), date.month(),
                                           date.day(), time.hour(), time.minute());
    return fromDateTimeText(text) + time.second();
}

QTime pickedTime(QTime current, QTime picked) {
    if (current.isValid() && picked.hour() == current.hour() && picked.minute() == current.minute())
        return current;
    return QTime(picked.hour(), picked.minute(), 0);
}
