#include "storage/ProtocolTable.h"

#include <array>

void ProtocolAbs::clear() {
    setPk(0);
    setFk(0);
    setSyncState(SyncState::Added);
    setProtocolType(0);
    setEffectiveDate(QString());
    setText(QString());
}

Protocol::Protocol() {
    clear();
}

std::span<const Column<ProtocolAbs>> ProtocolTraits::columns() {
    using A = ProtocolAbs;
    static const std::array<Column<A>, 6> cols = {
        intColumn("PK", &A::getPk, &A::setPk),
        intColumn("FK", &A::getFk, &A::setFk),
        intColumn("SYNC_STATE", &A::getSyncState, &A::setSyncState),
        intColumn("PROTOCOL_TYPE", &A::getProtocolType, &A::setProtocolType),
        textColumn("EFFECTIVE_DATE", &A::getEffectiveDate, &A::setEffectiveDate),
        textColumn("TEXT", &A::getText, &A::setText),
    };
    return cols;
}

ProtocolTable::RecordPtr ProtocolTable::getByDate(Database& db, const QString& date) {
    return first(db, "Select * from PROTOCOL where sync_state <> 30 and EFFECTIVE_DATE=%Q ", date);
}

ProtocolTable::RecordPtr ProtocolTable::getLatestBefore(Database& db, const QString& date) {
    return first(db,
                 "Select * from PROTOCOL where sync_state <> 30 and EFFECTIVE_DATE<%Q order by "
                 "EFFECTIVE_DATE desc",
                 date);
}
