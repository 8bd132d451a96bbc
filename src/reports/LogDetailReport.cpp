#include "reports/LogDetailReport.h"

#include "logbook/LogbookContext.h"
#include "reports/ReportContext.h"
#include "reports/ReportPage.h"
#include "reports/ReportSurface.h"
#include "storage/Clock.h"
#include "storage/Conversions.h"

#include <QFontMetrics>
#include <QPainter>
#include <climits>

namespace {

constexpr std::time_t kDay = 86400;
// Rows of notes the notes area always has room for.
constexpr int kLeastNoteRows = 10;

using Align = ReportPage::Align;

} // namespace

LogDetailReport::LogDetailReport(const ReportContext& context, const QString& patientName,
                                 std::time_t weekDate, ReportStyle style, int firstPage,
                                 bool worksheet)
    : m_context(context), m_patientName(patientName), m_weekDate(weekDate), m_style(style),
      m_firstPage(firstPage), m_worksheet(worksheet) {}

LogDetailReport::~LogDetailReport() = default;

int LogDetailReport::print(ReportSurface& surface) {
    setUp(surface);
    QPainter& painter = surface.painter();
    painter.save();
    if (m_worksheet)
        printWorksheet();
    else
        printWeek();
    painter.restore();
    m_page.reset();
    return m_pagesPrinted;
}

void LogDetailReport::setUp(ReportSurface& surface) {
    m_surface = &surface;
    m_page = std::make_unique<ReportPage>(surface, m_style, m_context.versionText,
                                          m_context.logbook.clock().now());
    if (m_worksheet) {
        for (int i = 0; i < 7; ++i)
            m_week.days[i].date = m_weekDate - (6 - i) * kDay;
        m_week.weekDate = m_weekDate;
    } else {
        m_week = LogWeekData::collect(m_context.logbook, m_weekDate);
    }

    m_textFont = m_page->font(ReportPage::FontRole::Text);
    m_boldFont = m_page->makeFont(8, 700);
    m_smallFont = m_page->font(ReportPage::FontRole::Small);
    const int p = m_page->padding();
    m_line = m_page->fontLineHeight(m_textFont) + p;
    m_noteLine = m_page->fontLineHeight(m_smallFont) + p;
    // Glucose out of range is framed in inks twice as wide as the grid's lines.
    m_redPen = m_page->redPen();
    m_redPen.setWidth(2 * m_page->thinPen().width());
    m_bluePen = m_page->bluePen();
    m_bluePen.setWidth(2 * m_page->thinPen().width());
    // Seven days and the totals share the width equally; the names of the slots need less.
    const int width = surface.pageSize().width() - 2 * m_page->margin();
    m_labelWidth = width / 10;
    m_columnWidth = (width - m_labelWidth) / 8;
    const QRect drawable = surface.drawingRect();
    m_left = drawable.left() + (drawable.width() - gridWidth()) / 2;

    m_onFirstPage = true;
    m_pagesPrinted = 0;
    m_y = INT_MAX / 2; // below any page: the first row starts one
}

void LogDetailReport::printWeek() {
    bool printedAny = false;
    for (const WeekSlot& slot : m_week.logSlots) {
        if (slot.rows.empty())
            continue;
        m_slot = &slot;
        m_slotContinued = false;
        // A band is never left alone at the bottom of a page.
        makeRoom(m_line + 2 * m_line);
        drawBand(slot.name);
        QRect last;
        for (const WeekRow& row : slot.rows)
            last = drawRow(&row, false);
        drawSlotTotals(slot, column(8, last.top(), last.height()));
        printedAny = true;
    }
    m_slot = nullptr;
    if (!printedAny) {
        makeRoom(m_line + 2 * m_line);
        drawBand(QString());
        drawRow(nullptr, false);
    }
    // A short week still fills its page, so that every week's page looks alike.
    const int limit = m_page->bodyBottom() - reservedBelowRows();
    while (m_y + 2 * m_line <= limit)
        drawRow(nullptr, false);
    drawWeekly();
    drawNotes();
}

