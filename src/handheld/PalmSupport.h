#pragma once

#include "handheld/HotSyncApi.h"

#include <QString>
#include <array>
#include <optional>
#include <vector>

class Prompts;
class SettingsTree;

// Prepares the Palm HotSync manager for the logbook: loads its libraries, pairs a patient
// with one handheld user (queues the handheld application for that user and registers the
// conduit that synchronises the database), and takes a pairing back.
class PalmSupport {
public:
    static constexpr const char* kPalmUserNameValue = "PalmUserName";
    static constexpr const char* kPalmUserNameIdValue = "PalmUserNameId";
    // The identity the conduit and the handheld application are registered under.
    static constexpr const char* kCreator = "ZVRB";
    static constexpr const char* kConduitLibrary = "\\Q7Conduit.dll";
    static constexpr const char* kConduitFile = "Q7Conduit";
    static constexpr const char* kConduitTitle = "Quillmarch ZIZ";
    static constexpr unsigned long kConduitPriority = 2;
    static constexpr int kConduitType = 1;
    static constexpr const char* kHandheldApplication = "Quillmarch.prc";
    // What the install aide answers for a file it will install anyway; not worth telling.
    static constexpr long kInstallNotReported = -512;

    static constexpr const char* kLookupFailed = "GetProcAddress:%1 failed %2";
    static constexpr const char* kSetupFailed = "Palmsupport::setup:%1 Failed [%2]";
    static constexpr const char* kRegisterFailed = "PalmSupport::registerConduit:%1 Failed:%2";

    // One handheld user offered to a patient.
    struct HandheldUser {
        QString name;
        HandheldUserId id = 0;
        bool operator==(const HandheldUser&) const = default;
    };

    PalmSupport(HotSyncApi& api, SettingsTree& settings, Prompts& prompts);
    ~PalmSupport();
    PalmSupport(const PalmSupport&) = delete;
    PalmSupport& operator=(const PalmSupport&) = delete;

    // Finds the HotSync manager and loads its four libraries; true when the manager is up.
    bool loadHotSync();
    // Frees whichever libraries are loaded.
    void unloadHotSync();
    bool isLoaded() const { return m_loaded; }
    // The HotSync manager's folder, as its path query gave it.
    const QString& hotSyncDirectory() const { return m_directory; }

    // Writes the pairing, queues the handheld application and registers the conduit; the
    // result is the conduit registration's. A pairing written before a failure stays.
    bool pairPatient(const QString& userKeyName, HandheldUserId handheldUserId);
    // Withdraws the queued handheld application and deletes the pairing.
    bool unpairPatient(const QString& userKeyName, HandheldUserId handheldUserId);
    // Pairs every paired patient again (the conduit follows the program's folder).
    bool reregisterAll();
    // Whether any patient is paired with the handheld user.
    bool isHandheldUserTaken(HandheldUserId handheldUserId) const;
    // The handheld users a patient may be paired with: the patient's own and every one that
    // no patient has yet, in the manager's order.
    std::vector<HandheldUser> handheldUsersFor(const QString& userKeyName);

    // The id stored as a patient's pairing, if it is paired at all (present and not empty).
    std::optional<HandheldUserId> pairedId(const QString& userKeyName) const;
    // A stored id read as the number it starts with (0 when none).
    static HandheldUserId idFromText(const QString& text);
    static QString idText(HandheldUserId id) { return QString::number(id); }

private:
    bool registerConduit(const QString& appPath);
    // The handheld user's name; nothing when the manager cannot give it.
    std::optional<QString> handheldUserName(HandheldUserId id);
    bool lookUp(HotSyncApi::Library library, const char* function);

    HotSyncApi& m_api;
    SettingsTree& m_settings;
    Prompts& m_prompts;
    QString m_directory;
    std::array<bool, 4> m_libraries{};
    bool m_loaded = false;
};
