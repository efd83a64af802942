#include "abf/AbfFile.h"
#include "tests/abf/ReaderFixture.h"

#include <cmath>

namespace {

using namespace AbfOffset;

// A signal whose value tells where it came from: episode, channel and sample.
double Tag(uint32_t episode, int channel, uint32_t sample) {
    return episode * 1000.0 + channel * 100.0 + (sample % 97);
}

TEST_F(ReaderTest, TwoChannelsAreDemultiplexed) {
    ASSERT_EQ(Open(AbfTestWriter().SetChannels({0, 1}).SetAdcRange(10000, 32768).SetSignal(Tag)),
              0);
    ASSERT_EQ(samples, 1000u);
    ASSERT_EQ(+header.samplesPerEpisode, 2000);
    std::vector<float> values;
    uint32_t count = 0;
    for (uint32_t episode = 1; episode <= 3; ++episode)
        for (int channel : {1, 0}) {
            ASSERT_EQ(Read(channel, episode, &values, &count), 0);
            EXPECT_EQ(count, 1000u);
            for (uint32_t i = 0; i < 1000; i += 37)
                EXPECT_NEAR(values[i], Tag(episode, channel, i), 0.2) << episode << " " << i;
        }
}

TEST_F(ReaderTest, ScanOrderFollowsTheSamplingSequence) {
    ASSERT_EQ(Open(AbfTestWriter().SetChannels({3, 0, 7}).SetAdcRange(10000, 32768).SetSignal(Tag)),
              0);
    std::vector<float> values;
    for (int channel : {0, 3, 7}) {
        ASSERT_EQ(Read(channel, 2, &values), 0);
        EXPECT_NEAR(values[5], Tag(2, channel, 5), 0.2);
        EXPECT_NEAR(values[999], Tag(2, channel, 999), 0.2);
    }
}

TEST_F(ReaderTest, EpisodeAndChannelOutOfRange) {
    ASSERT_EQ(Open(AbfTestWriter().SetChannels({0, 1})), 0);
    std::vector<float> values;
    EXPECT_EQ(Read(2, 1, &values), ABF_EINVALIDCHANNEL);
    EXPECT_EQ(Read(0, 0, &values), ABF_EEPISODERANGE);
    EXPECT_EQ(Read(0, 4, &values), ABF_EEPISODERANGE);
    EXPECT_EQ(Read(-1, 1, &values), ABF_EINVALIDCHANNEL) << "no computed channel enabled";
    EXPECT_EQ(Read(1, 3, &values), 0);
}

TEST_F(ReaderTest, CountsBecomePhysicalValues) {
    ASSERT_EQ(Open(AbfTestWriter().SetSignal([](uint32_t, int, uint32_t i) {
                  return i == 0 ? 5.0 : i == 1 ? -10.0 : 0.0;
              })),
              0);
    std::vector<float> values;
    ASSERT_EQ(Read(0, 1, &values), 0);
    EXPECT_FLOAT_EQ(values[0], 5.0f) << "count 16384 with range 10, resolution 32768";
    EXPECT_FLOAT_EQ(values[1], -10.0f);
}

TEST_F(ReaderTest, SignalConditionerGainAndOffsetApply) {
    // Count 16384 written directly (gains 1), read with conditioner gain 2 and
    // offset 1: 16384 * 10 / 2 / 32768 - 1 = 1.5.
    std::vector<uint8_t> bytes =
        AbfTestWriter().SetSignal([](uint32_t, int, uint32_t) { return 5.0; }).Build();
    int16_t one = 1;
    float two = 2, offset = 1;
    std::memcpy(&bytes[ConditionerInUse], &one, 2);
    std::memcpy(&bytes[ConditionerGain], &two, 4);
    std::memcpy(&bytes[ConditionerOffset], &offset, 4);
    ASSERT_EQ(Open(WriteBytes(bytes)), 0);
    std::vector<float> values;
    ASSERT_EQ(Read(0, 1, &values), 0);
    EXPECT_FLOAT_EQ(values[0], 1.5f);
}

TEST_F(ReaderTest, AllGainsCombine) {
    AbfTestWriter writer;
    writer.SetChannels({0, 5})
        .SetChannelScaling(5, 0.5f, 2.0f, 3.0f)
        .Set<int16_t>(AutosampleEnable, 1)
        .Set<int16_t>(AutosampleChannel, 5)
        .Set<float>(AutosampleGain, 4.0f)
        .SetSignal(
            [](uint32_t, int channel, uint32_t i) { return channel == 5 ? 3.0 + i * 1e-3 : 0; });
    ASSERT_EQ(Open(writer), 0);
    std::vector<float> values;
    ASSERT_EQ(Read(5, 1, &values), 0);
    const double lsb = 10.0 / 4.0 / 32768;
    EXPECT_NEAR(values[100], 3.1, lsb);
    EXPECT_NEAR(values[999], 3.999, lsb);
}

TEST_F(ReaderTest, FloatSamplesAreReturnedUnscaled) {
    ASSERT_EQ(Open(AbfTestWriter()
                       .SetFloatSamples(true)
                       .SetChannels({0, 1})
                       .SetChannelScaling(1, 1, 50, 7)
                       .SetSignal(Tag)),
              0);
    EXPECT_EQ(+header.sampleFormat, 1);
    std::vector<float> values;
    for (int channel : {0, 1}) {
        ASSERT_EQ(Read(channel, 3, &values), 0);
        for (uint32_t i = 0; i < 1000; i += 111)
            EXPECT_EQ(values[i], float(Tag(3, channel, i)));
    }
    AbfCloseAllFiles();
    ASSERT_EQ(Open(AbfTestWriter().SetFloatSamples(true).SetSignal(Tag)), 0);
    ASSERT_EQ(Read(0, 2, &values), 0);
    EXPECT_EQ(values[500], float(Tag(2, 0, 500)));
}

TEST_F(ReaderTest, ReadingEveryChannelOfAnEpisodeReadsTheFileOnce) {
    ASSERT_EQ(Open(AbfTestWriter().SetChannels({0, 1}).SetSignal(Tag).SetAdcRange(10000, 32768)),
              0);
    std::vector<float> values;
    ASSERT_EQ(Read(0, 2, &values), 0);
    AbfFile* file = AbfGetOpenFile(handle, nullptr);
    EXPECT_EQ(file->cachedEpisode, 2);
    // With the file descriptor gone, a read that needed the file would fail.
    int fd = file->fd;
    file->fd = -1;
    EXPECT_EQ(Read(1, 2, &values), 0);
    EXPECT_NEAR(values[10], Tag(2, 1, 10), 0.2);
    EXPECT_EQ(Read(1, 3, &values), ABF_EREADDATA);
    EXPECT_EQ(file->cachedEpisode, -1) << "a failed read leaves the cache empty";
    file->fd = fd;
    EXPECT_EQ(Read(1, 3, &values), 0);
}

TEST_F(ReaderTest, PartialScanAtTheEndStaysOutOfTheBuffer) {
    // 2001 samples for two channels: 1000 whole scans and one odd sample.
    ASSERT_EQ(Open(AbfTestWriter()
                       .SetChannels({0, 1})
                       .SetSignal(Tag)
                       .Set<int32_t>(SamplesPerEpisode, 2001)
                       .Set<int32_t>(EpisodeCount, 2)),
              0);
    EXPECT_EQ(samples, 1000u);
    std::vector<float> values(1001, 42.0f);
    int error = 0;
    ASSERT_TRUE(AbfReadEpisodeChannel(handle, &header, 0, 1, values.data(), nullptr, &error));
    EXPECT_EQ(values[1000], 42.0f);
}

TEST_F(ReaderTest, GapFreeRecordingIsCutIntoChunks) {
    ASSERT_EQ(Open(AbfTestWriter()
                       .SetGapFree(100000)
                       .SetAdcRange(100000, 32768)
                       .SetSignal([](uint32_t, int, uint32_t i) { return double(i % 30000); })),
              0);
    EXPECT_EQ(episodes, 13u);
    EXPECT_EQ(samples, 8192u);
    EXPECT_EQ(+header.samplesPerEpisode, 8192);
    std::vector<float> values;
    uint32_t count = 0;
    ASSERT_EQ(Read(0, 13, &values, &count), 0);
    EXPECT_EQ(count, 1696u);
    EXPECT_NEAR(values[0], (12 * 8192) % 30000, 2);
    EXPECT_NEAR(values[1695], 99999 % 30000, 2);
    ASSERT_EQ(Read(0, 5, &values, &count), 0);
    EXPECT_EQ(count, 8192u);
    EXPECT_NEAR(values[100], (4 * 8192 + 100) % 30000, 2);
}

TEST_F(ReaderTest, GapFreeChunkLengthFollowsTheRequestAndChannelCount) {
    AbfTestWriter writer;
    writer.SetChannels({0, 1, 2}).SetGapFree(10000);
    ASSERT_EQ(Open(writer, 0, 1000), 0);
    EXPECT_EQ(samples, 1000u);
    EXPECT_EQ(episodes, 10u);
    AbfCloseAllFiles();
    ASSERT_EQ(Open(writer, 0, 100000), 0);
    EXPECT_EQ(samples, 16384u / 3);
    AbfCloseAllFiles();
    ASSERT_EQ(Open(writer, 0, 0), 0);
    EXPECT_EQ(samples, 8192u / 3);
    EXPECT_EQ(episodes, 4u);
}

TEST_F(ReaderTest, GapFreeSkipsItsLeadingSamples) {
    ASSERT_EQ(Open(AbfTestWriter()
                       .SetGapFree(1000, 6)
                       .SetAdcRange(10000, 32768)
                       .SetSignal([](uint32_t, int, uint32_t i) { return 1.0 + i; })),
              0);
    std::vector<float> values;
    ASSERT_EQ(Read(0, 1, &values), 0);
    EXPECT_NEAR(values[0], 1.0, 0.2);
    EXPECT_NEAR(values[999], 1000.0, 0.2);
}

TEST_F(ReaderTest, GapFreeSynchArrayRunsAreMergedAndCut) {
    // Two contiguous pieces (start 0 length 6000, start 6000 length 4000) form
    // one run of 10000, cut into 8192 and 1808; a third piece starts later.
    ASSERT_EQ(
        Open(AbfTestWriter().SetGapFree(0).SetSynchArray({{0, 6000}, {6000, 4000}, {50000, 3000}})),
        0);
    EXPECT_EQ(episodes, 3u);
    AbfFile* file = AbfGetOpenFile(handle, nullptr);
    SynchEntry e;
    ASSERT_TRUE(file->synch->Get(0, &e));
    EXPECT_EQ(e.start, 0u);
    EXPECT_EQ(e.length, 8192u);
    ASSERT_TRUE(file->synch->Get(1, &e));
    EXPECT_EQ(e.start, 8192u);
    EXPECT_EQ(e.length, 1808u);
    EXPECT_EQ(e.offset, 8192u * 2);
    ASSERT_TRUE(file->synch->Get(2, &e));
    EXPECT_EQ(e.start, 50000u);
    EXPECT_EQ(e.length, 3000u);
    EXPECT_EQ(e.offset, 10000u * 2);
}

TEST_F(ReaderTest, EpisodicSynchArrayGivesEpisodeLengthsAndOffsets) {
    ASSERT_EQ(Open(AbfTestWriter()
                       .SetMode(4)
                       .SetSamplesPerChannel(500)
                       .SetSynchArray({{100, 500}, {5000, 300}, {9000, 500}})
                       .SetAdcRange(10000, 32768)
                       .SetSignal(Tag)),
              0);
    EXPECT_EQ(episodes, 3u);
    std::vector<float> values;
    uint32_t count = 0;
    ASSERT_EQ(Read(0, 2, &values, &count), 0);
    EXPECT_EQ(count, 300u);
    EXPECT_NEAR(values[299], Tag(2, 0, 299), 0.2);
    EXPECT_NEAR(values[300], 0.0, 1e-6) << "the rest of the episode reads as zero counts";
    ASSERT_EQ(Read(0, 3, &values, &count), 0);
    EXPECT_NEAR(values[0], Tag(3, 0, 0), 0.2);
}

TEST_F(ReaderTest, EventDrivenSynchArrayMustRise) {
    EXPECT_EQ(Open(AbfTestWriter().SetMode(2).SetSamplesPerChannel(100).SetSynchArray(
                  {{500, 100}, {400, 100}})),
              ABF_EBADSYNCH);
    EXPECT_EQ(Open(AbfTestWriter().SetMode(2).SetSamplesPerChannel(100).SetSynchArray(
                  {{0x80000000u, 100}, {0x80000100u, 100}})),
              ABF_EBADSYNCH);
    // Episodic mode does not ask for rising starts.
    EXPECT_EQ(Open(AbfTestWriter().SetMode(5).SetSamplesPerChannel(100).SetSynchArray(
                  {{500, 100}, {400, 100}})),
              0);
}

TEST_F(ReaderTest, OverlappingEventsAreShortenedToTheNextStart) {
    AbfTestWriter writer;
    writer.SetMode(2).SetSamplesPerChannel(100).SetSynchArray({{0, 100}, {60, 100}, {500, 100}});
    ASSERT_EQ(Open(writer), 0);
    AbfFile* file = AbfGetOpenFile(handle, nullptr);
    EXPECT_TRUE(file->overlapped);
    SynchEntry e;
    ASSERT_TRUE(file->synch->Get(0, &e));
    EXPECT_EQ(e.length, 60u);
    ASSERT_TRUE(file->synch->Get(1, &e));
    EXPECT_EQ(e.length, 100u);
    EXPECT_EQ(e.offset, 200u);
    AbfCloseAllFiles();

    ASSERT_EQ(Open(writer, ABF_OPEN_KEEP_OVERLAP), 0);
    file = AbfGetOpenFile(handle, nullptr);
    ASSERT_TRUE(file->synch->Get(0, &e));
    EXPECT_EQ(e.length, 100u);
}

TEST_F(ReaderTest, ManyEpisodesSpillTheSynchArrayAndReadBack) {
    const uint32_t n = 345;
    ASSERT_EQ(Open(AbfTestWriter()
                       .SetSamplesPerChannel(20)
                       .SetEpisodes(n)
                       .EnableSynchArray()
                       .SetAdcRange(10000, 32768)
                       .SetSignal([](uint32_t e, int, uint32_t) { return double(e); })),
              0);
    ASSERT_EQ(episodes, n);
    std::vector<float> values;
    for (uint32_t e : {1u, 345u, 100u, 101u, 200u, 2u, 299u, 300u, 301u, 1u}) {
        ASSERT_EQ(Read(0, e, &values), 0) << e;
        EXPECT_NEAR(values[7], e, 0.2) << e;
    }
    double start = 0;
    ASSERT_TRUE(AbfGetEpisodeStartTime(handle, &header, 0, 250, &start, nullptr));
    EXPECT_NEAR(start, 249 * 1000.0, 1e-6);
}

TEST_F(ReaderTest, ComputedChannelCombinesItsSources) {
    ASSERT_EQ(Open(AbfTestWriter()
                       .SetChannels({0, 1})
                       .SetAdcRange(1000, 32768)
                       .SetSignal([](uint32_t, int c, uint32_t) { return c == 0 ? 12.0 : 3.0; })
                       .Set<int16_t>(MathEnable, 1)
                       .Set<int16_t>(MathChannelA, 0)
                       .Set<int16_t>(MathChannelB, 1)
                       .SetText(MathOperator, "/", 1)),
              0);
    std::vector<float> values;
    ASSERT_EQ(Read(-1, 1, &values), 0);
    EXPECT_NEAR(values[3], 4.0, 0.05);
}

} // namespace
