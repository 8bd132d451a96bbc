#include "reports/PagedDeviceSurface.h"

#include <QPagedPaintDevice>
#include <QPaintEngine>

namespace {

// The print preview's printer records each page as a picture.
bool isPreview(QPagedPaintDevice& device) {
    const QPaintEngine* engine = device.paintEngine();
    return engine && engine->type() == QPaintEngine::Picture;
}

} // namespace

PagedDeviceSurface::PagedDeviceSurface(QPagedPaintDevice& device, bool greyOnly)
    : m_device(device), m_greyOnly(greyOnly), m_turnsPages(!isPreview(device)) {}

PagedDeviceSurface::~PagedDeviceSurface() {
    if (m_painter.isActive())
        m_painter.end();
}

bool PagedDeviceSurface::startPage(QPageLayout::Orientation orientation) {
    // A new layout applies from the next page on, so it is set before the page is begun. A
    // printer that cannot turn its pages while printing keeps its orientation.
    if (m_turnsPages && m_device.pageLayout().orientation() != orientation)
        m_device.setPageOrientation(orientation);
    if (m_pages == 0) {
        m_failed = !m_painter.begin(&m_device);
    } else if (!m_painter.isActive() || !m_device.newPage()) {
        m_failed = true;
    }
    if (m_failed)
        return false;
    ++m_pages;
    return true;
}

int PagedDeviceSurface::logicalDpiY() const {
    return m_device.logicalDpiY();
}

QSize PagedDeviceSurface::pageSize() const {
    return QSize(m_device.width(), m_device.height());
}

QRect PagedDeviceSurface::drawingRect() const {
    // The painter's origin is the top left of the printable area, and the device's size is
    // that area's size.
    return QRect(QPoint(0, 0), pageSize());
}

int PagedDeviceSurface::colorCount() const {
    return m_greyOnly ? 2 : m_device.colorCount();
}

bool PagedDeviceSurface::finish() {
    if (!m_painter.isActive())
        return !m_failed;
    return m_painter.end() && !m_failed;
}
