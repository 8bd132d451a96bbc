#include "support/ScriptedPrompts.h"

#include <gtest/gtest.h>

ScriptedPrompts::~ScriptedPrompts() {
    verify();
}

void ScriptedPrompts::expect(const QString& caption, const QString& text, PromptAnswer answer) {
    m_expected.push_back({caption, text, answer});
}

PromptAnswer ScriptedPrompts::show(const QString& caption, const QString& text,
                                   PromptButtons buttons, PromptIcon) {
    m_shown.push_back({caption, text, buttons});
    if (m_expected.empty()) {
        if (!m_allowAny) {
            ADD_FAILURE() << "unexpected prompt [" << caption.toStdString() << "] "
                          << text.toStdString();
        }
        return buttons == PromptButtons::Ok ? PromptAnswer::Ok : PromptAnswer::No;
    }
    Expected next = m_expected.front();
    m_expected.pop_front();
    EXPECT_EQ(next.caption.toStdString(), caption.toStdString()) << "text: " << text.toStdString();
    if (!next.text.isEmpty()) {
        EXPECT_EQ(next.text.toStdString(), text.toStdString());
    }
    return next.answer;
}

void ScriptedPrompts::verify() {
    for (const Expected& e : m_expected) {
        ADD_FAILURE() << "expected prompt never came: [" << e.caption.toStdString() << "] "
                      << e.text.toStdString();
    }
    m_expected.clear();
}
