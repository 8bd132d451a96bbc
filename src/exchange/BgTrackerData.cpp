#include "exchange/BgTrackerData.h"

#include "exchange/BgTrackerReader.h"
#include "exchange/MeterFileText.h"
#include "exchange/MeterLogbookWriter.h"
#include "logbook/LogbookContext.h"
#include "storage/Database.h"
#include "storage/SyncState.h"
#include "storage/Transaction.h"

#include <QFile>
#include <algorithm>
#include <vector>

BgTrackerData::BgTrackerData(LogbookContext& context, Progress& progress)
    : m_context(context), m_progress(progress) {}

ImportResult BgTrackerData::importFile(const QString& path) {
    QFile file(path);
    if (!file.exists())
        return ImportResult::missingFile(path);
    return import(file, path);
}

ImportResult BgTrackerData::import(QIODevice& file, const QString& fileName) {
    ImportResult result;
    QStringList text;
    if (!MeterFileText::read(file, fileName, text, result.error))
        return result;

    // The whole file is read before anything is stored: a file of another kind is refused
    // with nothing left behind.
    std::vector<BgTrackerLine> records;
    records.reserve(static_cast<size_t>(text.size()));
    for (const QString& t : text) {
        BgTrackerLine line = BgTrackerReader::read(t);
        if (line.isRecord)
            records.push_back(std::move(line));
        else if (!t.trimmed().isEmpty())
            ++result.linesIgnored;
    }
    if (records.empty()) {
        result.error =
            MeterFileText::noRecordProblem(fileName, QStringLiteral("BG Tracker 4"), text);
        return result;
    }

    Database& db = m_context.database();
    Transaction unit(db);
    MeterLogbookWriter writer(m_context);
    const auto [first, last] = std::minmax_element(
        records.begin(), records.end(),
        [](const BgTrackerLine& a, const BgTrackerLine& b) { return a.timestamp < b.timestamp; });
    writer.learnMoments(first->timestamp, last->timestamp);
    for (const BgTrackerLine& record : records) {
        if (!unit.isActive() || writer.failed())
            break;
        ++result.recordsRead;
        // A moment already in the logbook is left as it is.
        if (writer.existingEntry(record.timestamp) || writer.failed())
            continue;
        auto entry = writer.newEntry(record.timestamp);
        entry->setGlucoseCnt(record.glucose);
        for (const BgTrackerLine::Dose& dose : record.doses) {
            if (const std::optional<QChar> code = writer.medicationCode(dose.name))
                MeterLogbookWriter::appendDose(*entry, dose.amount, *code);
        }
        ++result.recordsApplied;
        if (record.note.isEmpty()) {
            if (!writer.store(*entry, SyncState::Added))
                break;
            continue;
        }
        // Stored, then stored again with its note: a changed entry.
        if (!writer.store(*entry, SyncState::Changed) ||
            !writer.storeNote(*entry, {record.note}, 1) ||
            !writer.store(*entry, SyncState::Changed))
            break;
    }
    if (unit.isActive())
        writer.summarizeTouchedDays();

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
