#include "logbook/GlucoseClass.h"

#include <QStringList>
#include <gtest/gtest.h>

TEST(GlucoseClassTest, ClassesAtAndAroundEveryLimit) {
    auto classes = [](const GlucoseRange& range, std::initializer_list<int> values) {
        std::string found; // in range "-", low "l", high "h", very low "L", very high "H"
        for (int value : values)
            found += "-lhLH"[static_cast<int>(classifyGlucose(value, range))];
        return found;
    };
    EXPECT_EQ(classes({50, 70, 180, 250}, {0, 49, 50, 69, 70, 180, 181, 250, 251}), "LLll--hhH");
    // With the extended limits equal to the normal ones a value leaves the range straight
    // into the alarm classes.
    EXPECT_EQ(classes({70, 70, 180, 180}, {69, 70, 180, 181}), "L--H");
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
