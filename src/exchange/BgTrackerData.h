#pragma once

#include "exchange/ImportResult.h"

#include <QString>

class LogbookContext;
class Progress;
class QIODevice;

// Imports a BG Tracker 4 export file (tab-separated text): each record becomes a new entry
// with its glucose, insulin doses and note; a moment that already has an entry is left alone.
// Every day touched is summarized. The whole file is one unit of work.
class BgTrackerData {
public:
    BgTrackerData(LogbookContext& context, Progress& progress);

    ImportResult import(QIODevice& file, const QString& fileName);
    ImportResult importFile(const QString& path);

private:
    LogbookContext& m_context;
    // The BG Tracker import shows the wait cursor rather than the progress window; the
    // progress is taken as the other importers take it.
    [[maybe_unused]] Progress& m_progress;
};
