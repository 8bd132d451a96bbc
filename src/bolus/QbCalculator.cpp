#include "bolus/QbCalculator.h"

#include "logbook/LogbookContext.h"
#include "storage/Clock.h"
#include "storage/Database.h"
#include "storage/FieldLimits.h"
#include "storage/Preference.h"
#include "storage/QbPreferenceTable.h"
#include "storage/QbRatioTable.h"
#include "storage/QbSensitivityTable.h"
#include "storage/QbTargetTable.h"
#include "storage/Sample.h"
#include "storage/SampleTable.h"
#include "ui/Prompts.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

// The edits take at most five digits, so no amount comes near the limits of int; the
// products are still formed in 64 bits and held at the limits rather than wrapping, so
// that no input can turn a large dose into a negative one.
int saturate(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

template <class Row> int keyOf(const Row& row) {
    return row ? row->getPk() : QbCalculator::kNoRow;
}

} // namespace

void fillQuickBolusEntry(const QuickBolusResult& result, std::time_t now, int glucoseUnit,
                         SampleAbs& entry) {
    const QString stamp = toDateTimeText(now);
    entry.setSampleTime(stamp);
    entry.setInsulinTime(stamp);
    entry.setCarbCnt(result.carbs);
    // The calculator takes whole millimoles while the logbook keeps tenths: 7 mmol/L must
    // reach the entry as 7.0, not as 0.7.
    entry.setGlucoseCnt(glucoseUnit == kGlucoseUnitMmol ? result.glucose * 10 : result.glucose);
    if (result.hasDoses()) {
        entry.setMedicationDosage(result.medicationDosage);
        entry.setCorrectionDosage(result.correctionDosage);
    }
}

bool quickBolusAvailable(Database& db) {
    auto settings = QbPreferenceTable::getByPk(db, QbPreferenceTable::kPk);
    return settings && settings->getUseBol();
}

QbCalculator::QbCalculator(LogbookContext& context) : m_context(context) {}

void QbCalculator::open() {
    Database& db = m_context.database();
    // Without the settings row there is no insulin to write nor an active time; calculate
    // refuses in that case.
    if (auto settings = QbPreferenceTable::getByPk(db, QbPreferenceTable::kPk)) {
        m_code = settings->getMedCode();
        m_minutes = settings->getMedMinutes();
    }
    m_now = m_context.clock().now();
    m_nowText = formatTimeOfDay(m_now, true);
    lookUpSettings();

    m_activeText = QString::fromLatin1(kZeroText);
    m_active = activeInsulinAt(db, m_context.medicationLookup(), m_now, m_minutes);
    m_activeText = formatUnits(m_active);
    m_calculated = false;

    warnOfOverlap();
}

void QbCalculator::lookUpSettings() {
    Database& db = m_context.database();
    auto target = QbTargetTable::findInForce(db, m_nowText);
    m_targetKey = keyOf(target);
    if (target)
        m_target = saturate((std::int64_t{target->getGlucoseLo()} + target->getGlucoseHi()) / 2);
    else
        tell(QString::fromLatin1(kNoTarget));
    // The patient starts from the target, which asks for no correction.
    m_glucose = m_target;

    auto sensitivity = QbSensitivityTable::findInForce(db, m_nowText);
    m_sensitivityKey = keyOf(sensitivity);
    if (sensitivity)
        m_sensitivity = sensitivity->getGlucoseCnt();
    else
        tell(QString::fromLatin1(kNoSensitivity));

    auto ratio = QbRatioTable::findInForce(db, m_nowText);
    m_ratioKey = keyOf(ratio);
    if (ratio)
        m_ratio = ratio->getCarbCnt();
    else
        tell(QString::fromLatin1(kNoRatio));
}

// The estimate uses the settings in force now, while the insulin keeps working for its
// whole active time; when another row takes over before then, the patient should know.
// A table without a live row finds none at either time, so it never counts as overlapping.
void QbCalculator::warnOfOverlap() {
    Database& db = m_context.database();
    const QString later = formatTimeOfDay(m_now + std::time_t{m_minutes} * 60, true);
    const bool overlaps = keyOf(QbTargetTable::findInForce(db, later)) != m_targetKey ||
                          keyOf(QbSensitivityTable::findInForce(db, later)) != m_sensitivityKey ||
                          keyOf(QbRatioTable::findInForce(db, later)) != m_ratioKey;
    if (overlaps)
        tell(QString::fromLatin1(kOverlap));
}

int QbCalculator::activeInsulinAt(Database& db, const MedicationLookup& medications,
                                  std::time_t now, int minutes) {
    // Without an active time no dose can be weighed; calculate refuses before this
    // answer could lower a dose.
    if (minutes <= 0)
        return 0;
    auto query =
        SampleTable::selectInsulinSince(db, toDateTimeText(now - std::time_t{minutes} * 60));
    if (!query)
        return 0;
    std::int64_t active = 0;
    while (auto entry = SampleTable::getNext(db, *query)) {
        const int dose = entryInsulinHundredths(entry->getMedicationDosage(),
                                                entry->getCorrectionDosage(), medications);
        if (dose < 1)
            continue;
        std::time_t given = 0;
        try {
            given = fromDateTimeText(entry->getInsulinTime());
        } catch (const InvalidDateText&) {
            // A dose of unknown age might have been given a moment ago: count all of it,
            // which can only make the suggestion smaller.
            active += dose;
            continue;
        }
        const std::int64_t elapsedMinutes = (now - given) / 60;
        std::int64_t percent = elapsedMinutes * 100 / minutes;
        // Under 1 percent, or given later than now: nothing of it is used yet, and the
        // dose adds nothing.
        if (percent < 1)
            continue;
        // Across the autumn clock change a dose can look older than the active time; it is
        // then used up, but never more than used up.
        percent = std::min<std::int64_t>(percent, 100);
        std::int64_t used = percent * dose / 100;
        if (used < 9)
            used = 0;
        active += dose - used;
    }
    return saturate(active);
}

