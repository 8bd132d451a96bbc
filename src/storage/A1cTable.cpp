#include "storage/A1cTable.h"

#include <array>

void A1cAbs::clear() {
    setPk(0);
    setFk(0);
    setSyncState(SyncState::Added);
    setA1cDate(QString());
    setA1cCount(QString());
}

A1c::A1c() {
    clear();
}

std::span<const Column<A1cAbs>> A1cTraits::columns() {
    using A = A1cAbs;
    static const std::array<Column<A>, 5> cols = {
        intColumn("pk", &A::getPk, &A::setPk),
        intColumn("fk", &A::getFk, &A::setFk),
        intColumn("sync_state", &A::getSyncState, &A::setSyncState),
        textColumn("a1c_date", &A::getA1cDate, &A::setA1cDate),
        textColumn("a1c_count", &A::getA1cCount, &A::setA1cCount),
    };
    return cols;
}
