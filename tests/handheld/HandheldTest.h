#pragma once

#include "app/SettingsTree.h"
#include "handheld/PalmSupport.h"
#include "support/GoldenFile.h"
#include "support/ScriptedPrompts.h"

#include <QMap>
#include <QSettings>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>

// A sync manager for tests: every call is kept as a line of text, in order, and answered from
// a script (otherwise with the usual success value).
class RecordingHotSync : public HotSyncApi {
public:
    long exportNumber90(char* buffer, unsigned long* size) override {
        std::strncpy(buffer, "C:\\Program Files\\Palm\\HotSync.exe", *size - 1);
        return call(__func__, {n(*size)});
    }
    bool loadLibrary(Library, const QString& path) override {
        calls << "LoadLibrary " + path;
        return !missing.contains(path.section(u'\\', -1));
    }
    void freeLibrary(Library library) override { calls << "FreeLibrary " + n(int(library)); }
    bool hasFunction(Library, const char* name) override {
        calls << QStringLiteral("GetProcAddress %1").arg(name);
        return !missing.contains(name);
    }
    long lastError() const override { return 127; }

    long HsCheckApiStatus() override { return call(__func__, {}); }
    long HsSetAppStatus(int s, unsigned long f) override { return call(__func__, {n(s), n(f)}); }
    long HsRefreshConduitInfo() override { return call(__func__, {}); }
    int UmGetUserCount() override { return int(users.size()); }
    long UmGetUserID(int i, HandheldUserId* id) override {
        *id = users.keys().at(i);
        return 0;
    }
    long UmGetUserName(HandheldUserId id, char* buffer, short* size) override {
        std::strncpy(buffer, users.value(id).toLocal8Bit().constData(), std::size_t(*size) - 1);
        return call(__func__, {n(id)}, users.value(id).size());
    }
    long CmGetConduitByCreator(const char* creator, ConduitHandle* handle) override {
        *handle = &m_handle;
        return call(__func__, {creator}, 1);
    }
    void freeConduitHandle(ConduitHandle handle) override {
        calls << (handle == &m_handle ? "free conduit handle" : "free unknown handle");
    }
    long CmRemoveConduitByCreatorID(const char* c) override { return call(__func__, {c}); }
    long CmInstallCreator(const char* c, int type) override { return call(__func__, {c, n(type)}); }
    long CmSetCreatorName(const char* c, const char* p) override { return call(__func__, {c, p}); }
    long CmSetCreatorFile(const char* c, const char* f) override { return call(__func__, {c, f}); }
    long CmSetCreatorTitle(const char* c, const char* t) override { return call(__func__, {c, t}); }
    long CmSetCreatorPriority(const char* c, unsigned long p) override {
        return call(__func__, {c, n(p)});
    }
    long PltInstallFile(const char* u, const char* p) override { return call(__func__, {u, p}); }
    long PltRemoveInstallFile(const char* u, const char* f) override {
        return call(__func__, {u, f});
    }

    QMap<QString, QList<long>> answers;  // for the next calls of a function, in order
    QStringList missing;                 // libraries and functions that are not there
    QMap<HandheldUserId, QString> users; // by id, as the manager lists them
    QStringList calls;

private:
    static QString n(unsigned long number) { return QString::number(number); }
    long call(const char* function, const QStringList& arguments, long otherwise = 0) {
        QList<long>& next = answers[function];
        const long result = next.isEmpty() ? otherwise : next.takeFirst();
        calls << QStringLiteral("%1(%2) -> %3").arg(function, arguments.join(", ")).arg(result);
        return result;
    }
    int m_handle = 0;
};

// A recording sync manager and a settings file of its own, with the program folder stored.
class HandheldTest : public testing::Test {
protected:
    void SetUp() override {
        settings.setAppString("AppPath", "C:\\Program Files\\Quillmarch");
        api.users = {{17, "Ann Palm"}, {21, "Bob Palm"}, {33, "Spare Palm"}};
    }
    void pairing(const QString& patient, const QString& id, const QString& name) {
        settings.setUserString(patient, "PalmUserNameId", id);
        settings.setUserString(patient, "PalmUserName", name);
    }

    // The calls made, the messages shown and the handheld values stored, as one text.
    void expectTranscript(const char* scenario) {
        QStringList lines = api.calls + QStringList{"-- shown"};
        for (const auto& shown : prompts.shown())
            lines << shown.caption + " | " + shown.text.split("\r\n").join("\\r\\n");
        lines << "-- stored";
        QSettings stored(settings.filePath(), QSettings::IniFormat);
        for (const QString& key : stored.allKeys().filter("Palm"))
            lines << key.section('/', 3) + "=" + stored.value(key).toString();
        expectGoldenFile(lines, QStringLiteral("handheld/%1.txt").arg(scenario));
    }

    QTemporaryDir dir;
    ScriptedPrompts prompts;
    SettingsTree settings{dir.filePath("settings.ini"), prompts};
    RecordingHotSync api;
    PalmSupport support{api, settings, prompts};
};
