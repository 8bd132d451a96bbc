#include "QbSetupFixture.h"
#include "bolus/widgets/QbPrefGeneral.h"
#include "bolus/widgets/QbPrefItemDlg.h"
#include "bolus/widgets/QbPrefSchedulePage.h"
#include "bolus/widgets/QbPreferenceDlg.h"
#include "support/ScriptedDeleteQuestion.h"
#include "ui/ListTexts.h"
#include "ui/ModalDriver.h"

#include <QComboBox>
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

constexpr const char* kNotSwitchedOn =
    "To enable RivezAdozu you must setup Targets,Ratios, and Sensitivities first.";

class QbSetup : public QbSetupFixture {
protected:
    // An item dialog's OK with the numbers typed and the time picked: the row stored as the
    // page does, or `message` shown and where the focus goes.
    template <class Schedule, class Record>
    std::optional<QbItemFocus> confirm(Record& record, std::vector<QString> numbers,
                                       const char* time, const char* message = nullptr) {
        if (message)
            prompts.expect(kCaption, message);
        auto refused = Schedule::takeEntry(*db, prompts, record, numbers, at(time));
        if (!refused) {
            EXPECT_TRUE(Schedule::store(*db, prompts, record));
        }
        prompts.verify();
        return refused;
    }
    const QString kCaption = QStringLiteral("Quillmarch");
};

} // namespace

TEST_F(QbSetup, TargetChecksRunInOrderAndOnlyAPassingRangeIsStored) {
    QbTarget target;
    const char* noMinimum = "Please Enter a minimum glucose";
    EXPECT_EQ(confirm<Targets>(target, {"0", "150"}, "08:00", noMinimum), QbItemFocus::FirstValue);
    EXPECT_EQ(confirm<Targets>(target, {"", "150"}, "08:00", noMinimum), QbItemFocus::FirstValue);
    EXPECT_EQ(confirm<Targets>(target, {"100", "99"}, "08:00",
                               "Maximum glucose must be greater then minimum glucose"),
              QbItemFocus::SecondValue);
    EXPECT_EQ(QbTargetTable::getCount(*db), 0);
    // Equal ends pass; the derived limits are stored with the row.
    EXPECT_EQ(confirm<Targets>(target, {"100", "100"}, "08:00"), std::nullopt);
    EXPECT_EQ(rows("select PK, SYNC_STATE, TARGET_TIME, GLUCOSE_LO, GLUCOSE_LO_EXT, GLUCOSE_HI, "
                   "GLUCOSE_HI_EXT from QB_TARGET"),
              Rows{"1|10|08:00|100|80|100|120"});
    // The range passes but another live row already starts at 08:00.
    QbTarget second;
    EXPECT_EQ(confirm<Targets>(second, {"90", "140"}, "08:00", "Target time already used"),
              QbItemFocus::Time);
    EXPECT_EQ(QbTargetTable::getCount(*db), 1);
}

