#include "bolus/QbCalculator.h"
#include "bolus/QbSetup.h"
#include "bolus/widgets/QbPrefGeneral.h"
#include "bolus/widgets/QbPrefItemDlg.h"
#include "bolus/widgets/QbPrefSchedulePage.h"
#include "bolus/widgets/QbPreferenceDlg.h"
#include "bolus/widgets/RivezAdozuDlg.h"
#include "support/LogbookTest.h"
#include "support/QbScheduleRows.h"
#include "support/ScriptedDeleteQuestion.h"
#include "support/TestLogbookContext.h"
#include "ui/ListTexts.h"
#include "ui/ModalDriver.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimeEdit>
#include <QTreeWidget>

namespace {

using Targets = QbSchedule<QbTargetKind>;
using Ratios = QbSchedule<QbRatioKind>;
using Sensitivities = QbSchedule<QbSensitivityKind>;
using Rows = std::vector<std::string>;

const QString kCaption = QStringLiteral("Quillmarch");
constexpr const char* kNotSwitchedOn =
    "To enable RivezAdozu you must setup Targets,Ratios, and Sensitivities first.";

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

// The schedules in force all day (a value of -1 stores no row) and the bolus insulin.
struct Settings {
    bool target = true; // 81 to 120: target 100, the midpoint truncated
    int targetLow = 81; // to targetLow + 39; rows stored before their range was checked
    int sensitivity = 40;
    int ratio = 15;
    const char* code = "H";
    bool mmol = false;
};

// Every quick-bolus table, and a logbook context at 15 March 2007, noon.
class QuickBolus : public LogbookTest {
protected:
    void SetUp() override {
        LogbookTest::SetUp();
        ASSERT_TRUE(QbRatioTable::createTable(*db) && QbSensitivityTable::createTable(*db));
        context =
            std::make_unique<TestLogbookContext>(*db, prompts, fromDateTimeText("20070315120000"));
    }
    std::time_t at(const char* hhmm) const { return clockTimeToday(hhmm, context->clock()); }
    Rows qbPreference() { return rows("select MED_CODE, MED_MINUTES, USE_BOL from QB_PREFERENCE"); }

    // Insulin H for 180 minutes, switched on; the opening messages for what is missing expected.
    void store(const Settings& settings) {
        for (const char* table :
             {"QB_TARGET", "QB_SENSITIVITY", "QB_RATIO", "SAMPLE", "MEDICATION"})
            ASSERT_TRUE(db->exec("delete from %s", table));
        addMedication("Humalog", "H");
        const std::pair<bool, const char*> missing[] = {
            {!settings.target ||
                 addQbTarget(*db, "06:00", settings.targetLow, settings.targetLow + 39) < 1,
             "Target"},
            {settings.sensitivity < 0 || addQbSensitivity(*db, "06:00", settings.sensitivity) < 1,
             "Sensitivity"},
            {settings.ratio < 0 || addQbRatio(*db, "06:00", settings.ratio) < 1, "Ratio"}};
        for (auto [absent, name] : missing)
            if (absent)
                prompts.expect(kCaption, QStringLiteral("No %1 found for this time").arg(name));
        storeQbPreference(*db, settings.code, 180, true);
    }
    // A dose logged today at "HHMM": "medication/correction", removed when it starts with '-'.
    void addDose(const char* hhmm, QString doses) {
        Sample entry;
        entry.setSampleTime("20070315" + QString(hhmm) + "00");
        entry.setInsulinTime(entry.getSampleTime());
        const int state = doses.startsWith('-') ? SyncState::Deleted : SyncState::Added;
        const QStringList parts = doses.remove('-').split('/');
        entry.setMedicationDosage(parts[0]);
        entry.setCorrectionDosage(parts.value(1));
        ASSERT_TRUE(SampleTable::save(*db, entry, state));
    }
    std::unique_ptr<QbCalculator> opened() {
        auto calculator = std::make_unique<QbCalculator>(*context);
        calculator->open();
        return calculator;
    }
    // An item dialog's OK: the row stored as the page does, or `message` and the focus.
    template <class Schedule, class Record>
    std::optional<QbItemFocus> confirm(Record& record, std::vector<QString> numbers,
                                       const char* time, const char* message = nullptr) {
        if (message)
            prompts.expect(kCaption, message);
        auto refused =
            Schedule::takeEntry(*db, prompts, record, numbers, at(time), kGlucoseUnitMgDl);
        if (!refused) {
            EXPECT_TRUE(Schedule::store(*db, prompts, record));
        }
        prompts.verify();
        return refused;
    }

