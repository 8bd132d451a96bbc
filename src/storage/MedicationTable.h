#pragma once

#include "storage/Conversions.h"
#include "storage/Medication.h"
#include "storage/RecordTable.h"

#include <memory>
#include <vector>

struct MedicationTraits {
    using Abs = MedicationAbs;
    using Record = Medication;
    static std::span<const Column<Abs>> columns();
    static constexpr int kSyncColumn = 2;
    static constexpr const char* kDrop = "drop table MEDICATION";
    static constexpr const char* kCreate =
        "create table MEDICATION ( PK INTEGER PRIMARY KEY, FK INTEGER, SYNC_STATE INTEGER, "
        "IS_INSULIN_BOL VARCHAR(2), ACTIVE_BOL VARCHAR(2), INCLUDE_IN_TOTALS_BOL VARCHAR(2), "
        "MED_CODE VARCHAR(2), MED_DESC VARCHAR(25), OPEN_DATE DATE, EXPIRE_DAY_CNT INTEGER, "
        "INCREMENT_BY_CODE INTEGER, RX_ORDER_ID VARCHAR(10) )";
    static constexpr const char* kCreateCaption = "Create Table Medication";
    static constexpr const char* kCount = nullptr;
    static constexpr const char* kSelectAll = "Select * from MEDICATION  where sync_state <> 30 ";
    static constexpr const char* kByPk = "Select * from MEDICATION where pk=%ld";
    static constexpr const char* kDelete = "delete from MEDICATION where pk=%ld";
    static constexpr const char* kMarkDeleted =
        "update MEDICATION set sync_state = %ld where pk = %ld";
    static constexpr const char* kInsert =
        "Insert into MEDICATION ( FK, SYNC_STATE, IS_INSULIN_BOL, ACTIVE_BOL, "
        "INCLUDE_IN_TOTALS_BOL, MED_CODE, MED_DESC, OPEN_DATE, EXPIRE_DAY_CNT, INCREMENT_BY_CODE, "
        "RX_ORDER_ID) values ( %ld, %ld, %Q, %Q, %Q, %Q, %Q, %Q, %ld, %ld, %Q)";
    static constexpr const char* kInsertWithPk =
        "Insert into MEDICATION ( PK, FK, SYNC_STATE, IS_INSULIN_BOL, ACTIVE_BOL, "
        "INCLUDE_IN_TOTALS_BOL, MED_CODE, MED_DESC, OPEN_DATE, EXPIRE_DAY_CNT, INCREMENT_BY_CODE, "
        "RX_ORDER_ID) values ( %ld, %ld, %ld, %Q, %Q, %Q, %Q, %Q, %Q, %ld, %ld, %Q)";
    static constexpr const char* kUpdate =
        "Update MEDICATION set FK=%ld, SYNC_STATE=%ld, IS_INSULIN_BOL=%Q, ACTIVE_BOL=%Q, "
        "INCLUDE_IN_TOTALS_BOL=%Q, MED_CODE=%Q, MED_DESC=%Q, OPEN_DATE=%Q, EXPIRE_DAY_CNT=%ld, "
        "INCREMENT_BY_CODE=%ld, RX_ORDER_ID=%Q where pk=%d";
};

class MedicationTable : public RecordTable<MedicationTraits> {
public:
    // The letters a new medication's code is chosen from, in order of preference.
    static constexpr const char* kCodeLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";

    static bool remove(Database& db, const MedicationAbs& record) { return removeRow(db, record); }
    // A PK that no row has counts as removed.
    static bool removeByPk(Database& db, int pk);

    // The live medications ordered by MED_DESC ascending, as the medication lists show them.
    static std::unique_ptr<Query> selectAllByDesc(Database& db);

    // The first medication with that code, deleted rows included, or nothing.
    static RecordPtr getByCode(Database& db, const QString& code);
    // The medication with that name; when there is none, a new insulin with the first free
    // code letter is stored and returned. Nothing when every letter is taken or the new row
    // cannot be stored.
    static RecordPtr getOrCreateByDesc(Database& db, const QString& name);
};

// A lookup by code over a list of medications, for the insulin totals. It keeps its own copy
// of what it needs, so it stays valid after the list is gone. When two medications share a
// code, the first one in the list answers.
MedicationLookup makeMedicationLookup(const std::vector<std::unique_ptr<Medication>>& medications);
