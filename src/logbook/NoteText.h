#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// The one way a note typed into a multi-line edit is stored, whichever dialog it belongs to.
// The patient's line breaks are stored as carriage return and line feed, and the points where
// the edit wrapped a line as carriage return, carriage return, line feed, so that the note
// keeps the shape it had on screen. The note's column holds a fixed number of characters and
// nothing the patient typed may be cut off on the way in: typing is limited by what the text
// takes once stored, and the wrap marks, being only layout, are left out when they would not
// fit.
namespace NoteText {

// How many characters the typed text takes once stored: a line break takes two.
qsizetype storedLength(const QString& editable);

// The typed text cut to what fits in `limit` stored characters.
QString fit(const QString& editable, int limit);

// The stored text of paragraphs laid out as wrapped lines: lines joined by wrap marks,
// paragraphs by line breaks. When the marks would not fit in the note's column, the text is
// stored without them.
QString fromLines(const std::vector<QStringList>& paragraphs);

// A stored note as plain text for an edit: wrap marks dropped (the edit wraps again at its
// own width), line breaks as "\n".
QString forEditing(const QString& stored);

} // namespace NoteText
