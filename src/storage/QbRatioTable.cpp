#include "storage/QbRatioTable.h"

#include <array>

void QbRatioAbs::clear() {
    setPk(0);
    setFk(0);
    setSyncState(SyncState::Added);
    setRatioTime(QString());
    setCarbCnt(0);
}

QbRatio::QbRatio() {
    clear();
}

std::span<const Column<QbRatioAbs>> QbRatioTraits::columns() {
    using A = QbRatioAbs;
    static const std::array<Column<A>, 5> cols = {
        intColumn("PK", &A::getPk, &A::setPk),
        intColumn("FK", &A::getFk, &A::setFk),
        intColumn("SYNC_STATE", &A::getSyncState, &A::setSyncState),
        textColumn("RATIO_TIME", &A::getRatioTime, &A::setRatioTime),
        intColumn("CARB_CNT", &A::getCarbCnt, &A::setCarbCnt),
    };
    return cols;
}
