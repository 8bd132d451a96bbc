#pragma once

#include "reports/PumpStatusData.h"
#include "reports/ReportPage.h"

#include <QFont>
#include <QRect>

// Lays the quick bolus and infusion site report out on portrait pages: the header, the four
// schedules side by side, then the grid of site changes, three columns of ten cells. What does
// not fit goes on to further pages, each with the header, the footer and the next page number.
class PumpStatusRenderer {
public:
    static constexpr int kSiteColumns = 3;
    static constexpr int kSiteRows = 10;

    PumpStatusRenderer(const ReportPage& page, const PumpStatusData& data);
    // Draws from the page the pass has started; returns the pages used.
    int draw(int pageNumber);

private:
    // Logo, title, period and insulin lines, and the footer; returns where the body begins.
    int drawHeader(bool continued);
    // Ends the current page and starts the next one with its header; returns where the body
    // begins.
    int nextPage();
    int drawSchedules(int top);
    // The headings of the four schedule columns; returns the top of their first row.
    int drawScheduleHeadings(int top, bool continued);
    void drawSiteChanges(int top);
    void drawSiteCell(const PumpStatusData::SiteChange& change, const QRect& cell, bool shaded);
    void text(const QString& text, const QRect& rect, const QFont& font, ReportPage::Align align,
              int inset) const;
    // A heading centred in a framed, shaded cell.
    void heading(const QString& text, const QRect& rect) const;
    QRect scheduleColumn(int index, int top) const;

    const ReportPage& m_page;
    const PumpStatusData& m_data;
    QFont m_title, m_text, m_bold;
    int m_margin;
    int m_padding;
    int m_line; // one line of the 9 pt text and the padding
    int m_firstPage = 1;
    int m_pages = 0;
};
