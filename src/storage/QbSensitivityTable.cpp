#include "storage/QbSensitivityTable.h"

#include <array>

void QbSensitivityAbs::clear() {
    setPk(0);
    setFk(0);
    setSyncState(SyncState::Added);
    setSensTime(QString());
    setGlucoseCnt(0);
}

QbSensitivity::QbSensitivity() {
    clear();
}

std::span<const Column<QbSensitivityAbs>> QbSensitivityTraits::columns() {
    using A = QbSensitivityAbs;
    static const std::array<Column<A>, 5> cols = {
        intColumn("PK", &A::getPk, &A::setPk),
        intColumn("FK", &A::getFk, &A::setFk),
        intColumn("SYNC_STATE", &A::getSyncState, &A::setSyncState),
        textColumn("SENS_TIME", &A::getSensTime, &A::setSensTime),
        intColumn("GLUCOSE_CNT", &A::getGlucoseCnt, &A::setGlucoseCnt),
    };
    return cols;
}
