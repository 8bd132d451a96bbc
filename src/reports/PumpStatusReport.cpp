#include "reports/PumpStatusReport.h"

#include "logbook/LogbookContext.h"
#include "reports/PumpStatusData.h"
#include "reports/PumpStatusRenderer.h"
#include "reports/ReportContext.h"
#include "reports/ReportPage.h"
#include "storage/Clock.h"

#include <QPainter>

PumpStatusReport::PumpStatusReport(const ReportContext& context) : m_context(context) {}

int PumpStatusReport::print(ReportSurface& surface, std::time_t periodEnd, int weeks,
                            ReportStyle style, int pageNumber) {
    LogbookContext& logbook = m_context.logbook;
    const PumpStatusData data = PumpStatusData::gather(logbook, periodEnd, weeks);
    ReportPage page(surface, style, m_context.versionText, logbook.clock().now());
    QPainter& painter = page.painter();
    painter.save();
    const int pages = PumpStatusRenderer(page, data).draw(pageNumber);
    painter.restore();
    return pages;
}
