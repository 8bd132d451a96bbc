#pragma once

#include "reports/DailySummaryData.h"
#include "reports/ReportPage.h"

#include <QFont>
#include <QRect>
#include <vector>

// Lays one page of the daily summary out: the header, the page's rows in two columns of 30
// lines, the legend, the chart of the rows' lowest, average and highest glucose, the footer.
class DailySummaryRenderer {
public:
    DailySummaryRenderer(const ReportPage& page, const DailySummaryData& data);
    void draw(const DailySummaryData::Page& page);

private:
    // The column's heading band and its 30 lines, `count` rows from `first` on them; returns
    // the bottom of the column.
    int drawColumn(int left, int top, int first, int count);
    void drawRow(const DailySummaryData::Row& row, const QRect& line);
    void drawChart(const DailySummaryData::Page& page, const QRect& area);
    // The points of one of the three lines; a lone point is drawn as a short dash.
    void drawSeries(const std::vector<QPoint>& points, const QPen& pen);

    const ReportPage& m_page;
    const DailySummaryData& m_data;
    QRect m_area;
    int m_margin;
    int m_padding;
    QFont m_text;
    QFont m_bold;
    int m_line;
    // The width of a column of the list, and its quarter, eighth and thirty-second parts.
    int m_half;
    int m_quarter;
    int m_eighth;
    int m_small;
};
