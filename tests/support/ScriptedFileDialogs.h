#pragma once

#include "ui/FileDialogs.h"

#include <QStringList>

// Answers each file dialog with the next path of the script (none left: cancelled) and keeps
// "<kind>|<caption>|<folder>|<filter>" of each, the kind "open", "save" or "save-no-question".
class ScriptedFileDialogs : public FileDialogs {
public:
    void answer(const QString& path) { m_answers << path; }
    QString getOpenFileName(const QString& c, const QString& d, const QString& f) override {
        return next({"open", c, d, f});
    }
    QString getSaveFileName(const QString& c, const QString& d, const QString& f) override {
        return next({"save", c, d, f});
    }
    QString getSaveFileNameNoOverwriteQuestion(const QString& c, const QString& d,
                                               const QString& f) override {
        return next({"save-no-question", c, d, f});
    }
    QString next(const QStringList& dialog) {
        asked << dialog.join('|');
        return m_answers.isEmpty() ? QString() : m_answers.takeFirst();
    }
    QStringList asked;

private:
    QStringList m_answers;
};
