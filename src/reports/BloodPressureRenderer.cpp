#include "reports/BloodPressureRenderer.h"

#include "reports/ReportSurface.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace {

using Align = ReportPage::Align;

// Shares of a table column, in hundredths: date and time, systolic, diastolic, pulse, weight,
// note icon.
constexpr int kShares[] = {36, 13, 13, 13, 17, 8};
constexpr int kPartCount = static_cast<int>(std::size(kShares));

ReportPage::Mark markOf(PressureClass pressureClass) {
    switch (pressureClass) {
    case PressureClass::Moderate:
        return ReportPage::Mark::Ink;
    case PressureClass::High:
        return ReportPage::Mark::Alarm;
    case PressureClass::Plain:
        break;
    }
    return ReportPage::Mark::Plain;
}

} // namespace

BloodPressureRenderer::BloodPressureRenderer(const ReportPage& page, const BloodPressureData& data)
    : m_page(page), m_data(data), m_title(page.font(ReportPage::FontRole::Title)),
      m_text(page.font(ReportPage::FontRole::Text)),
      m_bold(page.font(ReportPage::FontRole::TextBold)) {
    m_row = page.fontLineHeight(m_text) + 2 * page.padding();
    m_noteLine = page.fontLineHeight(m_text) + page.padding();
}

int BloodPressureRenderer::draw(int firstPage) {
    m_firstPage = firstPage;
    m_pages = 0;
    startPage();

    const int count = static_cast<int>(m_data.rows.size());
    int first = 0;
    do {
        if (first > 0)
            startPage();
        const int fit = std::max(1, (m_page.bodyBottom() - m_page.padding() - m_y - m_row) / m_row);
        const int needed = (count - first + m_columnCount - 1) / m_columnCount;
        const int rows = std::clamp(needed, 1, fit);
        drawTable(first, rows);
        first += rows * m_columnCount;
    } while (first < count);

    drawNotes();
    return m_pages;
}

void BloodPressureRenderer::startPage() {
    if (m_pages > 0)
        m_page.surface().startPage(QPageLayout::Portrait);
    ++m_pages;
    // The pass asks for portrait; the columns follow what the device really gives, page by
    // page, since a device that cannot turn its pages keeps the orientation it has.
    m_columnCount = m_page.newspaperColumnCount();

    const QRect area = m_page.pageRect();
    const int m = m_page.margin();
    const int p = m_page.padding();
    m_page.picture(ReportPicture::Logo, area.topLeft(), 2 * m);
    const int titleHeight = m_page.fontLineHeight(m_title) + p;
    m_page.fittedLabel(m_data.title, QRect(area.left(), area.top(), area.width(), titleHeight),
                       m_title, Align::Center);
    const int periodTop = area.top() + titleHeight;
    const int periodHeight = m_page.fontLineHeight(m_bold) + p;
    m_page.fittedLabel(m_data.periodText, QRect(area.left(), periodTop, area.width(), periodHeight),
                       m_bold, Align::Center);
    m_y = std::max(periodTop + periodHeight, area.top() + 2 * m) + m / 2;

    m_page.painter().setPen(m_page.thinPen());
    m_page.footer(m_firstPage + m_pages - 1);
}

void BloodPressureRenderer::drawTable(int first, int rows) {
    const int top = m_y;
    const std::vector<QRect> columns =
        m_page.columns(m_columnCount, m_page.margin() / 2, top, top + (rows + 1) * m_row);
    const QBrush* shading = m_page.shades() ? &m_page.lightBrush() : nullptr;
    const int count = static_cast<int>(m_data.rows.size());
    for (int c = 0; c < m_columnCount; ++c) {
        const QRect& column = columns[c];
        drawColumnHeader(QRect(column.left(), top, column.width(), m_row));
        for (int r = 0; r < rows; ++r) {
            const QRect rect(column.left(), top + (r + 1) * m_row, column.width(), m_row);
            if (shading && r % 2 == 1)
                m_page.painter().fillRect(rect, *shading);
            const int index = first + c * rows + r;
            if (index < count)
                drawRow(m_data.rows[index], rect);
        }
        m_page.frame(column, m_page.thinPen());
    }
    m_y = top + (rows + 1) * m_row;
}

