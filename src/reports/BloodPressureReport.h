#pragma once

#include "reports/ReportStyle.h"

struct ReportContext;
class ReportSurface;

// The vital history: blood pressure, pulse and weight of the last weeks against the patient's
// thresholds, and the notes of those records, on portrait pages.
class BloodPressureReport {
public:
    explicit BloodPressureReport(const ReportContext& context);
    // Prints from the page the pass has started (portrait) and returns the pages printed.
    int print(ReportSurface& surface, int weeks, ReportStyle style, int firstPage);

private:
    const ReportContext& m_context;
};
