#include "QbSetupFixture.h"
#include "bolus/widgets/RivezAdozuDlg.h"
#include "ui/ModalDriver.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// An accepted estimate as "glucose|carbs|total|medication|correction", or "none".
std::string resultRow(const std::optional<QuickBolusResult>& r) {
    return r ? QStringLiteral("%1|%2|%3|%4|%5")
                   .arg(r->glucose)
                   .arg(r->carbs)
                   .arg(r->total)
                   .arg(r->medicationDosage, r->correctionDosage)
                   .toStdString()
             : "none";
}

const QString kCaption = QStringLiteral("Quillmarch");

// The schedules in force all day (a value of -1 stores no row) and the bolus insulin.
struct Settings {
    bool target = true; // 80 to 120: target 100
    int sensitivity = 40;
    int ratio = 15;
    const char* code = "H";
    bool mmol = false;
};

// Insulin H for 180 minutes, switched on; opened at 12:00 unless a test moves the clock.
class QbCalculatorTest : public QbSetupFixture {
protected:
    void SetUp() override {
        QbSetupFixture::SetUp();
        addMedication("Humalog", "H");
        storeQbPreference(*db, "H", 180, true);
    }
    // Stores the settings; the messages opening shows for those missing are expected.
    void store(const Settings& settings) {
        for (const char* table : {"QB_TARGET", "QB_SENSITIVITY", "QB_RATIO", "SAMPLE"})
            ASSERT_TRUE(db->exec("delete from %s", table));
        const std::pair<bool, const char*> missing[] = {
            {!settings.target || addQbTarget(*db, "06:00", 80, 120) < 1, "Target"},
            {settings.sensitivity < 0 || addQbSensitivity(*db, "06:00", settings.sensitivity) < 1,
             "Sensitivity"},
            {settings.ratio < 0 || addQbRatio(*db, "06:00", settings.ratio) < 1, "Ratio"}};
        for (auto [absent, name] : missing)
            if (absent)
                prompts.expect(kCaption, QStringLiteral("No %1 found for this time").arg(name));
        storeQbPreference(*db, settings.code, 180, true);
    }
    void addDose(const char* stamp, const QString& dosage, const QString& correction = {},
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
    // The target is (81 + 120) / 2 truncated, and the glucose starts there.
    EXPECT_EQ(QStringList({calc->bolusCode(), calc->nowText(), calc->activeInsulinText(),
                           calc->totalText()}),
              QStringList({"H", "12:00", "0.0H", ""}));
    EXPECT_EQ(
        std::vector<int>({calc->insulinMinutes(), calc->targetKey(), calc->target(),
                          calc->glucose(), calc->carbs(), calc->sensitivityKey(),
                          calc->sensitivity(), calc->ratioKey(), calc->ratio(), calc->canAccept()}),
        std::vector<int>({30, target, 100, 100, 0, sensitivity, 45, ratio, 12, false}));
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
    // One dose at a time ("medication/correction"; a leading '-' marks it removed), now
    // 12:00 with 180 minutes: what it still adds.
    const std::tuple<const char*, const char*, int> cases[] = {
        {"20070315115900", "2H", 0},         // 1 minute: percent 0
        {"20070315103000", "2H", 100},       // percent 50, used 100
        {"20070315114200", "0.5H", 50},      // used 5, under 9: none
        {"20070315114200", "0.9H", 81},      // used exactly 9 is taken off
        {"20070315111500", "4H", 300},       // a quarter of the time
        {"20070315103000", "2H 4G/2N", 100}, // only the insulin counted in totals
        {"20070315103000", "/1H", 50},       // the correction column counts
        {"20070315090000", "2H", 0},         // all 180 minutes gone
        {"20070315085900", "7H", 0},         // before the active time
        {"20070315123000", "3H", 0},         // dated later than now
        {"20070315110000", "-5H", 0},        // removed
        {"20070315110000", "3", 0},          // no medication code
        {"20070315990000", "2H", 200},       // an unreadable time: all of it
    };
    for (auto [stamp, doses, active] : cases) {
        ASSERT_TRUE(db->exec("delete from SAMPLE"));
        const QStringList parts = QString(doses).remove('-').split('/');
        addDose(stamp, parts[0], parts.value(1),
                doses[0] == '-' ? SyncState::Deleted : SyncState::Added);
        EXPECT_EQ(QbCalculator::activeInsulinAt(*db, context->medicationLookup(),
                                                context->clock().now(), 180),
                  active)
            << stamp << " " << doses;
    }
}

TEST_F(QbCalculatorTest, CalculatesOrDeclinesAndSplitsTheTotalOnAccept) {
    // Target 100, sensitivity 40, ratio 15 unless the settings say otherwise; `dose` is given
    // at 10:30 (half used), or at 11:58 when it starts with '!' (all still active). The
    // outcome: "correction|carb dose|adjusted|total -> accepted result" (see resultRow), or
    // the message of a refusal.
    const std::string sensitivityMissing = QbCalculator::kSensitivityMissing;
    const Settings nothingSet{.target = false, .sensitivity = -1, .ratio = -1};
    struct Case {
        int glucose;
        int carbs;
        const char* dose;
        std::string outcome;
        Settings settings = {};
    } cases[] = {
        // 180 and 45 with 0.5 active: 2.0 correction, 3.0 for the carbohydrates.
        {180, 45, "1H", "2.0H|3.0H|1.50H|4.50H -> 180|45|450|3.0H|1.50H"},
        {100, 50, "", "0.0H|3.30H|0.0H|3.30H -> 100|50|330|3.30H|"}, // 333 rounds to 330
        {181, 0, "", "2.02H|0.00|2.0H|2.0H -> 181|0|200||2.0H"},     // 202.5 truncated
        {85, 1, "", "-0.37H|0.10H|-0.40H|-0.30H -> 85|1|-30||"},     // nothing to give
        // The carbohydrate part bears a negative correction.
        {180, 60, "!3H", "2.0H|4.0H|-1.0H|3.0H -> 180|60|300|3.0H|"},
        {100, 0, "2H", "0.0H|0.00|-1.0H|-1.0H -> 100|0|-100||"},
        {80, 0, "", "-0.50H|0.00|-0.50H|-0.50H -> 80|0|-50||"},
        // Carbohydrates without a reading: no correction, the active insulin still counts.
        {0, 45, "", "0.0H|3.0H|0.0H|3.0H -> 0|45|300|3.0H|"},
        {0, 45, "1H", "0.0H|3.0H|-0.50H|2.50H -> 0|45|250|2.50H|"},
        {0, 45, "!3H", "0.0H|3.0H|-3.0H|0.0H -> 0|45|0||"},
        {0, 0, "", "Please enter your current glucose and/or carb intake"},
        {79, 30, "", "Your glucose must be 80 or higher to us RivezAdozu"},
        {3, 0, "", "Your glucose must be 4 or higher to us RivezAdozu", {.mmol = true}},
        {4, 0, "", "-2.40H|0.00|-2.40H|-2.40H -> 4|0|-240||", {.mmol = true}},
        // Without carbohydrates the ratio is not needed.
        {150, 0, "", "1.25H|0.00|1.30H|1.30H -> 150|0|130||1.30H", {.ratio = 0}},
        {150, 30, "", QbCalculator::kRatioMissing, {.ratio = 0}},
        {150, 0, "", sensitivityMissing, {.sensitivity = 0}},
        {0, 45, "", sensitivityMissing, {.sensitivity = 0}},
        {0, 45, "", sensitivityMissing, {.sensitivity = -1}},
        {0, 45, "", QbCalculator::kTargetMissing, nothingSet},
        {180, 0, "", QbCalculator::kNoInsulin, {.code = ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.glucose << "/" << c.carbs << " " << c.dose);
        changePreference([&](Preference& p) {
            p.setGlucoseSampleCode(c.settings.mmol ? kGlucoseUnitMmol : kGlucoseUnitMgDl);
        });
        context->reload();
        store(c.settings);
        const bool late = c.dose[0] == '!';
        if (*c.dose)
            addDose(late ? "20070315115800" : "20070315103000", QString(c.dose).remove('!'));
        auto calc = opened();
        const bool refused = c.outcome.find(" -> ") == std::string::npos;
        if (refused)
            prompts.expect(kCaption, QString::fromStdString(c.outcome));
        std::string estimate = "none";
        if (calc->calculate(c.glucose, c.carbs)) {
            estimate = QStringList({calc->correctionText(), calc->carbDoseText(),
                                    calc->adjustedCorrectionText(), calc->totalText()})
                           .join('|')
                           .toStdString();
            // A changed input leaves nothing to accept until the next calculation.
            calc->inputsChanged();
            EXPECT_EQ(resultRow(calc->accept()), "none");
            calc->calculate(c.glucose, c.carbs);
        }
        EXPECT_EQ(estimate + " -> " + resultRow(calc->accept()),
                  refused ? "none -> none" : c.outcome);
        prompts.verify();
    }
}

TEST_F(QbCalculatorTest, AnAcceptedEstimatePrefillsTheNewEntryAtTheMomentGiven) {
    // Into an entry already holding a medication text: the entry as "time|insulin
    // time|glucose|carbs|medication|correction".
    auto filled = [](const QuickBolusResult& result, int unit) {
        Sample entry;
        entry.setMedicationDosage("keep");
        fillQuickBolusEntry(result, fromDateTimeText("20070315120500"), unit, entry);
        return QStringList({entry.getSampleTime(), entry.getInsulinTime(),
                            QString::number(entry.getGlucoseCnt()),
                            QString::number(entry.getCarbCnt()), entry.getMedicationDosage(),
                            entry.getCorrectionDosage()})
            .join('|');
    };
    EXPECT_EQ(filled({180, 45, 450, "3.0H", "1.50H"}, kGlucoseUnitMgDl),
              "20070315120500|20070315120500|180|45|3.0H|1.50H");
    // Nothing to give: the dose texts are left alone.
    EXPECT_EQ(filled({100, 0, -100, "", ""}, kGlucoseUnitMgDl),
              "20070315120500|20070315120500|100|0|keep|");
    // Whole millimoles from the calculator become the logbook's tenths.
    EXPECT_EQ(filled({7, 45, 450, "3.0H", "1.50H"}, kGlucoseUnitMmol),
              "20070315120500|20070315120500|70|45|3.0H|1.50H");
}

TEST_F(QbCalculatorTest, AvailableOnlyWithTheSettingsRowSwitchedOn) {
    EXPECT_TRUE(quickBolusAvailable(*db));
    storeQbPreference(*db, "H", 180, false);
    EXPECT_FALSE(quickBolusAvailable(*db));
    ASSERT_TRUE(db->exec("delete from QB_PREFERENCE"));
    EXPECT_FALSE(quickBolusAvailable(*db));
}

// The dialog as the patient drives it, with the usual settings and 1 unit given at 10:30
// (0.5 active): OK is on only for the estimate shown, and hands back its split.
TEST_F(QbCalculatorTest, TheDialogHandsBackOnlyAnEstimateItShowed) {
    store({});
    addDose("20070315103000", "1H");
    QStringList seen;
    whenModalIs<RivezAdozuDlg>([&](RivezAdozuDlg* dialog) {
        for (auto* label : dialog->findChildren<QLabel*>())
            if (label->text().startsWith("RivezAdozu provides"))
                seen << dialog->windowTitle() << label->text();
        for (QLineEdit* field :
             {dialog->glucoseEdit(), dialog->carbsEdit(), dialog->targetField(),
              dialog->ratioField(), dialog->sensitivityField(), dialog->activeInsulinField()})
            seen << field->text();
        if (dialog->calculateButton()->isDefault()) // Enter calculates; OK takes a press
            seen << "Calculate";
        auto ok = [&] { seen << (dialog->okButton()->isEnabled() ? "on" : "off"); };
        ok();
        dialog->glucoseEdit()->setText("70");
        dialog->calculateButton()->click(); // refused
        ok();
        dialog->glucoseEdit()->setText("180");
        dialog->carbsEdit()->setText("45");
        dialog->calculateButton()->click();
        ok();
        seen << dialog->carbDoseField()->text() << dialog->correctionField()->text()
             << dialog->adjustedCorrectionField()->text() << dialog->totalField()->text();
        dialog->carbsEdit()->setText("50");
        ok();
        dialog->okButton()->click(); // disabled: nothing happens
        dialog->carbsEdit()->setText("45");
        dialog->calculateButton()->click();
        dialog->okButton()->click();
    });
    prompts.expect("Quillmarch", "Your glucose must be 80 or higher to us RivezAdozu");
    EXPECT_EQ(resultRow(runQuickBolus(*context, nullptr)), "180|45|450|3.0H|1.50H");
    EXPECT_EQ(seen, (QStringList{"Quick Bolus",
                                 "RivezAdozu provides an ESTIMATION ONLY.\n If present. Ketones "
                                 "should be added to the overall dosage.",
                                 "100", "0", "100", "15", "40", "0.50H", "Calculate", "off", "off",
                                 "on", "3.0H", "2.0H", "1.50H", "4.50H", "off"}));

    // Cancel hands back nothing, even after a calculation.
    whenModalIs<RivezAdozuDlg>([&](RivezAdozuDlg* dialog) {
        dialog->calculateButton()->click();
        dialog->cancelButton()->click();
    });
    EXPECT_EQ(resultRow(runQuickBolus(*context, nullptr)), "none");
}