void LogDetailReport::printWorksheet() {
    makeRoom(m_line + 2 * m_line);
    drawBand(QString());
    const int limit = m_page->bodyBottom() - reservedBelowRows();
    int row = 0;
    do
        drawRow(nullptr, row++ % 2 == 1);
    while (m_y + 2 * m_line <= limit);
    drawNotes();
}

int LogDetailReport::reservedBelowRows() const {
    const int weekly = m_worksheet ? 0 : 3 * m_line;
    return weekly + m_page->padding() + m_line + kLeastNoteRows * m_noteLine;
}

bool LogDetailReport::makeRoom(int height, int limit) {
    if (limit < 0)
        limit = m_page->bodyBottom();
    if (m_y + height <= limit)
        return false;
    startPage();
    return true;
}

void LogDetailReport::startPage() {
    if (!m_onFirstPage)
        m_surface->startPage(QPageLayout::Landscape);
    ++m_pagesPrinted;
    drawHeader();
    m_onFirstPage = false;
}

void LogDetailReport::drawHeader() {
    const ReportPage& page = *m_page;
    QPainter& painter = page.painter();
    painter.setPen(page.thinPen());
    QString title = QStringLiteral("%1's %2").arg(
        m_patientName,
        m_worksheet ? QStringLiteral("Worksheet") : QStringLiteral("Detailed Log Book"));
    if (!m_onFirstPage)
        title += QStringLiteral(" ( continued )");
    const QString period = QStringLiteral("%1 through %2")
                               .arg(formatTime(m_week.days[0].date, "%B %d, %Y"),
                                    formatTime(m_week.days[6].date, "%B %d, %Y"));
    const int y = page.header(title, period, page.pageRect(), m_boldFont);
    const QBrush* fill = page.shades() ? &page.emphasisBrush() : nullptr;
    page.frame(QRect(m_left, y, gridWidth(), m_line), page.thinPen(), fill);
    painter.setPen(page.thinPen());
    for (int i = 1; i < 9; ++i)
        painter.drawLine(columnEdge(i), y, columnEdge(i), y + m_line);
    for (int i = 1; i < 9; ++i) {
        const QRect cell = column(i, y, m_line);
        QString text;
        if (i == 8)
            text = QStringLiteral("Totals & Averages");
        else
            text = formatTime(m_week.days[i - 1].date, "%A (%m/%d)");
        drawText(text, cell, m_boldFont, Align::Center, page.padding());
    }
    m_y = y + m_line;
    m_columnHeaderAbove = true;

    painter.setPen(page.thinPen());
    page.footer(m_firstPage + m_pagesPrinted - 1);
}

void LogDetailReport::drawBand(const QString& name) {
    const ReportPage& page = *m_page;
    const QBrush* fill = page.shades() ? &page.emphasisBrush() : nullptr;
    const QRect band(m_left, m_y, gridWidth(), m_line);
    page.frame(band, page.thinPen(), fill);
    const int p = page.padding();
    const QFontMetrics metrics(m_boldFont, page.painter().device());
    drawText(metrics.elidedText(name, Qt::ElideRight, m_labelWidth - 2 * p), column(0, m_y, m_line),
             m_boldFont, Align::Left, p);
    if (m_columnHeaderAbove) {
        const int third = m_columnWidth / 3;
        for (int day = 1; day <= 7; ++day) {
            const QRect cell = column(day, m_y, m_line);
            const QString legend[] = {QStringLiteral("Time"), QStringLiteral("Glucose"),
                                      QStringLiteral("Carbs")};
            for (int k = 0; k < 3; ++k)
                drawText(legend[k], QRect(cell.left() + k * third, m_y, third, m_line), m_smallFont,
                         Align::Center, 0);
        }
        m_columnHeaderAbove = false;
    }
    m_y += m_line;
}

