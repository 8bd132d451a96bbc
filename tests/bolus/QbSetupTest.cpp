#include "QbSetupFixture.h"

namespace {

using Targets = QbSchedule<QbTargetKind>;
using Ratios = QbSchedule<QbRatioKind>;
using Sensitivities = QbSchedule<QbSensitivityKind>;

constexpr const char* kCaption = "Quillmarch";
constexpr const char* kNotSwitchedOn =
    "To enable RivezAdozu you must setup Targets,Ratios, and Sensitivities first.";

class QbSetup : public QbSetupFixture {
protected:
    // Runs an item dialog's OK on the record and, when it passes, stores it as the page does.
    template <class Schedule, class Record>
    std::optional<QbItemFocus> confirm(Record& record, std::vector<QString> numbers,
                                       const char* time) {
        auto refused = Schedule::takeEntry(*db, prompts, record, numbers, at(time));
        if (!refused) {
            EXPECT_TRUE(Schedule::store(*db, prompts, record));
        }
        return refused;
    }
};

} // namespace

TEST_F(QbSetup, TargetChecksRunInOrderAndOnlyAPassingRangeIsStored) {
    QbTarget target;
    prompts.expect(kCaption, "Please Enter a minimum glucose");
    EXPECT_EQ(confirm<Targets>(target, {"0", "150"}, "08:00"), QbItemFocus::FirstValue);
    // An empty minimum reads as 0 and is refused the same way.
    prompts.expect(kCaption, "Please Enter a minimum glucose");
    EXPECT_EQ(confirm<Targets>(target, {"", "150"}, "08:00"), QbItemFocus::FirstValue);
    prompts.expect(kCaption, "Maximum glucose must be greater then minimum glucose");
    EXPECT_EQ(confirm<Targets>(target, {"100", "99"}, "08:00"), QbItemFocus::SecondValue);
    EXPECT_EQ(QbTargetTable::getCount(*db), 0);

    // Equal ends pass; the derived limits are stored with the row.
    takeStatements();
    EXPECT_EQ(confirm<Targets>(target, {"100", "100"}, "08:00"), std::nullopt);
    EXPECT_EQ(rows("select PK, SYNC_STATE, TARGET_TIME, GLUCOSE_LO, GLUCOSE_LO_EXT, GLUCOSE_HI, "
                   "GLUCOSE_HI_EXT from QB_TARGET"),
              std::vector<std::string>{"1|10|08:00|100|80|100|120"});
    EXPECT_EQ(Targets::cells(target, context->clock(), true),
              (QStringList{"08:00", "100", "100", "100"}));

    // The range passes but another live row already starts at 08:00.
    QbTarget second;
    prompts.expect(kCaption, "Target time already used");
    EXPECT_EQ(confirm<Targets>(second, {"90", "140"}, "08:00"), QbItemFocus::Time);
    EXPECT_EQ(QbTargetTable::getCount(*db), 1);
}

TEST_F(QbSetup, RatioTimeMayBeKeptWhenModifiedButNotTakenFromAnotherRow) {
    int morning = addQbRatio(*db, "06:00", 15);
    addQbRatio(*db, "11:30", 12);
    auto row = QbRatioTable::getByPk(*db, morning);
    ASSERT_TRUE(row);

    prompts.expect(kCaption, "A carb count greater then 0 is required");
    EXPECT_EQ(confirm<Ratios>(*row, {"0"}, "06:00"), QbItemFocus::Unchanged);
    // This field takes any text: a non-number is refused before the checks run.
    prompts.expect(kCaption, "Please enter an integer.");
    EXPECT_EQ(confirm<Ratios>(*row, {"1O"}, "06:00"), QbItemFocus::FirstValue);

    takeStatements();
    EXPECT_EQ(confirm<Ratios>(*row, {"14"}, "06:00"), std::nullopt);
    EXPECT_EQ(
        takeStatements().back(),
        "Update QB_RATIO set FK=0, SYNC_STATE=20, RATIO_TIME='06:00', CARB_CNT=14 where pk=1");

    prompts.expect(kCaption, "Ratio time already used");
    EXPECT_EQ(confirm<Ratios>(*row, {"14"}, "11:30"), QbItemFocus::Time);
    EXPECT_EQ(rows("select RATIO_TIME, CARB_CNT from QB_RATIO order by PK"),
              (std::vector<std::string>{"06:00|14", "11:30|12"}));
}

