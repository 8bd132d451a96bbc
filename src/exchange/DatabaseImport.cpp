#include "exchange/DatabaseImport.h"

#include "logbook/DaySummary.h"
#include "logbook/LogbookContext.h"
#include "storage/A1cTable.h"
#include "storage/BloodPressureTable.h"
#include "storage/CarbsTable.h"
#include "storage/CgmReadingTable.h"
#include "storage/Clock.h"
#include "storage/DatabaseFile.h"
#include "storage/DbConvert.h"
#include "storage/Indexes.h"
#include "storage/MedicationTable.h"
#include "storage/NoteTable.h"
#include "storage/Preference.h"
#include "storage/SampleDateTable.h"
#include "storage/SampleTable.h"
#include "storage/SampleTypeTable.h"
#include "storage/Transaction.h"
#include "ui/Progress.h"
#include "ui/Prompts.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

// SAMPLE's SAMPLE_TIME, the order in which entries are read from the source.
constexpr int kSampleTimeColumn = 5;

// A copied record is new to this database and to the handheld.
template <class Record> void makeNew(Record& record) {
    record.setPk(0);
    record.setFk(0);
    record.setSyncState(SyncState::Added);
}

// The live rows of a source table in key order; none when the source has no such table
// (files of older versions may lack the side tables). False when the table cannot be read
// to its end.
template <class Table>
bool readLiveRows(Database& source, const char* table,
                  std::vector<typename Table::RecordPtr>& rows) {
    // Table names are matched in any letter case, as the engine does.
    if (source.count("select count(*) from sqlite_master where type = 'table' and upper(name) "
                     "= %Q",
                     table) <= 0)
        return true;
    auto query = Table::selectAll(source, 0, true);
    if (!query)
        return false;
    while (auto row = Table::getNext(source, *query))
        rows.push_back(std::move(row));
    query->finalize();
    return source.lastError() == 0;
}

} // namespace

DatabaseImport::DatabaseImport(LogbookContext& context, Progress& progress)
    : m_context(context), m_progress(progress) {}

DatabaseImport::~DatabaseImport() = default;

ImportResult DatabaseImport::import(const QString& path) {
    ImportResult result;
    Prompts& prompts = m_context.prompts();
    if (!QFileInfo::exists(path)) {
        result.error = QString::fromLatin1(kStatusFailed) + path;
        prompts.error(QString::fromLatin1(kProgramCaption), result.error);
        return result;
    }
    // The copy lives in a folder of its own, so that the engine's side files of the copy
    // (its journal or write-ahead log) go with it.
    QTemporaryDir folder(QDir(QDir::tempPath()).filePath(QStringLiteral("quillmarch-XXXXXX")));
    if (!folder.isValid()) {
        result.error = QString::fromLatin1(kStoreFailed).arg(path, folder.errorString());
        prompts.error(QString::fromLatin1(kProgramCaption), result.error);
        return result;
    }
    std::unique_ptr<Database> source =
        openSourceCopy(path, folder.filePath(QStringLiteral("import.db")), result);
    if (!source)
        return result;

    m_progressShown = false;
    m_sourceError.clear();
    Database& db = m_context.database();
    bool stored = false;
    {
        Transaction unit(db);
        stored = unit.isActive() && runSteps(*source, result) && unit.commit();
        if (!stored) {
            const QString text = m_sourceError.isEmpty() ? db.errorText() : m_sourceError;
            unit.rollback();
            result.error = QString::fromLatin1(kStoreFailed).arg(path, text);
            prompts.error(QStringLiteral("Database"), result.error);
        }
    }
    if (m_progressShown)
        m_progress.finish();
    source->close();
    if (!stored) {
        result.recordsApplied = 0;
        result.daysSummarized = 0;
        return result;
    }
    result.ok = true;
    // Medications may have been created for codes the patient's list did not know.
    m_context.reloadPreference();
    return result;
}

std::unique_ptr<Database>
DatabaseImport::openSourceCopy(const QString& path, const QString& copyPath, ImportResult& result) {
    Prompts& prompts = m_context.prompts();
    const QString caption = QString::fromLatin1(kProgramCaption);
    QString why;
    if (!DatabaseFile::copy(path, copyPath, why) ||
        !DatabaseFile::checkPatientDatabase(copyPath, why)) {
        result.error = QString::fromLatin1(kNotPatientDatabase).arg(path, why);
        prompts.error(caption, result.error);
        return nullptr;
    }
    // The database layer shows its own message when the copy cannot be opened.
    auto source = Database::openFile(copyPath, prompts);
    if (!source) {
        result.error = QString::fromLatin1(kStoreFailed).arg(path, Database::lastOpenError());
        return nullptr;
    }
    DbConvert convert(*source, m_progress);
    if (!convert.convert()) {
        result.error = QString::fromLatin1(kConversionFailed) + QStringLiteral(":\n") + path;
        prompts.error(caption, QString::fromLatin1(kConversionFailed));
        return nullptr;
    }
    // The copy is ours: indexes make finding a source day by its date cheap.
    ensureIndexes(*source);
    return source;
}

