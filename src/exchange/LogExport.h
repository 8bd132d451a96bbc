#pragma once

#include <QByteArray>
#include <QString>
#include <ctime>
#include <optional>

class Database;
class SampleAbs;

// Writes the logbook's live entries, newest first, as text a spreadsheet or an editor reads:
// tab-delimited or blank-separated in fixed-width columns, one line per entry.
class LogExport {
public:
    enum class Format { TabDelimited, Text };

    static constexpr const char* kUnknownFormat = "Unknown Format";

    // The patient's name reduced to letters (and digits after the first character), followed
    // by the date of `today` as YYYYMMDD.
    static QString defaultFileName(const QString& patientName, std::time_t today);
    // The format a file name asks for by its extension (".xls" or ".txt" in any letter case);
    // nothing for any other.
    static std::optional<Format> formatOf(const QString& path);
    // One entry's line, line feed included.
    static QByteArray line(const SampleAbs& entry, Format format);
    // Writes the file whole or not at all (an existing file stays as it was when writing
    // fails). False with the reason in `error`.
    static bool write(Database& db, const QString& path, Format format, QString& error);
};
