#include "QbSetupFixture.h"

namespace {

const QString kCaption = QStringLiteral("Quillmarch");

// What is stored before a calculation: the schedules in force all day (a value of 0 is a
// stored row of 0; no target row at all when `target` is false) and the bolus insulin.
struct Settings {
    bool target = true; // 80 to 120: target 100
    int sensitivity = 40;
    int ratio = 15;
    const char* code = "H";
};

// Insulin H for 180 minutes, switched on; opened at 12:00 unless a test moves the clock.
class QbCalculatorTest : public QbSetupFixture {
protected:
    void SetUp() override {
        QbSetupFixture::SetUp();
        addMedication("Humalog", "H");
        storeQbPreference(*db, "H", 180, true);
    }
    void store(const Settings& settings) {
        for (const char* table : {"QB_TARGET", "QB_SENSITIVITY", "QB_RATIO", "SAMPLE"})
            ASSERT_TRUE(db->exec("delete from %s", table));
        if (settings.target)
            addQbTarget(*db, "06:00", 80, 120);
        addQbSensitivity(*db, "06:00", settings.sensitivity);
        addQbRatio(*db, "06:00", settings.ratio);
        storeQbPreference(*db, settings.code, 180, true);
    }
    void addDose(const char* stamp, const char* dosage, const char* correction = "",
                 int state = SyncState::Added) {
        Sample entry;
        entry.setSampleTime(stamp);
        entry.setInsulinTime(stamp);
        entry.setMedicationDosage(dosage);
        entry.setCorrectionDosage(correction);
        ASSERT_TRUE(SampleTable::save(*db, entry, state));
    }
    std::unique_ptr<QbCalculator> opened() {
        auto calculator = std::make_unique<QbCalculator>(*context);
        calculator->open();
        return calculator;
    }
};

} // namespace

TEST(QbUnits, RoundToTenthTakesHalvesAwayFromZeroOnBothSides) {
    const std::pair<int, int> cases[] = {{0, 0},     {4, 0},        {5, 10},       {24, 20},
                                         {25, 30},   {333, 330},    {335, 340},    {995, 1000},
                                         {-4, 0},    {-5, -10},     {-24, -20},    {-25, -30},
                                         {-35, -40}, {-995, -1000}, {-1001, -1000}};
    for (auto [in, out] : cases)
        EXPECT_EQ(QbCalculator::roundToTenth(in), out) << in;
}

TEST(QbUnits, FormatUnitsWritesDosageNotationThatReadsBackToTheSameHundredths) {
    const QString h = QStringLiteral("H");
    const std::pair<int, const char*> cases[] = {{150, "1.50H"}, {105, "1.05H"},  {100, "1.0H"},
                                                 {0, "0.0H"},    {-35, "-0.35H"}, {-100, "-1.0H"},
                                                 {5, "0.05H"},   {1000, "10.0H"}, {1010, "10.10H"}};
    for (auto [hundredths, text] : cases)
        EXPECT_EQ(QbCalculator::formatUnits(hundredths, h), text) << hundredths;
    EXPECT_EQ(QbCalculator::formatUnits(330, QStringLiteral("Hu")), "3.30Hu");

    MedicationLookup insulinH = [](QChar code) -> std::optional<MedicationFlags> {
        if (code == u'H')
            return MedicationFlags{true, true};
        return std::nullopt;
    };
    // What goes into the logbook is whole tenths; below 10 units hundredths survive too.
    for (int v : {1, 5, 10, 99, 100, 105, 150, 330, 999, 1000, 1010, 2350, 9990})
        EXPECT_EQ(dosageInsulinHundredths(QbCalculator::formatUnits(v, h), insulinH), v) << v;
}

