#pragma once

class CQuillmarchApp;
class HotSyncApi;
class QWidget;

// "Palm Support": pairs every paired patient again, then offers the "Palm Setup" dialog for
// the current patient, or the "No Palm Support" dialog when the HotSync manager cannot be
// reached (always so with makeSystemHotSync() on this platform).
void palmSupportCommand(CQuillmarchApp& app, HotSyncApi& api, QWidget* parent = nullptr);

// At the first start after installation (CQuillmarchApp::ensureAppPath() answered true) the
// conduit is registered again for every paired patient, since it lives in the program folder.
bool reregisterPalmUsers(CQuillmarchApp& app, HotSyncApi& api);
