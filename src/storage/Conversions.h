#pragma once

#include <QString>
#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <vector>

class Clock;
class Prompts;
class SampleType;
class SampleTypeAbs;

// Conversions between the logbook's stored values and text. They keep no state: the glucose
// unit, the clock style, the slots and the medications are passed in by the caller.

// ---- Glucose --------------------------------------------------------------------------

// GLUCOSE_SAMPLE_CODE: 1 = millimoles per litre, kept in tenths; anything else mg/dL.
constexpr int kGlucoseUnitMgDl = 0;
constexpr int kGlucoseUnitMmol = 1;

QString formatGlucose(int value, int unit);
bool isValidGlucoseEntry(const QString& text, int unit);
int parseGlucoseEntry(const QString& text);
// A glucose in tenths of mmol/L as mg/dL: tenths x 18 / 10, truncated, as every stored
// mmol/L value is compared with mg/dL limits.
int mmolTenthsToMgDl(int tenths);

// ---- Dosage lists ----------------------------------------------------------------------

// One item of a dosage list: the medication's one-letter code (NUL when the item has none)
// and the amount as written, whole.
struct DosageEntry {
    QChar code;
    QString amount;
    bool operator==(const DosageEntry&) const = default;
};

// One item of a dosage list as it was written: the entry read from it, and the whole item
// (characters after the code included), for storing an item again exactly as it came.
struct DosageToken {
    DosageEntry entry;
    QString text;
};

// Every item of a dosage list, whatever its length or count.
std::vector<DosageToken> dosageTokens(const QString& text);

// What the insulin totals need to know of a medication.
struct MedicationFlags {
    bool isInsulin = false;
    bool includeInTotals = false;
};
// Finds a medication by its code; nothing when no medication has that code.
using MedicationLookup = std::function<std::optional<MedicationFlags>(QChar code)>;

std::vector<DosageEntry> splitDosage(const QString& text, int maxEntries);
QString composeDosage(const std::vector<DosageEntry>& entries);
bool isValidDosageAmount(const QString& text);
// Insulin of a dosage list in hundredths of a unit, counting only medications that are
// insulins included in totals.
int dosageInsulinHundredths(const QString& text, const MedicationLookup& medications);
int entryInsulinHundredths(const QString& medicationDosage, const QString& correctionDosage,
                           const MedicationLookup& medications);

// ---- Delivery --------------------------------------------------------------------------

constexpr int kDeliveryPump = 0;
constexpr int kDeliveryInjection = 1;
constexpr int kDeliveryOral = 2;

QString deliveryName(int code);
// The choices "Injection", "Pump", "Oral" in that order with their codes, and the position
// of the given code among them (0 when it is not there).
struct DeliveryChoice {
    QString name;
    int code;
};
std::vector<DeliveryChoice> deliveryChoices();
int deliveryChoiceIndex(int code);

// ---- Dates and times -------------------------------------------------------------------

// Thrown by fromDateTimeText / fromDateText for fields out of range.
class InvalidDateText : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

QString toDateTimeText(std::time_t time); // YYYYMMDDhhmmss, local time
QString toDateText(std::time_t time);     // YYYYMMDD
QString padDateText(const QString& text); // a date as a timestamp at midnight
std::time_t fromDateTimeText(const QString& text);
std::time_t fromDateText(const QString& text);
QString formatTimeOfDay(std::time_t time, bool military);
// The same for an hour (0-23) and minute as written in a stored time of day, which no clock
// change can move.
QString formatTimeOfDay(int hour24, int minute, bool military);
QString formatDateAtTime(const QString& dateText, const QString& dateTimeText, bool military);
// An "HH:MM" time of the quick-bolus and basal tables as today's time (today per clock).
std::time_t clockTimeToday(const QString& text, const Clock& clock);
QString shortDateText(const QString& stored);
struct YearsAndMonths {
    int years;
    int months;
};
// An empty end date means today (per clock).
YearsAndMonths yearsAndMonthsBetween(const QString& fromDate, const QString& toDate,
                                     const Clock& clock);
QString timePickerFormat(bool military);
// strftime on local time.
QString formatTime(std::time_t time, const char* pattern);

// ---- Slots -----------------------------------------------------------------------------

// The slot in force at a time: the latest whose start is not after the time, or the first
// when the time is earlier than every slot. Slots are in ascending SAMPLE_TIME order.
const SampleTypeAbs* slotForTime(std::time_t time, std::span<const SampleTypeAbs* const> slotList);
const SampleTypeAbs* slotForTime(std::time_t time,
                                 const std::vector<std::unique_ptr<SampleType>>& slotList);

// ---- Miscellaneous ---------------------------------------------------------------------

QString spaceEmptyLines(const QString& text);
// Copies a file over the target; on failure shows the system's reason under "Error".
bool copyFileReporting(const QString& source, const QString& target, Prompts& prompts);
std::optional<QString> extractQuotedValue(const QString& text, const QString& key);
