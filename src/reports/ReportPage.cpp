#include "reports/ReportPage.h"

#include "logbook/GlucoseClass.h"
#include "reports/ReportSurface.h"
#include "storage/Conversions.h"

#include <QFontMetrics>
#include <QPainter>
#include <QRegularExpression>

#include <algorithm>

namespace {

const char* const kProductLine = "Quillmarch Diabetes Logbook";

// The four colour roles of one style.
struct Palette {
    QColor lightFill;
    QColor shade;
    QColor blueInk;
    QColor redInk;
};

Palette paletteOf(ReportStyle style) {
    const QColor black(0, 0, 0);
    const QColor white(255, 255, 255);
    switch (style) {
    case ReportStyle::greyscale:
        return {QColor(233, 233, 231), QColor(128, 128, 128), black, black};
    case ReportStyle::blackAndWhite:
        return {white, white, black, black};
    case ReportStyle::color:
        break;
    }
    return {QColor(233, 233, 231), QColor(160, 185, 185), QColor(0, 0, 255), QColor(255, 0, 0)};
}

QPen solidPen(const QColor& color, int width) {
    QPen pen(color);
    pen.setWidth(width);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

Qt::Alignment qtAlignment(ReportPage::Align align) {
    switch (align) {
    case ReportPage::Align::Center:
        return Qt::AlignHCenter;
    case ReportPage::Align::Right:
        return Qt::AlignRight;
    case ReportPage::Align::Left:
        break;
    }
    return Qt::AlignLeft;
}

} // namespace

ReportPage::ReportPage(ReportSurface& surface, ReportStyle style, const QString& versionText,
                       std::time_t printedAt)
    : m_surface(surface), m_style(style), m_versionText(versionText), m_printedAt(printedAt),
      m_dpi(surface.logicalDpiY()) {
    // A printer that cannot show colour would print the two inks as the same grey; the grey
    // style draws them black instead, which stays readable.
    if (m_style == ReportStyle::color && surface.colorCount() < 3)
        m_style = ReportStyle::greyscale;

    const Palette palette = paletteOf(m_style);
    const QColor white(255, 255, 255);
    m_black = QBrush(QColor(0, 0, 0));
    m_white = QBrush(white);
    m_light = QBrush(m_style == ReportStyle::blackAndWhite ? white : palette.lightFill);
    m_blue = QBrush(palette.blueInk);
    m_red = QBrush(palette.redInk);
    switch (m_style) {
    case ReportStyle::color:
        m_emphasis = QBrush(palette.shade);
        break;
    case ReportStyle::greyscale:
        m_emphasis = QBrush(palette.lightFill);
        break;
    case ReportStyle::blackAndWhite:
        m_emphasis = QBrush(white);
        break;
    }

    const int thin = m_dpi / 100;
    m_thin = solidPen(QColor(0, 0, 0), thin);
    m_thick = solidPen(QColor(0, 0, 0), 2 * thin);
    m_bluePen = solidPen(palette.blueInk, thin);
    m_redPen = solidPen(palette.redInk, thin);
    m_hairline = solidPen(QColor(0, 0, 0), 1);

    QPainter& p = painter();
    m_previousBackground = p.background();
    m_previousBackgroundMode = p.backgroundMode();
    p.setBackgroundMode(Qt::TransparentMode);
}

ReportPage::~ReportPage() {
    QPainter& p = m_surface.painter();
    if (p.isActive()) {
        p.setBackgroundMode(m_previousBackgroundMode);
        p.setBackground(m_previousBackground);
    }
}

QPainter& ReportPage::painter() const {
    return m_surface.painter();
}

QRect ReportPage::pageRect(bool insetTopAndBottom) const {
    const int m = margin();
    const QRect page(QPoint(0, 0), m_surface.pageSize());
    const QRect inset = page.adjusted(m, insetTopAndBottom ? m : 0, -m, insetTopAndBottom ? -m : 0);
    return inset.intersected(m_surface.drawingRect());
}

QColor ReportPage::lightFill() const {
    return paletteOf(m_style).lightFill;
}

QColor ReportPage::shade() const {
    return paletteOf(m_style).shade;
}

QColor ReportPage::blueInk() const {
    return paletteOf(m_style).blueInk;
}

QColor ReportPage::redInk() const {
    return paletteOf(m_style).redInk;
}

QFont ReportPage::font(FontRole role) const {
    switch (role) {
    case FontRole::Title:
        return makeFont(12, 800);
    case FontRole::TextBold:
        return makeFont(8, 800);
    case FontRole::Small:
        return makeFont(6, 400);
    case FontRole::Text:
        break;
    }
    return makeFont(8, 400);
}

QFont ReportPage::makeFont(int points, int weight) const {
    // Point sizes are turned into device units by the painter, from the device's own
    // resolution, so the same report measures alike on paper, in the preview and in a PDF.
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(points);
    font.setWeight(static_cast<QFont::Weight>(weight));
    return font;
}

int ReportPage::fontLineHeight(const QFont& font) const {
    const QFontMetrics metrics(font, painter().device());
    return metrics.height() + std::max(0, metrics.leading());
}

void ReportPage::frame(const QRect& rect, const QPen& pen, const QBrush* brush) const {
    QPainter& p = painter();
    if (brush)
        p.fillRect(rect, *brush);
    // Sides on the rectangle's outer edges, so that neighbouring cells share their border.
    const int left = rect.left();
    const int top = rect.top();
    const int right = rect.left() + rect.width();
    const int bottom = rect.top() + rect.height();
    const QPen previous = p.pen();
    p.setPen(pen);
    const QLine sides[] = {QLine(left, top, right, top), QLine(right, top, right, bottom),
                           QLine(right, bottom, left, bottom), QLine(left, bottom, left, top)};
    p.drawLines(sides, 4);
    p.setPen(previous);
}

void ReportPage::textCell(const QString& text, const QRect& rect, int inset, Align align,
                          const QBrush* brush) const {
    QPainter& p = painter();
    if (brush)
        p.fillRect(rect, *brush);
    const QRect inner = rect.adjusted(inset, inset, -inset, -inset);
    p.drawText(inner, static_cast<int>(qtAlignment(align) | Qt::AlignVCenter) | Qt::TextSingleLine,
               text);
}

void ReportPage::label(const QString& text, const QRect& rect, const QFont& textFont, Align align,
                       int inset) const {
    if (text.isEmpty())
        return;
    QPainter& p = painter();
    p.setFont(textFont);
    p.setPen(QColor(0, 0, 0));
    textCell(text, rect, inset, align);
}

void ReportPage::fittedLabel(const QString& text, const QRect& rect, const QFont& textFont,
                             Align align) const {
    const QFontMetrics metrics(textFont, painter().device());
    label(metrics.elidedText(text, Qt::ElideRight, rect.width()), rect, textFont, align);
}

int ReportPage::picture(ReportPicture picture, const QPoint& topLeft, int height) const {
    const QSize own = pictureSize(picture);
    if (height <= 0 || own.height() <= 0)
        return 0;
    const int width = own.width() * height / own.height();
    // One image per picture and size: a PDF then embeds each icon once, however often a
    // page shows it.
    const auto key = std::make_pair(static_cast<int>(picture), height);
    auto found = m_pictures.find(key);
    if (found == m_pictures.end())
        found = m_pictures.emplace(key, renderPicture(picture, height, m_style)).first;
    painter().drawImage(QRect(topLeft, QSize(width, height)), found->second);
    return width;
}

void ReportPage::glucoseCell(const QRect& rect, int value, const GlucoseRange& range, int unit,
                             const QFont& normal, const QFont& bold, const QPen& red,
                             const QPen& blue) const {
    Mark mark = Mark::Plain;
    bool high = false;
    switch (classifyGlucose(value, range)) {
    case GlucoseClass::InRange:
        break;
    case GlucoseClass::VeryLow:
        mark = Mark::Alarm;
        break;
    case GlucoseClass::VeryHigh:
        mark = Mark::Alarm;
        high = true;
        break;
    case GlucoseClass::Low:
        mark = Mark::Ink;
        break;
    case GlucoseClass::High:
        mark = Mark::Ink;
        high = true;
        break;
    }
    markedCell(rect, formatGlucose(value, unit), mark, high, normal, bold, high ? blue : red);
}

void ReportPage::markedCell(const QRect& rect, const QString& text, Mark mark, bool blue,
                            const QFont& normal, const QFont& bold, const QPen& framePen) const {
    QPainter& p = painter();
    const QRect cell = rect.adjusted(5, 5, -5, -5);
    const QFont previousFont = p.font();
    const QPen previousPen = p.pen();
    const Qt::BGMode previousMode = p.backgroundMode();

    QFont font = normal;
    QColor ink = previousPen.color();
    switch (mark) {
    case Mark::Plain:
        break;
    case Mark::Alarm:
        font = bold;
        ink = QColor(255, 255, 255);
        frame(cell, framePen, blue ? &m_blue : &m_red);
        break;
    case Mark::Ink:
        ink = blue ? blueInk() : redInk();
        frame(cell, framePen);
        break;
    }

    p.setBackgroundMode(Qt::TransparentMode);
    p.setFont(font);
    QPen textPen = previousPen;
    textPen.setColor(ink);
    p.setPen(textPen);
    const QFontMetrics metrics(font, p.device());
    p.drawText(cell, Qt::AlignCenter | Qt::TextSingleLine,
               metrics.elidedText(text, Qt::ElideRight, std::max(0, cell.width())));

    p.setFont(previousFont);
    p.setPen(previousPen);
    p.setBackgroundMode(previousMode);
}

int ReportPage::header(const QString& title, const QString& subtitle, const QRect& area,
                       const QFont& subtitleFont) const {
    const int m = margin();
    picture(ReportPicture::Logo, area.topLeft(), 2 * m);
    const QFont titleFont = font(FontRole::Title);
    const int titleHeight = fontLineHeight(titleFont) + padding();
    label(title, QRect(area.left(), area.top(), area.width(), titleHeight), titleFont,
          Align::Center);
    const int subtitleTop = area.top() + titleHeight;
    const int subtitleHeight = fontLineHeight(subtitleFont) + padding();
    label(subtitle, QRect(area.left(), subtitleTop, area.width(), subtitleHeight), subtitleFont,
          Align::Center);
    return std::max(subtitleTop + subtitleHeight + m / 2, area.top() + 2 * m + padding());
}

int ReportPage::legend(const std::vector<LegendItem>& items, int left, int top, int lineHeight,
                       const QFont& textFont) const {
    const int pad = padding();
    const QFontMetrics metrics(textFont, painter().device());
    const int iconHeight = lineHeight - 2 * pad;
    int x = left;
    auto icon = [&](ReportPicture shown) {
        x += picture(shown, QPoint(x, top + pad), iconHeight) + pad;
    };
    for (const LegendItem& item : items) {
        if (item.pictureFirst)
            icon(item.picture);
        const int width = metrics.horizontalAdvance(item.text);
        label(item.text, QRect(x, top, width + pad, lineHeight), textFont, Align::Left);
        x += width + pad;
        if (!item.pictureFirst)
            icon(item.picture);
        x += 3 * pad;
    }
    return x;
}

int ReportPage::newspaperColumnCount() const {
    const QSize size = m_surface.pageSize();
    return size.height() > size.width() ? 2 : 3;
}

std::vector<QRect> ReportPage::columns(int count, int gap, int top, int bottom) const {
    const QRect area = pageRect();
    count = std::max(1, count);
    const int width = area.width() / count - gap;
    // What the division leaves over is shared by both sides.
    const int left = area.left() + (area.width() - count * width - (count - 1) * gap) / 2;
    std::vector<QRect> result;
    for (int i = 0; i < count; ++i)
        result.emplace_back(left + i * (width + gap), top, width, bottom - top);
    return result;
}

QStringList ReportPage::wrapLines(const QString& text, const QFontMetrics& metrics, int width) {
    QStringList lines;
    if (text.isEmpty())
        return lines;
    static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
    for (const QString& paragraph : text.split(breaks)) {
        QString line;
        for (const QString& word : paragraph.split(u' ')) {
            const QString joined = line.isEmpty() ? word : line + u' ' + word;
            if (line.isEmpty() || metrics.horizontalAdvance(joined) <= width) {
                line = joined;
                continue;
            }
            lines << metrics.elidedText(line, Qt::ElideRight, width);
            line = word;
        }
        lines << metrics.elidedText(line, Qt::ElideRight, width);
    }
    return lines;
}

QRect ReportPage::footerBand() const {
    return footerBand(pageRect());
}

QRect ReportPage::footerBand(const QRect& pageRect) const {
    const int height = fontLineHeight(font(FontRole::Small));
    return QRect(pageRect.left(), pageRect.top() + pageRect.height() - height, pageRect.width(),
                 height);
}

int ReportPage::bodyBottom() const {
    return footerBand().top() - padding();
}

void ReportPage::footer(int pageNumber) const {
    footer(pageNumber, footerBand());
}

void ReportPage::footer(int pageNumber, const QRect& band) const {
    QPainter& p = painter();
    const QFont previousFont = p.font();
    p.setFont(font(FontRole::Small));

    const QString product =
        QLatin1String(kProductLine) + QStringLiteral(" Version: ") + m_versionText;
    textCell(product, band, 0, Align::Center);
    const QString printed =
        QStringLiteral("Printed:%1").arg(formatTime(m_printedAt, "%B %d, %Y @ %H:%M"));
    p.drawText(band, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, printed);
    p.drawText(band, Qt::AlignRight | Qt::AlignTop | Qt::TextSingleLine,
               QStringLiteral("Page %1 ").arg(pageNumber));

    const int ruleY = band.top() - padding();
    p.drawLine(band.left(), ruleY, band.left() + band.width(), ruleY);
    p.setFont(previousFont);
}
