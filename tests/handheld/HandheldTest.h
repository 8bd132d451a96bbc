#pragma once

#include "RecordingHotSync.h"
#include "app/SettingsTree.h"
#include "handheld/PalmSupport.h"
#include "support/GoldenFile.h"
#include "support/ScriptedPrompts.h"

#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// A recording sync manager and a settings file of its own, with the program folder stored.
class HandheldTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        settings.setAppString("AppPath", "C:\\Program Files\\Quillmarch");
        api.users = {{17, "Ann Palm"}, {21, "Bob Palm"}, {33, "Spare Palm"}};
    }
    void TearDown() override { prompts.verify(); }

    void pairing(const QString& patient, const QString& id, const QString& name) {
        settings.setUserString(patient, "DbPath", "/data/" + patient + ".db");
        if (!id.isNull())
            settings.setUserString(patient, "PalmUserNameId", id);
        if (!name.isNull())
            settings.setUserString(patient, "PalmUserName", name);
    }

    // The calls made, the messages shown and the handheld values stored, as one text.
    QStringList transcript() const {
        QStringList lines = api.calls;
        lines << "-- shown";
        for (const auto& shown : prompts.shown())
            lines << shown.caption + " | " +
                         QString(shown.text).replace("\r", "\\r").replace("\n", "\\n");
        lines << "-- stored";
        QSettings stored(settings.filePath(), QSettings::IniFormat);
        for (const QString& key : stored.allKeys()) {
            if (key.contains("Palm"))
                lines << key.section('/', 3) + "=" + stored.value(key).toString();
        }
        return lines;
    }
    void expectTranscript(const char* scenario) {
        expectGoldenFile(transcript(), QStringLiteral("handheld/%1.txt").arg(scenario));
    }

    QTemporaryDir dir;
    ScriptedPrompts prompts;
    SettingsTree settings{dir.filePath("settings.ini"), prompts};
    RecordingHotSync api;
    PalmSupport support{api, settings, prompts};
};
