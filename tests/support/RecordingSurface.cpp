#include "support/RecordingSurface.h"

#include "support/RecordingPaintEngine.h"

RecordingSurface::RecordingSurface() : RecordingSurface(Device()) {}

RecordingSurface::RecordingSurface(const Device& device)
    : m_device(device), m_engine(std::make_unique<RecordingPaintEngine>(m_pages, device.dpi)) {}

RecordingSurface::~RecordingSurface() {
    if (m_painter.isActive())
        m_painter.end();
}

bool RecordingSurface::startPage(QPageLayout::Orientation orientation) {
    m_orientation = orientation;
    RecordedPage page;
    page.orientation = orientation;
    page.size = pageSize();
    m_pages.push_back(page);
    if (m_pages.size() == 1 && !m_painter.begin(this))
        return false;
    return true;
}

QSize RecordingSurface::pageSize() const {
    return m_orientation == QPageLayout::Landscape ? m_device.portraitPage.transposed()
                                                   : m_device.portraitPage;
}

QRect RecordingSurface::drawingRect() const {
    if (!m_device.drawingRect.isEmpty())
        return m_orientation == QPageLayout::Landscape ? m_device.drawingRect.transposed()
                                                       : m_device.drawingRect;
    return QRect(QPoint(0, 0), pageSize());
}

bool RecordingSurface::finish() {
    m_finished = true;
    return !m_painter.isActive() || m_painter.end();
}

QPaintEngine* RecordingSurface::paintEngine() const {
    return m_engine.get();
}

QStringList RecordingSurface::dump() const {
    QStringList lines;
    for (size_t i = 0; i < m_pages.size(); ++i) {
        const RecordedPage& page = m_pages[i];
        lines << QStringLiteral("page %1 %2 %3x%4")
                     .arg(i + 1)
                     .arg(page.orientation == QPageLayout::Landscape ? "landscape" : "portrait")
                     .arg(page.size.width())
                     .arg(page.size.height());
        lines << page.items;
    }
    return lines;
}

int RecordingSurface::metric(PaintDeviceMetric metric) const {
    const QSize size = pageSize();
    switch (metric) {
    case PdmWidth:
        return size.width();
    case PdmHeight:
        return size.height();
    case PdmWidthMM:
        return qRound(size.width() * 25.4 / m_device.dpi);
    case PdmHeightMM:
        return qRound(size.height() * 25.4 / m_device.dpi);
    case PdmNumColors:
        return m_device.colors;
    case PdmDepth:
        return m_device.colors <= 2 ? 1 : 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return m_device.dpi;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return static_cast<int>(devicePixelRatioFScale());
    default:
        return QPaintDevice::metric(metric);
    }
}
