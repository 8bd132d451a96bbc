#include "storage/QbPreferenceTable.h"

#include <array>

void QbPreferenceAbs::clear() {
    setPk(0);
    setFk(0);
    setSyncState(SyncState::Added);
    setMedCode(QString());
    setMedMinutes(0);
    setUseBol(true);
}

QbPreference::QbPreference() {
    clear();
    setUseBol(false);
}

std::span<const Column<QbPreferenceAbs>> QbPreferenceTraits::columns() {
    using A = QbPreferenceAbs;
    static const std::array<Column<A>, 6> cols = {
        intColumn("PK", &A::getPk, &A::setPk),
        intColumn("FK", &A::getFk, &A::setFk),
        intColumn("SYNC_STATE", &A::getSyncState, &A::setSyncState),
        textColumn("MED_CODE", &A::getMedCode, &A::setMedCode),
        intColumn("MED_MINUTES", &A::getMedMinutes, &A::setMedMinutes),
        boolColumn("USE_BOL", &A::getUseBol, &A::setUseBol),
    };
    return cols;
}
