#pragma once

#include "logbook/LogRows.h"

#include <QString>
#include <vector>

class LogbookContext;
class Progress;

// What the logbook view does to the data, without widgets: removals, the quick edits of the
// context menus, the retention clean-up and the summarize command. The view asks for
// confirmation, then calls these and reloads or repaints as each result says.
class LogbookActions {
public:
    explicit LogbookActions(LogbookContext& context) : m_context(context) {}

    struct Removal {
        bool dayRemoved = false;           // the list must be reloaded
        std::vector<int> removedEntryRows; // positions (in the given rows) of entries removed
    };
    // Removes the given rows in list order: a day with everything in it; an entry with its
    // note, after which its day is summarized again. Rows whose record is gone are skipped.
    Removal removeRows(const std::vector<LogRow>& rows);

    // Quick edits of an entry. Ketones and log type leave the day's totals alone; the
    // infusion-site toggle summarizes the day again. False when the entry is gone.
    bool setKetones(int entryPk, int code);
    bool setLogType(int entryPk, int slotPk);
    bool toggleInfusionSite(int entryPk);
    bool setDelivery(int entryPk, int code);
    // The kind of day (0 sick, 1 normal, 2 active).
    bool setDayType(int dayPk, int dayType);

    // The oldest date kept: today's date minus the retention in whole days ("%Y%m%d").
    QString retentionCutoff() const;
    // Orphaned notes go (unless the caller does that later with deleteOrphanNotes); then,
    // when days older than the retention exist, the patient is asked and, on Yes, they are
    // removed with everything in them. Returns the days removed.
    int retentionCleanUp(Progress& progress, bool withOrphanNotes = true);
    // Notes that no entry, day or vital record refers to any more.
    void deleteOrphanNotes();
    // The summarize command: retention clean-up, then every out-of-date day is summarized.
    // Returns the number of days summarized.
    int summarizeCommand(Progress& progress, bool withOrphanNotes = true);

private:
    LogbookContext& m_context;
};
