#pragma once

#include "app/AppDialogs.h"
#include "app/CQuillmarchApp.h"
#include "app/SettingsTree.h"
#include "storage/Clock.h"
#include "storage/Conversions.h"
#include "storage/Database.h"
#include "support/ScriptedDeleteQuestion.h"
#include "support/ScriptedPrompts.h"
#include "ui/Progress.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using Rows = std::vector<std::string>;
using Users = std::vector<std::pair<QString, QString>>;

// Runs the event loop until `done` holds or `ms` have passed; returns `done()`.
inline bool waitUntil(const std::function<bool()>& done, int ms = 3000) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return done();
}

inline QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Each row of `sql` as its columns joined by "|" (NULL for null).
inline Rows rowsOf(Database& db, const char* sql) {
    Rows out;
    auto query = db.query(sql);
    while (query && query->step()) {
        std::string row;
        for (int i = 0; i < query->columnCount(); ++i) {
            const char* value = query->value(i);
            row += std::string(i ? "|" : "") + (value ? value : "NULL");
        }
        out.push_back(row);
    }
    return out;
}

// Answers the start-up windows from a script and remembers what was asked: `name` is the new
// patient's (nothing: cancelled), `chosen` the patient picked in the chooser.
class ScriptedAppDialogs : public AppDialogs {
public:
    std::optional<QString> askNewPatientName() override {
        ++namesAsked;
        return name;
    }
    std::optional<QString> chooseUser(const Users& users) override {
        ++choosersShown;
        offered = users;
        return chosen;
    }
    void showFinalizing(bool shown) override { finalizing.push_back(shown); }

    std::optional<QString> name;
    std::optional<QString> chosen;
    int namesAsked = 0;
    int choosersShown = 0;
    Users offered;
    std::vector<bool> finalizing;
};

// A real application over a new patient "Ann": a database file made as the program makes it
// and a settings file of its own.
class OpenPatientTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        app.setDataFolder(dir.filePath("data"));
        dialogs.name = QString("Ann");
        ASSERT_TRUE(app.selectUser()); // no patient yet: the new one is created and opened
    }
    void TearDown() override { prompts.verify(); }
    Rows rows(const char* sql) { return rowsOf(app.database(), sql); }

    QTemporaryDir dir;
    ScriptedPrompts prompts;
    SettingsTree settings{dir.filePath("settings.ini"), prompts};
    NoProgress progress;
    ScriptedAppDialogs dialogs;
    FixedClock clock{fromDateTimeText("20070315120000")};
    CQuillmarchApp app{settings, prompts, progress, dialogs, clock};
    ScriptedDeleteQuestion question;
};
