#include "logbook/widgets/CharLimitValidator.h"

#include "storage/Text.h"

#include <QLineEdit>
#include <algorithm>

CharLimitValidator::CharLimitValidator(QLineEdit* edit, int chars)
    : QValidator(edit), m_chars(chars), m_previous(edit->text()) {
    connect(edit, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_previous = text; });
}

void CharLimitValidator::install(QLineEdit* edit, int chars) {
    edit->setMaxLength(32767); // QLineEdit's default: no limit of its own
    edit->setValidator(new CharLimitValidator(edit, chars));
}

QValidator::State CharLimitValidator::validate(QString& input, int& pos) const {
    const qsizetype allowed = std::max<qsizetype>(m_chars, charCount(m_previous));
    if (charCount(input) <= allowed)
        return Acceptable;
    // The new part ends at the cursor and starts where the text stops matching what it was.
    qsizetype start = 0;
    const qsizetype end = std::clamp<qsizetype>(pos, 0, input.size());
    while (start < end && start < m_previous.size() && input.at(start) == m_previous.at(start))
        ++start;
    if (start > 0 && input.at(start - 1).isHighSurrogate())
        --start;
    const QStringView before = QStringView(input).first(start);
    const QStringView after = QStringView(input).sliced(end);
    const qsizetype room = allowed - charCount(before) - charCount(after);
    if (room < 0)
        return Invalid;
    const QString kept = cutToChars(input.mid(start, end - start), room);
    input = before.toString() + kept + after.toString();
    pos = int(start + kept.size());
    return Acceptable;
}
