#include "reports/DeferredPageSurface.h"

void DeferredPageSurface::takeBreak() const {
    if (!m_pending)
        return;
    const QPageLayout::Orientation orientation = *m_pending;
    m_pending.reset();
    if (!m_device.startPage(orientation))
        m_failed = true;
}

bool DeferredPageSurface::startPage(QPageLayout::Orientation orientation) {
    // A report that breaks its page before drawing on it still gets the page it was given.
    takeBreak();
    if (m_failed)
        return false;
    if (!m_device.startPage(orientation))
        m_failed = true;
    return !m_failed;
}

QPainter& DeferredPageSurface::painter() {
    takeBreak();
    return m_device.painter();
}

QSize DeferredPageSurface::pageSize() const {
    takeBreak();
    return m_device.pageSize();
}

QRect DeferredPageSurface::drawingRect() const {
    takeBreak();
    return m_device.drawingRect();
}

bool DeferredPageSurface::finish() {
    m_pending.reset();
    return m_device.finish();
}
