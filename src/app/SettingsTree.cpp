#include "app/SettingsTree.h"

#include "ui/Prompts.h"

#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QVariant>
#include <algorithm>
#include <utility>
#include <vector>

namespace {

constexpr const char* kCantSetValue = "Cant set key value";
constexpr const char* kCantOpenAppKey = "Cant open app key";
constexpr const char* kCantOpenUsersKey = "Cant open USERS key";
constexpr const char* kAppKeyCaption = "getAppKey";
constexpr const char* kUserKeyCaption = "getUserKey";

QString text(const char* latin1) {
    return QString::fromLatin1(latin1);
}

// atoi's reading of a decimal text: leading blanks, a sign, then digits up to the first
// other character; nothing readable is 0.
int decimalValue(const QString& value) {
    qsizetype i = 0;
    while (i < value.size() && value.at(i).isSpace())
        ++i;
    bool negative = false;
    if (i < value.size() && (value.at(i) == u'-' || value.at(i) == u'+'))
        negative = value.at(i++) == u'-';
    long long result = 0;
    for (; i < value.size() && value.at(i) >= u'0' && value.at(i) <= u'9'; ++i) {
        result = result * 10 + (value.at(i).unicode() - u'0');
        if (result > 2147483648LL)
            break;
    }
    result = negative ? -result : result;
    return static_cast<int>(std::clamp<long long>(result, INT32_MIN, INT32_MAX));
}

} // namespace

SettingsTree::SettingsTree(const QString& filePath, Prompts& prompts)
    : m_path(filePath), m_prompts(prompts) {}

SettingsTree::~SettingsTree() = default;

QString SettingsTree::defaultPath() {
    const QString overridden = qEnvironmentVariable("QUILLMARCH_SETTINGS");
    if (!overridden.isEmpty())
        return overridden;
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) +
           QStringLiteral("/quillmarch.ini");
}

std::unique_ptr<QSettings> SettingsTree::open() const {
    return std::make_unique<QSettings>(m_path, QSettings::IniFormat);
}

std::unique_ptr<QSettings> SettingsTree::openChecked(const char* caption,
                                                     const char* message) const {
    auto settings = open();
    if (settings->status() == QSettings::NoError)
        return settings;
    m_prompts.error(text(caption), text(message));
    return nullptr;
}

QString SettingsTree::escapeKey(const QString& name) {
    QString key;
    key.reserve(name.size());
    for (QChar c : name) {
        if (c == u'%')
            key += QStringLiteral("%25");
        else if (c == u'/')
            key += QStringLiteral("%2F");
        else if (c == u'\\')
            key += QStringLiteral("%5C");
        else
            key += c;
    }
    return key;
}

QString SettingsTree::unescapeKey(const QString& key) {
    QString name;
    name.reserve(key.size());
    for (qsizetype i = 0; i < key.size(); ++i) {
        const QStringView code = QStringView(key).mid(i, 3);
        if (code == u"%25") {
            name += u'%';
        } else if (code.compare(u"%2F", Qt::CaseInsensitive) == 0) {
            name += u'/';
        } else if (code.compare(u"%5C", Qt::CaseInsensitive) == 0) {
            name += u'\\';
        } else {
            name += key.at(i);
            continue;
        }
        i += 2;
    }
    return name;
}

QString SettingsTree::userKey(const QString& user) {
    return text(kUsersKey) + u'/' + escapeKey(user);
}

QString SettingsTree::readText(const QSettings& settings, const QString& key) {
    const QVariant value = settings.value(key);
    // A hand-edited value with an unquoted comma comes back as a list.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(u',');
    return value.toString();
}

bool SettingsTree::writeText(const QString& key, const QString& valueName, const QString& value,
                             const char* openCaption) {
    auto settings = openChecked(openCaption, kCantOpenAppKey);
    if (!settings)
        return false;
    const QString name = key + u'/' + valueName;
    const QVariant previous = settings->value(name);
    settings->setValue(name, value);
    settings->sync();
    if (settings->status() == QSettings::NoError && storedInFile(*settings))
        return true;
    // Writing the file as it was brings back whatever a cut-short write lost.
    if (previous.isValid())
        settings->setValue(name, previous);
    else
        settings->remove(name);
    settings->sync();
    m_prompts.error(valueName, text(kCantSetValue));
    return false;
}

QString SettingsTree::getAppString(const QString& valueName) const {
    auto settings = openChecked(kAppKeyCaption, kCantOpenAppKey);
    return settings ? readText(*settings, text(kRootKey) + u'/' + valueName) : QString();
}

bool SettingsTree::setAppString(const QString& valueName, const QString& value) {
    return writeText(text(kRootKey), valueName, value, kAppKeyCaption);
}

QString SettingsTree::getUserString(const QString& user, const QString& valueName) const {
    if (user.isEmpty())
        return {};
    auto settings = openChecked(kUserKeyCaption, kCantOpenAppKey);
    return settings ? readText(*settings, userKey(user) + u'/' + valueName) : QString();
}

