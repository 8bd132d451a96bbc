#include "storage/BasilRateTable.h"

#include <array>

void BasilRateAbs::clear() {
    setPk(0);
    setFk(0);
    setSyncState(SyncState::Added);
    setStartTime(QString());
    setBasilMedAmt(QString());
}

BasilRate::BasilRate() {
    clear();
}

std::span<const Column<BasilRateAbs>> BasilRateTraits::columns() {
    using A = BasilRateAbs;
    static const std::array<Column<A>, 5> cols = {
        intColumn("PK", &A::getPk, &A::setPk),
        intColumn("FK", &A::getFk, &A::setFk),
        intColumn("SYNC_STATE", &A::getSyncState, &A::setSyncState),
        textColumn("START_TIME", &A::getStartTime, &A::setStartTime),
        textColumn("BASIL_MED_AMT", &A::getBasilMedAmt, &A::setBasilMedAmt),
    };
    return cols;
}

BasilRateTable::RecordPtr BasilRateTable::getByStartTime(Database& db, const QString& time) {
    return first(db, "Select * from BASIL_RATE where START_TIME=%Q", time);
}
