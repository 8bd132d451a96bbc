#pragma once

#include <QString>

// Cuts a text to at most `chars` characters (code points, never half a character).
QString cutToChars(const QString& text, int chars);
