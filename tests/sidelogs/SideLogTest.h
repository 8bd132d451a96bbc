#pragma once

#include "storage/A1cTable.h"
#include "storage/BloodPressureTable.h"
#include "storage/CarbsTable.h"
#include "storage/Conversions.h"
#include "support/LogbookTest.h"
#include "support/TestLogbookContext.h"

#include <memory>
#include <string>
#include <vector>

using Rows = std::vector<std::string>;

// The logbook's tables and the three side tables, with a context whose clock stands at
// Thursday 2007-03-15 08:30:20 local time and whose normal blood pressure is 125/85.
class SideLogTest : public LogbookTest {
protected:
    void SetUp() override {
        LogbookTest::SetUp();
        for (bool created : {A1cTable::createTable(*db), CarbsTable::createTable(*db),
                             BloodPressureTable::createTable(*db)})
            ASSERT_TRUE(created);
        changePreference([](Preference& p) {
            p.setBpSystolicNormal(125);
            p.setBpDiastolicNormal(85);
        });
        // The stored form reads no seconds: they are added to the minute.
        context = std::make_unique<TestLogbookContext>(*db, prompts,
                                                       fromDateTimeText("20070315083000") + 20);
    }

    int addA1c(const QString& date, const QString& count, int fk = 0) {
        A1c result;
        result.setA1cDate(date);
        result.setA1cCount(count);
        result.setFk(fk);
        EXPECT_TRUE(A1cTable::save(*db, result));
        return result.getPk();
    }
    int addFood(const QString& name, int grams, int fk = 0) {
        Carbs food;
        food.setCarbName(name);
        food.setCarbCnt(grams);
        food.setFk(fk);
        EXPECT_TRUE(CarbsTable::save(*db, food));
        return food.getPk();
    }
    // A vital record of 120/80, with a note of type 2 when `note` is given.
    int addVital(const QString& time, int pulse = 0, const QString& note = {}) {
        BloodPressure record;
        record.setBpTime(time);
        record.setSystolic(120);
        record.setDiastolic(80);
        record.setPulse(pulse);
        if (!note.isEmpty())
            record.setNotePk(addNote(note, NoteType::Vital));
        EXPECT_TRUE(BloodPressureTable::save(*db, record));
        return record.getPk();
    }

    std::unique_ptr<TestLogbookContext> context;
};