TEST_F(QbCalculatorTest, OpeningTakesTheRowsInForceNowAndStartsFromTheTarget) {
    storeQbPreference(*db, "H", 30, true);
    addQbTarget(*db, "06:00", 70, 100);
    int target = addQbTarget(*db, "11:30", 81, 120);
    addQbTarget(*db, "13:00", 90, 140);
    int sensitivity = addQbSensitivity(*db, "12:00", 45); // from this very minute on
    addQbSensitivity(*db, "06:00", 50);
    int ratio = addQbRatio(*db, "20:00", 12); // carried past midnight into the morning
    addQbRatio(*db, "13:00", 15);
    auto calc = opened();
    EXPECT_EQ(QStringList({calc->bolusCode(), QString::number(calc->insulinMinutes()),
                           calc->nowText(), calc->activeInsulinText(), calc->totalText()}),
              QStringList({"H", "30", "12:00", "0.0H", ""}));
    // The target is (81 + 120) / 2 truncated, and the glucose starts there.
    EXPECT_EQ(std::vector<int>({calc->targetKey(), calc->target(), calc->glucose(), calc->carbs(),
                                calc->sensitivityKey(), calc->sensitivity(), calc->ratioKey(),
                                calc->ratio()}),
              std::vector<int>({target, 100, 100, 0, sensitivity, 45, ratio, 12}));
    EXPECT_FALSE(calc->canAccept());
}

TEST_F(QbCalculatorTest, EachMissingSettingIsNamedInTurnAndTheCalculatorStillOpens) {
    prompts.expect(kCaption, "No Target found for this time");
    prompts.expect(kCaption, "No Sensitivity found for this time");
    prompts.expect(kCaption, "No Ratio found for this time");
    auto calc = opened();
    EXPECT_EQ(
        std::vector<int>({calc->targetKey(), calc->sensitivityKey(), calc->ratioKey(),
                          calc->target(), calc->glucose()}),
        std::vector<int>({QbCalculator::kNoRow, QbCalculator::kNoRow, QbCalculator::kNoRow, 0, 0}));
    prompts.verify();
    // Only what is missing is named.
    addQbTarget(*db, "06:00", 80, 120);
    addQbRatio(*db, "06:00", 15);
    prompts.expect(kCaption, "No Sensitivity found for this time");
    calc = opened();
    EXPECT_EQ(calc->target(), 100);
    EXPECT_EQ(calc->ratio(), 15);
}

TEST_F(QbCalculatorTest, OverlapWarningFollowsTheSchedulesPastMidnight) {
    const QString overlap = QStringLiteral(
        "Your Insulin duration overlaps one or more RivezAdozu settings.\n\nThis is not a "
        "problem but remember to review amounts and adjust if necessary before delivery.  ");
    // Opened at `now` with 4 hours of insulin, over the usual settings, a ratio from 20:00
    // and one more row; whether the active time reaches into another row.
    struct Case {
        const char* now;
        void (*add)(Database&);
        bool warns;
    } cases[] = {
        {"22:00", [](Database&) {}, false}, // 02:00 is still under the 20:00 ratio
        {"22:00", [](Database& d) { addQbRatio(d, "01:00", 20); }, true},
        {"22:00", [](Database& d) { addQbTarget(d, "23:30", 90, 130); }, true},
        {"14:00", [](Database& d) { addQbSensitivity(d, "18:01", 30); }, false},
        {"14:00", [](Database& d) { addQbSensitivity(d, "18:00", 30); }, true},
    };
    for (const Case& c : cases) {
        store({});
        storeQbPreference(*db, "H", 240, true);
        addQbRatio(*db, "20:00", 12);
        c.add(*db);
        context->fixedClock().set(at(c.now));
        if (c.warns)
            prompts.expect(kCaption, overlap);
        auto calc = opened();
        EXPECT_EQ(calc->target(), 100) << c.now; // the settings of now are used all the same
        prompts.verify();
    }
}

