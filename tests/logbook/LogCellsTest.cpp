#include "logbook/LogCells.h"
#include "support/LogbookTest.h"
#include "support/TestLogbookContext.h"

#include <functional>

namespace {

class LogCellsTest : public LogbookTest {
protected:
    void SetUp() override {
        LogbookTest::SetUp();
        addSlot("0000", "Early Am");
        addSlot("0700", "Breakfast");
        addSlot("1200", "Lunch");
        addSlot("1800", "Dinner");
        addMedication("H", true, true);
        addMedication("P", false, true);
        LogbookTest::changePreference([](Preference& p) {
            p.setGlucoseExtLo(50);
            p.setGlucoseLo(70);
            p.setGlucoseHi(180);
            p.setGlucoseExtHi(250);
            p.setMilitaryTimeBol(false);
            p.setDeliveryCode(kDeliveryInjection);
        });
        ASSERT_FALSE(HasFailure());
        context = std::make_unique<TestLogbookContext>(*db, prompts, 0);
    }

    void addMedication(const char* code, bool insulin, bool inTotals) {
        Medication med;
        med.setMedCode(code);
        med.setIsInsulinBol(insulin);
        med.setIncludeInTotalsBol(inTotals);
        med.setActiveBol(true);
        ASSERT_TRUE(MedicationTable::save(*db, med));
    }

    void changePreference(const std::function<void(Preference&)>& change) {
        LogbookTest::changePreference(change);
        context->reload();
    }

    int addDay(const std::function<void(SampleDate&)>& fill) {
        return LogbookTest::addDay("20070315", fill);
    }

    // An entry at 08:30 on Thursday 15 March 2007 in the Breakfast slot, then changed.
    int addEntry(const std::function<void(Sample&)>& fill) {
        Sample entry;
        entry.setSampleTime("20070315083000");
        entry.setSampleTypePk(2);
        entry.setDeliveryCode(kDeliveryInjection);
        fill(entry);
        EXPECT_TRUE(SampleTable::save(*db, entry));
        return entry.getPk();
    }

    LogRowCells dayCells(int pk, int filter = LogFilter::AllTypes) {
        return computeLogCells(*context, {'D', pk}, filter, false);
    }
    LogRowCells entryCells(int pk, int filter = LogFilter::AllTypes, bool compact = false) {
        return computeLogCells(*context, {'S', pk}, filter, compact);
    }
    static QString text(const LogRowCells& cells, int column) {
        return cells.cells.at(static_cast<std::size_t>(column)).text;
    }
    static LogIcon icon(const LogRowCells& cells, int column) {
        return cells.cells.at(static_cast<std::size_t>(column)).icon;
    }

    std::unique_ptr<TestLogbookContext> context;
};

} // namespace

TEST_F(LogCellsTest, DayRowShowsItsTotals) {
    int note = addNote("Hiking all day");
    int pk = addDay([&](SampleDate& d) {
        d.setTtlSampleCnt(5);
        d.setTtlInsulinAmt(1250);
        d.setTtlCarbCnt(180);
        d.setAvgGlucoseCnt(120);
        d.setMaxKeytoneCode(3);
        d.setNewSiteBol(true);
        d.setNotePk(note);
    });
    LogRowCells cells = dayCells(pk);
    ASSERT_TRUE(cells.valid);
    EXPECT_TRUE(cells.day);
    EXPECT_EQ(text(cells, LogColumn::DateTime), "03/15 Thursday #5");
    EXPECT_EQ(icon(cells, LogColumn::Site), LogIcon::SiteChange);
    EXPECT_EQ(icon(cells, LogColumn::Delivery), LogIcon::None);
    EXPECT_EQ(icon(cells, LogColumn::Ketone), LogIcon::Ketone3);
    EXPECT_EQ(icon(cells, LogColumn::DayType), LogIcon::None); // a normal day
    EXPECT_TRUE(cells.hasGlucose);
    EXPECT_EQ(text(cells, LogColumn::Glucose), "120");
    EXPECT_EQ(cells.glucoseClass, GlucoseClass::InRange);
    EXPECT_EQ(text(cells, LogColumn::Carbs), "180");
    // 1800 / 125 tenths of a unit: 14.4 g per unit.
    EXPECT_EQ(text(cells, LogColumn::Ratio), "14.4:u");
    EXPECT_EQ(text(cells, LogColumn::Medication), "12.50 units");
    EXPECT_EQ(text(cells, LogColumn::Notes), "Hiking all day");
}

