#include "exchange/CsvFields.h"

#include <cmath>

namespace {

constexpr int kMaxDoseDigits = 3;
constexpr int kMaxGramDigits = 4;

bool asciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// A dose in hundredths of a unit as text, trailing zeros of the fraction dropped.
QString doseText(long long hundredths) {
    constexpr long long kLimit = 100'000; // 1000 units: more than three whole digits
    if (hundredths <= 0 || hundredths >= kLimit)
        return {};
    QString text = QString::number(hundredths / 100);
    const int fraction = static_cast<int>(hundredths % 100);
    if (fraction == 0)
        return text;
    text += QString::asprintf(".%02d", fraction);
    if (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    return text;
}

} // namespace

QStringList CsvFields::split(QStringView record, QChar delimiter) {
    QStringList fields;
    QString field;
    bool quoted = false;
    bool atStart = true;
    for (qsizetype i = 0; i < record.size(); ++i) {
        const QChar c = record[i];
        if (quoted) {
            if (c != u'"') {
                field += c;
            } else if (i + 1 < record.size() && record[i + 1] == u'"') {
                field += c;
                ++i;
            } else {
                quoted = false;
            }
            continue;
        }
        if (c == delimiter) {
            fields.append(field);
            field.clear();
            atStart = true;
            continue;
        }
        if (c == u'"' && atStart) {
            // Blanks before the opening quote are not part of the field.
            field.clear();
            quoted = true;
            atStart = false;
            continue;
        }
        if (c != u' ')
            atStart = false;
        field += c;
    }
    fields.append(field);
    return fields;
}

QChar CsvFields::delimiterOf(QStringView header) {
    int commas = 0;
    int semicolons = 0;
    int tabs = 0;
    bool quoted = false;
    for (QChar c : header) {
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && c == u',')
            ++commas;
        else if (!quoted && c == u';')
            ++semicolons;
        else if (!quoted && c == u'\t')
            ++tabs;
    }
    if (semicolons > commas && semicolons >= tabs)
        return u';';
    if (tabs > commas && tabs > semicolons)
        return u'\t';
    return u',';
}

bool CsvFields::quoteOpen(QStringView record) {
    return record.count(u'"') % 2 != 0;
}

std::optional<CsvFields::Decimal> CsvFields::decimal(const QString& text, int maxWholeDigits) {
    const QString trimmed = text.trimmed();
    Decimal number;
    qsizetype i = 0;
    int wholeDigits = 0;
    for (; i < trimmed.size() && asciiDigit(trimmed[i]); ++i) {
        if (++wholeDigits > maxWholeDigits)
            return std::nullopt;
        number.whole = number.whole * 10 + (trimmed[i].unicode() - u'0');
    }
    if (i < trimmed.size() && (trimmed[i] == u'.' || trimmed[i] == u',')) {
        number.hasFraction = true;
        for (++i; i < trimmed.size() && asciiDigit(trimmed[i]); ++i)
            number.fraction += trimmed[i];
    }
    if (i != trimmed.size() || (wholeDigits == 0 && number.fraction.isEmpty()))
        return std::nullopt;
    return number;
}

QString CsvFields::dose(const QString& text) {
    const std::optional<Decimal> number = decimal(text, kMaxDoseDigits);
    if (!number)
        return {};
    // Hundredths are all a dose is counted in; further digits are dropped.
    const QString fraction = (number->fraction + QStringLiteral("00")).left(2);
    return doseText(number->whole * 100LL + fraction.toInt());
}

QString CsvFields::dose(double units) {
    if (!std::isfinite(units) || units <= 0 || units >= std::pow(10.0, kMaxDoseDigits))
        return {};
    // Rounded to hundredths, 999.996 would be 1000: doseText refuses it.
    return doseText(std::llround(units * 100));
}

int CsvFields::grams(const QString& text) {
    const std::optional<Decimal> number = decimal(text, kMaxGramDigits);
    if (!number)
        return 0;
    return number->whole + (number->tenths() >= 5 ? 1 : 0);
}