TEST_F(QbCalculatorTest, ActiveInsulinDecaysLinearlyOverTheActiveTimeOfLiveInsulinDoses) {
    addMedication("Glucagon", "G", [](Medication& m) { m.setIsInsulinBol(false); });
    addMedication("NPH", "N", [](Medication& m) { m.setIncludeInTotalsBol(false); });
    // One dose at a time, now 12:00 with 180 minutes: what it still adds.
    struct Case {
        const char* stamp;
        const char* dosage;
        const char* correction;
        int state;
        int active;
    } cases[] = {
        {"20070315115900", "2H", "", SyncState::Added, 0},        // 1 minute: percent 0
        {"20070315103000", "2H", "", SyncState::Added, 100},      // percent 50, used 100
        {"20070315114200", "0.5H", "", SyncState::Added, 50},     // used 5, under 9: none
        {"20070315114200", "0.9H", "", SyncState::Added, 81},     // used exactly 9 is taken off
        {"20070315111500", "4H", "", SyncState::Added, 300},      // a quarter of the time
        {"20070315103000", "2H 4G", "2N", SyncState::Added, 100}, // only the insulin in totals
        {"20070315103000", "", "1H", SyncState::Added, 50},       // the correction column counts
        {"20070315090000", "2H", "", SyncState::Added, 0},        // all 180 minutes gone
        {"20070315085900", "7H", "", SyncState::Added, 0},        // before the active time
        {"20070315123000", "3H", "", SyncState::Added, 0},        // dated later than now
        {"20070315110000", "5H", "", SyncState::Deleted, 0},      // removed
        {"20070315110000", "3", "", SyncState::Added, 0},         // no medication code
        {"20070315990000", "2H", "", SyncState::Added, 200},      // an unreadable time: whole
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(db->exec("delete from SAMPLE"));
        addDose(c.stamp, c.dosage, c.correction, c.state);
        EXPECT_EQ(QbCalculator::activeInsulinAt(*db, context->medicationLookup(),
                                                context->clock().now(), 180),
                  c.active)
            << c.stamp << " " << c.dosage;
    }
}

