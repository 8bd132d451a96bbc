#pragma once

#include "exchange/ImportResult.h"

#include <QString>

class LogbookContext;
class Progress;
class QIODevice;

// Imports a OneTouch export file (comma-separated text) into the current patient's logbook:
// glucose, carbohydrate and insulin records become entries (one entry per moment; a second
// record at the same moment completes it), comments become the entries' notes, and every day
// touched is summarized. The whole file is one unit of work: a file that fails part way leaves
// the logbook exactly as it was. Importing the same file again changes nothing.
class OneTouchData {
public:
    OneTouchData(LogbookContext& context, Progress& progress);

    // `fileName` names the file in messages.
    ImportResult import(QIODevice& file, const QString& fileName);
    // Opens the file and imports it; a file that cannot be opened is refused with its reason.
    ImportResult importFile(const QString& path);

private:
    LogbookContext& m_context;
    Progress& m_progress;
};
