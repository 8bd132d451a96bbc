#include "storage/BloodPressureTable.h"

#include "storage/NoteTable.h"

#include <array>

void BloodPressureAbs::clear() {
    setPk(0);
    setFk(0);
    setSyncState(SyncState::Added);
    setBpTime(QString());
    setSystolic(0);
    setDiastolic(0);
    setPulse(0);
    setNotePk(0);
    setWeight(QString());
}

BloodPressure::BloodPressure() {
    clear();
}

std::span<const Column<BloodPressureAbs>> BloodPressureTraits::columns() {
    using A = BloodPressureAbs;
    static const std::array<Column<A>, 9> cols = {
        intColumn("PK", &A::getPk, &A::setPk),
        intColumn("FK", &A::getFk, &A::setFk),
        intColumn("SYNC_STATE", &A::getSyncState, &A::setSyncState),
        textColumn("BP_TIME", &A::getBpTime, &A::setBpTime),
        intColumn("SYSTOLIC", &A::getSystolic, &A::setSystolic),
        intColumn("DIASTOLIC", &A::getDiastolic, &A::setDiastolic),
        intColumn("PULSE", &A::getPulse, &A::setPulse),
        intColumn("NOTE_PK", &A::getNotePk, &A::setNotePk),
        textColumn("WEIGHT", &A::getWeight, &A::setWeight),
    };
    return cols;
}

bool BloodPressureTable::remove(Database& db, const BloodPressureAbs& record) {
    if (record.getNotePk() != 0)
        NoteTable::removeByPk(db, record.getNotePk());
    return removeRow(db, record);
}

bool BloodPressureTable::removeByPk(Database& db, int pk) {
    auto record = getByPk(db, pk);
    return record ? remove(db, *record) : false;
}
