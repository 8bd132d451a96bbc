#pragma once

#include "storage/A1c.h"
#include "storage/RecordTable.h"

struct A1cTraits {
    using Abs = A1cAbs;
    using Record = A1c;
    static std::span<const Column<Abs>> columns();
    static constexpr int kSyncColumn = 2;
    static constexpr const char* kDrop = "drop table A1C";
    static constexpr const char* kCreate =
        "CREATE TABLE A1C ( pk integer primary key, fk integer,sync_state integer, a1c_date "
        "date, a1c_count char(5) )";
    static constexpr const char* kCreateCaption = "Create Table A1c";
    static constexpr const char* kCount = "Select count(*) from A1C";
    static constexpr const char* kSelectAll = "Select * from A1C  where sync_state <> 30 ";
    static constexpr const char* kByPk = "Select * from A1C where pk=%ld";
    static constexpr const char* kDelete = "delete from A1C where pk=%ld";
    static constexpr const char* kMarkDeleted = "update A1C set sync_state = %ld where pk = %ld";
    static constexpr const char* kInsert =
        "Insert into A1C ( fk, sync_state, a1c_date, a1c_count) values ( %ld, %ld, %Q, %Q)";
    static constexpr const char* kInsertWithPk =
        "Insert into A1C ( pk, fk, sync_state, a1c_date, a1c_count) values ( %ld, %ld, %ld, %Q, "
        "%Q)";
    static constexpr const char* kUpdate =
        "Update A1C set fk=%ld, sync_state=%ld, a1c_date=%Q, a1c_count=%Q where pk=%d";
};

class A1cTable : public RecordTable<A1cTraits> {
public:
    static bool remove(Database& db, const A1cAbs& record) { return removeRow(db, record); }
    // The A1c log keeps what the patient removed as a deleted row, even when the handheld
    // never knew it.
    static bool markRecordDeleted(Database& db, const A1cAbs& record) {
        return markDeleted(db, record.getPk());
    }
};
