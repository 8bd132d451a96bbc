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
        changePreference([](Preference& p) {
            p.setPatientName("Margaret Ellison");
            p.setBirthDate("19680922");
            p.setDxDate("19920405");
            p.setDoctorName("Dr. Helen Brandt");
            p.setDoctorPhone("(555)201-4470");
            p.setDoctorFax("(555)201-4471");
        });
        addSlot("2200", "Bedtime");
        // Mornings run high, lunches low: a pattern the physician should see at once.
        const int morning[] = {142, 165, 131, 188, 152, 176, 139};
        const int lunch[] = {96, 62, 104, 88, 45, 112, 99};
        for (int days = 0; days < 42; days += 1) {
            reading(days, "0715", morning[days % 7] + days % 5, 1, days == 9 ? 2 : 0,
                    days == 16 ? 0 : 1);
            if (days % 2 == 0)
                reading(days, "1230", lunch[days % 7], 2);
            if (days % 3 == 0)
                reading(days, "1845", 150 + (days * 7) % 60, 3);
            if (days % 4 == 1)
                reading(days, "2215", days == 13 ? 287 : 128 + days, 4, days == 13 ? 3 : 0,
                        days == 13 ? 2 : 1);
        }
        const char* results[][2] = {{"20230310", "8.4"},
                                    {"20230615", "7.9"},
                                    {"20230918", "7.6"},
                                    {"20231204", "7.8"},
                                    {"20240301", "7.2"}};
        for (auto [date, value] : results) {
            A1c a1c;
            a1c.setA1cDate(date);
            a1c.setA1cCount(value);
            EXPECT_TRUE(A1cTable::save(*db, a1c));
        }
        for (auto [date, text] : {std::pair{"20231015", "Lantus 18u at bedtime\r\nHumalog 1u:12g "
                                                        "carbs\r\nCorrection 1u per 50 over 150"},
                                  {"20240212", "Lantus 20u at bedtime\r\nHumalog 1u:10g "
                                               "carbs\r\nCorrection 1u per 40 over 140\r\n"
                                               "\r\nRecheck after exercise"}}) {
            Protocol protocol;
            protocol.setEffectiveDate(date);
            protocol.setText(text);
            EXPECT_TRUE(ProtocolTable::save(*db, protocol));
        }
        addMedication("Humalog", "H", [](Medication& m) {
            m.setOpenDate(daysBefore(12));
            m.setExpireDayCnt(28);
            m.setRxOrderId("RX4471902");
        });
        addMedication("Lantus", "L", [](Medication& m) {
            m.setOpenDate(daysBefore(70));
            m.setExpireDayCnt(28);
            m.setRxOrderId("RX4471877");
        });
        addMedication("Metformin", "M", [](Medication& m) { m.setIsInsulinBol(false); });
        for (auto [desc, mfg, model, serial] :
             {std::tuple{"Primary Meter", "Lifeway", "GlucoStar 3", "GS3-118842"},
              {"Insulin Pump", "Medira", "Paradigm 722", "PM-0072291"}}) {
            Meter meter;
            meter.setDesc(desc);
            meter.setMfg(mfg);
            meter.setModel(model);
            meter.setSerialNo(serial);
            meter.setSeriviceDate("20230801");
            EXPECT_TRUE(MeterTable::save(*db, meter));
        }
        for (int i = 0; i < 7; ++i) {
            BloodPressure bp;
            bp.setBpTime(daysBefore(i * 5) + "083000");
            bp.setSystolic(124 + (i * 3) % 11);
            bp.setDiastolic(78 + i % 4);
            bp.setPulse(i % 3 == 2 ? 0 : 68 + i);
            bp.setWeight(i % 2 ? "" : QString::number(71.5 - i * 0.2, 'f', 1));
            EXPECT_TRUE(BloodPressureTable::save(*db, bp));
        }
    }

    DocSummaryData gather(int weeks, const QString& notes = {}) {
        context->reload();
        return DocSummaryData::gather(*context, now(), weeks, notes);
    }

    std::unique_ptr<TestLogbookContext> context;
};
