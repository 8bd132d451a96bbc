#pragma once

#include "storage/Conversions.h"

#include <QString>
#include <ctime>
#include <optional>

class Database;
class LogbookContext;
class SampleAbs;

// What an accepted estimate hands back to the logbook. Amounts are hundredths of a unit.
struct QuickBolusResult {
    int glucose = 0;          // as entered, in the patient's unit (the entry receives it unchanged)
    int carbs = 0;            // grams
    int total = 0;            // may be 0 or negative: then nothing is to be given
    QString medicationDosage; // the carbohydrate part, empty when it is not above 0
    QString correctionDosage; // the correction part, empty when it is not above 0

    bool hasDoses() const { return total > 0; }
};

// Prefills a new log entry with an accepted estimate, dated `now`. The dose texts go in only
// when there is something to give, so a non-positive total leaves both empty. The glucose is
// brought to the logbook's stored form in the patient's unit.
void fillQuickBolusEntry(const QuickBolusResult& result, std::time_t now, int glucoseUnit,
                         SampleAbs& entry);

// The calculator may be offered only when its settings row exists and it is switched on.
bool quickBolusAvailable(Database& db);

// The arithmetic and look-ups behind the quick bolus dialog, free of widgets. It reports to
// the patient through the context's prompts; the dialog only shows the fields.
//
// Amounts are integers in hundredths of a unit throughout, so every step is exact; the
// only rounding is the explicit one to a tenth of a unit.
class QbCalculator {
public:
    // Key kept for a setting that has no row in force.
    static constexpr int kNoRow = -1;
    // Shown for an amount that has not been worked out.
    static constexpr const char* kZeroText = "0.00";
    static constexpr const char* kCaption = "Quillmarch";
    static constexpr const char* kNoTarget = "No Target found for this time";
    static constexpr const char* kNoSensitivity = "No Sensitivity found for this time";
    static constexpr const char* kNoRatio = "No Ratio found for this time";
    static constexpr const char* kGlucoseTooLow =
        "Your glucose must be %d or higher to us RivezAdozu";
    static constexpr const char* kNothingEntered =
        "Please enter your current glucose and/or carb intake";
    static constexpr const char* kOverlap =
        "Your Insulin duration overlaps one or more RivezAdozu settings.\n\nThis is not a "
        "problem but remember to review amounts and adjust if necessary before delivery.  ";
    static constexpr const char* kEstimateOnly =
        "RivezAdozu provides an ESTIMATION ONLY.\n If present. Ketones should be added to the "
        "overall dosage.";
    // Our own refusals, for requests that would otherwise divide by nothing or dose against
    // a setting that is not there.
    static constexpr const char* kNoInsulin =
        "No bolus insulin or insulin duration is set. Please complete the Quick Bolus Setup "
        "before using RivezAdozu.";
    static constexpr const char* kTargetMissing =
        "No Target is set for this time. RivezAdozu cannot estimate a correction without it.";
    static constexpr const char* kSensitivityMissing =
        "No Sensitivity is set for this time. RivezAdozu cannot estimate a correction without "
        "it.";
    static constexpr const char* kRatioMissing =
        "No Ratio is set for this time. RivezAdozu cannot estimate a carbohydrate dose without "
        "it.";

    // Ours, for an estimate a log entry could not take as it stands.
    static constexpr const char* kDoseTooLarge =
        "This estimate (%1) is more than one log entry can hold (999.99 units a dose). Please "
        "check the Quick Bolus Setup.";

    explicit QbCalculator(LogbookContext& context);

    // Fixes the moment and the settings in force at it, reports each missing setting,
    // works out the insulin still active and warns when the active time reaches into other
    // settings. Call once, before anything else.
    void open();

    // Checks the inputs and, when they pass, works out the estimate; afterwards the
    // estimate may be accepted. A refusal is told to the patient and returns false. The
    // glucose and carbohydrates must lie within what a log entry takes (FieldLimits), and an
    // estimate whose doses an entry would refuse is refused here instead.
    bool calculate(int glucose, int carbs);
    // Any change of an input makes the shown estimate stale.
    void inputsChanged() { m_calculated = false; }
    bool canAccept() const { return m_calculated; }
    // Splits the total into the two dose texts of the entry. Nothing unless the last
    // calculate succeeded and the inputs have not changed since.
    std::optional<QuickBolusResult> accept();

    const QString& bolusCode() const { return m_code; }
    int insulinMinutes() const { return m_minutes; }
    const QString& nowText() const { return m_nowText; }
    std::time_t openedAt() const { return m_now; }

    int glucose() const { return m_glucose; }
    int carbs() const { return m_carbs; }
    int target() const { return m_target; }
    int ratio() const { return m_ratio; }
    int sensitivity() const { return m_sensitivity; }
    int targetKey() const { return m_targetKey; }
    int ratioKey() const { return m_ratioKey; }
    int sensitivityKey() const { return m_sensitivityKey; }

    int activeInsulin() const { return m_active; }
    int correction() const { return m_correction; }
    int adjustedCorrection() const { return m_adjusted; }
    int carbDose() const { return m_carbDose; }
    int total() const { return m_total; }

    const QString& activeInsulinText() const { return m_activeText; }
    const QString& correctionText() const { return m_correctionText; }
    const QString& adjustedCorrectionText() const { return m_adjustedText; }
    const QString& carbDoseText() const { return m_carbDoseText; }
    const QString& totalText() const { return m_totalText; }

    // To the nearest tenth of a unit, halves away from zero: 24 -> 20, 25 -> 30, -25 -> -30.
    static int roundToTenth(int hundredths);
    // An amount in dosage notation: 150 -> "1.50H", 100 -> "1.0H", -35 -> "-0.35H".
    static QString formatUnits(int hundredths, const QString& code);
    QString formatUnits(int hundredths) const { return formatUnits(hundredths, m_code); }

    // Insulin still active at `now` from the doses given within the last `minutes`, decaying
    // linearly over that time. Only insulins counted in totals take part.
    static int activeInsulinAt(Database& db, const MedicationLookup& medications, std::time_t now,
                               int minutes);

private:
    // The two doses OK hands over, in hundredths: the carbohydrate part and the correction.
    struct Split {
        int carbDose;
        int correction;
    };
    Split split() const;
    void lookUpSettings();
    void warnOfOverlap();
    void tell(const QString& text);
    bool refuse(const char* text);

    LogbookContext& m_context;
    QString m_code;
    int m_minutes = 0;
    std::time_t m_now = 0;
    QString m_nowText;

    int m_glucose = 0;
    int m_carbs = 0;
    int m_target = 0;
    int m_ratio = 0;
    int m_sensitivity = 0;
    int m_targetKey = kNoRow;
    int m_ratioKey = kNoRow;
    int m_sensitivityKey = kNoRow;

    int m_active = 0;
    int m_correction = 0;
    int m_adjusted = 0;
    int m_carbDose = 0;
    int m_total = 0;
    QString m_activeText;
    QString m_correctionText;
    QString m_adjustedText;
    QString m_carbDoseText;
    QString m_totalText;
    bool m_calculated = false;
};
