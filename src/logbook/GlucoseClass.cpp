#include "logbook/GlucoseClass.h"

GlucoseClass classifyGlucose(int value, const GlucoseRange& range) {
    // The extremes are tested first so that a value beyond them never reads as merely
    // low or high, even when a badly kept range has its limits out of order.
    if (value < range.extLo)
        return GlucoseClass::VeryLow;
    if (value > range.extHi)
        return GlucoseClass::VeryHigh;
    if (value < range.lo)
        return GlucoseClass::Low;
    if (value > range.hi)
        return GlucoseClass::High;
    return GlucoseClass::InRange;
}

GlucoseStyle glucoseStyle(GlucoseClass glucoseClass) {
    GlucoseStyle style;
    switch (glucoseClass) {
    case GlucoseClass::InRange:
        break;
    case GlucoseClass::Low:
    case GlucoseClass::High:
        style.ownTextColor = true;
        style.frame =
            glucoseClass == GlucoseClass::Low ? GlucoseColors::low() : GlucoseColors::high();
        style.text = style.frame;
        style.framed = true;
        break;
    case GlucoseClass::VeryLow:
    case GlucoseClass::VeryHigh:
        style.ownTextColor = true;
        style.text = GlucoseColors::alarmText();
        style.bold = true;
        style.filled = true;
        style.framed = true;
        style.frame =
            glucoseClass == GlucoseClass::VeryLow ? GlucoseColors::low() : GlucoseColors::high();
        break;
    }
    return style;
}
