#include "storage/MeterTable.h"

#include <array>

void MeterAbs::clear() {
    setPk(0);
    setFk(0);
    setSyncState(SyncState::Added);
    setDesc(QString());
    setMfg(QString());
    setModel(QString());
    setSerialNo(QString());
    setSeriviceDate(QString());
}

Meter::Meter() {
    clear();
}

std::span<const Column<MeterAbs>> MeterTraits::columns() {
    using A = MeterAbs;
    static const std::array<Column<A>, 8> cols = {
        intColumn("PK", &A::getPk, &A::setPk),
        intColumn("FK", &A::getFk, &A::setFk),
        intColumn("SYNC_STATE", &A::getSyncState, &A::setSyncState),
        textColumn("DESC", &A::getDesc, &A::setDesc),
        textColumn("MFG", &A::getMfg, &A::setMfg),
        textColumn("MODEL", &A::getModel, &A::setModel),
        textColumn("SERIAL_NO", &A::getSerialNo, &A::setSerialNo),
        textColumn("SERIVICE_DATE", &A::getSeriviceDate, &A::setSeriviceDate),
    };
    return cols;
}
