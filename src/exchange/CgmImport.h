#pragma once

#include "exchange/CgmExport.h"
#include "exchange/CgmInsulin.h"
#include "exchange/ImportResult.h"

#include <QString>

class LogbookContext;
class Progress;
class QIODevice;

// Stores a CGM export in the current patient's logbook: the sensor readings in their own table
// (once per source and moment), and the meter readings, insulin doses, carbohydrates and notes
// as ordinary entries (one entry per moment; a moment that has one already is completed), every
// day touched summarized. Records older than the patient's retention are left out and counted.
// Everything is one unit of work: an import that fails part way leaves the logbook as it was,
// and importing the same export again changes nothing.
class CgmImport {
public:
    using Reader = CgmExport (*)(QIODevice& file, const QString& fileName);

    CgmImport(LogbookContext& context, Progress& progress);

    // Stores what a reader read; a refused export (its error set) stores nothing. Doses are
    // filed under the medications of `insulin`; a kind without one is left out and counted.
    // `fileName` names the export in the message of a failed import.
    ImportResult store(const CgmExport& data, const CgmInsulinChoice& insulin,
                       const QString& fileName);
    // Reads the file with `reader` and stores it.
    ImportResult import(Reader reader, QIODevice& file, const QString& fileName,
                        const CgmInsulinChoice& insulin);
    // Opens the file and imports it; a file that is not there is refused.
    ImportResult importFile(Reader reader, const QString& path, const CgmInsulinChoice& insulin);

private:
    LogbookContext& m_context;
    Progress& m_progress;
};
