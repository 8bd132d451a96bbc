#include "storage/Conversions.h"

#include "storage/Clock.h"
#include "storage/SampleType.h"
#include "ui/Prompts.h"

#include <QFile>
#include <algorithm>
#include <climits>
#include <filesystem>
#include <locale.h>
#include <system_error>

namespace {

bool isAsciiDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// The value of the leading run of digits, 0 when there is none. Stored texts are written by
// this program, so anything past the digits is simply not part of the number.
int leadingNumber(QStringView text) {
    long long value = 0;
    for (QChar c : text) {
        if (!isAsciiDigit(c))
            break;
        value = value * 10 + (c.unicode() - '0');
        if (value > INT_MAX)
            return INT_MAX;
    }
    return static_cast<int>(value);
}

// Reads exactly `width` digits at `pos`; a stored timestamp that is cut short or holds
// anything else cannot name a moment.
int fixedField(const QString& text, qsizetype pos, int width) {
    if (text.size() < pos + width)
        throw InvalidDateText("date text too short: " + text.toStdString());
    int value = 0;
    for (int i = 0; i < width; ++i) {
        QChar c = text.at(pos + i);
        if (!isAsciiDigit(c))
            throw InvalidDateText("date text is not all digits: " + text.toStdString());
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

// Local time fields of a moment. When the C library cannot convert it, the fields get values
// no real date has, so that callers still produce a text and the fault is visible in it.
std::tm localFields(std::time_t time, bool* ok = nullptr) {
    std::tm fields{};
    bool converted = localtime_r(&time, &fields) != nullptr;
    if (!converted) {
        fields = std::tm{};
        fields.tm_sec = -1;
        fields.tm_min = -1;
        fields.tm_hour = -1;
        fields.tm_mday = 0;
        fields.tm_mon = -1; // written as month 0
        fields.tm_year = -1900;
    }
    if (ok)
        *ok = converted;
    return fields;
}

// Builds a local moment, leaving daylight saving to the system so that summer and winter
// times both come out as written.
std::time_t makeLocal(int year, int month, int day, int hour, int minute) {
    std::tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = 0;
    fields.tm_isdst = -1;
    std::time_t result = std::mktime(&fields);
    if (result == static_cast<std::time_t>(-1))
        throw InvalidDateText("no such local time");
    return result;
}

} // namespace

// ---- Glucose --------------------------------------------------------------------------

QString formatGlucose(int value, int unit) {
    if (unit == kGlucoseUnitMmol)
        return QString::asprintf("%2.1f", value / 10.0);
    return QString::asprintf("%d", value);
}

bool isValidGlucoseEntry(const QString& text, int unit) {
    const bool mmol = unit == kGlucoseUnitMmol;
    for (QChar c : text) {
        if (isAsciiDigit(c))
            continue;
        if (mmol && c == QLatin1Char('.'))
            continue;
        return false;
    }
    qsizetype point = text.indexOf(QLatin1Char('.'));
    if (point < 0)
        return true;
    if (!mmol)
        return false;
    // Tenths are all that is stored; a second decimal would be silently lost.
    return text.size() - point - 1 < 2;
}

int parseGlucoseEntry(const QString& text) {
    qsizetype point = text.indexOf(QLatin1Char('.'));
    if (point < 0)
        return leadingNumber(text);
    // Drop the point and keep one decimal: the stored value is in tenths.
    QString shifted = text.left(point);
    if (point + 1 < text.size())
        shifted += text.at(point + 1);
    return leadingNumber(shifted);
}

int mmolTenthsToMgDl(int tenths) {
    // Taken wide so that no stored value can overflow the product.
    return static_cast<int>(static_cast<long long>(tenths) * 18 / 10);
}

// ---- Dosage lists ----------------------------------------------------------------------

std::vector<DosageToken> dosageTokens(const QString& text) {
    std::vector<DosageToken> tokens;
    for (const QString& token : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        qsizetype end = 0;
        while (end < token.size() &&
               (isAsciiDigit(token.at(end)) || token.at(end) == QLatin1Char('.')))
            ++end;
        // The whole amount: a total counts every digit up to the hundredths, and an amount
        // cut to a few characters would be another dose.
        DosageEntry entry{end < token.size() ? token.at(end) : QChar(), token.left(end)};
        tokens.push_back({std::move(entry), token});
    }
    return tokens;
}

std::vector<DosageEntry> splitDosage(const QString& text, int maxEntries) {
    std::vector<DosageEntry> entries;
    if (text.size() < 2 || maxEntries <= 0)
        return entries;
    for (DosageToken& token : dosageTokens(text)) {
        if (static_cast<int>(entries.size()) >= maxEntries)
            break;
        entries.push_back(std::move(token.entry));
    }
    return entries;
}

QString composeDosage(const std::vector<DosageEntry>& entries) {
    QString text;
    for (const DosageEntry& entry : entries) {
        if (!text.isEmpty())
            text += QLatin1Char(' ');
        text += entry.amount;
        if (!entry.code.isNull())
            text += entry.code;
    }
    return text;
}

bool isValidDosageAmount(const QString& text) {
    if (text.isEmpty())
        return false;
    int before = 0;
    int after = 0;
    bool seenPoint = false;
    for (QChar c : text) {
        if (c == QLatin1Char('.')) {
            if (seenPoint)
                return false;
            seenPoint = true;
        } else if (isAsciiDigit(c)) {
            ++(seenPoint ? after : before);
        } else {
            return false;
        }
    }
    return before <= 3 && after <= 2;
}

int dosageInsulinHundredths(const QString& text, const MedicationLookup& medications) {
    constexpr int kMaxCountedEntries = 5;
    long long total = 0;
    for (const DosageEntry& entry : splitDosage(text, kMaxCountedEntries)) {
        if (entry.amount.isEmpty() || entry.code.isNull())
            continue;
        std::optional<MedicationFlags> flags = medications ? medications(entry.code) : std::nullopt;
        if (!flags || !flags->isInsulin || !flags->includeInTotals)
            continue;
        qsizetype point = entry.amount.indexOf(QLatin1Char('.'));
        int units = leadingNumber(point < 0 ? QStringView(entry.amount)
                                            : QStringView(entry.amount).left(point));
        int hundredths = 0;
        if (point >= 0) {
            // Two decimals are read as a two-digit number, a missing one counting as 0, so
            // "5.5" is 50 hundredths and anything past the second decimal is dropped.
            for (int i = 1; i <= 2; ++i) {
                qsizetype at = point + i;
                int digit = 0;
                if (at < entry.amount.size() && isAsciiDigit(entry.amount.at(at)))
                    digit = entry.amount.at(at).unicode() - '0';
                hundredths = hundredths * 10 + digit;
            }
        }
        total += static_cast<long long>(units) * 100 + hundredths;
    }
    // Amounts are whole, so a list written by something other than the entry dialog may
    // hold more than a day column can: the total stops at the largest one.
    return static_cast<int>(std::min<long long>(total, INT_MAX));
}

int entryInsulinHundredths(const QString& medicationDosage, const QString& correctionDosage,
                           const MedicationLookup& medications) {
    const long long total =
        static_cast<long long>(dosageInsulinHundredths(medicationDosage, medications)) +
        dosageInsulinHundredths(correctionDosage, medications);
    return static_cast<int>(std::min<long long>(total, INT_MAX));
}

// ---- Delivery --------------------------------------------------------------------------

QString deliveryName(int code) {
    switch (code) {
    case kDeliveryPump:
        return QStringLiteral("Pump");
    case kDeliveryInjection:
        return QStringLiteral("Injection");
    case kDeliveryOral:
        return QStringLiteral("Oral");
    default:
        return QStringLiteral("Unknown");
    }
}

std::vector<DeliveryChoice> deliveryChoices() {
    return {{QStringLiteral("Injection"), kDeliveryInjection},
            {QStringLiteral("Pump"), kDeliveryPump},
            {QStringLiteral("Oral"), kDeliveryOral}};
}

int deliveryChoiceIndex(int code) {
    const std::vector<DeliveryChoice> choices = deliveryChoices();
    for (std::size_t i = 0; i < choices.size(); ++i) {
        if (choices[i].code == code)
            return static_cast<int>(i);
    }
    return 0;
}

// ---- Dates and times -------------------------------------------------------------------

QString toDateTimeText(std::time_t time) {
    std::tm f = localFields(time);
    return QString::asprintf("%4.4d%2.2d%2.2d%2.2d%2.2d%2.2d", f.tm_year + 1900, f.tm_mon + 1,
                             f.tm_mday, f.tm_hour, f.tm_min, f.tm_sec);
}

QString toDateText(std::time_t time) {
    return toDateTimeText(time).left(8);
}

QString padDateText(const QString& text) {
    return text.left(8).leftJustified(14, QLatin1Char('0'));
}

std::time_t fromDateTimeText(const QString& text) {
    const int year = fixedField(text, 0, 4);
    const int month = fixedField(text, 4, 2);
    const int day = fixedField(text, 6, 2);
    const int hour = fixedField(text, 8, 2);
    const int minute = fixedField(text, 10, 2);
    if (year < 1900 || month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59)
        throw InvalidDateText("date text out of range: " + text.toStdString());
    return makeLocal(year, month, day, hour, minute);
}

std::time_t fromDateText(const QString& text) {
    return fromDateTimeText(padDateText(text));
}

QString formatTimeOfDay(std::time_t time, bool military) {
    std::tm f = localFields(time);
    return formatTimeOfDay(f.tm_hour, f.tm_min, military);
}

QString formatTimeOfDay(int hour24, int minute, bool military) {
    if (military)
        return QString::asprintf("%2.2d:%2.2d", hour24, minute);
    int hour = hour24 % 12;
    if (hour == 0)
        hour = 12;
    return QString::asprintf("%d:%2.2d %s", hour, minute, hour24 < 12 ? "am" : "pm");
}

QString formatDateAtTime(const QString& dateText, const QString& dateTimeText, bool military) {
    return QStringLiteral("%1 @ %2").arg(dateText,
                                         formatTimeOfDay(fromDateTimeText(dateTimeText), military));
}

std::time_t clockTimeToday(const QString& text, const Clock& clock) {
    std::tm today = localFields(clock.now());
    const int hour = text.size() < 2 ? 0 : leadingNumber(text);
    const int minute = text.size() <= 3 ? 0 : leadingNumber(QStringView(text).mid(3));
    std::tm fields{};
    fields.tm_year = today.tm_year;
    fields.tm_mon = today.tm_mon;
    fields.tm_mday = today.tm_mday;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = 0;
    fields.tm_isdst = -1;
    return std::mktime(&fields);
}

QString shortDateText(const QString& stored) {
    return stored.mid(4, 2) + QLatin1Char('/') + stored.mid(6, 2) + QLatin1Char('/') +
           stored.left(4);
}

YearsAndMonths yearsAndMonthsBetween(const QString& fromDate, const QString& toDate,
                                     const Clock& clock) {
    const QString end = toDate.isEmpty() ? toDateText(clock.now()) : toDate;
    const int fromYear = leadingNumber(QStringView(fromDate).left(4));
    const int fromMonth = leadingNumber(QStringView(fromDate).mid(4, 2));
    const int toYear = leadingNumber(QStringView(end).left(4));
    const int toMonth = leadingNumber(QStringView(end).mid(4, 2));
    if (fromMonth > toMonth)
        return {toYear - fromYear - 1, toMonth - fromMonth + 12};
    return {toYear - fromYear, toMonth - fromMonth};
}

QString timePickerFormat(bool military) {
    return military ? QStringLiteral("HH:mm") : QStringLiteral("hh:mm tt");
}

QString formatTime(std::time_t time, const char* pattern) {
    bool ok = false;
    std::tm fields = localFields(time, &ok);
    if (!ok)
        return {};
    // The program speaks English whatever the desktop's language: month and day names and
    // AM/PM come from the C locale (a German one, say, has no AM/PM at all).
    static const locale_t english = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    char buffer[256];
    std::size_t length = english ? strftime_l(buffer, sizeof buffer, pattern, &fields, english)
                                 : std::strftime(buffer, sizeof buffer, pattern, &fields);
    return QString::fromLatin1(buffer, static_cast<qsizetype>(length));
}

// ---- Slots -----------------------------------------------------------------------------

const SampleTypeAbs* slotForTime(std::time_t time, std::span<const SampleTypeAbs* const> slotList) {
    if (slotList.empty())
        return nullptr;
    const QString timeText = formatTime(time, "%H%M");
    const SampleTypeAbs* found = slotList.front();
    for (const SampleTypeAbs* slot : slotList) {
        if (timeText < slot->getSampleTime())
            break;
        found = slot;
    }
    return found;
}

const SampleTypeAbs* slotForTime(std::time_t time,
                                 const std::vector<std::unique_ptr<SampleType>>& slotList) {
    std::vector<const SampleTypeAbs*> view;
    view.reserve(slotList.size());
    for (const auto& slot : slotList)
        view.push_back(slot.get());
    return slotForTime(time, std::span<const SampleTypeAbs* const>(view));
}

// ---- Miscellaneous ---------------------------------------------------------------------

QString spaceEmptyLines(const QString& text) {
    // A blank line would otherwise collapse when the note is drawn line by line.
    static const QString kEmptyLine = QStringLiteral("\r\n\r\n");
    static const QString kSpacedLine = QStringLiteral("\r\n \r\n");
    QString result;
    result.reserve(text.size());
    qsizetype from = 0;
    for (;;) {
        qsizetype at = text.indexOf(kEmptyLine, from);
        if (at < 0)
            break;
        result += QStringView(text).mid(from, at - from);
        result += kSpacedLine;
        from = at + kEmptyLine.size();
    }
    result += QStringView(text).mid(from);
    return result;
}

bool copyFileReporting(const QString& source, const QString& target, Prompts& prompts) {
    std::error_code error;
    const std::filesystem::path from(QFile::encodeName(source).toStdString());
    const std::filesystem::path to(QFile::encodeName(target).toStdString());
    if (std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing,
                                   error))
        return true;
    QString reason = error ? QString::fromLocal8Bit(error.message()) : QString();
    if (reason.isEmpty())
        reason = QStringLiteral("Unknown Recoverable Error");
    prompts.information(QStringLiteral("Error"), reason);
    return false;
}

std::optional<QString> extractQuotedValue(const QString& text, const QString& key) {
    qsizetype at = text.indexOf(key);
    if (at < 0)
        return std::nullopt;
    // Skip the equals sign and the opening quote.
    qsizetype start = at + key.size() + 2;
    if (start > text.size())
        return std::nullopt;
    qsizetype end = text.indexOf(QLatin1Char('"'), start);
    if (end < 0)
        return std::nullopt;
    return text.mid(start, end - start);
}
