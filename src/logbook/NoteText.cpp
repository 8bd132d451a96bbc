#include "logbook/NoteText.h"

#include "storage/Note.h"
#include "storage/Text.h"

#include <QTextBoundaryFinder>

namespace NoteText {

namespace {

const QString kWrapMark = QStringLiteral("\r\r\n");
const QString kLineBreak = QStringLiteral("\r\n");

// A character as the note's column counts it: a line break is stored as two, the second
// half of a surrogate pair belongs to the character before it.
int storedWidth(QChar c) {
    if (c == u'\n')
        return 2;
    return c.isLowSurrogate() ? 0 : 1;
}

} // namespace

qsizetype storedLength(const QString& editable) {
    qsizetype count = 0;
    for (QChar c : editable)
        count += storedWidth(c);
    return count;
}

QString fit(const QString& editable, int limit) {
    // Whole characters as the reader sees them: an emoji or a letter with its marks is kept or
    // left out whole.
    QTextBoundaryFinder clusters(QTextBoundaryFinder::Grapheme, editable);
    qsizetype kept = 0;
    qsizetype count = 0;
    for (qsizetype end = clusters.toNextBoundary(); end != -1; end = clusters.toNextBoundary()) {
        for (qsizetype i = kept; i < end; ++i)
            count += storedWidth(editable.at(i));
        if (count > limit)
            return editable.left(kept);
        kept = end;
    }
    return editable;
}

QString fromLines(const std::vector<QStringList>& paragraphs) {
    QStringList marked;
    QStringList plain;
    for (const QStringList& lines : paragraphs) {
        marked << lines.join(kWrapMark);
        plain << lines.join(QString());
    }
    const QString text = marked.join(kLineBreak);
    if (cutToChars(text, Note::kTextWidth) == text)
        return text;
    return plain.join(kLineBreak);
}

QString forEditing(const QString& stored) {
    QString text = stored;
    text.remove(kWrapMark);
    text.replace(kLineBreak, QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

} // namespace NoteText