TEST_F(LogCellsTest, EmptyDayAndMissingDate) {
    int pk = addDay([](SampleDate& d) { d.setSampleDate(""); });
    LogRowCells cells = dayCells(pk);
    ASSERT_TRUE(cells.valid);
    EXPECT_EQ(text(cells, LogColumn::DateTime), "Date?");
    for (int column = 1; column < LogColumn::Count; ++column) {
        EXPECT_TRUE(text(cells, column).isEmpty()) << "column " << column;
        EXPECT_EQ(icon(cells, column), LogIcon::None) << "column " << column;
    }
    EXPECT_FALSE(cells.hasGlucose);
}

TEST_F(LogCellsTest, KindOfDayIcons) {
    int sick = addDay([](SampleDate& d) { d.setDayTypeId(0); });
    int normal = addDay([](SampleDate& d) { d.setDayTypeId(1); });
    int active = addDay([](SampleDate& d) { d.setDayTypeId(2); });
    EXPECT_EQ(icon(dayCells(sick), LogColumn::DayType), LogIcon::DaySick);
    EXPECT_EQ(icon(dayCells(normal), LogColumn::DayType), LogIcon::None);
    EXPECT_EQ(icon(dayCells(active), LogColumn::DayType), LogIcon::DayActive);
}

TEST_F(LogCellsTest, DayRowsStandOutOnlyBetweenEntryRows) {
    int pk = addDay([](SampleDate&) {});
    EXPECT_TRUE(dayCells(pk, LogFilter::AllTypes).emphasized);
    EXPECT_FALSE(dayCells(pk, LogFilter::DailySummary).emphasized);
    EXPECT_FALSE(computeLogCells(*context, {'D', pk}, LogFilter::AllTypes, true).emphasized);
    int entry = addEntry([](Sample&) {});
    EXPECT_FALSE(entryCells(entry).emphasized);
    EXPECT_FALSE(entryCells(entry).day);
}

TEST_F(LogCellsTest, EntryTimeByFilterAndClockStyle) {
    int morning = addEntry([](Sample&) {});
    int afternoon = addEntry([](Sample& e) {
        e.setSampleTime("20070315140500");
        e.setSampleTypePk(3);
    });
    EXPECT_EQ(text(entryCells(morning), 0), "  Breakfast @ 08:30 AM");
    EXPECT_EQ(text(entryCells(afternoon), 0), "  Lunch @ 02:05 PM");
    EXPECT_EQ(text(entryCells(morning, 2), 0), "03/15 08:30 AM Thursday");
    EXPECT_EQ(text(entryCells(afternoon, 3), 0), "03/15 02:05 PM Thursday");
    // Filter 0 never lists entries, but it counts as "one slot" for the pattern.
    EXPECT_EQ(text(entryCells(morning, LogFilter::DailySummary), 0), "03/15 08:30 AM Thursday");

    changePreference([](Preference& p) { p.setMilitaryTimeBol(true); });
    EXPECT_EQ(text(entryCells(afternoon), 0), "  Lunch @ 14:05");
    EXPECT_EQ(text(entryCells(afternoon, 3), 0), "03/15 14:05 Thursday");

    // The day dialog: time of day and slot, 24-hour whatever the preference.
    changePreference([](Preference& p) { p.setMilitaryTimeBol(false); });
    EXPECT_EQ(text(entryCells(afternoon, LogFilter::AllTypes, true), 0), "14:05 Lunch");
}

TEST_F(LogCellsTest, SlotsOutsideTheListReadUnknown) {
    int unknown = addEntry([](Sample& e) { e.setSampleTypePk(9); });
    int zero = addEntry([](Sample& e) { e.setSampleTypePk(0); });
    int negative = addEntry([](Sample& e) { e.setSampleTypePk(-4); });
    int last = addEntry([](Sample& e) { e.setSampleTypePk(4); });
    EXPECT_EQ(text(entryCells(unknown), 0), "  Unknown @ 08:30 AM");
    EXPECT_EQ(text(entryCells(zero), 0), "  Unknown @ 08:30 AM");
    // A negative slot is read as the first one.
    EXPECT_EQ(text(entryCells(negative), 0), "  Early Am @ 08:30 AM");
    EXPECT_EQ(text(entryCells(last), 0), "  Dinner @ 08:30 AM");
}

