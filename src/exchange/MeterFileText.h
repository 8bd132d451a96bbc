#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

class QIODevice;

// The lines of a meter's export file, read whole before anything is stored so that a file that
// is not text is refused before it can leave anything behind. A file holding a NUL byte is not
// text; a line longer than kMaxLineBytes is refused; the text is UTF-8 (with or without a byte
// order mark) when it decodes as such, and Latin-1 otherwise.
class MeterFileText {
public:
    static constexpr qsizetype kMaxLineBytes = 64 * 1024;
    // Far above any meter's memory (a 100,000-record export is about 10 MB).
    static constexpr qint64 kMaxFileBytes = 256 * 1024 * 1024;

    // Reads every line of the file; false with the reason in `problem` (which names the file
    // as `fileName` and, where there is one, the line) when the file cannot be read as text.
    static bool read(QIODevice& file, const QString& fileName, QStringList& lines,
                     QString& problem);
    // The same over bytes already in memory.
    static bool split(const QByteArray& bytes, const QString& fileName, QStringList& lines,
                      QString& problem);

    // A line as it is quoted in a message: at most 60 characters, control characters shown as
    // blanks.
    static QString quoted(const QString& line);
    // True for a non-empty run of the ASCII digits 0-9 alone.
    static bool allDigits(QStringView text);
    // The refusal of a file in which no line is a record of the format.
    static QString noRecordProblem(const QString& fileName, const QString& format,
                                   const QStringList& lines);
};
