#include "reports/PumpStatusRenderer.h"

#include "reports/ReportSurface.h"

#include <QPainter>
#include <algorithm>

namespace {

using Align = ReportPage::Align;

} // namespace

PumpStatusRenderer::PumpStatusRenderer(const ReportPage& page, const PumpStatusData& data)
    : m_page(page), m_data(data), m_title(page.makeFont(12, 800)), m_text(page.makeFont(9, 400)),
      m_bold(page.makeFont(9, 800)), m_margin(page.margin()), m_padding(page.padding()),
      m_line(page.fontLineHeight(m_text) + page.padding()) {}

int PumpStatusRenderer::draw(int pageNumber) {
    m_firstPage = pageNumber;
    m_pages = 1;
    const int top = drawHeader(false);
    drawSiteChanges(drawSchedules(top) + m_margin / 2);
    return m_pages;
}

int PumpStatusRenderer::drawHeader(bool continued) {
    const QRect area = m_page.pageRect();
    QPainter& painter = m_page.painter();
    painter.setPen(m_page.thinPen());
    const int logoHeight = 2 * m_margin;
    m_page.picture(ReportPicture::Logo, area.topLeft(), logoHeight);

    const int titleHeight = m_page.fontLineHeight(m_title) + m_padding;
    QString title = m_data.title;
    if (continued)
        title += QStringLiteral(" ( continued )");
    int y = area.top();
    text(title, QRect(area.left(), y, area.width(), titleHeight), m_title, Align::Center, 0);
    y += titleHeight;
    text(m_data.periodText, QRect(area.left(), y, area.width(), m_line), m_bold, Align::Center, 0);
    y += m_line;
    text(m_data.insulinText, QRect(area.left(), y, area.width(), m_line), m_text, Align::Center, 0);
    y += m_line;

    painter.setPen(m_page.thinPen());
    m_page.footer(m_firstPage + m_pages - 1);
    return std::max(y, area.top() + logoHeight) + m_margin / 2;
}

int PumpStatusRenderer::nextPage() {
    m_page.surface().startPage(QPageLayout::Portrait);
    ++m_pages;
    return drawHeader(true);
}

QRect PumpStatusRenderer::scheduleColumn(int index, int top) const {
    // Four equal columns, one margin apart, inside the padding on either side.
    const QRect area = m_page.pageRect();
    const int width = (area.width() - 2 * m_padding - 3 * m_margin) / 4;
    return QRect(area.left() + m_padding + index * (width + m_margin), top, width, m_line);
}

int PumpStatusRenderer::drawScheduleHeadings(int top, bool continued) {
    for (int i = 0; i < PumpStatusData::kColumnCount; ++i) {
        QString title = m_data.columns[i].heading;
        if (continued)
            title += QStringLiteral(" ( continued )");
        heading(title, scheduleColumn(i, top));
    }
    return top + m_line;
}

int PumpStatusRenderer::drawSchedules(int top) {
    size_t rows = 1; // an empty column still has its line
    for (const PumpStatusData::Column& column : m_data.columns)
        rows = std::max(rows, column.rows.size());
    const int bottom = m_page.bodyBottom();

    int y = drawScheduleHeadings(top, false);
    for (size_t r = 0; r < rows; ++r) {
        // A schedule longer than the page goes on below the headings of the next page.
        if (y + m_line > bottom)
            y = drawScheduleHeadings(nextPage(), true);
        for (int i = 0; i < PumpStatusData::kColumnCount; ++i) {
            const PumpStatusData::Column& column = m_data.columns[i];
            const QRect cell = scheduleColumn(i, y);
            if (column.rows.empty()) {
                if (r == 0)
                    text(QString::fromLatin1(PumpStatusData::kNoneOnFile), cell, m_text,
                         Align::Center, m_padding);
                continue;
            }
            if (r >= column.rows.size())
                continue;
            if (r % 2 == 1 && m_page.shades())
                m_page.painter().fillRect(cell, m_page.lightBrush());
            const int half = cell.width() / 2;
            const PumpStatusData::Row& row = column.rows[r];
            text(row.time, QRect(cell.left(), y, half, m_line), m_text, Align::Left, m_padding);
            text(row.value, QRect(cell.left() + half, y, cell.width() - half, m_line), m_text,
                 Align::Left, m_padding);
        }
        y += m_line;
    }
    return y + m_padding;
}

void PumpStatusRenderer::drawSiteChanges(int top) {
    const std::vector<PumpStatusData::SiteChange>& changes = m_data.siteChanges;
    if (changes.empty())
        return;
    const QRect area = m_page.pageRect();
    const int bottom = m_page.bodyBottom();
    // A cell holds two lines: the day and time of the change, and how long the site was used.
    const int leastCell = 2 * m_line + 2 * m_padding;
    if (top + m_line + leastCell > bottom)
        top = nextPage();

    // The cells of the first page are a tenth of the height below the heading; later pages keep
    // that height and take as many rows as fit.
    const int cellHeight = std::max((bottom - top - m_line) / kSiteRows, leastCell);
    const int cellWidth = (area.width() - 2 * m_margin) / kSiteColumns;
    size_t next = 0;
    bool continued = false;
    while (next < changes.size()) {
        if (continued)
            top = nextPage();
        QString title = QStringLiteral("Infusion Site Changes");
        if (continued)
            title += QStringLiteral(" ( continued )");
        heading(title, QRect(area.left(), top, area.width(), m_line));
        const int gridTop = top + m_line;
        const int rows = std::max(1, (bottom - gridTop) / cellHeight);
        // Down the first column, then the next.
        for (int c = 0; c < kSiteColumns && next < changes.size(); ++c)
            for (int r = 0; r < rows && next < changes.size(); ++r, ++next) {
                const QRect cell(area.left() + c * (cellWidth + m_margin), gridTop + r * cellHeight,
                                 cellWidth, cellHeight);
                drawSiteCell(changes[next], cell, next % 2 == 1);
            }
        continued = true;
    }
}

void PumpStatusRenderer::drawSiteCell(const PumpStatusData::SiteChange& change, const QRect& cell,
                                      bool shaded) {
    m_page.frame(cell, m_page.hairlinePen(),
                 shaded && m_page.shades() ? &m_page.lightBrush() : nullptr);
    const QRect inner = cell.adjusted(m_padding, 0, -m_padding, 0);
    const int y = cell.top() + (cell.height() - 2 * m_line) / 2;
    const QRect first(inner.left(), y, inner.width(), m_line);
    text(change.date, first, m_bold, Align::Left, m_padding);
    text(change.time, first, m_text, Align::Right, m_padding);
    if (!change.duration.isEmpty())
        text(change.duration, first.translated(0, m_line), m_text, Align::Left, m_padding);
}

void PumpStatusRenderer::heading(const QString& title, const QRect& rect) const {
    m_page.frame(rect, m_page.thinPen(), m_page.shades() ? &m_page.emphasisBrush() : nullptr);
    text(title, rect, m_bold, Align::Center, m_padding);
}

void PumpStatusRenderer::text(const QString& shown, const QRect& rect, const QFont& font,
                              Align align, int inset) const {
    QPainter& painter = m_page.painter();
    painter.setFont(font);
    painter.setPen(QPen(Qt::black));
    m_page.textCell(shown, rect, inset, align);
}
