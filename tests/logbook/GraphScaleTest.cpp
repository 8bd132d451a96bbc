#include "logbook/GraphScale.h"
#include "storage/Conversions.h"

#include <gtest/gtest.h>
#include <optional>

using namespace GraphScale;

namespace {

struct PointCase {
    int stored;
    int unit;
    int height;
    std::optional<int> y;
};

struct HitCase {
    const char* what;
    int x;
    int width;
    int rowsPerPage;
    int topRow;
    int rowCount;
    int offset;
};

} // namespace

TEST(GraphScaleTest, PointsAreScaledInWholePixels) {
    const PointCase cases[] = {
        {180, kGlucoseUnitMgDl, 100, 55},
        {70, kGlucoseUnitMgDl, 100, 82},
        {100, kGlucoseUnitMmol, 100, 55}, // 10.0 mmol/L is plotted at 180 mg/dL
        {39, kGlucoseUnitMmol, 100, 82},  // 3.9 mmol/L: 70.2 truncated to 70
        {1, kGlucoseUnitMgDl, 100, 99},
        {0, kGlucoseUnitMgDl, 100, std::nullopt},
        {-20, kGlucoseUnitMgDl, 100, std::nullopt},
        {400, kGlucoseUnitMgDl, 100, 5}, // the top edge: held 5 pixels below it
        {600, kGlucoseUnitMgDl, 100, 5},
        {120, kGlucoseUnitMgDl, 98, 68}, // the strip's client height
    };
    for (const PointCase& c : cases)
        EXPECT_EQ(pointY(plotValue(c.stored, c.unit), c.height), c.y)
            << c.stored << " unit " << c.unit << " height " << c.height;
}

TEST(GraphScaleTest, BandsUseTheCoarserScale) {
    // Height 100: the high band ends above 55, the low band starts at 83, the extended
    // limits 250 and 50 are at 38 and 88.
    const int mgDl[][2] = {{180, 55}, {70, 83}, {250, 38}, {50, 88}, {0, 100}, {400, 0}};
    for (auto [value, y] : mgDl)
        EXPECT_EQ(bandY(value, 100), y) << value;
    EXPECT_EQ(bandY(plotValue(100, kGlucoseUnitMmol), 100), 55);
    EXPECT_EQ(bandY(180, 98), 55); // 24 hundredths of a pixel per mg/dL at height 98
}

TEST(GraphScaleTest, TheCursorFindsTheRowDrawnUnderIt) {
    const HitCase cases[] = {
        // A full page of 12 rows, 50 pixels each, the oldest on the left.
        {"first column", 0, 600, 12, 30, 400, 11},
        {"third column", 125, 600, 12, 30, 400, 9},
        {"third column, left pixel", 100, 600, 12, 30, 400, 9},
        {"second column, right pixel", 99, 600, 12, 30, 400, 10},
        {"last column", 599, 600, 12, 30, 400, 0},
        {"the leftover right of the columns", 604, 605, 12, 0, 400, -1},
        // Five rows drawn from the left edge of a 12-row page.
        {"short list, first column", 10, 600, 12, 0, 5, 4},
        {"short list, its last column", 240, 600, 12, 0, 5, 0},
        {"short list, right of its last column", 260, 600, 12, 0, 5, -1},
        {"short list, far right", 590, 600, 12, 0, 5, -7},
        {"last rows of a scrolled list", 160, 600, 12, 10, 15, 1},
        {"no columns", 10, 5, 12, 0, 5, -1},
    };
    for (const HitCase& c : cases)
        EXPECT_EQ(hoveredOffset(c.x, columnWidth(c.width, c.rowsPerPage), c.rowsPerPage, c.topRow,
                                c.rowCount),
                  c.offset)
            << c.what;
}
