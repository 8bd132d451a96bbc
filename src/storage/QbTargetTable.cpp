#include "storage/QbTargetTable.h"

#include <algorithm>
#include <array>
#include <climits>

void QbTargetAbs::clear() {
    setPk(0);
    setFk(0);
    setSyncState(SyncState::Added);
    setTargetTime(QString());
    setGlucoseLo(0);
    setGlucoseLoExt(0);
    setGlucoseHi(0);
    setGlucoseHiExt(0);
}

QbTarget::QbTarget() {
    clear();
}

std::span<const Column<QbTargetAbs>> QbTargetTraits::columns() {
    using A = QbTargetAbs;
    static const std::array<Column<A>, 8> cols = {
        intColumn("PK", &A::getPk, &A::setPk),
        intColumn("FK", &A::getFk, &A::setFk),
        intColumn("SYNC_STATE", &A::getSyncState, &A::setSyncState),
        textColumn("TARGET_TIME", &A::getTargetTime, &A::setTargetTime),
        intColumn("GLUCOSE_LO", &A::getGlucoseLo, &A::setGlucoseLo),
        intColumn("GLUCOSE_LO_EXT", &A::getGlucoseLoExt, &A::setGlucoseLoExt),
        intColumn("GLUCOSE_HI", &A::getGlucoseHi, &A::setGlucoseHi),
        intColumn("GLUCOSE_HI_EXT", &A::getGlucoseHiExt, &A::setGlucoseHiExt),
    };
    return cols;
}

namespace {

// A fraction of a limit, worked out wide and held within int: a limit stored before the
// set-up checked its range must not turn into a negative extreme.
int percentOf(int limit, int percent) {
    const long long value = static_cast<long long>(limit) * percent / 100;
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

} // namespace

void QbTargetTable::deriveLimits(QbTargetAbs& target) {
    target.setGlucoseLoExt(percentOf(target.getGlucoseLo(), 80));
    target.setGlucoseHiExt(percentOf(target.getGlucoseHi(), 120));
}

bool QbTargetTable::save(Database& db, QbTargetAbs& target, int state) {
    deriveLimits(target);
    return QbScheduleTable::save(db, target, state);
}

bool QbTargetTable::save(Database& db, QbTargetAbs& target) {
    deriveLimits(target);
    return QbScheduleTable::save(db, target);
}
