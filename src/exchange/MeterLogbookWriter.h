#pragma once

#include "storage/Conversions.h"
#include "storage/Sample.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

class Database;
class LogbookContext;

// What the meter imports store, and how: entries found by their exact moment or made new in
// the slot of their time with the patient's usual delivery, filed under their day (made when
// missing), medications found or made by name, notes, and the summaries of every day touched.
// Every failed write is remembered; the importer then abandons its unit of work.
class MeterLogbookWriter {
public:
    explicit MeterLogbookWriter(LogbookContext& context);

    // The live entry taken at exactly this moment, or nothing.
    std::unique_ptr<Sample> existingEntry(const QString& timestamp);
    // A new entry at this moment, not stored yet: the slot in force at its time and the
    // patient's usual delivery.
    std::unique_ptr<Sample> newEntry(const QString& timestamp);
    // Stores the entry under the day of its moment (the day is made when there is none): a
    // new entry as added, one already stored as changed.
    bool store(Sample& entry);
    // Adds each line the entry's note does not hold yet (a note is made for an entry without
    // one); when the note changed, it is stored and the entry is stored again with it.
    bool addNoteLines(Sample& entry, const QStringList& lines);

    // The code of the medication with this description, made as a new insulin when there is
    // none. Nothing when none can be made (every code letter is taken): the dose is then left
    // out and counted.
    std::optional<QChar> medicationCode(const QString& name);
    // Appends a dose (amount and the code) to the entry's medication dosage unless the dosage
    // already names that medication; true when the stored text would change.
    static bool appendDose(Sample& entry, const QString& amount, QChar code);

    // Summarizes every day an entry was stored in; medications made by the import count in
    // the insulin totals.
    bool summarizeTouchedDays();

    bool failed() const { return !m_failure.isEmpty(); }
    // The database's reason for the first failed write.
    const QString& failure() const { return m_failure; }
    int daysSummarized() const { return m_daysSummarized; }
    int medicationsCreated() const { return m_medicationsCreated; }
    int dosesWithoutMedication() const { return m_dosesWithoutMedication; }

private:
    bool fail();
    int dayPkOf(const QString& timestamp);

    LogbookContext& m_context;
    Database& m_db;
    std::vector<const SampleTypeAbs*> m_slots;
    int m_deliveryCode;
    QHash<QString, int> m_dayPks;
    QSet<QString> m_touchedDates;
    QHash<QString, std::optional<QChar>> m_codes;
    QString m_failure;
    int m_daysSummarized = 0;
    int m_medicationsCreated = 0;
    int m_dosesWithoutMedication = 0;
};
