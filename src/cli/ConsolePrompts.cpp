#include "cli/ConsolePrompts.h"

#include <QTextStream>

ConsolePrompts::ConsolePrompts(QTextStream& out, QTextStream& err, bool answerYes)
    : m_out(out), m_err(err), m_answerYes(answerYes) {}

QString ConsolePrompts::messageLine(const QString& caption, const QString& text) {
    // Message boxes break their lines with "\r\n" now and then; a terminal wants "\n".
    QString body = text;
    body.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (caption.isEmpty() || caption == QLatin1String(kProgramCaption))
        return body;
    return caption + QLatin1String(": ") + body;
}

PromptAnswer ConsolePrompts::show(const QString& caption, const QString& text,
                                  PromptButtons buttons, PromptIcon icon) {
    const QString line = messageLine(caption, text);
    if (buttons == PromptButtons::Ok) {
        QTextStream& stream =
            icon == PromptIcon::Error || icon == PromptIcon::Warning ? m_err : m_out;
        if (&stream == &m_err)
            ++m_shownOnErr;
        stream << line << Qt::endl;
        return PromptAnswer::Ok;
    }
    if (m_answerYes) {
        m_out << line << Qt::endl << QStringLiteral("Answered yes (--yes).") << Qt::endl;
        return buttons == PromptButtons::OkCancel ? PromptAnswer::Ok : PromptAnswer::Yes;
    }
    ++m_shownOnErr;
    m_err << line << Qt::endl
          << QStringLiteral("Not answered: nobody is there to answer, so the answer is no. "
                            "Run the job again with --yes to answer yes.")
          << Qt::endl;
    // Where cancelling is offered it is the answer that changes least.
    return buttons == PromptButtons::YesNo ? PromptAnswer::No : PromptAnswer::Cancel;
}
