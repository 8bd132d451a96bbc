#pragma once

#include "storage/Preference.h"
#include "storage/RecordTable.h"

struct PreferenceTraits {
    using Abs = PreferenceAbs;
    using Record = Preference;
    static std::span<const Column<Abs>> columns();
    static constexpr int kSyncColumn = 2;
    static constexpr const char* kDrop = "drop table PREFERENCE";
    static constexpr const char* kCreate =
        "create table PREFERENCE ( PK INTEGER PRIMARY KEY, FK INTEGER, SYNC_STATE INTEGER, "
        "PATIENT_NAME VARCHAR(35), DOCTOR_NAME VARCHAR(35), DOCTOR_PHONE VARCHAR(15), "
        "DOCTOR_FAX VARCHAR(15), BIRTH_DATE DATE, DX_DATE DATE, RETAIN_HH_DAY_CNT INTEGER, "
        "RETAIN_PC_DAY_CNT INTEGER, MILITARY_TIME_BOL VARCHAR(2), ASK_DELETE_BOL VARCHAR(2), "
        "BP_SYSTOLIC_NORMAL INTEGER, BP_SYSTOLIC_HI INTEGER, BP_SYSTOLIC_MODERATE INTEGER, "
        "BP_DIASTOLIC_NORMAL INTEGER, BP_DIASTOLIC_MODERATE INTEGER, BP_DIASTOLIC_HI INTEGER, "
        "GLUCOSE_SAMPLE_CODE INTEGER, DELIVERY_CODE INTEGER, GLUCOSE_LO INTEGER, GLUCOSE_EXT_LO "
        "INTEGER, GLUCOSE_HI INTEGER, GLUCOSE_EXT_HI INTEGER )";
    static constexpr const char* kCreateCaption = "Create Table Preference";
    // The preference row is never counted nor removed.
    static constexpr const char* kCount = nullptr;
    static constexpr const char* kSelectAll = "Select * from PREFERENCE  where sync_state <> 30 ";
    static constexpr const char* kByPk = "Select * from PREFERENCE where pk=%ld";
    static constexpr const char* kDelete = nullptr;
    static constexpr const char* kMarkDeleted = nullptr;
    static constexpr const char* kInsert =
        "Insert into PREFERENCE ( FK, SYNC_STATE, PATIENT_NAME, DOCTOR_NAME, DOCTOR_PHONE, "
        "DOCTOR_FAX, BIRTH_DATE, DX_DATE, RETAIN_HH_DAY_CNT, RETAIN_PC_DAY_CNT, "
        "MILITARY_TIME_BOL, ASK_DELETE_BOL, BP_SYSTOLIC_NORMAL, BP_SYSTOLIC_HI, "
        "BP_SYSTOLIC_MODERATE, BP_DIASTOLIC_NORMAL, BP_DIASTOLIC_MODERATE, BP_DIASTOLIC_HI, "
        "GLUCOSE_SAMPLE_CODE, DELIVERY_CODE, GLUCOSE_LO, GLUCOSE_EXT_LO, GLUCOSE_HI, "
        "GLUCOSE_EXT_HI) values ( %ld, %ld, %Q, %Q, %Q, %Q, %Q, %Q, %ld, %ld, %Q, %Q, %ld, %ld, "
        "%ld, %ld, %ld, %ld, %ld, %ld, %ld, %ld, %ld, %ld)";
    static constexpr const char* kInsertWithPk =
        "Insert into PREFERENCE ( PK, FK, SYNC_STATE, PATIENT_NAME, DOCTOR_NAME, DOCTOR_PHONE, "
        "DOCTOR_FAX, BIRTH_DATE, DX_DATE, RETAIN_HH_DAY_CNT, RETAIN_PC_DAY_CNT, "
        "MILITARY_TIME_BOL, ASK_DELETE_BOL, BP_SYSTOLIC_NORMAL, BP_SYSTOLIC_HI, "
        "BP_SYSTOLIC_MODERATE, BP_DIASTOLIC_NORMAL, BP_DIASTOLIC_MODERATE, BP_DIASTOLIC_HI, "
        "GLUCOSE_SAMPLE_CODE, DELIVERY_CODE, GLUCOSE_LO, GLUCOSE_EXT_LO, GLUCOSE_HI, "
        "GLUCOSE_EXT_HI) values ( %ld, %ld, %ld, %Q, %Q, %Q, %Q, %Q, %Q, %ld, %ld, %Q, %Q, %ld, "
        "%ld, %ld, %ld, %ld, %ld, %ld, %ld, %ld, %ld, %ld, %ld)";
    static constexpr const char* kUpdate =
        "Update PREFERENCE set FK=%ld, SYNC_STATE=%ld, PATIENT_NAME=%Q, DOCTOR_NAME=%Q, "
        "DOCTOR_PHONE=%Q, DOCTOR_FAX=%Q, BIRTH_DATE=%Q, DX_DATE=%Q, RETAIN_HH_DAY_CNT=%ld, "
        "RETAIN_PC_DAY_CNT=%ld, MILITARY_TIME_BOL=%Q, ASK_DELETE_BOL=%Q, BP_SYSTOLIC_NORMAL=%ld, "
        "BP_SYSTOLIC_HI=%ld, BP_SYSTOLIC_MODERATE=%ld, BP_DIASTOLIC_NORMAL=%ld, "
        "BP_DIASTOLIC_MODERATE=%ld, BP_DIASTOLIC_HI=%ld, GLUCOSE_SAMPLE_CODE=%ld, "
        "DELIVERY_CODE=%ld, GLUCOSE_LO=%ld, GLUCOSE_EXT_LO=%ld, GLUCOSE_HI=%ld, "
        "GLUCOSE_EXT_HI=%ld where pk=%d";
};

class PreferenceTable : public RecordTable<PreferenceTraits> {
public:
    // The row everything reads and writes.
    static constexpr int kPk = 1;

    // The patient's preference row; a database without one gets a new row with the
    // defaults, which is returned (with the defaults even when it could not be stored).
    static RecordPtr load(Database& db);
};