bool SettingsTree::setUserString(const QString& user, const QString& valueName,
                                 const QString& value) {
    // An empty name would address the list of patients itself.
    if (user.isEmpty())
        return false;
    return writeText(userKey(user), valueName, value, kUserKeyCaption);
}

bool SettingsTree::getUserBool(const QString& user, const QString& valueName) const {
    return getUserString(user, valueName) == QLatin1String("true");
}

bool SettingsTree::setUserBool(const QString& user, const QString& valueName, bool value) {
    return setUserString(user, valueName, value ? QStringLiteral("true") : QStringLiteral("false"));
}

int SettingsTree::getUserInt(const QString& user, const QString& valueName) const {
    return decimalValue(getUserString(user, valueName));
}

bool SettingsTree::setUserInt(const QString& user, const QString& valueName, int value) {
    return setUserString(user, valueName, QString::number(value));
}

bool SettingsTree::removeUserValue(const QString& user, const QString& valueName) {
    if (user.isEmpty() || valueName.isEmpty())
        return false;
    auto settings = openChecked(kUserKeyCaption, kCantOpenAppKey);
    if (!settings)
        return false;
    settings->remove(userKey(user) + u'/' + valueName);
    settings->sync();
    return settings->status() == QSettings::NoError;
}

bool SettingsTree::openUserKey(const QString& user) const {
    return !user.isEmpty() && openChecked(kUserKeyCaption, kCantOpenAppKey) != nullptr;
}

QStringList SettingsTree::listUsers() const {
    auto settings = openChecked(kUserKeyCaption, kCantOpenUsersKey);
    if (!settings)
        return {};
    settings->beginGroup(text(kUsersKey));
    QStringList names;
    for (const QString& key : settings->childGroups())
        names.append(unescapeKey(key));
    std::sort(names.begin(), names.end());
    return names;
}

int SettingsTree::countUsers() const {
    return static_cast<int>(listUsers().size());
}

bool SettingsTree::userExists(const QString& user) const {
    return !user.isEmpty() && listUsers().contains(user);
}

bool SettingsTree::removeUser(const QString& user) {
    if (user.isEmpty())
        return false;
    auto settings = openChecked(kUserKeyCaption, kCantOpenUsersKey);
    if (!settings)
        return false;
    settings->remove(userKey(user));
    settings->sync();
    return settings->status() == QSettings::NoError;
}

bool SettingsTree::renameUser(const QString& oldName, const QString& newName) {
    if (oldName == newName)
        return true;
    if (oldName.isEmpty() || newName.isEmpty())
        return false;
    auto settings = openChecked(kUserKeyCaption, kCantOpenAppKey);
    if (!settings)
        return false;
    const QString from = userKey(oldName) + u'/';
    const QString to = userKey(newName) + u'/';

    // Every value below the old key, sub-keys included ("Sub/Value").
    std::vector<std::pair<QString, QVariant>> values;
    settings->beginGroup(userKey(oldName));
    for (const QString& key : settings->allKeys())
        values.emplace_back(key, settings->value(key));
    settings->endGroup();

    // What the new key held before, so that a failed copy can be taken back without
    // leaving half a patient behind (or harming one that already had the name).
    std::vector<std::pair<QString, QVariant>> previous;
    for (const auto& [key, value] : values)
        previous.emplace_back(key, settings->value(to + key));

    for (const auto& [key, value] : values)
        settings->setValue(to + key, value);
    settings->sync();
    const bool copied = settings->status() == QSettings::NoError && storedInFile(*settings);
    if (!copied) {
        for (const auto& [key, value] : previous) {
            if (value.isValid())
                settings->setValue(to + key, value);
            else
                settings->remove(to + key);
        }
        settings->sync();
        m_prompts.error(QStringLiteral("renameUser"), text(kCantSetValue));
        return false;
    }

    settings->remove(userKey(oldName));
    settings->sync();
    if (settings->status() == QSettings::NoError)
        return true;
    // The file still holds the old key beside the copy; keep memory in step with it.
    for (const auto& [key, value] : values)
        settings->setValue(from + key, value);
    m_prompts.error(QStringLiteral("renameUser"), QStringLiteral("Cant delete key"));
    return false;
}

bool SettingsTree::storedInFile(const QSettings& settings) const {
    // The settings object answers from memory, and a write cut short (a full disk) can go
    // unreported while the rest of the file is gone; a copy of the file is read afresh and
    // must hold exactly what memory holds.
    QTemporaryDir scratch;
    const QString copy = scratch.filePath(QStringLiteral("check.ini"));
    if (!scratch.isValid() || !QFile::copy(m_path, copy))
        return false;
    QSettings stored(copy, QSettings::IniFormat);
    if (stored.status() != QSettings::NoError)
        return false;
    const QStringList keys = settings.allKeys();
    if (stored.allKeys().size() != keys.size())
        return false;
    for (const QString& key : keys) {
        if (stored.value(key) != settings.value(key))
            return false;
    }
    return true;
}

bool SettingsTree::flush() {
    auto settings = open();
    settings->sync();
    return settings->status() == QSettings::NoError;
}
