#pragma once

#include <QString>
#include <QStringList>

// What one line of a OneTouch export file says.
struct OneTouchLine {
    enum class Kind {
        Other,  // not a line of the format (passed over)
        Total,  // announces the number of records
        Record, // a reading with a valid date and time
    };
    // What a record sets; None for record types and insulin kinds that are not read, and for
    // values that are not in the form their type needs.
    enum class Value { None, Glucose, Carbohydrates, Insulin };

    Kind kind = Kind::Other;
    int total = 0;
    // Field 8 was "-1": the meter marks the record as not to be used.
    bool dropped = false;
    QString timestamp; // YYYYMMDDHHMM00
    Value value = Value::None;
    int number = 0;      // glucose or carbohydrates
    QString amount;      // insulin amount as written
    QString insulinName; // the medication the insulin is filed under
    // What the record's comment adds to the entry's note, one line each.
    QStringList noteLines;
};

// Reads the lines of a OneTouch export file (comma-separated text). Pure: it touches neither
// the logbook nor any file.
class OneTouchReader {
public:
    static constexpr int kMaxFields = 16;
    static constexpr const char* kTotalMark = "TOTAL NUMBER";
    // The event names of the comment codes, and the insulin kinds of the type codes 1 to 6
    // and 46, in the order of their codes.
    static constexpr const char* kEventNames =
        "Fasting;Different Food;During Exercise;Before Exercise;After Exercise;Illness;Feel "
        "Hypo;Other;Alternate Site;Stress;Menses;Vacation;EVENT;Laboratory;Control "
        "Solution;Unknown {%d}";
    static constexpr const char* kInsulinTypes =
        "Rapid;Regular;NPH;Lente;Ultralente;Premixed;Glargine";
    // The first character of a comment that is a run of two-digit event codes.
    static constexpr char16_t kEventMark = 0x7F;

    // Splits a line at its commas into at most kMaxFields fields. A field that begins with a
    // double quote runs to the next double quote (commas included); the quotes and whatever
    // follows the closing one up to the next comma are dropped.
    static QStringList splitFields(const QString& line);
    static OneTouchLine read(const QString& line);

    // "MM/DD/YYYY" and "HH:MM" or "HH:MM:SS" (24-hour) as a timestamp with the seconds "00";
    // empty when either is not in that form or names no moment.
    static QString timestampOf(const QString& date, const QString& time);
    // The name of an insulin type code (field 13's name for code 7); empty for other codes.
    static QString insulinName(const QString& typeCode, const QString& namedInsulin);
    // The event names of a comment that begins with kEventMark, one per two-digit code.
    static QStringList eventNames(const QString& comment);
    static QString eventName(int code);
};
