#include "reports/DailySummaryRenderer.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace {

using Align = ReportPage::Align;
using Row = DailySummaryData::Row;

} // namespace

DailySummaryRenderer::DailySummaryRenderer(const ReportPage& page, const DailySummaryData& data)
    : m_page(page), m_data(data), m_area(page.pageRect()), m_margin(page.margin()),
      m_padding(page.padding()), m_text(page.font(ReportPage::FontRole::Text)),
      m_bold(page.font(ReportPage::FontRole::TextBold)),
      m_line(page.fontLineHeight(m_text) + m_padding), m_half((m_area.width() - m_margin) / 2),
      m_quarter(m_half / 4), m_eighth(m_half / 8), m_small(m_half / 32) {}

void DailySummaryRenderer::draw(const DailySummaryData::Page& page) {
    const int top = m_page.header(QStringLiteral("%1's Daily Summary").arg(m_data.patientName),
                                  page.period, m_area, m_bold);
    m_page.painter().setPen(m_page.thinPen());
    m_page.footer(page.number);

    const int leftCount = DailySummaryData::leftColumnCount(page);
    const int rightCount = page.last - page.first + 1 - leftCount;
    drawColumn(m_area.left(), top, page.first, leftCount);
    const int bottom =
        drawColumn(m_area.left() + m_half + m_margin, top, page.first + leftCount, rightCount);

    const int legendTop = bottom + m_padding;
    m_page.legend({{QStringLiteral("Keytones Negative:"), ReportPicture::KetoneNone},
                   {QStringLiteral("Small"), ReportPicture::KetoneSmall},
                   {QStringLiteral("Medium"), ReportPicture::KetoneMedium},
                   {QStringLiteral("Large"), ReportPicture::KetoneLarge},
                   {QStringLiteral(" Sick"), ReportPicture::DaySick, true},
                   {QStringLiteral(" Site Change"), ReportPicture::SiteChange, true}},
                  m_area.left() + m_small, legendTop, m_line, m_text);

    const int chartTop = legendTop + m_line + m_padding;
    drawChart(page, QRect(m_area.left(), chartTop, m_area.width(),
                          m_page.bodyBottom() - m_padding - chartTop));
}

int DailySummaryRenderer::drawColumn(int left, int top, int first, int count) {
    QPainter& painter = m_page.painter();
    const QRect band(left, top, m_half, m_line);
    m_page.frame(band, m_page.thinPen(), m_page.shades() ? &m_page.emphasisBrush() : nullptr);
    m_page.label(QStringLiteral("Date"), band.adjusted(m_small, 0, 0, 0), m_bold, Align::Left);
    const char* const kValues[] = {"Low", "Avg", "High"};
    for (int i = 0; i < 3; ++i)
        m_page.label(QString::fromLatin1(kValues[i]),
                     QRect(left + m_quarter + (i + 1) * m_eighth, top, m_eighth, m_line), m_bold,
                     Align::Center);

    for (int i = 0; i < DailySummaryData::kLinesPerColumn; ++i) {
        const QRect line(left, top + (i + 1) * m_line, m_half, m_line);
        if (i % 2 == 1 && m_page.shades())
            painter.fillRect(line, m_page.lightBrush());
        if (i < count)
            drawRow(m_data.rows[static_cast<size_t>(first + i)], line);
    }
    const int bottom = top + (DailySummaryData::kLinesPerColumn + 1) * m_line;
    m_page.frame(QRect(left, top, m_half, bottom - top), m_page.thinPen());
    return bottom;
}

void DailySummaryRenderer::drawRow(const Row& row, const QRect& line) {
    const int left = line.left();
    m_page.label(row.dayText, QRect(left + m_small, line.top(), m_quarter - m_small, m_line),
                 m_text, Align::Left);
    m_page.label(row.weekday, QRect(left + m_quarter, line.top(), m_eighth, m_line), m_text,
                 Align::Left);
    // A day without a reading leaves its three cells empty rather than print the 999 and 0
    // its lowest and highest start from.
    if (row.hasReadings()) {
        const int values[] = {row.lowest, row.average, row.highest};
        for (int i = 0; i < 3; ++i)
            m_page.glucoseCell(
                QRect(left + m_quarter + (i + 1) * m_eighth, line.top(), m_eighth, m_line),
                values[i], m_data.range, m_data.unit, m_text, m_bold, m_page.redPen(),
                m_page.bluePen());
    }

    std::vector<ReportPicture> icons;
    if (row.dayType == 0)
        icons.push_back(ReportPicture::DaySick);
    else if (row.dayType != 1)
        icons.push_back(ReportPicture::DayActive);
    if (row.siteChange)
        icons.push_back(ReportPicture::SiteChange);
    if (row.ketone >= 1 && row.ketone <= 4)
        icons.push_back(ketonePicture(row.ketone));
    QPoint at(left + m_quarter + 4 * m_eighth + m_small, line.top() + m_padding);
    for (ReportPicture icon : icons)
        at.rx() += m_page.picture(icon, at, m_line - 2 * m_padding) + m_padding;
}

