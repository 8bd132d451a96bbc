#include "HandheldTest.h"
#include "app/AppTestSupport.h"
#include "handheld/NoHotSync.h"
#include "handheld/PalmSetupForm.h"
#include "handheld/widgets/NoPalmSupportDlg.h"
#include "handheld/widgets/PalmSetupDlg.h"
#include "handheld/widgets/PalmSupportCommand.h"
#include "ui/ModalDriver.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace {

class PalmSetupTest : public HandheldTest {
protected:
    void SetUp() override {
        HandheldTest::SetUp();
        pairing("Bob", "21", "Bob Palm");
        ASSERT_TRUE(support.loadHotSync());
    }
    PalmSetupForm form{support, settings, prompts, "Jo"};
};

TEST_F(PalmSetupTest, OkIsOffOnThePairedUserAndRefreshIsOnExactlyWhenOkIsOff) {
    pairing("Jo", "33", "Spare Palm");
    ASSERT_TRUE(form.open());
    EXPECT_EQ(form.selected(), 1); // Bob's user is not offered
    // Each step: the row chosen and the box, then which of list, OK and Refresh are enabled.
    const struct {
        int row;
        bool checked;
        const char* enabled;
    } steps[] = {
        {1, true, "L-R"}, {0, true, "LO-"}, {1, true, "L-R"}, {1, false, "-O-"}, {-1, true, "LO-"}};
    for (const auto& step : steps) {
        form.select(step.row);
        form.setChecked(step.checked);
        EXPECT_EQ(std::string(form.listEnabled() ? "L" : "-") + (form.okEnabled() ? "O" : "-") +
                      (form.refreshEnabled() ? "R" : "-"),
                  step.enabled)
            << step.row << step.checked;
    }
}

TEST_F(PalmSetupTest, WithEveryHandheldUserTakenTheDialogDoesNotOpen) {
    pairing("Ann", "17", "Ann Palm");
    pairing("Cy", "33", "Spare Palm");
    prompts.expect("Quillmarch", "All Palm users are already setup.\nIf you are setting up a new "
                                 "Palm User\nyou must synchronize that user first.");
    EXPECT_FALSE(form.open());
}

TEST_F(PalmSetupTest, TheDialogAsksForAUserThenUnpairsTheOldOneAndPairsTheNewOne) {
    pairing("Jo", "17", "Ann Palm");
    ASSERT_TRUE(form.open());
    PalmSetupDlg dialog(form);
    dialog.show();
    EXPECT_FALSE(dialog.okButton()->isEnabled());
    api.calls.clear();
    prompts.allowAny(); // the call log holds what was shown
    dialog.list()->setCurrentRow(-1);
    dialog.okButton()->click();
    EXPECT_TRUE(dialog.isVisible());
    dialog.list()->setCurrentRow(1);
    dialog.okButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    expectTranscript("form_change_user");
}

TEST_F(HandheldTest, WithoutAHotSyncManagerThePalmSupportCommandSaysSo) {
    NoProgress progress;
    ScriptedAppDialogs dialogs;
    FixedClock clock(0);
    CQuillmarchApp app(settings, prompts, progress, dialogs, clock);
    QString shown;
    whenModalIs<NoPalmSupportDlg>([&](NoPalmSupportDlg* dialog) {
        shown = dialog->windowTitle() + ": " + dialog->textLabel()->text();
        dialog->accept();
    });
    palmSupportCommand(app, *makeSystemHotSync());
    EXPECT_TRUE(shown.startsWith("No Palm Support: "));
    EXPECT_TRUE(shown.contains("was unable to communicate with the Palm HotSync manager"));
    EXPECT_EQ(prompts.count(), 0);
}

} // namespace
