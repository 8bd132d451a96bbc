#include "handheld/PalmSetupForm.h"
#include "HandheldTest.h"

#include <QDir>

namespace {

using Outcome = PalmSetupForm::Outcome;

class PalmSetupFormTest : public HandheldTest {
protected:
    void SetUp() override {
        HandheldTest::SetUp();
        pairing("Bob", "21", "Bob Palm");
        ASSERT_TRUE(support.loadHotSync());
        api.calls.clear();
    }
    // Which of the list, OK and Refresh are enabled, as three letters.
    static std::string enabled(const PalmSetupForm& form) {
        return std::string(form.listEnabled() ? "L" : "-") + (form.okEnabled() ? "O" : "-") +
               (form.refreshEnabled() ? "R" : "-");
    }
    PalmSetupForm form{support, settings, prompts, "Jo"};
};

TEST_F(PalmSetupFormTest, APairedPatientStartsCheckedOnItsOwnUserWithNothingToChange) {
    pairing("Jo", "33", "Spare Palm");
    ASSERT_TRUE(form.open());
    EXPECT_EQ(form.pairedId(), 33u);
    EXPECT_EQ(form.pairedName(), "Spare Palm");
    ASSERT_EQ(form.handheldUsers().size(), 2u); // Bob's user is not offered
    EXPECT_EQ(form.selected(), 1);

    // Each step: the row chosen and the box, then what is enabled.
    const struct {
        int row;
        bool checked;
        const char* enabled;
    } steps[] = {
        {1, true, "L-R"}, {0, true, "LO-"}, {1, true, "L-R"}, {1, false, "-O-"}, {-1, true, "LO-"}};
    for (const auto& step : steps) {
        form.select(step.row);
        form.setChecked(step.checked);
        EXPECT_EQ(enabled(form), step.enabled) << step.row << step.checked;
    }
}

TEST_F(PalmSetupFormTest, AnUnpairedPatientMustChooseAUser) {
    ASSERT_TRUE(form.open());
    api.calls.clear();
    EXPECT_FALSE(form.isPaired());
    EXPECT_EQ(form.selected(), -1);
    EXPECT_EQ(enabled(form), "-O-");
    form.setChecked(true);
    EXPECT_EQ(enabled(form), "LO-");
    prompts.expect("Quillmarch", "Please Select and Palm User");
    EXPECT_EQ(form.ok(), Outcome::Stay);
    EXPECT_TRUE(api.calls.isEmpty());
    // Leaving the box unchecked on an unpaired patient changes nothing.
    form.setChecked(false);
    EXPECT_EQ(form.ok(), Outcome::Close);
    EXPECT_TRUE(api.calls.isEmpty());
}

TEST_F(PalmSetupFormTest, ChoosingAnotherUserUnpairsTheOldOneFirst) {
    pairing("Jo", "17", "Ann Palm");
    ASSERT_TRUE(form.open());
    api.calls.clear();
    form.select(1);
    prompts.expect("Quillmarch", PalmSetupForm::kSyncReminder);
    EXPECT_EQ(form.ok(), Outcome::Close);
    expectTranscript("form_change_user");
}

TEST_F(PalmSetupFormTest, UncheckingUnpairsAndRefreshPairsAgain) {
    pairing("Jo", "17", "Ann Palm");
    ASSERT_TRUE(form.open());
    prompts.expect("Quillmarch", PalmSetupForm::kSyncReminder);
    EXPECT_EQ(form.refresh(), Outcome::Close);
    EXPECT_TRUE(api.calls.contains("UmGetUserName(17) -> 8"));

    api.calls.clear();
    form.setChecked(false);
    EXPECT_EQ(form.ok(), Outcome::Close);
    EXPECT_EQ(api.calls, (QStringList{"UmGetUserName(17) -> 8",
                                      "PltRemoveInstallFile(Ann Palm, Quillmarch.prc) -> 0"}));
    EXPECT_EQ(settings.getUserString("Jo", "PalmUserNameId"), "");
}

TEST_F(PalmSetupFormTest, AFailedPairingSaysSoAndStaysOnWhatWasWritten) {
    form.open();
    form.setChecked(true);
    form.select(0);
    api.script("CmInstallCreator", {-9});
    prompts.expect("Quillmarch", "PalmSupport::registerConduit:CmInstallCreator Failed:-9");
    prompts.expect("Quillmarch", "Palm setup failed");
    EXPECT_EQ(form.ok(), Outcome::Stay);
    EXPECT_EQ(form.pairedId(), 17u);
    EXPECT_EQ(enabled(form), "L-R");

    api.script("CmSetCreatorTitle", {-2});
    prompts.expect("Quillmarch", "PalmSupport::registerConduit:CmSetCreatorTitle Failed:-2");
    prompts.expect("Quillmarch", "Palm setup failed");
    EXPECT_EQ(form.refresh(), Outcome::Stay);
}

TEST_F(PalmSetupFormTest, WithEveryHandheldUserTakenTheDialogDoesNotOpen) {
    pairing("Ann", "17", "Ann Palm");
    pairing("Cy", "33", "Spare Palm");
    prompts.expect("Quillmarch", "All Palm users are already setup.\nIf you are setting up a new "
                                 "Palm User\nyou must synchronize that user first.");
    EXPECT_FALSE(form.open());
}

TEST_F(PalmSetupFormTest, AnUnreadableKeyStartsUnpaired) {
    const QString folder = dir.filePath("folder.ini");
    ASSERT_TRUE(QDir().mkpath(folder));
    SettingsTree unreadable(folder, prompts);
    PalmSupport over(api, unreadable, prompts);
    PalmSetupForm blind(over, unreadable, prompts, "Jo");
    prompts.allowAny();
    ASSERT_TRUE(blind.open());
    EXPECT_FALSE(blind.isPaired());
    EXPECT_FALSE(blind.isChecked());
    EXPECT_EQ(prompts.shown().at(1).text, "Unable to read User key from the registry");
}

} // namespace
