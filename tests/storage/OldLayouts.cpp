#include "storage/OldLayouts.h"

#include <QFile>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <string>

namespace OldLayouts {

void createTables(Database& db) {
    for (bool created : {PreferenceTable::createTable(db), NoteTable::createTable(db),
                         SampleDateTable::createTable(db), MeterTable::createTable(db),
                         SampleTable::createTable(db), MedicationTable::createTable(db),
                         ProtocolTable::createTable(db), SampleTypeTable::createTable(db),
                         BloodPressureTable::createTable(db), BasilRateTable::createTable(db),
                         QbPreferenceTable::createTable(db), QbRatioTable::createTable(db),
                         QbSensitivityTable::createTable(db), QbTargetTable::createTable(db),
                         A1cTable::createTable(db), CarbsTable::createTable(db)})
        EXPECT_TRUE(created);
}

void createCurrentLayout(Database& db) {
    createTables(db);
    QbPreference settings;
    EXPECT_TRUE(QbPreferenceTable::save(db, settings));
    Preference preference;
    EXPECT_TRUE(PreferenceTable::save(db, preference));
}

void runScript(Database& db, const QString& file) {
    QFile script(qEnvironmentVariable("QUILLMARCH_TEST_DATA") + "/" + file);
    ASSERT_TRUE(script.open(QIODevice::ReadOnly)) << file.toStdString();
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(db.handle(), script.readAll().constData(), nullptr, nullptr, &error),
              SQLITE_OK)
        << (error ? error : "");
    sqlite3_free(error);
}

void expectGolden(const QStringList& made, const QString& file) {
    QFile golden(qEnvironmentVariable("QUILLMARCH_TEST_DATA") + "/" + file);
    if (qEnvironmentVariableIsSet("QUILLMARCH_UPDATE_GOLDEN")) {
        ASSERT_TRUE(golden.open(QIODevice::WriteOnly | QIODevice::Text));
        golden.write(made.join('\n').toUtf8() + '\n');
        return;
    }
    ASSERT_TRUE(golden.open(QIODevice::ReadOnly | QIODevice::Text)) << file.toStdString();
    const QStringList lines = QString::fromUtf8(golden.readAll()).split('\n', Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < std::max(lines.size(), made.size()); ++i)
        ASSERT_EQ(made.value(i), lines.value(i)) << file.toStdString() << ":" << i + 1;
}

} // namespace OldLayouts
