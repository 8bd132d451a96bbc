#include "reports/ReportPrintPass.h"

#include "logbook/LogbookContext.h"
#include "reports/DocSummaryReport.h"
#include "reports/LogDetailReport.h"
#include "reports/ReportContext.h"
#include "reports/ReportPrintSettings.h"
#include "reports/ReportSurface.h"
#include "storage/Preference.h"

namespace {

constexpr std::time_t kDay = 86400;
constexpr std::time_t kWeek = 7 * kDay;

} // namespace

ReportPrinters reportPrinters(const ReportContext& context) {
    ReportPrinters printers;
    printers.docSummary = [&context](ReportSurface& surface, std::time_t periodEnd, int weeks,
                                     const QString& notes, ReportStyle style, int firstPage) {
        return DocSummaryReport(context).print(surface, periodEnd, weeks, notes, style, firstPage);
    };
    printers.logDetail = [&context](ReportSurface& surface, const QString& patientName,
                                    std::time_t weekDate, ReportStyle style, int firstPage,
                                    bool worksheet) {
        return LogDetailReport(context, patientName, weekDate, style, firstPage, worksheet)
            .print(surface);
    };
    return printers;
}

int runPrintPass(ReportSurface& surface, const ReportPrintSettings& settings,
                 const ReportContext& context) {
    return runPrintPass(surface, settings, context.logbook.preference().getPatientName(),
                        reportPrinters(context));
}

int runPrintPass(ReportSurface& surface, const ReportPrintSettings& settings,
                 const QString& patientName, const ReportPrinters& printers) {
    // Every report begins on a page of its own; the first call also starts the job. A device
    // that takes no further page (a file that cannot be written) ends the pass there.
    const auto startReport = [&surface] { return surface.startPage(QPageLayout::Landscape); };
    int runningPage = 1;

    if (settings.includeDocSummary) {
        if (!startReport())
            return surface.pageCount();
        printers.docSummary(surface, settings.periodEnd, settings.logWeeks, settings.patientNotes,
                            settings.style, 1);
        runningPage = 2;
    }

    // The daily summary report comes with the next reports; it prints here, numbered from 1,
    // and the running page number goes on after its last page.

    if (settings.includeLogDetail) {
        // Newest week first, each week a report of its own that continues the page numbers.
        for (int i = 0; i < settings.logWeeks; ++i) {
            if (!startReport())
                return surface.pageCount();
            runningPage += printers.logDetail(surface, patientName, settings.periodEnd - i * kWeek,
                                              settings.style, runningPage, false);
        }
    }

    // The quick bolus and infusion site report comes with the next reports; it prints here,
    // from the running page number.

    if (settings.includeWorksheet) {
        // A worksheet's date is the last day of its week; each numbers its pages from 1.
        const std::time_t firstWeek = settings.worksheetStart + 6 * kDay;
        for (int i = 0; i < settings.worksheetWeeks; ++i) {
            if (!startReport())
                return surface.pageCount();
            printers.logDetail(surface, patientName, firstWeek + i * kWeek, settings.style, 1,
                               true);
        }
    }

    // The vital history and the food report come with the next reports; they print here, last,
    // each numbered from 1.

    return surface.pageCount();
}
