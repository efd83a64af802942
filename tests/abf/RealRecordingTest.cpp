// The three published recordings: what an independent reader agrees on.
#include "tests/abf/ReaderFixture.h"

#include <algorithm>

namespace {

TEST_F(ReaderTest, RealRecordingsCountsIntervalsAndCurrents) {
    const struct {
        const char* name;
        int channels;
        uint32_t samples;
        uint32_t episodes;
        double intervalMs;
    } files[] = {{"19d22010.abf", 2, 10322, 10, 10000},
                 {"20917000.abf", 1, 103224, 3, 105000},
                 {"20917001.abf", 2, 51612, 9, 28000}};
    for (const auto& e : files) {
        SCOPED_TRACE(e.name);
        ASSERT_EQ(Open(std::string(TESSARAN_TESTDATA_DIR) + "/" + e.name), 0);
        EXPECT_EQ(+header.operationMode, 5);
        EXPECT_EQ(+header.channelCount, e.channels);
        EXPECT_EQ(samples, e.samples);
        EXPECT_EQ(episodes, e.episodes);
        double previous = 0;
        for (uint32_t k = 1; k <= episodes; ++k) {
            double start = 0;
            ASSERT_TRUE(AbfGetEpisodeStartTime(handle, &header, 0, k, &start, nullptr));
            if (k > 1) {
                EXPECT_NEAR(start - previous, e.intervalMs, 1.0) << k;
            }
            previous = start;

            std::vector<float> current, command;
            uint32_t count = 0;
            ASSERT_EQ(Read(0, k, &current, &count), 0);
            EXPECT_EQ(count, e.samples);
            // Currents in pA within a few nA, commands in mV; neither flat.
            auto [low, high] = std::minmax_element(current.begin(), current.end());
            EXPECT_LT(std::max(-*low, *high), 5000.0f);
            EXPECT_LT(*low, *high);
            ASSERT_EQ(Command(0, k, &command), 0);
            auto [vlow, vhigh] = std::minmax_element(command.begin(), command.end());
            EXPECT_LE(std::max(-*vlow, *vhigh), 200.0f);
            EXPECT_LT(*vlow, *vhigh);
        }
        AbfCloseAllFiles();
    }
}

TEST_F(ReaderTest, UserListVariesAnEpochDurationInTheRealRecording) {
    ASSERT_EQ(Open(std::string(TESSARAN_TESTDATA_DIR) + "/20917001.abf"), 0);
    ASSERT_TRUE(+header.userListEnable);
    // The list varies the duration of epoch 5 (a step to 20 mV): 100, 150,
    // 250, ... samples; epoch 4 before it is a step to -120 mV.
    auto stepLength = [&](uint32_t episode) {
        std::vector<float> v;
        EXPECT_EQ(Command(0, episode, &v), 0);
        auto first = std::find(v.begin(), v.end(), 20.0f);
        EXPECT_EQ(first[-1], -120.0f);
        return std::find_if(first, v.end(), [](float x) { return x != 20.0f; }) - first;
    };
    for (const auto& [episode, length] : {std::pair{1u, 100}, {2u, 150}, {3u, 250}, {9u, 13200}})
        EXPECT_EQ(stepLength(episode), length) << episode;
}

} // namespace
