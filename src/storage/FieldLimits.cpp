#include "storage/FieldLimits.h"

#include "storage/Conversions.h"

#include <limits>

namespace FieldLimits {

IntRange glucose(int unit) {
    return unit == kGlucoseUnitMmol ? kGlucoseMmolTenths : kGlucoseMgDl;
}

IntRange bolusGlucose(int unit) {
    return unit == kGlucoseUnitMmol ? kBolusGlucoseMmol : kBolusGlucoseMgDl;
}

} // namespace FieldLimits

std::optional<long long> wholeNumber(const QString& text) {
    const QString trimmed = text.trimmed();
    qsizetype at = 0;
    bool negative = false;
    if (at < trimmed.size() && (trimmed[at] == u'-' || trimmed[at] == u'+'))
        negative = trimmed[at++] == u'-';
    if (at == trimmed.size())
        return std::nullopt;
    // Eighteen digits always fit; beyond them the value only has to stay out of range.
    constexpr long long kHeld = std::numeric_limits<long long>::max() / 10;
    long long value = 0;
    for (; at < trimmed.size(); ++at) {
        const QChar c = trimmed[at];
        if (c < u'0' || c > u'9')
            return std::nullopt;
        if (value < kHeld)
            value = value * 10 + (c.unicode() - u'0');
    }
    return negative ? -value : value;
}

QString integerRangeText(IntRange range) {
    return QStringLiteral("Please enter an integer between %1 and %2.")
        .arg(range.low)
        .arg(range.high);
}

QString textLengthText(int chars) {
    return QStringLiteral("Please enter no more than %1 characters.").arg(chars);
}

QString fieldRangeText(const QString& field, IntRange range, const QString& unitName) {
    const QString unit = unitName.isEmpty() ? QString() : u' ' + unitName;
    return QStringLiteral("%1 must be a whole number between %2 and %3%4.")
        .arg(field)
        .arg(range.low)
        .arg(range.high)
        .arg(unit);
}

QString glucoseRangeText(const QString& field, IntRange range, int unit, bool whole) {
    if (unit != kGlucoseUnitMmol)
        return fieldRangeText(field, range, QStringLiteral("mg/dL"));
    if (whole)
        return fieldRangeText(field, range, QStringLiteral("mmol/L"));
    return QStringLiteral("%1 must lie between %2 and %3 mmol/L.")
        .arg(field, formatGlucose(range.low, unit), formatGlucose(range.high, unit));
}
