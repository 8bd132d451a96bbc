#include "reports/GlucoseStatsRenderer.h"

#include "storage/Conversions.h"

#include <QPainter>
#include <QPointF>
#include <algorithm>

namespace {

using Align = ReportPage::Align;

// The glucose axis runs to the device limit, so a sensor's "High" still sits on the chart.
constexpr double kAxisTopMgDl = 400;
constexpr int kAxisMarks[] = {54, 70, 180, 250, 350};
constexpr int kTargetLow = 70;
constexpr int kTargetHigh = 180;
constexpr int kHoursPerMark = 3;
constexpr int kBarLines = 10;
// The percentiles' places in each bin's list.
constexpr int k5th = 0;
constexpr int k25th = 1;
constexpr int k50th = 2;
constexpr int k75th = 3;
constexpr int k95th = 4;

// Calls `draw(first, last)` for every run of bins that hold readings.
template <class Draw> void forEachRun(const GlucoseStats& stats, Draw draw) {
    int first = -1;
    for (int i = 0; i <= GlucoseStats::kBinCount; ++i) {
        const bool filled = i < GlucoseStats::kBinCount && !stats.agp[i].isGap();
        if (filled && first < 0)
            first = i;
        if (!filled && first >= 0) {
            draw(first, i - 1);
            first = -1;
        }
    }
}

} // namespace

GlucoseStatsRenderer::GlucoseStatsRenderer(const ReportPage& page, const GlucoseStatsData& data)
    : m_page(page), m_data(data), m_margin(page.margin()), m_padding(page.padding()),
      m_text(page.font(ReportPage::FontRole::Text)),
      m_bold(page.font(ReportPage::FontRole::TextBold)),
      m_line(m_padding + page.fontLineHeight(m_text)), m_area(page.pageRect()),
      m_bottom(page.bodyBottom()) {
    // The numbers take two fifths of the page, the profile the rest, a margin between them.
    const int leftWidth = (m_area.width() - m_margin) * 2 / 5;
    m_left = QRect(m_area.left(), m_area.top(), leftWidth, m_area.height());
    const int rightLeft = m_left.right() + 1 + m_margin;
    m_right = QRect(rightLeft, m_area.top(), m_area.right() + 1 - rightLeft, m_area.height());
}

void GlucoseStatsRenderer::draw(int pageNumber) {
    const QString subtitle = m_data.patientName.isEmpty()
                                 ? m_data.periodText
                                 : m_data.patientName + QStringLiteral(", ") + m_data.periodText;
    int top = m_page.header(QStringLiteral("Glucose Statistics (AGP)"), subtitle, m_area, m_bold);
    text(m_data.sourceText, QRect(m_area.left(), top, m_area.width(), m_line), Align::Left, true);
    top += m_line + m_margin / 3;
    drawWarnings(drawMetrics(drawTimeInRanges(top)));
    drawProfile(top);
    m_page.painter().setPen(m_page.thinPen());
    m_page.footer(pageNumber);
}

