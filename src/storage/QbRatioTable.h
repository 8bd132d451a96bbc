#pragma once

#include "storage/QbRatio.h"
#include "storage/QbScheduleTable.h"

struct QbRatioTraits {
    using Abs = QbRatioAbs;
    using Record = QbRatio;
    static std::span<const Column<Abs>> columns();
    static constexpr int kSyncColumn = 2;
    static constexpr const char* kDrop = "drop table QB_RATIO";
    static constexpr const char* kCreate =
        "create table QB_RATIO  (     PK          INTEGER PRIMARY KEY,     FK          INTEGER, "
        "    SYNC_STATE  INTEGER,     RATIO_TIME  VARCHAR(5),     CARB_CNT    INTEGER )";
    static constexpr const char* kCreateCaption = "Create Table QbRatio";
    static constexpr const char* kCount = "Select count(*) from QB_RATIO";
    static constexpr const char* kSelectAll = "Select * from QB_RATIO  where sync_state <> 30 ";
    static constexpr const char* kByPk = "Select * from QB_RATIO where pk=%ld";
    static constexpr const char* kDelete = "delete from QB_RATIO where pk=%ld";
    static constexpr const char* kMarkDeleted =
        "update QB_RATIO set sync_state = %ld where pk = %ld";
    static constexpr const char* kInsert =
        "Insert into QB_RATIO ( FK, SYNC_STATE, RATIO_TIME, CARB_CNT) values ( %ld, %ld, %Q, %ld)";
    static constexpr const char* kInsertWithPk =
        "Insert into QB_RATIO ( PK, FK, SYNC_STATE, RATIO_TIME, CARB_CNT) values ( %ld, %ld, "
        "%ld, %Q, %ld)";
    static constexpr const char* kUpdate =
        "Update QB_RATIO set FK=%ld, SYNC_STATE=%ld, RATIO_TIME=%Q, CARB_CNT=%ld where pk=%d";
    static constexpr const char* kFindInForce = "Select * from QB_RATIO where RATIO_TIME<=%Q and "
                                                "sync_state <> 30 order by RATIO_TIME desc";
    static constexpr const char* kFindLatest =
        "Select * from QB_RATIO where sync_state <> 30  order by RATIO_TIME desc";
    static constexpr const char* kFindByTime =
        "Select * from QB_RATIO where RATIO_TIME=%Q and sync_state <> 30";
};

class QbRatioTable : public QbScheduleTable<QbRatioTraits> {};
