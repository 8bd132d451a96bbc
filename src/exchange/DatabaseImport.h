#pragma once

#include "exchange/ImportResult.h"
#include "storage/Conversions.h"

#include <QSet>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class Database;
class LogbookContext;
class Medication;
class Progress;
class SampleAbs;
class SampleDate;
class SampleTypeAbs;

// Copies another patient database of this program into the current one: its entries with
// their days and notes, its CGM sensor readings, its vital records, its A1c results and its food
// list (which replaces the current one). The chosen file is never changed: it is copied to a
// temporary file, and the copy is brought to the current layout and read. Everything is stored in
// one unit of work, so a failed or interrupted import leaves the current logbook as it was.
class DatabaseImport {
public:
    static constexpr const char* kStatusFailed = "Unable to obtain status for file:\n";
    static constexpr const char* kConversionFailed = "Database Convertion failed";
    // A file that is no patient database of this program: the file, then the reason.
    static constexpr const char* kNotPatientDatabase =
        "%1\nis not a Quillmarch database and cannot be imported: %2.";
    // A statement of the import that the database refused: the file, then the engine's text.
    static constexpr const char* kStoreFailed = "%1\ncould not be imported: %2";

    static constexpr const char* kEntriesTopic = "Importing Log Entries step 1 of 4";
    static constexpr const char* kVitalsTopic = "Importing Vitals step 2 of 4";
    static constexpr const char* kA1cTopic = "Importing A1Cs step 3 of 4";
    static constexpr const char* kFoodsTopic = "Importing Foods step 4 of 4";
    // The description of a medication made for a code the current database does not know.
    static constexpr const char* kImportedMedicationPrefix = "Import-";
    static constexpr int kImportedMedicationExpireDays = 90;

    DatabaseImport(LogbookContext& context, Progress& progress);
    ~DatabaseImport();
    DatabaseImport(const DatabaseImport&) = delete;
    DatabaseImport& operator=(const DatabaseImport&) = delete;

    // The messages of a failure (the file's status, the conversion, the database layer's
    // errors) are shown through the context's prompts as they happen and returned in `error`.
    ImportResult import(const QString& path);

    // Called inside the unit of work right after the food list has been created anew and
    // before any food is written to it; tests use it to make a write fail part way.
    void setFoodsTableCreatedHook(std::function<void()> hook) { m_foodsCreated = std::move(hook); }

private:
    // Copies, checks and converts the chosen file; the open copy, or nothing (the reason
    // has been shown and is in `result`).
    std::unique_ptr<Database> openSourceCopy(const QString& path, const QString& copyPath,
                                             ImportResult& result);
    bool runSteps(Database& source, ImportResult& result);
    bool importEntries(Database& source, ImportResult& result);
    // The source's sensor readings, once per source and moment.
    bool importReadings(Database& source, ImportResult& result);
    bool importVitals(Database& source, ImportResult& result);
    bool importA1cs(Database& source, ImportResult& result);
    bool importFoods(Database& source, ImportResult& result);

    // The day of a date in the current database; copied from the source (with its note) or
    // created when there is none. Its PK, or 0 when it could not be stored.
    int dayOf(Database& source, const QString& date);
    // Stores a copied entry under the day at hand.
    bool storeEntry(SampleAbs& entry);
    // Stores a copy of a source note for a new owner; its PK, 0 when the source has no such
    // note, -1 when it could not be stored.
    int copyNote(Database& source, int notePk, int type, int ownerPk);
    // Every medication code of a dosage list is given a medication in the current database.
    bool makeCodesKnown(const QString& dosage);
    bool summarize(const QString& date, ImportResult& result);
    void beginStep(const char* topic, int steps);
    // Remembers why the source could not be read; false.
    bool sourceFailed(Database& source);

    LogbookContext& m_context;
    Progress& m_progress;
    std::function<void()> m_foodsCreated;
    bool m_progressShown = false;
    // Why the source could not be read, when that is what failed.
    QString m_sourceError;

    // For the entries step: the current patient's slots and medications, the codes known to
    // have a medication, and the day of the latest entry.
    std::vector<const SampleTypeAbs*> m_slots;
    std::vector<std::unique_ptr<Medication>> m_medications;
    MedicationLookup m_lookup;
    QSet<QString> m_knownCodes;
    std::unique_ptr<SampleDate> m_day;
};
