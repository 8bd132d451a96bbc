#include "logbook/GraphScale.h"

#include "storage/Conversions.h"

#include <algorithm>

namespace GraphScale {

int plotValue(int stored, int unit) {
    return unit != kGlucoseUnitMgDl ? stored * 18 / 10 : stored;
}

std::optional<int> pointY(int mgDl, int height) {
    if (mgDl < 1)
        return std::nullopt;
    int y = (height * 1000 - mgDl * (height * 1000 / kTopValue)) / 1000;
    if (y < 5)
        y = 5;
    if (y > height)
        y = height - 3;
    return y;
}

int bandY(int mgDl, int height) {
    return height - (mgDl * (height * 100 / kTopValue)) / 100;
}

int columnWidth(int width, int rowsPerPage) {
    return rowsPerPage > 0 ? width / rowsPerPage : 0;
}

int hoveredOffset(int x, int columnWidth, int rowsPerPage, int topRow, int rowCount) {
    if (columnWidth <= 0 || rowsPerPage <= 0 || x < 0)
        return -1;
    int offset = rowsPerPage - (x + columnWidth) / columnWidth;
    // The rows drawn from the top row on; with fewer than a page they start at the left edge,
    // so every column right of them is over no row.
    const int drawn = std::clamp(rowCount - topRow, 0, rowsPerPage);
    if (drawn < rowsPerPage)
        offset -= rowsPerPage - drawn;
    return offset;
}

} // namespace GraphScale
