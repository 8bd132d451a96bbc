#include "reports/FoodReportRenderer.h"

#include "reports/ReportSurface.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace {

using Align = ReportPage::Align;

} // namespace

FoodReportRenderer::FoodReportRenderer(const ReportPage& page, const FoodReportData& data)
    : m_page(page), m_data(data), m_title(page.font(ReportPage::FontRole::Title)),
      m_text(page.font(ReportPage::FontRole::Text)),
      m_bold(page.font(ReportPage::FontRole::TextBold)) {
    m_line = page.fontLineHeight(m_text) + 2 * page.padding();
    m_columnCount = page.newspaperColumnCount();
}

int FoodReportRenderer::rowsPerColumn() const {
    // Clear of the footer's rule.
    return std::max(1, (m_page.bodyBottom() - m_page.padding() - bandTop() - m_line) / m_line);
}

int FoodReportRenderer::bandTop() const {
    const QRect area = m_page.pageRect();
    const int m = m_page.margin();
    const int titleBottom = area.top() + m_page.fontLineHeight(m_title) + m_page.padding();
    // Below the logo as well as the title.
    return std::max(titleBottom, area.top() + 2 * m) + m / 2;
}

int FoodReportRenderer::draw(int firstPage) {
    const int count = static_cast<int>(m_data.foods.size());
    const QBrush* shading = m_page.shades() ? &m_page.lightBrush() : nullptr;
    const int p = m_page.padding();
    QPainter& painter = m_page.painter();

    int index = 0;
    int pages = 0;
    do {
        if (pages > 0)
            m_page.surface().startPage(QPageLayout::Portrait);
        // The pass asks for portrait; the columns follow what the device really gives, page by
        // page, since a device that cannot turn its pages keeps the orientation it has.
        m_columnCount = m_page.newspaperColumnCount();
        const int rows = rowsPerColumn();
        const int top = drawHeader(firstPage + pages++);
        const std::vector<QRect> body = columns(top, top + rows * m_line);
        // Every second row of a column is shaded, whether a food fills it or not.
        for (const QRect& column : body)
            for (int r = 1; shading && r < rows; r += 2)
                painter.fillRect(QRect(column.left(), top + r * m_line, column.width(), m_line),
                                 *shading);
        // The columns fill top to bottom, left to right.
        for (int onPage = 0; onPage < m_columnCount * rows && index < count; ++onPage) {
            const QRect& column = body[onPage / rows];
            const QRect row(column.left(), top + onPage % rows * m_line, column.width(), m_line);
            const FoodReportData::Food& food = m_data.foods[index++];
            m_page.fittedLabel(food.name, namePart(row).adjusted(p, p, -p, -p), m_text,
                               Align::Left);
            m_page.fittedLabel(food.count, countPart(row).adjusted(p, p, -p, -p), m_text,
                               Align::Center);
        }
        for (const QRect& column : body)
            m_page.frame(column, m_page.thinPen());
    } while (index < count);
    return pages;
}

int FoodReportRenderer::drawHeader(int pageNumber) {
    const QRect area = m_page.pageRect();
    const int m = m_page.margin();
    m_page.picture(ReportPicture::Logo, area.topLeft(), 2 * m);
    const int titleHeight = m_page.fontLineHeight(m_title) + m_page.padding();
    m_page.fittedLabel(m_data.title, QRect(area.left(), area.top(), area.width(), titleHeight),
                       m_title, Align::Center);

    const int top = bandTop();
    const QBrush* emphasis = m_page.shades() ? &m_page.emphasisBrush() : nullptr;
    const int p = m_page.padding();
    for (const QRect& band : columns(top, top + m_line)) {
        m_page.frame(band, m_page.thinPen(), emphasis);
        m_page.fittedLabel(QStringLiteral("Food and Portion"), namePart(band).adjusted(p, 0, 0, 0),
                           m_bold, Align::Left);
        m_page.fittedLabel(QStringLiteral("Carb Count"), countPart(band), m_bold, Align::Center);
    }

    m_page.painter().setPen(m_page.thinPen());
    m_page.footer(pageNumber);
    return top + m_line;
}

std::vector<QRect> FoodReportRenderer::columns(int top, int bottom) const {
    return m_page.columns(m_columnCount, m_page.margin() / 2, top, bottom);
}

QRect FoodReportRenderer::namePart(const QRect& row) const {
    return QRect(row.left(), row.top(), row.width() * 3 / 4, row.height());
}

QRect FoodReportRenderer::countPart(const QRect& row) const {
    const int name = row.width() * 3 / 4;
    return QRect(row.left() + name, row.top(), row.width() - name, row.height());
}
