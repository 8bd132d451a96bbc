#pragma once

#include "storage/Meter.h"
#include "storage/RecordTable.h"

struct MeterTraits {
    using Abs = MeterAbs;
    using Record = Meter;
    static std::span<const Column<Abs>> columns();
    static constexpr int kSyncColumn = 2;
    static constexpr const char* kDrop = "drop table METER";
    static constexpr const char* kCreate =
        "create table METER ( PK INTEGER PRIMARY KEY, FK INTEGER, SYNC_STATE INTEGER, DESC "
        "VARCHAR(25), MFG VARCHAR(25), MODEL VARCHAR(25), SERIAL_NO VARCHAR(11), SERIVICE_DATE "
        "DATE )";
    static constexpr const char* kCreateCaption = "Create Table Meter";
    static constexpr const char* kCount = nullptr;
    static constexpr const char* kSelectAll = "Select * from METER  where sync_state <> 30 ";
    static constexpr const char* kByPk = "Select * from METER where pk=%ld";
    static constexpr const char* kDelete = "delete from METER where pk=%ld";
    static constexpr const char* kMarkDeleted = nullptr;
    static constexpr const char* kInsert =
        "Insert into METER ( FK, SYNC_STATE, DESC, MFG, MODEL, SERIAL_NO, SERIVICE_DATE) values "
        "( %ld, %ld, %Q, %Q, %Q, %Q, %Q)";
    // No insert under a given PK: a PK is always written with the update, so a PK that no
    // row has changes nothing.
    static constexpr const char* kInsertWithPk = nullptr;
    static constexpr const char* kUpdate =
        "Update METER set FK=%ld, SYNC_STATE=%ld, DESC=%Q, MFG=%Q, MODEL=%Q, SERIAL_NO=%Q, "
        "SERIVICE_DATE=%Q where pk=%d";
};

class MeterTable : public RecordTable<MeterTraits> {
public:
    // Meters are never kept for the handheld's sake: the row goes at once.
    static bool remove(Database& db, const MeterAbs& record) {
        return deleteRow(db, record.getPk());
    }
};