bool DatabaseImport::runSteps(Database& source, ImportResult& result) {
    return importEntries(source, result) && importReadings(source, result) &&
           importVitals(source, result) && importA1cs(source, result) &&
           importFoods(source, result);
}

bool DatabaseImport::importReadings(Database& source, ImportResult& result) {
    // Files from before the sensor readings came have none.
    if (!source.tableExists(QString::fromLatin1(CgmReadingTable::kTable)))
        return true;
    const std::vector<CgmReading> readings =
        CgmReadingTable::between(source, QStringLiteral("0"), QStringLiteral("99999999999999"));
    if (source.lastError() != 0)
        return sourceFailed(source);
    if (readings.empty())
        return true;
    // Each reading keeps its source: one already here from the same device and moment (the
    // same export imported into both logbooks) is not stored twice.
    Database& db = m_context.database();
    if (!CgmReadingTable::ensureTable(db))
        return false;
    const std::optional<int> stored = CgmReadingTable::insertNew(db, readings);
    if (!stored)
        return false;
    result.readingsStored += *stored;
    result.readingsKnown += static_cast<int>(readings.size()) - *stored;
    return true;
}

bool DatabaseImport::sourceFailed(Database& source) {
    m_sourceError = source.errorText();
    return false;
}

void DatabaseImport::beginStep(const char* topic, int steps) {
    m_progress.begin(QString::fromLatin1(topic), steps);
    m_progressShown = true;
}

bool DatabaseImport::importEntries(Database& source, ImportResult& result) {
    Database& db = m_context.database();
    const int total = SampleTable::getCount(source);
    if (total <= 0)
        return true;

    m_slots.clear();
    for (int i = 0; i < m_context.slotCount(); ++i)
        m_slots.push_back(&m_context.slotAt(i));
    m_medications.clear();
    if (auto query = MedicationTable::selectAll(db, 0, true))
        while (auto medication = MedicationTable::getNext(db, *query))
            if (medication->getActiveBol())
                m_medications.push_back(std::move(medication));
    m_lookup = makeMedicationLookup(m_medications);
    m_knownCodes.clear();
    m_day.reset();
    const int delivery = m_context.preference().getDeliveryCode();

    beginStep(kEntriesTopic, total);
    auto query = SampleTable::selectAll(source, kSampleTimeColumn, true);
    if (!query)
        return sourceFailed(source);
    QString previousDate;
    int taken = 0;
    while (auto entry = SampleTable::getNext(source, *query)) {
        ++result.recordsRead;
        m_progress.step(entry->getSampleTime(), ++taken);
        const QString date = entry->getSampleTime().left(8);
        if (date != previousDate) {
            if (!previousDate.isEmpty() && !summarize(previousDate, result))
                return false;
            previousDate = date;
        }
        const int sourceNote = entry->getNotePk();
        makeNew(*entry);
        entry->setNotePk(0);
        if (dayOf(source, date) == 0 || !makeCodesKnown(entry->getMedicationDosage()) ||
            !makeCodesKnown(entry->getCorrectionDosage()))
            return false;
        entry->setDeliveryCode(delivery);
        const SampleTypeAbs* slot = nullptr;
        try {
            slot = slotForTime(fromDateTimeText(entry->getSampleTime()), m_slots);
        } catch (const InvalidDateText&) {
            // No slot can be told from a time that is no time: the entry shows "Unknown".
        }
        entry->setSampleTypePk(slot ? slot->getPk() : -1);
        if (!storeEntry(*entry))
            return false;
        if (sourceNote != 0) {
            const int note = copyNote(source, sourceNote, NoteType::LogEntry, entry->getPk());
            if (note < 0)
                return false;
            if (note > 0) {
                entry->setNotePk(note);
                if (!storeEntry(*entry))
                    return false;
            }
        }
        ++result.recordsApplied;
    }
    // A source that cannot be read to its end fails the import rather than import half of it.
    query->finalize();
    if (source.lastError() != 0)
        return sourceFailed(source);
    return previousDate.isEmpty() || summarize(previousDate, result);
}

int DatabaseImport::dayOf(Database& source, const QString& date) {
    // Entries come in time order: all of a day's entries follow one another.
    if (m_day && m_day->getSampleDate() == date)
        return m_day->getPk();
    Database& db = m_context.database();
    m_day = SampleDateTable::getByDate(db, date);
    if (m_day)
        return m_day->getPk();
    m_day = SampleDateTable::getByDate(source, date);
    const int sourceNote = m_day ? m_day->getNotePk() : 0;
    if (!m_day) {
        m_day = std::make_unique<SampleDate>();
        m_day->setSampleDate(date);
    }
    makeNew(*m_day);
    m_day->setNotePk(0);
    if (!SampleDateTable::save(db, *m_day, SyncState::Added))
        return 0;
    if (sourceNote != 0) {
        const int note = copyNote(source, sourceNote, NoteType::Day, m_day->getPk());
        if (note < 0)
            return 0;
        if (note > 0) {
            m_day->setNotePk(note);
            if (!SampleDateTable::save(db, *m_day, SyncState::Added))
                return 0;
        }
    }
    return m_day->getPk();
}

