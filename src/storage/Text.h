#pragma once

#include <QString>
#include <QStringView>

// Texts are limited in characters, not in the UTF-16 units a QString holds: a character
// outside the Basic Multilingual Plane (an emoji) is two units but one character, and half of
// it is no character at all.

// How many characters (code points) a text holds.
qsizetype charCount(QStringView text);

// Cuts a text to at most `chars` characters. The cut falls only where a reader sees one
// character end and the next begin: an emoji, or a letter with its combining marks, is kept
// whole or left out whole.
QString cutToChars(const QString& text, qsizetype chars);
