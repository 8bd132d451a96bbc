#pragma once

#include "storage/RecordTable.h"
#include "storage/SampleDate.h"

struct SampleDateTraits {
    using Abs = SampleDateAbs;
    using Record = SampleDate;
    static std::span<const Column<Abs>> columns();
    static constexpr int kSyncColumn = 2;
    static constexpr const char* kDrop = "drop table SAMPLE_DATE";
    static constexpr const char* kCreate =
        "create table SAMPLE_DATE ( PK INTEGER PRIMARY KEY, FK INTEGER, SYNC_STATE INTEGER, "
        "SUMMARY_STATE INTEGER, SAMPLE_DATE DATE, DAY_TYPE_ID INTEGER, TTL_CARB_CNT INTEGER, "
        "AVG_GLUCOSE_CNT INTEGER, TTL_SAMPLE_CNT INTEGER, TTL_INSULIN_AMT INTEGER, "
        "MAX_KEYTONE_CODE INTEGER, NOTE_PK INTEGER, NEW_SITE_BOL VARCHAR(2) )";
    static constexpr const char* kCreateCaption = "Create Table SampleDate";
    static constexpr const char* kCount = "Select count(*) from SAMPLE_DATE";
    static constexpr const char* kSelectAll = "Select * from SAMPLE_DATE  where sync_state <> 30 ";
    static constexpr const char* kByPk = "Select * from SAMPLE_DATE where pk=%ld";
    static constexpr const char* kDelete = "delete from SAMPLE_DATE where pk=%ld";
    static constexpr const char* kMarkDeleted =
        "update SAMPLE_DATE set sync_state = %ld where pk = %ld";
    static constexpr const char* kInsert =
        "Insert into SAMPLE_DATE ( FK, SYNC_STATE, SUMMARY_STATE, SAMPLE_DATE, DAY_TYPE_ID, "
        "TTL_CARB_CNT, AVG_GLUCOSE_CNT, TTL_SAMPLE_CNT, TTL_INSULIN_AMT, MAX_KEYTONE_CODE, "
        "NOTE_PK, NEW_SITE_BOL) values ( %ld, %ld, %ld, %Q, %ld, %ld, %ld, %ld, %ld, %ld, %ld, "
        "%Q)";
    static constexpr const char* kInsertWithPk =
        "Insert into SAMPLE_DATE ( PK, FK, SYNC_STATE, SUMMARY_STATE, SAMPLE_DATE, DAY_TYPE_ID, "
        "TTL_CARB_CNT, AVG_GLUCOSE_CNT, TTL_SAMPLE_CNT, TTL_INSULIN_AMT, MAX_KEYTONE_CODE, "
        "NOTE_PK, NEW_SITE_BOL) values ( %ld, %ld, %ld, %ld, %Q, %ld, %ld, %ld, %ld, %ld, %ld, "
        "%ld, %Q)";
    static constexpr const char* kUpdate =
        "Update SAMPLE_DATE set FK=%ld, SYNC_STATE=%ld, SUMMARY_STATE=%ld, SAMPLE_DATE=%Q, "
        "DAY_TYPE_ID=%ld, TTL_CARB_CNT=%ld, AVG_GLUCOSE_CNT=%ld, TTL_SAMPLE_CNT=%ld, "
        "TTL_INSULIN_AMT=%ld, MAX_KEYTONE_CODE=%ld, NOTE_PK=%ld, NEW_SITE_BOL=%Q where pk=%d";
};

class SampleDateTable : public RecordTable<SampleDateTraits> {
public:
    // SUMMARY_STATE of a day whose totals must be recomputed.
    static constexpr int kUnsummarized = 1;

    // The day of a date; a timestamp may be given (its first 8 characters are the date).
    static RecordPtr getByDate(Database& db, const QString& date);
    static std::unique_ptr<Query> selectUnsummarized(Database& db);
    static bool markAllUnsummarized(Database& db);
    static int getSummarizableCnt(Database& db);
    // Days older than an 8-digit date (retention clean-up).
    static std::unique_ptr<Query> selectBefore(Database& db, const QString& date);
    static int getTruncatableCnt(Database& db, const QString& date);

    // Removes a day with its entries, their notes and the day's own note.
    static bool remove(Database& db, const SampleDateAbs& day);
    static bool removeByPk(Database& db, int pk);
};