    std::unique_ptr<TestLogbookContext> context;
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

TEST_F(QuickBolus, OverlapWarningFollowsTheSchedulesPastMidnight) {
    const QString overlap = QStringLiteral(
        "Your Insulin duration overlaps one or more RivezAdozu settings.\n\nThis is not a "
        "problem but remember to review amounts and adjust if necessary before delivery.  ");
    // Opened at `now`, 4 hours of insulin, a ratio from 20:00 and one more row: a warning?
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

TEST_F(QuickBolus, ActiveInsulinDecaysLinearlyOverTheActiveTimeOfLiveInsulinDoses) {
    store({});
    addMedication("Glucagon", "G", [](Medication& m) { m.setIsInsulinBol(false); });
    addMedication("NPH", "N", [](Medication& m) { m.setIncludeInTotalsBol(false); });
    // One dose at a time, now 12:00 with 180 minutes: what it still adds.
    const std::tuple<const char*, const char*, int> cases[] = {
        {"1159", "2H", 0},         // 1 minute: percent 0
        {"1030", "2H", 100},       // percent 50, used 100
        {"1142", "0.5H", 50},      // used 5, under 9: none
        {"1142", "0.9H", 81},      // used exactly 9 is taken off
        {"1115", "4H", 300},       // a quarter of the time
        {"1030", "2H 4G/2N", 100}, // only the insulin counted in totals
        {"1030", "/1H", 50},       // the correction column counts
        {"0900", "2H", 0},         // all 180 minutes gone
        {"0859", "7H", 0},         // before the active time
        {"1230", "3H", 0},         // dated later than now
        {"1100", "-5H", 0},        // removed
        {"1100", "3", 0},          // no medication code
        {"9900", "2H", 200},       // an unreadable time: all of it
    };
    for (auto [time, doses, active] : cases) {
        ASSERT_TRUE(db->exec("delete from SAMPLE"));
        addDose(time, doses);
        EXPECT_EQ(QbCalculator::activeInsulinAt(*db, context->medicationLookup(),
                                                context->clock().now(), 180),
                  active)
            << time << " " << doses;
    }
}

TEST_F(QuickBolus, CalculatesOrDeclinesAndSplitsTheTotalOnAccept) {
    // A dose at 10:30 is half used, one at 11:58 ('!') not at all. The outcome is "correction|
    // carb dose|adjusted|total -> accepted result", or the message of a refusal.
    const std::string sensitivityMissing = QbCalculator::kSensitivityMissing;
    const Settings nothingSet{.target = false, .sensitivity = -1, .ratio = -1};
    const Settings largest{.sensitivity = 1, .ratio = 1};
    const std::string doseTooLarge =
        QString(QbCalculator::kDoseTooLarge).arg("2502.0H").toStdString();
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
        {0, 45, "", sensitivityMissing, {.sensitivity = 0}},
        {0, 45, "", sensitivityMissing, {.sensitivity = -1}},
        {0, 45, "", QbCalculator::kTargetMissing, nothingSet},
        {180, 0, "", QbCalculator::kNoInsulin, {.code = ""}},
        // Only what a log entry takes, and never a dose it would refuse.
        {99999, 99999, "", "Glucose must be a whole number between 80 and 999 mg/dL."},
        {56, 0, "", "Glucose must be a whole number between 4 and 55 mmol/L.", {.mmol = true}},
        {999, 999, "", "899.0H|999.0H|899.0H|1898.0H -> 999|999|189800|999.0H|899.0H", largest},
        {100, 0, "", doseTooLarge, {.targetLow = -100000}},
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
            addDose(late ? "1158" : "1030", QString(c.dose).remove('!'));
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
            calc->inputsChanged(); // a changed input leaves nothing to accept
            EXPECT_EQ(resultRow(calc->accept()), "none");
            calc->calculate(c.glucose, c.carbs);
        }
        EXPECT_EQ(estimate + " -> " + resultRow(calc->accept()),
                  refused ? "none -> none" : c.outcome);
        prompts.expect(kCaption, "Please enter your current glucose and/or carb intake");
        calc->calculate(0, 0); // nor does a refusal after an estimate
        EXPECT_EQ(resultRow(calc->accept()), "none");
        prompts.verify();
    }
}

TEST_F(QuickBolus, AnAcceptedEstimatePrefillsTheNewEntryAtTheMomentGiven) {
    // Into an entry holding a medication: "time (= insulin time)|glucose|carbs|doses".
    auto filled = [](const QuickBolusResult& result, bool mmol) {
        Sample entry;
        entry.setMedicationDosage("keep");
        fillQuickBolusEntry(result, fromDateTimeText("20070315120500"),
                            mmol ? kGlucoseUnitMmol : kGlucoseUnitMgDl, entry);
        return QStringList({entry.getInsulinTime() == entry.getSampleTime() ? entry.getSampleTime()
                                                                            : "differ",
                            QString::number(entry.getGlucoseCnt()),
                            QString::number(entry.getCarbCnt()), entry.getMedicationDosage(),
                            entry.getCorrectionDosage()})
            .join('|');
    };
    EXPECT_EQ(filled({180, 45, 450, "3.0H", "1.50H"}, false), "20070315120500|180|45|3.0H|1.50H");
    EXPECT_EQ(filled({100, 0, -100, "", ""}, false), "20070315120500|100|0|keep|"); // untouched
    // Whole millimoles from the calculator become the logbook's tenths.
    EXPECT_EQ(filled({7, 45, 450, "3.0H", "1.50H"}, true), "20070315120500|70|45|3.0H|1.50H");
}

TEST_F(QuickBolus, AvailableOnlyWithTheSettingsRowSwitchedOn) {
    store({});
    EXPECT_TRUE(quickBolusAvailable(*db));
    storeQbPreference(*db, "H", 180, false);
    EXPECT_FALSE(quickBolusAvailable(*db));
    ASSERT_TRUE(db->exec("delete from QB_PREFERENCE"));
    EXPECT_FALSE(quickBolusAvailable(*db));
}

// The dialog with 1 unit given at 10:30: OK only for the estimate shown, which it hands back.
TEST_F(QuickBolus, TheDialogHandsBackOnlyAnEstimateItShowed) {
    store({});
    addDose("1030", "1H");
    QStringList seen;
    whenModalIs<RivezAdozuDlg>([&](RivezAdozuDlg* dialog) {
        for (auto* label : dialog->findChildren<QLabel*>())
            if (label->text().startsWith("RivezAdozu provides"))
                seen << dialog->windowTitle() << label->text();
        for (QLineEdit* field :
             {dialog->glucoseEdit(), dialog->carbsEdit(), dialog->targetField(),
              dialog->ratioField(), dialog->sensitivityField(), dialog->activeInsulinField()})
            seen << field->text();
        seen << (dialog->calculateButton()->isDefault() ? "Enter calculates" : "");
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
                                 "100", "0", "100", "15", "40", "0.50H", "Enter calculates", "off",
                                 "off", "on", "3.0H", "2.0H", "1.50H", "4.50H", "off"}));