int GlucoseStatsRenderer::drawTimeInRanges(int top) {
    const int body = band(m_left, top, QStringLiteral("Time in Ranges"));
    QPainter& painter = m_page.painter();
    const QRect bar(m_left.left() + m_margin, body + m_margin / 2, 2 * m_margin,
                    kBarLines * m_line);
    const GlucoseStats& stats = m_data.stats;
    // Segment edges from the running total, so that the segments meet without a seam and
    // together fill the bar exactly.
    if (!stats.empty()) {
        int below = 0;
        int edge = bar.bottom() + 1;
        for (int b = GlucoseStats::veryLow; b <= GlucoseStats::veryHigh; ++b) {
            const auto kind = static_cast<GlucoseStats::Band>(b);
            below += stats.bandCounts[kind];
            const int next =
                bar.bottom() + 1 -
                static_cast<int>(static_cast<long long>(below) * bar.height() / stats.readings);
            if (next < edge) {
                const QRect segment(bar.left(), next, bar.width(), edge - next);
                const QBrush fill(bandColor(kind));
                m_page.frame(segment, m_page.hairlinePen(), &fill);
            }
            edge = next;
        }
    }
    painter.setBrush(Qt::NoBrush);
    m_page.frame(bar, m_page.thinPen());

    // One row per band beside the bar, as high as a fifth of it, very high at the top.
    const int left = bar.right() + 1 + m_margin;
    const int width = m_left.right() + 1 - left;
    const int swatch = m_line - 2 * m_padding;
    for (size_t i = 0; i < m_data.bands.size(); ++i) {
        const GlucoseStatsData::BandRow& row = m_data.bands[i];
        const int rowTop =
            bar.top() + static_cast<int>(i) * bar.height() / static_cast<int>(m_data.bands.size());
        const int y = rowTop + (bar.height() / static_cast<int>(m_data.bands.size()) - m_line) / 2;
        const QBrush fill(bandColor(row.band));
        m_page.frame(QRect(left, y + m_padding, swatch, swatch), m_page.hairlinePen(), &fill);
        const int textLeft = left + swatch + 2 * m_padding;
        const int textWidth = left + width - textLeft;
        text(row.name, QRect(textLeft, y, textWidth * 3 / 10, m_line), Align::Left, true);
        text(row.range, QRect(textLeft + textWidth * 3 / 10, y, textWidth * 3 / 10, m_line),
             Align::Left);
        text(row.percent, QRect(textLeft + textWidth * 6 / 10, y, textWidth * 15 / 100, m_line),
             Align::Right, true);
        text(row.perDay, QRect(textLeft + textWidth * 75 / 100, y, textWidth / 4, m_line),
             Align::Right);
    }
    text(QStringLiteral("Shares of the readings; time per day"),
         QRect(left, bar.bottom() + 1, width, m_line), Align::Right);
    return bar.bottom() + 1 + m_line + m_margin / 3;
}

int GlucoseStatsRenderer::drawMetrics(int top) {
    int y = band(m_left, top, QStringLiteral("Glucose Numbers"));
    for (size_t i = 0; i < m_data.metrics.size(); ++i) {
        const QRect row(m_left.left(), y, m_left.width(), m_line);
        if (i % 2 == 1 && m_page.shades())
            m_page.painter().fillRect(row, m_page.lightBrush());
        const int half = row.width() * 11 / 20;
        text(m_data.metrics[i].caption, row.adjusted(2 * m_padding, 0, half - row.width(), 0),
             Align::Left, true);
        text(m_data.metrics[i].value, row.adjusted(half, 0, -2 * m_padding, 0), Align::Left);
        y += m_line;
    }
    m_page.frame(QRect(m_left.left(), top, m_left.width(), y - top), m_page.hairlinePen());
    return y + m_margin / 3;
}

void GlucoseStatsRenderer::drawWarnings(int top) {
    int y = top;
    for (const QString& warning : m_data.warnings) {
        text(QStringLiteral("! ") + warning, QRect(m_left.left(), y, m_left.width(), m_line),
             Align::Left, true, m_page.redInk());
        y += m_line;
    }
}