bool QbCalculator::calculate(int glucose, int carbs) {
    m_calculated = false;
    m_glucose = glucose;
    m_carbs = carbs;

    const int unit = m_context.preference().getGlucoseSampleCode();
    const int lowest = unit == kGlucoseUnitMmol ? 4 : 80;
    if (glucose != 0 && glucose < lowest) {
        tell(QString::asprintf(kGlucoseTooLow, lowest));
        return false;
    }
    // The entry the estimate goes to takes no more than this.
    const IntRange glucoseRange{lowest, FieldLimits::bolusGlucose(unit).high};
    if (glucose > glucoseRange.high) {
        tell(glucoseRangeText(QStringLiteral("Glucose"), glucoseRange, unit, true));
        return false;
    }
    if (!FieldLimits::kCarbs.contains(carbs)) {
        tell(fieldRangeText(QStringLiteral("Carbohydrates"), FieldLimits::kCarbs,
                            QStringLiteral("grams")));
        return false;
    }
    if (glucose == 0 && carbs == 0)
        return refuse(kNothingEntered);
    if (m_code.isEmpty() || m_minutes <= 0)
        return refuse(kNoInsulin);
    // Missing settings were named when the dialog opened. Without a target the whole
    // reading would be corrected; a sensitivity or ratio of 0 leaves nothing to divide by,
    // and a negative one would turn the dose around.
    if (m_targetKey == kNoRow)
        return refuse(kTargetMissing);
    if (m_sensitivity <= 0)
        return refuse(kSensitivityMissing);
    if (carbs >= 1 && m_ratio <= 0)
        return refuse(kRatioMissing);

    // A glucose of 0 is a reading nobody took: the patient eats without one, and correcting
    // against 0 would take a made-up amount off the carbohydrate dose. It asks for no
    // correction; the active insulin is still taken off. The correction itself is
    // truncated, not rounded: only its final, adjusted form is.
    m_correction =
        glucose == 0 ? 0 : saturate((std::int64_t{glucose} - m_target) * 100 / m_sensitivity);
    m_correctionText = formatUnits(m_correction);

    if (carbs >= 1) {
        m_carbDose = roundToTenth(saturate(std::int64_t{carbs} * 100 / m_ratio));
        m_carbDoseText = formatUnits(m_carbDose);
    } else {
        m_carbDose = 0;
        m_carbDoseText = QString::fromLatin1(kZeroText);
    }

    m_adjusted = roundToTenth(saturate(std::int64_t{m_correction} - m_active));
    m_total = saturate(std::int64_t{m_adjusted} + m_carbDose);
    m_adjustedText = formatUnits(m_adjusted);
    m_totalText = formatUnits(m_total);
    // Settings stored before their ranges were checked can still ask for more than an entry
    // holds; such an estimate is shown but cannot be accepted.
    const Split parts = split();
    if (std::max(parts.carbDose, parts.correction) > FieldLimits::kMaxDoseHundredths) {
        tell(QString::fromLatin1(kDoseTooLarge).arg(m_totalText));
        return false;
    }
    m_calculated = true;
    return true;
}

QbCalculator::Split QbCalculator::split() const {
    // Insulin cannot be taken back: a negative correction is borne by the carbohydrate
    // part, and whatever is still negative is given as nothing. The two parts then add up
    // to the total whenever it is above 0.
    Split parts{m_carbDose, m_adjusted};
    if (parts.correction < 0) {
        parts.carbDose = m_total;
        parts.correction = 0;
    }
    parts.carbDose = std::max(parts.carbDose, 0);
    return parts;
}

std::optional<QuickBolusResult> QbCalculator::accept() {
    if (!m_calculated)
        return std::nullopt;
    const Split parts = split();
    m_carbDose = parts.carbDose;
    m_adjusted = parts.correction;
    m_carbDoseText = m_carbDose > 0 ? formatUnits(m_carbDose) : QString();
    m_correctionText = m_adjusted > 0 ? formatUnits(m_adjusted) : QString();
    return QuickBolusResult{m_glucose, m_carbs, m_total, m_carbDoseText, m_correctionText};
}

int QbCalculator::roundToTenth(int hundredths) {
    const std::int64_t value = hundredths;
    if (value >= 0)
        return saturate((value + 5) / 10 * 10);
    return saturate(-((-value + 5) / 10 * 10));
}

QString QbCalculator::formatUnits(int hundredths, const QString& code) {
    const std::int64_t value = hundredths;
    const std::int64_t magnitude = value < 0 ? -value : value;
    QString text = QString::asprintf("%s%lld.%02lld", value < 0 ? "-" : "",
                                     static_cast<long long>(magnitude / 100),
                                     static_cast<long long>(magnitude % 100));
    // Whole units keep one decimal, so the amount still reads as a dose: "1.0H".
    if (text.endsWith(QLatin1String("00")))
        text.chop(1);
    return text + code;
}

void QbCalculator::tell(const QString& text) {
    m_context.prompts().information(QString::fromLatin1(kCaption), text);
}

bool QbCalculator::refuse(const char* text) {
    tell(QString::fromLatin1(text));
    return false;
}
