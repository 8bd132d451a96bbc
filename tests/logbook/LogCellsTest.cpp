#include "logbook/LogCells.h"
#include "LogbookFixture.h"

namespace {

using enum LogIcon;

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
        return LogbookTest::addEntry("20070315083000", 0, [&](Sample& entry) {
            entry.setSampleTypePk(2);
            entry.setDeliveryCode(kDeliveryInjection);
            fill(entry);
        });
    }
    LogRowCells cells(char tag, int pk, int filter = LogFilter::AllTypes, bool compact = false) {
        return computeLogCells(*context, {tag, pk}, filter, compact);
    }
    static QString text(const LogRowCells& cells, int column) {
        return cells.cells.at(column).text;
    }
    static LogIcon icon(const LogRowCells& cells, int column) {
        return cells.cells.at(column).icon;
    }
};

} // namespace

TEST_F(LogCellsTest, DayRowShowsItsTotals) {
    int note = addNote("Hiking all day");
    LogRowCells day = cells('D', addDay([&](SampleDate& d) {
                                d.setTtlSampleCnt(5);
                                d.setTtlInsulinAmt(1250);
                                d.setTtlCarbCnt(180);
                                d.setAvgGlucoseCnt(120);
                                d.setMaxKeytoneCode(3);
                                d.setNewSiteBol(true);
                                d.setNotePk(note);
                            }));
    QStringList texts;
    std::vector<LogIcon> icons;
    for (const LogCell& cell : day.cells) {
        texts << cell.text;
        icons.push_back(cell.icon);
    }
    // 1800 / 125 tenths of a unit: 14.4 g per unit. A normal day shows no icon.
    EXPECT_EQ(texts, (QStringList{"03/15 Thursday #5", "", "", "", "", "120", "180", "14.4:u",
                                  "12.50 units", "Hiking all day"}));
    EXPECT_EQ(icons,
              (std::vector{None, SiteChange, None, Ketone3, None, None, None, None, None, None}));
    EXPECT_TRUE(day.day && day.emphasized && day.hasGlucose);
    EXPECT_FALSE(cells('D', addDay({}), LogFilter::DailySummary).emphasized);

    LogRowCells undated = cells('D', addDay([](SampleDate& d) { d.setSampleDate(""); }));
    EXPECT_EQ(text(undated, 0), "Date?");
    EXPECT_FALSE(undated.hasGlucose);
    const LogIcon kinds[] = {DaySick, None, DayActive};
    for (int type = 0; type <= 2; ++type)
        EXPECT_EQ(icon(cells('D', addDay([type](SampleDate& d) { d.setDayTypeId(type); })),
                       LogColumn::DayType),
                  kinds[type]);
}

TEST_F(LogCellsTest, EntryTimeBySlotFilterAndClockStyle) {
    struct Case {
        int slot, filter;
        bool military, compact;
        const char* shown;
    };
    // A slot outside the list reads "Unknown"; a negative one is read as the first.
    for (const Case& c : {Case{2, LogFilter::AllTypes, false, false, "  Breakfast @ 08:30 AM"},
                          Case{3, 2, false, false, "03/15 08:30 AM Thursday"},
                          Case{3, LogFilter::DailySummary, false, false, "03/15 08:30 AM Thursday"},
                          Case{3, LogFilter::AllTypes, true, false, "  Lunch @ 08:30"},
                          Case{3, 3, true, false, "03/15 08:30 Thursday"},
                          Case{3, LogFilter::AllTypes, false, true, "08:30 Lunch"},
                          Case{9, LogFilter::AllTypes, false, false, "  Unknown @ 08:30 AM"},
                          Case{0, LogFilter::AllTypes, false, false, "  Unknown @ 08:30 AM"},
                          Case{-4, LogFilter::AllTypes, false, false, "  Early Am @ 08:30 AM"}}) {
        changePreference([&](Preference& p) { p.setMilitaryTimeBol(c.military); });
        int pk = addEntry([&](Sample& e) { e.setSampleTypePk(c.slot); });
        EXPECT_EQ(text(cells('S', pk, c.filter, c.compact), 0), c.shown);
    }
    changePreference([](Preference& p) { p.setMilitaryTimeBol(false); });
    int afternoon = LogbookTest::addEntry("20070315140500", 0);
    EXPECT_EQ(text(cells('S', afternoon, 3), 0), "03/15 02:05 PM Thursday");
}

