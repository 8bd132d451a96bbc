#pragma once

#include "storage/BasilRateTable.h"
#include "storage/Conversions.h"
#include "storage/MeterTable.h"
#include "storage/ProtocolTable.h"
#include "support/LogbookTest.h"
#include "support/TestSettingsContext.h"

#include <functional>
#include <memory>

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

    std::unique_ptr<TestSettingsContext> context;
};
