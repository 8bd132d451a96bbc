#pragma once

#include "reports/DocSummaryData.h"
#include "reports/ReportPage.h"

#include <QFont>
#include <QRect>
#include <QStringList>
#include <initializer_list>
#include <vector>

// Lays the physician's summary out on one page: the header across the page, then the patient,
// extremes, averages and A1c sections in the left column and the protocols, medications,
// meters, vitals and notes in the right one.
class DocSummaryRenderer {
public:
    DocSummaryRenderer(const ReportPage& page, const DocSummaryData& data);
    void draw(int pageNumber);

private:
    // Title, period and logo; returns where the columns begin.
    int drawHeader();
    int drawPatient(int top);
    int drawExtremes(int top);
    int drawAverages(int top);
    void drawA1c(int top);
    void drawA1cChart(const QRect& area);
    int drawProtocols(int top);
    // A section of the right column: a band of column titles and `rowCount` rows of cells,
    // the columns sized in proportion to `columns`.
    int drawTable(int top, const std::initializer_list<int>& columns, const QStringList& titles,
                  const std::vector<ReportPage::Align>& aligns,
                  const std::vector<QStringList>& cells, int rowCount);
    int drawMedications(int top);
    int drawMeters(int top);
    int drawVitals(int top);
    void drawNotes(int top);

    // The section's band with its title, framed; returns the top of its first row.
    int band(const QRect& column, int top, const QString& title);
    // The rectangle of row `index` of rows starting at `top`; every second row is shaded.
    QRect row(const QRect& column, int top, int index) const;
    void frameSection(const QRect& column, int top, int bottom) const;
    void text(const QString& text, const QRect& rect, ReportPage::Align align,
              bool bold = false) const;
    // Splits the column into parts proportional to the weights.
    static std::vector<QRect> split(const QRect& rect, std::initializer_list<int> weights);

    const ReportPage& m_page;
    const DocSummaryData& m_data;
    int m_margin;
    int m_padding;
    QFont m_text;
    QFont m_bold;
    int m_line;
    QRect m_area;
    QRect m_left;
    QRect m_right;
    int m_bottom;
};
