#include "logbook/LogbookActions.h"

#include "logbook/DaySummary.h"
#include "logbook/LogbookContext.h"
#include "storage/CgmReadingTable.h"
#include "storage/Clock.h"
#include "storage/NoteTable.h"
#include "storage/Preference.h"
#include "storage/SampleDateTable.h"
#include "storage/SampleTable.h"
#include "ui/Progress.h"
#include "ui/Prompts.h"

#include <memory>

namespace {

constexpr std::time_t kSecondsPerDay = 86400;

// Reads an entry, lets `change` alter it and stores it as changed.
template <class Change> bool editEntry(Database& db, int pk, Change change) {
    auto entry = SampleTable::getByPk(db, pk);
    if (!entry)
        return false;
    change(*entry);
    return SampleTable::saveWithDay(db, *entry, SyncState::Changed);
}

} // namespace

LogbookActions::Removal LogbookActions::removeRows(const std::vector<LogRow>& rows) {
    Database& db = m_context.database();
    Removal removal;
    for (size_t i = 0; i < rows.size(); ++i) {
        const LogRow& row = rows[i];
        if (row.tag == 'D') {
            if (SampleDateTable::getByPk(db, row.pk)) {
                SampleDateTable::removeByPk(db, row.pk);
                removal.dayRemoved = true;
            }
            continue;
        }
        auto entry = SampleTable::getByPk(db, row.pk);
        if (!entry)
            continue;
        SampleTable::removeByPk(db, row.pk);
        removal.removedEntryRows.push_back(static_cast<int>(i));
        summarizeDayOf(db, entry->getSampleTime(), true, m_context.medicationLookup());
    }
    return removal;
}

bool LogbookActions::setKetones(int entryPk, int code) {
    return editEntry(m_context.database(), entryPk,
                     [code](SampleAbs& entry) { entry.setKeytoneCode(code); });
}

bool LogbookActions::setLogType(int entryPk, int slotPk) {
    return editEntry(m_context.database(), entryPk,
                     [slotPk](SampleAbs& entry) { entry.setSampleTypePk(slotPk); });
}

bool LogbookActions::toggleInfusionSite(int entryPk) {
    Database& db = m_context.database();
    QString time;
    bool stored = editEntry(db, entryPk, [&time](SampleAbs& entry) {
        entry.setNewSiteBol(!entry.getNewSiteBol());
        time = entry.getSampleTime();
    });
    if (stored)
        summarizeDayOf(db, time, true, m_context.medicationLookup());
    return stored;
}

bool LogbookActions::setDelivery(int entryPk, int code) {
    return editEntry(m_context.database(), entryPk,
                     [code](SampleAbs& entry) { entry.setDeliveryCode(code); });
}

bool LogbookActions::setDayType(int dayPk, int dayType) {
    Database& db = m_context.database();
    auto day = SampleDateTable::getByPk(db, dayPk);
    if (!day)
        return false;
    day->setDayTypeId(dayType);
    return SampleDateTable::save(db, *day);
}

QString LogbookActions::retentionCutoff() const {
    int days = m_context.preference().getRetainPcDayCnt();
    return toDateText(m_context.clock().now() - days * kSecondsPerDay);
}

void LogbookActions::deleteOrphanNotes() {
    NoteTable::deleteOrphans(m_context.database());
}

int LogbookActions::retentionCleanUp(Progress& progress, bool withOrphanNotes) {
    Database& db = m_context.database();
    if (withOrphanNotes)
        deleteOrphanNotes();
    if (m_context.preference().getRetainPcDayCnt() <= 0)
        return 0;
    const QString cutoff = retentionCutoff();
    int due = SampleDateTable::getTruncatableCnt(db, cutoff);
    // Sensor readings age out with the entries; they alone are reason enough to ask.
    const int readingsDue = CgmReadingTable::countBefore(db, cutoff);
    if (due <= 0 && readingsDue <= 0)
        return 0;
    Prompts& prompts = m_context.prompts();
    if (!prompts.askYesNo(QStringLiteral("Remove old log entries"),
                          QStringLiteral("You have log entries older then retenion.\r\nWould "
                                         "you like to remove them now?")))
        return 0;

    if (readingsDue > 0)
        CgmReadingTable::removeBefore(db, cutoff);
    if (due <= 0)
        return 0;
    progress.begin(QStringLiteral("Removing Old LogBook Entries...Please Wait!"), due);
    return workThroughDays(db, SampleDateTable::selectBefore(db, cutoff), progress, prompts,
                           [&](SampleDateAbs& day) { SampleDateTable::remove(db, day); });
}

int LogbookActions::summarizeCommand(Progress& progress, bool withOrphanNotes) {
    retentionCleanUp(progress, withOrphanNotes);
    return summarizeOutOfDateDays(m_context.database(), m_context.medicationLookup(), progress,
                                  m_context.prompts());
}
