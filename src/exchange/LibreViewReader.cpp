#include "exchange/LibreViewReader.h"

#include "exchange/CsvFields.h"
#include "exchange/MeterFileText.h"
#include "storage/Conversions.h"

#include <QDate>
#include <QIODevice>

#include <optional>

namespace {

// The export begins with a line of the report's details and then the header; a file whose
// details line was taken out by hand is read as well.
constexpr int kHeaderSearchLines = 3;
// A quoted note may run over a few lines. A quote still open after this many is a quote
// never closed, and the line is read on its own.
constexpr int kMaxJoinedLines = 8;
// No meter or sensor reads higher; a larger number in a glucose column is not a glucose.
constexpr int kMaxMgDl = 999;

enum class Unit { MgDl, Mmol };

struct GlucoseColumn {
    int index = -1;
    Unit unit = Unit::MgDl;
};

struct Columns {
    int timestamp = -1;
    int type = -1;
    GlucoseColumn historic;
    GlucoseColumn strip;
    int rapid = -1;
    int longActing = -1;
    int carbs = -1;
    int notes = -1;

    bool found() const { return timestamp >= 0 && type >= 0; }
};

// A header as compared: lower case, hyphens as blanks, runs of blanks as one.
QString normalised(const QString& header) {
    QString text = header.toLower();
    text.replace(QLatin1Char('-'), QLatin1Char(' '));
    return text.simplified();
}

// The unit a glucose column's header names; nothing when it names none, since a value
// without its unit cannot be read.
std::optional<Unit> unitOf(const QString& header) {
    if (header.contains(QLatin1String("mmol/l")))
        return Unit::Mmol;
    if (header.contains(QLatin1String("mg/dl")))
        return Unit::MgDl;
    return std::nullopt;
}

void takeGlucose(GlucoseColumn& column, int index, const QString& header) {
    if (const std::optional<Unit> unit = unitOf(header); unit && column.index < 0)
        column = {index, *unit};
}

Columns columnsOf(const QStringList& headers) {
    Columns columns;
    const auto take = [](int& column, int index) {
        if (column < 0)
            column = index;
    };
    for (int i = 0; i < headers.size(); ++i) {
        const QString h = normalised(headers[i]);
        if (h == QLatin1String("device timestamp") || h == QLatin1String("timestamp"))
            take(columns.timestamp, i);
        else if (h == QLatin1String("record type"))
            take(columns.type, i);
        else if (h.startsWith(QLatin1String("historic glucose")))
            takeGlucose(columns.historic, i, h);
        else if (h.startsWith(QLatin1String("strip glucose")))
            takeGlucose(columns.strip, i, h);
        else if (h == QLatin1String("rapid acting insulin (units)") ||
                 h == QLatin1String("rapid acting insulin"))
            take(columns.rapid, i);
        else if (h == QLatin1String("long acting insulin (units)") ||
                 h == QLatin1String("long acting insulin value (units)") ||
                 h == QLatin1String("long acting insulin"))
            take(columns.longActing, i);
        else if (h == QLatin1String("carbohydrates (grams)") ||
                 h == QLatin1String("carbohydrates (g)"))
            take(columns.carbs, i);
        else if (h == QLatin1String("notes") || h == QLatin1String("note"))
            take(columns.notes, i);
    }
    return columns;
}

// A device timestamp split into its numbers. The first two are day and month in either
// order, unless the year comes first.
struct Stamp {
    int first = 0;
    int second = 0;
    int year = 0;
    int hour = 0;
    int minute = 0;
    int seconds = 0;
    bool yearFirst = false;
};

// Reads a run of `minWidth` to `maxWidth` ASCII digits at `pos`, moving past them.
bool digitsAt(QStringView text, qsizetype& pos, int minWidth, int maxWidth, int& value) {
    value = 0;
    int width = 0;
    while (pos < text.size() && width < maxWidth && text[pos].isDigit() &&
           text[pos].unicode() < 128) {
        value = value * 10 + (text[pos].unicode() - u'0');
        ++pos;
        ++width;
    }
    return width >= minWidth;
}

bool dateSeparator(QChar c) {
    return c == u'-' || c == u'/' || c == u'.';
}

// "DD-MM-YYYY HH:MM", "MM-DD-YYYY HH:MM" or "YYYY-MM-DD HH:MM", with '/' or '.' as well, and
// optional seconds and AM/PM.
std::optional<Stamp> stampOf(const QString& cell) {
    const QString text = cell.simplified();
    const QStringView view(text);
    Stamp stamp;
    qsizetype pos = 0;
    int a = 0;
    int b = 0;
    int c = 0;
    if (!digitsAt(view, pos, 1, 4, a) || pos >= view.size() || !dateSeparator(view[pos]))
        return std::nullopt;
    const QChar separator = view[pos];
    const bool yearFirst = pos == 4;
    ++pos;
    if (!digitsAt(view, pos, 1, 2, b) || pos >= view.size() || view[pos] != separator)
        return std::nullopt;
    ++pos;
    if (!digitsAt(view, pos, yearFirst ? 1 : 4, yearFirst ? 2 : 4, c))
        return std::nullopt;
    if (pos >= view.size() || view[pos] != u' ')
        return std::nullopt;
    ++pos;
    if (!digitsAt(view, pos, 1, 2, stamp.hour) || pos >= view.size() || view[pos] != u':' ||
        !digitsAt(view, ++pos, 2, 2, stamp.minute))
        return std::nullopt;
    if (pos < view.size() && view[pos] == u':' && !digitsAt(view, ++pos, 2, 2, stamp.seconds))
        return std::nullopt;
    if (pos < view.size()) {
        const QStringView rest = view.sliced(pos).trimmed();
        const bool pm = rest.compare(QLatin1String("PM"), Qt::CaseInsensitive) == 0;
        const bool am = rest.compare(QLatin1String("AM"), Qt::CaseInsensitive) == 0;
        if (!pm && !am)
            return std::nullopt;
        if (stamp.hour < 1 || stamp.hour > 12)
            return std::nullopt;
        stamp.hour = stamp.hour % 12 + (pm ? 12 : 0);
    }
    if (stamp.hour > 23 || stamp.minute > 59 || stamp.seconds > 59)
        return std::nullopt;
    stamp.yearFirst = yearFirst;
    stamp.year = yearFirst ? a : c;
    stamp.first = yearFirst ? b : a;
    stamp.second = yearFirst ? c : b;
    if (stamp.year < 1900)
        return std::nullopt;
    return stamp;
}

QDate dateOf(const Stamp& stamp, bool dayFirst) {
    if (stamp.yearFirst)
        return QDate(stamp.year, stamp.first, stamp.second);
    return dayFirst ? QDate(stamp.year, stamp.second, stamp.first)
                    : QDate(stamp.year, stamp.first, stamp.second);
}

QString timeText(const Stamp& stamp, bool dayFirst) {
    return dateOf(stamp, dayFirst).toString(QStringLiteral("yyyyMMdd")) +
           QString::asprintf("%02d%02d%02d", stamp.hour, stamp.minute, stamp.seconds);
}

struct Glucose {
    int mgDl = 0;
    int rangeFlag = 0;
};

// A glucose cell in the column's unit; mmol/L is read to tenths (further decimals are
// dropped, as the logbook keeps tenths) and converted as the logbook converts it.
std::optional<Glucose> glucoseOf(const QString& cell, Unit unit) {
    const QString text = cell.trimmed();
    const QString upper = text.toUpper();
    if (upper == QLatin1String("HI") || upper == QLatin1String("HIGH"))
        return Glucose{CgmReading::kHighMgDl, 1};
    if (upper == QLatin1String("LO") || upper == QLatin1String("LOW"))
        return Glucose{CgmReading::kLowMgDl, -1};
    const std::optional<CsvFields::Decimal> number = CsvFields::decimal(text, 3);
    if (!number)
        return std::nullopt;
    const int value = unit == Unit::Mmol ? mmolTenthsToMgDl(number->whole * 10 + number->tenths())
                                         : number->whole;
    if (value <= 0 || value > kMaxMgDl)
        return std::nullopt;
    return Glucose{value, 0};
}

// One record: its first line's number, its fields and its timestamp.
struct Row {
    int line = 0;
    QStringList fields;
    Stamp stamp;
    int type = 0;
};

QString quotedLine(const QStringList& lines, int line) {
    return MeterFileText::quoted(lines.value(line - 1));
}

class Reading {
public:
    Reading(const QStringList& lines, const QString& fileName)
        : m_lines(lines), m_fileName(fileName) {}

