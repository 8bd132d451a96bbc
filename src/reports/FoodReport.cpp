#include "reports/FoodReport.h"

#include "logbook/LogbookContext.h"
#include "reports/FoodReportData.h"
#include "reports/FoodReportRenderer.h"
#include "reports/ReportContext.h"
#include "reports/ReportPage.h"
#include "storage/Clock.h"

#include <QPainter>

FoodReport::FoodReport(const ReportContext& context) : m_context(context) {}

int FoodReport::print(ReportSurface& surface, ReportStyle style, int firstPage) {
    LogbookContext& logbook = m_context.logbook;
    const FoodReportData data = FoodReportData::gather(logbook);
    ReportPage page(surface, style, m_context.versionText, logbook.clock().now());
    QPainter& painter = page.painter();
    painter.save();
    const int pages = FoodReportRenderer(page, data).draw(firstPage);
    painter.restore();
    return pages;
}
