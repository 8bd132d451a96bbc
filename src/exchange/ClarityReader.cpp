#include "exchange/ClarityReader.h"

#include "exchange/MeterFileText.h"
#include "storage/Conversions.h"

#include <QDate>
#include <QIODevice>
#include <optional>

namespace {

// The stored glucose range of the logbook (mg/dL); anything else is not a reading.
constexpr int kMaxMgDl = 999;
constexpr int kMaxCarbs = 999;
// A dose as it fits a dosage list: at most three digits before the point and two after.
constexpr int kMaxUnitDigits = 3;
constexpr int kMaxUnitDecimals = 2;

// The columns a Clarity export is read by, found by their heads.
struct Columns {
    qsizetype timestamp = -1;
    qsizetype type = -1;
    qsizetype subtype = -1;
    qsizetype glucose = -1;
    qsizetype insulin = -1;
    qsizetype carbs = -1;
    // The glucose column's head names mmol/L: its values are read as tenths and converted.
    bool mmol = false;

    bool found() const { return timestamp >= 0 && type >= 0 && glucose >= 0; }
};

// Splits a line of comma-separated cells. A cell that begins with a double quote runs to the
// closing one (commas included); a doubled quote inside it stands for one quote.
QStringList splitCells(const QString& line) {
    QStringList cells;
    QString cell;
    bool quoted = false;
    bool cellStarted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c != u'"') {
                cell += c;
            } else if (i + 1 < line.size() && line[i + 1] == u'"') {
                cell += c;
                ++i;
            } else {
                quoted = false;
            }
            continue;
        }
        if (c == u',') {
            cells.append(cell.trimmed());
            cell.clear();
            cellStarted = false;
        } else if (c == u'"' && !cellStarted && cell.trimmed().isEmpty()) {
            quoted = true;
            cellStarted = true;
            cell.clear();
        } else {
            cell += c;
            if (!c.isSpace())
                cellStarted = true;
        }
    }
    cells.append(cell.trimmed());
    return cells;
}

QString cellAt(const QStringList& cells, qsizetype column) {
    return column >= 0 && column < cells.size() ? cells[column] : QString();
}

// The heads of a header row, matched by their beginning and in any letter case: the export
// adds the unit or the format in brackets ("Glucose Value (mg/dL)").
Columns columnsOf(const QStringList& cells) {
    Columns columns;
    for (qsizetype i = 0; i < cells.size(); ++i) {
        const QString head = cells[i].toLower();
        const auto is = [&head](const char* name) { return head.startsWith(QLatin1String(name)); };
        if (is("timestamp") && columns.timestamp < 0)
            columns.timestamp = i;
        else if (is("event type") && columns.type < 0)
            columns.type = i;
        else if (is("event subtype") && columns.subtype < 0)
            columns.subtype = i;
        else if (is("glucose value") && columns.glucose < 0) {
            columns.glucose = i;
            columns.mmol = head.contains(QLatin1String("mmol"));
        } else if (is("insulin value") && columns.insulin < 0)
            columns.insulin = i;
        else if (is("carb value") && columns.carbs < 0)
            columns.carbs = i;
    }
    return columns;
}

// "YYYY-MM-DDThh:mm:ss" (a blank in place of the T, and no seconds, are taken as well) as the
// logbook's YYYYMMDDhhmmss; empty when it is not in that form or names no moment.
QString timestampOf(const QString& text) {
    if ((text.size() != 19 && text.size() != 16) || text[4] != u'-' || text[7] != u'-' ||
        (text[10] != u'T' && text[10] != u' ') || text[13] != u':' ||
        (text.size() == 19 && text[16] != u':'))
        return {};
    const QStringView view(text);
    const QStringView year = view.sliced(0, 4);
    const QStringView month = view.sliced(5, 2);
    const QStringView day = view.sliced(8, 2);
    const QStringView hour = view.sliced(11, 2);
    const QStringView minute = view.sliced(14, 2);
    const QStringView second = text.size() == 19 ? view.sliced(17, 2) : QStringView(u"00");
    for (QStringView part : {year, month, day, hour, minute, second})
        if (!MeterFileText::allDigits(part))
            return {};
    if (year.toInt() < 1900 || !QDate(year.toInt(), month.toInt(), day.toInt()).isValid() ||
        hour.toInt() > 23 || minute.toInt() > 59 || second.toInt() > 59)
        return {};
    QString stamp;
    stamp.reserve(14);
    for (QStringView part : {year, month, day, hour, minute, second})
        stamp += part;
    return stamp;
}

