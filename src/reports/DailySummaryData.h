#pragma once

#include "storage/Preference.h"

#include <QString>
#include <ctime>
#include <optional>
#include <vector>

class LogbookContext;

// Everything the daily summary prints, read from the logbook before anything is drawn: one row
// per logged day of the period, newest first, cut into pages of 60 rows.
struct DailySummaryData {
    static constexpr int kRowsPerPage = 60;
    static constexpr int kLinesPerColumn = kRowsPerPage / 2;
    // The lowest glucose of a day without any reading.
    static constexpr int kNoLowest = 999;
    // Every 7th point of a chart is labelled with its date.
    static constexpr int kLabelEvery = 7;

    struct Row {
        int dayKey = 0;
        QString date;    // stored, "YYYYMMDD"
        QString dayText; // "%B %d,"
        QString weekday; // "%A"
        int average = 0; // as the day's summary stored it
        int lowest = kNoLowest;
        int highest = 0;
        // Entries with a non-zero glucose; a day without any shows no glucose at all.
        int readings = 0;
        int dayType = 1;
        int ketone = 0;
        bool siteChange = false;

        bool hasReadings() const { return readings > 0; }
    };

    struct Page {
        int first = 0; // index of the page's first (newest) row
        int last = 0;  // and of its last (oldest) row
        int number = 0;
        // The largest glucose the page's chart shows: the top of its scale.
        int highest = 0;
        QString period; // "%s through %s", the oldest row's date and the newest's
    };

    // One position on a page's chart, oldest at the left. A day without readings has no point
    // on any of the three lines; the lines run on from the day before to the day after.
    struct ChartPoint {
        int row = 0;   // index into `rows`
        QString label; // "%m/%d" on the first position and every 7th after it, else empty
        std::optional<int> lowest;
        std::optional<int> average;
        std::optional<int> highest;
    };

    QString patientName;
    int unit = 0;       // the patient's glucose unit
    GlucoseRange range; // the general range, no time of day given
    std::vector<Row> rows;
    std::vector<Page> pages;

    // The period of `weeks` weeks ending on the day of `periodEnd`; the first page is numbered
    // `firstPage`. No rows when no day of the period has a day record.
    static DailySummaryData gather(LogbookContext& context, std::time_t periodEnd, int weeks,
                                   int firstPage);

    // The page's rows in the left and the right column of its list: the left one takes the
    // larger half.
    static int leftColumnCount(const Page& page) { return (page.last - page.first + 2) / 2; }
    std::vector<ChartPoint> chartPoints(const Page& page) const;
    // How far above the chart's bottom a value lies on a chart `height` high whose top is
    // `highest`; nothing when the scale is too small to place anything.
    static std::optional<int> chartOffset(int value, int highest, int height);
};
