#pragma once

#include <QString>

// "1 record", "2 records": a count with its noun, for the jobs' messages.
inline QString countOf(int count, const QString& singular, const QString& plural) {
    return QStringLiteral("%1 %2").arg(count).arg(count == 1 ? singular : plural);
}
