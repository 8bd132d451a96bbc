#include "logbook/LogCells.h"
#include "LogbookFixture.h"

namespace {

class LogCellsTest : public LogbookContextTest {
protected:
    void SetUp() override {
        LogbookTest::SetUp();
        for (auto [time, name] : {std::pair{"0000", "Early Am"}, std::pair{"0700", "Breakfast"},
                                  std::pair{"1200", "Lunch"}, std::pair{"1800", "Dinner"}})
            addSlot(time, name);
        addMedication("Humalog", "H");
        addMedication("Pill", "P", [](Medication& m) { m.setIsInsulinBol(false); });
        changePreference([](Preference& p) {
            useStandardRange(p);
            p.setMilitaryTimeBol(false);
            p.setDeliveryCode(kDeliveryInjection);
        });
        openContext();
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

    int doseEntry(const char* dose, const char* correction, const char* insulinTime,
                  int carbs = 0) {
        return addEntry([&](Sample& e) {
            e.setMedicationDosage(dose);
            e.setCorrectionDosage(correction);
            e.setInsulinTime(insulinTime);
            e.setCarbCnt(carbs);
        });
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
    static QStringList texts(const LogRowCells& cells) {
        QStringList all;
        for (const auto& cell : cells.cells)
            all << cell.text;
        return all;
    }
    static std::vector<LogIcon> icons(const LogRowCells& cells) {
        std::vector<LogIcon> all;
        for (const auto& cell : cells.cells)
            all.push_back(cell.icon);
        return all;
    }
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
    // 1800 / 125 tenths of a unit: 14.4 g per unit. A normal day shows no icon.
    EXPECT_EQ(texts(cells), (QStringList{"03/15 Thursday #5", "", "", "", "", "120", "180",
                                         "14.4:u", "12.50 units", "Hiking all day"}));
    using enum LogIcon;
    EXPECT_EQ(icons(cells),
              (std::vector{None, SiteChange, None, Ketone3, None, None, None, None, None, None}));
    EXPECT_TRUE(cells.hasGlucose);
    EXPECT_EQ(cells.glucoseClass, GlucoseClass::InRange);
}

TEST_F(LogCellsTest, EmptyDayAndMissingDate) {
    int pk = addDay([](SampleDate& d) { d.setSampleDate(""); });
    LogRowCells cells = dayCells(pk);
    ASSERT_TRUE(cells.valid);
    EXPECT_EQ(texts(cells), QStringList("Date?") + QStringList(LogColumn::Count - 1, ""));
    EXPECT_EQ(icons(cells), std::vector(LogColumn::Count, LogIcon::None));
    EXPECT_FALSE(cells.hasGlucose);
}

TEST_F(LogCellsTest, KindOfDayIcons) {
    const LogIcon icons[] = {LogIcon::DaySick, LogIcon::None, LogIcon::DayActive};
    for (int type = 0; type <= 2; ++type) {
        int pk = addDay([type](SampleDate& d) { d.setDayTypeId(type); });
        EXPECT_EQ(icon(dayCells(pk), LogColumn::DayType), icons[type]) << type;
    }
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
    // A negative slot is read as the first one.
    for (auto [slot, name] : {std::pair{9, "Unknown"}, std::pair{0, "Unknown"},
                              std::pair{-4, "Early Am"}, std::pair{4, "Dinner"}}) {
        int pk = addEntry([slot](Sample& e) { e.setSampleTypePk(slot); });
        EXPECT_EQ(text(entryCells(pk), 0), QString("  %1 @ 08:30 AM").arg(name)) << slot;
    }
}

TEST_F(LogCellsTest, DosesAndTheirRatio) {
    struct Case {
        const char *dose, *correction, *insulinTime;
        int carbs;
        const char *shown, *ratio;
    };
    // Only the meal dose of an insulin counts for the ratio: 60 g over 5 units, 45 g over 4.5.
    for (const Case& c : {Case{"5H", "2H", "20070315140500", 60, "5H(2H) @ 14:05", "12.0:u"},
                          Case{"4.5H 2P", "", "20070315083000", 45, "4.5H 2P @ 08:30", "10.0:u"},
                          Case{"", "2H", "20070315211000", 30, "(2H) @ 21:10", ""}}) {
        LogRowCells cells = entryCells(doseEntry(c.dose, c.correction, c.insulinTime, c.carbs));
        EXPECT_EQ(text(cells, LogColumn::Medication), c.shown);
        EXPECT_EQ(text(cells, LogColumn::Ratio), c.ratio) << c.shown;
        EXPECT_EQ(text(cells, LogColumn::Carbs), QString::number(c.carbs)) << c.shown;
    }
}

TEST_F(LogCellsTest, DosesWithoutInsulinTimeAreCorrupted) {
    EXPECT_EQ(text(entryCells(doseEntry("5H", "", "", 60)), LogColumn::Medication), "corrupted");
    EXPECT_EQ(text(entryCells(doseEntry("", "1H", "")), LogColumn::Medication), "corrupted");
    EXPECT_TRUE(
        text(entryCells(doseEntry("", "", "20070315083000")), LogColumn::Medication).isEmpty());
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
    int evening = LogbookTest::addEntry("20070315190000", 150);
    int night = LogbookTest::addEntry("20070315030000", 210);
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
