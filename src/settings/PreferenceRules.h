#pragma once

#include <QDate>
#include <QString>
#include <QTime>
#include <array>
#include <functional>
#include <optional>

// The rules behind the Patient, Ranges and Miscellaneous pages, kept apart from the widgets
// so that they can be checked without a screen.

// ---- Glucose limits ----------------------------------------------------------------------

// The extreme limits lie a fifth beyond the target range, in stored units (tenths in the
// millimole unit); the fifth is truncated toward zero.
int extremeLowFor(int low);
int extremeHighFor(int high);

inline constexpr const char* kInvalidGlucoseText = "Invalid Glucose Amount";

// What checking a glucose field makes of its text: nothing when the text is refused,
// otherwise the text the field should show. A whole number in the millimole unit gets ".0",
// so the patient sees the value the way it will be shown everywhere else.
std::optional<QString> checkedGlucoseText(const QString& text, int unit);

// ---- The Ranges page as a whole --------------------------------------------------------------

// The fields of the Ranges page, in the order they are checked.
enum class RangeField {
    Low,
    High,
    ExtremeLow,
    ExtremeHigh,
    SystolicNormal,
    SystolicModerate,
    SystolicHigh,
    DiastolicNormal,
    DiastolicModerate,
    DiastolicHigh,
};
inline constexpr int kRangeFieldCount = 10;
// The texts of the page, indexed by RangeField.
using RangeTexts = std::array<QString, kRangeFieldCount>;

struct RangeRefusal {
    QString text;
    RangeField field;
};

// Everything the page holds must be a value in its plausible range (FieldLimits), and the
// limits must not contradict each other: extreme low <= low <= high <= extreme high, and the
// blood-pressure limits rise from normal to moderate to high. An empty limit is refused, not
// stored as 0. The first refusal in field order, naming the limit; nothing when all pass.
std::optional<RangeRefusal> rangeRefusal(const RangeTexts& texts, int unit);

// ---- Retention -----------------------------------------------------------------------------

// "Please enter an integer between 7 and 9999."
QString retentionRangeText();

// The number of days the text holds, or nothing when it is not a whole number in range.
std::optional<int> retentionDays(const QString& text);

// ---- Stored dates --------------------------------------------------------------------------

// A birth or diagnosis date in the future, or a diagnosis before birth, is refused with a
// message naming the date. Dates never picked (empty or unreadable texts) are not judged.
struct PatientDateRefusal {
    QString text;
    bool onBirthDate; // else the diagnosis date takes the focus
};
std::optional<PatientDateRefusal> patientDatesRefusal(const QString& birthDate,
                                                      const QString& dxDate, const QDate& today);

// The date of a stored date text (year from characters 1-4, month from 5-6, day from 7-8);
// nothing when the text is empty or does not hold a real date.
std::optional<QDate> dateOfText(const QString& text);
// The stored form of a picked date, YYYYMMDD.
QString dateTextOf(const QDate& date);

// A stored date as a picker edits it: the stored text stays exactly as it was until the
// patient picks a date, so an empty or unreadable date survives a visit to the page.
class PickedDate {
public:
    explicit PickedDate(const QString& stored) : m_text(stored) {}

    const QString& text() const { return m_text; }
    // What the picker should show; nothing when the stored text is no date.
    std::optional<QDate> shown() const { return dateOfText(m_text); }
    void pick(const QDate& date) { m_text = dateTextOf(date); }

private:
    QString m_text;
};

// ---- Stored times of day ------------------------------------------------------------------

// How slot start times ("HHMM") and basal start times ("HH:MM") are written.
inline constexpr const char* kSlotTimeFormat = "hhmm";
inline constexpr const char* kBasalTimeFormat = "hh:mm";

// A stored time of day as a picker edits it. The text is read as the hour and minute it
// names, never as a moment of today: on the day the clock springs forward 02:30 does not
// exist and would come back as 03:30. The stored text stays exactly as it was until the
// patient picks another time.
class PickedTime {
public:
    PickedTime(const QString& stored, const char* format) : m_text(stored), m_format(format) {}

    const QString& text() const { return m_text; }
    // The hour and minute the text names; nothing when it names none.
    std::optional<QTime> shown() const;
    // Picking the time the text already names keeps the text.
    void pick(const QTime& time);

private:
    QString m_text;
    const char* m_format;
};

// ---- Patient name --------------------------------------------------------------------------

inline constexpr const char* kNameMissingText = "Please enter the patient's name.";
inline constexpr const char* kNameTakenText = "A patient named %1 already exists.";

// The name keys the patient's own settings, so it may be neither blank nor another patient's.
// The message to show for a refused name; empty when the name is acceptable.
QString patientNameRefusal(const QString& name,
                           const std::function<bool(const QString&)>& otherPatientNamed);
