#pragma once

#include "storage/QbScheduleTable.h"
#include "storage/QbTarget.h"

struct QbTargetTraits {
    using Abs = QbTargetAbs;
    using Record = QbTarget;
    static std::span<const Column<Abs>> columns();
    static constexpr int kSyncColumn = 2;
    static constexpr const char* kDrop = "drop table QB_TARGET";
    static constexpr const char* kCreate =
        "create table QB_TARGET  (      PK              INTEGER PRIMARY KEY,     FK              "
        "INTEGER,     SYNC_STATE      INTEGER,     TARGET_TIME     VARCHAR(5),     GLUCOSE_LO    "
        "  INTEGER,     GLUCOSE_LO_EXT  INTEGER,     GLUCOSE_HI      INTEGER,     GLUCOSE_HI_EXT  "
        "INTEGER )";
    static constexpr const char* kCreateCaption = "Create Table QbTarget";
    static constexpr const char* kCount = "Select count(*) from QB_TARGET";
    static constexpr const char* kSelectAll = "Select * from QB_TARGET  where sync_state <> 30 ";
    static constexpr const char* kByPk = "Select * from QB_TARGET where pk=%ld";
    static constexpr const char* kDelete = "delete from QB_TARGET where pk=%ld";
    static constexpr const char* kMarkDeleted =
        "update QB_TARGET set sync_state = %ld where pk = %ld";
    static constexpr const char* kInsert =
        "Insert into QB_TARGET ( FK, SYNC_STATE, TARGET_TIME, GLUCOSE_LO, GLUCOSE_LO_EXT, "
        "GLUCOSE_HI, GLUCOSE_HI_EXT) values ( %ld, %ld, %Q, %ld, %ld, %ld, %ld)";
    static constexpr const char* kInsertWithPk =
        "Insert into QB_TARGET ( PK, FK, SYNC_STATE, TARGET_TIME, GLUCOSE_LO, GLUCOSE_LO_EXT, "
        "GLUCOSE_HI, GLUCOSE_HI_EXT) values ( %ld, %ld, %ld, %Q, %ld, %ld, %ld, %ld)";
    static constexpr const char* kUpdate =
        "Update QB_TARGET set FK=%ld, SYNC_STATE=%ld, TARGET_TIME=%Q, GLUCOSE_LO=%ld, "
        "GLUCOSE_LO_EXT=%ld, GLUCOSE_HI=%ld, GLUCOSE_HI_EXT=%ld where pk=%d";
    static constexpr const char* kFindInForce = "Select * from QB_TARGET where TARGET_TIME<=%Q "
                                                "and sync_state <> 30 order by TARGET_TIME desc";
    static constexpr const char* kFindLatest =
        "Select * from QB_TARGET where sync_state <> 30  order by TARGET_TIME desc";
    static constexpr const char* kFindByTime =
        "Select * from QB_TARGET where TARGET_TIME=%Q and sync_state <> 30 ";
};

class QbTargetTable : public QbScheduleTable<QbTargetTraits> {
public:
    // Both saves first derive the extreme limits from the entered range: 80 % of the low
    // end and 120 % of the high end, truncated. The user never enters them.
    static bool save(Database& db, QbTargetAbs& target, int state);
    static bool save(Database& db, QbTargetAbs& target);
    static void deriveLimits(QbTargetAbs& target);
};
