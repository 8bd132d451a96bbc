#pragma once

#include "support/RecordedPage.h"

#include <QBrush>
#include <QPaintEngine>
#include <QPen>
#include <QTransform>
#include <vector>

// A paint engine that draws nothing and writes down what it was asked to draw onto the last
// page of a list. It takes every primitive itself (all features), so that a painter hands it
// texts, rectangles, lines and images as the report drew them. Clipping is not applied.
class RecordingPaintEngine : public QPaintEngine {
public:
    // `dpi`: the device's resolution, to read the point size of a font set in pixels.
    RecordingPaintEngine(std::vector<RecordedPage>& pages, int dpi);

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }
    void updateState(const QPaintEngineState& state) override;

    // The integer overloads of QPaintEngine hand their shapes on to these.
    void drawRects(const QRectF* rects, int count) override;
    void drawLines(const QLineF* lines, int count) override;
    void drawEllipse(const QRectF& rect) override;
    void drawPath(const QPainterPath& path) override;
    void drawPoints(const QPointF* points, int count) override;
    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override;
    void drawPixmap(const QRectF& rect, const QPixmap& pixmap, const QRectF& source) override;
    void drawImage(const QRectF& rect, const QImage& image, const QRectF& source,
                   Qt::ImageConversionFlags flags) override;
    void drawTiledPixmap(const QRectF& rect, const QPixmap& pixmap, const QPointF& offset) override;
    void drawTextItem(const QPointF& position, const QTextItem& item) override;

private:
    RecordedPage& page() { return m_pages.back(); }
    // The area's bounds as a fill (when a brush is set) and its outline's dump text.
    void recordShape(const char* kind, const QRectF& bounds, const QString& points = QString());
    QString penText() const;

    std::vector<RecordedPage>& m_pages;
    int m_dpi;
    QPen m_pen;
    QBrush m_brush;
    QTransform m_transform;
};
