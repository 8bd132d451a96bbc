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
#include <cmath>
#include <optional>

namespace {

constexpr const char* kTopic = "Importing Please Wait";
constexpr const char* kReadingsItem = "Sensor readings";
constexpr const char* kStepItem = "Importing";
constexpr std::time_t kSecondsPerDay = 24 * 60 * 60;

// A meter reading (mg/dL) as the logbook keeps it: in the patient's unit, tenths of a mmol/L
// rounded to the nearest. Read back (x 18 / 10, truncated) it can come out up to 1 mg/dL
// lower: 101 is kept as 5.6 and reads as 100, 251 as 13.9 and reads as 250.
int storedGlucose(int mgdl, int unit) {
    if (unit != kGlucoseUnitMmol)
        return mgdl;
    const IntRange range = FieldLimits::glucose(unit);
    return std::clamp((mgdl * 10 * 2 + 18) / 36, range.low, range.high);
}

// What the file says of one moment, over all its records: two carbohydrate records of one
// minute are one meal and two doses of one insulin one dose, so that nothing is lost to the
// entry's single field and importing the file again finds all of it already there.
struct FileMoment {
    QString time;
    std::optional<int> glucose; // the moment's last meter reading
    int glucoseRecords = 0;
    int carbs = 0;
    int carbRecords = 0;
    struct Dose {
        QChar code;
        long hundredths = 0;
        int records = 0;
    };
    std::vector<Dose> doses; // in the order the file first names each insulin
    QStringList notes;
};

long hundredthsOf(const QString& units) {
    return std::lround(units.toDouble() * 100);
}

// Units as a dosage writes them: "4", "4.5", "4.25".
QString unitsText(long hundredths) {
    QString text = QString::number(hundredths / 100);
    if (const long part = hundredths % 100; part != 0) {
        QString fraction = QStringLiteral("%1").arg(part, 2, 10, QLatin1Char('0'));
        if (fraction.endsWith(u'0'))
            fraction.chop(1);
        text += u'.' + fraction;
    }
    return text;
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

    // The file's records, moment by moment.
    std::vector<FileMoment> moments;
    for (const CgmEvent* event : events) {
        if (moments.empty() || moments.back().time != event->time) {
            moments.emplace_back();
            moments.back().time = event->time;
        }
        FileMoment& at = moments.back();
        switch (event->kind) {
        case CgmEvent::Kind::MeterGlucose:
            at.glucose = event->glucose;
            ++at.glucoseRecords;
            break;
        case CgmEvent::Kind::Carbs:
            at.carbs += event->carbs;
            ++at.carbRecords;
            break;
        case CgmEvent::Kind::RapidInsulin:
        case CgmEvent::Kind::LongInsulin: {
            const QString& code =
                event->kind == CgmEvent::Kind::RapidInsulin ? insulin.rapid : insulin.longActing;
            if (code.isEmpty()) {
                ++result.dosesWithoutMedication;
                break;
            }
            auto dose =
                std::find_if(at.doses.begin(), at.doses.end(),
                             [&code](const FileMoment::Dose& d) { return d.code == code[0]; });
            if (dose == at.doses.end())
                dose = at.doses.insert(at.doses.end(), FileMoment::Dose{code[0]});
            dose->hundredths += hundredthsOf(event->units);
            ++dose->records;
            break;
        }
        case CgmEvent::Kind::Note:
            if (const QString line = event->text.trimmed();
                !line.isEmpty() && !at.notes.contains(line))
                at.notes << line;
            break;
        }
    }

    Database& db = m_context.database();
    const int unit = m_context.preference().getGlucoseSampleCode();
    // A file opened before the table came gains it here.
    CgmReadingTable::ensureTable(db);
    Transaction work(db);
    MeterLogbookWriter writer(m_context);
    const int steps = static_cast<int>(moments.size()) + 1;
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

    for (const FileMoment& fileMoment : moments) {
        if (failed || writer.failed())
            break;
        m_progress.step(QString::fromLatin1(kStepItem), ++stepped);
        Moment at;
        at.entry = writer.existingEntry(fileMoment.time);
        if (writer.failed())
            break;
        if (!at.entry) {
            at.entry = writer.newEntry(fileMoment.time);
            at.isNew = true;
        } else if (const int notePk = at.entry->getNotePk(); notePk != 0) {
            if (auto note = NoteTable::getByPk(db, notePk))
                at.noteText = note->getText();
        }

        // What changes nothing, or leaves nothing in the entry, is not stored.
        Sample& entry = *at.entry;
        int applied = 0;
        if (fileMoment.glucose) {
            if (const int value = storedGlucose(*fileMoment.glucose, unit);
                entry.getGlucoseCnt() != value) {
                entry.setGlucoseCnt(value);
                applied += fileMoment.glucoseRecords;
            }
        }
        if (fileMoment.carbRecords > 0 && entry.getCarbCnt() != fileMoment.carbs) {
            entry.setCarbCnt(fileMoment.carbs);
            applied += fileMoment.carbRecords;
        }
        for (const FileMoment::Dose& dose : fileMoment.doses) {
            if (MeterLogbookWriter::appendDose(entry, unitsText(dose.hundredths), dose.code))
                applied += dose.records;
        }
        for (const QString& line : fileMoment.notes) {
            if (!at.noteText.contains(line)) {
                at.noteLines << line;
                ++applied;
            }
        }
        if (applied == 0 || !holdsSomething(at))
            continue;
        at.changed = true;
        result.recordsApplied += applied;
        if (!storeMoment(at, writer))
            break;
    }
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
