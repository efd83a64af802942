// The sub-section search: the samples of a ramp within the test potential ±
// range, for rising and falling ramps, clipped windows, and ramps and windows
// that cannot be searched.
#include "analysis/SubsectionSearch.h"
#include "display/CommandVoltage.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr int32_t kRampStart = 1350; // 1-based, as entered
constexpr int32_t kRampEnd = 2625;
constexpr int32_t kSamples = 3000;

// Command voltage in tenths of mV: `from` mV up to sample kRampStart, a linear
// ramp to `to` mV at kRampEnd, then `to` again.
std::vector<int32_t> Ramp(float from, float to) {
    std::vector<float> mV(kSamples);
    const int32_t s = kRampStart - 1;
    const int32_t e = kRampEnd - 1;
    for (int32_t i = 0; i < kSamples; ++i)
        mV[i] = i <= s ? from : i >= e ? to : from + (to - from) * float(i - s) / float(e - s);
    return CommandVoltageTenths(mV);
}

// The first index of the ramp whose voltage satisfies `pred`, or its last sample.
template <typename Pred> uint32_t FirstWhere(const std::vector<int32_t>& v, Pred pred) {
    uint32_t i = kRampStart - 1;
    while (i < kRampEnd - 1 && !pred(v[i]))
        ++i;
    return i;
}

TEST(FindSubsection, RisingAndFallingRamps) {
    const auto rising = Ramp(-100, 50);
    Subsection sub;
    ASSERT_TRUE(FindSubsection(rising, 0, 5, kRampStart, kRampEnd, sub));
    EXPECT_EQ(sub.start, FirstWhere(rising, [](int32_t x) { return x >= -50; }));
    EXPECT_EQ(sub.end, FirstWhere(rising, [](int32_t x) { return x > 50; }));

    // [first at or below +5.0 mV, first below -5.0 mV)
    const auto falling = Ramp(50, -100);
    ASSERT_TRUE(FindSubsection(falling, 0, 5, kRampStart, kRampEnd, sub));
    EXPECT_EQ(sub.start, FirstWhere(falling, [](int32_t x) { return x <= 50; }));
    EXPECT_EQ(sub.end, FirstWhere(falling, [](int32_t x) { return x < -50; }));

    // Samples exactly on the window's edges (1 mV steps from -10 mV): both
    // edges lie inside, on a rising and on a falling ramp.
    std::vector<int32_t> up(21), down(21);
    for (int32_t i = 0; i < 21; ++i)
        up[i] = -100 + 10 * i, down[i] = 100 - 10 * i;
    ASSERT_TRUE(FindSubsection(up, 0, 5, 1, 21, sub));
    EXPECT_EQ(sub, (Subsection{5, 16}));
    ASSERT_TRUE(FindSubsection(down, 0, 5, 1, 21, sub));
    EXPECT_EQ(sub, (Subsection{5, 16}));
}

TEST(FindSubsection, WindowsOutsideOrAcrossTheRampEnds) {
    const auto v = Ramp(-100, 50);
    Subsection sub{7, 9};
    // Wholly above or below the ramp: the empty sub-section.
    for (int32_t outside : {80, -120}) {
        sub = {7, 9};
        ASSERT_TRUE(FindSubsection(v, outside, 5, kRampStart, kRampEnd, sub));
        EXPECT_EQ(sub, (Subsection{0, 0})) << outside;
    }
    // Clipped at the bottom: from the ramp's first sample.
    ASSERT_TRUE(FindSubsection(v, -98, 5, kRampStart, kRampEnd, sub));
    EXPECT_EQ(sub.start, static_cast<uint32_t>(kRampStart - 1));
    EXPECT_EQ(sub.end, FirstWhere(v, [](int32_t x) { return x > -930; }));
    // Clipped at the top: the end runs to the ramp's last sample, which is not searched.
    ASSERT_TRUE(FindSubsection(v, 48, 5, kRampStart, kRampEnd, sub));
    EXPECT_EQ(sub.end, static_cast<uint32_t>(kRampEnd - 1));
    // Entered backwards: an empty range at its start.
    ASSERT_TRUE(FindSubsection(v, 0, 5, kRampEnd, kRampStart, sub));
    EXPECT_EQ(sub, (Subsection{kRampEnd - 1, kRampEnd - 1}));
    // A flat ramp: lowest = highest voltage, nothing found.
    ASSERT_TRUE(FindSubsection(std::vector<int32_t>(100, -800), -80, 5, 10, 90, sub));
    EXPECT_EQ(sub, (Subsection{0, 0}));
    // Extreme test potentials and ranges cannot overflow.
    const int32_t big = std::numeric_limits<int32_t>::max() - 1;
    EXPECT_TRUE(FindSubsection(v, big, big, kRampStart, kRampEnd, sub));
    EXPECT_TRUE(FindSubsection(v, -big, -big, kRampStart, kRampEnd, sub));
    EXPECT_EQ(sub, (Subsection{0, 0}));
}

TEST(FindSubsection, NothingToSearchLeavesThePreviousSubsection) {
    const auto v = Ramp(-100, 50);
    // Start = end, range 0, empty fields, and ramps (from a profile) beyond the samples.
    const int32_t cases[][4] = {
        {0, 5, 1400, 1400},         {0, 0, kRampStart, kRampEnd},   {kNoIntegerValue, 5, 1, 2},
        {0, kNoIntegerValue, 1, 2}, {0, 5, kSamples + 1, kRampEnd}, {0, 5, 0, kRampEnd},
        {0, 5, 1, kSamples + 1}};
    for (const auto& c : cases) {
        Subsection sub{11, 22};
        EXPECT_FALSE(FindSubsection(v, c[0], c[1], c[2], c[3], sub))
            << c[0] << " " << c[1] << " " << c[2] << " " << c[3];
        EXPECT_EQ(sub, (Subsection{11, 22}));
    }
    Subsection sub{11, 22};
    EXPECT_FALSE(FindSubsection({}, 0, 5, 1, 2, sub));
    // The last sample is a valid ramp end.
    EXPECT_TRUE(FindSubsection(v, 0, 5, 1, kSamples, sub));
}

} // namespace
