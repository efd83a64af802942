#include "tests/abf/ReaderFixture.h"

namespace {

using namespace AbfOffset;

// One channel, 1000 samples: the first holding is 1000 / 64 = 15 samples.
constexpr uint32_t kHold = 15;

TEST_F(ReaderTest, RampFromHoldingClimbsInEqualSteps) {
    ASSERT_EQ(Open(AbfTestWriter().SetHolding(-80).SetEpoch(0, 2, 40, 0, 100, 0)), 0);
    std::vector<float> v;
    ASSERT_EQ(Command(0, 1, &v), 0);
    for (uint32_t i = 0; i < kHold; ++i)
        EXPECT_EQ(v[i], -80.0f);
    EXPECT_NEAR(v[kHold], -78.8, 1e-4);
    EXPECT_NEAR(v[kHold + 1], -77.6, 1e-4);
    EXPECT_NEAR(v[kHold + 50], -80 + 51 * 1.2, 1e-4);
    EXPECT_EQ(v[kHold + 99], 40.0f);
    EXPECT_EQ(v[kHold + 100], -80.0f) << "back to holding after the last epoch";
    EXPECT_EQ(v[999], -80.0f);
}

TEST_F(ReaderTest, StepLevelsAndDurationsGrowWithTheEpisode) {
    ASSERT_EQ(Open(AbfTestWriter()
                       .SetHolding(-70)
                       .SetEpoch(0, 1, -20, 10, 50, 10)
                       .SetEpoch(2, 1, 40, 0, 30, 0)),
              0);
    std::vector<float> v;
    ASSERT_EQ(Command(0, 3, &v), 0);
    EXPECT_EQ(v[kHold - 1], -70.0f);
    EXPECT_EQ(v[kHold], 0.0f);
    EXPECT_EQ(v[kHold + 69], 0.0f);
    EXPECT_EQ(v[kHold + 70], 40.0f);
    EXPECT_EQ(v[kHold + 99], 40.0f);
    EXPECT_EQ(v[kHold + 100], -70.0f);
    ASSERT_EQ(Command(0, 1, &v), 0);
    EXPECT_EQ(v[kHold + 49], -20.0f);
    EXPECT_EQ(v[kHold + 50], 40.0f);
}

TEST_F(ReaderTest, EveryChannelSeesItsOwnSamplesOfTheMultiplexedWaveform) {
    // Two channels, 2000 samples per episode: first holding 30 multiplexed
    // samples (15 per channel); the ramp runs over 200 multiplexed samples.
    ASSERT_EQ(
        Open(AbfTestWriter().SetChannels({0, 1}).SetHolding(-80).SetEpoch(0, 2, 40, 0, 100, 0)), 0);
    std::vector<float> first, second;
    ASSERT_EQ(Command(0, 1, &first), 0);
    ASSERT_EQ(Command(1, 1, &second), 0);
    EXPECT_EQ(first[14], -80.0f);
    EXPECT_NEAR(first[15], -80 + 0.6, 1e-4);
    EXPECT_NEAR(second[15], -80 + 1.2, 1e-4);
    EXPECT_NEAR(first[114], 40 - 0.6, 1e-4);
    EXPECT_EQ(second[114], 40.0f);
    EXPECT_EQ(first[115], -80.0f);
    std::vector<float> values;
    EXPECT_EQ(Command(2, 1, &values), ABF_EBADWAVEFORM) << "channel not sampled";
}

TEST_F(ReaderTest, LastEpochLevelCarriesOverBetweenEpisodes) {
    ASSERT_EQ(Open(AbfTestWriter()
                       .SetHolding(-80)
                       .SetEpoch(0, 1, -20, 0, 10, 0)
                       .SetEpoch(1, 2, 30, 5, 20, 0)
                       .Set<int16_t>(InterEpisodeLevel, 1)),
              0);
    std::vector<float> v;
    ASSERT_EQ(Command(0, 1, &v), 0);
    EXPECT_EQ(v[0], -80.0f) << "the first episode starts at holding";
    EXPECT_EQ(v[999], 30.0f) << "and ends at its last epoch's level";
    ASSERT_EQ(Command(0, 2, &v), 0);
    EXPECT_EQ(v[0], 30.0f);
    EXPECT_FLOAT_EQ(v[kHold + 10], -20 + 55 / 20.0f) << "the ramp starts from the previous epoch";
    EXPECT_EQ(v[999], 35.0f);
}

TEST_F(ReaderTest, UserListReplacesTheVariedParameter) {
    AbfTestWriter writer;
    writer.SetEpisodes(5)
        .SetHolding(-80)
        .SetEpoch(1, 1, 10, 0, 20, 0)
        .SetUserList(22, "-50, 25,,7");
    ASSERT_EQ(Open(writer), 0);
    std::vector<float> v;
    const float expected[] = {-50, 25, 0, 7, 7};
    for (uint32_t k = 1; k <= 5; ++k) {
        ASSERT_EQ(Command(0, k, &v), 0);
        EXPECT_EQ(v[kHold], expected[k - 1]) << k;
    }
    AbfCloseAllFiles();
    writer.SetUserList(32, "5,40");
    ASSERT_EQ(Open(writer), 0);
    ASSERT_EQ(Command(0, 3, &v), 0);
    EXPECT_EQ(v[kHold + 39], 10.0f);
    EXPECT_EQ(v[kHold + 40], -80.0f);
    ASSERT_EQ(Command(0, 1, &v), 0);
    EXPECT_EQ(v[kHold + 5], -80.0f);
}

TEST_F(ReaderTest, ConditioningTrainSetsTheStartingLevel) {
    AbfTestWriter writer;
    writer.SetHolding(-80)
        .SetEpoch(0, 2, 0, 0, 10, 0)
        .Set<int16_t>(ConditioningEnable, 1)
        .Set<float>(ConditioningPostDuration, 5)
        .Set<float>(ConditioningPostLevel, -40);
    ASSERT_EQ(Open(writer), 0);
    std::vector<float> v;
    ASSERT_EQ(Command(0, 1, &v), 0);
    EXPECT_EQ(v[0], -40.0f);
    EXPECT_EQ(v[kHold + 4], -40.0f + 5 * 4.0f);
    EXPECT_EQ(v[999], -80.0f);
    AbfCloseAllFiles();
    writer.SetUserList(6, "-60,-30");
    ASSERT_EQ(Open(writer), 0);
    ASSERT_EQ(Command(0, 2, &v), 0);
    EXPECT_EQ(v[0], -30.0f);
    AbfCloseAllFiles();
    writer.SetUserList(5, "0");
    ASSERT_EQ(Open(writer), 0);
    ASSERT_EQ(Command(0, 2, &v), 0);
    EXPECT_EQ(v[0], -80.0f) << "no post-train time: holding";
}

TEST_F(ReaderTest, WaveformFailures) {
    std::vector<float> v;
    ASSERT_EQ(Open(AbfTestWriter().Set<int16_t>(WaveformSource, 0)), 0);
    EXPECT_EQ(Command(0, 1, &v), ABF_ENOWAVEFORM);
    AbfCloseAllFiles();
    ASSERT_EQ(Open(AbfTestWriter().Set<int16_t>(WaveformSource, 3)), 0);
    EXPECT_EQ(Command(0, 1, &v), ABF_EBADWAVEFORM);
    AbfCloseAllFiles();
    ASSERT_EQ(Open(AbfTestWriter().SetEpoch(0, 1, 0, 0, 10, 0)), 0);
    EXPECT_EQ(Command(0, 4, &v), ABF_EBADWAVEFORM);
    EXPECT_EQ(Command(0, 0, &v), ABF_EBADWAVEFORM);
    EXPECT_EQ(Command(1, 1, &v), ABF_EBADWAVEFORM);
    EXPECT_EQ(Command(0, 3, &v), 0);
}

TEST_F(ReaderTest, EpochThatWouldShrinkBelowZeroIsABadWaveform) {
    ASSERT_EQ(Open(AbfTestWriter().SetEpoch(0, 1, 0, 0, 10, -6)), 0);
    std::vector<float> v;
    EXPECT_EQ(Command(0, 2, &v), 0) << "duration 4";
    EXPECT_EQ(Command(0, 3, &v), ABF_EBADWAVEFORM) << "duration -2";
}

TEST_F(ReaderTest, EpochsRunningPastTheEndAreCut) {
    ASSERT_EQ(Open(AbfTestWriter()
                       .SetEpoch(0, 1, 10, 0, 30000, 30000)
                       .SetEpoch(1, 2, 50, 0, 30000, 0)
                       .SetUserList(32, "9223372036854775807")),
              0);
    std::vector<float> v(samples + 8, 123.0f);
    int error = 0;
    ASSERT_TRUE(AbfGetCommandWaveform(handle, &header, 0, 3, v.data(), &error));
    EXPECT_EQ(v[999], 10.0f);
    EXPECT_EQ(v[1000], 123.0f) << "nothing written past the episode";
}

TEST_F(ReaderTest, EpochWaveformNeedsNoOpenFile) {
    ASSERT_EQ(Open(AbfTestWriter().SetHolding(-60).SetEpoch(0, 1, 20, 0, 10, 0)), 0);
    AbfCloseAllFiles();
    std::vector<float> v(samples);
    int error = 0;
    ASSERT_TRUE(AbfGetCommandWaveform(-1, &header, 0, 1, v.data(), &error));
    EXPECT_EQ(v[kHold], 20.0f);
}

TEST_F(ReaderTest, ActiveOutputChoosesTheHoldingLevel) {
    ASSERT_EQ(Open(AbfTestWriter().SetHolding(-45, 2).SetActiveDac(2)), 0);
    std::vector<float> v;
    ASSERT_EQ(Command(0, 1, &v), 0);
    EXPECT_EQ(v[500], -45.0f);
    AbfCloseAllFiles();
    ASSERT_EQ(Open(AbfTestWriter().SetActiveDac(4)), 0);
    EXPECT_EQ(Command(0, 1, &v), ABF_EBADWAVEFORM);
    AbfCloseAllFiles();
    ASSERT_EQ(Open(AbfTestWriter().SetActiveDac(-1)), 0);
    EXPECT_EQ(Command(0, 1, &v), ABF_EBADWAVEFORM);
}

TEST_F(ReaderTest, OldFormatKind3HasItsOwnFirstHolding) {
    ASSERT_EQ(Open(AbfTestWriter().SetSamplesPerChannel(2048).SetHolding(-80).SetEpoch(0, 1, 0, 0,
                                                                                       100, 0)),
              0);
    header.fileKind = 3;
    std::vector<float> v(samples);
    ASSERT_TRUE(AbfGetCommandWaveform(handle, &header, 0, 1, v.data(), nullptr));
    EXPECT_EQ(v[23], -80.0f);
    EXPECT_EQ(v[24], 0.0f) << "2048 / 512 * 6 samples of holding";
}

TEST_F(ReaderTest, StimulusSectionIsReadWithTheOutputScaling) {
    ASSERT_EQ(Open(AbfTestWriter()
                       .SetChannels({0, 1})
                       .Set<float>(DacScaleFactor, 20)
                       .SetStimulusSection([](uint32_t e, uint32_t i) {
                           return e * 10.0 + (i % 2 ? 1.0 : 0.0) + i / 200;
                       })),
              0);
    std::vector<float> v;
    const double lsb = 20 * 10.0 / 32768;
    ASSERT_EQ(Command(0, 2, &v), 0);
    EXPECT_NEAR(v[0], 20.0, lsb);
    EXPECT_NEAR(v[999], 20.0 + 1998 / 200, lsb);
    ASSERT_EQ(Command(1, 3, &v), 0);
    EXPECT_NEAR(v[0], 31.0, lsb);
    EXPECT_EQ(Command(3, 1, &v), ABF_EINVALIDCHANNEL);
    EXPECT_EQ(Command(0, 4, &v), ABF_EREADDACEPISODE);
}

TEST_F(ReaderTest, StimulusSectionBeyondTheFileFailsOnlyTheWaveform) {
    AbfTestWriter writer;
    writer.SetStimulusSection([](uint32_t, uint32_t) { return 1.0; })
        .Set<int32_t>(StimulusFirstBlock, 1000000)
        .SetSignal([](uint32_t, int, uint32_t) { return 2.0; });
    ASSERT_EQ(Open(writer), 0);
    std::vector<float> v;
    EXPECT_EQ(Command(0, 1, &v), ABF_EREADDACEPISODE);
    ASSERT_EQ(Read(0, 1, &v), 0);
    EXPECT_NEAR(v[0], 2.0, 1e-3);
}

} // namespace
