#pragma once

#include "storage/BloodPressure.h"
#include "storage/RecordTable.h"

struct BloodPressureTraits {
    using Abs = BloodPressureAbs;
    using Record = BloodPressure;
    static std::span<const Column<Abs>> columns();
    static constexpr int kSyncColumn = 2;
    static constexpr const char* kDrop = "drop table BLOOD_PRESSURE";
    static constexpr const char* kCreate =
        "create table BLOOD_PRESSURE ( PK INTEGER PRIMARY KEY, FK INTEGER, SYNC_STATE INTEGER, "
        "BP_TIME TIMESTAMP, SYSTOLIC INTEGER, DIASTOLIC INTEGER, PULSE INTEGER, NOTE_PK INTEGER, "
        "WEIGHT VARCHAR(6) )";
    static constexpr const char* kCreateCaption = "Create Table BloodPressure";
    static constexpr const char* kCount = "Select count(*) from BLOOD_PRESSURE";
    static constexpr const char* kSelectAll =
        "Select * from BLOOD_PRESSURE  where sync_state <> 30 ";
    static constexpr const char* kByPk = "Select * from BLOOD_PRESSURE where pk=%ld";
    static constexpr const char* kDelete = "delete from BLOOD_PRESSURE where pk=%ld";
    static constexpr const char* kMarkDeleted =
        "update BLOOD_PRESSURE set sync_state = %ld where pk = %ld";
    static constexpr const char* kInsert =
        "Insert into BLOOD_PRESSURE ( FK, SYNC_STATE, BP_TIME, SYSTOLIC, DIASTOLIC, PULSE, "
        "NOTE_PK, WEIGHT) values ( %ld, %ld, %Q, %ld, %ld, %ld, %ld, %Q)";
    static constexpr const char* kInsertWithPk =
        "Insert into BLOOD_PRESSURE ( PK, FK, SYNC_STATE, BP_TIME, SYSTOLIC, DIASTOLIC, PULSE, "
        "NOTE_PK, WEIGHT) values ( %ld, %ld, %ld, %Q, %ld, %ld, %ld, %ld, %Q)";
    static constexpr const char* kUpdate =
        "Update BLOOD_PRESSURE set FK=%ld, SYNC_STATE=%ld, BP_TIME=%Q, SYSTOLIC=%ld, "
        "DIASTOLIC=%ld, PULSE=%ld, NOTE_PK=%ld, WEIGHT=%Q where pk=%d";
};

class BloodPressureTable : public RecordTable<BloodPressureTraits> {
public:
    // Removes a vital record with its note.
    static bool remove(Database& db, const BloodPressureAbs& record);
    // Unlike the other tables, a PK that no row has counts as a failure, not as removed.
    static bool removeByPk(Database& db, int pk);
};
