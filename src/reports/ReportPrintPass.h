#pragma once

#include "reports/ReportStyle.h"

#include <QPageLayout>
#include <QString>
#include <ctime>
#include <functional>

struct ReportContext;
struct ReportPrintSettings;
class ReportSurface;

// How the pass prints each kind of report. The program prints the real reports
// (`reportPrinters`); the pass's own tests print stand-ins that note what they were given.
struct ReportPrinters {
    // The physician's summary on the page the pass has started; returns the page number used.
    std::function<int(ReportSurface& surface, std::time_t periodEnd, int weeks,
                      const QString& notes, ReportStyle style, int firstPage)>
        docSummary;
    // The glucose statistics page, numbered `pageNumber`, on the page the pass has started;
    // returns the pages printed.
    std::function<int(ReportSurface& surface, std::time_t periodEnd, int weeks, ReportStyle style,
                      int pageNumber)>
        glucoseStats;
    // One week of the log book, or one worksheet, from the page the pass has started; returns
    // the pages printed.
    std::function<int(ReportSurface& surface, const QString& patientName, std::time_t weekDate,
                      ReportStyle style, int firstPage, bool worksheet)>
        logDetail;
    // The daily summary from the page the pass has started (landscape); returns the number of
    // its last page, 0 when the period holds no day (and nothing was drawn).
    std::function<int(ReportSurface& surface, std::time_t periodEnd, int weeks, ReportStyle style,
                      int firstPage)>
        dailySummary;
    // The quick bolus and infusion site report from the page the pass has started (portrait),
    // numbered from `pageNumber`; returns the pages printed.
    std::function<int(ReportSurface& surface, std::time_t periodEnd, int weeks, ReportStyle style,
                      int pageNumber)>
        pumpStatus;
    // The vital history of the last weeks (portrait); returns the pages printed.
    std::function<int(ReportSurface& surface, int weeks, ReportStyle style, int firstPage)>
        vitalHistory;
    // The food list (portrait); returns the pages printed.
    std::function<int(ReportSurface& surface, ReportStyle style, int firstPage)> foodList;
};

ReportPrinters reportPrinters(const ReportContext& context);

// Prints every selected report, in the fixed order, as one job on the surface: physician's
// summary, glucose statistics, daily summary, detailed log book (newest week first), quick bolus
// and infusion site, worksheets, vital history, food list. Each report starts on a new page in its
// own orientation (the quick-bolus report, the vital history and the food list portrait, the others
// landscape); a report that finds nothing to print leaves no page. The glucose statistics page
// follows the physician's summary's number. The daily summary numbers its pages from 1 and the log
// book and the quick-bolus pages go on after its last page (after the physician's summary and the
// glucose statistics without it); worksheets, the vital history and the food list number their own
// pages from 1. Returns the number of pages printed. The caller finishes the job.
int runPrintPass(ReportSurface& surface, const ReportPrintSettings& settings,
                 const ReportContext& context);
int runPrintPass(ReportSurface& surface, const ReportPrintSettings& settings,
                 const QString& patientName, const ReportPrinters& printers);

// The orientation the print preview shows every page in: landscape when any landscape report is
// selected (most are), portrait when only portrait reports are.
QPageLayout::Orientation previewOrientation(const ReportPrintSettings& settings);
