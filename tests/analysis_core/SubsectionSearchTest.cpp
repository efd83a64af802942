#include "analysis/SubsectionSearch.h"
#include "display/CommandVoltage.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr int32_t kRampStart = 1350; // 1-based, as entered
constexpr int32_t kRampEnd = 2625;
constexpr size_t kSamples = 3000;

// Command voltage in tenths of mV: `from` mV up to sample kRampStart, a linear
// ramp to `to` mV at kRampEnd, then `to` again.
std::vector<int32_t> Ramp(float from, float to) {
    std::vector<float> mV(kSamples);
    const size_t s = kRampStart - 1;
    const size_t e = kRampEnd - 1;
    for (size_t i = 0; i < kSamples; ++i) {
        if (i <= s)
            mV[i] = from;
        else if (i >= e)
            mV[i] = to;
        else
            mV[i] = from + (to - from) * static_cast<float>(i - s) / static_cast<float>(e - s);
    }
    return CommandVoltageTenths(mV);
}

// The first index in [s, e) whose voltage satisfies `pred`, or e.
template <typename Pred> uint32_t FirstWhere(const std::vector<int32_t>& v, Pred pred) {
    for (uint32_t i = kRampStart - 1; i < kRampEnd - 1; ++i) {
        if (pred(v[i]))
            return i;
    }
    return kRampEnd - 1;
}

TEST(FindSubsection, RisingRampGivesTheSamplesWithinTheWindow) {
    const auto v = Ramp(-100, 50);
    Subsection sub;
    ASSERT_TRUE(FindSubsection(v, 0, 5, kRampStart, kRampEnd, sub));
    EXPECT_EQ(sub.start, FirstWhere(v, [](int32_t x) { return x >= -50; }));
    EXPECT_EQ(sub.end, FirstWhere(v, [](int32_t x) { return x > 50; }));
    EXPECT_GE(v[sub.start], -50);
    EXPECT_LT(v[sub.start - 1], -50);
    EXPECT_LE(v[sub.end - 1], 50);
    EXPECT_GT(v[sub.end], 50);
}

TEST(FindSubsection, FallingRampGivesTheSameKindOfRange) {
    const auto v = Ramp(50, -100);
    Subsection sub;
    ASSERT_TRUE(FindSubsection(v, 0, 5, kRampStart, kRampEnd, sub));
    // [first at or below +5.0 mV, first below -5.0 mV)
    EXPECT_EQ(sub.start, FirstWhere(v, [](int32_t x) { return x <= 50; }));
    EXPECT_EQ(sub.end, FirstWhere(v, [](int32_t x) { return x < -50; }));
    EXPECT_LT(sub.start, sub.end);
}

TEST(FindSubsection, WindowOutsideTheRampGivesTheEmptySubsection) {
    const auto v = Ramp(-100, 50);
    Subsection sub{7, 9};
    ASSERT_TRUE(FindSubsection(v, 80, 5, kRampStart, kRampEnd, sub)); // 750 > 500 tenths
    EXPECT_EQ(sub, (Subsection{0, 0}));
    sub = {7, 9};
    ASSERT_TRUE(FindSubsection(v, -120, 5, kRampStart, kRampEnd, sub));
    EXPECT_EQ(sub, (Subsection{0, 0}));
}

TEST(FindSubsection, WindowIsClippedToTheRampEnds) {
    const auto v = Ramp(-100, 50);
    Subsection sub;
    ASSERT_TRUE(FindSubsection(v, -98, 5, kRampStart, kRampEnd, sub)); // low clipped to -1000
    EXPECT_EQ(sub.start, static_cast<uint32_t>(kRampStart - 1));
    EXPECT_EQ(sub.end, FirstWhere(v, [](int32_t x) { return x > -930; }));

    // Clipped at the top: the end runs to the ramp's last sample, which is not searched.
    ASSERT_TRUE(FindSubsection(v, 48, 5, kRampStart, kRampEnd, sub));
    EXPECT_EQ(sub.end, static_cast<uint32_t>(kRampEnd - 1));
}

TEST(FindSubsection, NothingToSearchLeavesThePreviousSubsection) {
    const auto v = Ramp(-100, 50);
    const Subsection previous{11, 22};
    Subsection sub = previous;
    EXPECT_FALSE(FindSubsection(v, 0, 5, 1400, 1400, sub));           // start = end
    EXPECT_FALSE(FindSubsection(v, 0, 0, kRampStart, kRampEnd, sub)); // range 0
    EXPECT_FALSE(FindSubsection(v, kNoEntryValue, 5, kRampStart, kRampEnd, sub));
    EXPECT_FALSE(FindSubsection(v, 0, kNoEntryValue, kRampStart, kRampEnd, sub));
    EXPECT_FALSE(FindSubsection(v, 0, 5, kNoEntryValue, kRampEnd, sub));
    EXPECT_FALSE(FindSubsection(v, 0, 5, kRampStart, kNoEntryValue, sub));
    EXPECT_EQ(sub, previous);
}

TEST(FindSubsection, RampsFromAProfileNeverIndexBeyondTheSamples) {
    const auto v = Ramp(-100, 50);
    const Subsection previous{11, 22};
    Subsection sub = previous;
    EXPECT_FALSE(FindSubsection(v, 0, 5, 0, kRampEnd, sub));
    EXPECT_FALSE(FindSubsection(v, 0, 5, kRampStart, static_cast<int32_t>(kSamples) + 1, sub));
    EXPECT_FALSE(FindSubsection(v, 0, 5, -5, kRampEnd, sub));
    EXPECT_FALSE(FindSubsection({}, 0, 5, 1, 2, sub));
    EXPECT_EQ(sub, previous);
    // The last sample is a valid ramp end.
    EXPECT_TRUE(FindSubsection(v, 0, 5, 1, static_cast<int32_t>(kSamples), sub));
    // Extreme test potentials and ranges cannot overflow.
    const int32_t big = std::numeric_limits<int32_t>::max() - 1;
    EXPECT_TRUE(FindSubsection(v, big, big, kRampStart, kRampEnd, sub));
    EXPECT_TRUE(FindSubsection(v, -big, -big, kRampStart, kRampEnd, sub));
    EXPECT_EQ(sub, (Subsection{0, 0}));
}

TEST(FindSubsection, RampEnteredBackwardsGivesAnEmptyRangeAtItsStart) {
    const auto v = Ramp(-100, 50);
    Subsection sub;
    ASSERT_TRUE(FindSubsection(v, 0, 5, kRampEnd, kRampStart, sub));
    EXPECT_EQ(sub, (Subsection{kRampEnd - 1, kRampEnd - 1}));
    EXPECT_TRUE(sub.IsEmpty());
}

TEST(FindSubsection, FlatRampGivesTheEmptySubsection) {
    const std::vector<int32_t> flat(100, -800);
    Subsection sub{1, 2};
    ASSERT_TRUE(FindSubsection(flat, -80, 5, 10, 90, sub)); // lo = hi = -800
    EXPECT_EQ(sub, (Subsection{0, 0}));
}

} // namespace
