#pragma once

#include "storage/Preference.h"

#include <QColor>

// Where a glucose value falls against the four limits in force. Every place that colours
// glucose values (the logbook list, the reports) classifies them here, so they agree.
enum class GlucoseClass {
    InRange,  // L <= g <= H
    Low,      // EL <= g < L
    High,     // H < g <= EH
    VeryLow,  // g < EL
    VeryHigh, // g > EH
};

GlucoseClass classifyGlucose(int value, const GlucoseRange& range);

// The colours of the classes.
namespace GlucoseColors {
inline QColor low() {
    return QColor(255, 0, 0);
}
inline QColor high() {
    return QColor(0, 0, 255);
}
// Text of values beyond the extended limits, drawn on a filled cell.
inline QColor alarmText() {
    return QColor(255, 255, 255);
}
} // namespace GlucoseColors

// Background of day rows that stand between entry rows.
inline QColor dayBandColor() {
    return QColor(220, 219, 184);
}

// How a class is drawn. A class without its own text colour keeps the row's text colour
// and background.
struct GlucoseStyle {
    bool ownTextColor = false;
    QColor text;
    bool bold = false;
    bool filled = false;
    bool framed = false;
    QColor frame; // also the fill colour when filled
};

GlucoseStyle glucoseStyle(GlucoseClass glucoseClass);
