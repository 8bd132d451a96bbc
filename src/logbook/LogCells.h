#pragma once

#include "logbook/GlucoseClass.h"
#include "logbook/LogRows.h"

#include <QString>
#include <Qt>
#include <array>

class LogbookContext;

// The columns of the logbook list, in order.
namespace LogColumn {
constexpr int DateTime = 0;
constexpr int Site = 1;
constexpr int Delivery = 2;
constexpr int Ketone = 3;
constexpr int DayType = 4;
constexpr int Glucose = 5;
constexpr int Carbs = 6;
constexpr int Ratio = 7;
constexpr int Medication = 8;
constexpr int Notes = 9;
constexpr int Count = 10;
} // namespace LogColumn

// Title, width in pixels (0 hides the column) and alignment of a column; the compact
// layout is the one of the day dialog's entries page.
struct LogColumnLayout {
    const char* title;
    int width;
    Qt::Alignment alignment;
};
const LogColumnLayout& logColumnLayout(int column, bool compact);

// The small pictures a cell can show.
enum class LogIcon {
    None,
    Ketone1, // ketone codes 1 to 4: none, small, medium, large
    Ketone2,
    Ketone3,
    Ketone4,
    DaySick,
    DayActive,
    SiteChange,
    Delivery, // the entry's delivery differs from the usual one
};
// The resource path of an icon; empty for None.
QString logIconPath(LogIcon icon);

struct LogCell {
    QString text;
    LogIcon icon = LogIcon::None;
};

// Everything one row shows, read afresh from the database. Nothing here is meant to be
// kept: the list builds it again whenever the row is drawn.
struct LogRowCells {
    bool valid = false; // false: the record could not be read, the row stays blank
    bool day = false;
    // A day row between entry rows: bold, and on the day band when not selected or focused.
    bool emphasized = false;
    std::array<LogCell, LogColumn::Count> cells;
    bool hasGlucose = false;
    int glucose = 0;
    GlucoseClass glucoseClass = GlucoseClass::InRange;
};

// Reads the row's day or entry by PK and works out its cells. `filter` is the log type
// filter of the main view; the compact layout ignores it.
LogRowCells computeLogCells(LogbookContext& context, const LogRow& row, int filter, bool compact);

// Carbohydrates per unit of insulin, "%2.1f:u"; empty unless both are above 0.
QString carbRatioText(int carbs, int insulinHundredths);
