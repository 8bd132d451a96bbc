#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class Prompts;
class QSettings;

// The program's settings tree: application values below "SOFTWARE/Quillmarch" and one key
// per patient below "SOFTWARE/Quillmarch/Users", every value a text. It lives in one INI
// file whose location is chosen by whoever constructs it, so tests never touch the real one.
//
// Each operation opens the file afresh, as a registry key would be opened per call: an error
// reported by one operation never sticks to the next.
class SettingsTree {
public:
    static constexpr const char* kRootKey = "SOFTWARE/Quillmarch";
    static constexpr const char* kUsersKey = "SOFTWARE/Quillmarch/Users";

    SettingsTree(const QString& filePath, Prompts& prompts);
    ~SettingsTree();
    SettingsTree(const SettingsTree&) = delete;
    SettingsTree& operator=(const SettingsTree&) = delete;

    // QUILLMARCH_SETTINGS when it is set, else "quillmarch.ini" in the configuration folder.
    static QString defaultPath();
    const QString& filePath() const { return m_path; }
    Prompts& prompts() const { return m_prompts; }

    // Values of the application itself ("AppPath", "VersionCheckDate").
    QString getAppString(const QString& valueName) const;
    bool setAppString(const QString& valueName, const QString& text);

    // A missing or unreadable value reads as an empty text.
    QString getUserString(const QString& user, const QString& valueName) const;
    bool setUserString(const QString& user, const QString& valueName, const QString& text);
    // Only the exact text "true" reads as true.
    bool getUserBool(const QString& user, const QString& valueName) const;
    bool setUserBool(const QString& user, const QString& valueName, bool value);
    // Decimal text; absent, empty or unparsable reads as 0.
    int getUserInt(const QString& user, const QString& valueName) const;
    bool setUserInt(const QString& user, const QString& valueName, int value);
    // Deletes one value of the patient's key; a value that was never there is no failure.
    bool removeUserValue(const QString& user, const QString& valueName);
    // Whether the patient's key can be opened (the key is made when it is missing); shows
    // why not otherwise.
    bool openUserKey(const QString& user) const;

    // The patients, sorted by name.
    QStringList listUsers() const;
    int countUsers() const;
    bool userExists(const QString& user) const;
    // Deletes the patient's key with everything below it.
    bool removeUser(const QString& user);
    // Moves every value and sub-key of the old patient key to the new name. The old key is
    // deleted only once the copy has been written and read back, so a failure never loses it.
    bool renameUser(const QString& oldName, const QString& newName);
    // Writes pending changes to the file; false when the file could not be written.
    bool flush();

    // A patient name as a single key name: '%', '/' and '\\' are escaped, since the
    // settings store takes the last two as key separators.
    static QString escapeKey(const QString& name);
    static QString unescapeKey(const QString& key);

private:
    std::unique_ptr<QSettings> open() const;
    // Opens the file and checks that it could be read; shows the failure otherwise.
    std::unique_ptr<QSettings> openChecked(const char* caption, const char* text) const;
    static QString userKey(const QString& user);
    static QString readText(const QSettings& settings, const QString& key);
    // Whether the file on disk holds exactly the values the settings object holds.
    bool storedInFile(const QSettings& settings) const;
    bool writeText(const QString& key, const QString& valueName, const QString& text,
                   const char* openCaption);

    QString m_path;
    Prompts& m_prompts;
};
