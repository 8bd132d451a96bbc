#pragma once

#include "reports/ReportStyle.h"

#include <ctime>

struct ReportContext;
class ReportSurface;

// The quick-bolus settings (insulin, basal rates, targets, ratios, sensitivities) and the
// infusion-site changes of the period, on a portrait page; site changes beyond its grid go on
// over further portrait pages.
class PumpStatusReport {
public:
    explicit PumpStatusReport(const ReportContext& context);
    // Prints on the page the pass has started (portrait) and returns the pages printed: 1, or
    // more when the site changes (or a schedule) do not fit on one page and go on over further
    // portrait pages that continue the page numbers.
    int print(ReportSurface& surface, std::time_t periodEnd, int weeks, ReportStyle style,
              int pageNumber);

private:
    const ReportContext& m_context;
};