// A decimal number as tenths ("6.7" is 67, "7" is 70); nothing when it is not one.
std::optional<int> tenthsOf(const QString& text) {
    const qsizetype point = text.indexOf(u'.');
    const QStringView whole = QStringView(text).left(point < 0 ? text.size() : point);
    const QStringView fraction = point < 0 ? QStringView() : QStringView(text).sliced(point + 1);
    if (!MeterFileText::allDigits(whole) || whole.size() > 4 ||
        (point >= 0 && !MeterFileText::allDigits(fraction)))
        return std::nullopt;
    return whole.toInt() * 10 + (fraction.isEmpty() ? 0 : fraction[0].unicode() - u'0');
}

// A glucose value in mg/dL: whole mg/dL ("123", a decimal part dropped) or, from a mmol/L
// column, tenths converted as the logbook converts them (x 18 / 10, truncated).
std::optional<int> glucoseOf(const QString& text, bool mmol) {
    const std::optional<int> tenths = tenthsOf(text);
    if (!tenths)
        return std::nullopt;
    const int mgdl = mmol ? mmolTenthsToMgDl(*tenths) : *tenths / 10;
    if (mgdl < 1 || mgdl > kMaxMgDl)
        return std::nullopt;
    return mgdl;
}

// Insulin units as a dose is written: no leading zeros but one, no trailing zeros after the
// point ("4.50" is "4.5", "4.0" is "4"); empty when it is not a number of units above 0.
QString unitsOf(const QString& text) {
    const qsizetype point = text.indexOf(u'.');
    QString whole = point < 0 ? text : text.left(point);
    QString fraction = point < 0 ? QString() : text.mid(point + 1);
    if (!MeterFileText::allDigits(whole) ||
        (point >= 0 && !fraction.isEmpty() && !MeterFileText::allDigits(fraction)))
        return {};
    while (whole.size() > 1 && whole[0] == u'0')
        whole.remove(0, 1);
    if (whole.isEmpty())
        whole = QStringLiteral("0");
    if (fraction.size() > kMaxUnitDecimals) {
        // A pump's finer steps (0.125 u) are kept to the hundredth a dosage holds, half up.
        const bool up = fraction[kMaxUnitDecimals] >= u'5';
        fraction.truncate(kMaxUnitDecimals);
        if (up) {
            const long hundredths = (whole + fraction).toLong() + 1;
            whole = QString::number(hundredths / 100);
            fraction = QStringLiteral("%1").arg(hundredths % 100, 2, 10, QLatin1Char('0'));
        }
    }
    while (fraction.endsWith(u'0'))
        fraction.chop(1);
    if (whole.size() > kMaxUnitDigits || (whole == QStringLiteral("0") && fraction.isEmpty()))
        return {};
    return fraction.isEmpty() ? whole : whole + u'.' + fraction;
}

// Whole grams (a decimal part dropped); nothing when it is not a number from 1 to kMaxCarbs.
std::optional<int> carbsOf(const QString& text) {
    const std::optional<int> tenths = tenthsOf(text);
    if (!tenths || *tenths / 10 < 1 || *tenths / 10 > kMaxCarbs)
        return std::nullopt;
    return *tenths / 10;
}

// What one row after the header is.
enum class Row {
    Unreadable, // not a record of the format, or one whose values cannot be read
    Skipped,    // a record the logbook does not keep (patient, device, alerts, ...)
    Reading,
    Event,
};

