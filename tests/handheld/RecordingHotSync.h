#pragma once

#include "handheld/HotSyncApi.h"

#include <QString>
#include <QStringList>
#include <cstring>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

// A sync manager for tests: every call is kept as a line of text, in order, and answered from
// a script (0 for anything not scripted).
class RecordingHotSync : public HotSyncApi {
public:
    struct User {
        HandheldUserId id;
        QString name;
        long idResult = 0;
    };

    // Answers for the next calls of a function, in order.
    void script(const std::string& function, std::deque<long> answers) {
        m_answers[function] = std::move(answers);
    }

    long exportNumber90(char* buffer, unsigned long* size) override {
        log(QStringLiteral("export90 size=%1").arg(*size));
        const QByteArray path = managerPath.toLocal8Bit();
        std::strncpy(buffer, path.constData(), *size - 1);
        return answer("export90");
    }
    bool loadLibrary(Library, const QString& path) override {
        log("LoadLibrary " + path);
        return !missingLibraries.contains(path.section(u'\\', -1));
    }
    void freeLibrary(Library library) override {
        log(QStringLiteral("FreeLibrary %1").arg(static_cast<int>(library)));
    }
    bool hasFunction(Library, const char* name) override {
        log(QStringLiteral("GetProcAddress %1").arg(name));
        return !missingFunctions.contains(name);
    }
    long lastError() const override { return 127; }

    long HsCheckApiStatus() override { return call("HsCheckApiStatus", {}); }
    long HsSetAppStatus(int status, unsigned long flags) override {
        return call("HsSetAppStatus", {QString::number(status), QString::number(flags)});
    }
    long HsRefreshConduitInfo() override { return call("HsRefreshConduitInfo", {}); }
    int UmGetUserCount() override {
        log(QStringLiteral("UmGetUserCount -> %1").arg(users.size()));
        return static_cast<int>(users.size());
    }
    long UmGetUserID(int index, HandheldUserId* id) override {
        const User& user = users.at(static_cast<std::size_t>(index));
        *id = user.id;
        log(QStringLiteral("UmGetUserID(%1) -> %2").arg(index).arg(user.idResult));
        return user.idResult;
    }
    long UmGetUserName(HandheldUserId id, char* buffer, short* size) override {
        for (const User& user : users) {
            if (user.id == id) {
                const QByteArray name = user.name.toLocal8Bit();
                std::strncpy(buffer, name.constData(), static_cast<std::size_t>(*size) - 1);
                return call("UmGetUserName", {QString::number(id)}, name.size());
            }
        }
        return call("UmGetUserName", {QString::number(id)}, 0);
    }
    long CmGetConduitByCreator(const char* creator, ConduitHandle* handle) override {
        *handle = &m_handle;
        return call("CmGetConduitByCreator", {creator}, 1);
    }
    void freeConduitHandle(ConduitHandle handle) override {
        log(handle == &m_handle ? "free conduit handle" : "free unknown handle");
    }
    long CmRemoveConduitByCreatorID(const char* creator) override {
        return call("CmRemoveConduitByCreatorID", {creator});
    }
    long CmInstallCreator(const char* creator, int type) override {
        return call("CmInstallCreator", {creator, QString::number(type)});
    }
    long CmSetCreatorName(const char* creator, const char* path) override {
        return call("CmSetCreatorName", {creator, path});
    }
    long CmSetCreatorFile(const char* creator, const char* file) override {
        return call("CmSetCreatorFile", {creator, file});
    }
    long CmSetCreatorTitle(const char* creator, const char* title) override {
        return call("CmSetCreatorTitle", {creator, title});
    }
    long CmSetCreatorPriority(const char* creator, unsigned long priority) override {
        return call("CmSetCreatorPriority", {creator, QString::number(priority)});
    }
    long PltInstallFile(const char* user, const char* path) override {
        return call("PltInstallFile", {user, path});
    }
    long PltRemoveInstallFile(const char* user, const char* file) override {
        return call("PltRemoveInstallFile", {user, file});
    }

    QString managerPath = QStringLiteral("C:\\Program Files\\Palm\\HotSync.exe");
    std::set<QString> missingLibraries;
    std::set<std::string> missingFunctions;
    std::vector<User> users;
    QStringList calls;

private:
    void log(const QString& line) { calls << line; }
    long answer(const std::string& function, long otherwise = 0) {
        auto found = m_answers.find(function);
        if (found == m_answers.end() || found->second.empty())
            return otherwise;
        const long result = found->second.front();
        found->second.pop_front();
        return result;
    }
    long call(const char* function, const QStringList& arguments, long otherwise = 0) {
        const long result = answer(function, otherwise);
        log(QStringLiteral("%1(%2) -> %3").arg(function, arguments.join(", ")).arg(result));
        return result;
    }

    std::map<std::string, std::deque<long>> m_answers;
    int m_handle = 0;
};
