#include "bolus/widgets/RivezAdozuDlg.h"
#include "QbSetupFixture.h"
#include "ui/ModalDriver.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// Insulin H for 180 minutes and the usual settings, opened at 12:00 with 1 unit given at
// 10:30 (0.5 active).
class RivezAdozuDlgTest : public QbSetupFixture {
protected:
    void SetUp() override {
        QbSetupFixture::SetUp();
        addMedication("Humalog", "H");
        storeQbPreference(*db, "H", 180, true);
        addUsualSettings();
        addEntry("20070315103000", 150, [](Sample& entry) {
            entry.setInsulinTime("20070315103000");
            entry.setMedicationDosage("1H");
        });
    }
};

} // namespace

TEST_F(RivezAdozuDlgTest, OpensWithTheSettingsInForceAndOkOff) {
    RivezAdozuDlg dialog(*context);
    EXPECT_EQ(dialog.windowTitle(), "Quick Bolus");
    bool cautionShown = false;
    for (auto* label : dialog.findChildren<QLabel*>())
        cautionShown |= label->text() == "RivezAdozu provides an ESTIMATION ONLY.\n If present. "
                                         "Ketones should be added to the overall dosage.";
    EXPECT_TRUE(cautionShown);
    EXPECT_TRUE(dialog.calculateButton()->isDefault());

    QStringList shown;
    for (QLineEdit* field :
         {dialog.glucoseEdit(), dialog.carbsEdit(), dialog.targetField(), dialog.ratioField(),
          dialog.sensitivityField(), dialog.activeInsulinField(), dialog.totalField()})
        shown << field->text();
    EXPECT_EQ(shown, (QStringList{"100", "0", "100", "15", "40", "0.50H", ""}));
    EXPECT_FALSE(dialog.okButton()->isEnabled());
    EXPECT_TRUE(dialog.targetField()->isReadOnly());
}

TEST_F(RivezAdozuDlgTest, CalculateThenOkHandsBackTheSplitEstimate) {
    bool okOffAfterEdit = false;
    bool refusedKeptOkOff = false;
    QString shownTotal;
    whenModalIs<RivezAdozuDlg>([&](RivezAdozuDlg* dialog) {
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
    EXPECT_EQ(resultRow(result), "180|45|450|3.0H|1.50H");
}

TEST_F(RivezAdozuDlgTest, CancelHandsBackNothingEvenAfterACalculation) {
    bool calculated = false;
    whenModalIs<RivezAdozuDlg>([&](RivezAdozuDlg* dialog) {
        dialog->carbsEdit()->setText("30");
        dialog->calculateButton()->click();
        calculated = dialog->okButton()->isEnabled();
        dialog->cancelButton()->click();
    });
    EXPECT_FALSE(runQuickBolus(*context, nullptr));
    EXPECT_TRUE(calculated);
}
