// The mean, deviation and count of the summary workbook's rows.
#include "export/SummaryWorkbook.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(SummaryStatistics, FiniteValuesOnly) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        std::vector<float> values;
        float mean;
        float deviation; // NaN: none
        uint32_t count;
    };
    const Case cases[] = {
        {{}, nan, nan, 0},
        {{nan, inf}, nan, nan, 0},
        {{4.0f}, 4.0f, nan, 1},
        {{2.0f, nan, 4.0f, -inf, 6.0f}, 4.0f, 2.0f, 3},
        {{1.0f, 1.0f}, 1.0f, 0.0f, 2},
    };
    for (const Case& c : cases) {
        const ValueStatistics s = Statistics(c.values);
        EXPECT_EQ(s.count, c.count);
        EXPECT_TRUE(std::isnan(c.mean) ? std::isnan(s.mean) : s.mean == c.mean) << s.mean;
        EXPECT_TRUE(std::isnan(c.deviation) ? std::isnan(s.standardDeviation)
                                            : s.standardDeviation == c.deviation)
            << s.standardDeviation;
    }
}

} // namespace
