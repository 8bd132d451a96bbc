#pragma once

#include "storage/QbScheduleTable.h"
#include "storage/QbSensitivity.h"

struct QbSensitivityTraits {
    using Abs = QbSensitivityAbs;
    using Record = QbSensitivity;
    static std::span<const Column<Abs>> columns();
    static constexpr int kSyncColumn = 2;
    static constexpr const char* kDrop = "drop table QB_SENSITIVITY";
    static constexpr const char* kCreate =
        "create table QB_SENSITIVITY (     PK           INTEGER PRIMARY KEY,     FK           "
        "INTEGER,     SYNC_STATE   INTEGER,     SENS_TIME    VARCHAR(5),     GLUCOSE_CNT  "
        "INTEGER )";
    static constexpr const char* kCreateCaption = "Create Table QbSensitivity";
    static constexpr const char* kCount = "Select count(*) from QB_SENSITIVITY";
    static constexpr const char* kSelectAll =
        "Select * from QB_SENSITIVITY  where sync_state <> 30 ";
    static constexpr const char* kByPk = "Select * from QB_SENSITIVITY where pk=%ld";
    static constexpr const char* kDelete = "delete from QB_SENSITIVITY where pk=%ld";
    static constexpr const char* kMarkDeleted =
        "update QB_SENSITIVITY set sync_state = %ld where pk = %ld";
    static constexpr const char* kInsert = "Insert into QB_SENSITIVITY ( FK, SYNC_STATE, "
                                           "SENS_TIME, GLUCOSE_CNT) values ( %ld, %ld, %Q, %ld)";
    static constexpr const char* kInsertWithPk =
        "Insert into QB_SENSITIVITY ( PK, FK, SYNC_STATE, SENS_TIME, GLUCOSE_CNT) values ( %ld, "
        "%ld, %ld, %Q, %ld)";
    static constexpr const char* kUpdate = "Update QB_SENSITIVITY set FK=%ld, SYNC_STATE=%ld, "
                                           "SENS_TIME=%Q, GLUCOSE_CNT=%ld where pk=%d";
    static constexpr const char* kFindInForce =
        "Select * from QB_SENSITIVITY where SENS_TIME<=%Q and sync_state <> 30  order by "
        "SENS_TIME desc";
    static constexpr const char* kFindLatest =
        "Select * from QB_SENSITIVITY where sync_state <> 30  order by SENS_TIME desc";
    static constexpr const char* kFindByTime =
        "Select * from QB_SENSITIVITY where SENS_TIME=%Q and sync_state <> 30 ";
};

class QbSensitivityTable : public QbScheduleTable<QbSensitivityTraits> {};