    // Cancel hands back nothing, even after a calculation.
    whenModalIs<RivezAdozuDlg>([&](RivezAdozuDlg* dialog) {
        dialog->calculateButton()->click();
        dialog->cancelButton()->click();
    });
    EXPECT_EQ(resultRow(runQuickBolus(*context, nullptr)), "none");
}

TEST_F(QuickBolus, TargetChecksRunInOrderAndOnlyAPassingRangeIsStored) {
    QbTarget target;
    const char* noMinimum = "Please Enter a minimum glucose";
    EXPECT_EQ(confirm<Targets>(target, {"0", "150"}, "08:00", noMinimum), QbItemFocus::FirstValue);
    EXPECT_EQ(confirm<Targets>(target, {"", "150"}, "08:00", noMinimum), QbItemFocus::FirstValue);
    EXPECT_EQ(confirm<Targets>(target, {"100", "99"}, "08:00",
                               "Maximum glucose must be greater then minimum glucose"),
              QbItemFocus::SecondValue);
    // Equal ends pass; a range that passes may still find its time taken.
    EXPECT_EQ(confirm<Targets>(target, {"100", "100"}, "08:00"), std::nullopt);
    QbTarget second;
    EXPECT_EQ(confirm<Targets>(second, {"90", "140"}, "08:00", "Target time already used"),
              QbItemFocus::Time);
    EXPECT_EQ(rows("select PK, SYNC_STATE, TARGET_TIME, GLUCOSE_LO, GLUCOSE_LO_EXT, GLUCOSE_HI, "
                   "GLUCOSE_HI_EXT from QB_TARGET"),
              Rows{"1|10|08:00|100|80|100|120"});
}

