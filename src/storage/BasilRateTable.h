#pragma once

#include "storage/BasilRate.h"
#include "storage/RecordTable.h"

struct BasilRateTraits {
    using Abs = BasilRateAbs;
    using Record = BasilRate;
    static std::span<const Column<Abs>> columns();
    static constexpr int kSyncColumn = 2;
    static constexpr const char* kDrop = "drop table BASIL_RATE";
    static constexpr const char* kCreate =
        "create table BASIL_RATE ( PK INTEGER PRIMARY KEY, FK INTEGER, SYNC_STATE INTEGER, "
        "START_TIME VARCHAR(5), BASIL_MED_AMT VARCHAR(6) )";
    static constexpr const char* kCreateCaption = "Create Table BasilRate";
    static constexpr const char* kCount = nullptr;
    static constexpr const char* kSelectAll = "Select * from BASIL_RATE  where sync_state <> 30 ";
    static constexpr const char* kByPk = "Select * from BASIL_RATE where pk=%ld";
    static constexpr const char* kDelete = "delete from BASIL_RATE where pk=%ld";
    static constexpr const char* kMarkDeleted =
        "update BASIL_RATE set sync_state = %ld where pk = %ld";
    static constexpr const char* kInsert =
        "Insert into BASIL_RATE ( FK, SYNC_STATE, START_TIME, BASIL_MED_AMT) values ( %ld, %ld, "
        "%Q, %Q)";
    static constexpr const char* kInsertWithPk =
        "Insert into BASIL_RATE ( PK, FK, SYNC_STATE, START_TIME, BASIL_MED_AMT) values ( %ld, "
        "%ld, %ld, %Q, %Q)";
    static constexpr const char* kUpdate =
        "Update BASIL_RATE set FK=%ld, SYNC_STATE=%ld, START_TIME=%Q, BASIL_MED_AMT=%Q where pk=%d";
};

class BasilRateTable : public RecordTable<BasilRateTraits> {
public:
    static bool remove(Database& db, const BasilRateAbs& record) { return removeRow(db, record); }
    // The first row starting at exactly that time, deleted rows included, or nothing.
    static RecordPtr getByStartTime(Database& db, const QString& time);
};
