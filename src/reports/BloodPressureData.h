#pragma once

#include <QString>
#include <ctime>
#include <vector>

class LogbookContext;

// Where a blood pressure stands against the patient's two thresholds of its kind.
enum class PressureClass {
    Plain,    // below the moderate threshold
    Moderate, // from the moderate threshold up to below the high one
    High,     // from the high threshold up
};

PressureClass classifyPressure(int value, int moderate, int high);

// The vital history of the last weeks, read before anything is drawn: the page only places
// these texts.
struct BloodPressureData {
    struct Row {
        QString time; // "%a %b %d %H:%M"
        int systolic = 0;
        int diastolic = 0;
        PressureClass systolicClass = PressureClass::Plain;
        PressureClass diastolicClass = PressureClass::Plain;
        QString pulse;  // "%ld", or empty without a pulse
        QString weight; // as entered
        bool hasNote = false;
    };

    QString title;      // "%s's Vital History"
    QString periodText; // "%s through %s"
    // Vitals whose stored time sorts after this text are in the period: the end of the day
    // `weeks` x 7 + 1 days before now, "%Y%m%d99999999".
    QString after;
    std::vector<Row> rows; // newest first
    // For each row with a note, in the rows' order: a line break, the time "%b %d %H:%M", a
    // blank and the note's text.
    QString notes;

    static BloodPressureData gather(LogbookContext& context, int weeks);
};
