#include "HandheldTest.h"
#include "app/AppTestSupport.h"
#include "handheld/NoHotSync.h"
#include "handheld/PalmSetupForm.h"
#include "handheld/widgets/NoPalmSupportDlg.h"
#include "handheld/widgets/PalmSetupDlg.h"
#include "handheld/widgets/PalmSupportCommand.h"
#include "ui/ModalDriver.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace {

TEST_F(HandheldTest, ThePalmSetupDialogPairsTheChosenUser) {
    pairing("Bob", "21", "Bob Palm");
    ASSERT_TRUE(support.loadHotSync());
    PalmSetupForm form(support, settings, prompts, "Jo");
    ASSERT_TRUE(form.open());
    PalmSetupDlg dialog(form);
    dialog.show();
    EXPECT_EQ(dialog.list()->count(), 2);
    EXPECT_EQ(dialog.list()->item(1)->text(), "Spare Palm");
    EXPECT_FALSE(dialog.list()->isEnabled());
    EXPECT_FALSE(dialog.refreshButton()->isEnabled());

    dialog.enableBox()->click();
    EXPECT_TRUE(dialog.list()->isEnabled());
    dialog.list()->setCurrentRow(1);
    prompts.expect("Quillmarch", PalmSetupForm::kSyncReminder);
    dialog.okButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(settings.getUserString("Jo", "PalmUserNameId"), "33");
    EXPECT_EQ(settings.getUserString("Jo", "PalmUserName"), "Spare Palm");
}

TEST(PalmSupportCommandTest, WithoutAHotSyncManagerTheCommandSaysSo) {
    QTemporaryDir dir;
    ScriptedPrompts prompts;
    SettingsTree settings(dir.filePath("settings.ini"), prompts);
    NoProgress progress;
    ScriptedAppDialogs dialogs;
    FixedClock clock(0);
    CQuillmarchApp app(settings, prompts, progress, dialogs, clock);
    settings.setUserString("Jo", "PalmUserNameId", "17");
    const auto api = makeSystemHotSync();

    QString title;
    QString text;
    int buttons = 0;
    whenModalIs<NoPalmSupportDlg>([&](NoPalmSupportDlg* shown) {
        title = shown->windowTitle();
        text = shown->textLabel()->text();
        buttons = static_cast<int>(shown->findChildren<QPushButton*>().size());
        shown->accept();
    });
    palmSupportCommand(app, *api);
    EXPECT_EQ(title, "No Palm Support");
    EXPECT_TRUE(text.contains("was unable to communicate with the Palm HotSync manager"));
    EXPECT_EQ(buttons, 1);
    EXPECT_FALSE(reregisterPalmUsers(app, *api));
    EXPECT_EQ(prompts.count(), 0);
    EXPECT_EQ(settings.getUserString("Jo", "PalmUserNameId"), "17");
}

} // namespace
