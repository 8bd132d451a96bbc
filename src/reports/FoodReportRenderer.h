#pragma once

#include "reports/FoodReportData.h"
#include "reports/ReportPage.h"

#include <QFont>
#include <QRect>
#include <vector>

// Draws the food list in newspaper columns, as many pages as the foods need.
class FoodReportRenderer {
public:
    FoodReportRenderer(const ReportPage& page, const FoodReportData& data);
    // Draws from the page the pass has started; returns the pages printed.
    int draw(int firstPage);

private:
    // Rows per column on the current page: the body below the column headers divided by the
    // line height.
    int rowsPerColumn() const;
    // Title, column header bands and footer; returns the top of the body.
    int drawHeader(int pageNumber);
    std::vector<QRect> columns(int top, int bottom) const;
    // The name part (3/4) and the count part (1/4) of a column's row.
    QRect namePart(const QRect& row) const;
    QRect countPart(const QRect& row) const;
    // Where the column header bands begin.
    int bandTop() const;

    const ReportPage& m_page;
    const FoodReportData& m_data;
    QFont m_title, m_text, m_bold;
    int m_line = 0;
    int m_columnCount = 2; // on the current page
};
