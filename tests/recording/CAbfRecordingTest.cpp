#include "recording/CAbfRecording.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

TEST(ComposeReaderErrorText, FillsInTheFileNameAndCutsToTheRequestedLength) {
    const std::string x(100, 'x'), z(120, 'z');
    const std::string unknownX = "File '" + x + "' is of unknown file type.";
    EXPECT_EQ(ComposeReaderErrorText(1001, x), unknownX.substr(0, 79)) << "cut for the box";
    EXPECT_EQ(LoadResult::FromReader(1001, x).ReaderText(), unknownX)
        << "whole on the command line";
    // A number without a text is never cut.
    EXPECT_EQ(ComposeReaderErrorText(3000, z),
              "An unknown Error seems to have occurred within " + z + ".");
}

TEST(SampleTimes, FollowTheClockChangeCountedInMultiplexedSamples) {
    // First and second interval (us between multiplexed samples), clock change
    // sample, channels, and (sample of 1000, time) pairs.
    using Times = std::vector<std::pair<size_t, float>>;
    const std::tuple<float, float, int32_t, int16_t, Times> cases[] = {
        // 0 splits at half the episode: 500 x d1, then d2 onwards.
        {10, 40, 0, 1, {{0, 0}, {499, 4990}, {500, 5000}, {501, 5040}, {999, 5000 + 499 * 40}}},
        // 1 (or beyond the episode) keeps the first interval.
        {10, 40, 1, 1, {{999, 9990}}},
        // The sample number is 1-based.
        {10, 40, 300, 1, {{298, 2980}, {299, 2990}, {300, 2990 + 40}}},
        // A second interval of 0 means the first.
        {25, 0, 0, 1, {{1, 25}, {500, 12500}, {999, 24975}}},
        // Sample i of one of n channels lies at multiplexed index n i.
        {10, 40, 0, 2, {{499, 9980}, {500, 10000}, {501, 10000 + 2 * 40}}},
        {10, 40, 601, 3, {{199, 5970}, {200, 6000}, {201, 6000 + 3 * 40}}},
    };
    AbfHeader header;
    std::memset(&header, 0, sizeof header);
    for (const auto& [first, second, clockChange, channels, expected] : cases) {
        header.firstSampleInterval = first;
        header.secondSampleInterval = second;
        header.clockChangeSample = clockChange;
        header.channelCount = channels;
        const std::vector<float> t = CAbfRecording::SampleTimes(header, 1000);
        ASSERT_EQ(t.size(), 1000u);
        for (const auto& [sample, time] : expected)
            EXPECT_EQ(t[sample], time) << clockChange << " x" << channels << " @" << sample;
    }
}

} // namespace