void GlucoseStatsRenderer::drawProfile(int top) {
    const int body = band(m_right, top, QStringLiteral("Ambulatory Glucose Profile"));
    // The legend: what each stroke and area is.
    const bool fills = m_page.style() != ReportStyle::blackAndWhite;
    const QColor outer =
        m_page.style() == ReportStyle::color ? QColor(190, 205, 235) : QColor(205, 205, 205);
    const QColor inner =
        m_page.style() == ReportStyle::color ? QColor(110, 145, 215) : QColor(150, 150, 150);
    const QColor target =
        m_page.style() == ReportStyle::color ? QColor(215, 240, 215) : m_page.lightFill();
    const int swatch = m_line - 2 * m_padding;
    int x = m_right.left() + 2 * m_padding;
    const int legendTop = body + m_padding;
    QPainter& painter = m_page.painter();
    const QFontMetrics metrics(m_text, painter.device());
    // A swatch of the area's fill (its outline in black and white), or a stroke of the line.
    auto legend = [&](const QString& caption, const QColor& fill, const QPen& pen, bool stroke) {
        const QRect box(x, legendTop + m_padding, 2 * swatch, swatch);
        painter.save();
        painter.setPen(pen);
        if (stroke) {
            painter.drawLine(box.left(), box.center().y(), box.right(), box.center().y());
        } else {
            painter.setBrush(fills ? QBrush(fill) : QBrush(Qt::white));
            painter.drawRect(box);
        }
        painter.restore();
        x += box.width() + m_padding;
        const int width = metrics.horizontalAdvance(caption) + m_padding;
        text(caption, QRect(x, legendTop, width, m_line), Align::Left);
        x += width + m_margin / 2;
    };
    QPen median(m_page.blueInk(), 3 * m_page.thinPen().width());
    median.setCapStyle(Qt::FlatCap);
    legend(QStringLiteral("Median"), Qt::white, median, true);
    QPen dotted(Qt::black, m_page.thinPen().width(), Qt::DotLine);
    legend(QStringLiteral("25th-75th percentile"), inner,
           fills ? QPen(Qt::NoPen) : QPen(Qt::black, m_page.thinPen().width()), false);
    legend(QStringLiteral("5th-95th percentile"), outer, fills ? QPen(Qt::NoPen) : dotted, false);
    QPen dashed(Qt::black, m_page.thinPen().width(), Qt::DashLine);
    legend(QStringLiteral("Target range %1-%2 %3")
               .arg(GlucoseStatsData::glucoseText(kTargetLow, m_data.unit),
                    GlucoseStatsData::glucoseText(kTargetHigh, m_data.unit),
                    GlucoseStatsData::unitName(m_data.unit)),
           target, fills ? QPen(Qt::NoPen) : dashed, false);

    const int axisWidth = 2 * m_margin;
    const int plotTop = legendTop + 2 * m_line + m_margin / 2;
    const QRect plot(m_right.left() + axisWidth, plotTop,
                     m_right.width() - axisWidth - m_margin / 2,
                     m_bottom - m_line - m_margin / 3 - plotTop);

    // The target band behind everything else.
    const int targetTop = static_cast<int>(yOf(plot, kTargetHigh));
    const int targetBottom = static_cast<int>(yOf(plot, kTargetLow));
    if (fills)
        painter.fillRect(QRect(plot.left(), targetTop, plot.width(), targetBottom - targetTop),
                         target);
    drawProfileAxes(plot);
    if (!fills) {
        painter.setPen(dashed);
        painter.drawLine(plot.left(), targetTop, plot.right(), targetTop);
        painter.drawLine(plot.left(), targetBottom, plot.right(), targetBottom);
    }
    drawProfileBand(plot, k5th, k95th, outer, fills ? Qt::NoPen : Qt::DotLine);
    drawProfileBand(plot, k25th, k75th, inner, fills ? Qt::NoPen : Qt::SolidLine);
    drawProfileMedian(plot);
    painter.setBrush(Qt::NoBrush);
    m_page.frame(plot, m_page.thinPen());
}

void GlucoseStatsRenderer::drawProfileAxes(const QRect& plot) {
    QPainter& painter = m_page.painter();
    for (int mark : kAxisMarks) {
        const int y = static_cast<int>(yOf(plot, mark));
        painter.setPen(m_page.hairlinePen());
        painter.drawLine(plot.left(), y, plot.right(), y);
        text(GlucoseStatsData::glucoseText(mark, m_data.unit),
             QRect(m_right.left(), y - m_line / 2, plot.left() - m_right.left() - m_padding * 2,
                   m_line),
             Align::Right);
    }
    text(GlucoseStatsData::unitName(m_data.unit),
         QRect(m_right.left(), plot.top() - m_line, plot.left() - m_right.left(), m_line),
         Align::Left);
    const int hours = 24;
    for (int hour = 0; hour <= hours; hour += kHoursPerMark) {
        const int x = plot.left() + hour * plot.width() / hours;
        if (hour > 0 && hour < hours) {
            painter.setPen(m_page.hairlinePen());
            painter.drawLine(x, plot.top(), x, plot.bottom());
        }
        text(QStringLiteral("%1:00").arg(hour, 2, 10, QLatin1Char('0')),
             QRect(x - 2 * m_margin, plot.bottom() + 1 + m_padding, 4 * m_margin, m_line),
             Align::Center);
    }
}

