#include "logbook/SampleForm.h"

#include "logbook/DaySummary.h"
#include "logbook/LocalMoment.h"
#include "logbook/LogbookContext.h"
#include "storage/Clock.h"
#include "storage/FieldLimits.h"
#include "storage/MedicationTable.h"
#include "storage/NoteTable.h"
#include "storage/Preference.h"
#include "storage/SampleDateTable.h"
#include "storage/SampleTable.h"
#include "storage/SampleType.h"
#include "storage/SyncState.h"
#include "ui/Prompts.h"

#include <memory>

namespace {

qsizetype charCount(const QString& text) {
    return text.toUcs4().size();
}

} // namespace

SampleForm::SampleForm(LogbookContext& context, const Sample& entry, const QString& initialNotes)
    : m_context(context), m_entry(entry), m_openedTime(entry.getSampleTime()) {
    const Preference& preference = context.preference();
    m_military = preference.getMilitaryTimeBol();
    m_glucoseUnit = preference.getGlucoseSampleCode();
    loadChoices();
    const std::time_t now = context.clock().now();

    m_carbs = QString::number(entry.getCarbCnt());
    m_glucose = formatGlucose(entry.getGlucoseCnt(), m_glucoseUnit);
    // A stored time that names no moment cannot be shown; the pickers then start at now, which
    // the patient sees before storing.
    const LocalMoment opened = storedMoment(entry.getSampleTime()).value_or(momentOf(now));
    m_date = m_openedDate = opened.date;
    m_time = opened.time;

    const QString& medication = entry.getMedicationDosage();
    const QString& correction = entry.getCorrectionDosage();
    const bool hasDoses = !medication.isEmpty() || !correction.isEmpty();
    if (!hasDoses)
        m_entry.setInsulinTime(QString());
    else if (auto given = storedMoment(entry.getInsulinTime()))
        m_medicationTime = m_openedMedicationTime = given->time;
    else
        m_medicationTime = momentOf(now).time;

    m_newSite = entry.getNewSiteBol();
    m_notes = initialNotes;
    if (entry.getNotePk() > 0) {
        if (auto note = NoteTable::getByPk(context.database(), entry.getNotePk()))
            m_notes = note->getText();
    }

    m_ketoneCode = entry.getKeytoneCode();
    m_slotPk = entry.getSampleTypePk();
    m_deliveryCode = entry.getDeliveryCode();

    if (!hasDoses) {
        // Doses about to be entered are usually given now; for an entry of earlier in the
        // day they were given at its time.
        constexpr std::time_t kRecent = 61 * 60;
        m_medicationTime = now - entryTime() < kRecent ? momentOf(now).time : m_time;
    } else {
        fillRows(medication, 0, kMedicationRows, &m_keptMedication);
        fillRows(correction, kCorrectionRow, 1, &m_keptCorrection);
    }
    m_presetDoses = medication.size() + correction.size() >= 2;

    if (isNew()) {
        applySlotDefaults();
        m_deliveryCode = preference.getDeliveryCode();
    }
    for (int i = 0; i < kRowCount; ++i)
        applyRowRule(i);
}

QStringList SampleForm::ketoneNames() {
    return QString::fromLatin1(kKetoneNames).split(QLatin1Char(';'));
}

void SampleForm::loadChoices() {
    for (int i = 0; i < m_context.slotCount(); ++i) {
        const SampleTypeAbs& slot = m_context.slotAt(i);
        m_slotChoices.push_back({slot.getDesc(), slot.getPk()});
    }

    Database& db = m_context.database();
    if (auto query = MedicationTable::selectAllByDesc(db)) {
        while (auto medication = MedicationTable::getNext(db, *query)) {
            // A medication without a code cannot appear in a dosage list.
            if (!medication->getActiveBol() || medication->getMedCode().isEmpty())
                continue;
            m_medicationChoices.push_back(
                {medication->getMedDesc(), medication->getMedCode().at(0)});
        }
    }
    m_medicationChoices.push_back({QStringLiteral("None"), QChar()});
}

bool SampleForm::isChoosable(QChar code) const {
    if (code.isNull())
        return false;
    for (const MedicationChoice& choice : m_medicationChoices)
        if (choice.code == code)
            return true;
    return false;
}

// Doses go to the rows in order. A dose no row can show (its medication is not in the lists,
// or the rows are full) is never dropped: it goes to `kept` and is stored again as it was.
// Without `kept` (a slot's usual doses, which are only a suggestion) it is left out.
void SampleForm::fillRows(const QString& dosage, int first, int count, std::vector<Dose>* kept) {
    int next = first;
    for (const DosageToken& dose : dosageTokens(dosage)) {
        if (next < first + count && isChoosable(dose.entry.code)) {
            m_rows.at(next++) = {dose.entry.code, dose.entry.amount, false};
        } else if (kept) {
            kept->push_back(dose);
        }
    }
}