TEST_F(QbSetup, SensitivityLeftAtMidnightIsStoredThereAndDeletedRowsFreeTheirTime) {
    QbSensitivity fresh;
    // A new row's empty time shows as midnight, and an untouched picker stores it.
    EXPECT_EQ(formatTimeOfDay(Sensitivities::shownTime(fresh, context->clock()), true), "00:00");
    prompts.expect(kCaption, "Glucose Amount must be greater then 0");
    EXPECT_EQ(confirm<Sensitivities>(fresh, {"0"}, "00:00"), QbItemFocus::Unchanged);
    EXPECT_EQ(confirm<Sensitivities>(fresh, {"40"}, "00:00"), std::nullopt);
    EXPECT_EQ(rows("select SENS_TIME, GLUCOSE_CNT from QB_SENSITIVITY"),
              std::vector<std::string>{"00:00|40"});

    int known = addQbSensitivity(*db, "22:00", 30, /*fk*/ 7);
    QbSensitivity clash;
    prompts.expect(kCaption, "Sensitivity time already used");
    EXPECT_EQ(confirm<Sensitivities>(clash, {"35"}, "22:00"), QbItemFocus::Unchanged);
    // Removed from the handheld's view only, yet its time is free again at once.
    EXPECT_TRUE(Sensitivities::remove(*db, prompts, known));
    EXPECT_EQ(confirm<Sensitivities>(clash, {"35"}, "22:00"), std::nullopt);
    EXPECT_EQ(rows("select SENS_TIME, GLUCOSE_CNT, SYNC_STATE from QB_SENSITIVITY order by PK"),
              (std::vector<std::string>{"00:00|40|10", "22:00|30|30", "22:00|35|10"}));
}

TEST_F(QbSetup, ListsLiveRowsByTimeInThePatientsClockWithTheTruncatedMidpoint) {
    addQbTarget(*db, "18:00", 90, 181);
    addQbTarget(*db, "06:30", 75, 150);
    int gone = addQbTarget(*db, "12:00", 80, 160, /*fk*/ 3);
    ASSERT_TRUE(Targets::remove(*db, prompts, gone));

    std::vector<QStringList> listed;
    for (const auto& row : Targets::rows(*db))
        listed.push_back(Targets::cells(*row, context->clock(), false));
    EXPECT_EQ(listed, (std::vector<QStringList>{{"6:30 am", "75", "150", "112"},
                                                {"6:00 pm", "90", "181", "135"}}));
}

TEST_F(QbSetup, AFailedStoreIsReportedUnderDatabase) {
    ASSERT_TRUE(db->exec("drop table QB_RATIO"));
    QbRatio ratio;
    ratio.setRatioTime("07:00");
    ratio.setCarbCnt(10);
    prompts.expect("Database");
    EXPECT_FALSE(Ratios::store(*db, prompts, ratio));
}

TEST_F(QbSetup, ApplySwitchesOnOnlyWhenEverySchedulePlaysAndStoresTheAnswerEitherWay) {
    storeQbPreference(*db, "H", 180, true);
    QbGeneralSetup general(*context);

    // No ratio: the other tables are not asked, and the calculator goes off.
    takeStatements();
    prompts.expect(kCaption, kNotSwitchedOn);
    EXPECT_FALSE(general.apply());
    std::vector<std::string> asked = takeStatements();
    EXPECT_EQ(asked.front(), "Select count(*) from QB_RATIO");
    for (const std::string& statement : asked)
        EXPECT_EQ(statement.find("count(*) from QB_TARGET"), std::string::npos) << statement;
    EXPECT_EQ(qbPreference(), std::vector<std::string>{"H|180|F"});

    addQbTarget(*db, "07:00", 80, 140);
    addQbRatio(*db, "07:00", 10);
    prompts.expect(kCaption, kNotSwitchedOn);
    EXPECT_FALSE(general.apply());
    EXPECT_EQ(qbPreference(), std::vector<std::string>{"H|180|F"});

    int sensitivity = addQbSensitivity(*db, "07:00", 40, /*fk*/ 5);
    EXPECT_TRUE(general.apply());
    EXPECT_EQ(qbPreference(), std::vector<std::string>{"H|180|T"});

    // A removal alone leaves it on; the next apply still counts the row marked deleted.
    ASSERT_TRUE(Sensitivities::remove(*db, prompts, sensitivity));
    EXPECT_EQ(qbPreference(), std::vector<std::string>{"H|180|T"});
    EXPECT_TRUE(general.apply());
    EXPECT_EQ(qbPreference(), std::vector<std::string>{"H|180|T"});
}

