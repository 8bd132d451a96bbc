#pragma once

#include "reports/BloodPressureData.h"
#include "reports/ReportPage.h"

#include <QFont>
#include <QRect>
#include <QStringList>
#include <vector>

// Draws the vital history on portrait pages.
//
// Each page has the logo, the title and the period at the top and the common footer at the
// bottom. The vitals fill the table columns top to bottom, left to right, each column as long
// as the remaining vitals need when shared evenly, at most down to the page body's bottom;
// vitals left over start a new page with the same headings. Below the last table, after half
// a margin, the "Notes" band and the note lines follow; when fewer than a few note rows would
// fit there, the notes begin on a new page. Note lines that do not fit go on to further pages
// under a "Notes" band of their own.
class BloodPressureRenderer {
public:
    // Note rows the notes need below a table on the same page (fewer when there are fewer
    // lines).
    static constexpr int kLeastNoteRows = 5;

    BloodPressureRenderer(const ReportPage& page, const BloodPressureData& data);
    // Draws from the page the pass has started; returns the pages printed.
    int draw(int firstPage);

private:
    void startPage();
    // The table rows from `first`, `rows` in each column; leaves the position below the table.
    void drawTable(int first, int rows);
    void drawColumnHeader(const QRect& band);
    void drawRow(const BloodPressureData::Row& row, const QRect& rect);
    void drawPressure(const QRect& rect, int value, PressureClass pressureClass);
    void drawNotes();
    void drawNotesBand();
    // The left edge and width the notes take.
    QRect notesArea() const;
    // The parts of a table column: date and time, systolic, diastolic, pulse, weight, note.
    std::vector<QRect> parts(const QRect& rect) const;

    const ReportPage& m_page;
    const BloodPressureData& m_data;
    QFont m_title, m_text, m_bold;
    int m_row = 0;         // a table row, with room for the framed pressure cells
    int m_noteLine = 0;    // a line of notes
    int m_columnCount = 2; // on the current page
    int m_firstPage = 1;
    int m_pages = 0;
    int m_y = 0;
};
