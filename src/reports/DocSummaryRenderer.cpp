#include "reports/DocSummaryRenderer.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <numeric>

namespace {

using Align = ReportPage::Align;

constexpr int kPatientBoxLines = 7;
constexpr int kPatientRows = 5;
constexpr int kExtremeRows = 10;
constexpr int kA1cRows = 3;
constexpr int kVitalRows = 5;
// The A1c chart's value axis, in tenths.
constexpr int kChartLowest = 40;
constexpr int kChartNinths = 9;
constexpr int kChartPositions = 6;

ReportPicture dayTypePicture(int dayType, bool& found) {
    found = dayType == 0 || dayType == 2;
    return dayType == 0 ? ReportPicture::DaySick : ReportPicture::DayActive;
}

} // namespace

DocSummaryRenderer::DocSummaryRenderer(const ReportPage& page, const DocSummaryData& data)
    : m_page(page), m_data(data), m_margin(page.margin()), m_padding(page.padding()),
      m_text(page.font(ReportPage::FontRole::Text)),
      m_bold(page.font(ReportPage::FontRole::TextBold)),
      m_line(m_padding + page.fontLineHeight(m_text)) {
    // This page is inset on the left and right only; its footer sits at the bottom edge of the
    // printable area.
    m_area = page.pageRect(false);
    m_bottom = page.footerBand(m_area).top() - m_padding;
    // Two columns with a gutter of one margin between them.
    const int width = (m_area.width() - m_margin) / 2;
    m_left = QRect(m_area.left(), m_area.top(), width, m_area.height());
    m_right = QRect(m_area.left() + m_area.width() - width, m_area.top(), width, m_area.height());
}

void DocSummaryRenderer::draw(int pageNumber) {
    const int top = drawHeader();
    drawA1c(drawAverages(drawExtremes(drawPatient(top))));
    int right = top;
    if (m_data.currentProtocol)
        right = drawProtocols(right);
    drawNotes(drawVitals(drawMeters(drawMedications(right))));
    m_page.painter().setPen(m_page.thinPen());
    m_page.footer(pageNumber, m_page.footerBand(m_area));
}

int DocSummaryRenderer::drawHeader() {
    const QRect& area = m_area;
    const int logoHeight = 2 * m_margin;
    m_page.picture(ReportPicture::Logo, area.topLeft(), logoHeight);

    const QFont title = m_page.font(ReportPage::FontRole::Title);
    const int titleLine = m_padding + m_page.fontLineHeight(title);
    QPainter& painter = m_page.painter();
    painter.setPen(QPen(Qt::black));
    painter.setFont(title);
    m_page.textCell(QStringLiteral(" Physician's Summary"),
                    QRect(area.left(), area.top(), area.width(), titleLine), 0, Align::Center);
    const QRect period(area.left(), area.top() + titleLine, area.width(), m_line);
    text(m_data.periodText, period, Align::Center, true);
    return std::max(area.top() + logoHeight, period.bottom() + 1) + m_margin / 3;
}

int DocSummaryRenderer::drawPatient(int top) {
    const QRect box(m_left.left(), top, m_left.width(), kPatientBoxLines * m_line);
    m_page.frame(box, m_page.hairlinePen(), &m_page.emphasisBrush());
    const QRect inner = box.adjusted(m_margin / 2, m_margin / 2, -m_margin / 2, -m_margin / 2);
    const int quarter = inner.width() / 4;
    const int step = m_line + m_padding;
    int y = inner.top() + (inner.height() - kPatientRows * step + m_padding) / 2;

    auto label = [&](const char* caption) {
        text(QString::fromLatin1(caption), QRect(inner.left(), y, quarter, m_line), Align::Right,
             true);
    };
    // A value from the quarter `first` (1 to 3), `quarters` wide.
    auto value = [&](const QString& shown, int first, int quarters) {
        const int left = inner.left() + first * quarter + (first == 1 ? 2 * m_padding : 0);
        text(shown, QRect(left, y, inner.left() + (first + quarters) * quarter - left, m_line),
             Align::Left);
    };
    const DocSummaryData::Patient& p = m_data.patient;
    label("Patient:");
    value(p.name, 1, 3);
    y += step;
    label("Date of Birth:");
    value(p.birthDate, 1, 1);
    value(p.age, 2, 2);
    y += step;
    label("Date of Dx:");
    value(p.dxDate, 1, 1);
    value(p.duration, 2, 2);
    y += step;
    label("Physician Name:");
    value(p.physician, 1, 3);
    y += step;
    label("Phone:");
    value(p.phone, 1, 1);
    value(p.fax, 2, 2);
    return box.bottom() + 1 + m_margin / 3;
}

