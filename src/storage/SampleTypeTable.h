#pragma once

#include "storage/RecordTable.h"
#include "storage/SampleType.h"

struct SampleTypeTraits {
    using Abs = SampleTypeAbs;
    using Record = SampleType;
    static std::span<const Column<Abs>> columns();
    static constexpr int kSyncColumn = 2;
    static constexpr const char* kDrop = "drop table SAMPLE_TYPE";
    static constexpr const char* kCreate =
        "create table SAMPLE_TYPE ( PK INTEGER PRIMARY KEY, FK INTEGER, SYNC_STATE INTEGER, "
        "SAMPLE_TIME VARCHAR(4), DESC VARCHAR(15), MEDICATION_DOSAGE VARCHAR(15) )";
    static constexpr const char* kCreateCaption = "Create Table SampleType";
    static constexpr const char* kCount = nullptr;
    static constexpr const char* kSelectAll = "Select * from SAMPLE_TYPE  where sync_state <> 30 ";
    static constexpr const char* kByPk = "Select * from SAMPLE_TYPE where pk=%ld";
    static constexpr const char* kDelete = nullptr; // slots are never removed
    static constexpr const char* kMarkDeleted = nullptr;
    static constexpr const char* kInsert =
        "Insert into SAMPLE_TYPE ( FK, SYNC_STATE, SAMPLE_TIME, DESC, MEDICATION_DOSAGE) values "
        "( %ld, %ld, %Q, %Q, %Q)";
    static constexpr const char* kInsertWithPk =
        "Insert into SAMPLE_TYPE ( PK, FK, SYNC_STATE, SAMPLE_TIME, DESC, MEDICATION_DOSAGE) "
        "values ( %ld, %ld, %ld, %Q, %Q, %Q)";
    static constexpr const char* kUpdate =
        "Update SAMPLE_TYPE set FK=%ld, SYNC_STATE=%ld, SAMPLE_TIME=%Q, DESC=%Q, "
        "MEDICATION_DOSAGE=%Q where pk=%d";
};

class SampleTypeTable : public RecordTable<SampleTypeTraits> {};
