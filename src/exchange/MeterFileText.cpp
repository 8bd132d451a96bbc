#include "exchange/MeterFileText.h"

#include <QIODevice>
#include <QStringDecoder>

#include <algorithm>

namespace {

bool startsWith(const QByteArray& bytes, std::initializer_list<unsigned char> prefix) {
    if (bytes.size() < static_cast<qsizetype>(prefix.size()))
        return false;
    qsizetype i = 0;
    for (unsigned char byte : prefix)
        if (static_cast<unsigned char>(bytes[i++]) != byte)
            return false;
    return true;
}

} // namespace

bool MeterFileText::read(QIODevice& file, const QString& fileName, QStringList& lines,
                         QString& problem) {
    if (!file.isOpen() && !file.open(QIODevice::ReadOnly)) {
        problem = QStringLiteral("%1 cannot be read: %2").arg(fileName, file.errorString());
        return false;
    }
    if (!file.isSequential() && file.size() > kMaxFileBytes) {
        problem = QStringLiteral("%1 is too large to be a meter's export file (%2 bytes).")
                      .arg(fileName)
                      .arg(file.size());
        return false;
    }
    // A file of known size is read whole; a stream in pieces, so that one without end is
    // refused once it passes the limit.
    QByteArray bytes;
    if (!file.isSequential())
        bytes = file.readAll();
    while (file.isSequential()) {
        constexpr qint64 kPiece = 64 * 1024;
        const QByteArray piece = file.read(kPiece);
        if (piece.isEmpty())
            break;
        bytes += piece;
        if (bytes.size() > kMaxFileBytes) {
            problem = QStringLiteral("%1 is too large to be a meter's export file.").arg(fileName);
            return false;
        }
    }
    return split(bytes, fileName, lines, problem);
}

bool MeterFileText::split(const QByteArray& bytes, const QString& fileName, QStringList& lines,
                          QString& problem) {
    lines.clear();
    if (startsWith(bytes, {0xFF, 0xFE}) || startsWith(bytes, {0xFE, 0xFF})) {
        problem = QStringLiteral("%1 is UTF-16 text, which is not read: save it as UTF-8 or "
                                 "ANSI text and import it again.")
                      .arg(fileName);
        return false;
    }
    QByteArrayView rest(bytes);
    if (startsWith(bytes, {0xEF, 0xBB, 0xBF}))
        rest = rest.sliced(3);

    // First the shape of every line, then the text: a file is refused before any line of it
    // is decoded.
    std::vector<QByteArrayView> raw;
    qsizetype start = 0;
    int lineNumber = 1;
    for (qsizetype i = 0; i <= rest.size(); ++i) {
        const bool end = i == rest.size();
        const char c = end ? '\n' : rest[i];
        if (c == '\0') {
            problem = QStringLiteral("%1 is not a text file: line %2 holds a NUL byte.")
                          .arg(fileName)
                          .arg(lineNumber);
            return false;
        }
        if (i - start > kMaxLineBytes) {
            problem = QStringLiteral("%1: line %2 is longer than %3 bytes and cannot be read.")
                          .arg(fileName)
                          .arg(lineNumber)
                          .arg(kMaxLineBytes);
            return false;
        }
        if (c != '\n' && c != '\r')
            continue;
        if (!end || i > start)
            raw.push_back(rest.sliced(start, i - start));
        if (c == '\r' && i + 1 < rest.size() && rest[i + 1] == '\n')
            ++i;
        start = i + 1;
        ++lineNumber;
    }
    if (std::all_of(raw.begin(), raw.end(),
                    [](QByteArrayView line) { return line.trimmed().isEmpty(); })) {
        problem = QStringLiteral("%1 is empty: it holds no line to import.").arg(fileName);
        return false;
    }

    // One encoding for the whole file: a file that is not UTF-8 throughout is Latin-1.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    lines.reserve(static_cast<qsizetype>(raw.size()));
    for (QByteArrayView line : raw)
        lines.append(QString(utf8(line)));
    if (utf8.hasError()) {
        lines.clear();
        for (QByteArrayView line : raw)
            lines.append(QString::fromLatin1(line));
    }
    return true;
}

QString MeterFileText::quoted(const QString& line) {
    constexpr qsizetype kShown = 60;
    QString shown = line.left(kShown);
    for (QChar& c : shown)
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char(' ');
    if (line.size() > kShown)
        shown += QStringLiteral("...");
    return shown;
}

QString MeterFileText::noRecordProblem(const QString& fileName, const QString& format,
                                       const QStringList& lines) {
    qsizetype first = 0;
    while (first < lines.size() && lines[first].trimmed().isEmpty())
        ++first;
    if (first == lines.size())
        return QStringLiteral("%1 holds no %2 record: every line is empty.").arg(fileName, format);
    return QStringLiteral("%1 holds no %2 record; line %3 cannot be read: \"%4\"")
        .arg(fileName, format)
        .arg(first + 1)
        .arg(quoted(lines[first]));
}

bool MeterFileText::allDigits(QStringView text) {
    if (text.isEmpty())
        return false;
    for (QChar c : text)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}
