#include "exchange/OneTouchData.h"

#include "exchange/MeterFileText.h"
#include "exchange/MeterLogbookWriter.h"
#include "exchange/OneTouchReader.h"
#include "logbook/LogbookContext.h"
#include "storage/Clock.h"
#include "storage/Database.h"
#include "storage/Preference.h"
#include "storage/Transaction.h"
#include "ui/Progress.h"

#include <QFile>
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

} // namespace

OneTouchData::OneTouchData(LogbookContext& context, Progress& progress)
    : m_context(context), m_progress(progress) {}

ImportResult OneTouchData::importFile(const QString& path) {
    QFile file(path);
    if (!file.exists()) {
        ImportResult result;
        result.error = QString::fromUtf8(ImportTexts::kMissingFile).arg(path);
        return result;
    }
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
    bool progressShown = false;
    int stepped = 0;
    // The entry the previous record stored (or found unchanged), as it is in the database: the
    // records of one moment follow one another.
    std::unique_ptr<Sample> last;
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

        std::unique_ptr<Sample> entry;
        if (last && last->getSampleTime() == line.timestamp)
            entry = std::move(last);
        else if (!(entry = writer.existingEntry(line.timestamp)) && !writer.failed())
            entry = writer.newEntry(line.timestamp);
        last.reset();
        if (!entry)
            break;

        const bool changed = applyValue(line, *entry, writer);
        if (!changed || !holdsSomething(*entry)) {
            // Unchanged, it is still as stored; a new entry that holds nothing is not kept.
            if (!changed && entry->getPk() > 0)
                last = std::move(entry);
            continue;
        }
        if (!writer.store(*entry))
            break;
        ++result.recordsApplied;
        if (!line.noteLines.isEmpty() && !writer.addNoteLines(*entry, line.noteLines))
            break;
        last = std::move(entry);
    }
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
