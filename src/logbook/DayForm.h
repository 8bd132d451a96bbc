#pragma once

#include "logbook/GlucoseClass.h"
#include "logbook/LogCells.h"

#include <QString>
#include <QStringList>

class LogbookContext;

// The kinds of day, as DAY_TYPE_ID stores them and "Type of Day:" lists them.
namespace DayType {
constexpr int Sick = 0;
constexpr int Normal = 1;
constexpr int Active = 2;
} // namespace DayType

// What the day dialog's "Date" page shows of one day and what it stores. The totals are
// read once and shown as they were; the kind of day and the note are the patient's to
// change and are written on the day as it is stored at that moment, because entries edited
// meanwhile on the entries page have already changed its totals.
class DayForm {
public:
    // The edit takes no more than the note's column holds, counted as stored.
    static constexpr int kNoteLimit = 256;

    DayForm(LogbookContext& context, int dayPk);

    // Reads the day and its note; false when the day is not there.
    bool load();
    bool loaded() const { return m_loaded; }
    int dayPk() const { return m_dayPk; }
    const QString& sampleDate() const { return m_sampleDate; }
    // The day written out in full, such as "Thursday March 15 2007"; the stored text as it
    // is when it is no date.
    QString caption() const;

    // An average of 0 means the day has no glucose reading: nothing is shown.
    bool hasAverageGlucose() const { return m_averageGlucose != 0; }
    QString averageGlucoseText() const;
    // Against the patient's own range: an average has no time of day.
    GlucoseClass averageGlucoseClass() const;
    QString maxKetoneText() const;
    LogIcon maxKetoneIcon() const;
    QString totalCarbsText() const;
    QString totalMedicationText() const;

    // "Sick", "Normal", "Active", in DAY_TYPE_ID order.
    static QStringList dayTypeNames();
    // Sick and active days have a picture; a normal day has none.
    static LogIcon dayTypeIcon(int dayType);

    int dayType() const { return m_dayType; }
    void setDayType(int dayType) { m_dayType = dayType; }
    // The note as stored, line breaks and wrap marks included (NoteText).
    const QString& noteText() const { return m_noteText; }
    void setNoteText(const QString& text) { m_noteText = text; }

    // Stores the kind of day and the note (created, changed, or removed when emptied) on
    // the day read again by PK. False when the day is gone or a write failed.
    bool apply();

private:
    LogbookContext& m_context;
    int m_dayPk;
    bool m_loaded = false;
    QString m_sampleDate;
    int m_averageGlucose = 0;
    int m_maxKetone = 0;
    int m_totalCarbs = 0;
    int m_totalInsulin = 0;
    int m_dayType = DayType::Normal;
    QString m_noteText;
};
