#pragma once

#include "reports/ReportStyle.h"

#include <ctime>

struct ReportContext;
class ReportSurface;

// The one-page "Glucose Statistics (AGP)" report: time in ranges, the numbers of variability
// and the ambulatory glucose profile of the period.
class GlucoseStatsReport {
public:
    explicit GlucoseStatsReport(const ReportContext& context);
    // Prints the page (the pass has started it) numbered `pageNumber`; returns the pages printed.
    int print(ReportSurface& surface, std::time_t periodEnd, int weeks, ReportStyle style,
              int pageNumber);

private:
    const ReportContext& m_context;
};
