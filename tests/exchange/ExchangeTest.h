#pragma once

#include "app/DefaultData.h"
#include "storage/Clock.h"
#include "storage/Conversions.h"
#include "support/LogbookTest.h"
#include "support/RecordingProgress.h"

#include <QFile>

inline QString testData(const QString& name) {
    return qEnvironmentVariable("QUILLMARCH_TEST_DATA") + "/" + name;
}

inline QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A database file with a script of the test-data folder run on it; with `clock`, first made
// as a new patient's file is made.
inline QString makeFile(const QString& path, const QString& script, Prompts& prompts,
                        const Clock* clock = nullptr) {
    Database file(path, prompts);
    Preference preference;
    EXPECT_TRUE(!clock || DefaultData::initNewDatabase(file, preference, *clock));
    EXPECT_TRUE(file.exec(bytesOf(testData(script)).constData())) << file.errorText().toStdString();
    return path;
}

// Patient "Ann", new on 20 March 2007 at noon.
class ExchangeTest : public DatabaseTest {
protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        Preference preference;
        preference.setPatientName("Ann");
        ASSERT_TRUE(DefaultData::initNewDatabase(*db, preference, clock));
    }

    // The whole file: its schema, then every table's rows in key order as "TABLE|column|...".
    QStringList dump() {
        QStringList lines;
        for (const std::string& row : rows("select type, name, sql from sqlite_master"))
            lines << QString::fromStdString(row);
        for (const QString& table : lines.filter("table|"))
            for (const std::string& row :
                 rows(("select * from " + table.section('|', 1, 1) + " order by 1")
                          .toUtf8()
                          .constData()))
                lines << table.section('|', 1, 1) + "|" + QString::fromStdString(row);
        return lines;
    }

    FixedClock clock{fromDateTimeText("20070320120000")};
    RecordingProgress progress;
};
