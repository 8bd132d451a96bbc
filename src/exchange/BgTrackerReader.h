#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// What one line of a BG Tracker 4 export file says.
struct BgTrackerLine {
    struct Dose {
        QString name;   // the medication's description
        QString amount; // digits with at most one decimal point
    };

    // A record with a valid date and time; any other line is passed over.
    bool isRecord = false;
    QString timestamp; // YYYYMMDDHHMM00
    int glucose = 0;   // a reading written with a decimal point is in tenths
    std::vector<Dose> doses;
    QString note;
};

// Reads the lines of a BG Tracker 4 export file (tab-separated text). Pure: it touches neither
// the logbook nor any file.
class BgTrackerReader {
public:
    static constexpr int kMaxFields = 15;
    static constexpr int kMaxFieldChars = 99;
    static constexpr int kMaxDoses = 4;

    // Splits a line at its tabs into at most kMaxFields fields of at most kMaxFieldChars
    // characters each; what follows the last field is not read.
    static QStringList splitFields(const QString& line);
    static BgTrackerLine read(const QString& line);

    // "M/D/YYYY" and "h:m:s AM" or "h:m:s PM" (12-hour) as a timestamp whose seconds are
    // "00"; empty when either is not in that form or names no moment.
    static QString timestampOf(const QString& date, const QString& time);
    // Digits, with a decimal point meaning tenths (6.8 is 68); 0 for anything else.
    static int glucoseOf(const QString& text);
};
