#include "exchange/BgTrackerReader.h"

#include "storage/Text.h"

#include <QDate>

namespace {

constexpr int kRecordNumberField = 1;
constexpr int kDateField = 2;
constexpr int kTimeField = 3;
constexpr int kGlucoseField = 4;
constexpr int kFirstDoseField = 6;
constexpr int kLastNoteField = 14;

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// A number of one to `maxDigits` digits; -1 otherwise.
int smallNumber(QStringView text, int maxDigits) {
    if (text.isEmpty() || text.size() > maxDigits)
        return -1;
    for (QChar c : text)
        if (!isDigit(c))
            return -1;
    return text.toInt();
}

// The leading digits and decimal point of an amount ("2.5u" is 2.5).
QString leadingAmount(const QString& text) {
    qsizetype end = 0;
    bool point = false;
    while (end < text.size() && (isDigit(text[end]) || (text[end] == u'.' && !point))) {
        point = point || text[end] == u'.';
        ++end;
    }
    return text.left(end);
}

} // namespace

QStringList BgTrackerReader::splitFields(const QString& line) {
    QStringList fields;
    qsizetype pos = 0;
    while (fields.size() < kMaxFields) {
        const qsizetype tab = line.indexOf(u'\t', pos);
        fields.append(
            cutToChars(tab < 0 ? line.mid(pos) : line.mid(pos, tab - pos), kMaxFieldChars));
        if (tab < 0)
            break;
        pos = tab + 1;
    }
    return fields;
}

QString BgTrackerReader::timestampOf(const QString& dateField, const QString& timeField) {
    const QStringList date = dateField.trimmed().split(u'/');
    if (date.size() != 3)
        return {};
    const int month = smallNumber(date[0], 2);
    const int day = smallNumber(date[1], 2);
    const int year = date[2].size() == 4 ? smallNumber(date[2], 4) : -1;
    if (year < 1900 || !QDate(year, month, day).isValid())
        return {};

    const QString time = timeField.trimmed();
    const qsizetype blank = time.indexOf(u' ');
    if (blank < 0)
        return {};
    const QString suffix = time.mid(blank + 1).trimmed().toUpper();
    if (suffix != QStringLiteral("AM") && suffix != QStringLiteral("PM"))
        return {};
    const QStringList clock = time.left(blank).split(u':');
    if (clock.size() != 3)
        return {};
    int hour = smallNumber(clock[0], 2);
    const int minute = smallNumber(clock[1], 2);
    const int second = smallNumber(clock[2], 2);
    if (hour < 1 || hour > 12 || minute < 0 || minute > 59 || second < 0 || second > 59)
        return {};
    if (hour == 12)
        hour = 0;
    if (suffix.contains(u'P'))
        hour += 12;
    return QString::asprintf("%4.4d%2.2d%2.2d%2.2d%2.2d00", year, month, day, hour, minute);
}

int BgTrackerReader::glucoseOf(const QString& text) {
    const QString value = text.trimmed();
    const qsizetype point = value.indexOf(u'.');
    const QStringView whole = point < 0 ? QStringView(value) : QStringView(value).left(point);
    const QStringView tenths = point < 0 ? QStringView() : QStringView(value).sliced(point + 1);
    constexpr int kMaxDigits = 6;
    if (whole.isEmpty() && tenths.isEmpty())
        return 0;
    if (whole.size() > kMaxDigits || tenths.size() > kMaxDigits)
        return 0;
    for (QStringView part : {whole, tenths})
        for (QChar c : part)
            if (!isDigit(c))
                return 0;
    const int units = whole.isEmpty() ? 0 : whole.toInt();
    if (point < 0)
        return units;
    return units * 10 + (tenths.isEmpty() ? 0 : tenths[0].unicode() - u'0');
}

BgTrackerLine BgTrackerReader::read(const QString& text) {
    BgTrackerLine line;
    const QStringList fields = splitFields(text);
    const auto field = [&fields](int index) { return fields.value(index).trimmed(); };
    if (field(kRecordNumberField).isEmpty() || !isDigit(field(kRecordNumberField)[0]))
        return line;
    line.timestamp = timestampOf(field(kDateField), field(kTimeField));
    if (line.timestamp.isEmpty())
        return line;
    line.isRecord = true;
    line.glucose = glucoseOf(field(kGlucoseField));

    // Dose pairs follow one another; the first that is not a dose holds the note instead.
    int noteField = kLastNoteField;
    for (int i = 0; i < kMaxDoses; ++i) {
        const int nameField = kFirstDoseField + 2 * i;
        const QString name = field(nameField);
        const QString amount = field(nameField + 1);
        if (name.isEmpty() || amount.isEmpty() || !isDigit(amount[0])) {
            noteField = nameField;
            break;
        }
        line.doses.push_back({name, leadingAmount(amount)});
    }
    line.note = field(noteField);
    return line;
}
