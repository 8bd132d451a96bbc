#pragma once

#include <QString>
#include <cstdint>

// A handheld user's id as the sync manager keeps it: a 32-bit number, written with "%lu".
using HandheldUserId = std::uint32_t;

// The outside calls the handheld set-up makes into the Palm HotSync manager's libraries,
// one method per call, with the results those libraries give: 0 is success unless a call
// says otherwise. The paths passed in are the texts the libraries receive.
class HotSyncApi {
public:
    // The four libraries, each loaded from the HotSync manager's folder.
    enum class Library { HsApi, UserData, CondMgr, InstAide };
    // An opaque memory handle the conduit manager hands out and the caller frees.
    using ConduitHandle = void*;
    // Size of the buffers the libraries fill (paths, user names).
    static constexpr unsigned long kBufferSize = 260;

    virtual ~HotSyncApi() = default;

    // The conduit manager's export number 90: fills `buffer` (of `*size` bytes) with the full
    // path of the HotSync manager. 0 means success.
    virtual long exportNumber90(char* buffer, unsigned long* size) = 0;

    virtual bool loadLibrary(Library library, const QString& path) = 0;
    virtual void freeLibrary(Library library) = 0;
    // Whether a loaded library exports the function; when it does not, lastError() says why.
    virtual bool hasFunction(Library library, const char* name) = 0;
    virtual long lastError() const = 0;

    // HSAPI.dll
    virtual long HsCheckApiStatus() = 0;
    virtual long HsSetAppStatus(int status, unsigned long flags) = 0;
    virtual long HsRefreshConduitInfo() = 0;

    // UserData.dll
    virtual int UmGetUserCount() = 0;
    // Non-zero is a failure.
    virtual long UmGetUserID(int index, HandheldUserId* id) = 0;
    // The length written; below 1 is a failure.
    virtual long UmGetUserName(HandheldUserId id, char* buffer, short* size) = 0;

    // CondMgr.dll
    // 0 when a conduit is registered under the creator; `handle` must then be freed.
    virtual long CmGetConduitByCreator(const char* creator, ConduitHandle* handle) = 0;
    virtual void freeConduitHandle(ConduitHandle handle) = 0;
    virtual long CmRemoveConduitByCreatorID(const char* creator) = 0;
    virtual long CmInstallCreator(const char* creator, int type) = 0;
    virtual long CmSetCreatorName(const char* creator, const char* path) = 0;
    virtual long CmSetCreatorFile(const char* creator, const char* file) = 0;
    virtual long CmSetCreatorTitle(const char* creator, const char* title) = 0;
    virtual long CmSetCreatorPriority(const char* creator, unsigned long priority) = 0;

    // InstAide.dll: queue and withdraw a file for a handheld user's next synchronisation.
    virtual long PltInstallFile(const char* handheldUserName, const char* path) = 0;
    virtual long PltRemoveInstallFile(const char* handheldUserName, const char* fileName) = 0;
};
