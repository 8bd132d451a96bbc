#pragma once

#include "storage/A1cTable.h"
#include "storage/BasilRateTable.h"
#include "storage/BloodPressureTable.h"
#include "storage/CarbsTable.h"
#include "storage/MedicationTable.h"
#include "storage/MeterTable.h"
#include "storage/NoteTable.h"
#include "storage/PreferenceTable.h"
#include "storage/ProtocolTable.h"
#include "storage/QbPreferenceTable.h"
#include "storage/QbRatioTable.h"
#include "storage/QbSensitivityTable.h"
#include "storage/QbTargetTable.h"
#include "storage/SampleDateTable.h"
#include "storage/SampleTable.h"
#include "storage/SampleTypeTable.h"

#include <QStringList>

// Every table of the current layout, and tables as earlier versions of the program created
// them, for the storage tests.
namespace OldLayouts {

// Synchronised vital records before the weight was kept.
inline constexpr const char* kBloodPressureWithoutWeight =
    "create table BLOOD_PRESSURE ( PK INTEGER PRIMARY KEY, FK INTEGER, SYNC_STATE INTEGER, "
    "BP_TIME TIMESTAMP, SYSTOLIC INTEGER, DIASTOLIC INTEGER, PULSE INTEGER, NOTE_PK INTEGER )";
// Preferences with the "normal" glucose range and neither glucose unit nor delivery.
inline constexpr const char* kPreferenceNormalRange =
    "create table PREFERENCE ( PK INTEGER PRIMARY KEY, FK INTEGER, SYNC_STATE INTEGER, "
    "PATIENT_NAME VARCHAR(35), DOCTOR_NAME VARCHAR(35), DOCTOR_PHONE VARCHAR(15), DOCTOR_FAX "
    "VARCHAR(15), BIRTH_DATE DATE, DX_DATE DATE, RETAIN_HH_DAY_CNT INTEGER, RETAIN_PC_DAY_CNT "
    "INTEGER, MILITARY_TIME_BOL VARCHAR(2), ASK_DELETE_BOL VARCHAR(2), BP_SYSTOLIC_NORMAL "
    "INTEGER, BP_SYSTOLIC_HI INTEGER, BP_SYSTOLIC_MODERATE INTEGER, BP_DIASTOLIC_NORMAL INTEGER, "
    "BP_DIASTOLIC_MODERATE INTEGER, BP_DIASTOLIC_HI INTEGER, NORMAL_GLUCOSE_LO INTEGER, "
    "NORMAL_GLUCOSE_EXT_LO INTEGER, NORMAL_GLUCOSE_HI INTEGER, NORMAL_GLUCOSE_EXT_HI INTEGER )";
// In between: the glucose unit is kept, the range still under its old names.
inline constexpr const char* kPreferenceUnitAndNormalRange =
    "create table PREFERENCE ( PK INTEGER PRIMARY KEY, FK INTEGER, SYNC_STATE INTEGER, "
    "PATIENT_NAME VARCHAR(35), DOCTOR_NAME VARCHAR(35), RETAIN_HH_DAY_CNT INTEGER, "
    "RETAIN_PC_DAY_CNT INTEGER, GLUCOSE_SAMPLE_CODE INTEGER, NORMAL_GLUCOSE_LO INTEGER, "
    "NORMAL_GLUCOSE_EXT_LO INTEGER, NORMAL_GLUCOSE_HI INTEGER, NORMAL_GLUCOSE_EXT_HI INTEGER )";
// Every table in its current layout, empty.
void createTables(Database& db);
// The same with the quick-bolus settings row of a file that has been converted before (or
// created by this version), and the preference row.
void createCurrentLayout(Database& db);

// Runs a script of statements kept in the test-data folder.
void runScript(Database& db, const QString& file);

// Drops a table and creates it with an older definition.
void replaceTable(Database& db, const char* table, const char* createSql);

// Compares lines with a golden file in the test-data folder, line by line. With
// QUILLMARCH_UPDATE_GOLDEN set, the file is written instead (to be reviewed before use).
void expectGolden(const QStringList& made, const QString& file);

} // namespace OldLayouts
