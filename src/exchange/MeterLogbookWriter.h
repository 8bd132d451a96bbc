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

    // Reads at once which moments from `first` to `last` (timestamps) have a live entry, so
    // that existingEntry looks only those up.
    bool learnMoments(const QString& first, const QString& last);
    // The live entry taken at exactly this moment, or nothing.
    std::unique_ptr<Sample> existingEntry(const QString& timestamp);
    // A new entry at this moment, not stored yet: the slot in force at its time and the
    // patient's usual delivery.
    std::unique_ptr<Sample> newEntry(const QString& timestamp);
    // Stores the entry under the day of its moment (the day is made when there is none) with
    // this sync state: a new entry is inserted, one already stored is updated. As whenever an
    // entry is stored, an entry without doses keeps no insulin time.
    bool store(Sample& entry, int state);
    // Adds each line the entry's note does not hold yet (a note owned by the entry is made when
    // it has none) and stores the note, linked to the entry (which the caller stores next).
    // `timesStored`: how many records stored the note one after another; a new note stored
    // more than once is a changed one.
    bool storeNote(Sample& entry, const QStringList& lines, int timesStored);

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
    // Moments with a live entry, once learnt; entries stored by the import are added.
    std::optional<QSet<QString>> m_moments;
    QSet<QString> m_touchedDates;
    QHash<QString, std::optional<QChar>> m_codes;
    QString m_failure;
    int m_daysSummarized = 0;
    int m_medicationsCreated = 0;
    int m_dosesWithoutMedication = 0;
};
