#pragma once

#include "exchange/ImportResult.h"

#include <QString>

class LogbookContext;
class Progress;

// Copies another patient database of this program into the current one: its entries with
// their days and notes, its vital records, its A1c results and its food list (which replaces
// the current one). The chosen file is never changed: it is copied to a temporary file, and
// the copy is brought to the current layout and read. Everything is stored in one unit of
// work, so a failed or interrupted import leaves the current logbook as it was.
class DatabaseImport {
public:
    static constexpr const char* kStatusFailed = "Unable to obtain status for file:\n";
    static constexpr const char* kConversionFailed = "Database Convertion failed";

    DatabaseImport(LogbookContext& context, Progress& progress);

    // The messages of a failure (the file's status, the conversion, the database layer's
    // errors) are shown through the context's prompts as they happen and returned in `error`.
    ImportResult import(const QString& path);

private:
    LogbookContext& m_context;
    Progress& m_progress;
};
