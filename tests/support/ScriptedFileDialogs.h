#pragma once

#include "ui/FileDialogs.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <gtest/gtest.h>

// Answers the file dialogs from a script (an empty answer is Cancel) and keeps what each one
// offered, as "open|<caption>|<folder>|<filter>" or "save|...". A dialog nobody scripted fails
// the test.
class ScriptedFileDialogs : public FileDialogs {
public:
    QString getOpenFileName(const QString& caption, const QString& folder,
                            const QString& filter) override {
        return answer(QStringLiteral("open"), caption, folder, filter);
    }
    QString getSaveFileName(const QString& caption, const QString& folder,
                            const QString& filter) override {
        return answer(QStringLiteral("save"), caption, folder, filter);
    }

    std::deque<QString> answers;
    QStringList asked;

private:
    QString answer(const QString& kind, const QString& caption, const QString& folder,
                   const QString& filter) {
        asked << QStringList{kind, caption, folder, filter}.join('|');
        if (answers.empty()) {
            ADD_FAILURE() << "file dialog not expected: " << asked.last().toStdString();
            return {};
        }
        QString next = answers.front();
        answers.pop_front();
        return next;
    }
};