QRect LogDetailReport::drawRow(const WeekRow* row, bool shaded) {
    const ReportPage& page = *m_page;
    const int height = 2 * m_line;
    if (makeRoom(height) && m_slot) {
        m_slotContinued = true;
        drawBand(m_slot->name + QStringLiteral(" (cont)"));
    }
    QPainter& painter = page.painter();
    const QRect rect(m_left, m_y, gridWidth(), height);
    if (shaded)
        painter.fillRect(rect, page.lightBrush());

    // Dotted dividers inside each day: the thirds of the upper half and the middle.
    QPen dotted = page.hairlinePen();
    dotted.setStyle(Qt::DotLine);
    painter.setPen(dotted);
    const int third = m_columnWidth / 3;
    painter.drawLine(columnEdge(1), m_y + m_line, columnEdge(8), m_y + m_line);
    for (int day = 1; day <= 7; ++day) {
        const QRect cell = column(day, m_y, height);
        for (int k = 1; k <= 2; ++k)
            painter.drawLine(cell.left() + k * third, m_y, cell.left() + k * third, m_y + m_line);
    }
    // The grid: the columns' sides and the row's bottom.
    painter.setPen(page.thinPen());
    for (int i = 0; i <= 9; ++i)
        painter.drawLine(columnEdge(i), m_y, columnEdge(i), m_y + height);
    painter.drawLine(m_left, m_y + height, m_left + gridWidth(), m_y + height);

    if (row)
        for (int day = 0; day < 7; ++day)
            if (row->cells[day])
                drawEntry(*row->cells[day], column(day + 1, m_y, height));
    m_y += height;
    return rect;
}

void LogDetailReport::drawEntry(const WeekCell& cell, const QRect& rect) {
    const ReportPage& page = *m_page;
    const int p = page.padding();
    const int third = m_columnWidth / 3;
    const QRect timeRect(rect.left(), rect.top(), third, m_line);

    // A twelve-hour time may be too wide for its third in the larger font.
    const StoredClock clock = storedClock(cell.sampleTime);
    const QString time =
        clock.valid() ? formatTimeOfDay(clock.hour, clock.minute, m_week.militaryTime) : QString();
    const bool fits =
        QFontMetrics(m_textFont, page.painter().device()).horizontalAdvance(time) <= third - 2 * p;
    drawText(time, timeRect, fits ? m_textFont : m_smallFont, Align::Center, 0);
    if (cell.glucose != 0)
        drawGlucose(timeRect.translated(third, 0), cell.glucose, m_slot->range);
    if (cell.carbs != 0)
        drawText(QString::number(cell.carbs), timeRect.translated(2 * third, 0), m_textFont,
                 Align::Center, 0);

    std::vector<ReportPicture> icons;
    if (cell.hasNote)
        icons.push_back(ReportPicture::Note);
    if (cell.otherDelivery)
        icons.push_back(ReportPicture::Delivery);
    if (cell.siteChange)
        icons.push_back(ReportPicture::SiteChange);
    if (cell.ketone >= 1 && cell.ketone <= 4)
        icons.push_back(ketonePicture(cell.ketone));
    const int lower = rect.top() + m_line;
    const int iconsLeft = drawIcons(icons, rect.left() + rect.width() - p, lower);

    QString dosage = cell.dosage;
    if (!cell.correction.isEmpty())
        dosage += QStringLiteral(" (%1)").arg(cell.correction);
    const QRect dosageRect(rect.left(), lower, iconsLeft - rect.left(), m_line);
    const QFontMetrics metrics(m_smallFont, page.painter().device());
    drawText(metrics.elidedText(dosage.trimmed(), Qt::ElideRight, dosageRect.width() - 2 * p),
             dosageRect, m_smallFont, Align::Left, p);
}

