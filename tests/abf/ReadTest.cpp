#include "abf/AbfFile.h"
#include "tests/abf/ReaderFixture.h"

namespace {

using namespace AbfOffset;
using W = AbfTestWriter;

// A signal whose value tells where it came from: episode, channel and sample.
double Tag(uint32_t episode, int channel, uint32_t sample) {
    return episode * 1000.0 + channel * 100.0 + (sample % 97);
}

double Ramp(uint32_t episode, int channel, uint32_t sample) {
    return episode + channel * 0.5 + sample * 0.001;
}

struct Value {
    uint32_t episode;
    uint32_t index;
    double value;
    uint32_t count = 0; // samples the episode holds; 0: not checked
    int channel = 0;
};

TEST_F(ReaderTest, ValuesScalingAndEpisodeLayout) {
    auto tagged = [](W writer) { return writer.SetAdcRange(10000, 32768).SetSignal(Tag); };
    const W overlapping = tagged(
        W().SetMode(2).SetSamplesPerChannel(100).SetSynchArray({{0, 100}, {60, 100}, {500, 100}}));
    const struct {
        const char* what;
        W writer;
        double tolerance;
        std::vector<Value> values;
        int flags = 0;
        uint32_t samples = 0, episodes = 0; // 0: not checked
    } cases[] = {
        // clang-format off
        {"channels demultiplexed in scan order", tagged(W().SetChannels({3, 0, 7})),
         0.2, {{1, 999, Tag(1, 7, 999), 1000, 7}, {2, 500, Tag(2, 0, 500), 1000, 0},
               {3, 999, Tag(3, 3, 999), 1000, 3}}, 0, 1000, 3},
        {"instrument, programmable and autosample gains and the offset",
         W().SetChannels({0, 5}).SetChannelScaling(5, 0.5f, 2.0f, 3.0f)
             .Set<int16_t>(kAutosampleEnable, 1).Set<int16_t>(kAutosampleChannel, 5)
             .Set<float>(kAutosampleGain, 4.0f)
             .SetSignal([](uint32_t, int c, uint32_t i) { return c == 5 ? 3.0 + i * 1e-3 : 0; }),
         10.0 / 4.0 / 32768, {{1, 100, 3.1, 0, 5}, {1, 999, 3.999, 0, 5}}},
        // Conditioner gain 2 and offset 1: 1.5 is stored as count 16384.
        {"signal conditioner gain and offset",
         W().Set<int16_t>(kConditionerInUse, 1).Set<float>(kConditionerGain, 2)
             .Set<float>(kConditionerOffset, 1).SetSignal([](uint32_t, int, uint32_t) { return 1.5; }),
         0, {{1, 0, 1.5}}},
        {"float samples unscaled",
         W().SetFloatSamples(true).SetChannels({0, 1}).SetChannelScaling(1, 1, 50, 7)
             .SetSignal(Tag),
         0, {{3, 111, 3014}, {3, 999, 3129, 0, 1}}},
        {"computed channel A / B; B = 0 gives 0",
         W().SetChannels({0, 1}).SetAdcRange(1000, 32768)
             .SetSignal([](uint32_t, int c, uint32_t i) { return c == 0 ? 12 : i < 2 ? 0 : 3.0; })
             .Set<int16_t>(kMathEnable, 1).Set<int16_t>(kMathChannelA, 0)
             .Set<int16_t>(kMathChannelB, 1).SetText(kMathOperator, "/", 1),
         0.05, {{1, 3, 4.0, 0, -1}, {1, 1, 0.0, 0, -1}}},
        {"gap-free skips its leading samples",
         W().SetGapFree(1000, 6).SetAdcRange(10000, 32768)
             .SetSignal([](uint32_t, int, uint32_t i) { return 1.0 + i; }),
         0.2, {{1, 0, 1.0}, {1, 999, 1000.0}}},
        {"synch array before the data, whose last sample ends the file",
         tagged(W().SetMode(4).SetSamplesPerChannel(500)
                    .SetSynchArray({{100, 500}, {5000, 500}}).PutSynchArrayBeforeData()),
         0.2, {{2, 499, Tag(2, 0, 499), 500}}},
        {"episodic synch array: lengths and offsets; the rest reads as zero counts",
         tagged(W().SetMode(4).SetSamplesPerChannel(500)
                    .SetSynchArray({{100, 500}, {5000, 300}, {9000, 500}})),
         0.2, {{2, 299, Tag(2, 0, 299), 300}, {2, 300, 0.0}, {3, 0, Tag(3, 0, 0), 500}}},
        // Two contiguous pieces (start 0 length 6000, start 6000 length 4000)
        // form one run of 10000, cut into 8192 and 1808; a third of exactly
        // 8192 starts later.
        {"gap-free synch array runs merged and cut",
         W().SetGapFree(0).SetSynchArray({{0, 6000}, {6000, 4000}, {50000, 8192}})
             .SetAdcRange(100000, 32768)
             .SetSignal([](uint32_t e, int, uint32_t i) { return e * 10000.0 + i * 8.0; }),
         4, {{1, 8191, 37528, 8192}, {2, 0, 37536, 1808}, {3, 8191, 95528, 8192}}, 0, 8192, 3},
        {"overlapping events shortened to the next start", overlapping,
         0.2, {{1, 59, Tag(1, 0, 59), 60}, {2, 0, Tag(2, 0, 0), 100}}},
        {"overlapping events kept whole", overlapping,
         0.2, {{1, 99, Tag(1, 0, 99), 100}}, ABF_OPEN_KEEP_OVERLAP},
        {"gap-free recording cut into chunks of 8192",
         W().SetGapFree(100000).SetAdcRange(100000, 32768)
             .SetSignal([](uint32_t, int, uint32_t i) { return double(i % 30000); }),
         2, {{13, 0, (12 * 8192) % 30000, 1696}, {13, 1695, 99999 % 30000},
             {5, 100, (4 * 8192 + 100) % 30000, 8192}}, 0, 8192, 13},
        // Old-format files: kind 2 of 2048 levels; kind 3 in Microsoft Binary
        // Format, whose synch entries (1, 20), (0, 60), (5, -1), (3, 0) of
        // 100-sample slots give a whole episode in slot 0, 30 samples at the
        // end of slot 1, a skipped entry and a whole episode in slot 2.
        {"old format kind 2",
         W().SetOldFormat(2, 5.2f).SetChannels({1, 0}).SetSamplesPerChannel(400).SetEpisodes(4)
             .SetChannelScaling(1, 1, 5, 0).SetAdcRange(10, 2048).SetSignal(Ramp),
         10.0 / 2048, {{4, 0, Ramp(4, 1, 0), 400, 1}, {4, 399, Ramp(4, 1, 399), 0, 1},
                       {2, 100, Ramp(2, 0, 100)}}, 0, 400, 4},
        {"old format kind 3",
         W().SetOldFormat(3, 5.3f, true).SetSamplesPerChannel(100).SetEpisodes(3)
             .SetAdcRange(10000, 32768).SetOldSynchArray({{1, 20}, {0, 60}, {5, -1}, {3, 0}})
             .SetSignal([](uint32_t e, int, uint32_t i) { return e * 100.0 + i; }),
         0.2, {{2, 0, 270, 30}, {3, 5, 305, 100}}, 0, 100, 3},
        // clang-format on
    };
    std::vector<float> read;
    for (const auto& c : cases) {
        ASSERT_EQ(Open(c.writer, c.flags), 0) << c.what;
        if (c.samples) {
            EXPECT_EQ(samples, c.samples) << c.what;
            EXPECT_EQ(episodes, c.episodes) << c.what;
            EXPECT_EQ(uint32_t(header.samplesPerEpisode), samples * uint32_t(header.channelCount));
        }
        for (const Value& v : c.values) {
            uint32_t count = 0;
            ASSERT_EQ(Read(v.channel, v.episode, &read, &count), 0) << c.what;
            EXPECT_NEAR(read[v.index], v.value, c.tolerance)
                << c.what << ": episode " << v.episode << " sample " << v.index;
            if (v.count) {
                EXPECT_EQ(count, v.count) << c.what << ": episode " << v.episode;
            }
        }
    }
}

TEST_F(ReaderTest, FailedReadsLeaveNoStaleEpisodeBehind) {
    ASSERT_EQ(Open(W().SetChannels({0, 1}).SetSignal(Tag).SetAdcRange(10000, 32768)), 0);
    std::vector<float> values;
    EXPECT_EQ(Read(2, 1, &values), ABF_EINVALIDCHANNEL);
    EXPECT_EQ(Read(0, 0, &values), ABF_EEPISODERANGE);
    EXPECT_EQ(Read(0, 4, &values), ABF_EEPISODERANGE);
    EXPECT_EQ(Read(-1, 1, &values), ABF_EINVALIDCHANNEL) << "no computed channel enabled";
    ASSERT_EQ(Read(0, 2, &values), 0);
    AbfFile* file = AbfGetOpenFile(handle, nullptr);
    int fd = file->fd;
    file->fd = -1; // every read that needs the file now fails
    EXPECT_EQ(Read(1, 2, &values), 0) << "the episode just read is kept";
    EXPECT_NEAR(values[10], Tag(2, 1, 10), 0.2);
    EXPECT_EQ(Read(1, 3, &values), ABF_EREADDATA);
    file->fd = fd;
    ASSERT_EQ(Read(1, 3, &values), 0);
    EXPECT_NEAR(values[10], Tag(3, 1, 10), 0.2);
}

TEST_F(ReaderTest, AnEpisodeLongerThanTheBufferIsNotRead) {
    // Set-up caps every entry; a shrunken buffer stands for one it missed.
    ASSERT_EQ(Open(W().SetMode(4).SetSamplesPerChannel(500).SetSynchArray({{0, 500}, {900, 500}})),
              0);
    AbfFile* file = AbfGetOpenFile(handle, nullptr);
    file->samplesPerEpisode = samples = 400;
    std::vector<float> values;
    EXPECT_EQ(Read(0, 1, &values), ABF_EREADDATA);
}

TEST_F(ReaderTest, PartialScanAtTheEndStaysOutOfTheBuffer) {
    // 2001 samples for two channels: 1000 whole scans and one odd sample.
    ASSERT_EQ(Open(W().SetChannels({0, 1})
                       .SetSignal(Tag)
                       .Set<int32_t>(kSamplesPerEpisode, 2001)
                       .Set<int32_t>(kEpisodeCount, 2)),
              0);
    EXPECT_EQ(samples, 1000u);
    std::vector<float> values(1001, 42.0f);
    ASSERT_TRUE(AbfReadEpisodeChannel(handle, &header, 0, 1, values.data(), nullptr, nullptr));
    EXPECT_EQ(values[1000], 42.0f);
}

TEST_F(ReaderTest, GapFreeChunkLengthFollowsTheRequestAndTheChannels) {
    const W threeChannels = W().SetChannels({0, 1, 2}).SetGapFree(10000);
    const uint32_t requested[] = {1000, 100000, 0}, length[] = {1000, 16384 / 3, 8192 / 3};
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(Open(threeChannels, 0, requested[i]), 0);
        EXPECT_EQ(samples, length[i]) << requested[i];
        EXPECT_EQ(episodes, (10000 + length[i] - 1) / length[i]) << requested[i];
    }
}

} // namespace
