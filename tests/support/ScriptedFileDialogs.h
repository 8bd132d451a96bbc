#pragma once

#include "ui/FileDialogs.h"

#include <QString>
#include <deque>
#include <gtest/gtest.h>
#include <vector>

// A FileDialogs double: each dialog must have been expected (caption and answer, empty for
// cancel), in order; what it offered is kept. Any other dialog fails the test and cancels.
class ScriptedFileDialogs : public FileDialogs {
public:
    struct Asked {
        QString caption;
        QString folder;
        QString filter;
    };
    ~ScriptedFileDialogs() override {
        for (const auto& [caption, answer] : m_script)
            ADD_FAILURE() << "file dialog never came: " << caption.toStdString();
    }
    void expect(const QString& caption, const QString& answer) {
        m_script.emplace_back(caption, answer);
    }
    QString getOpenFileName(const QString& caption, const QString& folder,
                            const QString& filter) override {
        return next(caption, folder, filter);
    }
    QString getSaveFileName(const QString& caption, const QString& folder,
                            const QString& filter) override {
        return next(caption, folder, filter);
    }
    std::vector<Asked> asked;

private:
    QString next(const QString& caption, const QString& folder, const QString& filter) {
        asked.push_back({caption, folder, filter});
        if (m_script.empty()) {
            ADD_FAILURE() << "unexpected file dialog: " << caption.toStdString();
            return {};
        }
        auto [expected, answer] = m_script.front();
        m_script.pop_front();
        EXPECT_EQ(expected.toStdString(), caption.toStdString());
        return answer;
    }
    std::deque<std::pair<QString, QString>> m_script;
};