TEST_F(LogCellsTest, DosesAndTheirRatio) {
    int both = addEntry([](Sample& e) {
        e.setMedicationDosage("5H");
        e.setCorrectionDosage("2H");
        e.setInsulinTime("20070315140500");
        e.setCarbCnt(60);
    });
    LogRowCells cells = entryCells(both);
    EXPECT_EQ(text(cells, LogColumn::Medication), "5H(2H) @ 14:05");
    // Only the meal dose counts: 60 g over 5 units.
    EXPECT_EQ(text(cells, LogColumn::Ratio), "12.0:u");
    EXPECT_EQ(text(cells, LogColumn::Carbs), "60");

    int withPill = addEntry([](Sample& e) {
        e.setMedicationDosage("4.5H 2P");
        e.setInsulinTime("20070315083000");
        e.setCarbCnt(45);
    });
    cells = entryCells(withPill);
    EXPECT_EQ(text(cells, LogColumn::Medication), "4.5H 2P @ 08:30");
    EXPECT_EQ(text(cells, LogColumn::Ratio), "10.0:u");

    int correctionOnly = addEntry([](Sample& e) {
        e.setCorrectionDosage("2H");
        e.setInsulinTime("20070315211000");
        e.setCarbCnt(30);
    });
    cells = entryCells(correctionOnly);
    EXPECT_EQ(text(cells, LogColumn::Medication), "(2H) @ 21:10");
    EXPECT_TRUE(text(cells, LogColumn::Ratio).isEmpty());
}

TEST_F(LogCellsTest, DosesWithoutInsulinTimeAreCorrupted) {
    int noTime = addEntry([](Sample& e) {
        e.setMedicationDosage("5H");
        e.setCarbCnt(60);
    });
    int correctionNoTime = addEntry([](Sample& e) { e.setCorrectionDosage("1H"); });
    int nothing = addEntry([](Sample& e) { e.setInsulinTime("20070315083000"); });
    EXPECT_EQ(text(entryCells(noTime), LogColumn::Medication), "corrupted");
    EXPECT_EQ(text(entryCells(correctionNoTime), LogColumn::Medication), "corrupted");
    EXPECT_TRUE(text(entryCells(nothing), LogColumn::Medication).isEmpty());
}

TEST_F(LogCellsTest, ZeroValuesLeaveCellsEmpty) {
    int pk = addEntry([](Sample& e) {
        e.setGlucoseCnt(0);
        e.setCarbCnt(0);
        e.setMedicationDosage("5H");
        e.setInsulinTime("20070315083000");
    });
    LogRowCells cells = entryCells(pk);
    EXPECT_FALSE(cells.hasGlucose);
    EXPECT_TRUE(text(cells, LogColumn::Glucose).isEmpty());
    EXPECT_TRUE(text(cells, LogColumn::Carbs).isEmpty());
    EXPECT_TRUE(text(cells, LogColumn::Ratio).isEmpty());

    int day = addDay([](SampleDate& d) { d.setTtlCarbCnt(90); });
    EXPECT_TRUE(text(dayCells(day), LogColumn::Medication).isEmpty());
    EXPECT_TRUE(text(dayCells(day), LogColumn::Ratio).isEmpty());
}

TEST_F(LogCellsTest, RatioArithmetic) {
    EXPECT_EQ(carbRatioText(60, 500), "12.0:u");
    EXPECT_EQ(carbRatioText(45, 350), "12.9:u");  // 12.857...
    EXPECT_EQ(carbRatioText(100, 5), "2000.0:u"); // a twentieth of a unit
    EXPECT_EQ(carbRatioText(1, 1000), "0.1:u");
    EXPECT_TRUE(carbRatioText(0, 500).isEmpty());
    EXPECT_TRUE(carbRatioText(-5, 500).isEmpty());
    EXPECT_TRUE(carbRatioText(60, 0).isEmpty());
}

