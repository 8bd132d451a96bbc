#include "reports/ReportStyle.h"

std::optional<ReportStyle> parseReportStyle(const QString& name) {
    if (name == QLatin1String("color"))
        return ReportStyle::color;
    if (name == QLatin1String("greyscale"))
        return ReportStyle::greyscale;
    if (name == QLatin1String("bw"))
        return ReportStyle::blackAndWhite;
    return std::nullopt;
}

QString reportStyleName(ReportStyle style) {
    switch (style) {
    case ReportStyle::greyscale:
        return QStringLiteral("greyscale");
    case ReportStyle::blackAndWhite:
        return QStringLiteral("bw");
    case ReportStyle::color:
        break;
    }
    return QStringLiteral("color");
}
