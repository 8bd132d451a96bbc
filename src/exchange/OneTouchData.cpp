#include "exchange/OneTouchData.h"

#include "exchange/MeterFileText.h"
#include "exchange/MeterLogbookWriter.h"
#include "exchange/OneTouchReader.h"
#include "logbook/LogbookContext.h"
#include "storage/Clock.h"
#include "storage/Database.h"
#include "storage/Preference.h"
#include "storage/SyncState.h"
#include "storage/Transaction.h"
#include "ui/Progress.h"

#include <QFile>
#include <optional>
#include <vector>

namespace {

constexpr const char* kTopic = "Importing Please Wait";
constexpr const char* kStepItem = "Importing";
constexpr std::time_t kSecondsPerDay = 24 * 60 * 60;

// Sets what the record says on the entry; true when that changes the entry.
bool applyValue(const OneTouchLine& line, Sample& entry, MeterLogbookWriter& writer) {
    switch (line.value) {
    case OneTouchLine::Value::Glucose:
        if (entry.getGlucoseCnt() == line.number)
            return false;
        entry.setGlucoseCnt(line.number);
        return true;
    case OneTouchLine::Value::Carbohydrates:
        if (entry.getCarbCnt() == line.number)
            return false;
        entry.setCarbCnt(line.number);
        return true;
    case OneTouchLine::Value::Insulin:
        if (const std::optional<QChar> code = writer.medicationCode(line.insulinName))
            return MeterLogbookWriter::appendDose(entry, line.amount, *code);
        return false;
    case OneTouchLine::Value::None:
        break;
    }
    return false;
}

bool holdsSomething(const Sample& entry) {
    return !entry.getMedicationDosage().isEmpty() || entry.getGlucoseCnt() != 0 ||
           entry.getCarbCnt() != 0;
}

// The records of one moment, which follow one another in the file, are gathered on the one
// entry they fill and stored together. The entry and its note end as storing them record by
// record would leave them: a new entry or note stored more than once is a changed one.
struct Moment {
    std::unique_ptr<Sample> entry; // as the records so far leave it
    bool isNew = false;
    int entrySaves = 0;    // each applied record stores the entry, and again after its note
    int notedRecords = 0;  // applied records with a comment
    QStringList noteLines; // their comments' lines, in order
};

bool storeMoment(Moment& moment, MeterLogbookWriter& writer) {
    Sample& entry = *moment.entry;
    if (moment.entrySaves == 0)
        return true;
    const int state =
        moment.isNew && moment.entrySaves == 1 ? SyncState::Added : SyncState::Changed;
    if (moment.notedRecords == 0)
        return writer.store(entry, state);
    // The note's owner needs its key first.
    if (moment.isNew && !writer.store(entry, state))
        return false;
    return writer.storeNote(entry, moment.noteLines, moment.notedRecords) &&
           writer.store(entry, SyncState::Changed);
}

} // namespace

OneTouchData::OneTouchData(LogbookContext& context, Progress& progress)
    : m_context(context), m_progress(progress) {}

ImportResult OneTouchData::importFile(const QString& path) {
    QFile file(path);
    if (!file.exists())
        return ImportResult::missingFile(path);
    return import(file, path);
}

ImportResult OneTouchData::import(QIODevice& file, const QString& fileName) {
    ImportResult result;
    QStringList text;
    if (!MeterFileText::read(file, fileName, text, result.error))
        return result;

    // The whole file is read before anything is stored: a file of another kind is refused
    // with nothing left behind.
    std::vector<OneTouchLine> lines;
    lines.reserve(static_cast<size_t>(text.size()));
    for (const QString& t : text) {
        OneTouchLine line = OneTouchReader::read(t);
        if (line.kind == OneTouchLine::Kind::Other) {
            if (!t.trimmed().isEmpty())
                ++result.linesIgnored;
            continue;
        }
        lines.push_back(std::move(line));
    }
    if (lines.empty()) {
        result.error = MeterFileText::noRecordProblem(fileName, QStringLiteral("OneTouch"), text);
        return result;
    }

    // Records older than the retention would be removed again by the next clean-up; a
    // retention of 0 keeps everything.
    QString cutoff;
    if (const int days = m_context.preference().getRetainPcDayCnt(); days > 0)
        cutoff = toDateTimeText(m_context.clock().now() - days * kSecondsPerDay);

    Database& db = m_context.database();
    Transaction unit(db);
    MeterLogbookWriter writer(m_context);
    QString first;
    QString last;
    for (const OneTouchLine& line : lines) {
        if (line.kind != OneTouchLine::Kind::Record)
            continue;
        if (first.isEmpty() || line.timestamp < first)
            first = line.timestamp;
        if (line.timestamp > last)
            last = line.timestamp;
    }
    if (!first.isEmpty())
        writer.learnMoments(first, last);
    bool progressShown = false;
    int stepped = 0;
    std::optional<Moment> moment;
    for (const OneTouchLine& line : lines) {
        if (!unit.isActive() || writer.failed())
            break;
        if (line.kind == OneTouchLine::Kind::Total) {
            m_progress.begin(QString::fromLatin1(kTopic), line.total);
            progressShown = true;
            stepped = 0;
            continue;
        }
        ++result.recordsRead;
        if (progressShown)
            m_progress.step(QString::fromLatin1(kStepItem), ++stepped);
        if (line.dropped)
            continue;
        if (!cutoff.isEmpty() && line.timestamp < cutoff) {
            ++result.skippedByRetention;
            continue;
        }
        if (line.value == OneTouchLine::Value::None)
            continue;

        if (!moment || moment->entry->getSampleTime() != line.timestamp) {
            if (moment && !storeMoment(*moment, writer))
                break;
            moment.emplace();
            moment->entry = writer.existingEntry(line.timestamp);
            if (writer.failed())
                break;
            if (!moment->entry) {
                moment->entry = writer.newEntry(line.timestamp);
                moment->isNew = true;
            }
        }
        // A record that changes nothing, or leaves nothing in the entry, is not stored: the
        // next record of the moment finds the entry as it was.
        Sample changed(*moment->entry);
        if (!applyValue(line, changed, writer) || !holdsSomething(changed))
            continue;
        *moment->entry = changed;
        ++result.recordsApplied;
        ++moment->entrySaves;
        if (!line.noteLines.isEmpty()) {
            ++moment->entrySaves;
            ++moment->notedRecords;
            moment->noteLines += line.noteLines;
        }
    }
    if (moment && unit.isActive() && !writer.failed())
        storeMoment(*moment, writer);
    if (unit.isActive())
        writer.summarizeTouchedDays();
    if (progressShown)
        m_progress.finish();

    const bool stored = unit.isActive() && !writer.failed() && unit.commit();
    if (writer.medicationsCreated() > 0 || (stored && result.recordsApplied > 0))
        m_context.reloadPreference(); // medications may be new, and the caches hold the old
    if (!stored) {
        ImportResult failed;
        const QString reason = writer.failed() ? writer.failure() : db.errorText();
        failed.error = QStringLiteral("%1 could not be imported: %2. Nothing of it was stored.")
                           .arg(fileName, reason);
        return failed;
    }
    result.ok = true;
    result.daysSummarized = writer.daysSummarized();
    result.dosesWithoutMedication = writer.dosesWithoutMedication();
    return result;
}