TEST_F(LogCellsTest, GlucoseOfEntriesAndDaysIsClassified) {
    struct Case {
        int value;
        GlucoseClass expected;
    };
    for (Case c : {Case{60, GlucoseClass::Low}, Case{45, GlucoseClass::VeryLow},
                   Case{181, GlucoseClass::High}, Case{300, GlucoseClass::VeryHigh},
                   Case{70, GlucoseClass::InRange}, Case{180, GlucoseClass::InRange}}) {
        int entry = addEntry([&](Sample& e) { e.setGlucoseCnt(c.value); });
        LogRowCells cells = entryCells(entry);
        EXPECT_TRUE(cells.hasGlucose);
        EXPECT_EQ(cells.glucose, c.value);
        EXPECT_EQ(cells.glucoseClass, c.expected) << c.value;
        EXPECT_EQ(text(cells, LogColumn::Glucose), QString::number(c.value));
        int day = addDay([&](SampleDate& d) { d.setAvgGlucoseCnt(c.value); });
        EXPECT_EQ(dayCells(day).glucoseClass, c.expected) << c.value;
    }
}

TEST_F(LogCellsTest, TheEntrysTimeChoosesTheRange) {
    QbPreference qb;
    qb.setUseBol(true);
    ASSERT_TRUE(QbPreferenceTable::save(*db, qb));
    auto target = [&](const char* time, int extLo, int lo, int hi, int extHi) {
        QbTarget t;
        t.setTargetTime(time);
        t.setGlucoseLoExt(extLo);
        t.setGlucoseLo(lo);
        t.setGlucoseHi(hi);
        t.setGlucoseHiExt(extHi);
        ASSERT_TRUE(QbTargetTable::save(*db, t));
    };
    target("06:00", 60, 80, 140, 200);
    target("18:00", 50, 70, 180, 250);
    changePreference([](Preference& p) {
        p.setGlucoseExtLo(100);
        p.setGlucoseLo(120);
        p.setGlucoseHi(130);
        p.setGlucoseExtHi(300);
    });

    int morning = addEntry([](Sample& e) { e.setGlucoseCnt(150); });
    int evening = addEntry([](Sample& e) {
        e.setSampleTime("20070315190000");
        e.setGlucoseCnt(150);
    });
    int night = addEntry([](Sample& e) {
        e.setSampleTime("20070315030000");
        e.setGlucoseCnt(210);
    });
    EXPECT_EQ(entryCells(morning).glucoseClass, GlucoseClass::High);
    EXPECT_EQ(entryCells(evening).glucoseClass, GlucoseClass::InRange);
    // Before the first target the evening's still holds.
    EXPECT_EQ(entryCells(night).glucoseClass, GlucoseClass::High);
    // A day's average has no time: the patient's own limits.
    int day = addDay([](SampleDate& d) { d.setAvgGlucoseCnt(150); });
    EXPECT_EQ(dayCells(day).glucoseClass, GlucoseClass::High);
    int quiet = addDay([](SampleDate& d) { d.setAvgGlucoseCnt(125); });
    EXPECT_EQ(dayCells(quiet).glucoseClass, GlucoseClass::InRange);
}

TEST_F(LogCellsTest, GlucoseInTenthsOfMillimoles) {
    changePreference([](Preference& p) {
        p.setGlucoseSampleCode(kGlucoseUnitMmol);
        p.setGlucoseExtLo(30);
        p.setGlucoseLo(40);
        p.setGlucoseHi(100);
        p.setGlucoseExtHi(140);
    });
    int pk = addEntry([](Sample& e) { e.setGlucoseCnt(72); });
    LogRowCells cells = entryCells(pk);
    EXPECT_EQ(text(cells, LogColumn::Glucose), "7.2");
    EXPECT_EQ(cells.glucoseClass, GlucoseClass::InRange);
}

