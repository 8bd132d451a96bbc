#pragma once

#include "sidelogs/SideLogs.h"
#include "storage/BloodPressure.h"

#include <QDate>
#include <QString>
#include <QTime>
#include <optional>

class LogbookContext;

// The vitals item editor without its widgets: when the vital record was taken, the blood
// pressure, pulse, weight and notes, their defaults, the checks made before storing and the
// storing with the record's note.
//
// The time is kept with its seconds although the picker shows none: a record stored again
// without a change of its hour or minute keeps the second it was taken at.
class VitalsForm {
public:
    // The weight as typed, and the notes as stored (NoteText: line breaks and wrap marks
    // included).
    static constexpr int kWeightChars = 5;
    static constexpr int kNotesChars = 256;

    enum class Field { Systolic, Diastolic, Pulse, Weight, Notes };
    using Refusal = FieldRefusal<Field>;

    // A new record: now, the patient's normal blood pressure, no pulse, weight or notes.
    explicit VitalsForm(LogbookContext& context);

    // Opens the stored record with that key and its note; false when no row has the key.
    bool load(int pk);
    bool isNew() const { return m_record.getPk() == 0; }
    LogbookContext& context() const { return m_context; }
    bool military() const { return m_military; }

    QDate date() const { return m_date; }
    QTime time() const { return m_time; }
    // An invalid date, or one before 1900, is ignored.
    void setDate(QDate date);
    void setTime(QTime time);

    // The numbers as typed.
    const QString& systolic() const { return m_systolic; }
    void setSystolic(const QString& text) { m_systolic = text; }
    const QString& diastolic() const { return m_diastolic; }
    void setDiastolic(const QString& text) { m_diastolic = text; }
    // An empty pulse is none, as 0 is.
    const QString& pulse() const { return m_pulse; }
    void setPulse(const QString& text) { m_pulse = text; }
    const QString& weight() const { return m_weight; }
    void setWeight(const QString& text) { m_weight = text; }
    const QString& notes() const { return m_notes; }
    void setNotes(const QString& stored) { m_notes = stored; }

    // The first refusal in field order, or nothing when the record can be stored.
    std::optional<Refusal> validate() const;
    // validate(), telling the patient of a refusal; the field to correct, or nothing.
    std::optional<Field> check();

    // Stores the note (removed when the notes are empty) and the record, and answers the
    // record's key; 0 when a write failed, which has been reported. Only what validate()
    // accepted may be stored.
    int store();

private:
    // Removes, creates or changes the record's note; false when a write failed.
    bool storeNote(bool* inserted);

    LogbookContext& m_context;
    BloodPressure m_record;
    bool m_military = false;
    QDate m_date;
    QTime m_time;
    QString m_systolic;
    QString m_diastolic;
    QString m_pulse;
    QString m_weight;
    QString m_notes;
};
