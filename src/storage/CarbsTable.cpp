#include "storage/CarbsTable.h"

#include <array>

void CarbsAbs::clear() {
    setPk(0);
    setFk(0);
    setCatagory(0);
    setSyncState(SyncState::Added);
    setCarbName(QString());
    setCarbCnt(0);
}

Carbs::Carbs() {
    clear();
}

std::span<const Column<CarbsAbs>> CarbsTraits::columns() {
    using A = CarbsAbs;
    static const std::array<Column<A>, 6> cols = {
        intColumn("pk", &A::getPk, &A::setPk),
        intColumn("fk", &A::getFk, &A::setFk),
        intColumn("catagory", &A::getCatagory, &A::setCatagory),
        intColumn("sync_state", &A::getSyncState, &A::setSyncState),
        textColumn("carb_name", &A::getCarbName, &A::setCarbName),
        intColumn("carb_cnt", &A::getCarbCnt, &A::setCarbCnt),
    };
    return cols;
}
