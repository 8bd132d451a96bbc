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
    for (bool created : {PreferenceTable::createTable(db), NoteTable::createTable(db),
                         SampleDateTable::createTable(db), MeterTable::createTable(db),
                         SampleTable::createTable(db), MedicationTable::createTable(db),
                         ProtocolTable::createTable(db), SampleTypeTable::createTable(db),
                         BloodPressureTable::createTable(db), BasilRateTable::createTable(db),
                         QbPreferenceTable::createTable(db), QbRatioTable::createTable(db),
                         QbSensitivityTable::createTable(db), QbTargetTable::createTable(db),
                         A1cTable::createTable(db), CarbsTable::createTable(db)})
        EXPECT_TRUE(created);
    QbPreference settings;
    EXPECT_TRUE(QbPreferenceTable::save(db, settings));
    Preference preference;
    EXPECT_TRUE(PreferenceTable::save(db, preference));
}

void createVersion3Layout(Database& db) {
    for (bool created : {NoteTable::createTable(db), MeterTable::createTable(db),
                         ProtocolTable::createTable(db), SampleTypeTable::createTable(db)})
        EXPECT_TRUE(created);
    for (const char* sql : {kPreferenceNormalRange, kSampleDateWithoutSite, kSampleWithoutDelivery,
                            kMedicationWithoutInsulinFlag, kBloodPressureWithoutSync})
        EXPECT_TRUE(db.exec(sql)) << sql;
}

void replaceTable(Database& db, const char* table, const char* createSql) {
    EXPECT_TRUE(db.exec(("drop table " + std::string(table)).c_str()));
    EXPECT_TRUE(db.exec(createSql));
}

} // namespace OldLayouts
