#include "logbook/GlucoseClass.h"

#include <gtest/gtest.h>

namespace {

const GlucoseRange kRange{50, 70, 180, 250};

} // namespace

TEST(GlucoseClassTest, ClassesAtAndAroundEveryLimit) {
    struct Case {
        int value;
        GlucoseClass expected;
    };
    const Case cases[] = {
        {0, GlucoseClass::VeryLow},   {45, GlucoseClass::VeryLow},  {49, GlucoseClass::VeryLow},
        {50, GlucoseClass::Low},      {60, GlucoseClass::Low},      {69, GlucoseClass::Low},
        {70, GlucoseClass::InRange},  {125, GlucoseClass::InRange}, {180, GlucoseClass::InRange},
        {181, GlucoseClass::High},    {250, GlucoseClass::High},    {251, GlucoseClass::VeryHigh},
        {300, GlucoseClass::VeryHigh}};
    for (const Case& c : cases)
        EXPECT_EQ(classifyGlucose(c.value, kRange), c.expected) << "value " << c.value;
}

TEST(GlucoseClassTest, CollapsedLimitsLeaveNoRoomForTheMildClasses) {
    // With the extended limits equal to the normal ones a value leaves the range straight
    // into the alarm classes.
    const GlucoseRange tight{70, 70, 180, 180};
    EXPECT_EQ(classifyGlucose(69, tight), GlucoseClass::VeryLow);
    EXPECT_EQ(classifyGlucose(70, tight), GlucoseClass::InRange);
    EXPECT_EQ(classifyGlucose(180, tight), GlucoseClass::InRange);
    EXPECT_EQ(classifyGlucose(181, tight), GlucoseClass::VeryHigh);
}

TEST(GlucoseClassTest, ColoursOfTheClasses) {
    EXPECT_EQ(GlucoseColors::low(), QColor(255, 0, 0));
    EXPECT_EQ(GlucoseColors::high(), QColor(0, 0, 255));
    EXPECT_EQ(GlucoseColors::alarmText(), QColor(255, 255, 255));
    EXPECT_EQ(dayBandColor(), QColor(220, 219, 184));

    GlucoseStyle inRange = glucoseStyle(GlucoseClass::InRange);
    EXPECT_FALSE(inRange.ownTextColor);
    EXPECT_FALSE(inRange.framed);
    EXPECT_FALSE(inRange.filled);
    EXPECT_FALSE(inRange.bold);

    GlucoseStyle low = glucoseStyle(GlucoseClass::Low);
    EXPECT_TRUE(low.ownTextColor);
    EXPECT_EQ(low.text, QColor(255, 0, 0));
    EXPECT_TRUE(low.framed);
    EXPECT_EQ(low.frame, QColor(255, 0, 0));
    EXPECT_FALSE(low.filled);
    EXPECT_FALSE(low.bold);

    GlucoseStyle high = glucoseStyle(GlucoseClass::High);
    EXPECT_EQ(high.text, QColor(0, 0, 255));
    EXPECT_EQ(high.frame, QColor(0, 0, 255));
    EXPECT_TRUE(high.framed);
    EXPECT_FALSE(high.filled);

    GlucoseStyle veryLow = glucoseStyle(GlucoseClass::VeryLow);
    EXPECT_EQ(veryLow.text, QColor(255, 255, 255));
    EXPECT_TRUE(veryLow.bold);
    EXPECT_TRUE(veryLow.filled);
    EXPECT_EQ(veryLow.frame, QColor(255, 0, 0));

    GlucoseStyle veryHigh = glucoseStyle(GlucoseClass::VeryHigh);
    EXPECT_EQ(veryHigh.text, QColor(255, 255, 255));
    EXPECT_TRUE(veryHigh.bold);
    EXPECT_TRUE(veryHigh.filled);
    EXPECT_EQ(veryHigh.frame, QColor(0, 0, 255));
}
