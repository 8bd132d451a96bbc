#pragma once

#include "reports/ReportStyle.h"

#include <QString>
#include <ctime>

struct ReportContext;
class ReportSurface;

// One week of the logbook as a grid of days and slots, or the empty worksheet of a week.
class LogDetailReport {
public:
    // The week runs from `weekDate` minus 6 days to `weekDate`. `firstPage` is the page number
    // of the report's first page.
    LogDetailReport(const ReportContext& context, const QString& patientName, std::time_t weekDate,
                    ReportStyle style, int firstPage, bool worksheet);
    // Prints the week (the pass has started its first page) and returns the pages printed.
    int print(ReportSurface& surface);

private:
    const ReportContext& m_context;
    QString m_patientName;
    std::time_t m_weekDate;
    ReportStyle m_style;
    int m_firstPage;
    bool m_worksheet;
};
