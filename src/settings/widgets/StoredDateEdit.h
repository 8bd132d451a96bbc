#pragma once

#include "settings/PreferenceRules.h"

#include <QDateEdit>

class Clock;

// A date picker over a stored date text (YYYYMMDD). An empty or unreadable text shows as a
// blank, and the calendar then opens at today. The text changes only when the patient picks
// a date, so confirming a dialog without touching the picker keeps the stored text, an empty
// one included.
class StoredDateEdit : public QDateEdit {
    Q_OBJECT
public:
    StoredDateEdit(const QString& stored, const Clock& clock, QWidget* parent = nullptr);

    // The stored text, or the picked date in the stored form.
    const QString& storedText() const { return m_date.text(); }

signals:
    // The patient picked a date.
    void picked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    PickedDate m_date;
    QDate m_today;
};
