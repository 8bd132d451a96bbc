#pragma once

#include <QString>
#include <optional>

// The plausible range of every number the patient types, in one place, so that the entry
// dialog, the calculator, the set-up sheets and the checks agree on what can be stored. Each
// form refuses a number outside its range with a message that names the field and the range;
// nothing outside a range is ever stored in place of what was typed.

// An inclusive range of whole numbers.
struct IntRange {
    int low;
    int high;

    constexpr bool contains(long long value) const { return value >= low && value <= high; }
};

namespace FieldLimits {

// Grams of carbohydrate in one log entry.
inline constexpr IntRange kCarbs{0, 999};
// A glucose reading as stored: whole mg/dL, or tenths of a mmol/L (0.1 to 55.5 mmol/L).
// 0 stands for "no reading" in a log entry and lies outside these ranges.
inline constexpr IntRange kGlucoseMgDl{1, 999};
inline constexpr IntRange kGlucoseMmolTenths{1, 555};
// The quick-bolus settings and the calculator take whole numbers in the patient's unit, so
// in millimoles they end at the largest whole value a log entry can hold.
inline constexpr IntRange kBolusGlucoseMgDl{1, 999};
inline constexpr IntRange kBolusGlucoseMmol{1, 55};
// Grams of carbohydrate one unit of insulin covers.
inline constexpr IntRange kCarbRatio{1, 200};
// The largest dose a log entry holds: three digits and two decimals, in hundredths.
inline constexpr int kMaxDoseHundredths = 99999;
// Blood-pressure limits in mmHg.
inline constexpr IntRange kSystolic{60, 300};
inline constexpr IntRange kDiastolic{30, 200};
// A measured blood pressure in mmHg and a pulse in beats a minute, as a vital record holds
// them (0 is a vital record without a pulse).
inline constexpr IntRange kMeasuredSystolic{50, 300};
inline constexpr IntRange kMeasuredDiastolic{40, 200};
inline constexpr IntRange kPulse{0, 300};
// Grams of carbohydrate in one serving of the food list.
inline constexpr IntRange kServingCarbs{0, 300};
// Days a log entry is kept, and minutes the bolus insulin stays active.
inline constexpr IntRange kRetainDays{7, 9999};
inline constexpr IntRange kInsulinMinutes{30, 300};

// The stored glucose range (tenths in millimoles) and the quick-bolus one (whole units).
IntRange glucose(int unit);
IntRange bolusGlucose(int unit);

} // namespace FieldLimits

// A typed whole number: an optional sign and ASCII digits, blanks around it allowed.
// Nothing for an empty text or anything else ("12.7", "1e3", "12a"). A number too large for
// any range is held at the largest (or smallest) value rather than wrapped, so that it is
// reported as out of range instead of as no number at all.
std::optional<long long> wholeNumber(const QString& text);

// The usual message for an integer out of range: "Please enter an integer between 7 and 9999."
QString integerRangeText(IntRange range);
// The usual message for a text longer than its field: "Please enter no more than 25 characters."
QString textLengthText(int chars);
// "Carbohydrates must be a whole number between 0 and 999."
QString fieldRangeText(const QString& field, IntRange range, const QString& unitName = {});
// A glucose range in the unit the patient reads: "... between 1 and 999 mg/dL." or
// "... between 0.1 and 55.5 mmol/L." (`range` in stored units).
QString glucoseRangeText(const QString& field, IntRange range, int unit, bool whole = false);
