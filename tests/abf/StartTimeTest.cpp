#include "tests/abf/ReaderFixture.h"

namespace {

using namespace AbfOffset;
using W = AbfTestWriter;

TEST_F(ReaderTest, EpisodeStartTimes) {
    const W twoChannels = W().SetChannels({0, 1}).SetStartToStart(1);
    const W synchUnit = W().SetChannels({0, 1}).SetStartToStart(2.5f).EnableSynchArray(10);
    const W events =
        W().SetMode(2).SetSamplesPerChannel(10).SetSynchArray({{100, 10}, {0xFFFFFFFFu, 10}});
    // Slots of 100 samples of 100 us: entries (1, 20), (0, 60), (5, -1), (3, 0)
    // start at 10, 110 (30 samples at the end of slot 1) and 140 + 200.
    const W oldSynch = W().SetOldFormat(3, 5.3f, true)
                           .SetSamplesPerChannel(100)
                           .SetEpisodes(3)
                           .SetOldSynchArray({{1, 20}, {0, 60}, {5, -1}, {3, 0}});
    const struct {
        W writer;
        int channel;
        uint32_t episode;
        double ms;
        int error = 0;
    } cases[] = {
        // clang-format off
        {twoChannels, 1, 3, 2000.1}, // channel 1 is sampled 100 us later
        {W().SetStartToStart(1.00007f), 0, 2, 1000.1}, // rounded to the 100 us unit
        {twoChannels, 0, 4, 0, ABF_EEPISODERANGE},
        {twoChannels, 5, 2, 0, ABF_EINVALIDCHANNEL},
        {W().SetSamplesPerChannel(20000).SetStartToStart(1), 0, 2, 2000.0}, // longer than 1 s
        {W().SetSampleInterval(50, 100, 400).SetStartToStart(0), 0, 2, 400 * 0.05 + 600 * 0.1},
        {W().SetSampleInterval(50, 100, 0).SetStartToStart(0), 0, 2, 500 * 0.05 + 500 * 0.1},
        // Episode 100 ms; leak subtraction (3 * max(50, 100) + 2 * 10 + 100) ms.
        {W().SetStartToStart(0.1f).Set<int16_t>(kLeakEnable, 1).Set<int16_t>(kLeakSubSweeps, 4)
             .Set<float>(kLeakSettling, 10).Set<float>(kLeakMinInterval, 50), 0, 2, 100 + 420},
        {W().SetStartToStart(0.1f).Set<int16_t>(kConditioningEnable, 1)
             .Set<int32_t>(kConditioningPulses, 3).Set<float>(kConditioningStep, 10)
             .Set<float>(kConditioningBaseline, 20).Set<float>(kConditioningPostDuration, 50),
         0, 2, 100 + 3 * 30 + 50},
        {synchUnit, 0, 3, 5000.0},
        {events, 0, 1, 10.0},
        {events, 0, 2, 0.0}, // not recorded
        {W().SetGapFree(20000), 0, 2, 819.2},
        {W().SetSampleInterval(0), 0, 2, 0.0}, // no start rather than a fault
        {W().SetOldFormat(2, 5.2f).SetSampleInterval(200).SetStartToStart(2), 0, 3, 4000.0},
        {oldSynch, 0, 1, 1.0},
        {oldSynch, 0, 2, 11.0},
        {oldSynch, 0, 3, 34.0},
        // clang-format on
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        ASSERT_EQ(Open(c.writer), 0) << i;
        double ms = -1;
        int error = 0;
        EXPECT_EQ(AbfGetEpisodeStartTime(handle, &header, c.channel, c.episode, &ms, &error),
                  c.error == 0)
            << i;
        EXPECT_EQ(error, c.error) << i;
        if (c.error == 0) {
            EXPECT_NEAR(ms, c.ms, 1e-9) << i;
        }
    }
}

} // namespace
