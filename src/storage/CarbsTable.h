#pragma once

#include "storage/Carbs.h"
#include "storage/RecordTable.h"

struct CarbsTraits {
    using Abs = CarbsAbs;
    using Record = Carbs;
    static std::span<const Column<Abs>> columns();
    static constexpr int kSyncColumn = 3;
    static constexpr const char* kDrop = "drop table CARBS";
    static constexpr const char* kCreate =
        "CREATE TABLE CARBS ( pk integer primary key, fk integer,catagory integer, sync_state "
        "integer, carb_name varchar(25), carb_cnt integer )";
    static constexpr const char* kCreateCaption = "Create Table Carbs";
    static constexpr const char* kCount = "Select count(*) from CARBS";
    static constexpr const char* kSelectAll = "Select * from CARBS  where sync_state <> 30 ";
    static constexpr const char* kByPk = "Select * from CARBS where pk=%ld";
    static constexpr const char* kDelete = "delete from CARBS where pk=%ld";
    static constexpr const char* kMarkDeleted = "update CARBS set sync_state = %ld where pk = %ld";
    static constexpr const char* kInsert =
        "Insert into CARBS ( fk, catagory, sync_state, carb_name, carb_cnt) values ( %ld, %ld, "
        "%ld, %Q, %ld)";
    static constexpr const char* kInsertWithPk =
        "Insert into CARBS ( pk, fk, catagory, sync_state, carb_name, carb_cnt) values ( %ld, "
        "%ld, %ld, %ld, %Q, %ld)";
    static constexpr const char* kUpdate =
        "Update CARBS set fk=%ld, catagory=%ld, sync_state=%ld, carb_name=%Q, carb_cnt=%ld where "
        "pk=%d";
};

class CarbsTable : public RecordTable<CarbsTraits> {
public:
    static bool remove(Database& db, const CarbsAbs& record) { return removeRow(db, record); }
};
