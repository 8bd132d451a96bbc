#pragma once

#include <QDate>
#include <QString>
#include <QTime>
#include <ctime>
#include <optional>

// A moment as the date and time pickers of the dialogs show it: a local date and a time of
// day, seconds included although the pickers show none.
struct LocalMoment {
    QDate date;
    QTime time;
};

// The local date and time of day of a moment, seconds included.
LocalMoment momentOf(std::time_t time);

// A stored timestamp as a local moment, with the seconds it was stored with; nothing when
// the text names no moment.
std::optional<LocalMoment> storedMoment(const QString& text);

// The local moment of a date and a time of day. Dates before 1900 must not get here (the
// dialogs' pickers start at 1900), so the conversion does not fail.
std::time_t timeOf(QDate date, QTime time);

// The time picked, with the seconds it had as long as the hour and minute stay the same:
// the pickers show no seconds, so only a time the patient left alone keeps them.
QTime pickedTime(QTime current, QTime picked);
