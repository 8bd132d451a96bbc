#pragma once

#include <optional>

// The vertical scale of the logbook graph and the column a cursor is over. Everything is in
// integers, as the strip is drawn in whole pixels: 0 to 400 mg/dL from the bottom edge of
// the strip to its top.
namespace GraphScale {

constexpr int kTopValue = 400;

// A stored glucose in mg/dL: unchanged, or tenths of a millimole times 1.8, truncated.
int plotValue(int stored, int unit);

// The height of a point for a value in mg/dL on a strip of `height` pixels; nothing for a
// value below 1. A value above the scale is held 5 pixels below the top edge, so that its
// marker stays whole; a height past the bottom edge is moved 3 pixels above it.
std::optional<int> pointY(int mgDl, int height);

// The coarser height the background bands and limit lines use.
int bandY(int mgDl, int height);

// Every visible row gets a column of the same width; what is left over stays on the right.
int columnWidth(int width, int rowsPerPage);

// The offset from the list's top visible row of the row whose column holds x, or below 0
// when no row is drawn there. The oldest visible row is drawn leftmost, so the offset counts
// from the right; when fewer rows than a page are left from the top row on, they are drawn
// from the left edge and the offset is moved down by the empty columns.
int hoveredOffset(int x, int columnWidth, int rowsPerPage, int topRow, int rowCount);

} // namespace GraphScale
