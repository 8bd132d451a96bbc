#include "reports/DocSummaryReport.h"

// Placeholder until the report's drawing lands: prints nothing.
DocSummaryReport::DocSummaryReport(const ReportContext& context) : m_context(context) {}

int DocSummaryReport::print(ReportSurface&, std::time_t, int, const QString&, ReportStyle,
                            int firstPage) {
    return firstPage;
}
