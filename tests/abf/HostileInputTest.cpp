// Headers that lie: every count, offset and index is checked before use, and
// nothing is read or allocated beyond what the file holds.
#include "tests/abf/ReaderFixture.h"

namespace {

using namespace AbfOffset;

TEST_F(ReaderTest, ChannelLayoutOutOfRangeIsAnInvalidHeader) {
    EXPECT_EQ(Open(AbfTestWriter().Set<int16_t>(ChannelCount, 0)), ABF_EINVALIDFILE);
    EXPECT_EQ(Open(AbfTestWriter().Set<int16_t>(ChannelCount, 17)), ABF_EINVALIDFILE);
    EXPECT_EQ(Open(AbfTestWriter().Set<int16_t>(ChannelCount, -3)), ABF_EINVALIDFILE);
    EXPECT_EQ(Open(AbfTestWriter().SetChannels({0, 16})), ABF_EINVALIDFILE);
    EXPECT_EQ(Open(AbfTestWriter().SetChannels({-1, 1})), ABF_EINVALIDFILE);
    EXPECT_EQ(Open(AbfTestWriter().SetChannels({0, 1}).Set<int16_t>(SamplingSequence + 4, 99)), 0)
        << "positions past the channel count are not looked at";
}

TEST_F(ReaderTest, EpisodeShorterThanOneScanIsInvalid) {
    EXPECT_EQ(Open(AbfTestWriter().SetChannels({0, 1, 2}).Set<int32_t>(SamplesPerEpisode, 2)),
              ABF_EINVALIDFILE);
    EXPECT_EQ(Open(AbfTestWriter().Set<int32_t>(SamplesPerEpisode, -1000)), ABF_EINVALIDFILE);
}

TEST_F(ReaderTest, HugeClaimsInASmallFileFailWithoutAllocating) {
    std::vector<uint8_t> small = AbfTestWriter().SetSamplesPerChannel(100).Build();
    small.resize(10 * 1024, 0);
    auto patched = [&](size_t offset, int32_t value) {
        std::vector<uint8_t> bytes = small;
        std::memcpy(&bytes[offset], &value, 4);
        return WriteBytes(bytes);
    };
    EXPECT_EQ(Open(patched(SamplesPerEpisode, 0x7FFFFFFF)), ABF_EREADDATA);
    EXPECT_EQ(Open(patched(EpisodeCount, 0x7FFFFFFF)), ABF_EREADDATA);
    EXPECT_EQ(Open(patched(EpisodeCount, -2)), ABF_EINVALIDFILE);
    EXPECT_EQ(Open(patched(DataFirstBlock, 0x7FFFFFFF)), ABF_EREADDATA);
    EXPECT_EQ(Open(patched(DataFirstBlock, -4)), ABF_EINVALIDFILE);
}

TEST_F(ReaderTest, GapFreeClaimsAreCheckedToo) {
    EXPECT_EQ(Open(AbfTestWriter().SetGapFree(1000).Set<int32_t>(AcquiredSamples, 0x7FFFFFFF)),
              ABF_EREADDATA);
    EXPECT_EQ(Open(AbfTestWriter().SetGapFree(1000).Set<int16_t>(SamplesToSkip, -5)),
              ABF_EINVALIDFILE);
    EXPECT_EQ(Open(AbfTestWriter().SetGapFree(1000).Set<int16_t>(SamplesToSkip, 30000)),
              ABF_EREADDATA);
    // Fewer samples than channels: not even one chunk.
    EXPECT_EQ(Open(AbfTestWriter().SetChannels({0, 1, 2}).SetGapFree(10).Set<int32_t>(
                  AcquiredSamples, 2)),
              ABF_EINVALIDFILE);
}

TEST_F(ReaderTest, TruncatedRecordingFailsToOpen) {
    std::vector<uint8_t> bytes = AbfTestWriter().Build();
    bytes.resize(bytes.size() - 1);
    EXPECT_EQ(Open(WriteBytes(bytes)), ABF_EREADDATA);
}

TEST_F(ReaderTest, SynchArraysThatLie) {
    EXPECT_EQ(Open(AbfTestWriter().EnableSynchArray().Set<int32_t>(SynchEntries, 1000000)),
              ABF_EBADSYNCH)
        << "entries beyond the end of the file";
    EXPECT_EQ(Open(AbfTestWriter().EnableSynchArray().Set<int32_t>(SynchFirstBlock, 0x7FFFFFFF)),
              ABF_EBADSYNCH);
    EXPECT_EQ(Open(AbfTestWriter().SetMode(4).SetSynchArray({{0, 1000}, {2000, 5000}})),
              ABF_EBADSYNCH)
        << "an episode longer than the episode buffer";
    EXPECT_EQ(Open(AbfTestWriter()
                       .SetMode(4)
                       .SetSynchArray({{0, 1000}, {2000, 1000}})
                       .Set<int32_t>(AcquiredSamples, 1500)),
              ABF_EBADSYNCH)
        << "more samples than were acquired, also in the last entry";
    EXPECT_EQ(Open(AbfTestWriter().SetGapFree(0).SetSynchArray({{100, 10}, {50, 10}})),
              ABF_EBADSYNCH)
        << "continuous starts must not go back";
    EXPECT_EQ(Open(AbfTestWriter().SetMode(2).Set<int32_t>(SynchEntries, 0)), ABF_ENOSYNCHPRESENT);
}

TEST_F(ReaderTest, SynchEntryWhoseSamplesLieBeyondTheFile) {
    std::vector<uint8_t> bytes = AbfTestWriter()
                                     .SetMode(4)
                                     .SetSamplesPerChannel(100)
                                     .SetSynchArray({{0, 100}, {500, 100}})
                                     .Build();
    // Move the synch array to the data's place and drop the data behind it.
    int32_t synchBlock;
    std::memcpy(&synchBlock, &bytes[SynchFirstBlock], 4);
    std::memmove(&bytes[2048], &bytes[size_t(synchBlock) * 512], 16);
    bytes.resize(2048 + 16 + 250);
    int32_t four = 4;
    std::memcpy(&bytes[SynchFirstBlock], &four, 4);
    EXPECT_EQ(Open(WriteBytes(bytes)), ABF_EREADDATA);
}

TEST_F(ReaderTest, CallerHeaderThatLiesCannotMisleadTheWaveform) {
    ASSERT_EQ(Open(AbfTestWriter().SetEpoch(0, 1, 5, 0, 10, 0)), 0);
    std::vector<float> v(samples);
    AbfHeader bad = header;
    int error = 0;
    bad.channelCount = 0;
    EXPECT_FALSE(AbfGetCommandWaveform(handle, &bad, 0, 1, v.data(), &error));
    bad = header;
    bad.samplingSequence[0] = -5;
    EXPECT_FALSE(AbfGetCommandWaveform(handle, &bad, -5, 1, v.data(), &error));
    bad = header;
    bad.samplesPerEpisode = -1;
    EXPECT_FALSE(AbfGetCommandWaveform(handle, &bad, 0, 1, v.data(), &error));
    EXPECT_EQ(error, ABF_EBADWAVEFORM);
    bad = header;
    bad.waveformSource = 2;
    bad.stimulusFirstBlock = 1;
    bad.stimulusEpisodeCount = 1;
    bad.samplesPerEpisode = 0x7FFFFFFF;
    EXPECT_FALSE(AbfGetCommandWaveform(handle, &bad, 0, 1, v.data(), &error));
    EXPECT_EQ(error, ABF_EREADDACEPISODE);
}

TEST_F(ReaderTest, CallerHeaderCannotChangeTheReadLayout) {
    ASSERT_EQ(Open(AbfTestWriter().SetChannels({0, 1})), 0);
    std::vector<float> v(samples + 1, 7.0f);
    AbfHeader bad = header;
    bad.samplesPerEpisode = 0x7FFFFFFF;
    bad.channelCount = 1;
    int error = 0;
    ASSERT_TRUE(AbfReadEpisodeChannel(handle, &bad, 1, 1, v.data(), nullptr, &error));
    EXPECT_EQ(v[samples], 7.0f);
}

} // namespace
