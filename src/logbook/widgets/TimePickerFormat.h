#pragma once

#include "storage/Conversions.h"

#include <QString>

// The display form of a time picker for the clock style the patient chose, as Qt's time
// edits read it: Qt writes the 12-hour marker "AP" where the stored form says "tt".
inline QString qtTimePickerFormat(bool military) {
    QString format = timePickerFormat(military);
    format.replace(QStringLiteral("tt"), QStringLiteral("AP"));
    return format;
}
