#include "exchange/CgmImport.h"

#include "exchange/MeterLogbookWriter.h"
#include "logbook/LogbookContext.h"
#include "storage/CgmReadingTable.h"
#include "storage/Clock.h"
#include "storage/Database.h"
#include "storage/FieldLimits.h"
#include "storage/NoteTable.h"
#include "storage/Preference.h"
#include "storage/SyncState.h"
#include "storage/Transaction.h"
#include "ui/Progress.h"

#include <QFile>
#include <algorithm>
#include <optional>

namespace {

constexpr const char* kTopic = "Importing Please Wait";
constexpr const char* kReadingsItem = "Sensor readings";
constexpr const char* kStepItem = "Importing";
constexpr std::time_t kSecondsPerDay = 24 * 60 * 60;

// A meter reading (mg/dL) as the logbook keeps it: in the patient's unit, tenths of a mmol/L
// rounded to the nearest, so that reading them back (x 18 / 10) gives the mg/dL again.
int storedGlucose(int mgdl, int unit) {
    if (unit != kGlucoseUnitMmol)
        return mgdl;
    const IntRange range = FieldLimits::glucose(unit);
    return std::clamp((mgdl * 10 * 2 + 18) / 36, range.low, range.high);
}

// The records of one moment, gathered on the entry they fill and stored together.
struct Moment {
    std::unique_ptr<Sample> entry; // as the records so far leave it
    bool isNew = false;
    bool changed = false;
    QString noteText;      // the entry's note as stored before the import
    QStringList noteLines; // lines the import adds to it
};

bool holdsSomething(const Moment& moment) {
    const Sample& entry = *moment.entry;
    return !entry.getMedicationDosage().isEmpty() || entry.getGlucoseCnt() != 0 ||
           entry.getCarbCnt() != 0 || !moment.noteText.isEmpty() || !moment.noteLines.isEmpty();
}

bool storeMoment(Moment& moment, MeterLogbookWriter& writer) {
    if (!moment.changed)
        return true;
    Sample& entry = *moment.entry;
    const int state = moment.isNew ? SyncState::Added : SyncState::Changed;
    if (moment.noteLines.isEmpty())
        return writer.store(entry, state);
    // The note's owner needs its key first.
    if (moment.isNew && !writer.store(entry, state))
        return false;
    return writer.storeNote(entry, moment.noteLines, 1) && writer.store(entry, state);
}

} // namespace

CgmImport::CgmImport(LogbookContext& context, Progress& progress)
    : m_context(context), m_progress(progress) {}

ImportResult CgmImport::importFile(Reader reader, const QString& path,
                                   const CgmInsulinChoice& insulin) {
    QFile file(path);
    if (!file.exists())
        return ImportResult::missingFile(path);
    return import(reader, file, path, insulin);
}

ImportResult CgmImport::import(Reader reader, QIODevice& file, const QString& fileName,
                               const CgmInsulinChoice& insulin) {
    return store(reader(file, fileName), insulin, fileName);
}