int DocSummaryRenderer::drawExtremes(int top) {
    const int rows = band(m_left, top, QStringLiteral("Extremes"));
    const int iconHeight = m_line - 2 * m_padding;
    for (int i = 0; i < kExtremeRows; ++i) {
        const QRect r = row(m_left, rows, i);
        const bool low = i < DocSummaryData::kExtremeCount;
        const auto& list = low ? m_data.lowest : m_data.highest;
        const int at = low ? i : i - DocSummaryData::kExtremeCount;
        if (at >= static_cast<int>(list.size()))
            continue;
        const DocSummaryData::Extreme& e = list[at];
        const auto parts = split(r, {10, 7, 4, 5, 4});
        text(e.date, parts[0].adjusted(2 * m_padding, 0, 0, 0), Align::Left);
        text(e.slot, parts[1], Align::Left);
        text(e.time, parts[2], Align::Center);
        m_page.glucoseCell(parts[3], e.glucose, e.range, m_data.unit, m_text, m_bold,
                           m_page.redPen(), m_page.bluePen());
        QPoint icon(parts[4].left() + m_padding, r.top() + m_padding);
        bool dayIcon = false;
        const ReportPicture day = dayTypePicture(e.dayType, dayIcon);
        if (dayIcon)
            icon.rx() += m_page.picture(day, icon, iconHeight) + m_padding;
        if (e.ketone != 0)
            m_page.picture(ketonePicture(e.ketone), icon, iconHeight);
    }
    const int bottom = rows + kExtremeRows * m_line;
    frameSection(m_left, top, bottom);
    return bottom + m_margin / 3;
}

int DocSummaryRenderer::drawAverages(int top) {
    const int rows = band(m_left, top, QString());
    const QRect head(m_left.left(), top, m_left.width(), rows - top);
    const auto titles = split(head, {3, 2, 2, 2, 2, 2, 2});
    text(QStringLiteral("Averages"), titles[0].adjusted(2 * m_padding, 0, 0, 0), Align::Left, true);
    const char* const kTitles[] = {"Target", "Week 1", "Week 2", "Week 3&4", "Week 5&6", "Overall"};
    for (int i = 0; i < 6; ++i)
        text(QString::fromLatin1(kTitles[i]), titles[i + 1], Align::Center, true);

    const int count = static_cast<int>(m_data.slotRows.size());
    const int half = m_padding / 2;
    for (int i = 0; i < count; ++i) {
        const DocSummaryData::SlotAverages& slot = m_data.slotRows[i];
        const auto parts = split(row(m_left, rows, i), {3, 2, 2, 2, 2, 2, 2});
        text(slot.name, parts[0].adjusted(m_margin / 2, 0, 0, 0), Align::Left, true);
        text(slot.target, parts[1], Align::Center);
        for (int g = 0; g < DocSummaryData::kGroupCount; ++g)
            if (slot.averages[g])
                m_page.glucoseCell(parts[g + 2].adjusted(half, half, -half, -half),
                                   *slot.averages[g], slot.range, m_data.unit, m_text, m_bold,
                                   m_page.redPen(), m_page.bluePen());
    }
    const auto last = split(row(m_left, rows, count), {1, 1});
    text(m_data.periodAverageText, last[0].adjusted(m_margin / 2, 0, 0, 0), Align::Left, true);
    text(m_data.predictedA1cText, last[1].adjusted(m_margin / 2, 0, 0, 0), Align::Left, true);
    const int bottom = rows + (count + 1) * m_line;
    frameSection(m_left, top, bottom);
    return bottom + m_margin / 3;
}

void DocSummaryRenderer::drawA1c(int top) {
    const int rows = band(m_left, top, QStringLiteral("Hemoglobin A1c"));
    const int count = static_cast<int>(m_data.a1cRows.size());
    for (int i = 0; i < kA1cRows; ++i) {
        const auto halves = split(row(m_left, rows, i), {1, 1});
        for (int side = 0; side < 2; ++side) {
            const int at = side * kA1cRows + i;
            if (at >= count)
                continue;
            const QRect cell = halves[side].adjusted(2 * m_padding, 0, -2 * m_padding, 0);
            text(m_data.a1cRows[at].date, cell, Align::Left);
            text(m_data.a1cRows[at].value, cell, Align::Right, true);
        }
    }
    const int chartTop = rows + kA1cRows * m_line;
    if (!m_data.a1cPoints.empty())
        drawA1cChart(QRect(m_left.left(), chartTop, m_left.width(), m_bottom - chartTop)
                         .adjusted(m_margin / 3, m_margin / 3, -m_margin / 3, -m_margin / 3));
    frameSection(m_left, top, std::max(chartTop, m_bottom));
}

