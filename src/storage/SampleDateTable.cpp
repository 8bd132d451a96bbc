#include "storage/SampleDateTable.h"

#include "storage/NoteTable.h"
#include "storage/SampleTable.h"

#include <array>
#include <vector>

void SampleDateAbs::clear() {
    setPk(0);
    setFk(0);
    setSyncState(SyncState::Added);
    setSummaryState(0);
    setSampleDate(QString());
    setDayTypeId(0);
    setTtlCarbCnt(0);
    setAvgGlucoseCnt(0);
    setTtlSampleCnt(0);
    setTtlInsulinAmt(0);
    setMaxKeytoneCode(0);
    setNotePk(0);
    setNewSiteBol(true);
}

SampleDate::SampleDate() {
    clear();
    setDayTypeId(1);
    setNewSiteBol(false);
}

std::span<const Column<SampleDateAbs>> SampleDateTraits::columns() {
    using A = SampleDateAbs;
    static const std::array<Column<A>, 13> cols = {
        intColumn("PK", &A::getPk, &A::setPk),
        intColumn("FK", &A::getFk, &A::setFk),
        intColumn("SYNC_STATE", &A::getSyncState, &A::setSyncState),
        intColumn("SUMMARY_STATE", &A::getSummaryState, &A::setSummaryState),
        textColumn("SAMPLE_DATE", &A::getSampleDate, &A::setSampleDate),
        intColumn("DAY_TYPE_ID", &A::getDayTypeId, &A::setDayTypeId),
        intColumn("TTL_CARB_CNT", &A::getTtlCarbCnt, &A::setTtlCarbCnt),
        intColumn("AVG_GLUCOSE_CNT", &A::getAvgGlucoseCnt, &A::setAvgGlucoseCnt),
        intColumn("TTL_SAMPLE_CNT", &A::getTtlSampleCnt, &A::setTtlSampleCnt),
        intColumn("TTL_INSULIN_AMT", &A::getTtlInsulinAmt, &A::setTtlInsulinAmt),
        intColumn("MAX_KEYTONE_CODE", &A::getMaxKeytoneCode, &A::setMaxKeytoneCode),
        intColumn("NOTE_PK", &A::getNotePk, &A::setNotePk),
        boolColumn("NEW_SITE_BOL", &A::getNewSiteBol, &A::setNewSiteBol),
    };
    return cols;
}

namespace {

// The bare 8-digit dates of the retention statements are written without quotes, so
// nothing but digits may reach them.
bool isEightDigitDate(const QString& date) {
    if (date.size() != 8)
        return false;
    for (QChar c : date)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

} // namespace

SampleDateTable::RecordPtr SampleDateTable::getByDate(Database& db, const QString& date) {
    return first(db, "Select * from SAMPLE_DATE where SAMPLE_DATE=%Q", date.left(8));
}

std::unique_ptr<Query> SampleDateTable::selectUnsummarized(Database& db) {
    return db.query("Select * from SAMPLE_DATE where SUMMARY_STATE=%d", kUnsummarized);
}

bool SampleDateTable::markAllUnsummarized(Database& db) {
    db.exec("update sample_date set summary_state=%ld", long(kUnsummarized));
    return true;
}

int SampleDateTable::getSummarizableCnt(Database& db) {
    auto q = db.query("Select count(*) from SAMPLE_DATE where SUMMARY_STATE=%d", kUnsummarized);
    if (!q) {
        db.prompts().error(QStringLiteral("SampleDateTable::getSummarizableCnt"), db.errorText());
        return 0;
    }
    return q->step() ? static_cast<int>(q->intValue(0)) : 0;
}

std::unique_ptr<Query> SampleDateTable::selectBefore(Database& db, const QString& date) {
    if (!isEightDigitDate(date))
        return nullptr;
    return db.query("Select * from SAMPLE_DATE where SAMPLE_DATE<%s", date);
}

int SampleDateTable::getTruncatableCnt(Database& db, const QString& date) {
    std::unique_ptr<Query> q;
    if (isEightDigitDate(date))
        q = db.query("Select count(*) from SAMPLE_DATE where SAMPLE_DATE<%s", date);
    if (!q) {
        db.prompts().error(QStringLiteral("SampleDateTable::getTruncatableCnt"), db.errorText());
        return 0;
    }
    return q->step() ? static_cast<int>(q->intValue(0)) : 0;
}

bool SampleDateTable::remove(Database& db, const SampleDateAbs& day) {
    // Collect every entry id and finish the read before anything is deleted.
    std::vector<int> entries;
    if (auto q = SampleTable::selectByDay(db, day.getPk(), true)) {
        while (auto entry = SampleTable::getNext(db, *q))
            entries.push_back(entry->getPk());
    }
    for (int pk : entries)
        SampleTable::removeByPk(db, pk);
    if (day.getNotePk() != 0)
        NoteTable::removeByPk(db, day.getNotePk());
    return removeRow(db, day);
}

bool SampleDateTable::removeByPk(Database& db, int pk) {
    auto day = getByPk(db, pk);
    return day ? remove(db, *day) : true;
}
