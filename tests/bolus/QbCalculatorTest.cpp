#include "QbSetupFixture.h"

namespace {

const QString kCaption = QStringLiteral("Quillmarch");

// Insulin H for 180 minutes, switched on; opened at 12:00 unless a test moves the clock.
class QbCalculatorTest : public QbSetupFixture {
protected:
    void SetUp() override {
        QbSetupFixture::SetUp();
        addMedication("Humalog", "H");
        storeQbPreference(*db, "H", 180, true);
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
    int active() {
        return QbCalculator::activeInsulinAt(*db, context->medicationLookup(),
                                             context->clock().now(), 180);
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
    EXPECT_EQ(calc->bolusCode(), "H");
    EXPECT_EQ(calc->insulinMinutes(), 30);
    EXPECT_EQ(calc->nowText(), "12:00");
    EXPECT_EQ(calc->targetKey(), target);
    EXPECT_EQ(calc->target(), 100); // 201 / 2, truncated
    EXPECT_EQ(calc->glucose(), 100);
    EXPECT_EQ(calc->carbs(), 0);
    EXPECT_EQ(calc->sensitivityKey(), sensitivity);
    EXPECT_EQ(calc->sensitivity(), 45);
    EXPECT_EQ(calc->ratioKey(), ratio);
    EXPECT_EQ(calc->ratio(), 12);
    EXPECT_EQ(calc->activeInsulinText(), "0.0H");
    EXPECT_EQ(calc->totalText(), "");
    EXPECT_FALSE(calc->canAccept());
}

TEST_F(QbCalculatorTest, EachMissingSettingIsNamedInTurnAndTheCalculatorStillOpens) {
    prompts.expect(kCaption, "No Target found for this time");
    prompts.expect(kCaption, "No Sensitivity found for this time");
    prompts.expect(kCaption, "No Ratio found for this time");
    auto calc = opened();
    EXPECT_EQ(calc->targetKey(), QbCalculator::kNoRow);
    EXPECT_EQ(calc->sensitivityKey(), QbCalculator::kNoRow);
    EXPECT_EQ(calc->ratioKey(), QbCalculator::kNoRow);
    EXPECT_EQ(calc->target(), 0);
    EXPECT_EQ(calc->glucose(), 0);
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
    context->fixedClock().set(at("22:00"));
    storeQbPreference(*db, "H", 240, true);
    addUsualSettings();
    addQbRatio(*db, "20:00", 12);
    // 22:00 + 4 hours is 02:00, still under the 20:00 ratio of the evening before.
    auto calc = opened();
    EXPECT_EQ(calc->ratio(), 12);
    EXPECT_EQ(prompts.count(), 0);

    const QString overlap = QStringLiteral(
        "Your Insulin duration overlaps one or more RivezAdozu settings.\n\nThis is not a "
        "problem but remember to review amounts and adjust if necessary before delivery.  ");
    // A ratio taking over at 01:00 falls inside the active time.
    int night = addQbRatio(*db, "01:00", 20);
    prompts.expect(kCaption, overlap);
    opened();
    prompts.verify();

    // So does a target change at 23:30, with the ratios agreeing again.
    ASSERT_TRUE(QbRatioTable::removeByPk(*db, night));
    addQbTarget(*db, "23:30", 90, 130);
    prompts.expect(kCaption, overlap);
    calc = opened();
    EXPECT_EQ(calc->target(), 100); // the settings of now are used all the same
    prompts.verify();

    // From 14:00 the active time ends at 18:00: a row starting at 18:01 is not reached, one
    // starting at 18:00 is.
    context->fixedClock().set(at("14:00"));
    ASSERT_TRUE(QbTargetTable::removeByPk(*db, QbTargetTable::findByTime(*db, "23:30")->getPk()));
    int late = addQbSensitivity(*db, "18:01", 30);
    prompts.clear();
    opened();
    EXPECT_EQ(prompts.count(), 0);
    ASSERT_TRUE(QbSensitivityTable::removeByPk(*db, late));
    addQbSensitivity(*db, "18:00", 30);
    prompts.expect(kCaption, overlap);
    opened();
}

TEST_F(QbCalculatorTest, ActiveInsulinDecaysLinearlyOverTheActiveTime) {
    addUsualSettings();
    addDose("20070315115900", "2H"); // 1 minute of 180: percent 0, adds nothing
    addDose("20070315103000", "2H"); // 90 minutes: percent 50, used 100, adds 100
    EXPECT_EQ(active(), 100);
    auto calc = opened();
    EXPECT_EQ(calc->activeInsulin(), 100);
    EXPECT_EQ(calc->activeInsulinText(), "1.0H");
}

TEST_F(QbCalculatorTest, ActiveInsulinCountsASmallUsedPartAsNothing) {
    addDose("20070315114200", "0.5H"); // 18 of 180 minutes: used 5, under 9
    EXPECT_EQ(active(), 50);
    addDose("20070315114200", "0.9H"); // used exactly 9 is taken off
    EXPECT_EQ(active(), 50 + 81);
    addDose("20070315111500", "4H"); // a quarter of the time: 3 units left
    EXPECT_EQ(active(), 50 + 81 + 300);
}

TEST_F(QbCalculatorTest, ActiveInsulinCountsOnlyLiveInsulinDosesWithinTheActiveTime) {
    addMedication("Glucagon", "G", [](Medication& m) { m.setIsInsulinBol(false); });
    addMedication("NPH", "N", [](Medication& m) { m.setIncludeInTotalsBol(false); });
    addDose("20070315103000", "2H 4G", "2N"); // only the 2H counts
    addDose("20070315103000", "", "1H");      // the correction column counts as well
    addDose("20070315090000", "2H");          // all 180 minutes gone: used up
    addDose("20070315085900", "7H");          // before the active time
    addDose("20070315123000", "3H");          // dated later than now
    addDose("20070315110000", "5H", "", SyncState::Deleted);
    addDose("20070315110000", "3"); // no medication code
    EXPECT_EQ(active(), 100 + 50);
    addDose("20070315990000", "2H"); // an unreadable time counts whole
    EXPECT_EQ(active(), 100 + 50 + 200);
}

TEST_F(QbCalculatorTest, WorkedExampleGivesFourAndAHalfUnitsAndSplitsOnAccept) {
    addUsualSettings();
    addDose("20070315103000", "1H"); // half used: 50 active
    auto calc = opened();
    ASSERT_EQ(calc->activeInsulin(), 50);
    ASSERT_TRUE(calc->calculate(180, 45));
    EXPECT_EQ(calc->correction(), 200);
    EXPECT_EQ(calc->correctionText(), "2.0H");
    EXPECT_EQ(calc->carbDose(), 300);
    EXPECT_EQ(calc->carbDoseText(), "3.0H");
    EXPECT_EQ(calc->adjustedCorrection(), 150);
    EXPECT_EQ(calc->adjustedCorrectionText(), "1.50H");
    EXPECT_EQ(calc->total(), 450);
    EXPECT_EQ(calc->totalText(), "4.50H");
    ASSERT_TRUE(calc->canAccept());

    EXPECT_EQ(resultRow(calc->accept()), "180|45|450|3.0H|1.50H");

    // A changed input leaves nothing to accept until the next calculation.
    ASSERT_TRUE(calc->calculate(140, 30));
    calc->inputsChanged();
    EXPECT_FALSE(calc->accept());
}

TEST_F(QbCalculatorTest, CarbDoseIsRoundedAndCorrectionIsTruncatedTowardZero) {
    addUsualSettings();
    auto calc = opened();
    ASSERT_TRUE(calc->calculate(100, 50)); // 5000 / 15 = 333 -> 330
    EXPECT_EQ(calc->carbDoseText(), "3.30H");
    EXPECT_EQ(calc->correctionText(), "0.0H");
    EXPECT_EQ(calc->totalText(), "3.30H");

    ASSERT_TRUE(calc->calculate(181, 0)); // 8100 / 40 = 202.5
    EXPECT_EQ(calc->correction(), 202);
    EXPECT_EQ(calc->adjustedCorrection(), 200);
    EXPECT_EQ(calc->carbDoseText(), "0.00"); // no carbohydrates: nothing worked out
    EXPECT_EQ(calc->total(), 200);

    ASSERT_TRUE(calc->calculate(85, 1)); // -1500 / 40 = -37.5; 100 / 15 = 6 -> 10
    EXPECT_EQ(calc->correction(), -37);
    EXPECT_EQ(calc->correctionText(), "-0.37H");
    EXPECT_EQ(calc->adjustedCorrection(), -40);
    EXPECT_EQ(calc->carbDose(), 10);
    EXPECT_EQ(calc->total(), -30);
    EXPECT_EQ(calc->totalText(), "-0.30H");
}

TEST_F(QbCalculatorTest, NegativeCorrectionIsBorneByTheCarbohydratePartOnAccept) {
    addUsualSettings();
    addDose("20070315115800", "3H"); // 2 minutes: 1 percent, used 3 counts as 0
    auto calc = opened();
    ASSERT_EQ(calc->activeInsulin(), 300);
    ASSERT_TRUE(calc->calculate(180, 60));
    EXPECT_EQ(calc->correction(), 200);
    EXPECT_EQ(calc->carbDose(), 400);
    EXPECT_EQ(calc->adjustedCorrection(), -100);
    EXPECT_EQ(calc->total(), 300);
    EXPECT_EQ(resultRow(calc->accept()), "180|60|300|3.0H|");
}

TEST_F(QbCalculatorTest, AtTargetWithoutCarbsNothingIsToBeGivenOrWritten) {
    addUsualSettings();
    addDose("20070315103000", "2H");
    auto calc = opened();
    ASSERT_TRUE(calc->calculate(100, 0));
    EXPECT_EQ(calc->correctionText(), "0.0H");
    EXPECT_EQ(calc->totalText(), "-1.0H");
    auto result = calc->accept();
    ASSERT_TRUE(result);
    EXPECT_EQ(resultRow(result), "100|0|-100||");
    EXPECT_FALSE(result->hasDoses());

    // The new entry as "time|insulin time|glucose|carbs|medication|correction".
    auto filled = [](const QuickBolusResult& from, std::time_t now, int unit, Sample entry) {
        fillQuickBolusEntry(from, now, unit, entry);
        return QStringList{entry.getSampleTime(),
                           entry.getInsulinTime(),
                           QString::number(entry.getGlucoseCnt()),
                           QString::number(entry.getCarbCnt()),
                           entry.getMedicationDosage(),
                           entry.getCorrectionDosage()}
            .join('|');
    };
    Sample kept;
    kept.setMedicationDosage("keep"); // untouched when nothing is given
    EXPECT_EQ(filled(*result, at("12:00"), kGlucoseUnitMgDl, kept),
              "20070315120000|20070315120000|100|0|keep|");
    const QuickBolusResult given{180, 45, 450, "3.0H", "1.50H"};
    EXPECT_EQ(filled(given, at("12:05"), kGlucoseUnitMgDl, {}),
              "20070315120500|20070315120500|180|45|3.0H|1.50H");
    // Whole millimoles from the calculator become the logbook's tenths.
    EXPECT_TRUE(filled({7, 45, 450, "3.0H", "1.50H"}, at("12:05"), kGlucoseUnitMmol, {})
                    .startsWith("20070315120500|20070315120500|70|45|"));
}

TEST_F(QbCalculatorTest, ChecksRefuseLowGlucoseAndAnEmptyRequest) {
    addUsualSettings();
    auto calc = opened();
    prompts.expect(kCaption, "Your glucose must be 80 or higher to us RivezAdozu");
    EXPECT_FALSE(calc->calculate(79, 30));
    EXPECT_FALSE(calc->canAccept());
    EXPECT_FALSE(calc->accept());
    EXPECT_EQ(calc->totalText(), "");
    EXPECT_TRUE(calc->calculate(80, 0));
    prompts.expect(kCaption, "Please enter your current glucose and/or carb intake");
    EXPECT_FALSE(calc->calculate(0, 0));
    EXPECT_FALSE(calc->canAccept());
    prompts.verify();

    changePreference([](Preference& p) { p.setGlucoseSampleCode(kGlucoseUnitMmol); });
    context->reload();
    prompts.expect(kCaption, "Your glucose must be 4 or higher to us RivezAdozu");
    EXPECT_FALSE(calc->calculate(3, 0));
    EXPECT_TRUE(calc->calculate(4, 0));
}

TEST_F(QbCalculatorTest, DeclinesRatherThanDoseAgainstAMissingReadingOrSetting) {
    const QString noGlucose = QStringLiteral(
        "Please enter your current glucose. RivezAdozu does not estimate a bolus without it.");
    addQbTarget(*db, "06:00", 80, 120);
    addQbSensitivity(*db, "06:00", 0);
    addQbRatio(*db, "06:00", 0);
    auto calc = opened();
    prompts.expect(kCaption, noGlucose);
    EXPECT_FALSE(calc->calculate(0, 45));
    prompts.expect(kCaption, "No Sensitivity is set for this time. RivezAdozu cannot estimate a "
                             "correction without it.");
    EXPECT_FALSE(calc->calculate(150, 0));
    EXPECT_FALSE(calc->canAccept());
    prompts.verify();

    ASSERT_TRUE(QbSensitivityTable::removeByPk(*db, 1));
    addQbSensitivity(*db, "06:00", 40);
    calc = opened();
    EXPECT_TRUE(calc->calculate(150, 0)); // no carbohydrates: the ratio is not needed
    prompts.expect(kCaption, "No Ratio is set for this time. RivezAdozu cannot estimate a "
                             "carbohydrate dose without it.");
    EXPECT_FALSE(calc->calculate(150, 30));
    EXPECT_FALSE(calc->canAccept());
    prompts.verify();

    ASSERT_TRUE(QbTargetTable::removeByPk(*db, 1));
    prompts.expect(kCaption, "No Target found for this time");
    calc = opened();
    prompts.expect(kCaption, "No Target is set for this time. RivezAdozu cannot estimate a "
                             "correction without it.");
    EXPECT_FALSE(calc->calculate(180, 0));
    prompts.verify();

    addQbTarget(*db, "06:00", 80, 120);
    storeQbPreference(*db, "", 180, true);
    calc = opened();
    prompts.expect(kCaption, "No bolus insulin or insulin duration is set. Please complete the "
                             "Quick Bolus Setup before using RivezAdozu.");
    EXPECT_FALSE(calc->calculate(180, 0));
}

TEST_F(QbCalculatorTest, AvailableOnlyWithTheSettingsRowSwitchedOn) {
    EXPECT_TRUE(quickBolusAvailable(*db));
    storeQbPreference(*db, "H", 180, false);
    EXPECT_FALSE(quickBolusAvailable(*db));
    ASSERT_TRUE(db->exec("delete from QB_PREFERENCE"));
    EXPECT_FALSE(quickBolusAvailable(*db));
}