void DocSummaryRenderer::drawA1cChart(const QRect& area) {
    QPainter& painter = m_page.painter();
    // Room for the value labels on the left, half a label above the top one and a line of
    // month labels below.
    const QFontMetrics metrics(m_text, painter.device());
    const int gutter = metrics.horizontalAdvance(QStringLiteral("13-")) + m_padding;
    const QRect chart = area.adjusted(gutter, m_line / 2, 0, -m_line);
    if (chart.height() < kChartNinths || chart.width() < kChartPositions)
        return;
    m_page.frame(chart, m_page.thinPen());

    const int ninth = chart.height() / kChartNinths;
    const char* const kLabels[] = {"13-", "11-", "9-", "7 ", "5-"};
    for (int i = 0; i < 5; ++i) {
        const int y = chart.top() + 2 * i * ninth;
        text(QString::fromLatin1(kLabels[i]),
             QRect(area.left(), y - m_line / 2, chart.left() - area.left(), m_line), Align::Right);
    }

    auto positionX = [&](int position) {
        return chart.left() + position * (chart.width() - 1) / (kChartPositions - 1);
    };
    // Guides in the finest pen, so that the results' line stands out in every style.
    painter.setPen(m_page.hairlinePen());
    for (int position = 1; position < kChartPositions - 1; ++position)
        painter.drawLine(positionX(position), chart.top(), positionX(position), chart.bottom());

    std::vector<QPoint> points;
    for (const DocSummaryData::A1cPoint& p : m_data.a1cPoints) {
        const int x = positionX(p.position);
        points.emplace_back(x, chart.bottom() - (p.tenths - kChartLowest) * ninth / 10);
        const QRect month(x - chart.width() / 10, chart.bottom() + 1, chart.width() / 5, m_line);
        if (p.position == 0)
            text(p.month, month.translated(chart.width() / 10, 0), Align::Left);
        else if (p.position == kChartPositions - 1)
            text(p.month, month.translated(-chart.width() / 10, 0), Align::Right);
        else
            text(p.month, month, Align::Center);
    }

    // Results beyond the axis stay inside the frame.
    painter.save();
    painter.setClipRect(chart);
    painter.setPen(m_page.bluePen());
    painter.drawPolyline(points.data(), static_cast<int>(points.size()));
    const int dot = std::max(2, m_padding / 2);
    painter.setBrush(m_page.whiteBrush());
    for (const QPoint& point : points)
        painter.drawEllipse(point, dot, dot);
    painter.restore();
}

int DocSummaryRenderer::drawProtocols(int top) {
    const int rows = band(m_right, top, QString());
    const QRect head(m_right.left(), top, m_right.width(), rows - top);
    const auto titles = split(head, {1, 1});
    text(m_data.currentProtocol->title, titles[0].adjusted(2 * m_padding, 0, 0, 0), Align::Left,
         true);
    if (m_data.previousProtocol)
        text(m_data.previousProtocol->title, titles[1].adjusted(2 * m_padding, 0, 0, 0),
             Align::Left, true);
    for (int i = 0; i < DocSummaryData::kProtocolRows; ++i) {
        const auto halves = split(row(m_right, rows, i), {1, 1});
        const QStringList& current = m_data.currentProtocol->lines;
        if (i < current.size())
            text(current[i], halves[0].adjusted(2 * m_padding, 0, 0, 0), Align::Left);
        if (m_data.previousProtocol && i < m_data.previousProtocol->lines.size())
            text(m_data.previousProtocol->lines[i], halves[1].adjusted(2 * m_padding, 0, 0, 0),
                 Align::Left);
    }
    const int bottom = rows + DocSummaryData::kProtocolRows * m_line;
    frameSection(m_right, top, bottom);
    return bottom + m_margin / 3;
}

int DocSummaryRenderer::drawTable(int top, const std::initializer_list<int>& columns,
                                  const QStringList& titles, const std::vector<Align>& aligns,
                                  const std::vector<QStringList>& cells, int rowCount) {
    const int rows = band(m_right, top, QString());
    // The first column's texts stand in from the section's edge, as a band's title does.
    const auto inset = [this](const QRect& cell, std::size_t column) {
        return column == 0 ? cell.adjusted(2 * m_padding, 0, 0, 0) : cell;
    };
    const auto heads = split(QRect(m_right.left(), top, m_right.width(), rows - top), columns);
    for (std::size_t c = 0; c < heads.size(); ++c)
        text(titles[static_cast<qsizetype>(c)], inset(heads[c], c), aligns[c], true);
    for (int i = 0; i < rowCount; ++i) {
        const auto parts = split(row(m_right, rows, i), columns);
        if (i >= static_cast<int>(cells.size()))
            continue;
        for (std::size_t c = 0; c < parts.size(); ++c)
            text(cells[static_cast<std::size_t>(i)][static_cast<qsizetype>(c)], inset(parts[c], c),
                 aligns[c]);
    }
    const int bottom = rows + rowCount * m_line;
    frameSection(m_right, top, bottom);
    return bottom + m_margin / 3;
}