void SampleForm::applyRowRule(int index) {
    DoseRow& row = m_rows.at(index);
    if (row.code.isNull())
        row.amount.clear();
    else if (row.amount.isEmpty())
        row.amount = QStringLiteral("0.0");
    row.amountEnabled = !row.amount.isEmpty();
}

void SampleForm::selectMedication(int index, QChar code) {
    m_rows.at(index).code = isChoosable(code) ? code : QChar();
    applyRowRule(index);
}

std::time_t SampleForm::entryTime() const {
    return timeOf(m_date, m_time);
}

void SampleForm::setEntryTime(QDate date, QTime time) {
    if (!date.isValid() || date.year() < 1900 || !time.isValid())
        return;
    m_date = date;
    m_time = pickedTime(m_time, time);
}

void SampleForm::setMedicationTime(QTime time) {
    if (time.isValid())
        m_medicationTime = pickedTime(m_medicationTime, time);
}

void SampleForm::entryTimeLeft(bool towardOk) {
    if (!isNew())
        return;
    const auto before = m_rows;
    applySlotDefaults();
    if (towardOk && m_rows != before)
        m_holdAccept = true;
}

void SampleForm::applySlotDefaults() {
    std::vector<const SampleTypeAbs*> slotList;
    for (int i = 0; i < m_context.slotCount(); ++i)
        slotList.push_back(&m_context.slotAt(i));
    const SampleTypeAbs* slot = slotForTime(entryTime(), slotList);
    if (!slot)
        return;
    m_slotPk = slot->getPk();
    // Doses the entry came with (from the bolus calculator) are what was given.
    if (m_presetDoses)
        return;
    m_medicationTime = m_time;
    for (int i = 0; i < kMedicationRows; ++i)
        m_rows.at(i) = DoseRow{};
    fillRows(slot->getMedicationDosage(), 0, kMedicationRows, nullptr);
    for (int i = 0; i < kMedicationRows; ++i)
        applyRowRule(i);
}

void SampleForm::glucoseLeft() {
    if (m_glucose.isEmpty() || m_glucoseUnit != kGlucoseUnitMmol)
        return;
    if (!m_glucose.contains(u'.'))
        m_glucose += QStringLiteral(".0");
    else if (m_glucose.endsWith(u'.'))
        // "6." would be read as 0.6 just as "6" would.
        m_glucose += u'0';
}

QString SampleForm::keptMedicationDoses() const {
    return composeRows(0, 0, m_keptMedication);
}

QString SampleForm::keptCorrectionDoses() const {
    return composeRows(0, 0, m_keptCorrection);
}

QString SampleForm::composeRows(int first, int count, const std::vector<Dose>& kept) const {
    std::vector<DosageEntry> entries;
    for (int i = first; i < first + count; ++i) {
        const DoseRow& row = m_rows.at(i);
        if (!row.code.isNull() && !row.amount.isEmpty())
            entries.push_back({row.code, row.amount});
    }
    for (const Dose& dose : kept)
        entries.push_back({QChar(), dose.text});
    return composeDosage(entries);
}

std::optional<SampleRefusal> SampleForm::validate() {
    glucoseLeft();
    if (entryTime() > m_context.clock().now())
        return SampleRefusal{QString::fromLatin1(kFutureText)};
    if (!m_glucose.isEmpty() &&
        (!isValidGlucoseEntry(m_glucose, m_glucoseUnit) || charCount(m_glucose) > kGlucoseLength))
        return SampleRefusal{QString::fromLatin1(kGlucoseText), kGlucoseFocus};
    // 0 is the entry without a reading, as an empty field is.
    const IntRange glucoseRange = FieldLimits::glucose(m_glucoseUnit);
    const int glucose = m_glucose.isEmpty() ? 0 : parseGlucoseEntry(m_glucose);
    if (glucose != 0 && !glucoseRange.contains(glucose))
        return SampleRefusal{
            glucoseRangeText(QStringLiteral("Glucose"), glucoseRange, m_glucoseUnit) +
                QStringLiteral(" Enter 0 or nothing for an entry without a reading."),
            kGlucoseFocus};
    if (!carbsCount())
        return SampleRefusal{fieldRangeText(QStringLiteral("Carbohydrates"), FieldLimits::kCarbs,
                                            QStringLiteral("grams")),
                             kCarbsFocus};
    for (int i = 0; i < kRowCount; ++i) {
        const DoseRow& row = m_rows.at(i);
        if (!row.code.isNull() && !isValidDosageAmount(row.amount))
            return SampleRefusal{QString::fromLatin1(kDosageText), i};
    }
    // The record keeps what its column holds; a dosage it would cut does not fit.
    Sample probe;
    const QString medication = composeRows(0, kMedicationRows, m_keptMedication);
    probe.setMedicationDosage(medication);
    if (probe.getMedicationDosage() != medication)
        return SampleRefusal{QString::fromLatin1(kDosageTooLongText), 0};
    const QString correction = composeRows(kCorrectionRow, 1, m_keptCorrection);
    probe.setCorrectionDosage(correction);
    if (probe.getCorrectionDosage() != correction)
        return SampleRefusal{QString::fromLatin1(kDosageTooLongText), kCorrectionRow};
    return std::nullopt;
}