ImportResult CgmImport::store(const CgmExport& data, const CgmInsulinChoice& insulin,
                              const QString& fileName) {
    ImportResult result;
    if (!data.ok()) {
        result.error = data.error;
        return result;
    }
    result.recordsRead = data.recordsRead;
    result.linesIgnored = data.linesIgnored;

    // Records older than the retention would be removed again by the next clean-up; a
    // retention of 0 keeps everything.
    QString cutoff;
    if (const int days = m_context.preference().getRetainPcDayCnt(); days > 0)
        cutoff = toDateTimeText(m_context.clock().now() - days * kSecondsPerDay);
    const auto tooOld = [&cutoff](const QString& time) {
        return !cutoff.isEmpty() && time < cutoff;
    };
    std::vector<CgmReading> readings;
    readings.reserve(data.readings.size());
    for (const CgmReading& reading : data.readings) {
        if (tooOld(reading.time))
            ++result.skippedByRetention;
        else
            readings.push_back(reading);
    }
    // The records of a moment are gathered whatever their order in the file.
    std::vector<const CgmEvent*> events;
    for (const CgmEvent& event : data.events) {
        if (tooOld(event.time))
            ++result.skippedByRetention;
        else
            events.push_back(&event);
    }
    std::stable_sort(events.begin(), events.end(),
                     [](const CgmEvent* a, const CgmEvent* b) { return a->time < b->time; });

    Database& db = m_context.database();
    const int unit = m_context.preference().getGlucoseSampleCode();
    // A file opened before the table came gains it here.
    CgmReadingTable::ensureTable(db);
    Transaction work(db);
    MeterLogbookWriter writer(m_context);
    const int steps = static_cast<int>(events.size()) + 1;
    m_progress.begin(QString::fromLatin1(kTopic), steps);
    int stepped = 0;

    bool failed = !work.isActive();
    if (!failed) {
        const std::optional<int> stored = CgmReadingTable::insertNew(db, readings);
        failed = !stored.has_value();
        result.readingsStored = stored.value_or(0);
        result.readingsKnown = static_cast<int>(readings.size()) - result.readingsStored;
    }
    m_progress.step(QString::fromLatin1(kReadingsItem), ++stepped);
    if (!failed && !events.empty())
        failed = !writer.learnMoments(events.front()->time, events.back()->time);

    std::optional<Moment> moment;
    for (const CgmEvent* event : events) {
        if (failed || writer.failed())
            break;
        m_progress.step(QString::fromLatin1(kStepItem), ++stepped);
        if (!moment || moment->entry->getSampleTime() != event->time) {
            if (moment && !storeMoment(*moment, writer))
                break;
            moment.emplace();
            moment->entry = writer.existingEntry(event->time);
            if (writer.failed())
                break;
            if (!moment->entry) {
                moment->entry = writer.newEntry(event->time);
                moment->isNew = true;
            } else if (const int notePk = moment->entry->getNotePk(); notePk != 0) {
                if (auto note = NoteTable::getByPk(db, notePk))
                    moment->noteText = note->getText();
            }
        }

        // A record that changes nothing, or leaves nothing in the entry, is not stored.
        Moment& at = *moment;
        Sample updated(*at.entry);
        bool applied = false;
        switch (event->kind) {
        case CgmEvent::Kind::MeterGlucose:
            if (const int value = storedGlucose(event->glucose, unit);
                updated.getGlucoseCnt() != value) {
                updated.setGlucoseCnt(value);
                applied = true;
            }
            break;
        case CgmEvent::Kind::Carbs:
            if (updated.getCarbCnt() != event->carbs) {
                updated.setCarbCnt(event->carbs);
                applied = true;
            }
            break;
        case CgmEvent::Kind::RapidInsulin:
        case CgmEvent::Kind::LongInsulin: {
            const QString& code =
                event->kind == CgmEvent::Kind::RapidInsulin ? insulin.rapid : insulin.longActing;
            if (code.isEmpty())
                ++result.dosesWithoutMedication;
            else
                applied = MeterLogbookWriter::appendDose(updated, event->units, code[0]);
            break;
        }
        case CgmEvent::Kind::Note: {
            const QString line = event->text.trimmed();
            if (!line.isEmpty() && !at.noteText.contains(line) && !at.noteLines.contains(line)) {
                at.noteLines << line;
                at.changed = true;
                ++result.recordsApplied;
            }
            continue;
        }
        }
        if (!applied)
            continue;
        *at.entry = updated;
        if (!holdsSomething(at))
            continue;
        at.changed = true;
        ++result.recordsApplied;
    }
    if (moment && !failed && !writer.failed())
        storeMoment(*moment, writer);
    if (!failed)
        writer.summarizeTouchedDays();
    m_progress.finish();

    const bool ok = !failed && work.isActive() && !writer.failed() && work.commit();
    if (writer.medicationsCreated() > 0 || (ok && result.recordsApplied > 0))
        m_context.reloadPreference();
    if (!ok) {
        ImportResult refused;
        const QString reason = writer.failed() ? writer.failure() : db.errorText();
        refused.error = QStringLiteral("%1 could not be imported: %2. Nothing of it was stored.")
                            .arg(fileName, reason);
        return refused;
    }
    result.ok = true;
    result.daysSummarized = writer.daysSummarized();
    return result;
}
