#include "bolus/widgets/RivezAdozuDlg.h"
#include "storage/QbRatioTable.h"
#include "storage/QbSensitivityTable.h"
#include "support/LogbookTest.h"
#include "support/TestLogbookContext.h"
#include "ui/ModalDriver.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

// The dialog over a database with insulin H active for 180 minutes, target 80 to 120,
// sensitivity 40 and ratio 15, opened at 12:00 with 1 unit given at 10:30 (0.5 active).
class RivezAdozuDlgTest : public LogbookTest {
protected:
    void SetUp() override {
        LogbookTest::SetUp();
        ASSERT_TRUE(QbRatioTable::createTable(*db));
        ASSERT_TRUE(QbSensitivityTable::createTable(*db));
        Medication humalog;
        humalog.setMedCode("H");
        ASSERT_TRUE(MedicationTable::save(*db, humalog));
        QbPreference settings;
        settings.setPk(QbPreferenceTable::kPk);
        settings.setMedCode("H");
        settings.setMedMinutes(180);
        settings.setUseBol(true);
        ASSERT_TRUE(QbPreferenceTable::save(*db, settings));
        QbTarget target;
        target.setTargetTime("06:00");
        target.setGlucoseLo(80);
        target.setGlucoseHi(120);
        ASSERT_TRUE(QbTargetTable::save(*db, target));
        QbSensitivity sensitivity;
        sensitivity.setSensTime("06:00");
        sensitivity.setGlucoseCnt(40);
        ASSERT_TRUE(QbSensitivityTable::save(*db, sensitivity));
        QbRatio ratio;
        ratio.setRatioTime("06:00");
        ratio.setCarbCnt(15);
        ASSERT_TRUE(QbRatioTable::save(*db, ratio));
        addEntry("20070315103000", 150, [](Sample& entry) {
            entry.setInsulinTime("20070315103000");
            entry.setMedicationDosage("1H");
        });
        context =
            std::make_unique<TestLogbookContext>(*db, prompts, fromDateTimeText("20070315120000"));
    }

    static QString labelFor(QWidget* field) {
        for (auto* label : field->window()->findChildren<QLabel*>())
            if (label->buddy() == field)
                return label->text();
        return {};
    }

    std::unique_ptr<TestLogbookContext> context;
};

} // namespace

TEST_F(RivezAdozuDlgTest, OpensWithTheSettingsInForceAndOkOff) {
    RivezAdozuDlg dialog(*context);
    EXPECT_EQ(dialog.windowTitle(), "Quick Bolus");
    const std::pair<QLineEdit*, const char*> labelled[] = {
        {dialog.glucoseEdit(), "Glucose:"},
        {dialog.carbsEdit(), "Carbohydrates:"},
        {dialog.targetField(), "Target Glucose:"},
        {dialog.ratioField(), "1u Carb Ratio"},
        {dialog.sensitivityField(), "1u Sensitivity"},
        {dialog.carbDoseField(), "Carbohydrate Adjustment:"},
        {dialog.correctionField(), "Glucose Correction:"},
        {dialog.activeInsulinField(), "Active Insulin:"},
        {dialog.adjustedCorrectionField(), "Adjusted Correction:"},
        {dialog.totalField(), "Quick Bolus Amt:"}};
    for (auto [field, label] : labelled)
        EXPECT_EQ(labelFor(field), label);
    QStringList groups;
    for (auto* group : dialog.findChildren<QGroupBox*>())
        groups << group->title();
    EXPECT_EQ(groups, QStringList({"Parameters", "Estimation"}));
    bool cautionShown = false;
    for (auto* label : dialog.findChildren<QLabel*>())
        cautionShown |= label->text() == "RivezAdozu provides an ESTIMATION ONLY.\n If present. "
                                         "Ketones should be added to the overall dosage.";
    EXPECT_TRUE(cautionShown);
    EXPECT_EQ(dialog.calculateButton()->text(), "Calculate");
    EXPECT_TRUE(dialog.calculateButton()->isDefault());

    EXPECT_EQ(dialog.glucoseEdit()->text(), "100");
    EXPECT_EQ(dialog.carbsEdit()->text(), "0");
    EXPECT_EQ(dialog.targetField()->text(), "100");
    EXPECT_EQ(dialog.ratioField()->text(), "15");
    EXPECT_EQ(dialog.sensitivityField()->text(), "40");
    EXPECT_EQ(dialog.activeInsulinField()->text(), "0.50H");
    EXPECT_EQ(dialog.totalField()->text(), "");
    EXPECT_FALSE(dialog.okButton()->isEnabled());
    EXPECT_TRUE(dialog.targetField()->isReadOnly());
}

TEST_F(RivezAdozuDlgTest, CalculateThenOkHandsBackTheSplitEstimate) {
    bool okOffAfterEdit = false;
    bool refusedKeptOkOff = false;
    QString shownTotal;
    whenModal([&](QWidget* shown) {
        auto* dialog = qobject_cast<RivezAdozuDlg*>(shown);
        ASSERT_TRUE(dialog);
        dialog->glucoseEdit()->setText("70");
        dialog->calculateButton()->click();
        refusedKeptOkOff = !dialog->okButton()->isEnabled();
        dialog->glucoseEdit()->setText("180");
        dialog->carbsEdit()->setText("45");
        dialog->calculateButton()->click();
        shownTotal = dialog->totalField()->text();
        dialog->carbsEdit()->setText("50");
        okOffAfterEdit = !dialog->okButton()->isEnabled();
        dialog->okButton()->click(); // disabled: nothing happens
        dialog->carbsEdit()->setText("45");
        dialog->calculateButton()->click();
        dialog->okButton()->click();
    });
    prompts.expect("Quillmarch", "Your glucose must be 80 or higher to us RivezAdozu");
    auto result = runQuickBolus(*context, nullptr);
    EXPECT_TRUE(refusedKeptOkOff);
    EXPECT_EQ(shownTotal, "4.50H");
    EXPECT_TRUE(okOffAfterEdit);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->glucose, 180);
    EXPECT_EQ(result->carbs, 45);
    EXPECT_EQ(result->total, 450);
    EXPECT_EQ(result->medicationDosage, "3.0H");
    EXPECT_EQ(result->correctionDosage, "1.50H");
}

TEST_F(RivezAdozuDlgTest, CancelHandsBackNothingEvenAfterACalculation) {
    bool calculated = false;
    whenModal([&](QWidget* shown) {
        auto* dialog = qobject_cast<RivezAdozuDlg*>(shown);
        ASSERT_TRUE(dialog);
        dialog->carbsEdit()->setText("30");
        dialog->calculateButton()->click();
        calculated = dialog->okButton()->isEnabled();
        dialog->cancelButton()->click();
    });
    EXPECT_FALSE(runQuickBolus(*context, nullptr));
    EXPECT_TRUE(calculated);
}