void BloodPressureRenderer::drawColumnHeader(const QRect& band) {
    m_page.frame(band, m_page.thinPen(), m_page.shades() ? &m_page.emphasisBrush() : nullptr);
    const std::vector<QRect> part = parts(band);
    const int p = m_page.padding();
    m_page.fittedLabel(QStringLiteral("Date/Time"), part[0].adjusted(p, 0, 0, 0), m_bold,
                       Align::Left);
    m_page.fittedLabel(QStringLiteral("Blood Pressure"), part[1].united(part[2]), m_bold,
                       Align::Center);
    m_page.fittedLabel(QStringLiteral("Pulse"), part[3], m_bold, Align::Center);
    m_page.fittedLabel(QStringLiteral("Weight"), part[4], m_bold, Align::Center);
}

void BloodPressureRenderer::drawRow(const BloodPressureData::Row& row, const QRect& rect) {
    const std::vector<QRect> part = parts(rect);
    const int p = m_page.padding();
    m_page.fittedLabel(row.time, part[0].adjusted(p, 0, 0, 0), m_text, Align::Left);
    drawPressure(part[1], row.systolic, row.systolicClass);
    drawPressure(part[2], row.diastolic, row.diastolicClass);
    m_page.fittedLabel(row.pulse, part[3], m_text, Align::Center);
    m_page.fittedLabel(row.weight, part[4], m_text, Align::Center);
    if (row.hasNote) {
        const int height = m_row - 2 * p;
        const QSize own = pictureSize(ReportPicture::Note);
        const int width = own.width() * height / own.height();
        m_page.picture(ReportPicture::Note,
                       QPoint(part[5].left() + (part[5].width() - width) / 2, rect.top() + p),
                       height);
    }
}

void BloodPressureRenderer::drawPressure(const QRect& rect, int value,
                                         PressureClass pressureClass) {
    QPainter& painter = m_page.painter();
    painter.setPen(QColor(0, 0, 0));
    m_page.markedCell(rect, QString::asprintf("%d", value), markOf(pressureClass), true, m_text,
                      m_bold, m_page.bluePen());
}

QRect BloodPressureRenderer::notesArea() const {
    // As wide as the table columns together, so that the notes line up under them.
    const std::vector<QRect> columns = m_page.columns(m_columnCount, m_page.margin() / 2, 0, 0);
    return QRect(columns.front().left(), 0, columns.back().right() - columns.front().left() + 1, 0);
}

void BloodPressureRenderer::drawNotes() {
    const QRect area = notesArea();
    const int p = m_page.padding();
    const QFontMetrics metrics(m_text, m_page.painter().device());
    // The gathered text begins with the line break of its first note.
    QStringList lines = ReportPage::wrapLines(m_data.notes, metrics, area.width() - 2 * p);
    if (!lines.isEmpty() && lines.front().isEmpty())
        lines.removeFirst();

    // Clear of the footer's rule.
    const int bottom = m_page.bodyBottom() - p;
    m_y += m_page.margin() / 2;
    const int leastRows = std::clamp(static_cast<int>(lines.size()), 1, kLeastNoteRows);
    if (m_y + m_row + leastRows * m_noteLine > bottom)
        startPage();

    const QBrush* shading = m_page.shades() ? &m_page.lightBrush() : nullptr;
    int next = 0;
    for (;;) {
        const int top = m_y;
        const int before = next;
        drawNotesBand();
        for (int row = 0; m_y + m_noteLine <= bottom; ++row) {
            const QRect rect(area.left(), m_y, area.width(), m_noteLine);
            if (shading && row % 2 == 1)
                m_page.painter().fillRect(rect, *shading);
            if (next < lines.size())
                m_page.fittedLabel(lines[next++], rect.adjusted(p, 0, -p, 0), m_text, Align::Left);
            m_y += m_noteLine;
        }
        m_page.frame(QRect(area.left(), top, area.width(), m_y - top), m_page.thinPen());
        // A page too short for a single line would never get to the end.
        if (next >= lines.size() || next == before)
            break;
        startPage();
    }
}

void BloodPressureRenderer::drawNotesBand() {
    const QRect area = notesArea();
    const QRect band(area.left(), m_y, area.width(), m_row);
    m_page.frame(band, m_page.thinPen(), m_page.shades() ? &m_page.emphasisBrush() : nullptr);
    m_page.fittedLabel(QStringLiteral("Notes"), band.adjusted(m_page.padding(), 0, 0, 0), m_bold,
                       Align::Left);
    m_y += m_row;
}

std::vector<QRect> BloodPressureRenderer::parts(const QRect& rect) const {
    std::vector<QRect> result;
    int share = 0;
    for (int i = 0; i < kPartCount; ++i) {
        const int left = rect.left() + rect.width() * share / 100;
        share += kShares[i];
        const int right = rect.left() + rect.width() * share / 100;
        result.emplace_back(left, rect.top(), right - left, rect.height());
    }
    return result;
}