TEST_F(LogCellsTest, IconsOfAnEntry) {
    int usual = addEntry([](Sample&) {});
    int pump = addEntry([](Sample& e) {
        e.setDeliveryCode(kDeliveryPump);
        e.setNewSiteBol(true);
    });
    EXPECT_EQ(icon(entryCells(usual), LogColumn::Delivery), LogIcon::None);
    EXPECT_EQ(icon(entryCells(usual), LogColumn::Site), LogIcon::None);
    EXPECT_EQ(icon(entryCells(pump), LogColumn::Delivery), LogIcon::Delivery);
    EXPECT_EQ(icon(entryCells(pump), LogColumn::Site), LogIcon::SiteChange);
    // The usual delivery is the preference's: pump becomes usual, injection the exception.
    changePreference([](Preference& p) { p.setDeliveryCode(kDeliveryPump); });
    EXPECT_EQ(icon(entryCells(usual), LogColumn::Delivery), LogIcon::Delivery);
    EXPECT_EQ(icon(entryCells(pump), LogColumn::Delivery), LogIcon::None);

    const LogIcon ketones[] = {LogIcon::None, LogIcon::Ketone1, LogIcon::Ketone2, LogIcon::Ketone3,
                               LogIcon::Ketone4};
    for (int code = 0; code <= 4; ++code) {
        int pk = addEntry([&](Sample& e) { e.setKeytoneCode(code); });
        EXPECT_EQ(icon(entryCells(pk), LogColumn::Ketone), ketones[code]) << code;
        EXPECT_EQ(icon(entryCells(pk), LogColumn::DayType), LogIcon::None);
    }
    for (LogIcon i : {LogIcon::Ketone1, LogIcon::Ketone4, LogIcon::DaySick, LogIcon::DayActive,
                      LogIcon::SiteChange, LogIcon::Delivery})
        EXPECT_TRUE(logIconPath(i).startsWith(":/icons/"));
    EXPECT_TRUE(logIconPath(LogIcon::None).isEmpty());
}

TEST_F(LogCellsTest, NotesAndMissingRecords) {
    int note = addNote("Pizza at Joe's");
    int withNote = addEntry([&](Sample& e) { e.setNotePk(note); });
    int lostNote = addEntry([](Sample& e) { e.setNotePk(777); });
    EXPECT_EQ(text(entryCells(withNote), LogColumn::Notes), "Pizza at Joe's");
    EXPECT_TRUE(text(entryCells(lostNote), LogColumn::Notes).isEmpty());
    EXPECT_TRUE(entryCells(lostNote).valid);

    EXPECT_FALSE(entryCells(999).valid);
    EXPECT_FALSE(dayCells(999).valid);
    // The tag decides which table is read: entry 1 exists, day 1 does not.
    int entryPk = addEntry([](Sample&) {});
    ASSERT_EQ(rows("select count(*) from SAMPLE_DATE"), std::vector<std::string>{"0"});
    EXPECT_TRUE(entryCells(entryPk).valid);
    EXPECT_FALSE(dayCells(entryPk).valid);
}

TEST_F(LogCellsTest, EveryCellIsReadAgainFromTheDatabase) {
    int pk = addEntry([](Sample& e) { e.setGlucoseCnt(300); });
    EXPECT_EQ(entryCells(pk).glucoseClass, GlucoseClass::VeryHigh);
    ASSERT_TRUE(db->exec("update SAMPLE set GLUCOSE_CNT = 60 where PK = %ld", long(pk)));
    LogRowCells cells = entryCells(pk);
    EXPECT_EQ(text(cells, LogColumn::Glucose), "60");
    EXPECT_EQ(cells.glucoseClass, GlucoseClass::Low);
}

TEST(LogColumnLayoutTest, TitlesWidthsAndAlignment) {
    const char* titles[] = {"Date/Time", "",      "",      "",           "",
                            "Glucose",   "Carbs", "Ratio", "Medication", "Notes"};
    const int mainWidths[] = {150, 20, 20, 20, 20, 75, 75, 60, 180, 300};
    const int compactWidths[] = {120, 20, 20, 0, 20, 65, 55, 60, 150, 250};
    for (int c = 0; c < LogColumn::Count; ++c) {
        EXPECT_STREQ(logColumnLayout(c, false).title, titles[c]);
        EXPECT_STREQ(logColumnLayout(c, true).title, c == 0 ? "Time" : titles[c]);
        EXPECT_EQ(logColumnLayout(c, false).width, mainWidths[c]) << c;
        EXPECT_EQ(logColumnLayout(c, true).width, compactWidths[c]) << c;
        const bool left = c == 0 || c == 8 || c == 9;
        EXPECT_EQ(logColumnLayout(c, false).alignment & Qt::AlignHorizontal_Mask,
                  left ? Qt::AlignLeft : Qt::AlignHCenter)
            << c;
    }
}
