#pragma once

#include "app/DefaultData.h"
#include "storage/Conversions.h"
#include "storage/PreferenceTable.h"
#include "support/LogbookTest.h"
#include "support/RecordingProgress.h"
#include "support/TestLogbookContext.h"

#include <QFile>
#include <QStringList>
#include <sqlite3.h>

inline QString testData(const QString& relative) {
    return qEnvironmentVariable("QUILLMARCH_TEST_DATA") + "/" + relative;
}

inline void runScript(sqlite3* handle, const QString& relative) {
    QFile script(testData(relative));
    ASSERT_TRUE(script.open(QIODevice::ReadOnly)) << relative.toStdString();
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(handle, script.readAll().constData(), nullptr, nullptr, &error),
              SQLITE_OK)
        << (error ? error : "");
    sqlite3_free(error);
}

inline QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Another patient's database file of the current layout, made as the program makes a new
// patient's, with a script of rows over it.
inline void makeSourceDatabase(const QString& path, const QString& script, Prompts& prompts,
                               const Clock& clock) {
    Database source(path, prompts);
    Preference preference;
    preference.setPatientName("Bea");
    EXPECT_TRUE(DefaultData::initNewDatabase(source, preference, clock));
    runScript(source.handle(), script);
}

// A context that counts how often its caches were dropped.
class CountingContext : public TestLogbookContext {
public:
    using TestLogbookContext::TestLogbookContext;
    void reloadPreference() override {
        ++reloads;
        TestLogbookContext::reloadPreference();
    }
    int reloads = 0;
};

// The current patient "Ann", made as a new patient's database is made, on 20 March 2007 at
// noon, with a context over it; and helpers for other files of the test.
class ExchangeTest : public DatabaseTest {
protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        Preference preference;
        preference.setPatientName("Ann");
        ASSERT_TRUE(DefaultData::initNewDatabase(*db, preference, clock));
    }

    QString makeSourceDatabase(const QString& name, const QString& script) {
        ::makeSourceDatabase(pathOf(name), script, prompts, clock);
        return pathOf(name);
    }

    // Every row of the given tables in key order, as "TABLE|column|column...".
    QStringList dump(const QStringList& tables) {
        QStringList lines;
        for (const QString& table : tables)
            for (const std::string& row :
                 rows(("select * from " + table + " order by 1").toUtf8().constData()))
                lines << table + "|" + QString::fromStdString(row);
        return lines;
    }

    // The whole file: every table's definition and rows, every trigger and index.
    QStringList dumpAll() {
        QStringList lines, tables;
        for (const std::string& row :
             rows("select type, name, sql from sqlite_master order by type, name")) {
            lines << QString::fromStdString(row);
            if (row.starts_with("table|"))
                tables << QString::fromStdString(row).section('|', 1, 1);
        }
        return lines + dump(tables);
    }

    FixedClock clock{fromDateTimeText("20070320120000")};
    RecordingProgress progress;
};
