#include "SettingsTest.h"

// The fixture itself: the context sees the test database and its fixed clock.
TEST_F(SettingsTest, ContextReadsTheTestDatabase) {
    addSlot("0700", "Breakfast");
    EXPECT_EQ(context->slotCount(), 1);
    EXPECT_EQ(context->slotAt(0).getDesc(), "Breakfast");
    EXPECT_EQ(toDateText(context->clock().now()), "20260314");
}
