#pragma once

#include "handheld/HotSyncApi.h"

#include <memory>

// The sync manager as this platform has it: there is none. The Palm HotSync manager and its
// conduit libraries exist only for Windows, so the path query fails and nothing is ever
// loaded; the remaining calls are never reached and answer failure should anything call them.
class NoHotSync : public HotSyncApi {
public:
    // Any non-zero answer is a failure; this one says "not found".
    static constexpr long kNotFound = 2;

    long exportNumber90(char* buffer, unsigned long* size) override;
    bool loadLibrary(Library, const QString&) override { return false; }
    void freeLibrary(Library) override {}
    bool hasFunction(Library, const char*) override { return false; }
    long lastError() const override { return kNotFound; }

    long HsCheckApiStatus() override { return kNotFound; }
    long HsSetAppStatus(int, unsigned long) override { return kNotFound; }
    long HsRefreshConduitInfo() override { return kNotFound; }
    int UmGetUserCount() override { return 0; }
    long UmGetUserID(int, HandheldUserId*) override { return kNotFound; }
    long UmGetUserName(HandheldUserId, char*, short*) override { return 0; }
    long CmGetConduitByCreator(const char*, ConduitHandle*) override { return kNotFound; }
    void freeConduitHandle(ConduitHandle) override {}
    long CmRemoveConduitByCreatorID(const char*) override { return kNotFound; }
    long CmInstallCreator(const char*, int) override { return kNotFound; }
    long CmSetCreatorName(const char*, const char*) override { return kNotFound; }
    long CmSetCreatorFile(const char*, const char*) override { return kNotFound; }
    long CmSetCreatorTitle(const char*, const char*) override { return kNotFound; }
    long CmSetCreatorPriority(const char*, unsigned long) override { return kNotFound; }
    long PltInstallFile(const char*, const char*) override { return kNotFound; }
    long PltRemoveInstallFile(const char*, const char*) override { return kNotFound; }
};

// The sync manager the program talks to on this system.
std::unique_ptr<HotSyncApi> makeSystemHotSync();
