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

TEST_F(HandheldTest, OkIsOffOnThePairedUserAndRefreshIsOnExactlyWhenOkIsOff) {
    pairing("Jo", "33", "Spare Palm");
    pairing("Bob", "21", "Bob Palm");
    ASSERT_TRUE(support.loadHotSync());
    PalmSetupForm form(support, settings, prompts, "Jo");
    ASSERT_TRUE(form.open());
    EXPECT_EQ(form.selected(), 1); // Bob's user is not offered
    // Each step: the row chosen and the box, then which of list, OK and Refresh are enabled.
    using Step = std::tuple<int, bool, std::string>;
    for (const auto& [row, checked, enabled] :
         {Step{1, true, "L-R"}, Step{0, true, "LO-"}, Step{1, true, "L-R"}, Step{1, false, "-O-"},
          Step{-1, true, "LO-"}}) {
        form.select(row);
        form.setChecked(checked);
        const std::string now{form.listEnabled() ? 'L' : '-', form.okEnabled() ? 'O' : '-',
                              form.refreshEnabled() ? 'R' : '-'};
        EXPECT_EQ(now, enabled) << row << checked;
    }
    // With every handheld user taken, another patient's dialog does not open.
    pairing("Ann", "17", "Ann Palm");
    prompts.expect("Quillmarch", "All Palm users are already setup.\nIf you are setting up a new "
                                 "Palm User\nyou must synchronize that user first.");
    EXPECT_FALSE(PalmSetupForm(support, settings, prompts, "Cy").open());
}

TEST_F(HandheldTest, TheDialogAsksForAUserThenUnpairsTheOldOneAndPairsTheNewOne) {
    pairing("Jo", "17", "Ann Palm");
    pairing("Bob", "21", "Bob Palm");
    ASSERT_TRUE(support.loadHotSync());
    PalmSetupForm form(support, settings, prompts, "Jo");
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
    EXPECT_TRUE(shown.startsWith("No Palm Support: ") &&
                shown.contains("was unable to communicate with the Palm HotSync manager"));
}

} // namespace
