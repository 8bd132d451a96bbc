#include "support/RecordingPaintEngine.h"

#include <QPainterPath>
#include <QTextItem>

namespace {

QRect rounded(const QRectF& rect) {
    return QRect(qRound(rect.x()), qRound(rect.y()), qRound(rect.width()), qRound(rect.height()));
}

QString rectText(const QRect& r) {
    return QStringLiteral("%1 %2 %3 %4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

QString colorText(const QColor& color) {
    return color.alpha() == 255 ? color.name() : color.name(QColor::HexArgb);
}

} // namespace

RecordingPaintEngine::RecordingPaintEngine(std::vector<RecordedPage>& pages, int dpi)
    : QPaintEngine(QPaintEngine::AllFeatures), m_pages(pages), m_dpi(dpi) {}

void RecordingPaintEngine::updateState(const QPaintEngineState& state) {
    const DirtyFlags flags = state.state();
    if (flags & DirtyPen)
        m_pen = state.pen();
    if (flags & DirtyBrush)
        m_brush = state.brush();
    if (flags & DirtyTransform)
        m_transform = state.transform();
}

QString RecordingPaintEngine::penText() const {
    if (m_pen.style() == Qt::NoPen)
        return QStringLiteral("pen=none");
    QString text = QStringLiteral("w=%1 %2").arg(m_pen.width()).arg(colorText(m_pen.color()));
    if (m_pen.style() != Qt::SolidLine)
        text += QStringLiteral(" style=%1").arg(static_cast<int>(m_pen.style()));
    return text;
}

void RecordingPaintEngine::recordShape(const char* kind, const QRectF& bounds,
                                       const QString& points) {
    const QRect rect = rounded(m_transform.mapRect(bounds));
    QString fill = QStringLiteral("fill=none");
    if (m_brush.style() != Qt::NoBrush) {
        page().fills.push_back({rect, m_brush.color()});
        fill = QStringLiteral("fill=") + colorText(m_brush.color());
        if (m_brush.style() != Qt::SolidPattern)
            fill += QStringLiteral(" pattern=%1").arg(static_cast<int>(m_brush.style()));
    }
    QString line = QLatin1String(kind);
    if (m_pen.style() == Qt::NoPen && qstrcmp(kind, "rect") == 0) {
        // A plain fill, as every cell background is drawn.
        line = QStringLiteral("fill %1 %2").arg(rectText(rect), fill.mid(5));
    } else {
        line += QLatin1Char(' ') + rectText(rect) + QLatin1Char(' ') + fill + QLatin1Char(' ') +
                penText();
        if (!points.isEmpty())
            line += QLatin1Char(' ') + points;
    }
    page().items << line;
}

void RecordingPaintEngine::drawRects(const QRectF* rects, int count) {
    for (int i = 0; i < count; ++i)
        recordShape("rect", rects[i]);
}

void RecordingPaintEngine::drawLines(const QLineF* lines, int count) {
    if (m_pen.style() == Qt::NoPen)
        return;
    for (int i = 0; i < count; ++i) {
        const QLine line = m_transform.map(lines[i]).toLine();
        page().lines.push_back({line, m_pen.width(), m_pen.color()});
        page().items << QStringLiteral("line %1 %2 %3 %4 %5")
                            .arg(line.x1())
                            .arg(line.y1())
                            .arg(line.x2())
                            .arg(line.y2())
                            .arg(penText());
    }
}

void RecordingPaintEngine::drawEllipse(const QRectF& rect) {
    recordShape("ellipse", rect);
}

void RecordingPaintEngine::drawPath(const QPainterPath& path) {
    recordShape("path", path.boundingRect());
}

void RecordingPaintEngine::drawPoints(const QPointF* points, int count) {
    for (int i = 0; i < count; ++i) {
        const QPoint point = m_transform.map(points[i]).toPoint();
        page().items
            << QStringLiteral("point %1 %2 %3").arg(point.x()).arg(point.y()).arg(penText());
    }
}

void RecordingPaintEngine::drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) {
    QPolygonF polygon;
    QStringList coordinates;
    for (int i = 0; i < count; ++i) {
        const QPointF mapped = m_transform.map(points[i]);
        polygon << mapped;
        coordinates << QStringLiteral("%1,%2").arg(qRound(mapped.x())).arg(qRound(mapped.y()));
    }
    if (mode == PolylineMode) {
        page().items << QStringLiteral("polyline %1 %2").arg(penText(), coordinates.join(' '));
        return;
    }
    // The points are already mapped: record their bounds without mapping them again.
    const QTransform transform = m_transform;
    m_transform.reset();
    recordShape("polygon", polygon.boundingRect(), coordinates.join(' '));
    m_transform = transform;
}

void RecordingPaintEngine::drawPixmap(const QRectF& rect, const QPixmap& pixmap, const QRectF&) {
    const QRect target = rounded(m_transform.mapRect(rect));
    page().pictures.push_back({QStringLiteral("pixmap"), target});
    page().items << QStringLiteral("pixmap %1 %2x%3")
                        .arg(rectText(target))
                        .arg(pixmap.width())
                        .arg(pixmap.height());
}

void RecordingPaintEngine::drawImage(const QRectF& rect, const QImage& image, const QRectF&,
                                     Qt::ImageConversionFlags) {
    const QRect target = rounded(m_transform.mapRect(rect));
    QString name = image.text(QStringLiteral("picture"));
    if (name.isEmpty())
        name = QStringLiteral("image");
    page().pictures.push_back({name, target});
    page().items << QStringLiteral("picture %1 %2").arg(name, rectText(target));
}

void RecordingPaintEngine::drawTiledPixmap(const QRectF& rect, const QPixmap& pixmap,
                                           const QPointF&) {
    drawPixmap(rect, pixmap, QRectF(pixmap.rect()));
}

void RecordingPaintEngine::drawTextItem(const QPointF& position, const QTextItem& item) {
    const QFont font = item.font();
    int points = qRound(font.pointSizeF());
    if (points <= 0)
        points = qRound(font.pixelSize() * 72.0 / m_dpi);
    const QPointF baseline = m_transform.map(position);
    const QRectF box(position.x(), position.y() - item.ascent(), item.width(),
                     item.ascent() + item.descent());
    RecordedText text{item.text(), baseline.toPoint(), rounded(m_transform.mapRect(box)),
                      points,      font.weight(),      m_pen.color()};
    QString escaped = text.text;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\"))
        .replace(QLatin1Char('\n'), QLatin1String("\\n"))
        .replace(QLatin1Char('\r'), QLatin1String("\\r"));
    page().items << QStringLiteral("text %1 %2 pt=%3 wt=%4 %5 %6")
                        .arg(text.baseline.x())
                        .arg(text.baseline.y())
                        .arg(points)
                        .arg(text.weight)
                        .arg(colorText(text.color), escaped);
    page().texts.push_back(std::move(text));
}