std::vector<double> GlucoseStatsRenderer::runXs(const QRect& plot, int first, int last) const {
    const double binWidth = static_cast<double>(plot.width()) / GlucoseStats::kBinCount;
    std::vector<double> xs;
    if (first == last) {
        xs = {plot.left() + first * binWidth, plot.left() + (first + 1) * binWidth};
        return xs;
    }
    for (int i = first; i <= last; ++i)
        xs.push_back(plot.left() + (i + 0.5) * binWidth);
    return xs;
}

double GlucoseStatsRenderer::yOf(const QRect& plot, double mgdl) const {
    const double clamped = std::clamp(mgdl, 0.0, kAxisTopMgDl);
    return plot.bottom() + 1 - clamped / kAxisTopMgDl * plot.height();
}

void GlucoseStatsRenderer::drawProfileBand(const QRect& plot, int lower, int upper,
                                           const QColor& fill, Qt::PenStyle outline) {
    QPainter& painter = m_page.painter();
    const GlucoseStats& stats = m_data.stats;
    forEachRun(stats, [&](int first, int last) {
        const std::vector<double> xs = runXs(plot, first, last);
        auto binAt = [&](size_t k) { return first == last ? first : first + static_cast<int>(k); };
        QPolygonF area;
        for (size_t k = 0; k < xs.size(); ++k)
            area << QPointF(xs[k], yOf(plot, stats.agp[binAt(k)].percentiles[upper]));
        for (size_t k = xs.size(); k-- > 0;)
            area << QPointF(xs[k], yOf(plot, stats.agp[binAt(k)].percentiles[lower]));
        painter.save();
        if (outline == Qt::NoPen) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(fill);
        } else {
            painter.setPen(QPen(Qt::black, m_page.thinPen().width(), outline));
            painter.setBrush(Qt::NoBrush);
        }
        painter.drawPolygon(area);
        painter.restore();
    });
}

void GlucoseStatsRenderer::drawProfileMedian(const QRect& plot) {
    QPainter& painter = m_page.painter();
    const GlucoseStats& stats = m_data.stats;
    QPen pen(m_page.blueInk(), 3 * m_page.thinPen().width());
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::RoundJoin);
    forEachRun(stats, [&](int first, int last) {
        const std::vector<double> xs = runXs(plot, first, last);
        QPolygonF line;
        for (size_t k = 0; k < xs.size(); ++k) {
            const int bin = first == last ? first : first + static_cast<int>(k);
            line << QPointF(xs[k], yOf(plot, stats.agp[bin].percentiles[k50th]));
        }
        painter.save();
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawPolyline(line);
        painter.restore();
    });
}

QColor GlucoseStatsRenderer::bandColor(GlucoseStats::Band band) const {
    if (m_page.style() == ReportStyle::blackAndWhite)
        return Qt::white;
    const bool color = m_page.style() == ReportStyle::color;
    switch (band) {
    case GlucoseStats::veryLow:
        return color ? QColor(150, 0, 0) : QColor(60, 60, 60);
    case GlucoseStats::low:
        return color ? QColor(230, 60, 50) : QColor(125, 125, 125);
    case GlucoseStats::inRange:
        return color ? QColor(70, 170, 80) : QColor(235, 235, 235);
    case GlucoseStats::high:
        return color ? QColor(250, 200, 60) : QColor(185, 185, 185);
    case GlucoseStats::veryHigh:
        break;
    }
    return color ? QColor(235, 125, 30) : QColor(95, 95, 95);
}

void GlucoseStatsRenderer::text(const QString& shown, const QRect& rect, Align align, bool bold,
                                const QColor& color) const {
    if (shown.isEmpty())
        return;
    QPainter& painter = m_page.painter();
    painter.setFont(bold ? m_bold : m_text);
    painter.setPen(QPen(color));
    m_page.textCell(shown, rect, 0, align);
}

int GlucoseStatsRenderer::band(const QRect& column, int top, const QString& title) const {
    const QRect rect(column.left(), top, column.width(), m_line + m_padding);
    m_page.frame(rect, m_page.hairlinePen(), &m_page.emphasisBrush());
    text(title, rect.adjusted(2 * m_padding, 0, 0, 0), Align::Left, true);
    return rect.bottom() + 1;
}
