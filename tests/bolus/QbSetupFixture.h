#pragma once

#include "bolus/QbSetup.h"
#include "storage/MedicationTable.h"
#include "storage/QbRatioTable.h"
#include "storage/QbSensitivityTable.h"
#include "support/LogbookTest.h"
#include "support/QbScheduleRows.h"
#include "support/TestLogbookContext.h"

#include <memory>
#include <optional>
#include <string>

// A patient database with every quick-bolus table, a logbook context at a fixed moment
// (15 March 2007, noon) and helpers that store schedule rows and medications directly.
class QbSetupFixture : public LogbookTest {
protected:
    void SetUp() override {
        LogbookTest::SetUp();
        ASSERT_TRUE(QbRatioTable::createTable(*db));
        ASSERT_TRUE(QbSensitivityTable::createTable(*db));
        context =
            std::make_unique<TestLogbookContext>(*db, prompts, fromDateTimeText("20070315120000"));
    }

    // Today at a time of day, as a picker would hand it over.
    std::time_t at(const char* hhmm) const {
        return clockTimeToday(QString::fromLatin1(hhmm), context->clock());
    }

    std::vector<std::string> qbPreference() {
        return rows("select MED_CODE, MED_MINUTES, USE_BOL from QB_PREFERENCE");
    }

    std::unique_ptr<TestLogbookContext> context;
};
