#pragma once

#include <QString>

// What an import did, for the window or the command line to tell the patient. Importers show
// nothing themselves (except what the database layer shows on its own).
struct ImportResult {
    // False when the file was refused or the import failed part way: nothing of it is stored,
    // the logbook is as it was before.
    bool ok = false;
    // Records of the format read from the file (the view reloads only when some were read).
    int recordsRead = 0;
    // Records that added an entry or changed one.
    int recordsApplied = 0;
    // Records left out because they are older than the patient's retention.
    int skippedByRetention = 0;
    // Lines that are not records of the format and were passed over.
    int linesIgnored = 0;
    // Days summarized because the import touched them.
    int daysSummarized = 0;
    // Insulin doses left out because their medication was not known and could not be made
    // (every medication code letter is taken).
    int dosesWithoutMedication = 0;
    // CGM exports: sensor readings newly stored, and those found stored already (from this
    // file before, or from an export that overlaps it).
    int readingsStored = 0;
    int readingsKnown = 0;
    // Why the file was refused or the import failed: names the file and, where there is one,
    // the first line that could not be read.
    QString error;

    // The refusal of a file that is not there.
    static ImportResult missingFile(const QString& path);
};

namespace ImportTexts {
inline constexpr const char* kMissingFile = "%1\n does not exists and cannot be imported.";
inline constexpr const char* kRetention =
    "Not all entries were imported due to the retension days in your preferences.";
inline constexpr const char* kImportFailed = "Import failed";
} // namespace ImportTexts

inline ImportResult ImportResult::missingFile(const QString& path) {
    ImportResult result;
    result.error = QString::fromUtf8(ImportTexts::kMissingFile).arg(path);
    return result;
}
