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

// Every table of the current layout, files of earlier versions, and golden files, for the
// storage tests.
namespace OldLayouts {

// Every table in its current layout, empty.
void createTables(Database& db);
// The same with the quick-bolus settings row of a file that has been converted before (or
// created by this version), and the preference row.
void createCurrentLayout(Database& db);

// Runs a script of statements kept in the test-data folder.
void runScript(Database& db, const QString& file);

// Compares lines with a golden file in the test-data folder, line by line. With
// QUILLMARCH_UPDATE_GOLDEN set, the file is written instead (to be reviewed before use).
void expectGolden(const QStringList& made, const QString& file);

} // namespace OldLayouts
