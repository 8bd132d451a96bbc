#pragma once

#include "storage/BasilRateTable.h"
#include "storage/Conversions.h"
#include "storage/MeterTable.h"
#include "storage/ProtocolTable.h"
#include "support/LogbookTest.h"
#include "support/TestSettingsContext.h"

#include <memory>

// The logbook's tables plus the patient's lists, with a settings context over them whose
// clock stands at 2026-03-14 09:30 local time.
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

    std::unique_ptr<TestSettingsContext> context;
};
