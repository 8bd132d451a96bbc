#pragma once

#include "reports/ReportSurface.h"

#include <QPainter>

class QPagedPaintDevice;

// A print job on a printer, the print preview's printer or a PDF writer. Each page is turned to
// the orientation its report asks for, except in the print preview: the preview shows every
// page in the size of its printer's paper and would cut a turned page off, so there every page
// keeps the printer's orientation and the report lays itself out on that.
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
    bool m_turnsPages; // pages may differ in orientation
    int m_pages = 0;
    bool m_failed = false; // a page could not be started: the job is incomplete
};
