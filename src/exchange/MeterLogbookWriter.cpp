#include "exchange/MeterLogbookWriter.h"

#include "logbook/DaySummary.h"
#include "logbook/LogbookContext.h"
#include "storage/Database.h"
#include "storage/Medication.h"
#include "storage/MedicationTable.h"
#include "storage/NoteTable.h"
#include "storage/Preference.h"
#include "storage/SampleDateTable.h"
#include "storage/SampleTable.h"
#include "storage/SampleType.h"
#include "storage/SyncState.h"
#include "storage/Text.h"

#include <algorithm>
#include <sqlite3.h>

namespace {

// Rows written on the connection so far (0 when it is closed).
sqlite3_int64 rowsWritten(const Database& db) {
    return db.handle() ? sqlite3_total_changes64(db.handle()) : 0;
}

} // namespace

MeterLogbookWriter::MeterLogbookWriter(LogbookContext& context)
    : m_context(context), m_db(context.database()),
      m_deliveryCode(context.preference().getDeliveryCode()) {
    for (int i = 0; i < context.slotCount(); ++i)
        m_slots.push_back(&context.slotAt(i));
}

bool MeterLogbookWriter::fail() {
    if (m_failure.isEmpty()) {
        m_failure = m_db.errorText();
        if (m_failure.isEmpty())
            m_failure = QStringLiteral("error %1").arg(m_db.lastError());
    }
    return false;
}

bool MeterLogbookWriter::learnMoments(const QString& first, const QString& last) {
    auto query = SampleTable::selectTimesBetween(m_db, first, last);
    if (!query)
        return fail();
    QSet<QString> moments;
    while (query->step())
        moments.insert(QString::fromUtf8(query->value(0)));
    query->finalize();
    if (m_db.lastError() != SQLITE_OK)
        return fail();
    m_moments = std::move(moments);
    return true;
}

std::unique_ptr<Sample> MeterLogbookWriter::existingEntry(const QString& timestamp) {
    if (m_moments && !m_moments->contains(timestamp))
        return nullptr;
    auto entry = SampleTable::getBySampleTime(m_db, timestamp);
    if (!entry && m_db.lastError() != SQLITE_OK)
        fail();
    return entry;
}

std::unique_ptr<Sample> MeterLogbookWriter::newEntry(const QString& timestamp) {
    auto entry = std::make_unique<Sample>();
    entry->setSampleTime(timestamp);
    entry->setDeliveryCode(m_deliveryCode);
    try {
        if (const SampleTypeAbs* slot = slotForTime(fromDateTimeText(timestamp), m_slots))
            entry->setSampleTypePk(slot->getPk());
    } catch (const InvalidDateText&) {
        // The readers only hand on moments that exist; a slot is then simply not chosen.
    }
    return entry;
}

int MeterLogbookWriter::dayPkOf(const QString& timestamp) {
    const QString date = timestamp.left(8);
    if (auto known = m_dayPks.constFind(date); known != m_dayPks.constEnd())
        return known.value();
    auto day = SampleDateTable::getByDate(m_db, date);
    if (!day) {
        if (m_db.lastError() != SQLITE_OK) {
            fail();
            return 0;
        }
        day = std::make_unique<SampleDate>();
        day->setSampleDate(date);
        if (!SampleDateTable::save(m_db, *day)) {
            fail();
            return 0;
        }
    }
    m_dayPks.insert(date, day->getPk());
    return day->getPk();
}

bool MeterLogbookWriter::store(Sample& entry, int state) {
    const int dayPk = dayPkOf(entry.getSampleTime());
    if (dayPk == 0)
        return false;
    // What SampleTable::saveWithDay does, with the day already known.
    entry.setSampleDatePk(dayPk);
    if (entry.getMedicationDosage().isEmpty() && entry.getCorrectionDosage().isEmpty())
        entry.setInsulinTime(QString());
    if (!SampleTable::save(m_db, entry, state))
        return fail();
    if (m_moments)
        m_moments->insert(entry.getSampleTime());
    m_touchedDates.insert(entry.getSampleTime().left(8));
    return true;
}

bool MeterLogbookWriter::storeNote(Sample& entry, const QStringList& lines, int timesStored) {
    std::unique_ptr<Note> note;
    if (entry.getNotePk() != 0)
        note = NoteTable::getByPk(m_db, entry.getNotePk());
    int state = SyncState::Changed;
    if (!note) {
        if (m_db.lastError() != SQLITE_OK)
            return fail();
        note = std::make_unique<Note>();
        note->setNoteType(NoteType::LogEntry);
        note->setOwnerPk(entry.getPk());
        if (timesStored == 1)
            state = SyncState::Added;
    }
    QString text = note->getText();
    for (const QString& line : lines) {
        if (text.contains(line))
            continue;
        text = text.isEmpty() ? line : text + u'\n' + line;
    }
    note->setText(text);
    if (!NoteTable::save(m_db, *note, state))
        return fail();
    entry.setNotePk(note->getPk());
    return true;
}

std::optional<QChar> MeterLogbookWriter::medicationCode(const QString& name) {
    // Looked up as it is stored: a longer name would never be found again.
    const QString stored = cutToChars(name, Medication::kMedDescWidth);
    if (auto known = m_codes.constFind(stored); known != m_codes.constEnd()) {
        if (!known.value())
            ++m_dosesWithoutMedication;
        return known.value();
    }
    const auto changesBefore = rowsWritten(m_db);
    auto medication = MedicationTable::getOrCreateByDesc(m_db, stored);
    std::optional<QChar> code;
    if (medication && !medication->getMedCode().isEmpty()) {
        code = medication->getMedCode()[0];
        if (rowsWritten(m_db) != changesBefore)
            ++m_medicationsCreated;
    } else if (m_db.lastError() != SQLITE_OK) {
        fail();
        return std::nullopt;
    } else {
        ++m_dosesWithoutMedication;
    }
    m_codes.insert(stored, code);
    return code;
}

bool MeterLogbookWriter::appendDose(Sample& entry, const QString& amount, QChar code) {
    const QString dosage = entry.getMedicationDosage();
    if (dosage.contains(code))
        return false;
    const QString dose = amount + code;
    const QString longer = dosage.isEmpty() ? dose : dosage + u' ' + dose;
    if (cutToChars(longer, Sample::kMedicationDosageWidth) == dosage)
        return false;
    entry.setMedicationDosage(longer);
    entry.setInsulinTime(entry.getSampleTime());
    return true;
}

bool MeterLogbookWriter::summarizeTouchedDays() {
    if (failed())
        return false;
    // Medications made by this import are not in the caches yet.
    if (m_medicationsCreated > 0)
        m_context.reloadPreference();
    const MedicationLookup medications = m_context.medicationLookup();
    QStringList dates(m_touchedDates.begin(), m_touchedDates.end());
    std::sort(dates.begin(), dates.end());
    for (const QString& date : dates) {
        summarizeDayOf(m_db, date, true, medications);
        if (m_db.lastError() != SQLITE_OK)
            return fail();
        ++m_daysSummarized;
    }
    return true;
}