TEST_F(QbSetup, RatioTimeMayBeKeptWhenModifiedButNotTakenFromAnotherRow) {
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

TEST_F(QbSetup, SensitivityLeftAtMidnightIsStoredThereAndDeletedRowsFreeTheirTime) {
    QbSensitivity fresh;
    // A new row's empty time shows as midnight, and an untouched picker stores it.
    EXPECT_EQ(formatTimeOfDay(Sensitivities::shownTime(fresh, context->clock()), true), "00:00");
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

TEST_F(QbSetup, AFailedStoreIsReportedUnderDatabase) {
    ASSERT_TRUE(db->exec("drop table QB_RATIO"));
    QbRatio ratio;
    ratio.setRatioTime("07:00");
    prompts.expect("Database");
    EXPECT_FALSE(Ratios::store(*db, prompts, ratio));
}

TEST_F(QbSetup, ApplySwitchesOnOnlyWhenEverySchedulePlaysAndStoresTheAnswerEitherWay) {
    storeQbPreference(*db, "H", 180, true);
    const GlucoseRange own{65, 80, 150, 220};
    EXPECT_EQ(context->preference().getGlucoseRange("08:00"), own);
    QbGeneralSetup general(*context);
    // No ratio: the other tables are not asked, and the calculator goes off.
    takeStatements();
    prompts.expect(kCaption, kNotSwitchedOn);
    EXPECT_FALSE(general.apply());
    std::vector<std::string> asked = takeStatements();
    EXPECT_EQ(asked.front(), "Select count(*) from QB_RATIO");
    for (const std::string& statement : asked)
        EXPECT_EQ(statement.find("count(*) from QB_TARGET"), std::string::npos) << statement;
    EXPECT_EQ(qbPreference(), Rows{"H|180|F"});

    addQbTarget(*db, "07:00", 80, 140);
    addQbRatio(*db, "07:00", 10);
    prompts.expect(kCaption, kNotSwitchedOn);
    EXPECT_FALSE(general.apply());
    EXPECT_EQ(qbPreference(), Rows{"H|180|F"});

    int sensitivity = addQbSensitivity(*db, "07:00", 40, /*fk*/ 5);
    EXPECT_TRUE(general.apply());
    EXPECT_EQ(qbPreference(), Rows{"H|180|T"});
    // A removal alone leaves it on; the next apply still counts the row marked deleted.
    ASSERT_TRUE(Sensitivities::remove(*db, prompts, sensitivity));
    EXPECT_TRUE(general.apply());
    EXPECT_EQ(qbPreference(), Rows{"H|180|T"});

    // The insulin is stored (a new row when there is none) only after the sheet's OK, and
    // the targets the logbook colours by are read again then.
    ASSERT_TRUE(db->exec("delete from QB_PREFERENCE"));
    addMedication("Humalog", "H");
    QbGeneralSetup chosen(*context);
    chosen.choose(0);
    ASSERT_TRUE(chosen.takeMinutes("210"));
    EXPECT_TRUE(chosen.apply());
    EXPECT_EQ(context->preference().getGlucoseRange("08:00"), own);
    EXPECT_TRUE(chosen.storeInsulin());
    EXPECT_EQ(qbPreference(), Rows{"H|210|T"});
    EXPECT_EQ(context->preference().getGlucoseRange("08:00"), (GlucoseRange{64, 80, 140, 168}));
}

TEST_F(QbSetup, MinutesOutsideThirtyToThreeHundredAreReportedAndNotTaken) {
    storeQbPreference(*db, "H", 120, false);
    QbGeneralSetup general(*context);
    for (const char* refused : {"29", "301", "", "0"}) {
        prompts.expect(kCaption, "Please enter an integer between 30 and 300.");
        EXPECT_FALSE(general.takeMinutes(refused)) << refused;
        EXPECT_EQ(general.minutes(), 120);
    }
    for (int taken : {30, 300}) {
        EXPECT_TRUE(general.takeMinutes(QString::number(taken)));
        EXPECT_EQ(general.minutes(), taken);
    }
}

TEST_F(QbSetup, InsulinChoicesAreActiveMedicationsByNameAndOnlyAPickChangesTheCode) {
    addMedication("Novolog", "NV");
    addMedication("Apidra", "A", [](Medication& m) { m.setActiveBol(false); });
    addMedication("Humalog", "H");
    // The stored code, the choices offered, the one shown, and the code after picking each
    // choice in turn (the letter, not the whole stored code) or the first of none.
    auto shown = [&](const char* stored) {
        storeQbPreference(*db, stored, 240, true);
        QbGeneralSetup general(*context);
        QStringList seen;
        for (const auto& choice : general.choices())
            seen << choice.desc + "=" + choice.code;
        seen << QString::number(general.shownChoice()) << general.bolusCode();
        for (int i = 0; i < std::max<int>(1, general.choices().size()); ++i) {
            general.choose(i);
            seen << general.bolusCode();
        }
        return seen.join(' ');
    };
    EXPECT_EQ(shown("NV"), "Humalog=H Novolog=N 1 NV H N");
    EXPECT_EQ(shown("Z"), "Humalog=H Novolog=N 0 Z H N");
    ASSERT_TRUE(db->exec("update MEDICATION set ACTIVE_BOL='F'"));
    EXPECT_EQ(shown("Z"), "-1 Z Z");
}

// The sheet as the patient drives it: rows stored through the real item dialog at once, the
// General page's range check on leaving it, OK refused until every schedule has a row, then
// the insulin stored; Cancel stores no insulin.
TEST_F(QbSetup, TheSheetStoresRowsAtOnceAndTheInsulinOnlyOnAnAcceptedOk) {
    addMedication("Humalog", "H");
    addMedication("Apidra", "A");
    storeQbPreference(*db, "H", 180, false);
    changePreference([](Preference& p) { p.setMilitaryTimeBol(false); });
    context->reload();
    addQbTarget(*db, "07:00", 80, 141);
    addQbRatio(*db, "06:00", 15);
    addQbRatio(*db, "11:30", 12);
    addQbRatio(*db, "13:00", 10);
    ScriptedDeleteQuestion question;
    auto sheet = std::make_unique<QbPreferenceDlg>(*context, question);
    auto list = [&](int page) { return sheet->schedulePage(page)->list(); };
    auto select = [&](int page, int row) {
        list(page)->setCurrentItem(list(page)->topLevelItem(row));
    };
    QbPrefGeneral* general = sheet->generalPage();
    EXPECT_EQ(QStringList({sheet->windowTitle(), general->insulinBox()->currentText(),
                           general->minutesEdit()->text()}),
              QStringList({"Quick Bolus Setup", "Humalog", "180"}));
    EXPECT_EQ(listedTexts(*list(0)), (std::vector<QStringList>{{"7:00 am", "80", "141", "110"}}));

    emit general->insulinBox()->activated(0); // Apidra
    prompts.expect(kCaption, kNotSwitchedOn);
    sheet->okButton()->click();
    EXPECT_EQ(sheet->result(), QDialog::Rejected);
    EXPECT_EQ(qbPreference(), Rows{"H|180|F"});

    // A new sensitivity through the item dialog, in the patient's 12-hour clock; a refused
    // OK keeps it open.
    bool keptOpen = false;
    whenModalIs<QbPrefItemDlg>([&](QbPrefItemDlg* item) {
        EXPECT_EQ(QStringList({item->windowTitle(), item->timePicker()->displayFormat(),
                               item->timePicker()->time().toString()}),
                  QStringList({"RivezAdozu - Sensitivity", "hh:mm AP", "00:00:00"}));
        item->valueEdit(0)->setText("0");
        prompts.expect(kCaption, "Glucose Amount must be greater then 0");
        item->okButton()->click();
        keptOpen = item->isVisible();
        item->valueEdit(0)->setText("50");
        item->timePicker()->setTime(QTime(18, 15));
        item->okButton()->click();
    });
    sheet->schedulePage(2)->newButton()->click();
    EXPECT_TRUE(keptOpen);
    EXPECT_EQ(listedTexts(*list(2)), (std::vector<QStringList>{{"6:15 pm", "50"}}));

    // Modify shows the selected row; Remove asks first.
    whenModalIs<QbPrefItemDlg>([](QbPrefItemDlg* item) {
        EXPECT_EQ(item->valueEdit(0)->text(), "12");
        item->valueEdit(0)->setText("13");
        item->okButton()->click();
    });
    select(1, 1);
    sheet->schedulePage(1)->modifyButton()->click();
    select(1, 0);
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
    EXPECT_EQ(qbPreference(), Rows{"A|300|T"});

    sheet = std::make_unique<QbPreferenceDlg>(*context, question);
    emit sheet->generalPage()->insulinBox()->activated(1);
    sheet->generalPage()->minutesEdit()->setText("200");
    sheet->cancelButton()->click();
    EXPECT_EQ(qbPreference(), Rows{"A|300|T"});
}
