#include "reports/DocSummaryReport.h"

#include "logbook/LogbookContext.h"
#include "reports/DocSummaryData.h"
#include "reports/DocSummaryRenderer.h"
#include "reports/ReportContext.h"
#include "reports/ReportPage.h"
#include "storage/Clock.h"

#include <QPainter>

DocSummaryReport::DocSummaryReport(const ReportContext& context) : m_context(context) {}

int DocSummaryReport::print(ReportSurface& surface, std::time_t periodEnd, int weeks,
                            const QString& notes, ReportStyle style, int firstPage) {
    LogbookContext& logbook = m_context.logbook;
    // Everything is read before the first stroke, so the page never shows half a logbook.
    const DocSummaryData data = DocSummaryData::gather(logbook, periodEnd, weeks, notes);
    ReportPage page(surface, style, m_context.versionText, logbook.clock().now());
    QPainter& painter = page.painter();
    painter.save();
    DocSummaryRenderer(page, data).draw(firstPage);
    painter.restore();
    return firstPage;
}