Row readRow(const QStringList& cells, const Columns& columns, CgmExport& out) {
    const QString type = cellAt(cells, columns.type).toLower();
    if (type.isEmpty())
        return Row::Unreadable;
    const bool egv = type == QLatin1String("egv");
    const bool calibration = type == QLatin1String("calibration");
    const bool insulin = type == QLatin1String("insulin");
    const bool carbs = type == QLatin1String("carbs");
    // Rows of any other type are passed over whole: nothing of them is looked at, so nothing
    // personal in them is kept.
    if (!egv && !calibration && !insulin && !carbs)
        return Row::Skipped;

    const QString time = timestampOf(cellAt(cells, columns.timestamp));
    if (time.isEmpty())
        return Row::Unreadable;
    const QString glucose = cellAt(cells, columns.glucose);
    if (egv) {
        CgmReading reading;
        reading.time = time;
        reading.source = QString::fromLatin1(ClarityReader::kSource);
        if (glucose.compare(QLatin1String("High"), Qt::CaseInsensitive) == 0) {
            reading.glucose = CgmReading::kHighMgDl;
            reading.rangeFlag = 1;
        } else if (glucose.compare(QLatin1String("Low"), Qt::CaseInsensitive) == 0) {
            reading.glucose = CgmReading::kLowMgDl;
            reading.rangeFlag = -1;
        } else if (const std::optional<int> value = glucoseOf(glucose, columns.mmol)) {
            reading.glucose = *value;
        } else {
            return Row::Unreadable;
        }
        out.readings.push_back(std::move(reading));
        return Row::Reading;
    }

    CgmEvent event;
    // Entries are kept to the minute, as the logbook's own are: a dose and the carbohydrates
    // entered seconds apart on the receiver fill one entry.
    event.time = time.left(12) + QStringLiteral("00");
    if (calibration) {
        const std::optional<int> value = glucoseOf(glucose, columns.mmol);
        if (!value)
            return Row::Unreadable;
        event.kind = CgmEvent::Kind::MeterGlucose;
        event.glucose = *value;
    } else if (insulin) {
        const QString subtype = cellAt(cells, columns.subtype).toLower();
        if (subtype == QLatin1String("fast-acting"))
            event.kind = CgmEvent::Kind::RapidInsulin;
        else if (subtype == QLatin1String("long-acting"))
            event.kind = CgmEvent::Kind::LongInsulin;
        else
            return Row::Skipped; // an insulin of no known kind names no medication
        event.units = unitsOf(cellAt(cells, columns.insulin));
        if (event.units.isEmpty())
            return Row::Unreadable;
    } else {
        const std::optional<int> grams = carbsOf(cellAt(cells, columns.carbs));
        if (!grams)
            return Row::Unreadable;
        event.kind = CgmEvent::Kind::Carbs;
        event.carbs = *grams;
    }
    out.events.push_back(std::move(event));
    return Row::Event;
}

} // namespace

CgmExport ClarityReader::read(QIODevice& file, const QString& fileName) {
    CgmExport out;
    QStringList lines;
    if (!MeterFileText::read(file, fileName, lines, out.error))
        return out;

    // The header row comes first; anything before it (a title some exports carry) is passed
    // over. A file without one is not a Clarity export.
    qsizetype header = 0;
    Columns columns;
    for (; header < lines.size(); ++header) {
        columns = columnsOf(splitCells(lines[header]));
        if (columns.found())
            break;
    }
    if (!columns.found()) {
        out.error = MeterFileText::noRecordProblem(fileName, QStringLiteral("Clarity"), lines);
        return out;
    }
    for (qsizetype i = 0; i < header; ++i)
        if (!lines[i].trimmed().isEmpty())
            ++out.linesIgnored;

    qsizetype firstBad = -1;
    for (qsizetype i = header + 1; i < lines.size(); ++i) {
        if (lines[i].trimmed().isEmpty())
            continue;
        const Row row = readRow(splitCells(lines[i]), columns, out);
        if (row == Row::Unreadable) {
            ++out.linesIgnored;
            if (firstBad < 0)
                firstBad = i;
            continue;
        }
        ++out.recordsRead;
    }
    if (out.readings.empty() && out.events.empty()) {
        // Patient, device and alert records alone hold nothing the logbook keeps.
        if (out.recordsRead > 0 && firstBad < 0)
            out.error = QStringLiteral("%1 holds no glucose, insulin or carbohydrate record of "
                                       "Clarity: only patient, device and alert records.")
                            .arg(fileName);
        else if (firstBad < 0)
            out.error = QStringLiteral("%1 holds no Clarity record: line %2 is the column heads "
                                       "and no record follows.")
                            .arg(fileName)
                            .arg(header + 1);
        else
            out.error = QStringLiteral("%1 holds no Clarity record; line %2 cannot be read: \"%3\"")
                            .arg(fileName)
                            .arg(firstBad + 1)
                            .arg(MeterFileText::quoted(lines[firstBad]));
    }
    return out;
}
