#pragma once

#include "ui/FileDialogs.h"

#include <QStringList>
#include <deque>
#include <gtest/gtest.h>

// A FileDialogs double: each dialog must be expected, in order, by caption with its answer
// (empty: cancelled); each one shown is kept as "caption|folder|filter". Any other dialog
// fails the test and is cancelled.
class ScriptedFileDialogs : public FileDialogs {
public:
    ~ScriptedFileDialogs() override { EXPECT_TRUE(m_script.empty()) << "a file dialog never came"; }
    void expect(const QString& caption, const QString& answer) {
        m_script.push_back({caption, answer});
    }
    QString getOpenFileName(const QString& caption, const QString& folder,
                            const QString& filter) override {
        return next(caption, folder, filter);
    }
    QString getSaveFileName(const QString& caption, const QString& folder,
                            const QString& filter) override {
        return next(caption, folder, filter);
    }
    QStringList asked;

private:
    QString next(const QString& caption, const QString& folder, const QString& filter) {
        asked << caption + '|' + folder + '|' + filter;
        if (m_script.empty() || m_script.front().first != caption) {
            ADD_FAILURE() << "unexpected file dialog: " << caption.toStdString();
            return {};
        }
        const QString answer = m_script.front().second;
        m_script.pop_front();
        return answer;
    }
    std::deque<std::pair<QString, QString>> m_script;
};
