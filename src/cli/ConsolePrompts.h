#pragma once

#include "ui/Prompts.h"

class QTextStream;

// Prompts for jobs run from a terminal: messages go to standard output, warnings and failures
// to standard error. Nobody is there to answer a question, so each is answered yes only when
// the job was started with --yes, and otherwise refused (no, or cancel where offered), with a
// line saying so.
class ConsolePrompts : public Prompts {
public:
    ConsolePrompts(QTextStream& out, QTextStream& err, bool answerYes);

    PromptAnswer show(const QString& caption, const QString& text, PromptButtons buttons,
                      PromptIcon icon) override;

    // "Caption: text", or only the text when the caption is the program's own.
    static QString messageLine(const QString& caption, const QString& text);

    // How many messages and refused questions went to standard error so far.
    int shownOnErr() const { return m_shownOnErr; }

private:
    QTextStream& m_out;
    QTextStream& m_err;
    bool m_answerYes;
    int m_shownOnErr = 0;
};
