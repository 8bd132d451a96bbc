#include "exchange/LogExport.h"

#include "storage/Conversions.h"
#include "storage/Database.h"
#include "storage/DatabaseFile.h"
#include "storage/SampleTable.h"
#include "storage/Text.h"

#include <QFileInfo>
#include <QSaveFile>
#include <cstdio>

namespace {

// SAMPLE's SAMPLE_TIME: the file lists the newest entry first.
constexpr int kSampleTimeColumn = 5;
constexpr int kDosageWidth = 10;
constexpr char kNoTime[] = "     ";

// The 24-hour "HH:MM" of a stored timestamp, read from its own digits: a time that the
// clock skipped when summer time began is written as it was stored. Five blanks for a text
// that holds no time.
void appendTimeOfDay(QByteArray& out, const QString& timestamp) {
    bool hourOk = false;
    bool minuteOk = false;
    const int hour = QStringView(timestamp).mid(8, 2).toInt(&hourOk);
    const int minute = QStringView(timestamp).mid(10, 2).toInt(&minuteOk);
    if (timestamp.size() < 12 || !hourOk || !minuteOk)
        out += kNoTime;
    else
        out += formatTimeOfDay(hour, minute, true).left(5).toLatin1();
}

// "%3.3ld": at least three digits, zero-padded.
void appendCount(QByteArray& out, long value) {
    char text[24];
    const int length = std::snprintf(text, sizeof text, "%3.3ld", value);
    out.append(text, length);
}

// Left-aligned in a column of exactly `width` characters (not bytes, not UTF-16 units).
void appendFixedWidth(QByteArray& out, const QString& text, int width) {
    const QString cut = cutToChars(text, width);
    out += cut.toUtf8();
    out.append(width - charCount(cut), ' ');
}

} // namespace

QString LogExport::defaultFileName(const QString& patientName, std::time_t today) {
    QString name;
    for (qsizetype i = 0; i < patientName.size(); ++i) {
        const char16_t u = patientName.at(i).unicode();
        const bool letter = (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z');
        // The first character of the name as typed may not be a digit; later ones may.
        const bool digit = u >= u'0' && u <= u'9' && i > 0;
        if (letter || digit)
            name += patientName.at(i);
    }
    return name + formatTime(today, "%Y%m%d");
}

std::optional<LogExport::Format> LogExport::formatOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix();
    if (suffix.compare(QLatin1String("xls"), Qt::CaseInsensitive) == 0)
        return Format::TabDelimited;
    if (suffix.compare(QLatin1String("txt"), Qt::CaseInsensitive) == 0)
        return Format::Text;
    return std::nullopt;
}

QByteArray LogExport::line(const SampleAbs& entry, Format format) {
    const bool tabs = format == Format::TabDelimited;
    const char sep = tabs ? '\t' : ' ';
    const QString& time = entry.getSampleTime();
    QByteArray out;
    out.reserve(80);
    out += shortDateText(time.left(8)).toUtf8();
    out += ' ';
    appendTimeOfDay(out, time);
    out += sep;
    appendCount(out, entry.getGlucoseCnt());
    out += sep;
    appendCount(out, entry.getCarbCnt());
    out += sep;
    if (entry.getMedicationDosage().isEmpty())
        out += kNoTime;
    else
        appendTimeOfDay(out, entry.getInsulinTime());
    out += sep;
    for (const QString* dosage : {&entry.getMedicationDosage(), &entry.getCorrectionDosage()}) {
        if (tabs)
            out += dosage->toUtf8();
        else
            appendFixedWidth(out, *dosage, kDosageWidth);
        out += sep;
    }
    out += '\n';
    return out;
}

bool LogExport::write(Database& db, const QString& path, Format format, QString& error) {
    if (DatabaseFile::isDatabaseFile(path)) {
        error = QStringLiteral("%1 is a database file: an export does not replace it.").arg(path);
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
        return false;
    }
    auto query = SampleTable::selectAll(db, kSampleTimeColumn, false);
    if (!query) {
        error = db.errorText();
        file.cancelWriting();
        return false;
    }
    while (auto entry = SampleTable::getNext(db, *query)) {
        if (file.write(line(*entry, format)) < 0)
            break; // the save file remembers the failure; commit() below reports it
    }
    query->finalize();
    if (db.lastError() != 0) {
        error = db.errorText();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}