// Numbers above a field's range are refused with the range, whatever their size; nothing is
// stored.
TEST_F(QuickBolus, ItemNumbersOutsideTheirRangeAreRefusedWithIt) {
    QbTarget target;
    const char* maximum = "The maximum glucose must be a whole number between 1 and 999 mg/dL.";
    EXPECT_EQ(confirm<Targets>(target, {"100", "99999999999"}, "08:00", maximum),
              QbItemFocus::SecondValue);
    QbRatio ratio;
    EXPECT_EQ(confirm<Ratios>(ratio, {"201"}, "08:00",
                              "Carbs per unit must be a whole number between 1 and 200 grams."),
              QbItemFocus::FirstValue);
    EXPECT_EQ(rows("select count(*) from QB_TARGET, QB_RATIO"), Rows{"0"});
    // A target stored before its range was checked derives limits that stay positive.
    addQbTarget(*db, "09:00", 999999999, 999999999);
    EXPECT_EQ(rows("select GLUCOSE_LO_EXT, GLUCOSE_HI_EXT from QB_TARGET"),
              Rows{"799999999|1199999998"});
}

TEST_F(QuickBolus, RatioTimeMayBeKeptWhenModifiedButNotTakenFromAnotherRow) {
    auto row = QbRatioTable::getByPk(*db, addQbRatio(*db, "06:00", 15));
    addQbRatio(*db, "11:30", 12);
    EXPECT_EQ(confirm<Ratios>(*row, {"0"}, "06:00", "A carb count greater then 0 is required"),
              QbItemFocus::Unchanged);
    // This field takes any text: a non-number is refused before the checks run.
    EXPECT_EQ(confirm<Ratios>(*row, {"1O"}, "06:00", "Please enter an integer."),
              QbItemFocus::FirstValue);
    EXPECT_EQ(confirm<Ratios>(*row, {"14"}, "06:00"), std::nullopt);
    EXPECT_EQ(confirm<Ratios>(*row, {"14"}, "11:30", "Ratio time already used"), QbItemFocus::Time);
    EXPECT_EQ(rows("select RATIO_TIME, CARB_CNT, SYNC_STATE from QB_RATIO order by PK"),
              (Rows{"06:00|14|20", "11:30|12|10"}));
}

TEST_F(QuickBolus, SensitivityLeftAtMidnightIsStoredThereAndDeletedRowsFreeTheirTime) {
    QbSensitivity fresh;
    EXPECT_EQ(
        confirm<Sensitivities>(fresh, {"0"}, "00:00", "Glucose Amount must be greater then 0"),
        QbItemFocus::Unchanged);
    EXPECT_EQ(confirm<Sensitivities>(fresh, {"40"}, "00:00"), std::nullopt);

    int known = addQbSensitivity(*db, "22:00", 30, /*fk*/ 7);
    QbSensitivity clash;
    EXPECT_EQ(confirm<Sensitivities>(clash, {"35"}, "22:00", "Sensitivity time already used"),
              QbItemFocus::Unchanged);
    // Removed from the handheld's view only, yet its time is free again at once.
    EXPECT_TRUE(Sensitivities::remove(*db, prompts, known));
    EXPECT_EQ(confirm<Sensitivities>(clash, {"35"}, "22:00"), std::nullopt);
    EXPECT_EQ(rows("select SENS_TIME, GLUCOSE_CNT, SYNC_STATE from QB_SENSITIVITY order by PK"),
              (Rows{"00:00|40|10", "22:00|30|30", "22:00|35|10"}));
}

