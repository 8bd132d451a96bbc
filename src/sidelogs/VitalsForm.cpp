#include "sidelogs/VitalsForm.h"

#include "logbook/LocalMoment.h"
#include "logbook/LogbookContext.h"
#include "storage/BloodPressureTable.h"
#include "storage/Clock.h"
#include "storage/FieldLimits.h"
#include "storage/NoteTable.h"
#include "storage/Preference.h"
#include "storage/Text.h"
#include "storage/Transaction.h"

namespace {

// The number a field holds when it is a whole number within the range.
std::optional<int> numberIn(const QString& text, IntRange range) {
    const std::optional<long long> value = wholeNumber(text);
    if (!value || !range.contains(*value))
        return std::nullopt;
    return static_cast<int>(*value);
}

} // namespace

VitalsForm::VitalsForm(LogbookContext& context) : m_context(context) {
    const Preference& preference = context.preference();
    m_military = preference.getMilitaryTimeBol();
    const LocalMoment now = momentOf(context.clock().now());
    m_date = now.date;
    m_time = now.time;
    m_systolic = QString::number(preference.getBpSystolicNormal());
    m_diastolic = QString::number(preference.getBpDiastolicNormal());
    m_pulse = QString::number(m_record.getPulse());
}

bool VitalsForm::load(int pk) {
    Database& db = m_context.database();
    auto stored = BloodPressureTable::getByPk(db, pk);
    if (!stored)
        return false;
    m_record = *stored;
    // A stored time that names no moment cannot be shown; the pickers keep now, which the
    // patient sees before storing.
    if (const std::optional<LocalMoment> taken = storedMoment(m_record.getBpTime())) {
        m_date = taken->date;
        m_time = taken->time;
    }
    m_systolic = QString::number(m_record.getSystolic());
    m_diastolic = QString::number(m_record.getDiastolic());
    m_pulse = QString::number(m_record.getPulse());
    m_weight = m_record.getWeight();
    m_notes.clear();
    if (m_record.getNotePk() != 0)
        if (auto note = NoteTable::getByPk(db, m_record.getNotePk()))
            m_notes = note->getText();
    return true;
}

void VitalsForm::setDate(QDate date) {
    if (date.isValid() && date.year() >= 1900)
        m_date = date;
}

void VitalsForm::setTime(QTime time) {
    if (time.isValid())
        m_time = pickedTime(m_time, time);
}

std::optional<VitalsForm::Refusal> VitalsForm::validate() const {
    if (!numberIn(m_systolic, FieldLimits::kMeasuredSystolic))
        return Refusal{integerRangeText(FieldLimits::kMeasuredSystolic), Field::Systolic};
    if (!numberIn(m_diastolic, FieldLimits::kMeasuredDiastolic))
        return Refusal{integerRangeText(FieldLimits::kMeasuredDiastolic), Field::Diastolic};
    if (!m_pulse.trimmed().isEmpty() && !numberIn(m_pulse, FieldLimits::kPulse))
        return Refusal{integerRangeText(FieldLimits::kPulse), Field::Pulse};
    if (charCount(m_weight) > kWeightChars)
        return Refusal{textLengthText(kWeightChars), Field::Weight};
    if (charCount(m_notes) > kNotesChars)
        return Refusal{textLengthText(kNotesChars), Field::Notes};
    return std::nullopt;
}

std::optional<VitalsForm::Field> VitalsForm::check() {
    return tellRefusal(m_context.prompts(), validate());
}

int VitalsForm::store() {
    Database& db = m_context.database();
    Prompts& prompts = m_context.prompts();
    m_record.setBpTime(toDateTimeText(timeOf(m_date, m_time)));
    m_record.setSystolic(numberIn(m_systolic, FieldLimits::kMeasuredSystolic).value_or(0));
    m_record.setDiastolic(numberIn(m_diastolic, FieldLimits::kMeasuredDiastolic).value_or(0));
    m_record.setPulse(numberIn(m_pulse, FieldLimits::kPulse).value_or(0));
    m_record.setWeight(m_weight);

    // The note and the record are stored together or not at all: a record never points to a
    // note that is gone, and no note is left without its record.
    Transaction unit(db);
    bool noteInserted = false;
    if (!reportWrite(db, prompts, unit.isActive() && storeNote(&noteInserted)))
        return 0;
    const bool recordIsNew = isNew();
    if (!reportWrite(db, prompts, BloodPressureTable::save(db, m_record)))
        return 0;
    // A note made with a new record is stored before the record has a key; it learns its
    // owner now, still as a note the handheld has not seen.
    if (recordIsNew && noteInserted) {
        auto note = NoteTable::getByPk(db, m_record.getNotePk());
        if (note) {
            note->setOwnerPk(m_record.getPk());
            if (!reportWrite(db, prompts, NoteTable::save(db, *note, SyncState::Added)))
                return 0;
        }
    }
    return reportWrite(db, prompts, unit.commit()) ? m_record.getPk() : 0;
}

bool VitalsForm::storeNote(bool* inserted) {
    Database& db = m_context.database();
    if (m_notes.isEmpty()) {
        if (m_record.getNotePk() != 0) {
            if (!NoteTable::removeByPk(db, m_record.getNotePk()))
                return false;
            m_record.setNotePk(0);
        }
        return true;
    }
    std::unique_ptr<Note> note;
    if (m_record.getNotePk() != 0)
        note = NoteTable::getByPk(db, m_record.getNotePk());
    if (!note)
        note = std::make_unique<Note>();
    *inserted = note->getPk() == 0;
    note->setNoteType(NoteType::Vital);
    note->setOwnerPk(m_record.getPk());
    note->setText(m_notes);
    if (!NoteTable::save(db, *note))
        return false;
    m_record.setNotePk(note->getPk());
    return true;
}
