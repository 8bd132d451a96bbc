#pragma once

#include "storage/Conversions.h"

#include <QString>

class SampleAbs;
class SampleDateAbs;

// The few lines the graph's balloon shows for the row under the cursor.
namespace BalloonText {

// Shown when the cursor rests where no row is drawn.
inline const QString kNoRow = QStringLiteral("AIR BALL!");

// A day: its date, average glucose and total carbohydrates, and whether it has a note.
QString forDay(const SampleDateAbs& day);
// An entry: date and time, glucose and carbohydrates with the carbohydrate ratio, the doses
// with the time they were given, a new infusion site and whether it has a note.
QString forEntry(const SampleAbs& entry, bool military, const MedicationLookup& medications);

// A date written in full with English names, e.g. "Thursday,Mar 15,2007".
QString longDate(std::time_t time);

} // namespace BalloonText
