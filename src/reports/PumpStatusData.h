#pragma once

#include <QString>
#include <array>
#include <ctime>
#include <vector>

class Clock;
class LogbookContext;

// Everything the quick bolus and infusion site page prints, read before anything is drawn: the
// patient and the bolus insulin, the four time-of-day schedules and the site changes of the
// period.
struct PumpStatusData {
    static constexpr int kColumnCount = 4; // basal rates, targets, carb ratios, sensitivities
    static constexpr const char* kNoneOnFile = "* None on file *";
    static constexpr const char* kUnknownInsulin = "*Unknown*";

    // One row of a schedule: its start time as the patient reads times, and its value.
    struct Row {
        QString time;
        QString value;
    };
    struct Column {
        QString heading;
        std::vector<Row> rows; // ascending start time; none: the column says kNoneOnFile
    };
    struct SiteChange {
        std::time_t at = 0;
        QString date; // "%a %b, %d"
        QString time; // the time of day in the patient's clock style
        // How long the site was in use until the next newer change ("%d days %d hrs"); empty
        // for the newest change.
        QString duration;
    };

    QString title;       // "%s's RivezAdozu and Infustion Site Report"
    QString periodText;  // "%s through %s"
    QString insulinText; // "Using %s [%s] insulin with a duration of %d hours and %d minutes"
    std::array<Column, kColumnCount> columns;
    std::vector<SiteChange> siteChanges; // newest first

    // Reads the schedules and the site changes from (weeks × 7 + 1) days before `periodEnd` on;
    // changes after the end are not cut off.
    static PumpStatusData gather(LogbookContext& context, std::time_t periodEnd, int weeks);

    // The time a site was in use, from one change to the next: "%d days %d hrs".
    static QString durationText(std::time_t from, std::time_t to);
    // A stored "HH:MM" as the patient reads times.
    static QString scheduleTime(const QString& stored, bool military, const Clock& clock);
};
