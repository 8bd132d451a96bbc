#include "sidelogs/A1cLog.h"

#include "storage/A1cTable.h"
#include "storage/Conversions.h"
#include "storage/SyncState.h"

namespace {

constexpr int kDateColumn = 3; // a1c_date

} // namespace

std::vector<SideLogRow> A1cLog::rows(Database& db) {
    return rowsPutOnTop<A1cTable>(db, kDateColumn, true, &A1cLog::cells);
}

QStringList A1cLog::cells(const A1cAbs& result) {
    QString date;
    QString weekday;
    try {
        const std::time_t day = fromDateText(result.getA1cDate());
        date = formatTime(day, "%B %d, %Y");
        weekday = formatTime(day, "%A");
    } catch (const InvalidDateText&) {
        // A damaged date stays listed without its texts, so that it can be mended or removed.
    }
    return {date, weekday, result.getA1cCount(), QString()};
}

bool A1cLog::remove(Database& db, Prompts& prompts, int pk) {
    // A removed result stays in the file as deleted, whether or not the handheld knew it.
    auto result = A1cTable::getByPk(db, pk);
    return result && result->getSyncState() != SyncState::Deleted &&
           reportWrite(db, prompts, A1cTable::markRecordDeleted(db, *result));
}
