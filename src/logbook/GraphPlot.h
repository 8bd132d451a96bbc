#pragma once

#include "logbook/LogRows.h"

#include <QPoint>
#include <QString>
#include <optional>
#include <span>
#include <vector>

class Database;

// The patient's glucose limits as stored, and the unit they and the values are stored in.
struct GraphLimits {
    int extLo = 0;
    int lo = 0;
    int hi = 0;
    int extHi = 0;
    int unit = 0;
};

// Where the graph is drawn and which rows of the list it follows.
struct GraphPage {
    int width = 0;
    int height = 0;
    int rowsPerPage = 0; // whole rows the list shows at once
    int topRow = 0;      // the list's top visible row
    int filter = LogFilter::AllTypes;
};

// One list row drawn as a column; the oldest visible row is leftmost.
struct GraphColumn {
    int row = 0;    // the row of the list
    int offset = 0; // from the top visible row
    int left = 0;   // left edge of the column
    int centre = 0; // where its point, label and guide are
    bool day = false;
    std::optional<int> y; // its point, when the row has a glucose value
};

// A red line at a day's average across the columns of the day's entries.
struct GraphDayLine {
    int from = 0;
    int to = 0;
    int y = 0;
};

// A date under a column, with the dotted guide at the column's centre.
struct GraphLabel {
    int centre = 0;
    QString text; // "%m/%d"
};

// Everything the strip shows, in pixels of its client area: the widget only draws it.
struct GraphPlot {
    int columnWidth = 0;
    int highBandBottom = 0; // the high band fills from the top to here (exclusive)
    int lowBandTop = 0;     // the low band fills from here to the bottom
    int extHiY = 0;         // dotted lines across the whole width
    int extLoY = 0;
    std::vector<GraphColumn> columns;
    std::vector<QPoint> line; // the blue line through every point, left to right
    std::vector<GraphDayLine> dayLines;
    std::vector<GraphLabel> labels;

    // Empties the plot but keeps its storage, so that one plot serves every repaint.
    void clear();
};

// Works out the plot of the visible rows, reading each row's day or entry once.
void buildGraphPlot(Database& db, std::span<const LogRow> rows, const GraphPage& page,
                    const GraphLimits& limits, GraphPlot& plot);
