#include "tests/abf/ReaderFixture.h"

namespace {

using namespace AbfOffset;

double Start(int handle, const AbfHeader& header, int channel, uint32_t episode,
             int* error = nullptr) {
    double ms = -1;
    int e = 0;
    if (!AbfGetEpisodeStartTime(handle, &header, channel, episode, &ms, &e) && error)
        *error = e;
    return ms;
}

TEST_F(ReaderTest, EpisodicStartsFollowTheStartToStartTime) {
    ASSERT_EQ(Open(AbfTestWriter().SetChannels({0, 1}).SetStartToStart(1)), 0);
    EXPECT_DOUBLE_EQ(Start(handle, header, 0, 1), 0.0);
    EXPECT_NEAR(Start(handle, header, 0, 3), 2000.0, 1e-9);
    EXPECT_NEAR(Start(handle, header, 1, 3), 2000.1, 1e-9) << "channel 1 is sampled 100 us later";
    int error = 0;
    Start(handle, header, 0, 4, &error);
    EXPECT_EQ(error, ABF_EEPISODERANGE);
    Start(handle, header, 5, 2, &error);
    EXPECT_EQ(error, ABF_EINVALIDCHANNEL);
}

TEST_F(ReaderTest, EpisodeLongerThanTheStartToStartTimeSetsTheInterval) {
    ASSERT_EQ(Open(AbfTestWriter().SetSamplesPerChannel(20000).SetStartToStart(1)), 0);
    EXPECT_NEAR(Start(handle, header, 0, 2), 2000.0, 1e-9);
}

TEST_F(ReaderTest, SplitClockEpisodeDuration) {
    ASSERT_EQ(Open(AbfTestWriter().SetSampleInterval(50, 100, 400).SetStartToStart(0)), 0);
    EXPECT_NEAR(Start(handle, header, 0, 2), 400 * 0.05 + 600 * 0.1, 1e-9);
    AbfCloseAllFiles();
    // Clock change 0: half the episode.
    ASSERT_EQ(Open(AbfTestWriter().SetSampleInterval(50, 100, 0).SetStartToStart(0)), 0);
    EXPECT_NEAR(Start(handle, header, 0, 2), 500 * 0.05 + 500 * 0.1, 1e-9);
}

TEST_F(ReaderTest, LeakSubtractionAndConditioningLengthenTheInterval) {
    ASSERT_EQ(Open(AbfTestWriter()
                       .SetStartToStart(0.1f)
                       .Set<int16_t>(LeakEnable, 1)
                       .Set<int16_t>(LeakSubSweeps, 4)
                       .Set<float>(LeakSettling, 10)
                       .Set<float>(LeakMinInterval, 50)),
              0);
    // Episode 100 ms; leak (3 * max(50, 100) + 2 * 10 + 100) ms.
    EXPECT_NEAR(Start(handle, header, 0, 2), 100 + 420, 1e-6);
    AbfCloseAllFiles();
    ASSERT_EQ(Open(AbfTestWriter()
                       .SetStartToStart(0.1f)
                       .Set<int16_t>(ConditioningEnable, 1)
                       .Set<int32_t>(ConditioningPulses, 3)
                       .Set<float>(ConditioningStep, 10)
                       .Set<float>(ConditioningBaseline, 20)
                       .Set<float>(ConditioningPostDuration, 50)),
              0);
    EXPECT_NEAR(Start(handle, header, 0, 2), 100 + 3 * 30 + 50, 1e-6);
}

TEST_F(ReaderTest, SynchArrayStartsUseTheSynchUnit) {
    ASSERT_EQ(Open(AbfTestWriter().SetChannels({0, 1}).SetStartToStart(2.5f).EnableSynchArray(10)),
              0);
    EXPECT_NEAR(Start(handle, header, 0, 3), 5000.0, 1e-9);
    EXPECT_NEAR(Start(handle, header, 1, 3), 5000.1, 1e-9);
}

TEST_F(ReaderTest, UnrecordedStartReadsAsZero) {
    ASSERT_EQ(Open(AbfTestWriter().SetMode(2).SetSamplesPerChannel(10).SetSynchArray(
                  {{100, 10}, {0xFFFFFFFFu, 10}})),
              0);
    EXPECT_NEAR(Start(handle, header, 0, 1), 10.0, 1e-9);
    EXPECT_EQ(Start(handle, header, 0, 2), 0.0);
}

TEST_F(ReaderTest, GapFreeChunksStartWhereTheyLie) {
    ASSERT_EQ(Open(AbfTestWriter().SetGapFree(20000)), 0);
    EXPECT_NEAR(Start(handle, header, 0, 2), 819.2, 1e-9);
}

TEST_F(ReaderTest, ZeroIntervalsGiveNoStartRatherThanAFault) {
    ASSERT_EQ(Open(AbfTestWriter().SetSampleInterval(0)), 0);
    EXPECT_EQ(Start(handle, header, 0, 2), 0.0);
}

} // namespace