std::optional<int> SampleForm::carbsCount() const {
    if (m_carbs.trimmed().isEmpty())
        return 0;
    const std::optional<long long> grams = wholeNumber(m_carbs);
    if (!grams || !FieldLimits::kCarbs.contains(*grams))
        return std::nullopt;
    return static_cast<int>(*grams);
}

bool SampleForm::check() {
    m_focusRow = -1;
    if (m_holdAccept) {
        m_holdAccept = false;
        m_context.prompts().information(QString::fromLatin1(kCaption),
                                        QString::fromLatin1(kDosesFilledText));
        return false;
    }
    const std::optional<SampleRefusal> refusal = validate();
    if (!refusal)
        return true;
    m_focusRow = refusal->focusRow;
    m_context.prompts().show(QString::fromLatin1(kCaption), refusal->text, PromptButtons::Ok,
                             PromptIcon::Warning);
    return false;
}

int SampleForm::store() {
    Database& db = m_context.database();
    const bool wasNew = isNew();

    m_entry.setCarbCnt(carbsCount().value_or(0));
    m_entry.setGlucoseCnt(m_glucose.isEmpty() ? 0 : parseGlucoseEntry(m_glucose));
    m_entry.setKeytoneCode(m_ketoneCode);
    m_entry.setSampleTypePk(m_slotPk);
    m_entry.setSampleTime(toDateTimeText(entryTime()));
    m_entry.setNewSiteBol(m_newSite);
    m_entry.setDeliveryCode(m_deliveryCode);
    m_entry.setMedicationDosage(composeRows(0, kMedicationRows, m_keptMedication));
    m_entry.setCorrectionDosage(composeRows(kCorrectionRow, 1, m_keptCorrection));
    // Doses given before midnight for an entry after it keep their own date, as long as
    // neither the entry's date nor the time they were given was changed.
    const bool insulinTimeKept = m_openedMedicationTime.isValid() &&
                                 m_medicationTime == m_openedMedicationTime &&
                                 m_date == m_openedDate;
    if (m_entry.getMedicationDosage().isEmpty() && m_entry.getCorrectionDosage().isEmpty())
        m_entry.setInsulinTime(QString());
    else if (!insulinTimeKept)
        m_entry.setInsulinTime(toDateTimeText(timeOf(m_date, m_medicationTime)));

    // The entry's NOTE_PK is what links it to its note; OWNER_PK points back at the entry
    // as well, so that the note can be traced to its owner without a search.
    std::unique_ptr<Note> note;
    bool noteAdded = false;
    if (m_notes.isEmpty()) {
        if (m_entry.getNotePk() > 0) {
            NoteTable::removeByPk(db, m_entry.getNotePk());
            m_entry.setNotePk(0);
        }
    } else {
        if (m_entry.getNotePk() > 0)
            note = NoteTable::getByPk(db, m_entry.getNotePk());
        if (!note) {
            note = std::make_unique<Note>();
            noteAdded = true;
        }
        bool changed = false;
        if (note->getText() != m_notes) {
            note->setText(m_notes);
            note->setNoteType(NoteType::LogEntry);
            changed = true;
        }
        if (!wasNew && note->getOwnerPk() != m_entry.getPk()) {
            note->setOwnerPk(m_entry.getPk());
            changed = true;
        }
        if (changed)
            NoteTable::save(db, *note);
        m_entry.setNotePk(note->getPk());
    }

    auto day = SampleDateTable::getByDate(db, m_entry.getSampleTime());
    if (!day) {
        day = std::make_unique<SampleDate>();
        day->setSampleDate(m_entry.getSampleTime().left(8));
        SampleDateTable::save(db, *day);
    }
    SampleTable::saveWithDay(db, m_entry, SyncState::Changed);
    if (note && wasNew && m_entry.getPk() > 0 && note->getOwnerPk() != m_entry.getPk()) {
        note->setOwnerPk(m_entry.getPk());
        NoteTable::save(db, *note, noteAdded ? SyncState::Added : SyncState::Changed);
    }

    const MedicationLookup medications = m_context.medicationLookup();
    summarizeDay(db, *day, true, medications);
    // The day the entry left. A new entry never was in the day it was opened on, so that
    // day is left alone (summarizing it would create an empty day row).
    if (!wasNew && m_openedTime.left(8) != day->getSampleDate()) {
        if (auto former = SampleDateTable::getByDate(db, m_openedTime))
            summarizeDay(db, *former, true, medications);
    }

    // Hand back the row as stored, its sync state and day included.
    if (auto stored = SampleTable::getByPk(db, m_entry.getPk()))
        m_entry = *stored;
    return m_entry.getPk();
}
