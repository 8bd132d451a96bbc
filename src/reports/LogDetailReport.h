#pragma once

#include "reports/LogWeekData.h"
#include "reports/ReportPage.h"
#include "reports/ReportPictures.h"
#include "reports/ReportStyle.h"

#include <QFont>
#include <QPen>
#include <QRect>
#include <QString>
#include <ctime>
#include <memory>
#include <vector>

struct ReportContext;
class ReportSurface;

// One week of the logbook as a grid of days and slots, or the empty worksheet of a week.
class LogDetailReport {
public:
    // The week runs from `weekDate` minus 6 days to `weekDate`. `firstPage` is the page number
    // of the report's first page.
    LogDetailReport(const ReportContext& context, const QString& patientName, std::time_t weekDate,
                    ReportStyle style, int firstPage, bool worksheet);
    ~LogDetailReport();
    // Prints the week (the pass has started its first page) and returns the pages printed.
    int print(ReportSurface& surface);

private:
    void setUp(ReportSurface& surface);
    void printWeek();
    void printWorksheet();

    // Starts a page when `height` does not fit above `limit` (the body's bottom by default);
    // true when a page was started.
    bool makeRoom(int height, int limit = -1);
    void startPage();
    void drawHeader();
    void drawBand(const QString& name);
    // One entry row of the current slot; `row` null for an empty row.
    QRect drawRow(const WeekRow* row, bool shaded);
    void drawEntry(const WeekCell& cell, const QRect& rect);
    void drawSlotTotals(const WeekSlot& slot, const QRect& rect);
    void drawWeekly();
    void drawNotes();
    void drawLegend(const QRect& band);
    // Icons right-aligned from `right` leftwards in the row `top`..; returns their left edge.
    int drawIcons(const std::vector<ReportPicture>& pictures, int right, int top);
    void drawGlucose(const QRect& rect, int value, const GlucoseRange& range);
    void drawTotalsText(int insulin, int correction, int carbs, const QRect& rect);
    void drawText(const QString& text, const QRect& rect, const QFont& font,
                  ReportPage::Align align, int inset);

    // Column 0 holds the slot names, 1 to 7 the days, 8 the totals and averages.
    QRect column(int index, int top, int height) const;
    // The left edge of a column (0 the slot names, 1 to 7 the days, 8 the totals; 9 the grid's
    // right edge).
    int columnEdge(int index) const;
    int gridWidth() const { return m_labelWidth + 8 * m_columnWidth; }
    // Room kept below the entry rows of a full page: the "Weekly" row and the least notes area.
    int reservedBelowRows() const;

    const ReportContext& m_context;
    QString m_patientName;
    std::time_t m_weekDate;
    ReportStyle m_style;
    int m_firstPage;
    bool m_worksheet;

    ReportSurface* m_surface = nullptr;
    std::unique_ptr<ReportPage> m_page;
    LogWeekData m_week;
    QFont m_textFont, m_boldFont, m_smallFont;
    QPen m_redPen, m_bluePen;
    int m_line = 0;     // one line of the 8 pt text
    int m_noteLine = 0; // one line of the 6 pt notes
    int m_left = 0;
    int m_labelWidth = 0;
    int m_columnWidth = 0;

    // Page state.
    bool m_onFirstPage = true;
    int m_pagesPrinted = 0;
    int m_y = 0;
    bool m_columnHeaderAbove = false; // the next band shows the cell legend
    const WeekSlot* m_slot = nullptr;
    bool m_slotContinued = false;
};
