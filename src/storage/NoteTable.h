#pragma once

#include "storage/Note.h"
#include "storage/RecordTable.h"

struct NoteTraits {
    using Abs = NoteAbs;
    using Record = Note;
    static std::span<const Column<Abs>> columns();
    static constexpr int kSyncColumn = 2;
    static constexpr const char* kDrop = "drop table NOTE";
    static constexpr const char* kCreate =
        "create table NOTE ( PK INTEGER PRIMARY KEY, FK INTEGER, SYNC_STATE INTEGER, NOTE_TYPE "
        "INTEGER, OWNER_PK INTEGER, TEXT VARCHAR(256) )";
    static constexpr const char* kCreateCaption = "Create Table Note";
    static constexpr const char* kCount = nullptr;
    static constexpr const char* kSelectAll = nullptr;
    static constexpr const char* kByPk = "Select * from NOTE where pk=%ld";
    static constexpr const char* kDelete = "delete from NOTE where pk=%ld";
    static constexpr const char* kMarkDeleted = "update NOTE set sync_state = %ld where pk = %ld";
    static constexpr const char* kInsert =
        "Insert into NOTE ( FK, SYNC_STATE, NOTE_TYPE, OWNER_PK, TEXT) values ( %ld, %ld, %ld, "
        "%ld, %Q)";
    static constexpr const char* kInsertWithPk =
        "Insert into NOTE ( PK, FK, SYNC_STATE, NOTE_TYPE, OWNER_PK, TEXT) values ( %ld, %ld, "
        "%ld, %ld, %ld, %Q)";
    static constexpr const char* kUpdate =
        "Update NOTE set FK=%ld, SYNC_STATE=%ld, NOTE_TYPE=%ld, OWNER_PK=%ld, TEXT=%Q where pk=%d";
};

class NoteTable : public RecordTable<NoteTraits> {
public:
    static bool remove(Database& db, const NoteAbs& note) { return removeRow(db, note); }
    // A note that is not found counts as removed.
    static bool removeByPk(Database& db, int pk);
    // Physically deletes every note whose owner no longer points to it.
    static bool deleteOrphans(Database& db);
};