bool DatabaseImport::storeEntry(SampleAbs& entry) {
    // What saveWithDay does, with the day already at hand: the entry is filed under the
    // day of its date, and one without doses never counts as insulin given.
    entry.setSampleDatePk(m_day ? m_day->getPk() : -1);
    if (entry.getMedicationDosage().isEmpty() && entry.getCorrectionDosage().isEmpty())
        entry.setInsulinTime(QString());
    return SampleTable::save(m_context.database(), entry, SyncState::Added);
}

int DatabaseImport::copyNote(Database& source, int notePk, int type, int ownerPk) {
    auto note = NoteTable::getByPk(source, notePk);
    if (!note)
        return 0;
    makeNew(*note);
    note->setNoteType(type);
    note->setOwnerPk(ownerPk);
    return NoteTable::save(m_context.database(), *note, SyncState::Added) ? note->getPk() : -1;
}

bool DatabaseImport::makeCodesKnown(const QString& dosage) {
    Database& db = m_context.database();
    for (const DosageEntry& item : splitDosage(dosage, 3)) {
        // An amount without a code names no medication.
        if (item.code.isNull())
            continue;
        const QString code(item.code);
        if (m_knownCodes.contains(code))
            continue;
        if (!MedicationTable::getByCode(db, code)) {
            auto medication = std::make_unique<Medication>();
            medication->setMedCode(code);
            medication->setMedDesc(QString::fromLatin1(kImportedMedicationPrefix) + code);
            medication->setOpenDate(toDateText(m_context.clock().now()));
            medication->setExpireDayCnt(kImportedMedicationExpireDays);
            if (!MedicationTable::save(db, *medication, SyncState::Added))
                return false;
            // Its doses count in the totals of the days summarized from now on.
            m_medications.push_back(std::move(medication));
            m_lookup = makeMedicationLookup(m_medications);
        }
        m_knownCodes.insert(code);
    }
    return true;
}

bool DatabaseImport::summarize(const QString& date, ImportResult& result) {
    Database& db = m_context.database();
    // The day at hand is the one to summarize, unless the date had no day of its own.
    if (m_day && m_day->getSampleDate() == date)
        summarizeDay(db, *m_day, true, m_lookup);
    else
        summarizeDayOf(db, date, true, m_lookup);
    ++result.daysSummarized;
    // The summary reports nothing itself; the day's own store is the last statement it ran.
    return db.lastError() == 0;
}

bool DatabaseImport::importVitals(Database& source, ImportResult& result) {
    std::vector<BloodPressureTable::RecordPtr> vitals;
    if (!readLiveRows<BloodPressureTable>(source, "BLOOD_PRESSURE", vitals))
        return sourceFailed(source);
    if (vitals.empty())
        return true;
    Database& db = m_context.database();
    beginStep(kVitalsTopic, static_cast<int>(vitals.size()));
    int taken = 0;
    for (auto& vital : vitals) {
        ++result.recordsRead;
        m_progress.step(vital->getBpTime(), ++taken);
        const int sourceNote = vital->getNotePk();
        makeNew(*vital);
        vital->setNotePk(0);
        if (!BloodPressureTable::save(db, *vital, SyncState::Added))
            return false;
        if (sourceNote != 0) {
            const int note = copyNote(source, sourceNote, NoteType::Vital, vital->getPk());
            if (note < 0)
                return false;
            if (note > 0) {
                vital->setNotePk(note);
                if (!BloodPressureTable::save(db, *vital, SyncState::Added))
                    return false;
            }
        }
        ++result.recordsApplied;
    }
    return true;
}

bool DatabaseImport::importA1cs(Database& source, ImportResult& result) {
    std::vector<A1cTable::RecordPtr> results;
    if (!readLiveRows<A1cTable>(source, "A1C", results))
        return sourceFailed(source);
    if (results.empty())
        return true;
    Database& db = m_context.database();
    beginStep(kA1cTopic, static_cast<int>(results.size()));
    int taken = 0;
    for (auto& a1c : results) {
        ++result.recordsRead;
        m_progress.step(a1c->getA1cDate(), ++taken);
        makeNew(*a1c);
        if (!A1cTable::save(db, *a1c, SyncState::Added))
            return false;
        ++result.recordsApplied;
    }
    return true;
}

bool DatabaseImport::importFoods(Database& source, ImportResult& result) {
    std::vector<CarbsTable::RecordPtr> foods;
    if (!readLiveRows<CarbsTable>(source, "CARBS", foods))
        return sourceFailed(source);
    if (foods.empty())
        return true;
    Database& db = m_context.database();
    beginStep(kFoodsTopic, static_cast<int>(foods.size()));
    // The source's list replaces the current one; inside the unit of work the old table
    // comes back whole if anything below fails.
    if (!CarbsTable::createTable(db))
        return false;
    if (m_foodsCreated)
        m_foodsCreated();
    int taken = 0;
    for (auto& food : foods) {
        ++result.recordsRead;
        m_progress.step(food->getCarbName(), ++taken);
        makeNew(*food);
        if (!CarbsTable::save(db, *food, SyncState::Added))
            return false;
        ++result.recordsApplied;
    }
    return true;
}
