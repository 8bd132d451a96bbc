#include "app/PatientDatabase.h"

#include "storage/BasilRateTable.h"
#include "storage/BloodPressureTable.h"
#include "storage/CgmReadingTable.h"
#include "storage/Database.h"
#include "storage/DbConvert.h"
#include "storage/Indexes.h"
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
#include "ui/Progress.h"

#include <QDir>

namespace {

struct Table {
    const char* name;
    bool (*create)(Database&);
};
// A1C and CARBS are left to the conversion, which creates them for older files.
constexpr Table kOpeningTables[] = {
    {"PREFERENCE", &PreferenceTable::createTable},
    {"NOTE", &NoteTable::createTable},
    {"SAMPLE_DATE", &SampleDateTable::createTable},
    {"METER", &MeterTable::createTable},
    {"SAMPLE", &SampleTable::createTable},
    {"MEDICATION", &MedicationTable::createTable},
    {"PROTOCOL", &ProtocolTable::createTable},
    {"SAMPLE_TYPE", &SampleTypeTable::createTable},
    {"BLOOD_PRESSURE", &BloodPressureTable::createTable},
    {"BASIL_RATE", &BasilRateTable::createTable},
    {"QB_PREFERENCE", &QbPreferenceTable::createTable},
    {"QB_RATIO", &QbRatioTable::createTable},
    {"QB_SENSITIVITY", &QbSensitivityTable::createTable},
    {"QB_TARGET", &QbTargetTable::createTable},
};

} // namespace

bool createMissingTables(Database& db) {
    bool created = true;
    for (const Table& table : kOpeningTables) {
        if (!db.tableExists(QString::fromLatin1(table.name)) && !table.create(db))
            created = false;
    }
    return created;
}

QString conversionFailedText(const QString& path) {
    return QStringLiteral("The database file %1 could not be brought up to date and has not been "
                          "opened: entries typed into it could not be stored.")
        .arg(QDir::toNativeSeparators(path));
}

std::unique_ptr<Database> openPatientDatabase(const QString& path, Prompts& prompts,
                                              Progress& progress, QString& failure) {
    auto db = Database::openFile(path, prompts);
    if (!db) {
        failure = Database::lastOpenError();
        return nullptr;
    }
    // A table that cannot be created has shown its message; the file stays open with whatever
    // it holds, as the patient's data is still readable.
    createMissingTables(*db);
    // Sensor readings have a table of their own beside the logbook's; older files gain it here.
    CgmReadingTable::ensureTable(*db);
    // An old layout left in place takes every later save without storing it.
    if (!DbConvert(*db, progress).convert()) {
        failure = conversionFailedText(path);
        return nullptr;
    }
    ensureIndexes(*db);
    return db;
}

QString notCurrentText(const QString& path) {
    return QStringLiteral("The database file %1 is in the layout of an older version of the "
                          "program and is only read here, so it cannot be brought up to date. "
                          "Open the patient in the program once, then try again.")
        .arg(QDir::toNativeSeparators(path));
}

std::unique_ptr<Database> openPatientDatabaseReadOnly(const QString& path, Prompts& prompts,
                                                      QString& failure) {
    auto db = Database::openFile(path, prompts, Database::Access::ReadOnly);
    if (!db) {
        failure = Database::lastOpenError();
        return nullptr;
    }
    bool current = true;
    for (const Table& table : kOpeningTables)
        current = current && db->tableExists(QString::fromLatin1(table.name));
    NoProgress progress;
    if (!current || !DbConvert(*db, progress).isCurrent()) {
        failure = notCurrentText(path);
        return nullptr;
    }
    return db;
}
