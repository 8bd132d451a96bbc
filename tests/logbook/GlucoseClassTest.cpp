#include "logbook/GlucoseClass.h"

#include <QStringList>
#include <gtest/gtest.h>

TEST(GlucoseClassTest, ClassesAtAndAroundEveryLimit) {
    const GlucoseRange usual{50, 70, 180, 250};
    // With the extended limits equal to the normal ones a value leaves the range straight
    // into the alarm classes.
    const GlucoseRange tight{70, 70, 180, 180};
    struct Case {
        const GlucoseRange& range;
        int value;
        GlucoseClass expected;
    };
    const Case cases[] = {{usual, 0, GlucoseClass::VeryLow},    {usual, 49, GlucoseClass::VeryLow},
                          {usual, 50, GlucoseClass::Low},       {usual, 69, GlucoseClass::Low},
                          {usual, 70, GlucoseClass::InRange},   {usual, 180, GlucoseClass::InRange},
                          {usual, 181, GlucoseClass::High},     {usual, 250, GlucoseClass::High},
                          {usual, 251, GlucoseClass::VeryHigh}, {tight, 69, GlucoseClass::VeryLow},
                          {tight, 70, GlucoseClass::InRange},   {tight, 180, GlucoseClass::InRange},
                          {tight, 181, GlucoseClass::VeryHigh}};
    for (const Case& c : cases)
        EXPECT_EQ(classifyGlucose(c.value, c.range), c.expected)
            << "value " << c.value << (&c.range == &tight ? " (tight)" : "");
}

TEST(GlucoseClassTest, StyleOfEveryClass) {
    auto describe = [](GlucoseClass cls) {
        const GlucoseStyle style = glucoseStyle(cls);
        QStringList parts;
        if (style.ownTextColor)
            parts << "text " + style.text.name();
        if (style.framed)
            parts << "frame " + style.frame.name();
        if (style.filled)
            parts << "filled";
        if (style.bold)
            parts << "bold";
        return parts.join(' ').toStdString();
    };
    EXPECT_EQ(describe(GlucoseClass::InRange), "");
    EXPECT_EQ(describe(GlucoseClass::Low), "text #ff0000 frame #ff0000");
    EXPECT_EQ(describe(GlucoseClass::High), "text #0000ff frame #0000ff");
    EXPECT_EQ(describe(GlucoseClass::VeryLow), "text #ffffff frame #ff0000 filled bold");
    EXPECT_EQ(describe(GlucoseClass::VeryHigh), "text #ffffff frame #0000ff filled bold");
}