TEST_F(QbSetup, MinutesOutsideThirtyToThreeHundredAreReportedAndNotTaken) {
    storeQbPreference(*db, "H", 120, false);
    QbGeneralSetup general(*context);
    for (const char* refused : {"29", "301", "", "0"}) {
        prompts.expect(kCaption, "Please enter an integer between 30 and 300.");
        EXPECT_FALSE(general.takeMinutes(refused)) << refused;
        EXPECT_EQ(general.minutes(), 120);
    }
    EXPECT_TRUE(general.takeMinutes("30"));
    EXPECT_EQ(general.minutes(), 30);
    EXPECT_TRUE(general.takeMinutes("300"));
    EXPECT_EQ(general.minutes(), 300);
}

TEST_F(QbSetup, InsulinChoicesAreActiveMedicationsByNameAndOnlyAPickChangesTheCode) {
    addMedication("Novolog", "NV");
    addMedication("Apidra", "A", [](Medication& m) { m.setActiveBol(false); });
    addMedication("Humalog", "H");
    storeQbPreference(*db, "NV", 240, true);
    {
        QbGeneralSetup general(*context);
        QStringList choices;
        for (const auto& choice : general.choices())
            choices << choice.desc + "=" + choice.code;
        EXPECT_EQ(choices, (QStringList{"Humalog=H", "Novolog=N"}));
        EXPECT_EQ(general.shownChoice(), 1);
        general.choose(0);
        EXPECT_EQ(general.bolusCode(), "H");
        general.choose(1);
        EXPECT_EQ(general.bolusCode(), "N"); // the letter, not the whole stored code
    }
    storeQbPreference(*db, "Z", 240, true);
    QbGeneralSetup unmatched(*context);
    EXPECT_EQ(unmatched.shownChoice(), 0);
    EXPECT_EQ(unmatched.bolusCode(), "Z");

    ASSERT_TRUE(db->exec("update MEDICATION set ACTIVE_BOL='F'"));
    QbGeneralSetup none(*context);
    EXPECT_TRUE(none.choices().empty());
    EXPECT_EQ(none.shownChoice(), -1);
    none.choose(0);
    EXPECT_EQ(none.bolusCode(), "Z");
}

TEST_F(QbSetup, StoringTheInsulinKeepsTheSwitchAndReloadsTheTargetsTheLogbookColoursBy) {
    Preference& preference = context->preference();
    const GlucoseRange own = preference.getGlucoseRange("08:00");
    EXPECT_EQ(own, (GlucoseRange{65, 80, 150, 220}));

    // No QB_PREFERENCE row yet: a new one is written.
    addMedication("Humalog", "H");
    QbGeneralSetup general(*context);
    general.choose(0);
    ASSERT_TRUE(general.takeMinutes("210"));
    addQbTarget(*db, "06:00", 70, 180);
    addQbRatio(*db, "06:00", 12);
    addQbSensitivity(*db, "06:00", 45);
    EXPECT_TRUE(general.apply());
    EXPECT_EQ(preference.getGlucoseRange("08:00"), own); // not before OK
    EXPECT_TRUE(general.storeInsulin());
    EXPECT_EQ(qbPreference(), std::vector<std::string>{"H|210|T"});
    EXPECT_EQ(preference.getGlucoseRange("08:00"), (GlucoseRange{56, 70, 180, 216}));
}
