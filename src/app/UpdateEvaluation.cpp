#include "app/UpdateEvaluation.h"

#include "storage/Conversions.h"

UpdateFinding evaluateUpdateAnswer(const QString& answer, const QString& runningVersion) {
    UpdateFinding finding;
    // The server's document never opens with the attribute; an answer that does is something
    // else and is not read.
    if (answer.indexOf(QLatin1String("win=")) < 1)
        return finding;
    const std::optional<QString> win = extractQuotedValue(answer, QStringLiteral("win"));
    if (!win)
        return finding;
    finding.win = *win;
    if (!(runningVersion < *win))
        return finding;
    if (const std::optional<QString> url = extractQuotedValue(answer, QStringLiteral("url"))) {
        finding.url = *url;
        finding.available = true;
    }
    return finding;
}
