#pragma once

#include "storage/RecordTable.h"

// The operations shared by the time-of-day schedules (ratios, sensitivities, targets).
// Beyond RecordTable's traits, a schedule's traits give
//
//   kFindInForce   live rows starting at or before a time ("HH:MM"), latest first
//   kFindLatest    all live rows, latest first
//   kFindByTime    live rows starting at exactly a time
//
// and the start time is the first column after PK, FK and SYNC_STATE.
template <class Traits> class QbScheduleTable : public RecordTable<Traits> {
    using Base = RecordTable<Traits>;

public:
    using typename Base::Abs;
    using typename Base::RecordPtr;

    static constexpr int kTimeColumn = 3;

    // The row in force at a time of day. Before the day's first row, the latest row is
    // still in force from the evening before.
    static RecordPtr findInForce(Database& db, const QString& time) {
        if (auto row = Base::first(db, Traits::kFindInForce, time))
            return row;
        return Base::first(db, Traits::kFindLatest);
    }

    static RecordPtr findByTime(Database& db, const QString& time) {
        return Base::first(db, Traits::kFindByTime, time);
    }

    // A time may start one live row only; the record itself may keep its own time when it
    // is edited in place. Deleted rows do not hold on to their time.
    static bool isTimeFree(Database& db, const Abs& record) {
        auto found = findByTime(db, timeOf(record));
        return !found || found->getPk() == record.getPk();
    }

    // A row that is not there counts as removed.
    static bool removeByPk(Database& db, int pk) {
        auto row = Base::getByPk(db, pk);
        return row ? Base::removeRow(db, *row) : true;
    }

    static const QString& timeOf(const Abs& record) {
        return (record.*Traits::columns()[kTimeColumn].getText)();
    }
};