    CgmExport read();

private:
    bool findHeader();
    void collectRows();
    // Sets m_dayFirst, or the refusal when the rows do not tell one order.
    bool decideOrder();
    void readRow(const Row& row);
    void readEvents(const Row& row, const QString& time);

    const QStringList& m_lines;
    const QString& m_fileName;
    QChar m_delimiter = u',';
    int m_header = -1;
    Columns m_columns;
    std::vector<Row> m_rows;
    bool m_dayFirst = true;
    CgmExport m_result;
};

bool Reading::findHeader() {
    for (int i = 0; i < std::min<int>(kHeaderSearchLines, m_lines.size()); ++i) {
        const QChar delimiter = CsvFields::delimiterOf(m_lines[i]);
        const Columns columns = columnsOf(CsvFields::split(m_lines[i], delimiter));
        if (columns.found()) {
            m_header = i;
            m_columns = columns;
            m_delimiter = delimiter;
            return true;
        }
    }
    m_result.error =
        QStringLiteral("%1 is not a LibreView export: none of its first lines names the columns "
                       "\"Device Timestamp\" and \"Record Type\".")
            .arg(m_fileName);
    return false;
}

void Reading::collectRows() {
    const int needed = std::max(m_columns.timestamp, m_columns.type);
    for (int i = m_header + 1; i < m_lines.size(); ++i) {
        if (m_lines[i].trimmed().isEmpty())
            continue;
        const int first = i;
        QString record = m_lines[i];
        if (CsvFields::quoteOpen(record)) {
            QString joined = record;
            for (int next = first + 1; next < m_lines.size() && next - first < kMaxJoinedLines;
                 ++next) {
                joined += QLatin1Char('\n') + m_lines[next];
                if (!CsvFields::quoteOpen(joined)) {
                    record = joined;
                    i = next;
                    break;
                }
            }
        }
        Row row;
        row.line = first + 1;
        row.fields = CsvFields::split(record, m_delimiter);
        const std::optional<Stamp> stamp =
            row.fields.size() > needed ? stampOf(row.fields[m_columns.timestamp]) : std::nullopt;
        const std::optional<CsvFields::Decimal> type =
            row.fields.size() > needed ? CsvFields::decimal(row.fields[m_columns.type].trimmed(), 2)
                                       : std::nullopt;
        if (!stamp || !type || type->hasFraction) {
            ++m_result.linesIgnored;
            continue;
        }
        row.stamp = *stamp;
        row.type = type->whole;
        m_rows.push_back(std::move(row));
    }
}

bool Reading::decideOrder() {
    const Row* dayOnly = nullptr;
    const Row* monthOnly = nullptr;
    const Row* either = nullptr;
    std::vector<Row> kept;
    for (Row& row : m_rows) {
        const bool day = dateOf(row.stamp, true).isValid();
        const bool month = dateOf(row.stamp, false).isValid();
        if (!day && !month) {
            ++m_result.linesIgnored;
            continue;
        }
        kept.push_back(std::move(row));
    }
    m_rows = std::move(kept);
    for (const Row& row : m_rows) {
        if (row.stamp.yearFirst)
            continue;
        const bool day = dateOf(row.stamp, true).isValid();
        const bool month = dateOf(row.stamp, false).isValid();
        if (day && !month && !dayOnly)
            dayOnly = &row;
        else if (month && !day && !monthOnly)
            monthOnly = &row;
        else if (day && month && !either)
            either = &row;
    }
    if (dayOnly && monthOnly) {
        m_result.error =
            QStringLiteral("%1 cannot be imported: its dates contradict each other. Line %2 "
                           "(\"%3\") has the day first, line %4 (\"%5\") the month first.")
                .arg(m_fileName)
                .arg(dayOnly->line)
                .arg(dayOnly->fields[m_columns.timestamp].trimmed())
                .arg(monthOnly->line)
                .arg(monthOnly->fields[m_columns.timestamp].trimmed());
        return false;
    }
    if (either && !dayOnly && !monthOnly) {
        m_result.error =
            QStringLiteral("%1 cannot be imported: every date in it reads both with the day "
                           "first and with the month first (line %2: \"%3\"), so the day of "
                           "its readings is not known. Export a period that includes a day "
                           "after the 12th of a month.")
                .arg(m_fileName)
                .arg(either->line)
                .arg(either->fields[m_columns.timestamp].trimmed());
        return false;
    }
    m_dayFirst = monthOnly == nullptr;
    return true;
}

void Reading::readRow(const Row& row) {
    const QString time = timeText(row.stamp, m_dayFirst);
    const QString historic = row.fields.value(m_columns.historic.index);
    const QString strip = row.fields.value(m_columns.strip.index);
    ++m_result.recordsRead;
    switch (row.type) {
    case 0: {
        const std::optional<Glucose> glucose = glucoseOf(historic, m_columns.historic.unit);
        if (!glucose) {
            --m_result.recordsRead;
            ++m_result.linesIgnored;
            return;
        }
        m_result.readings.push_back({time, glucose->mgDl, glucose->rangeFlag,
                                     QString::fromLatin1(LibreViewReader::kSource)});
        break;
    }
    case 2: {
        const std::optional<Glucose> glucose = glucoseOf(strip, m_columns.strip.unit);
        if (!glucose) {
            --m_result.recordsRead;
            ++m_result.linesIgnored;
            return;
        }
        // A meter's own limits are not the sensor's: an out-of-range strip value is kept as
        // the note it is rather than as a number the meter never gave.
        if (glucose->rangeFlag != 0) {
            CgmEvent note = CgmEvent::at(time, CgmEvent::Kind::Note);
            note.text = QStringLiteral("Strip glucose %1").arg(strip.trimmed().toUpper());
            m_result.events.push_back(std::move(note));
        } else {
            CgmEvent meter = CgmEvent::at(time, CgmEvent::Kind::MeterGlucose);
            meter.glucose = glucose->mgDl;
            m_result.events.push_back(std::move(meter));
        }
        break;
    }
    default:
        // Scans (type 1) repeat the historic trace at other moments; the remaining types carry
        // only the event columns read below.
        break;
    }
    readEvents(row, time);
}

void Reading::readEvents(const Row& row, const QString& time) {
    const QString rapid = CsvFields::dose(row.fields.value(m_columns.rapid));
    if (!rapid.isEmpty()) {
        CgmEvent dose = CgmEvent::at(time, CgmEvent::Kind::RapidInsulin);
        dose.units = rapid;
        m_result.events.push_back(std::move(dose));
    }
    const QString longActing = CsvFields::dose(row.fields.value(m_columns.longActing));
    if (!longActing.isEmpty()) {
        CgmEvent dose = CgmEvent::at(time, CgmEvent::Kind::LongInsulin);
        dose.units = longActing;
        m_result.events.push_back(std::move(dose));
    }
    if (const int grams = CsvFields::grams(row.fields.value(m_columns.carbs)); grams > 0) {
        CgmEvent carbs = CgmEvent::at(time, CgmEvent::Kind::Carbs);
        carbs.carbs = grams;
        m_result.events.push_back(std::move(carbs));
    }
    if (const QString text = row.fields.value(m_columns.notes).trimmed(); !text.isEmpty()) {
        CgmEvent note = CgmEvent::at(time, CgmEvent::Kind::Note);
        note.text = text;
        m_result.events.push_back(std::move(note));
    }
}

CgmExport Reading::read() {
    if (!findHeader())
        return std::move(m_result);
    collectRows();
    if (m_rows.empty()) {
        int first = m_header + 1;
        while (first < m_lines.size() && m_lines[first].trimmed().isEmpty())
            ++first;
        m_result.error =
            first == m_lines.size()
                ? QStringLiteral("%1 holds no LibreView record: no line follows its header.")
                      .arg(m_fileName)
                : QStringLiteral("%1 holds no LibreView record; line %2 cannot be read: \"%3\"")
                      .arg(m_fileName)
                      .arg(first + 1)
                      .arg(quotedLine(m_lines, first + 1));
        return std::move(m_result);
    }
    if (!decideOrder())
        return std::move(m_result);
    if (m_rows.empty()) {
        m_result.error =
            QStringLiteral("%1 holds no LibreView record with a date that exists.").arg(m_fileName);
        return std::move(m_result);
    }
    for (const Row& row : m_rows)
        readRow(row);
    // Rows with dates but no readable value in any of them are not an export either.
    if (m_result.recordsRead == 0)
        m_result.error = QStringLiteral("%1 holds no LibreView record; line %2 cannot be read: "
                                        "\"%3\"")
                             .arg(m_fileName)
                             .arg(m_rows.front().line)
                             .arg(quotedLine(m_lines, m_rows.front().line));
    return std::move(m_result);
}

} // namespace

CgmExport LibreViewReader::read(QIODevice& file, const QString& fileName) {
    QStringList lines;
    CgmExport result;
    if (!MeterFileText::read(file, fileName, lines, result.error))
        return result;
    return Reading(lines, fileName).read();
}
