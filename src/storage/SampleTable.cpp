#include "storage/SampleTable.h"

#include "storage/NoteTable.h"
#include "storage/SampleDateTable.h"

#include <array>

void SampleAbs::clear() {
    setPk(0);
    setFk(0);
    setSyncState(SyncState::Added);
    setSampleDatePk(0);
    setSampleTypePk(0);
    setSampleTime(QString());
    setCarbCnt(0);
    setGlucoseCnt(0);
    setNotePk(0);
    setKeytoneCode(0);
    setInsulinTime(QString());
    setMedicationDosage(QString());
    setCorrectionDosage(QString());
    setNewSiteBol(true);
    setDeliveryCode(0);
}

Sample::Sample() {
    clear();
    setSampleDatePk(-1);
    setNewSiteBol(false);
}

std::span<const Column<SampleAbs>> SampleTraits::columns() {
    using A = SampleAbs;
    static const std::array<Column<A>, 15> cols = {
        intColumn("PK", &A::getPk, &A::setPk),
        intColumn("FK", &A::getFk, &A::setFk),
        intColumn("SYNC_STATE", &A::getSyncState, &A::setSyncState),
        intColumn("SAMPLE_DATE_PK", &A::getSampleDatePk, &A::setSampleDatePk),
        intColumn("SAMPLE_TYPE_PK", &A::getSampleTypePk, &A::setSampleTypePk),
        textColumn("SAMPLE_TIME", &A::getSampleTime, &A::setSampleTime),
        intColumn("CARB_CNT", &A::getCarbCnt, &A::setCarbCnt),
        intColumn("GLUCOSE_CNT", &A::getGlucoseCnt, &A::setGlucoseCnt),
        intColumn("NOTE_PK", &A::getNotePk, &A::setNotePk),
        intColumn("KEYTONE_CODE", &A::getKeytoneCode, &A::setKeytoneCode),
        textColumn("INSULIN_TIME", &A::getInsulinTime, &A::setInsulinTime),
        textColumn("MEDICATION_DOSAGE", &A::getMedicationDosage, &A::setMedicationDosage),
        textColumn("CORRECTION_DOSAGE", &A::getCorrectionDosage, &A::setCorrectionDosage),
        boolColumn("NEW_SITE_BOL", &A::getNewSiteBol, &A::setNewSiteBol),
        intColumn("DELIVERY_CODE", &A::getDeliveryCode, &A::setDeliveryCode),
    };
    return cols;
}

namespace {

std::unique_ptr<Query> selectOrdered(Database& db, const char* where, const SqlArgs& args,
                                     bool ascending) {
    std::string sql = where;
    sql += " order by sample_time";
    sql += ascending ? " asc" : " desc";
    return db.queryArgs(sql.c_str(), args);
}

} // namespace

std::unique_ptr<Query> SampleTable::selectByDay(Database& db, int dayPk, bool ascending) {
    return selectOrdered(db, "Select * from SAMPLE where sync_state <> 30 and Sample_Date_Pk=%ld",
                         {long(dayPk)}, ascending);
}

std::unique_ptr<Query> SampleTable::selectByDayAndType(Database& db, int dayPk, int typePk,
                                                       bool ascending) {
    return selectOrdered(db,
                         "Select * from SAMPLE where sync_state <> 30 and Sample_Date_Pk=%ld and "
                         "Sample_type_pk=%ld",
                         {long(dayPk), long(typePk)}, ascending);
}

std::unique_ptr<Query> SampleTable::selectByType(Database& db, int typePk, bool descending) {
    return selectOrdered(db, "Select * from SAMPLE where sync_state <> 30 and Sample_type_pk=%ld",
                         {long(typePk)}, !descending);
}

std::unique_ptr<Query> SampleTable::selectDayAndEntryPks(Database& db) {
    return db.query("select d.PK, s.PK from SAMPLE_DATE d left join SAMPLE s on "
                    "s.SAMPLE_DATE_PK = d.PK and s.sync_state <> 30 where d.sync_state <> 30 "
                    "order by d.SAMPLE_DATE desc, d.PK, s.SAMPLE_TIME desc");
}

std::unique_ptr<Query> SampleTable::selectInsulinSince(Database& db, const QString& timestamp) {
    return db.query("Select * from SAMPLE where sync_state <> 30 and insulin_time >= %Q and "
                    "insulin_time <> '' order by insulin_time",
                    timestamp);
}

SampleTable::RecordPtr SampleTable::getBySampleTime(Database& db, const QString& timestamp) {
    return first(db, "Select * from SAMPLE where sync_state <> 30 and sample_time = %Q", timestamp);
}

std::unique_ptr<Query> SampleTable::selectTimesBetween(Database& db, const QString& from,
                                                       const QString& to) {
    return db.query("Select SAMPLE_TIME from SAMPLE where sync_state <> 30 and sample_time >= %Q "
                    "and sample_time <= %Q",
                    from, to);
}

bool SampleTable::setDeliveryCodeAll(Database& db, int code) {
    if (!db.exec("UPDATE SAMPLE SET DELIVERY_CODE=%ld", long(code)))
        return false;
    return db.exec("UPDATE SAMPLE SET SYNC_STATE=%ld where FK > 0 and sync_state <> %ld",
                   long(SyncState::Changed), long(SyncState::Deleted));
}

bool SampleTable::saveWithDay(Database& db, SampleAbs& entry, int state) {
    auto day = SampleDateTable::getByDate(db, entry.getSampleTime());
    entry.setSampleDatePk(-1);
    if (entry.getMedicationDosage().isEmpty() && entry.getCorrectionDosage().isEmpty())
        entry.setInsulinTime(QString());
    if (day)
        entry.setSampleDatePk(day->getPk());
    return save(db, entry, entry.getPk() == 0 ? SyncState::Added : state);
}

bool SampleTable::remove(Database& db, const SampleAbs& entry) {
    if (entry.getNotePk() != 0)
        NoteTable::removeByPk(db, entry.getNotePk());
    return removeRow(db, entry);
}

bool SampleTable::removeByPk(Database& db, int pk) {
    auto entry = getByPk(db, pk);
    return entry ? remove(db, *entry) : true;
}
