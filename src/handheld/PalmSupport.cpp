#include "handheld/PalmSupport.h"

#include "app/SettingsTree.h"
#include "ui/Prompts.h"

#include <QByteArray>
#include <algorithm>
#include <functional>

namespace {

using Library = HotSyncApi::Library;

constexpr const char* kAppPathValue = "AppPath";

struct LibraryFile {
    Library library;
    const char* file;
};
// The order they are loaded in; loading stops at the first that is missing.
constexpr LibraryFile kLibraryFiles[] = {{Library::HsApi, "HSAPI.dll"},
                                         {Library::UserData, "UserData.dll"},
                                         {Library::CondMgr, "CondMgr.dll"},
                                         {Library::InstAide, "InstAide.dll"}};

QString latin1(const char* text) {
    return QString::fromLatin1(text);
}

// Paths are joined with the separator of the system the sync manager runs on, since they
// are handed to its libraries as they are.
QString joined(const QString& folder, const QString& file) {
    return folder + u'\\' + file;
}

QString fromBuffer(const char* buffer, std::size_t size) {
    std::size_t length = 0;
    while (length < size && buffer[length] != '\0')
        ++length;
    return QString::fromLocal8Bit(buffer, static_cast<qsizetype>(length));
}

} // namespace

PalmSupport::PalmSupport(HotSyncApi& api, SettingsTree& settings, Prompts& prompts)
    : m_api(api), m_settings(settings), m_prompts(prompts) {}

PalmSupport::~PalmSupport() {
    unloadHotSync();
}

bool PalmSupport::lookUp(Library library, const char* function) {
    if (m_api.hasFunction(library, function))
        return true;
    m_prompts.error(
        latin1(kProgramCaption),
        latin1(kLookupFailed).arg(latin1(function)).arg(static_cast<qlonglong>(m_api.lastError())));
    return false;
}

bool PalmSupport::loadHotSync() {
    unloadHotSync();
    m_directory.clear();
    char buffer[HotSyncApi::kBufferSize] = {};
    unsigned long size = HotSyncApi::kBufferSize;
    if (m_api.exportNumber90(buffer, &size) != 0) {
        unloadHotSync();
        return false;
    }
    // The manager's executable lies in the folder its libraries are loaded from.
    const QString path = fromBuffer(buffer, sizeof buffer);
    m_directory = path.left(path.lastIndexOf(u'\\'));
    for (const auto& [library, file] : kLibraryFiles) {
        if (!m_api.loadLibrary(library, joined(m_directory, latin1(file)))) {
            unloadHotSync();
            return false;
        }
        m_libraries[static_cast<std::size_t>(library)] = true;
    }
    if (!lookUp(Library::HsApi, "HsCheckApiStatus")) {
        unloadHotSync();
        return false;
    }
    if (m_api.HsCheckApiStatus() != 0) {
        // The manager is installed but not running: ask it to start, then look once more.
        m_api.HsSetAppStatus(1, 0);
        if (m_api.HsCheckApiStatus() != 0) {
            unloadHotSync();
            return false;
        }
    }
    m_loaded = true;
    return true;
}

void PalmSupport::unloadHotSync() {
    for (const auto& [library, file] : kLibraryFiles) {
        bool& loaded = m_libraries[static_cast<std::size_t>(library)];
        if (loaded)
            m_api.freeLibrary(library);
        loaded = false;
    }
    m_loaded = false;
}

std::optional<QString> PalmSupport::handheldUserName(HandheldUserId id) {
    char buffer[HotSyncApi::kBufferSize] = {};
    short size = static_cast<short>(sizeof buffer);
    if (m_api.UmGetUserName(id, buffer, &size) < 1)
        return std::nullopt;
    return fromBuffer(buffer, sizeof buffer);
}

bool PalmSupport::pairPatient(const QString& userKeyName, HandheldUserId handheldUserId) {
    if (!m_settings.openUserKey(userKeyName))
        return false;
    const std::optional<QString> name = handheldUserName(handheldUserId);
    if (!name)
        return false;
    m_settings.setUserString(userKeyName, latin1(kPalmUserNameValue), *name);
    m_settings.setUserString(userKeyName, latin1(kPalmUserNameIdValue), idText(handheldUserId));
    m_settings.flush();

    const QString appPath = m_settings.getAppString(latin1(kAppPathValue));
    const long installed = m_api.PltInstallFile(
        name->toLocal8Bit().constData(),
        joined(appPath, latin1(kHandheldApplication)).toLocal8Bit().constData());
    // The conduit is registered all the same: the file can be queued again later.
    if (installed != 0 && installed != kInstallNotReported)
        m_prompts.error(latin1(kProgramCaption), latin1(kSetupFailed)
                                                     .arg(QStringLiteral("PltInstallFile"))
                                                     .arg(static_cast<qlonglong>(installed)));
    return registerConduit(appPath);
}