TEST_F(QuickBolus, AFailedStoreIsReportedUnderDatabase) {
    ASSERT_TRUE(db->exec("drop table QB_RATIO"));
    QbRatio ratio;
    prompts.expect("Database");
    EXPECT_FALSE(Ratios::store(*db, prompts, ratio));
}

TEST_F(QuickBolus, ApplySwitchesOnOnlyWhenEverySchedulePlaysAndStoresTheAnswerEitherWay) {
    addMedication("Humalog", "H");
    storeQbPreference(*db, "H", 180, true);
    const GlucoseRange own{65, 80, 150, 220};
    EXPECT_EQ(context->preference().getGlucoseRange("08:00"), own);
    QbGeneralSetup general(*context);
    // No ratio: off, and the (missing) target table is not asked.
    ASSERT_TRUE(db->exec("drop table QB_TARGET"));
    prompts.expect(kCaption, kNotSwitchedOn);
    EXPECT_FALSE(general.apply());
    EXPECT_EQ(qbPreference(), Rows{"H|180|F"});

    ASSERT_TRUE(QbTargetTable::createTable(*db));
    addQbTarget(*db, "07:00", 80, 140);
    addQbRatio(*db, "07:00", 10);
    prompts.expect(kCaption, kNotSwitchedOn);
    EXPECT_FALSE(general.apply());
    int sensitivity = addQbSensitivity(*db, "07:00", 40, /*fk*/ 5);
    EXPECT_TRUE(general.apply());
    EXPECT_EQ(qbPreference(), Rows{"H|180|T"});
    // A removal alone leaves it on; the next apply still counts the row marked deleted.
    ASSERT_TRUE(Sensitivities::remove(*db, prompts, sensitivity));
    EXPECT_TRUE(general.apply());

    // Only storeInsulin (after OK) stores the insulin and reloads the logbook's targets.
    ASSERT_TRUE(db->exec("delete from QB_PREFERENCE"));
    general.choose(0);
    ASSERT_TRUE(general.takeMinutes("210"));
    EXPECT_TRUE(general.apply());
    EXPECT_EQ(context->preference().getGlucoseRange("08:00"), own);
    EXPECT_TRUE(general.storeInsulin());
    EXPECT_EQ(qbPreference(), Rows{"H|210|T"});
    EXPECT_EQ(context->preference().getGlucoseRange("08:00"), (GlucoseRange{64, 80, 140, 168}));
}

TEST_F(QuickBolus, MinutesOutsideThirtyToThreeHundredAreReportedAndNotTaken) {
    storeQbPreference(*db, "H", 120, false);
    QbGeneralSetup general(*context);
    for (auto [text, kept] :
         {std::pair{"29", 120}, {"301", 120}, {"", 120}, {"0", 120}, {"30", 30}, {"300", 300}}) {
        if (kept == 120)
            prompts.expect(kCaption, "Please enter an integer between 30 and 300.");
        EXPECT_EQ(general.takeMinutes(text), kept != 120) << text;
        EXPECT_EQ(general.minutes(), kept) << text;
    }
}

TEST_F(QuickBolus, InsulinChoicesAreActiveMedicationsByNameAndOnlyAPickChangesTheCode) {
    addMedication("Novolog", "NV");
    addMedication("Apidra", "A", [](Medication& m) { m.setActiveBol(false); });
    addMedication("Humalog", "H");
    // Choices, the one shown and the code: stored, then after picking each (or the first).
    auto shown = [&](const char* stored) {
        storeQbPreference(*db, stored, 240, true);
        QbGeneralSetup general(*context);
        QStringList seen;
        for (const auto& choice : general.choices())
            seen << choice.desc + "=" + choice.code;
        seen << QString::number(general.shownChoice()) << general.bolusCode()
             << (general.shownIsStored() ? "stored" : "unset");
        for (int i = 0; i < std::max<int>(1, general.choices().size()); ++i) {
            general.choose(i);
            seen << general.bolusCode();
        }
        return seen.join(' ');
    };
    EXPECT_EQ(shown("NV"), "Humalog=H Novolog=N 1 NV stored H N");
    EXPECT_EQ(shown("Z"), "Humalog=H Novolog=N 0 Z unset H N");
    ASSERT_TRUE(db->exec("update MEDICATION set ACTIVE_BOL='F'"));
    EXPECT_EQ(shown("Z"), "-1 Z unset Z");
}

