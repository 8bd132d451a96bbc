#pragma once

#include <QString>

class LogbookContext;

// What a report reads: the open database, the patient's preference record and slots, the
// active medications and the clock (through the logbook context), and the program's version for
// the page footer.
struct ReportContext {
    LogbookContext& logbook;
    QString versionText;
};
