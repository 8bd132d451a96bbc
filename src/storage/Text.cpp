#include "storage/Text.h"

#include <QTextBoundaryFinder>

qsizetype charCount(QStringView text) {
    qsizetype count = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!(text.at(i).isLowSurrogate() && i > 0 && text.at(i - 1).isHighSurrogate()))
            ++count;
    }
    return count;
}

QString cutToChars(const QString& text, qsizetype chars) {
    if (text.size() <= chars)
        return text;
    QTextBoundaryFinder clusters(QTextBoundaryFinder::Grapheme, text);
    qsizetype kept = 0;
    qsizetype taken = 0;
    for (qsizetype end = clusters.toNextBoundary(); end != -1; end = clusters.toNextBoundary()) {
        taken += charCount(QStringView(text).sliced(kept, end - kept));
        if (taken > chars)
            break;
        kept = end;
    }
    return text.left(kept);
}