int LogDetailReport::drawIcons(const std::vector<ReportPicture>& pictures, int right, int top) {
    const int height = m_line - 2 * m_page->padding();
    const int y = top + (m_line - height) / 2;
    int x = right;
    for (const ReportPicture picture : pictures) {
        const QSize own = pictureSize(picture);
        const int width = own.width() * height / own.height();
        x -= width;
        m_page->picture(picture, QPoint(x, y), height);
        x -= m_page->padding() / 2;
    }
    return x;
}

void LogDetailReport::drawSlotTotals(const WeekSlot& slot, const QRect& rect) {
    const int third = m_columnWidth / 3;
    const QRect upper(rect.left(), rect.top(), third, m_line);
    if (m_slotContinued)
        drawText(QStringLiteral("(cont)"), upper, m_smallFont, Align::Center, 0);
    if (slot.tally.glucoseCount != 0)
        drawGlucose(upper.translated(third, 0), slot.tally.averageGlucose(), slot.range);
    if (slot.tally.carbCount != 0)
        drawText(QString::asprintf("%d", slot.tally.averageCarbs()), upper.translated(2 * third, 0),
                 m_textFont, Align::Center, 0);
    drawTotalsText(slot.tally.insulin, slot.tally.correction, slot.tally.carbSum,
                   QRect(rect.left(), rect.top() + m_line, rect.width(), m_line));
}

void LogDetailReport::drawTotalsText(int insulin, int correction, int carbs, const QRect& rect) {
    const QString text = logTotalsText(insulin, correction, carbs);
    if (text.isEmpty())
        return;
    // On a narrow page the whole text is kept by going down to the small size, bold still.
    QFont font = m_boldFont;
    const int room = rect.width() - 2 * m_page->padding();
    if (QFontMetrics(font, m_page->painter().device()).horizontalAdvance(text.trimmed()) > room)
        font = m_page->makeFont(6, 700);
    drawText(text.trimmed(), rect, font, Align::Center, m_page->padding());
}

void LogDetailReport::drawWeekly() {
    const ReportPage& page = *m_page;
    makeRoom(3 * m_line);
    const int height = 3 * m_line;
    const QRect rect(m_left, m_y, gridWidth(), height);
    page.frame(rect, page.thinPen(), page.shades() ? &page.lightBrush() : nullptr);
    QPainter& painter = page.painter();
    painter.setPen(page.thinPen());
    for (int i = 1; i < 9; ++i)
        painter.drawLine(columnEdge(i), m_y, columnEdge(i), m_y + height);
    drawText(QStringLiteral("Weekly"), column(0, m_y, height), m_boldFont, Align::Left,
             page.padding());

    const int third = m_columnWidth / 3;
    const int p = page.padding();
    for (int day = 0; day < 7; ++day) {
        const WeekDay& d = m_week.days[day];
        const QRect cell = column(day + 1, m_y, height);
        const QRect upper(cell.left() + third, cell.top(), third, m_line);
        if (d.tally.glucoseCount != 0)
            drawGlucose(upper, d.tally.averageGlucose(), m_week.range);
        if (d.tally.carbSum != 0)
            drawText(QString::number(d.tally.carbSum), upper.translated(third, 0), m_textFont,
                     Align::Center, 0);
        drawTotalsText(d.tally.insulin, d.tally.correction, d.tally.carbSum,
                       QRect(cell.left(), cell.top() + m_line, cell.width(), m_line));
        std::vector<ReportPicture> icons;
        if (d.tally.maxKetone >= 1)
            icons.push_back(ketonePicture(d.tally.maxKetone));
        if (d.siteChange)
            icons.push_back(ReportPicture::SiteChange);
        if (d.delivery)
            icons.push_back(ReportPicture::Delivery);
        if (d.hasNote || d.tally.hasNote)
            icons.push_back(ReportPicture::Note);
        if (d.dayType == 0)
            icons.push_back(ReportPicture::DaySick);
        drawIcons(icons, cell.left() + cell.width() - p, cell.top() + 2 * m_line);
    }

    const LogWeekTotals week = m_week.weekTotals();
    const QRect last = column(8, m_y, height);
    const QRect upper(last.left() + third, last.top(), third, m_line);
    if (week.glucoseCount != 0)
        drawGlucose(upper, week.glucose, m_week.range);
    if (week.carbs != 0)
        drawText(QString::number(week.carbs), upper.translated(third, 0), m_textFont, Align::Center,
                 0);
    drawTotalsText(week.insulin, week.correction, week.carbs,
                   QRect(last.left(), last.top() + m_line, last.width(), m_line));
    m_y += height;
}

