#pragma once

#include "reports/ReportStyle.h"

#include <QString>
#include <ctime>

struct ReportContext;
class ReportSurface;

// The one-page physician's summary.
class DocSummaryReport {
public:
    explicit DocSummaryReport(const ReportContext& context);
    // Prints the page (the pass has started it) and returns `firstPage`.
    int print(ReportSurface& surface, std::time_t periodEnd, int weeks, const QString& notes,
              ReportStyle style, int firstPage);

private:
    const ReportContext& m_context;
};
