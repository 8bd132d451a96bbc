#pragma once

#include "reports/ReportStyle.h"

#include <ctime>

struct ReportContext;
class ReportSurface;

// The daily summary: one line per logged day of the period (lowest, average and highest
// glucose, the day's markers), 60 days a landscape page, with a chart of the same values.
class DailySummaryReport {
public:
    static constexpr const char* kNoData = "No Data Found in range for Summary Report";

    explicit DailySummaryReport(const ReportContext& context);
    // Prints from the page the pass has started (landscape) and returns the number of the last
    // page printed; 0, after telling the patient, when the period holds no day.
    int print(ReportSurface& surface, std::time_t periodEnd, int weeks, ReportStyle style,
              int firstPage);

private:
    const ReportContext& m_context;
};
