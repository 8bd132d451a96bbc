#pragma once

#include "reports/LogWeekData.h"
#include "storage/ProtocolTable.h"
#include "support/LogbookTest.h"
#include "support/TestLogbookContext.h"

// The week of Friday 9 to Thursday 15 March 2007, with three slots. H is an insulin counted
// in totals, P a pill; the patient's usual delivery is injection (1).
class LogWeekFixture : public LogbookTest {
protected:
    void SetUp() override {
        LogbookTest::SetUp();
        ASSERT_TRUE(ProtocolTable::createTable(*db));
        addMedication("Humalog", "H");
        addMedication("Pill", "P", [](Medication& m) { m.setIsInsulinBol(false); });
        breakfast = addSlot("0700", "Breakfast");
        addSlot("1200", "Lunch");
        supper = addSlot("1800", "Supper");
        changePreference([](Preference& p) { p.setDeliveryCode(1); });
    }

    struct Entry {
        const char* time;
        int slot, glucose, carbs = 0;
        const char *dose = "", *correction = "", *note = "";
        int ketone = 0, delivery = 1;
        bool site = false;
    };
    void add(const Entry& e) {
        const QString date = QString(e.time).left(8);
        if (!SampleDateTable::getByDate(*db, date))
            addDay(date);
        addEntry(e.time, e.glucose, [&](Sample& s) {
            s.setSampleTypePk(e.slot);
            s.setCarbCnt(e.carbs);
            s.setMedicationDosage(e.dose);
            s.setCorrectionDosage(e.correction);
            s.setKeytoneCode(e.ketone);
            s.setDeliveryCode(e.delivery);
            s.setNewSiteBol(e.site);
            if (*e.note)
                s.setNotePk(addNote(e.note));
        });
    }
    void addProtocol(const char* date, const char* text) {
        Protocol protocol;
        protocol.setEffectiveDate(date);
        protocol.setText(text);
        ASSERT_TRUE(ProtocolTable::save(*db, protocol));
    }
    LogWeekData collect() {
        TestLogbookContext context(*db, prompts, 0);
        return LogWeekData::collect(context, kWeekDate);
    }

    const std::time_t kWeekDate = fromDateTimeText("20070315123000");

    int breakfast = 0, supper = 0;
};
