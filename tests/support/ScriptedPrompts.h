#pragma once

#include "ui/Prompts.h"

#include <QString>
#include <deque>
#include <vector>

// A Prompts double for tests: it keeps every caption and text shown, answers questions from
// a script, and fails the test on a prompt nobody expected or an expected one that never came.
class ScriptedPrompts : public Prompts {
public:
    struct Shown {
        QString caption;
        QString text;
        PromptButtons buttons;
    };

    ~ScriptedPrompts() override;

    // The next prompt must have this caption (and text, unless empty) and gets this answer.
    void expect(const QString& caption, const QString& text = {},
                PromptAnswer answer = PromptAnswer::Ok);
    // Any prompt at all is accepted and answered Ok / No; for code paths a test does not
    // look at.
    void allowAny() { m_allowAny = true; }

    PromptAnswer show(const QString& caption, const QString& text, PromptButtons buttons,
                      PromptIcon icon) override;

    const std::vector<Shown>& shown() const { return m_shown; }
    int count() const { return static_cast<int>(m_shown.size()); }
    void clear() { m_shown.clear(); }
    // Fails the test for any expected prompt still outstanding, then forgets them.
    void verify();

private:
    struct Expected {
        QString caption;
        QString text;
        PromptAnswer answer;
    };
    std::deque<Expected> m_expected;
    std::vector<Shown> m_shown;
    bool m_allowAny = false;
};
