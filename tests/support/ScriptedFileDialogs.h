#pragma once

#include "ui/FileDialogs.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <gtest/gtest.h>
#include <optional>

// A FileDialogs double for tests: every dialog is answered with the next path of the script (an
// empty path is Cancel), and each one asked is kept as "<kind>|<caption>|<folder>|<filter>"
// with the kind "open", "save" or "save-no-question" (a save dialog that leaves the question
// about replacing a file to its caller).
// Answers given with answer() (or put into `answers`) are taken in order, and a dialog with
// nothing left is cancelled. Answers given with expect() also name the dialog's caption: then
// the caption is checked, a dialog nobody expected fails the test, and so does an expected one
// that never came.
class ScriptedFileDialogs : public FileDialogs {
public:
    ~ScriptedFileDialogs() override {
        for (const auto& caption : m_captions) {
            if (caption)
                ADD_FAILURE() << "file dialog never came: " << caption->toStdString();
        }
    }

    void answer(const QString& path) { answers.push_back(path); }
    void expect(const QString& caption, const QString& path) {
        answers.push_back(path);
        m_captions.resize(answers.size() - 1);
        m_captions.push_back(caption);
        m_strict = true;
    }

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
        if (answers.empty()) {
            if (m_strict)
                ADD_FAILURE() << "unexpected file dialog: " << caption.toStdString();
            return {};
        }
        QString path = answers.front();
        answers.pop_front();
        if (!m_captions.empty()) {
            if (m_captions.front()) {
                EXPECT_EQ(m_captions.front()->toStdString(), caption.toStdString());
            }
            m_captions.pop_front();
        }
        return path;
    }

    // The caption expected of each answer, where one was given.
    std::deque<std::optional<QString>> m_captions;
    bool m_strict = false;
};
