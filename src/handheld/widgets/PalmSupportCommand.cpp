#include "handheld/widgets/PalmSupportCommand.h"

#include "app/CQuillmarchApp.h"
#include "handheld/PalmSetupForm.h"
#include "handheld/PalmSupport.h"
#include "handheld/widgets/NoPalmSupportDlg.h"
#include "handheld/widgets/PalmSetupDlg.h"

void palmSupportCommand(CQuillmarchApp& app, HotSyncApi& api, QWidget* parent) {
    PalmSupport support(api, app.settings(), app.prompts());
    support.reregisterAll();
    if (!support.loadHotSync()) {
        NoPalmSupportDlg dialog(parent);
        dialog.exec();
        return;
    }
    PalmSetupForm form(support, app.settings(), app.prompts(), app.currentUserName());
    if (form.open()) {
        PalmSetupDlg dialog(form, parent);
        dialog.exec();
    }
    support.unloadHotSync();
}

bool reregisterPalmUsers(CQuillmarchApp& app, HotSyncApi& api) {
    return PalmSupport(api, app.settings(), app.prompts()).reregisterAll();
}