void DailySummaryRenderer::drawChart(const DailySummaryData::Page& page, const QRect& area) {
    QPainter& painter = m_page.painter();
    const int g = page.highest;
    const QFontMetrics metrics(m_text, painter.device());
    // Room at the left for the scale's widest label, half a label above the top one and a line
    // of dates under the axis.
    const int gutter = metrics.horizontalAdvance(QStringLiteral("%1 -").arg(g)) + 2 * m_padding;
    const QRect chart = area.adjusted(gutter, m_line / 2, 0, -m_line);
    if (chart.height() <= 0 || chart.width() <= 0)
        return;
    const int height = chart.height();
    const int bottom = chart.top() + height;
    auto yOf = [&](int value) {
        return bottom - DailySummaryData::chartOffset(value, g, height).value_or(0);
    };
    const bool scaled = DailySummaryData::chartOffset(g, g, height).has_value();

    if (scaled && m_page.shades()) {
        const int hi = std::max(chart.top(), yOf(m_data.range.hi));
        const int lo = std::min(bottom, yOf(m_data.range.lo));
        if (lo > hi)
            painter.fillRect(QRect(chart.left(), hi, chart.width(), lo - hi), m_page.lightBrush());
    }
    painter.setPen(m_page.thinPen());
    painter.drawLine(chart.left(), chart.top(), chart.left(), bottom);
    painter.drawLine(chart.left(), bottom, chart.left() + chart.width(), bottom);

    if (scaled) {
        const QString labels[] = {QString::asprintf("%d", g / 3),
                                  QString::asprintf("%d -", 2 * g / 3),
                                  QString::asprintf("%d -", g)};
        for (int i = 0; i < 3; ++i) {
            const int y = bottom - (i + 1) * height / 3;
            m_page.label(labels[i], QRect(area.left(), y - m_line / 2, gutter - m_padding, m_line),
                         m_text, Align::Right);
        }
    }

    const std::vector<DailySummaryData::ChartPoint> points = m_data.chartPoints(page);
    const int count = static_cast<int>(points.size());
    auto xOf = [&](int position) {
        return chart.left() + (count > 1 ? position * chart.width() / (count - 1) : 0);
    };
    int lastLabelled = 0;
    for (int i = 0; i < count; ++i)
        if (!points[static_cast<size_t>(i)].label.isEmpty())
            lastLabelled = i;
    std::vector<QPoint> lowest, average, highest;
    for (int i = 0; i < count; ++i) {
        const DailySummaryData::ChartPoint& point = points[static_cast<size_t>(i)];
        const int x = xOf(i);
        if (!point.label.isEmpty()) {
            painter.setPen(m_page.thinPen());
            painter.drawLine(x, bottom, x, bottom + m_padding);
            // The last date ends at its point, so that it never runs past the chart.
            const int width = metrics.horizontalAdvance(point.label) + m_padding;
            const bool last = i == lastLabelled && i != 0;
            m_page.label(point.label, QRect(last ? x - width : x, bottom, width, m_line), m_text,
                         last ? Align::Right : Align::Left);
        }
        if (!scaled)
            continue;
        if (point.lowest)
            lowest.emplace_back(x, yOf(*point.lowest));
        if (point.average)
            average.emplace_back(x, yOf(*point.average));
        if (point.highest)
            highest.emplace_back(x, yOf(*point.highest));
    }
    drawSeries(lowest, m_page.redPen());
    drawSeries(average, m_page.thinPen());
    drawSeries(highest, m_page.bluePen());
}

void DailySummaryRenderer::drawSeries(const std::vector<QPoint>& points, const QPen& pen) {
    if (points.empty())
        return;
    QPainter& painter = m_page.painter();
    painter.setPen(pen);
    if (points.size() == 1) {
        const QPoint& p = points.front();
        painter.drawLine(p.x() - m_padding, p.y(), p.x() + m_padding, p.y());
        return;
    }
    painter.drawPolyline(points.data(), static_cast<int>(points.size()));
}
