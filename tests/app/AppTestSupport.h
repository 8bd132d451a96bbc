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

// Start-up windows that create the first patient under a fixed name and choose no other.
class NamedPatientDialogs : public AppDialogs {
public:
    explicit NamedPatientDialogs(QString name) : m_name(std::move(name)) {}
    std::optional<QString> askNewPatientName() override { return m_name; }
    std::optional<QString> chooseUser(const std::vector<std::pair<QString, QString>>&) override {
        return std::nullopt;
    }
    void showFinalizing(bool) override {}

private:
    QString m_name;
};

// A real application over a new patient "Ann": a database file made as the program makes it
// and a settings file of its own.
class OpenPatientTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        app.setDataFolder(dir.filePath("data"));
        ASSERT_TRUE(app.selectUser()); // no patient yet: the new one is created and opened
    }
    void TearDown() override { prompts.verify(); }
    Rows rows(const char* sql) { return rowsOf(app.database(), sql); }

    QTemporaryDir dir;
    ScriptedPrompts prompts;
    SettingsTree settings{dir.filePath("settings.ini"), prompts};
    NoProgress progress;
    NamedPatientDialogs dialogs{"Ann"};
    FixedClock clock{fromDateTimeText("20070315120000")};
    CQuillmarchApp app{settings, prompts, progress, dialogs, clock};
    ScriptedDeleteQuestion question;
};
