#pragma once

#include "storage/BasilRateTable.h"
#include "storage/Conversions.h"
#include "storage/MeterTable.h"
#include "storage/ProtocolTable.h"
#include "support/LogbookTest.h"
#include "support/TestSettingsContext.h"

#include <memory>
#include <string>
#include <vector>

using Rows = std::vector<std::string>;

// The logbook's tables plus the patient's lists, with a settings context over them whose
// clock stands at 2026-03-14 09:30 local time, and helpers that add list rows.
class SettingsTest : public LogbookTest {
protected:
    void SetUp() override {
        LogbookTest::SetUp();
        for (bool created : {MeterTable::createTable(*db), ProtocolTable::createTable(*db),
                             BasilRateTable::createTable(*db)})
            ASSERT_TRUE(created);
        context =
            std::make_unique<TestSettingsContext>(*db, prompts, fromDateTimeText("20260314093000"));
    }

    int addMeter(const QString& name, int fk = 0) {
        Meter meter;
        meter.setDesc(name);
        meter.setFk(fk);
        EXPECT_TRUE(MeterTable::save(*db, meter));
        return meter.getPk();
    }
    int addProtocol(const QString& date) {
        Protocol protocol;
        protocol.setEffectiveDate(date);
        EXPECT_TRUE(ProtocolTable::save(*db, protocol));
        return protocol.getPk();
    }
    int addRate(const QString& time, const QString& amount, int fk = 0) {
        BasilRate rate;
        rate.setStartTime(time);
        rate.setBasilMedAmt(amount);
        rate.setFk(fk);
        EXPECT_TRUE(BasilRateTable::save(*db, rate));
        return rate.getPk();
    }
    // The usual eight slots, stored in time order so that PK k is the k-th slot; Breakfast
    // carries 5H.
    void addUsualSlots() {
        const char* times[] = {"0500", "0700", "0915", "1130", "1500", "1800", "2100", "2300"};
        const char* names[] = {"Early Am",  "Breakfast", "Mid Morning", "Lunch",
                               "Afternoon", "Dinner",    "Bedtime",     "Late Evening"};
        for (int i = 0; i < 8; ++i)
            addSlot(times[i], names[i], i == 1 ? "5H" : "");
    }
    // The slots that are not as addUsualSlots stored them: "pk|time|name|dosage|state".
    Rows changedSlots() {
        return rows("select pk, SAMPLE_TIME, DESC, MEDICATION_DOSAGE, sync_state from "
                    "SAMPLE_TYPE where sync_state <> 10 or pk > 8 order by pk");
    }
    // A day on which the clock springs forward in Berlin: 02:00 to 03:00 does not exist.
    void standOnSpringForwardDay() {
        context->fixedClock().set(fromDateTimeText("20260329100000"));
    }

    std::unique_ptr<TestSettingsContext> context;
};