TEST_F(QbCalculatorTest, CalculatesOrDeclinesAndSplitsTheTotalOnAccept) {
    // Target 100, sensitivity 40, ratio 15 unless the settings say otherwise; `dose` is given
    // before opening. The estimate as "correction|carb dose|adjusted|total" and the accepted
    // result (see resultRow), or the message of a refusal.
    struct Case {
        int glucose;
        int carbs;
        const char* dose; // given at 10:30 (half used), or at 11:58 when it starts with '!'
        const char* estimate;
        const char* accepted;
        const char* refusal = nullptr;
        Settings settings = {};
        bool mmol = false;
    } cases[] = {
        // 180 and 45 with 0.5 active: 2.0 correction, 3.0 for the carbohydrates.
        {180, 45, "1H", "2.0H|3.0H|1.50H|4.50H", "180|45|450|3.0H|1.50H"},
        {100, 50, "", "0.0H|3.30H|0.0H|3.30H", "100|50|330|3.30H|"}, // 333 rounds to 330
        {181, 0, "", "2.02H|0.00|2.0H|2.0H", "181|0|200||2.0H"},     // 202.5 truncated to 202
        {85, 1, "", "-0.37H|0.10H|-0.40H|-0.30H", "85|1|-30||"},     // nothing to give
        // 3 units barely started: the carbohydrate part bears the negative correction.
        {180, 60, "!3H", "2.0H|4.0H|-1.0H|3.0H", "180|60|300|3.0H|"},
        {100, 0, "2H", "0.0H|0.00|-1.0H|-1.0H", "100|0|-100||"},
        {80, 0, "", "-0.50H|0.00|-0.50H|-0.50H", "80|0|-50||"},
        // Carbohydrates without a reading: no correction, the active insulin still counts.
        {0, 45, "", "0.0H|3.0H|0.0H|3.0H", "0|45|300|3.0H|"},
        {0, 45, "1H", "0.0H|3.0H|-0.50H|2.50H", "0|45|250|2.50H|"},
        {0, 45, "!3H", "0.0H|3.0H|-3.0H|0.0H", "0|45|0||"},
        {150, 0, "", "1.25H|0.00|1.30H|1.30H", "150|0|130||1.30H", nullptr, {true, 40, 0}},
        {0, 0, "", "", "", "Please enter your current glucose and/or carb intake"},
        {79, 30, "", "", "", "Your glucose must be 80 or higher to us RivezAdozu"},
        {3, 0, "", "", "", "Your glucose must be 4 or higher to us RivezAdozu", {}, true},
        {4, 0, "", "-2.40H|0.00|-2.40H|-2.40H", "4|0|-240||", nullptr, {}, true},
        {150,
         0,
         "",
         "",
         "",
         "No Sensitivity is set for this time. RivezAdozu cannot estimate a correction without "
         "it.",
         {true, 0, 15}},
        {0,
         45,
         "",
         "",
         "",
         "No Sensitivity is set for this time. RivezAdozu cannot estimate a correction without "
         "it.",
         {true, 0, 15}},
        {150,
         30,
         "",
         "",
         "",
         "No Ratio is set for this time. RivezAdozu cannot estimate a carbohydrate dose without "
         "it.",
         {true, 40, 0}},
        {0,
         45,
         "",
         "",
         "",
         "No Target is set for this time. RivezAdozu cannot estimate a correction without it.",
         {false, 40, 15}},
        {180,
         0,
         "",
         "",
         "",
         "No bolus insulin or insulin duration is set. Please complete the Quick Bolus Setup "
         "before using RivezAdozu.",
         {true, 40, 15, ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.glucose << "/" << c.carbs << " " << c.dose);
        store(c.settings);
        const bool late = c.dose[0] == '!';
        if (*c.dose)
            addDose(late ? "20070315115800" : "20070315103000", c.dose + (late ? 1 : 0));
        changePreference([&](Preference& p) {
            p.setGlucoseSampleCode(c.mmol ? kGlucoseUnitMmol : kGlucoseUnitMgDl);
        });
        context->reload();
        if (!c.settings.target)
            prompts.expect(kCaption, "No Target found for this time");
        auto calc = opened();
        if (c.refusal) {
            prompts.expect(kCaption, c.refusal);
            EXPECT_FALSE(calc->calculate(c.glucose, c.carbs));
            EXPECT_FALSE(calc->canAccept());
            EXPECT_EQ(resultRow(calc->accept()), "none");
            EXPECT_EQ(calc->totalText(), "");
            prompts.verify();
            continue;
        }
        ASSERT_TRUE(calc->calculate(c.glucose, c.carbs));
        EXPECT_EQ(QStringList({calc->correctionText(), calc->carbDoseText(),
                               calc->adjustedCorrectionText(), calc->totalText()})
                      .join('|'),
                  c.estimate);
        // A changed input leaves nothing to accept until the next calculation.
        calc->inputsChanged();
        EXPECT_EQ(resultRow(calc->accept()), "none");
        ASSERT_TRUE(calc->calculate(c.glucose, c.carbs));
        EXPECT_EQ(resultRow(calc->accept()), c.accepted);
        prompts.verify();
    }
}

TEST_F(QbCalculatorTest, AnAcceptedEstimatePrefillsTheNewEntry) {
    // The new entry as "time|insulin time|glucose|carbs|medication|correction", from an
    // entry that already holds a medication text.
    struct Case {
        QuickBolusResult result;
        int unit;
        const char* entry;
    } cases[] = {
        {{180, 45, 450, "3.0H", "1.50H"},
         kGlucoseUnitMgDl,
         "20070315120500|20070315120500|180|45|3.0H|1.50H"},
        // Nothing to give: the dose texts are left alone.
        {{100, 0, -100, "", ""}, kGlucoseUnitMgDl, "20070315120500|20070315120500|100|0|keep|"},
        // Whole millimoles from the calculator become the logbook's tenths.
        {{7, 45, 450, "3.0H", "1.50H"},
         kGlucoseUnitMmol,
         "20070315120500|20070315120500|70|45|3.0H|1.50H"},
    };
    for (const Case& c : cases) {
        Sample entry;
        entry.setMedicationDosage("keep");
        fillQuickBolusEntry(c.result, at("12:05"), c.unit, entry);
        EXPECT_EQ(QStringList({entry.getSampleTime(), entry.getInsulinTime(),
                               QString::number(entry.getGlucoseCnt()),
                               QString::number(entry.getCarbCnt()), entry.getMedicationDosage(),
                               entry.getCorrectionDosage()})
                      .join('|'),
                  c.entry);
    }
}

TEST_F(QbCalculatorTest, AvailableOnlyWithTheSettingsRowSwitchedOn) {
    EXPECT_TRUE(quickBolusAvailable(*db));
    storeQbPreference(*db, "H", 180, false);
    EXPECT_FALSE(quickBolusAvailable(*db));
    ASSERT_TRUE(db->exec("delete from QB_PREFERENCE"));
    EXPECT_FALSE(quickBolusAvailable(*db));
}
