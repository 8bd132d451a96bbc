#pragma once

#include "ui/FileDialogs.h"

#include <QString>
#include <QStringList>
#include <deque>

// A FileDialogs double for tests: every dialog is answered with the next path of the script
// (an empty path, or nothing left: cancelled), and each one asked is kept as
// "<kind>|<caption>|<folder>|<filter>" with the kind "open", "save" or "save-no-question" (a
// save dialog that leaves the question about replacing a file to its caller).
class ScriptedFileDialogs : public FileDialogs {
public:
    void answer(const QString& path) { answers.push_back(path); }

    QString getOpenFileName(const QString& caption, const QString& folder,
                            const QString& filter) override {
        return next("open", caption, folder, filter);
    }
    QString getSaveFileName(const QString& caption, const QString& folder,
                            const QString& filter) override {
        return next("save", caption, folder, filter);
    }
    QString getSaveFileNameNoOverwriteQuestion(const QString& caption, const QString& folder,
                                               const QString& filter) override {
        return next("save-no-question", caption, folder, filter);
    }

    std::deque<QString> answers;
    QStringList asked;

private:
    QString next(const char* kind, const QString& caption, const QString& folder,
                 const QString& filter) {
        asked << QStringList{QString::fromLatin1(kind), caption, folder, filter}.join('|');
        if (answers.empty())
            return {};
        QString path = answers.front();
        answers.pop_front();
        return path;
    }
};
