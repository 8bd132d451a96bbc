#include "reports/ReportPrintPass.h"

#include "logbook/LogbookContext.h"
#include "reports/BloodPressureReport.h"
#include "reports/DailySummaryReport.h"
#include "reports/DeferredPageSurface.h"
#include "reports/DocSummaryReport.h"
#include "reports/FoodReport.h"
#include "reports/GlucoseStatsReport.h"
#include "reports/LogDetailReport.h"
#include "reports/PumpStatusReport.h"
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
    printers.glucoseStats = [&context](ReportSurface& surface, std::time_t periodEnd, int weeks,
                                       ReportStyle style, int pageNumber) {
        return GlucoseStatsReport(context).print(surface, periodEnd, weeks, style, pageNumber);
    };
    printers.logDetail = [&context](ReportSurface& surface, const QString& patientName,
                                    std::time_t weekDate, ReportStyle style, int firstPage,
                                    bool worksheet) {
        return LogDetailReport(context, patientName, weekDate, style, firstPage, worksheet)
            .print(surface);
    };
    printers.dailySummary = [&context](ReportSurface& surface, std::time_t periodEnd, int weeks,
                                       ReportStyle style, int firstPage) {
        return DailySummaryReport(context).print(surface, periodEnd, weeks, style, firstPage);
    };
    printers.pumpStatus = [&context](ReportSurface& surface, std::time_t periodEnd, int weeks,
                                     ReportStyle style, int pageNumber) {
        return PumpStatusReport(context).print(surface, periodEnd, weeks, style, pageNumber);
    };
    printers.vitalHistory = [&context](ReportSurface& surface, int weeks, ReportStyle style,
                                       int firstPage) {
        return BloodPressureReport(context).print(surface, weeks, style, firstPage);
    };
    printers.foodList = [&context](ReportSurface& surface, ReportStyle style, int firstPage) {
        return FoodReport(context).print(surface, style, firstPage);
    };
    return printers;
}

int runPrintPass(ReportSurface& surface, const ReportPrintSettings& settings,
                 const ReportContext& context) {
    return runPrintPass(surface, settings, context.logbook.preference().getPatientName(),
                        reportPrinters(context));
}

int runPrintPass(ReportSurface& device, const ReportPrintSettings& settings,
                 const QString& patientName, const ReportPrinters& printers) {
    DeferredPageSurface surface(device);
    // Every report begins on a page of its own, in its own orientation; the first page also
    // starts the job. A device that takes no further page (a file that cannot be written) ends
    // the pass there.
    const auto startReport = [&surface](QPageLayout::Orientation orientation) {
        if (surface.failed())
            return false;
        surface.breakPage(orientation);
        return true;
    };
    const auto pagesPrinted = [&surface] {
        surface.dropPendingBreak();
        return surface.pageCount();
    };
    constexpr auto landscape = QPageLayout::Landscape;
    constexpr auto portrait = QPageLayout::Portrait;
    int runningPage = 1;

    if (settings.includeDocSummary) {
        if (!startReport(landscape))
            return pagesPrinted();
        printers.docSummary(surface, settings.periodEnd, settings.logWeeks, settings.patientNotes,
                            settings.style, 1);
        runningPage = 2;
    }

    if (settings.includeGlucoseStats) {
        if (!startReport(landscape))
            return pagesPrinted();
        runningPage += printers.glucoseStats(surface, settings.periodEnd, settings.logWeeks,
                                             settings.style, runningPage);
    }

    if (settings.includeDaySummary) {
        // Numbered from 1 whatever came before; the pages after it go on from its last page.
        if (!startReport(landscape))
            return pagesPrinted();
        runningPage = printers.dailySummary(surface, settings.periodEnd, settings.logWeeks,
                                            settings.style, 1) +
                      1;
    }

    if (settings.includeLogDetail) {
        // Newest week first, each week a report of its own that continues the page numbers.
        for (int i = 0; i < settings.logWeeks; ++i) {
            if (!startReport(landscape))
                return pagesPrinted();
            runningPage += printers.logDetail(surface, patientName, settings.periodEnd - i * kWeek,
                                              settings.style, runningPage, false);
        }
    }

    if (settings.includePumpStatus) {
        if (!startReport(portrait))
            return pagesPrinted();
        printers.pumpStatus(surface, settings.periodEnd, settings.logWeeks, settings.style,
                            runningPage);
    }

    if (settings.includeWorksheet) {
        // A worksheet's date is the last day of its week; each numbers its pages from 1.
        const std::time_t firstWeek = settings.worksheetStart + 6 * kDay;
        for (int i = 0; i < settings.worksheetWeeks; ++i) {
            if (!startReport(landscape))
                return pagesPrinted();
            printers.logDetail(surface, patientName, firstWeek + i * kWeek, settings.style, 1,
                               true);
        }
    }

    if (settings.includeBpLog) {
        if (!startReport(portrait))
            return pagesPrinted();
        printers.vitalHistory(surface, settings.logWeeks, settings.style, 1);
    }

    if (settings.includeFoodLog) {
        if (!startReport(portrait))
            return pagesPrinted();
        printers.foodList(surface, settings.style, 1);
    }

    return pagesPrinted();
}

QPageLayout::Orientation previewOrientation(const ReportPrintSettings& settings) {
    const bool landscape = settings.includeDocSummary || settings.includeGlucoseStats ||
                           settings.includeDaySummary || settings.includeLogDetail ||
                           settings.includeWorksheet;
    return landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
}
