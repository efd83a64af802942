#include "display/CommandVoltage.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(CommandVoltageTenths, TimesTenRoundedHalfToEven) {
    const std::vector<float> mV = {0.0f,  -80.0f, 40.0f,   0.05f, 0.15f,
                                   0.25f, -0.25f, -12.34f, 0.35f};
    // 0.05 mV x 10 in double is 0.5000000074505806, held as float 0.5: ties to even -> 0.
    // 0.15f x 10 = 1.4999999664723873 -> float 1.5 -> 2; 0.25 -> 2.5 -> 2; 0.35f -> 3.5 -> 4.
    EXPECT_EQ(CommandVoltageTenths(mV), (std::vector<int32_t>{0, -800, 400, 0, 2, 2, -2, -123, 4}));
    EXPECT_TRUE(CommandVoltageTenths({}).empty());
}

TEST(CommandVoltageTenths, ValuesFromADamagedFileStayDefined) {
    const float inf = std::numeric_limits<float>::infinity();
    const std::vector<float> mV = {std::numeric_limits<float>::quiet_NaN(), inf, -inf, 3e9f};
    EXPECT_EQ(CommandVoltageTenths(mV),
              (std::vector<int32_t>{0, std::numeric_limits<int32_t>::max(),
                                    std::numeric_limits<int32_t>::min(),
                                    std::numeric_limits<int32_t>::max()}));
    EXPECT_EQ(RoundHalfEvenToInt32(-2147483648.0f), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(RoundHalfEvenToInt32(2147483520.0f), 2147483520); // largest float below 2^31
}

} // namespace