TEST_F(QuickBolus, TheSheetStoresRowsAtOnceAndTheInsulinOnlyOnAnAcceptedOk) {
    addMedication("Humalog", "H");
    addMedication("Apidra", "A");
    storeQbPreference(*db, "A", 180, false);
    changePreference([](Preference& p) { p.setMilitaryTimeBol(false); });
    context->reload();
    addQbTarget(*db, "07:00", 80, 141);
    addQbRatio(*db, "06:00", 15);
    addQbRatio(*db, "11:30", 12);
    addQbRatio(*db, "13:00", 10);
    ScriptedDeleteQuestion question;
    auto sheet = std::make_unique<QbPreferenceDlg>(*context, question);
    auto list = [&](int page) { return sheet->schedulePage(page)->list(); };
    QbPrefGeneral* general = sheet->generalPage();
    EXPECT_EQ(QStringList({sheet->windowTitle(), general->insulinBox()->currentText(),
                           general->minutesEdit()->text()}),
              QStringList({"Quick Bolus Setup", "Apidra", "180"}));
    EXPECT_EQ(listedTexts(*list(0)), (std::vector<QStringList>{{"7:00 am", "80", "141", "110"}}));

    emit general->insulinBox()->activated(1); // Humalog
    prompts.expect(kCaption, kNotSwitchedOn);
    sheet->okButton()->click();
    EXPECT_EQ(sheet->result(), QDialog::Rejected);
    EXPECT_EQ(qbPreference(), Rows{"A|180|F"});

    // A new sensitivity through the item dialog, in the patient's 12-hour clock.
    whenModalIs<QbPrefItemDlg>([&](QbPrefItemDlg* item) {
        EXPECT_EQ(QStringList({item->windowTitle(), item->timePicker()->displayFormat(),
                               item->timePicker()->time().toString()}),
                  QStringList({"RivezAdozu - Sensitivity", "hh:mm AP", "00:00:00"}));
        item->valueEdit(0)->setText("0");
        prompts.expect(kCaption, "Glucose Amount must be greater then 0");
        item->okButton()->click();
        EXPECT_TRUE(item->isVisible()); // refused: the dialog stays open
        item->valueEdit(0)->setText("50");
        item->timePicker()->setTime(QTime(18, 15));
        item->okButton()->click();
    });
    sheet->schedulePage(2)->newButton()->click();
    EXPECT_EQ(listedTexts(*list(2)), (std::vector<QStringList>{{"6:15 pm", "50"}}));

    // Modify shows the selected row; Remove asks first.
    whenModalIs<QbPrefItemDlg>([](QbPrefItemDlg* item) {
        EXPECT_EQ(item->valueEdit(0)->text(), "12");
        item->valueEdit(0)->setText("13");
        item->okButton()->click();
    });
    list(1)->setCurrentItem(list(1)->topLevelItem(1));
    sheet->schedulePage(1)->modifyButton()->click();
    list(1)->setCurrentItem(list(1)->topLevelItem(0));
    question.answers = {{false, true}, {true, true}};
    sheet->schedulePage(1)->removeButton()->click();
    sheet->schedulePage(1)->removeButton()->click();
    EXPECT_EQ(question.asked, 2);
    EXPECT_EQ(listedTexts(*list(1)),
              (std::vector<QStringList>{{"11:30 am", "13"}, {"1:00 pm", "10"}}));

    // Leaving General with minutes out of range returns to it.
    auto* tabs = sheet->findChild<QTabWidget*>();
    general->minutesEdit()->setText("29");
    prompts.expect(kCaption, "Please enter an integer between 30 and 300.");
    tabs->setCurrentIndex(2);
    EXPECT_EQ(tabs->currentIndex(), 0);
    general->minutesEdit()->setText("300");
    sheet->okButton()->click();
    EXPECT_EQ(sheet->result(), QDialog::Accepted);
    EXPECT_EQ(qbPreference(), Rows{"H|300|T"});

    sheet = std::make_unique<QbPreferenceDlg>(*context, question);
    emit sheet->generalPage()->insulinBox()->activated(0);
    sheet->generalPage()->minutesEdit()->setText("200");
    sheet->cancelButton()->click();
    EXPECT_EQ(qbPreference(), Rows{"H|300|T"});
}
