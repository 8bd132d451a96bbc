#include "reports/GlucoseStatsReport.h"

#include "logbook/LogbookContext.h"
#include "reports/GlucoseStatsData.h"
#include "reports/GlucoseStatsRenderer.h"
#include "reports/ReportContext.h"
#include "reports/ReportPage.h"
#include "storage/Clock.h"

#include <QPainter>

GlucoseStatsReport::GlucoseStatsReport(const ReportContext& context) : m_context(context) {}

int GlucoseStatsReport::print(ReportSurface& surface, std::time_t periodEnd, int weeks,
                              ReportStyle style, int pageNumber) {
    LogbookContext& logbook = m_context.logbook;
    const GlucoseStatsData data = GlucoseStatsData::gather(logbook, periodEnd, weeks);
    ReportPage page(surface, style, m_context.versionText, logbook.clock().now());
    QPainter& painter = page.painter();
    painter.save();
    GlucoseStatsRenderer(page, data).draw(pageNumber);
    painter.restore();
    return 1;
}
