#include "logbook/widgets/NoteEdit.h"

#include "logbook/NoteText.h"

#include <QAbstractTextDocumentLayout>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextLayout>
#include <algorithm>

namespace NoteEdit {

std::vector<QStringList> paragraphs(QPlainTextEdit* edit) {
    std::vector<QStringList> result;
    QTextDocument* document = edit->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        // A paragraph not drawn yet is laid out now, at the edit's width.
        document->documentLayout()->blockBoundingRect(block);
        const QString text = block.text();
        QStringList lines;
        if (const QTextLayout* layout = block.layout()) {
            for (int i = 0; i < layout->lineCount(); ++i) {
                const QTextLine line = layout->lineAt(i);
                lines << text.mid(line.textStart(), line.textLength());
            }
        }
        // A paragraph laid out differently from its text has no wrap points to mark.
        if (lines.join(QString()) != text)
            lines = QStringList{text};
        result.push_back(lines);
    }
    return result;
}

QString storedText(QPlainTextEdit* edit) {
    return NoteText::fromLines(paragraphs(edit));
}

void limit(QPlainTextEdit* edit, int limit) {
    const QString text = edit->toPlainText();
    const QString fitted = NoteText::fit(text, limit);
    if (fitted == text)
        return;
    const int position = std::min<int>(edit->textCursor().position(), int(fitted.size()));
    const QSignalBlocker quiet(edit);
    edit->setPlainText(fitted);
    QTextCursor cursor = edit->textCursor();
    cursor.setPosition(position);
    edit->setTextCursor(cursor);
}

} // namespace NoteEdit
