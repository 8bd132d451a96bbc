#pragma once

#include <QStringList>
#include <vector>

class QPlainTextEdit;

// The notes edits of the entry and day dialogs, read and limited by the one note-text rule.
namespace NoteEdit {

// The edit's paragraphs, each as the lines the edit shows at its present width.
std::vector<QStringList> paragraphs(QPlainTextEdit* edit);

// The text to store for what the edit shows, its wrap points marked.
QString storedText(QPlainTextEdit* edit);

// Keeps the edit's text within `limit` stored characters: whatever typing or pasting added
// beyond it goes, and the cursor stays where it was.
void limit(QPlainTextEdit* edit, int limit);

} // namespace NoteEdit