int DocSummaryRenderer::drawMedications(int top) {
    std::vector<QStringList> cells;
    for (const DocSummaryData::MedicationRow& med : m_data.medications)
        cells.push_back({med.name, med.openDate, med.age, med.rxNumber});
    return drawTable(top, {9, 5, 3, 4},
                     {QStringLiteral("Medications"), QStringLiteral("Open Date"),
                      QStringLiteral("Age"), QStringLiteral("Rx. Number")},
                     {Align::Left, Align::Left, Align::Center, Align::Left}, cells,
                     DocSummaryData::kMedicationCount);
}

int DocSummaryRenderer::drawMeters(int top) {
    std::vector<QStringList> cells;
    for (const DocSummaryData::MeterRow& meter : m_data.meters)
        cells.push_back({meter.desc, meter.mfg, meter.model, meter.serviceDate, meter.serialNo});
    return drawTable(top, {6, 5, 5, 4, 4},
                     {QStringLiteral("Pump and Meters"), QStringLiteral("Manufacturer"),
                      QStringLiteral("Model"), QStringLiteral("Servie Date"),
                      QStringLiteral("Serial No.")},
                     std::vector<Align>(5, Align::Left), cells, DocSummaryData::kMeterCount);
}

int DocSummaryRenderer::drawVitals(int top) {
    const int rows = band(m_right, top, QStringLiteral("Vitals"));
    const int count = static_cast<int>(m_data.vitals.size());
    for (int i = 0; i < kVitalRows; ++i) {
        const auto halves = split(row(m_right, rows, i), {1, 1});
        for (int side = 0; side < 2; ++side) {
            const int at = side * kVitalRows + i;
            if (at >= count)
                continue;
            const DocSummaryData::VitalRow& vital = m_data.vitals[at];
            const auto parts = split(halves[side].adjusted(2 * m_padding, 0, 0, 0), {9, 6, 4, 5});
            text(vital.time, parts[0], Align::Left);
            text(vital.pressure, parts[1], Align::Left);
            text(vital.pulse, parts[2], Align::Left);
            text(vital.weight, parts[3], Align::Left);
        }
    }
    const int bottom = rows + kVitalRows * m_line;
    frameSection(m_right, top, bottom);
    return bottom + m_margin / 3;
}

void DocSummaryRenderer::drawNotes(int top) {
    const int rows = band(m_right, top, QStringLiteral("Patient Notes"));
    int i = 0;
    for (; rows + (i + 1) * m_line <= m_bottom; ++i) {
        const QRect r = row(m_right, rows, i);
        if (i < m_data.notes.size())
            text(m_data.notes[i], r.adjusted(m_padding, 0, 0, 0), Align::Left);
    }
    frameSection(m_right, top, rows + i * m_line);
}

int DocSummaryRenderer::band(const QRect& column, int top, const QString& title) {
    const QRect rect(column.left(), top, column.width(), m_line + m_padding);
    m_page.frame(rect, m_page.hairlinePen(), &m_page.emphasisBrush());
    if (!title.isEmpty())
        text(title, rect.adjusted(2 * m_padding, 0, 0, 0), Align::Left, true);
    return rect.bottom() + 1;
}

QRect DocSummaryRenderer::row(const QRect& column, int top, int index) const {
    const QRect rect(column.left(), top + index * m_line, column.width(), m_line);
    if (index % 2 == 1 && m_page.shades())
        m_page.painter().fillRect(rect, m_page.lightBrush());
    return rect;
}

void DocSummaryRenderer::frameSection(const QRect& column, int top, int bottom) const {
    m_page.frame(QRect(column.left(), top, column.width(), bottom - top), m_page.hairlinePen());
}

void DocSummaryRenderer::text(const QString& shown, const QRect& rect, Align align,
                              bool bold) const {
    if (shown.isEmpty())
        return;
    QPainter& painter = m_page.painter();
    painter.setFont(bold ? m_bold : m_text);
    painter.setPen(QPen(Qt::black));
    m_page.textCell(shown, rect, 0, align);
}

std::vector<QRect> DocSummaryRenderer::split(const QRect& rect,
                                             std::initializer_list<int> weights) {
    const int total = std::accumulate(weights.begin(), weights.end(), 0);
    std::vector<QRect> parts;
    int before = 0;
    for (int weight : weights) {
        const int left = rect.left() + before * rect.width() / total;
        before += weight;
        const int right = rect.left() + before * rect.width() / total;
        parts.emplace_back(left, rect.top(), right - left, rect.height());
    }
    return parts;
}
