#pragma once

#include "reports/ReportSurface.h"

#include <optional>

// The surface the print pass hands each report. The pass's page break before a report is
// taken when the report first draws (or asks for the page's size), so that a report which
// finds nothing to print leaves no empty page behind and the next report takes the page in
// its own orientation. A report's own page breaks go straight through.
class DeferredPageSurface : public ReportSurface {
public:
    explicit DeferredPageSurface(ReportSurface& device) : m_device(device) {}

    // The page break before a report: the next page, in the report's orientation, is started
    // when the report first needs it. A break that is still waiting is replaced.
    void breakPage(QPageLayout::Orientation orientation) { m_pending = orientation; }
    // Forgets a break no report took.
    void dropPendingBreak() { m_pending.reset(); }
    // A page could not be started: the device takes no further page.
    bool failed() const { return m_failed; }

    bool startPage(QPageLayout::Orientation orientation) override;
    QPainter& painter() override;
    int logicalDpiY() const override { return m_device.logicalDpiY(); }
    QSize pageSize() const override;
    QRect drawingRect() const override;
    int colorCount() const override { return m_device.colorCount(); }
    bool finish() override;
    // The pages started, the one a waiting break will start included.
    int pageCount() const override { return m_device.pageCount() + (m_pending ? 1 : 0); }

private:
    // Starts the page of a waiting break.
    void takeBreak() const;

    ReportSurface& m_device;
    mutable std::optional<QPageLayout::Orientation> m_pending;
    mutable bool m_failed = false;
};
