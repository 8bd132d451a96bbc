#include "reports/BloodPressureReport.h"

#include "logbook/LogbookContext.h"
#include "reports/BloodPressureData.h"
#include "reports/BloodPressureRenderer.h"
#include "reports/ReportContext.h"
#include "reports/ReportPage.h"
#include "storage/Clock.h"

#include <QPainter>

BloodPressureReport::BloodPressureReport(const ReportContext& context) : m_context(context) {}

int BloodPressureReport::print(ReportSurface& surface, int weeks, ReportStyle style,
                               int firstPage) {
    LogbookContext& logbook = m_context.logbook;
    const BloodPressureData data = BloodPressureData::gather(logbook, weeks);
    ReportPage page(surface, style, m_context.versionText, logbook.clock().now());
    QPainter& painter = page.painter();
    painter.save();
    const int pages = BloodPressureRenderer(page, data).draw(firstPage);
    painter.restore();
    return pages;
}