void LogDetailReport::drawNotes() {
    const ReportPage& page = *m_page;
    const int p = page.padding();
    makeRoom(p + m_line + kLeastNoteRows * m_noteLine);
    m_y += p;

    const QRect legend(m_left, m_y, gridWidth(), m_line);
    page.frame(legend, page.thinPen(), page.shades() ? &page.emphasisBrush() : nullptr);
    drawText(QStringLiteral("Notes"), column(0, m_y, m_line), m_boldFont, Align::Left, p);
    drawLegend(legend);
    m_y += m_line;

    const QFontMetrics metrics(m_smallFont, page.painter().device());
    std::array<QStringList, 7> lines;
    for (int day = 0; day < 7; ++day)
        lines[day] = ReportPage::wrapLines(m_week.days[day].notes, metrics, m_columnWidth - 2 * p);

    QPainter& painter = page.painter();
    const int top = m_y;
    // Clear of the footer's rule.
    const int bottom = page.bodyBottom() - p;
    for (int row = 0; m_y + m_noteLine <= bottom; ++row) {
        const QRect band(m_left, m_y, gridWidth(), m_noteLine);
        if (row % 2 == 1)
            painter.fillRect(band, page.lightBrush());
        for (int day = 0; day < 7; ++day)
            if (row < lines[day].size())
                drawText(lines[day][row], column(day + 1, m_y, m_noteLine), m_smallFont,
                         Align::Left, p);
        m_y += m_noteLine;
    }
    painter.setPen(page.thinPen());
    for (int i = 0; i <= 9; ++i)
        painter.drawLine(columnEdge(i), top, columnEdge(i), m_y);
    painter.drawLine(m_left, m_y, m_left + gridWidth(), m_y);
}

void LogDetailReport::drawLegend(const QRect& band) {
    const ReportPage& page = *m_page;
    page.legend({{QStringLiteral("Keytones Negative:"), ReportPicture::KetoneNone},
                 {QStringLiteral("Small"), ReportPicture::KetoneSmall},
                 {QStringLiteral("Medium"), ReportPicture::KetoneMedium},
                 {QStringLiteral("Large"), ReportPicture::KetoneLarge},
                 {QStringLiteral(" Sick"), ReportPicture::DaySick, true},
                 {QStringLiteral("Site Change:"), ReportPicture::SiteChange}},
                columnEdge(1) + page.padding(), band.top(), m_line, m_textFont);
}

void LogDetailReport::drawGlucose(const QRect& rect, int value, const GlucoseRange& range) {
    m_page->glucoseCell(rect, value, range, m_week.glucoseUnit, m_textFont, m_boldFont, m_redPen,
                        m_bluePen);
}

void LogDetailReport::drawText(const QString& text, const QRect& rect, const QFont& font,
                               Align align, int inset) {
    if (text.isEmpty())
        return;
    QPainter& painter = m_page->painter();
    painter.setFont(font);
    painter.setPen(QColor(0, 0, 0));
    m_page->textCell(text, rect, inset, align);
}

QRect LogDetailReport::column(int index, int top, int height) const {
    return QRect(columnEdge(index), top, index == 0 ? m_labelWidth : m_columnWidth, height);
}

int LogDetailReport::columnEdge(int index) const {
    return index == 0 ? m_left : m_left + m_labelWidth + (index - 1) * m_columnWidth;
}
