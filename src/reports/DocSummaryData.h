#pragma once

#include "storage/Preference.h"

#include <QString>
#include <QStringList>
#include <array>
#include <ctime>
#include <optional>
#include <vector>

class LogbookContext;

// Everything the physician's summary prints, read from the logbook and worked out before
// anything is drawn: the page only places these texts and numbers.
struct DocSummaryData {
    static constexpr int kMaxSlots = 8;
    static constexpr int kGroupCount = 5; // "Week 1", "Week 2", "Week 3&4", "Week 5&6", "Overall"
    static constexpr int kOverall = 4;
    static constexpr int kExtremeCount = 5;
    static constexpr int kA1cCount = 6;
    static constexpr int kProtocolRows = 8;
    static constexpr int kMedicationCount = 4;
    static constexpr int kMeterCount = 4;
    static constexpr int kVitalCount = 10;

    struct Patient {
        QString name;
        QString birthDate; // "%s %d, %d"
        QString age;       // "%d year(s) and %d month(s)"
        QString dxDate;
        QString duration;
        QString physician;
        QString phone;
        QString fax; // " Fax:  %s"
    };

    // One of the lowest or highest readings of the period.
    struct Extreme {
        int entryPk = 0;
        QString date; // "%A, %B %d"
        QString slot;
        QString time; // "%H:%M"
        int glucose = 0;
        GlucoseRange range;
        int dayType = 1;
        int ketone = 0;
    };

    struct SlotAverages {
        QString name;
        QString target; // "%d to %d"
        GlucoseRange range;
        // Per group, the integer average, or nothing without readings.
        std::array<std::optional<int>, kGroupCount> averages;
    };

    struct A1cRow {
        QString date; // "%B %d, %Y"
        QString value;
    };
    // A result on the trend chart: position 0 (oldest, left) to 5 (newest, right).
    struct A1cPoint {
        int position = 0;
        int tenths = 0;
        QString month; // "%b %Y"
    };

    struct Protocol {
        QString title; // "Current Protocol: %s" / "Previous Protocol: %s"
        QStringList lines;
    };

    struct MedicationRow {
        QString name;     // "[%s] %s"
        QString openDate; // "%B %d"
        QString age;      // days left, or "Expired"
        QString rxNumber;
    };

    struct MeterRow {
        QString desc, mfg, model, serviceDate, serialNo;
    };

    struct VitalRow {
        QString time;     // "%b %d %y %I:%M"
        QString pressure; // "%ld / %ld"
        QString pulse;    // "%ld(p)" or empty
        QString weight;   // "%s(w)" or empty
    };

    int unit = 0; // the glucose unit of the patient
    std::time_t periodStart = 0;
    std::time_t periodEnd = 0;
    QString periodText; // "%s through %s"

    Patient patient;
    std::vector<Extreme> lowest;  // ascending
    std::vector<Extreme> highest; // descending
    std::vector<SlotAverages> slotRows;
    int periodAverage = 0;     // in the patient's unit
    int periodAverageMgDl = 0; // the same in mg/dL
    float predictedA1c = 0;
    QString periodAverageText;   // "Average for this period: %s"
    QString predictedA1cText;    // "Predicted A1c: %2.1f"
    std::vector<A1cRow> a1cRows; // newest first
    std::vector<A1cPoint> a1cPoints;
    std::optional<Protocol> currentProtocol; // only when its text is longer than one character
    std::optional<Protocol> previousProtocol;
    std::vector<MedicationRow> medications;
    std::vector<MeterRow> meters;
    std::vector<VitalRow> vitals; // newest first
    QStringList notes;            // one printed row each

    // Reads the period of `weeks` weeks that ends at `periodEnd`, and the side tables.
    static DocSummaryData gather(LogbookContext& context, std::time_t periodEnd, int weeks,
                                 const QString& notes);

    // The stored date "YYYYMMDD" as "%s %d, %d" with the report's own month names.
    static QString longDate(const QString& stored);
    // An A1c text as tenths: "6.5" is 65, "7" is 70.
    static int a1cTenths(const QString& text);
    // The predicted A1c for a period average in mg/dL.
    static float predictA1c(int averageMgDl);
};
