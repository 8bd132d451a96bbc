#pragma once

#include "reports/ReportSurface.h"

#include <QPainter>

class QPagedPaintDevice;

// A print job on a printer, the print preview's printer or a PDF writer.
class PagedDeviceSurface : public ReportSurface {
public:
    // `greyOnly`: the device prints in grey (a printer set to grey scale).
    explicit PagedDeviceSurface(QPagedPaintDevice& device, bool greyOnly = false);
    ~PagedDeviceSurface() override;

    bool startPage(QPageLayout::Orientation orientation) override;
    QPainter& painter() override { return m_painter; }
    int logicalDpiY() const override;
    QSize pageSize() const override;
    QRect drawingRect() const override;
    int colorCount() const override;
    bool finish() override;
    int pageCount() const override { return m_pages; }

private:
    QPagedPaintDevice& m_device;
    QPainter m_painter;
    bool m_greyOnly;
    int m_pages = 0;
    bool m_failed = false; // a page could not be started: the job is incomplete
};
