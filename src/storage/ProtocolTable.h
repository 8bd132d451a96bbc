#pragma once

#include "storage/Protocol.h"
#include "storage/RecordTable.h"

struct ProtocolTraits {
    using Abs = ProtocolAbs;
    using Record = Protocol;
    static std::span<const Column<Abs>> columns();
    static constexpr int kSyncColumn = 2;
    static constexpr const char* kDrop = "drop table PROTOCOL";
    static constexpr const char* kCreate =
        "create table PROTOCOL ( PK INTEGER PRIMARY KEY, FK INTEGER, SYNC_STATE INTEGER, "
        "PROTOCOL_TYPE INTEGER, EFFECTIVE_DATE DATE, TEXT VARCHAR(256) )";
    static constexpr const char* kCreateCaption = "Create Table Protocol";
    static constexpr const char* kCount = nullptr;
    static constexpr const char* kSelectAll = "Select * from PROTOCOL  where sync_state <> 30 ";
    static constexpr const char* kByPk = "Select * from PROTOCOL where pk=%ld";
    static constexpr const char* kDelete = "delete from PROTOCOL where pk=%ld";
    static constexpr const char* kMarkDeleted = nullptr;
    static constexpr const char* kInsert =
        "Insert into PROTOCOL ( FK, SYNC_STATE, PROTOCOL_TYPE, EFFECTIVE_DATE, TEXT) values ( "
        "%ld, %ld, %ld, %Q, %Q)";
    static constexpr const char* kInsertWithPk =
        "Insert into PROTOCOL ( PK, FK, SYNC_STATE, PROTOCOL_TYPE, EFFECTIVE_DATE, TEXT) values ( "
        "%ld, %ld, %ld, %ld, %Q, %Q)";
    static constexpr const char* kUpdate =
        "Update PROTOCOL set FK=%ld, SYNC_STATE=%ld, PROTOCOL_TYPE=%ld, EFFECTIVE_DATE=%Q, TEXT=%Q "
        "where pk=%d";
};

class ProtocolTable : public RecordTable<ProtocolTraits> {
public:
    // Protocols are never kept for the handheld's sake: the row goes at once.
    static bool remove(Database& db, const ProtocolAbs& record) {
        return deleteRow(db, record.getPk());
    }

    // The live protocol that takes effect on exactly that date, or nothing.
    static RecordPtr getByDate(Database& db, const QString& date);
    // The newest live protocol that took effect strictly before the date, or nothing.
    static RecordPtr getLatestBefore(Database& db, const QString& date);
};
