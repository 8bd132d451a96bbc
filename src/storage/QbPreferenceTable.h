#pragma once

#include "storage/QbPreference.h"
#include "storage/RecordTable.h"

struct QbPreferenceTraits {
    using Abs = QbPreferenceAbs;
    using Record = QbPreference;
    static std::span<const Column<Abs>> columns();
    static constexpr int kSyncColumn = 2;
    static constexpr const char* kDrop = "drop table QB_PREFERENCE";
    static constexpr const char* kCreate =
        "create table QB_PREFERENCE  (      PK           INTEGER PRIMARY KEY,     FK           "
        "INTEGER,     SYNC_STATE   INTEGER,     MED_CODE     VARCHAR(2),     MED_MINUTES  "
        "INTEGER,     USE_BOL      VARCHAR(2) )";
    static constexpr const char* kCreateCaption = "Create Table QbPreference";
    static constexpr const char* kCount = "Select count(*) from QB_PREFERENCE";
    // Only the row with PK 1 is ever used: no listing and no removal.
    static constexpr const char* kSelectAll = nullptr;
    static constexpr const char* kByPk = "Select * from QB_PREFERENCE where pk=%ld";
    static constexpr const char* kDelete = nullptr;
    static constexpr const char* kMarkDeleted = nullptr;
    static constexpr const char* kInsert =
        "Insert into QB_PREFERENCE ( FK, SYNC_STATE, MED_CODE, MED_MINUTES, USE_BOL) values ( "
        "%ld, %ld, %Q, %ld, %Q)";
    static constexpr const char* kInsertWithPk =
        "Insert into QB_PREFERENCE ( PK, FK, SYNC_STATE, MED_CODE, MED_MINUTES, USE_BOL) values "
        "( %ld, %ld, %ld, %Q, %ld, %Q)";
    static constexpr const char* kUpdate =
        "Update QB_PREFERENCE set FK=%ld, SYNC_STATE=%ld, MED_CODE=%Q, MED_MINUTES=%ld, "
        "USE_BOL=%Q where pk=%d";
};

class QbPreferenceTable : public RecordTable<QbPreferenceTraits> {
public:
    // The row the application reads and writes.
    static constexpr int kPk = 1;
};
