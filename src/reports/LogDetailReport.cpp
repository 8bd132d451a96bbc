#include "reports/LogDetailReport.h"

// Placeholder until the report's drawing lands: prints nothing.
LogDetailReport::LogDetailReport(const ReportContext& context, const QString& patientName,
                                 std::time_t weekDate, ReportStyle style, int firstPage,
                                 bool worksheet)
    : m_context(context), m_patientName(patientName), m_weekDate(weekDate), m_style(style),
      m_firstPage(firstPage), m_worksheet(worksheet) {}

int LogDetailReport::print(ReportSurface&) {
    return 1;
}
