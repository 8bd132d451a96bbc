#include "exchange/OneTouchReader.h"

#include "exchange/MeterFileText.h"

#include <QDate>

namespace {

// Field positions of a record.
constexpr int kDateField = 1;
constexpr int kTimeField = 2;
constexpr int kValueField = 3;
constexpr int kTypeField = 6;
constexpr int kDroppedField = 8;
constexpr int kInsulinTypeField = 9;
constexpr int kCommentField = 10;
constexpr int kInsulinNameField = 13;

// Insulin type codes with their position in the insulin-type list; code 7 is named in the
// record itself.
constexpr int kNamedInsulinCode = 7;
constexpr struct {
    int code;
    int index;
} kInsulinCodes[] = {{1, 0}, {2, 1}, {3, 2}, {4, 3}, {5, 4}, {6, 5}, {46, 6}};

// Event codes with their position in the event-name list; any other code takes the last.
constexpr struct {
    int code;
    int index;
} kEventCodes[] = {{1, 0},  {8, 1},  {10, 2},  {11, 3},  {12, 4},  {13, 5},  {14, 6}, {15, 7},
                   {16, 8}, {17, 9}, {18, 10}, {19, 11}, {20, 12}, {21, 13}, {22, 14}};

// Both lists are fixed texts; each is split once.
const QStringList& eventList() {
    static const QStringList names = QString::fromLatin1(OneTouchReader::kEventNames).split(';');
    return names;
}
const QStringList& insulinList() {
    static const QStringList names = QString::fromLatin1(OneTouchReader::kInsulinTypes).split(';');
    return names;
}

// A whole number written with digits only (blanks around it allowed); -1 when it is not one or
// is too large to be a reading.
int wholeNumber(const QString& text) {
    const QString trimmed = text.trimmed();
    if (!MeterFileText::allDigits(trimmed) || trimmed.size() > 9)
        return -1;
    return trimmed.toInt();
}

// An insulin amount: digits with at most one decimal point, and at least one digit.
bool isAmount(const QString& text) {
    int points = 0;
    int digits = 0;
    for (QChar c : text) {
        if (c == u'.')
            ++points;
        else if (c >= u'0' && c <= u'9')
            ++digits;
        else
            return false;
    }
    return points <= 1 && digits > 0;
}

// The announced number after the first colon: blanks skipped, then decimal digits.
int announcedTotal(const QString& field) {
    const qsizetype colon = field.indexOf(u':');
    if (colon < 0)
        return 0;
    qsizetype i = colon + 1;
    while (i < field.size() && (field[i] == u' ' || field[i] == u'\t'))
        ++i;
    long long total = 0;
    for (; i < field.size() && field[i] >= u'0' && field[i] <= u'9'; ++i)
        total = std::min<long long>(total * 10 + (field[i].unicode() - u'0'), 1'000'000'000);
    return static_cast<int>(total);
}

} // namespace

QStringList OneTouchReader::splitFields(const QString& line) {
    QStringList fields;
    qsizetype pos = 0;
    while (fields.size() < kMaxFields) {
        qsizetype comma;
        if (pos < line.size() && line[pos] == u'"') {
            const qsizetype close = line.indexOf(u'"', pos + 1);
            if (close < 0) {
                fields.append(line.mid(pos + 1));
                break;
            }
            fields.append(line.mid(pos + 1, close - pos - 1));
            comma = line.indexOf(u',', close + 1);
        } else {
            comma = line.indexOf(u',', pos);
            fields.append(comma < 0 ? line.mid(pos) : line.mid(pos, comma - pos));
        }
        if (comma < 0)
            break;
        pos = comma + 1;
    }
    return fields;
}

QString OneTouchReader::timestampOf(const QString& dateField, const QString& timeField) {
    const QString date = dateField.trimmed();
    const QString time = timeField.trimmed();
    if (date.size() != 10 || date[2] != u'/' || date[5] != u'/')
        return {};
    if ((time.size() != 5 && time.size() != 8) || time[2] != u':' ||
        (time.size() == 8 && time[5] != u':'))
        return {};
    const QStringView month = QStringView(date).sliced(0, 2);
    const QStringView day = QStringView(date).sliced(3, 2);
    const QStringView year = QStringView(date).sliced(6, 4);
    const QStringView hour = QStringView(time).sliced(0, 2);
    const QStringView minute = QStringView(time).sliced(3, 2);
    for (QStringView part : {month, day, year, hour, minute})
        if (!MeterFileText::allDigits(part))
            return {};
    if (time.size() == 8 && (!MeterFileText::allDigits(QStringView(time).sliced(6, 2)) ||
                             QStringView(time).sliced(6, 2).toInt() > 59))
        return {};
    const int y = year.toInt();
    if (y < 1900 || !QDate(y, month.toInt(), day.toInt()).isValid() || hour.toInt() > 23 ||
        minute.toInt() > 59)
        return {};
    return date.mid(6, 4) + date.mid(0, 2) + date.mid(3, 2) + time.mid(0, 2) + time.mid(3, 2) +
           QStringLiteral("00");
}

QString OneTouchReader::insulinName(const QString& typeCode, const QString& namedInsulin) {
    const int code = wholeNumber(typeCode);
    if (code == kNamedInsulinCode)
        return namedInsulin.trimmed();
    for (const auto& known : kInsulinCodes)
        if (known.code == code)
            return insulinList().at(known.index);
    return {};
}

QString OneTouchReader::eventName(int code) {
    const QStringList& names = eventList();
    for (const auto& known : kEventCodes)
        if (known.code == code)
            return names.at(known.index);
    return QString(names.last()).replace(QStringLiteral("%d"), QString::number(code));
}

QStringList OneTouchReader::eventNames(const QString& comment) {
    QStringList names;
    // Each code is two characters; a last odd character is a code of its own. A character
    // that is not a digit ends the number it is in, as reading a decimal number does.
    for (qsizetype i = 1; i < comment.size(); i += 2) {
        const QStringView pair =
            QStringView(comment).sliced(i, std::min<qsizetype>(2, comment.size() - i));
        int code = 0;
        for (QChar c : pair) {
            if (c < u'0' || c > u'9')
                break;
            code = code * 10 + (c.unicode() - u'0');
        }
        names.append(eventName(code));
    }
    return names;
}

OneTouchLine OneTouchReader::read(const QString& text) {
    OneTouchLine line;
    const QStringList fields = splitFields(text);
    if (fields.size() == 1) {
        if (fields[0].contains(QLatin1String(kTotalMark))) {
            line.kind = OneTouchLine::Kind::Total;
            line.total = announcedTotal(fields[0]);
        }
        return line;
    }
    if (fields.size() != kMaxFields)
        return line;
    line.timestamp = timestampOf(fields[kDateField], fields[kTimeField]);
    if (line.timestamp.isEmpty())
        return line;
    line.kind = OneTouchLine::Kind::Record;
    line.dropped = fields[kDroppedField] == QStringLiteral("-1");

    const QString& value = fields[kValueField];
    switch (wholeNumber(fields[kTypeField])) {
    case 10:
    case 11:
    case 12:
    case 50:
    case 55:
        line.number = wholeNumber(value);
        if (line.number >= 0)
            line.value = wholeNumber(fields[kTypeField]) >= 50 ? OneTouchLine::Value::Carbohydrates
                                                               : OneTouchLine::Value::Glucose;
        else
            line.number = 0;
        break;
    case 30:
        line.amount = value.trimmed();
        line.insulinName = insulinName(fields[kInsulinTypeField], fields[kInsulinNameField]);
        if (isAmount(line.amount) && !line.insulinName.isEmpty())
            line.value = OneTouchLine::Value::Insulin;
        break;
    default:
        break;
    }

    const QString& comment = fields[kCommentField];
    if (!comment.isEmpty() && comment[0] == QChar(kEventMark))
        line.noteLines = eventNames(comment);
    else if (!comment.trimmed().isEmpty())
        line.noteLines.append(comment);
    return line;
}
