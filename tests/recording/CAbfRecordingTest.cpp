#include "recording/CAbfRecording.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

TEST(ComposeReaderErrorText, FillsInTheFileNameAndCutsAt79Characters) {
    EXPECT_EQ(ComposeReaderErrorText(2003, "a.abf"), "Not a valid ABF file.");
    const std::string name(100, 'x');
    EXPECT_EQ(ComposeReaderErrorText(1001, name),
              ("File '" + name + "' is of unknown file type.").substr(0, 79));
    EXPECT_EQ(ComposeReaderErrorText(1004, std::string(73, 'y')),
              "Cannot open file '" + std::string(61, 'y')); // 18 + 61 = 79
}

TEST(ComposeReaderErrorText, NumbersWithoutATextGetTheUnknownErrorTextUncut) {
    for (int error : {1007, 1024, 3000, 0, -1}) {
        EXPECT_EQ(ComposeReaderErrorText(error, "/data/cell 3.abf"),
                  "An unknown Error seems to have occurred within /data/cell 3.abf.")
            << error;
    }
    const std::string name(120, 'z');
    EXPECT_EQ(ComposeReaderErrorText(3000, name),
              "An unknown Error seems to have occurred within " + name + ".");
}

TEST(ComposeReaderErrorText, TheWholeTextForTheCommandLine) {
    const std::string name(100, 'x');
    EXPECT_EQ(ComposeReaderErrorText(1001, name, std::string::npos),
              "File '" + name + "' is of unknown file type.");
    EXPECT_EQ(ComposeReaderErrorText(1001, name, 10), "File 'xxxx");
    EXPECT_EQ(LoadResult::FromReader(1004, name).ReaderText(), "Cannot open file '" + name + "'.");
}

TEST(SampleTimes, FollowTheClockChangeCountedInMultiplexedSamples) {
    // First and second interval (us between multiplexed samples), clock change
    // sample, channels, and (sample of 1000, time) pairs.
    using Times = std::vector<std::pair<size_t, float>>;
    const std::tuple<float, float, int32_t, int16_t, Times> cases[] = {
        // 0 splits at half the episode: 500 x d1, then d2 onwards.
        {10, 40, 0, 1, {{0, 0}, {499, 4990}, {500, 5000}, {501, 5040}, {999, 5000 + 499 * 40}}},
        // 1 or beyond the episode keeps the first interval.
        {10, 40, 1, 1, {{500, 5000}, {999, 9990}}},
        {10, 40, 1001, 1, {{500, 5000}, {999, 9990}}},
        {10, 40, -3, 1, {{500, 5000}, {999, 9990}}},
        // The sample number is 1-based; the last one still splits.
        {10, 40, 1000, 1, {{998, 9980}, {999, 9990}}},
        {10, 40, 300, 1, {{298, 2980}, {299, 2990}, {300, 2990 + 40}}},
        // A second interval of 0 means the first.
        {25, 0, 0, 1, {{1, 25}, {500, 12500}, {999, 24975}}},
        // Sample i of one of n channels lies at multiplexed index n i.
        {50, 0, 0, 2, {{1, 100}, {999, 99900}}},
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
    // Tiny episodes (d1 10, d2 40, split at half the episode).
    header.clockChangeSample = 0;
    header.channelCount = 1;
    EXPECT_TRUE(CAbfRecording::SampleTimes(header, 0).empty());
    EXPECT_EQ(CAbfRecording::SampleTimes(header, 1), std::vector<float>{0.0f}); // last time 0
}

} // namespace
