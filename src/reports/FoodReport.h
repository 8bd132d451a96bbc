#pragma once

#include "reports/ReportStyle.h"

struct ReportContext;
class ReportSurface;

// The patient's food list with the carbohydrates of each food, in newspaper columns.
class FoodReport {
public:
    explicit FoodReport(const ReportContext& context);
    // Prints from the page the pass has started (portrait) and returns the pages printed.
    int print(ReportSurface& surface, ReportStyle style, int firstPage);

private:
    const ReportContext& m_context;
};
