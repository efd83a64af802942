#include "display/AxisTicks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(AxisTicks, RoundStepsAtLeastTheSpacingApart) {
    struct Case {
        double low, high, pixels, spacing, step, first, last;
    };
    const Case cases[] = {
        {0, 100, 500, 50, 10, 0, 100},            // 10 units need 50 px exactly
        {-2500, 2500, 400, 30, 500, -2500, 2500}, // 375 -> 500
        {0.013, 0.071, 300, 60, 0.02, 0.02, 0.06},
        {-7, 13, 100, 40, 10, 0, 10},
    };
    for (const Case& c : cases) {
        const AxisTicks ticks = ChooseTicks(c.low, c.high, c.pixels, c.spacing);
        EXPECT_DOUBLE_EQ(ticks.step, c.step) << c.low << ".." << c.high;
        ASSERT_FALSE(ticks.values.empty());
        EXPECT_NEAR(ticks.values.front(), c.first, 1e-12);
        EXPECT_NEAR(ticks.values.back(), c.last, 1e-12);
    }
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(ChooseTicks(5, 5, 100, 10).values.empty());
    EXPECT_TRUE(ChooseTicks(0, nan, 100, 10).values.empty());
    EXPECT_TRUE(ChooseTicks(0, 10, 5, 10).values.empty()); // no room for two ticks
}

TEST(AxisTicks, TextsAndTimeUnits) {
    EXPECT_EQ(TickText(1500, 500), "1500");
    EXPECT_EQ(TickText(0.04, 0.02), "0.04");
    EXPECT_EQ(TickText(-0.0001, 0.5), "0.0"); // no "-0.0"
    EXPECT_STREQ(TimeUnitForSpan(1.999e6).name, "ms");
    EXPECT_STREQ(TimeUnitForSpan(2e6).name, "s");

    // Without a trace and a command, only the sample and its time.
    ReadoutValues values;
    values.sampleNumber = 1350;
    values.timeMicroseconds = 2.5e6;
    EXPECT_EQ(ReadoutText(values), "Sample 1350   2.5000 s");
}
