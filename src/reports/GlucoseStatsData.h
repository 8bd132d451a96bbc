#pragma once

#include "reports/GlucoseStats.h"

#include <QString>
#include <QStringList>
#include <array>
#include <ctime>
#include <vector>

class LogbookContext;

// What the "Glucose Statistics (AGP)" page and the stats job print: the numbers of the period
// and their texts in the patient's glucose unit, worked out before anything is drawn.
struct GlucoseStatsData {
    // One band of the time-in-ranges bar, top (very high) to bottom (very low).
    struct BandRow {
        GlucoseStats::Band band = GlucoseStats::inRange;
        QString name;    // "Very High"
        QString range;   // "> 250 mg/dL"
        QString percent; // "3.2%"
        QString perDay;  // "0 h 46 min"
    };
    // One line of the numbers: a caption and its value.
    struct Metric {
        QString caption;
        QString value;
    };

    int unit = 0;
    QString patientName;
    QString periodText; // "March 2, 2024 through March 15, 2024 (14 days)"
    QString sourceText; // which readings the numbers come from
    GlucoseStats stats;
    std::vector<BandRow> bands;
    std::vector<Metric> metrics;
    QStringList warnings;

    // The period of `weeks` weeks whose last day is the day of `periodEnd`.
    static GlucoseStatsData gather(LogbookContext& context, std::time_t periodEnd, int weeks);
    // The same over the `days` days ending with `lastDay`.
    static GlucoseStatsData gather(LogbookContext& context, const QDate& lastDay, int days);
    // The texts of computed numbers.
    static GlucoseStatsData fromStats(const GlucoseStats& stats, int unit,
                                      const QString& patientName);

    // A value in mg/dL in the patient's unit, as the logbook shows glucose: whole mg/dL, or
    // mmol/L with one decimal (mg/dL / 18), each rounded half up; without the unit's name.
    static QString glucoseText(double mgdl, int unit);
    static QString unitName(int unit);
    // Minutes as "H h MM min".
    static QString durationText(int minutes);
    // Tenths as "12.3".
    static QString tenthsText(int tenths);
};
