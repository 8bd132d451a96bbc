#pragma once

#include "storage/RecordTable.h"
#include "storage/Sample.h"

struct SampleTraits {
    using Abs = SampleAbs;
    using Record = Sample;
    static std::span<const Column<Abs>> columns();
    static constexpr int kSyncColumn = 2;
    static constexpr const char* kDrop = "drop table SAMPLE";
    static constexpr const char* kCreate =
        "create table SAMPLE ( PK INTEGER PRIMARY KEY, FK INTEGER, SYNC_STATE INTEGER, "
        "SAMPLE_DATE_PK INTEGER, SAMPLE_TYPE_PK INTEGER, SAMPLE_TIME TIMESTAMP, CARB_CNT "
        "INTEGER, GLUCOSE_CNT INTEGER, NOTE_PK INTEGER, KEYTONE_CODE INTEGER, INSULIN_TIME "
        "TIMESTAMP, MEDICATION_DOSAGE VARCHAR(15), CORRECTION_DOSAGE VARCHAR(15), NEW_SITE_BOL "
        "VARCHAR(2), DELIVERY_CODE INTEGER )";
    static constexpr const char* kCreateCaption = "Create Table Sample";
    static constexpr const char* kCount = "Select count(*) from SAMPLE";
    static constexpr const char* kSelectAll = "Select * from SAMPLE  where sync_state <> 30 ";
    static constexpr const char* kByPk = "Select * from SAMPLE where pk=%ld";
    static constexpr const char* kDelete = "delete from SAMPLE where pk=%ld";
    static constexpr const char* kMarkDeleted = "update SAMPLE set sync_state = %ld where pk = %ld";
    static constexpr const char* kInsert =
        "Insert into SAMPLE ( FK, SYNC_STATE, SAMPLE_DATE_PK, SAMPLE_TYPE_PK, SAMPLE_TIME, "
        "CARB_CNT, GLUCOSE_CNT, NOTE_PK, KEYTONE_CODE, INSULIN_TIME, MEDICATION_DOSAGE, "
        "CORRECTION_DOSAGE, NEW_SITE_BOL, DELIVERY_CODE) values ( %ld, %ld, %ld, %ld, %Q, %ld, "
        "%ld, %ld, %ld, %Q, %Q, %Q, %Q, %ld)";
    static constexpr const char* kInsertWithPk =
        "Insert into SAMPLE ( PK, FK, SYNC_STATE, SAMPLE_DATE_PK, SAMPLE_TYPE_PK, SAMPLE_TIME, "
        "CARB_CNT, GLUCOSE_CNT, NOTE_PK, KEYTONE_CODE, INSULIN_TIME, MEDICATION_DOSAGE, "
        "CORRECTION_DOSAGE, NEW_SITE_BOL, DELIVERY_CODE) values ( %ld, %ld, %ld, %ld, %ld, %Q, "
        "%ld, %ld, %ld, %ld, %Q, %Q, %Q, %Q, %ld)";
    static constexpr const char* kUpdate =
        "Update SAMPLE set FK=%ld, SYNC_STATE=%ld, SAMPLE_DATE_PK=%ld, SAMPLE_TYPE_PK=%ld, "
        "SAMPLE_TIME=%Q, CARB_CNT=%ld, GLUCOSE_CNT=%ld, NOTE_PK=%ld, KEYTONE_CODE=%ld, "
        "INSULIN_TIME=%Q, MEDICATION_DOSAGE=%Q, CORRECTION_DOSAGE=%Q, NEW_SITE_BOL=%Q, "
        "DELIVERY_CODE=%ld where pk=%d";
};

class SampleTable : public RecordTable<SampleTraits> {
public:
    // A day's live entries in time order.
    static std::unique_ptr<Query> selectByDay(Database& db, int dayPk, bool ascending);
    static std::unique_ptr<Query> selectByDayAndType(Database& db, int dayPk, int typePk,
                                                     bool ascending);
    // All live entries of a slot; note that the flag asks for descending order here.
    static std::unique_ptr<Query> selectByType(Database& db, int typePk, bool descending);
    // Every live day newest first, each followed by its live entries latest first, as rows of
    // (day PK, entry PK); the entry PK is null for a day without entries. The same order as
    // asking day by day, in one statement.
    static std::unique_ptr<Query> selectDayAndEntryPks(Database& db);
    // Entries with insulin given at or after a timestamp, oldest first.
    static std::unique_ptr<Query> selectInsulinSince(Database& db, const QString& timestamp);
    static RecordPtr getBySampleTime(Database& db, const QString& timestamp);
    // The SAMPLE_TIME of every live entry taken from `from` to `to` (timestamps, both
    // included), in no particular order: an import of many records learns at once which
    // moments already have an entry.
    static std::unique_ptr<Query> selectTimesBetween(Database& db, const QString& from,
                                                     const QString& to);
    static bool setDeliveryCodeAll(Database& db, int code);

    // Files the entry under the day of its SAMPLE_TIME (which the caller has created) and
    // stores it; an entry without doses never counts as insulin given.
    static bool saveWithDay(Database& db, SampleAbs& entry, int state);

    // Removes an entry with its note.
    static bool remove(Database& db, const SampleAbs& entry);
    static bool removeByPk(Database& db, int pk);
};
