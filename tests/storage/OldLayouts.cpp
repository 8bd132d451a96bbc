#include "storage/OldLayouts.h"

#include "storage/A1cTable.h"
#include "storage/BasilRateTable.h"
#include "storage/BloodPressureTable.h"
#include "storage/CarbsTable.h"
#include "storage/Database.h"
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

#include <gtest/gtest.h>
#include <string>

namespace OldLayouts {

void createCurrentLayout(Database& db) {
    EXPECT_TRUE(PreferenceTable::createTable(db));
    EXPECT_TRUE(NoteTable::createTable(db));
    EXPECT_TRUE(SampleDateTable::createTable(db));
    EXPECT_TRUE(MeterTable::createTable(db));
    EXPECT_TRUE(SampleTable::createTable(db));
    EXPECT_TRUE(MedicationTable::createTable(db));
    EXPECT_TRUE(ProtocolTable::createTable(db));
    EXPECT_TRUE(SampleTypeTable::createTable(db));
    EXPECT_TRUE(BloodPressureTable::createTable(db));
    EXPECT_TRUE(BasilRateTable::createTable(db));
    EXPECT_TRUE(QbPreferenceTable::createTable(db));
    EXPECT_TRUE(QbRatioTable::createTable(db));
    EXPECT_TRUE(QbSensitivityTable::createTable(db));
    EXPECT_TRUE(QbTargetTable::createTable(db));
    EXPECT_TRUE(A1cTable::createTable(db));
    EXPECT_TRUE(CarbsTable::createTable(db));
    QbPreference settings;
    EXPECT_TRUE(QbPreferenceTable::save(db, settings));
    Preference preference;
    EXPECT_TRUE(PreferenceTable::save(db, preference));
}

void createVersion3Layout(Database& db) {
    EXPECT_TRUE(NoteTable::createTable(db));
    EXPECT_TRUE(MeterTable::createTable(db));
    EXPECT_TRUE(ProtocolTable::createTable(db));
    EXPECT_TRUE(SampleTypeTable::createTable(db));
    EXPECT_TRUE(db.exec(kPreferenceNormalRange));
    EXPECT_TRUE(db.exec(kSampleDateWithoutSite));
    EXPECT_TRUE(db.exec(kSampleWithoutDelivery));
    EXPECT_TRUE(db.exec(kMedicationWithoutInsulinFlag));
    EXPECT_TRUE(db.exec(kBloodPressureWithoutSync));
}

void replaceTable(Database& db, const char* table, const char* createSql) {
    EXPECT_TRUE(db.exec(("drop table " + std::string(table)).c_str()));
    EXPECT_TRUE(db.exec(createSql));
}

} // namespace OldLayouts