bool PalmSupport::registerConduit(const QString& appPath) {
    HotSyncApi::ConduitHandle handle = nullptr;
    if (m_api.CmGetConduitByCreator(kCreator, &handle) == 0) {
        m_api.freeConduitHandle(handle);
        m_api.CmRemoveConduitByCreatorID(kCreator);
    }
    const QByteArray conduitPath = (appPath + latin1(kConduitLibrary)).toLocal8Bit();
    // Each step runs only when the one before it succeeded.
    const struct {
        const char* function;
        std::function<long()> call;
    } steps[] = {
        {"CmInstallCreator", [&] { return m_api.CmInstallCreator(kCreator, kConduitType); }},
        {"CmSetCreatorName",
         [&] { return m_api.CmSetCreatorName(kCreator, conduitPath.constData()); }},
        {"CmSetCreatorFile", [&] { return m_api.CmSetCreatorFile(kCreator, kConduitFile); }},
        {"CmSetCreatorTitle", [&] { return m_api.CmSetCreatorTitle(kCreator, kConduitTitle); }},
        {"CmSetCreatorPriority",
         [&] { return m_api.CmSetCreatorPriority(kCreator, kConduitPriority); }},
    };
    for (const auto& step : steps) {
        const long result = step.call();
        if (result != 0) {
            m_prompts.error(latin1(kProgramCaption), latin1(kRegisterFailed)
                                                         .arg(latin1(step.function))
                                                         .arg(static_cast<qlonglong>(result)));
            return false;
        }
    }
    // The manager rereads its conduits and is told that one of them changed.
    m_api.HsRefreshConduitInfo();
    m_api.HsSetAppStatus(2, 0);
    return true;
}

bool PalmSupport::unpairPatient(const QString& userKeyName, HandheldUserId handheldUserId) {
    if (!m_settings.openUserKey(userKeyName))
        return false;
    const std::optional<QString> name = handheldUserName(handheldUserId);
    if (!name)
        return false;
    m_api.PltRemoveInstallFile(name->toLocal8Bit().constData(), kHandheldApplication);
    m_settings.removeUserValue(userKeyName, latin1(kPalmUserNameValue));
    m_settings.removeUserValue(userKeyName, latin1(kPalmUserNameIdValue));
    m_settings.flush();
    return true;
}

bool PalmSupport::reregisterAll() {
    if (!loadHotSync())
        return false;
    for (const QString& user : m_settings.listUsers()) {
        const HandheldUserId id =
            idFromText(m_settings.getUserString(user, latin1(kPalmUserNameIdValue)));
        if (id != 0)
            pairPatient(user, id);
    }
    const bool refreshed = lookUp(Library::HsApi, "HsRefreshConduitInfo");
    if (refreshed)
        m_api.HsRefreshConduitInfo();
    unloadHotSync();
    return refreshed;
}

bool PalmSupport::isHandheldUserTaken(HandheldUserId handheldUserId) const {
    const QString id = idText(handheldUserId);
    for (const QString& user : m_settings.listUsers()) {
        if (m_settings.getUserString(user, latin1(kPalmUserNameIdValue)) == id)
            return true;
    }
    return false;
}

std::vector<PalmSupport::HandheldUser> PalmSupport::handheldUsersFor(const QString& userKeyName) {
    const QString own = m_settings.getUserString(userKeyName, latin1(kPalmUserNameIdValue));
    std::vector<HandheldUser> users;
    const int count = m_api.UmGetUserCount();
    for (int index = 0; index < count; ++index) {
        HandheldUserId id = 0;
        if (m_api.UmGetUserID(index, &id) != 0)
            id = static_cast<HandheldUserId>(-1);
        if (idText(id) != own && isHandheldUserTaken(id))
            continue;
        users.push_back({handheldUserName(id).value_or(QString()), id});
    }
    return users;
}

std::optional<HandheldUserId> PalmSupport::pairedId(const QString& userKeyName) const {
    const QString text = m_settings.getUserString(userKeyName, latin1(kPalmUserNameIdValue));
    if (text.isEmpty())
        return std::nullopt;
    return idFromText(text);
}

HandheldUserId PalmSupport::idFromText(const QString& text) {
    // Read as the C library reads a number: blanks, a sign, then the digits up to the first
    // other character; a negative number wraps as it does in an unsigned 32-bit id.
    qsizetype i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == u'-' || text.at(i) == u'+'))
        negative = text.at(i++) == u'-';
    std::uint64_t value = 0;
    for (; i < text.size() && text.at(i) >= u'0' && text.at(i) <= u'9'; ++i)
        value = std::min<std::uint64_t>(value * 10 + (text.at(i).unicode() - u'0'), UINT32_MAX);
    const auto id = static_cast<HandheldUserId>(value);
    return negative ? static_cast<HandheldUserId>(0u - id) : id;
}
