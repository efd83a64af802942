// The mean, deviation and count of the summary workbook's rows: non-finite
// values (a trace without a capacitance) count for nothing.
#include "export/SummaryWorkbook.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(SummaryStatistics, FiniteValuesOnly) {
    const float nan = NAN, inf = INFINITY;
    const struct {
        std::vector<float> values;
        float mean, deviation; // NaN: none
        uint32_t count;
    } cases[] = {
        {{nan, inf}, nan, nan, 0},
        {{2.0f, nan, 4.0f, -inf, 6.0f}, 4.0f, 2.0f, 3},
        {{1.0f, 1.0f}, 1.0f, 0.0f, 2},
    };
    for (const auto& c : cases) {
        const ValueStatistics s = Statistics(c.values);
        EXPECT_EQ(s.count, c.count);
        for (const auto& [got, want] :
             {std::pair{s.mean, c.mean}, {s.standardDeviation, c.deviation}})
            EXPECT_TRUE(std::isnan(want) ? std::isnan(got) : got == want) << got;
    }
}

} // namespace