TEST_F(LogCellsTest, DosesRatioAndEmptyCells) {
    struct Case {
        const char *dose, *correction, *insulinTime;
        int carbs;
        const char *shown, *ratio;
    };
    // Only the meal dose of an insulin counts for the ratio: 60 g over 5 units, 45 g over 4.5.
    for (const Case& c :
         {Case{"5H", "2H", "20070315140500", 60, "5H(2H) @ 14:05", "12.0:u"},
          Case{"4.5H 2P", "", "20070315083000", 45, "4.5H 2P @ 08:30", "10.0:u"},
          Case{"", "2H", "20070315211000", 30, "(2H) @ 21:10", ""},
          Case{"5H", "", "", 0, "corrupted", ""}, Case{"", "1H", "", 10, "corrupted", ""},
          Case{"", "", "20070315083000", 10, "", ""}}) {
        int pk = addEntry([&](Sample& e) {
            e.setMedicationDosage(c.dose);
            e.setCorrectionDosage(c.correction);
            e.setInsulinTime(c.insulinTime);
            e.setCarbCnt(c.carbs);
        });
        // saveWithDay empties the insulin time of an entry without doses; the row keeps it.
        db->exec("update SAMPLE set INSULIN_TIME = %Q where PK = %ld", c.insulinTime, long(pk));
        LogRowCells entry = cells('S', pk);
        EXPECT_EQ(text(entry, LogColumn::Medication), c.shown);
        EXPECT_EQ(text(entry, LogColumn::Ratio), c.ratio) << c.shown;
        EXPECT_EQ(text(entry, LogColumn::Carbs), c.carbs ? QString::number(c.carbs) : "");
        EXPECT_FALSE(entry.hasGlucose);
        EXPECT_EQ(text(entry, LogColumn::Glucose), "");
    }
    int day = addDay([](SampleDate& d) { d.setTtlCarbCnt(90); });
    EXPECT_EQ(text(cells('D', day), LogColumn::Medication), "");
    EXPECT_EQ(text(cells('D', day), LogColumn::Ratio), "");

    for (auto [carbs, insulin, ratio] :
         {std::tuple{45, 350, "12.9:u"}, std::tuple{100, 5, "2000.0:u"},
          std::tuple{1, 1000, "0.1:u"}, std::tuple{0, 500, ""}, std::tuple{-5, 500, ""},
          std::tuple{60, 0, ""}})
        EXPECT_EQ(carbRatioText(carbs, insulin), ratio) << carbs << " " << insulin;
}

TEST_F(LogCellsTest, TheEntrysTimeChoosesTheRange) {
    QbPreference qb;
    qb.setUseBol(true);
    ASSERT_TRUE(QbPreferenceTable::save(*db, qb));
    QbTarget target;
    target.setTargetTime("06:00");
    target.setGlucoseHi(140);
    target.setGlucoseHiExt(200);
    ASSERT_TRUE(QbTargetTable::save(*db, target));
    // 150 is high against the target in force at 08:30, in range against the patient's own
    // limits, which a day's average (without a time of day) is classed against.
    EXPECT_EQ(cells('S', LogbookTest::addEntry("20070315083000", 150)).glucoseClass,
              GlucoseClass::High);
    EXPECT_EQ(cells('D', addDay([](SampleDate& d) { d.setAvgGlucoseCnt(150); })).glucoseClass,
              GlucoseClass::InRange);
    changePreference([](Preference& p) { p.setGlucoseSampleCode(kGlucoseUnitMmol); });
    EXPECT_EQ(
        text(cells('S', addEntry([](Sample& e) { e.setGlucoseCnt(72); })), LogColumn::Glucose),
        "7.2");
}

// Site, delivery and ketone icons of entries (days draw no delivery icon); the usual
// delivery is the preference's.
TEST_F(LogCellsTest, IconsOfAnEntry) {
    auto iconsOf = [this](int pk) {
        LogRowCells entry = cells('S', pk);
        return std::vector{icon(entry, LogColumn::Site), icon(entry, LogColumn::Delivery),
                           icon(entry, LogColumn::Ketone)};
    };
    int usual = addEntry([](Sample& e) { e.setKeytoneCode(1); });
    int pump = addEntry([](Sample& e) {
        e.setDeliveryCode(kDeliveryPump);
        e.setNewSiteBol(true);
        e.setKeytoneCode(4);
    });
    EXPECT_EQ(iconsOf(addEntry([](Sample&) {})), (std::vector{None, None, None}));
    EXPECT_EQ(iconsOf(usual), (std::vector{None, None, Ketone1}));
    EXPECT_EQ(iconsOf(pump), (std::vector{SiteChange, Delivery, Ketone4}));
    changePreference([](Preference& p) { p.setDeliveryCode(kDeliveryPump); });
    EXPECT_EQ(iconsOf(usual), (std::vector{None, Delivery, Ketone1}));
    EXPECT_EQ(iconsOf(pump), (std::vector{SiteChange, None, Ketone4}));
}

TEST_F(LogCellsTest, NotesAndMissingRecords) {
    int withNote = addEntry([this](Sample& e) { e.setNotePk(addNote("Pizza at Joe's")); });
    int lostNote = addEntry([](Sample& e) { e.setNotePk(777); });
    EXPECT_EQ(text(cells('S', withNote), LogColumn::Notes), "Pizza at Joe's");
    EXPECT_EQ(text(cells('S', lostNote), LogColumn::Notes), "");
    EXPECT_TRUE(cells('S', lostNote).valid);
    EXPECT_FALSE(cells('S', 999).valid);
    EXPECT_FALSE(cells('D', withNote).valid); // the tag decides which table is read
}
