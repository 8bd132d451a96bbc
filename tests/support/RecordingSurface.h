#pragma once

#include "reports/ReportSurface.h"
#include "support/RecordedPage.h"

#include <QPaintDevice>
#include <QPainter>
#include <memory>
#include <vector>

class RecordingPaintEngine;

// A report surface that prints nothing and records each page: texts with their baseline, font
// size, weight and colour; filled areas with their brush colour; lines; pictures by name.
// Like a printer, it keeps one painter across the pages of a job.
class RecordingSurface : public ReportSurface, public QPaintDevice {
public:
    struct Device {
        int dpi = 300;
        QSize portraitPage{2480, 3508}; // A4 at 300 dpi, in device units
        int colors = 1 << 24;
        // The part of the page the device can print on; empty means all of it.
        QRect drawingRect;
    };

    RecordingSurface();
    explicit RecordingSurface(const Device& device);
    ~RecordingSurface() override;

    bool startPage(QPageLayout::Orientation orientation) override;
    QPainter& painter() override { return m_painter; }
    int logicalDpiY() const override { return m_device.dpi; }
    QSize pageSize() const override;
    QRect drawingRect() const override;
    int colorCount() const override { return m_device.colors; }
    bool finish() override;
    int pageCount() const override { return static_cast<int>(m_pages.size()); }

    QPaintEngine* paintEngine() const override;

    const std::vector<RecordedPage>& pages() const { return m_pages; }
    // The page by its index from 0.
    const RecordedPage& page(int index) const { return m_pages.at(static_cast<size_t>(index)); }
    bool finished() const { return m_finished; }
    // The whole job as text, for golden files: per page a line "page N orientation WxH", then
    // one line per item drawn, in drawing order.
    QStringList dump() const;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    Device m_device;
    QPageLayout::Orientation m_orientation = QPageLayout::Landscape;
    std::vector<RecordedPage> m_pages;
    std::unique_ptr<RecordingPaintEngine> m_engine;
    QPainter m_painter;
    bool m_finished = false;
};
