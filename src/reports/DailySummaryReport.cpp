#include "reports/DailySummaryReport.h"

#include "logbook/LogbookContext.h"
#include "reports/DailySummaryData.h"
#include "reports/DailySummaryRenderer.h"
#include "reports/ReportContext.h"
#include "reports/ReportPage.h"
#include "reports/ReportSurface.h"
#include "storage/Clock.h"
#include "ui/Prompts.h"

#include <QPainter>

DailySummaryReport::DailySummaryReport(const ReportContext& context) : m_context(context) {}

int DailySummaryReport::print(ReportSurface& surface, std::time_t periodEnd, int weeks,
                              ReportStyle style, int firstPage) {
    LogbookContext& logbook = m_context.logbook;
    const DailySummaryData data = DailySummaryData::gather(logbook, periodEnd, weeks, firstPage);
    if (data.rows.empty()) {
        logbook.prompts().information(QString::fromLatin1(kProgramCaption),
                                      QString::fromLatin1(kNoData));
        return 0;
    }

    ReportPage page(surface, style, m_context.versionText, logbook.clock().now());
    int lastPrinted = 0;
    bool first = true;
    for (const DailySummaryData::Page& part : data.pages) {
        // The pass has started the first page; every further one is started here. A device
        // that takes no further page ends the report with the pages it has.
        if (!first && !surface.startPage(QPageLayout::Landscape))
            break;
        first = false;
        QPainter& painter = page.painter();
        painter.save();
        DailySummaryRenderer(page, data).draw(part);
        painter.restore();
        lastPrinted = part.number;
    }
    return lastPrinted;
}
