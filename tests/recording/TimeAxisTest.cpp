#include "recording/CAbfRecording.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

AbfHeader Header(float d1, float d2, int32_t clockChange, int16_t channels = 1) {
    AbfHeader header;
    std::memset(&header, 0, sizeof header);
    header.firstSampleInterval = d1;
    header.secondSampleInterval = d2;
    header.clockChangeSample = clockChange;
    header.channelCount = channels;
    return header;
}

TEST(SampleTimes, ClockChangeZeroSplitsAtHalfTheEpisode) {
    const auto t = CAbfRecording::SampleTimes(Header(10, 40, 0), 1000);
    ASSERT_EQ(t.size(), 1000u);
    EXPECT_EQ(t[0], 0.0f);
    EXPECT_EQ(t[499], 4990.0f);
    EXPECT_EQ(t[500], 5000.0f); // 500 x d1, then d2 onwards
    EXPECT_EQ(t[501], 5040.0f);
    EXPECT_EQ(t[999], 5000.0f + 499 * 40.0f);
}

TEST(SampleTimes, ClockChangeOneOrBeyondTheEpisodeKeepsTheFirstInterval) {
    for (int32_t s : {1, 1001, 5000000, -3}) {
        const auto t = CAbfRecording::SampleTimes(Header(10, 40, s), 1000);
        EXPECT_EQ(t[999], 9990.0f) << s;
        EXPECT_EQ(t[500], 5000.0f) << s;
    }
    // A clock change at exactly the last sample number still splits.
    const auto t = CAbfRecording::SampleTimes(Header(10, 40, 1000), 1000);
    EXPECT_EQ(t[998], 9980.0f);
    EXPECT_EQ(t[999], 9990.0f);
}

TEST(SampleTimes, ClockChangeSampleIsOneBased) {
    const auto t = CAbfRecording::SampleTimes(Header(10, 40, 300), 1000); // k = 299
    EXPECT_EQ(t[298], 2980.0f);
    EXPECT_EQ(t[299], 2990.0f);
    EXPECT_EQ(t[300], 2990.0f + 40.0f);
}

TEST(SampleTimes, SecondIntervalZeroMeansTheFirst) {
    const auto t = CAbfRecording::SampleTimes(Header(25, 0, 0), 1000);
    for (size_t i = 0; i < t.size(); ++i)
        ASSERT_EQ(t[i], static_cast<float>(i * 25.0)) << i;
}

TEST(SampleTimes, EveryChannelOfAScanCountsInTheInterval) {
    // Two channels: the interval is between multiplexed samples, so sample i of
    // one channel lies at multiplexed index 2i.
    const auto t = CAbfRecording::SampleTimes(Header(50, 0, 0, 2), 1000);
    EXPECT_EQ(t[1], 100.0f);
    EXPECT_EQ(t[999], 99900.0f);

    // The clock change counts multiplexed samples too: 2 x 1000 samples split at 1000.
    const auto split = CAbfRecording::SampleTimes(Header(10, 40, 0, 2), 1000);
    EXPECT_EQ(split[499], 9980.0f);
    EXPECT_EQ(split[500], 10000.0f);
    EXPECT_EQ(split[501], 10000.0f + 2 * 40.0f);

    const auto three = CAbfRecording::SampleTimes(Header(10, 40, 601, 3), 1000); // K = 600
    EXPECT_EQ(three[199], 5970.0f);
    EXPECT_EQ(three[200], 6000.0f);
    EXPECT_EQ(three[201], 6000.0f + 3 * 40.0f);
}

TEST(SampleTimes, TinyEpisodes) {
    EXPECT_TRUE(CAbfRecording::SampleTimes(Header(10, 0, 0), 0).empty());
    const auto one = CAbfRecording::SampleTimes(Header(10, 40, 0), 1);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0], 0.0f); // a time axis whose last value is 0
}

} // namespace
