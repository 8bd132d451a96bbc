#pragma once

#include "reports/DocSummaryData.h"
#include "storage/A1cTable.h"
#include "storage/BloodPressureTable.h"
#include "storage/Conversions.h"
#include "storage/MeterTable.h"
#include "storage/ProtocolTable.h"
#include "support/LogbookTest.h"
#include "support/TestLogbookContext.h"

#include <QDate>
#include <QFile>

// A logbook with the side tables the physician's summary reads, a context whose clock stands
// at noon on 15 March 2024, and helpers that add readings by days before that date.
class DocSummaryTest : public LogbookTest {
protected:
    static constexpr const char* kToday = "20240315";

    void SetUp() override {
        LogbookTest::SetUp();
        for (bool created : {A1cTable::createTable(*db), ProtocolTable::createTable(*db),
                             MeterTable::createTable(*db), BloodPressureTable::createTable(*db)})
            ASSERT_TRUE(created);
        changePreference([](Preference& p) {
            p.setGlucoseExtLo(50);
            p.setGlucoseLo(70);
            p.setGlucoseHi(180);
            p.setGlucoseExtHi(250);
        });
        for (auto [time, name] :
             {std::pair{"0700", "Breakfast"}, {"1200", "Lunch"}, {"1800", "Dinner"}})
            addSlot(time, name);
        context = std::make_unique<TestLogbookContext>(*db, prompts, now());
    }

    static std::time_t now() { return fromDateTimeText(QString(kToday) + "120000"); }
    static QString daysBefore(int days) {
        return QDate::fromString(kToday, "yyyyMMdd").addDays(-days).toString("yyyyMMdd");
    }
    // A reading `days` before today at "HHMM" in slot `slot`; the day is created when missing.
    int reading(int days, const char* time, int glucose, int slot, int ketone = 0,
                int dayType = 1) {
        const QString date = daysBefore(days);
        if (!SampleDateTable::getByDate(*db, date))
            addDay(date, [dayType](SampleDate& d) { d.setDayTypeId(dayType); });
        return addEntry(date + time + "00", glucose, [&](Sample& e) {
            e.setSampleTypePk(slot);
            e.setKeytoneCode(ketone);
        });
    }
    // A patient with six weeks of readings and every side table filled: the page of the
    // drawing tests.
    void fillSampleLogbook() {
        addSlot("2200", "Bedtime");
        // Mornings run high, lunches low: a pattern the physician should see at once.
        const int morning[] = {142, 165, 131, 188, 152, 176, 139};
        const int lunch[] = {96, 62, 104, 88, 45, 112, 99};
        for (int days = 0; days < 42; days += 1) {
            reading(days, "0715", morning[days % 7] + days % 5, 1, days == 9 ? 2 : 0,
                    days == 13   ? 2
                    : days == 16 ? 0
                                 : 1);
            if (days % 2 == 0)
                reading(days, "1230", lunch[days % 7], 2);
            if (days % 3 == 0)
                reading(days, "1845", 150 + (days * 7) % 60, 3);
            if (days % 4 == 1)
                reading(days, "2215", days == 13 ? 287 : 128 + days, 4, days == 13 ? 3 : 0,
                        days == 13 ? 2 : 1);
        }
        // The patient, A1c results, protocols, medications, meters and vitals.
        QFile sql(qEnvironmentVariable("QUILLMARCH_TEST_DATA") +
                  "/reports/doc_summary_logbook.sql");
        ASSERT_TRUE(sql.open(QIODevice::ReadOnly));
        for (const QByteArray& statement : sql.readAll().trimmed().split('\n'))
            ASSERT_TRUE(db->exec(statement.constData())) << statement.constData();
    }

    DocSummaryData gather(int weeks, const QString& notes = {}) {
        context->reload();
        return DocSummaryData::gather(*context, now(), weeks, notes);
    }

    std::unique_ptr<TestLogbookContext> context;
};
