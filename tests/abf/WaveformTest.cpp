#include "tests/abf/ReaderFixture.h"

#include <cmath>
#include <tuple>

namespace {

using namespace AbfOffset;
using W = AbfTestWriter;

struct Point {
    uint32_t episode;
    uint32_t index; // per channel
    double mV;
    int channel = 0;
};

// One channel of 1000 samples: the first holding is 1000 / 64 = 15 samples.
// Two channels: 30 multiplexed samples, 15 per channel, and each channel sees
// every other sample of the epochs.
TEST_F(ReaderTest, EpochWaveforms) {
    const W conditioning = W().SetHolding(-80)
                               .SetEpoch(0, 2, 0, 0, 10, 0)
                               .Set<int16_t>(kConditioningEnable, 1)
                               .Set<float>(kConditioningPostDuration, 5)
                               .Set<float>(kConditioningPostLevel, -40);
    const W userList = W().SetEpisodes(5).SetHolding(-80).SetEpoch(1, 1, 10, 0, 20, 0);
    const struct {
        const char* what;
        W writer;
        std::vector<Point> points;
    } cases[] = {
        // clang-format off
        {"ramp from holding in equal steps", W().SetHolding(-80).SetEpoch(0, 2, 40, 0, 100, 0),
         {{1, 0, -80}, {1, 14, -80}, {1, 15, -78.8}, {1, 16, -77.6}, {1, 65, -80 + 51 * 1.2},
          {1, 114, 40}, {1, 115, -80}, {1, 999, -80}}},
        {"levels and durations grow with the episode",
         W().SetHolding(-70).SetEpoch(0, 1, -20, 10, 50, 10).SetEpoch(2, 1, 40, 0, 30, 0),
         {{3, 14, -70}, {3, 15, 0}, {3, 84, 0}, {3, 85, 40}, {3, 114, 40}, {3, 115, -70},
          {1, 64, -20}, {1, 65, 40}}},
        {"multiplexed ramp", W().SetChannels({0, 1}).SetHolding(-80).SetEpoch(0, 2, 40, 0, 100, 0),
         {{1, 14, -80}, {1, 15, -79.4}, {1, 15, -78.8, 1}, {1, 114, 39.4}, {1, 114, 40, 1},
          {1, 115, -80}}},
        {"last level carries over to the next episode",
         W().SetHolding(-80).SetEpoch(0, 1, -20, 0, 10, 0).SetEpoch(1, 2, 30, 5, 20, 0)
             .Set<int16_t>(kInterEpisodeLevel, 1),
         {{1, 0, -80}, {1, 999, 30}, {2, 0, 30}, {2, 25, -20 + 55 / 20.0}, {2, 999, 35}}},
        {"user list of levels", W(userList).SetUserList(22, "-50, 25,,7"),
         {{1, 15, -50}, {2, 15, 25}, {3, 15, 0}, {4, 15, 7}, {5, 15, 7}}},
        {"user list of durations", W(userList).SetUserList(32, "5,40"),
         {{3, 54, 10}, {3, 55, -80}, {1, 20, -80}}},
        {"conditioning train", conditioning, {{1, 0, -40}, {1, 19, -20}, {1, 999, -80}}},
        {"post-train level from the user list", W(conditioning).SetUserList(6, "-60,-30"),
         {{2, 0, -30}}},
        {"no post-train time", W(conditioning).SetUserList(5, "0"), {{2, 0, -80}}},
        {"holding of the active output", W().SetHolding(-45, 2).SetActiveDac(2), {{1, 500, -45}}},
        // 4 * 16 / 32768 mV per count: whole millivolts are exact.
        {"stimulus section with the output scaling",
         W().SetChannels({0, 1}).Set<float>(kDacScaleFactor, 4).Set<float>(kDacRange, 16)
             .SetStimulusSection([](uint32_t e, uint32_t i) {
                 return e * 10.0 + (i % 2 ? 1.0 : 0.0) + std::floor(i / 200.0); }),
         {{2, 0, 20}, {2, 999, 20 + std::floor(1998 / 200.0)}, {3, 0, 31, 1}}},
        // clang-format on
    };
    std::vector<float> v;
    for (const auto& c : cases) {
        ASSERT_EQ(Open(c.writer), 0) << c.what;
        for (const Point& p : c.points) {
            ASSERT_EQ(Command(p.channel, p.episode, &v), 0) << c.what;
            EXPECT_NEAR(v[p.index], p.mV, 1e-4)
                << c.what << ": episode " << p.episode << " sample " << p.index;
        }
    }
}

// Each epoch's place in one channel's samples, checked against the generated
// waveform: a step holds its level throughout, a ramp ends on its level.
TEST_F(ReaderTest, EpochSpansFollowTheWaveform) {
    struct Span {
        int epoch, type;
        uint32_t first, count;
    };
    const struct {
        const char* what;
        W writer;
        int channel;
        uint32_t episode;
        std::vector<Span> spans;
    } cases[] = {
        // clang-format off
        {"ramp after the first holding", W().SetEpoch(0, 2, 40, 0, 100, 0), 0, 1, {{0, 2, 15, 100}}},
        {"durations grow with the episode",
         W().SetEpoch(0, 1, -20, 10, 50, 10).SetEpoch(2, 2, 40, 0, 30, 0), 0, 3,
         {{0, 1, 15, 70}, {2, 2, 85, 30}}},
        {"each channel of a multiplexed ramp",
         W().SetChannels({0, 1}).SetEpoch(0, 2, 40, 0, 100, 0), 1, 1, {{0, 2, 15, 100}}},
        {"cut at the end of the episode",
         W().SetEpoch(0, 1, 0, 0, 900, 0).SetEpoch(1, 2, 10, 0, 300, 0).SetEpoch(2, 2, 0, 0, 5, 0),
         0, 1, {{0, 1, 15, 900}, {1, 2, 915, 85}, {2, 2, 1000, 0}}},
        {"stimulus section: no epochs",
         W().SetStimulusSection([](uint32_t, uint32_t) { return 1.0; }), 0, 1, {}},
        // clang-format on
    };
    std::vector<float> v;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(Open(c.writer), 0);
        AbfEpochSpan spans[ABF_MAXEPOCHSPANS];
        int count = -1;
        ASSERT_TRUE(AbfGetEpochSpans(&header, c.channel, c.episode, spans, &count, nullptr));
        ASSERT_EQ(count, int(c.spans.size()));
        ASSERT_EQ(Command(c.channel, c.episode, &v), 0);
        for (int i = 0; i < count; ++i) {
            const AbfEpochSpan& got = spans[i];
            const Span& want = c.spans[i];
            EXPECT_EQ(std::tie(got.epoch, got.type, got.first, got.count),
                      std::tie(want.epoch, want.type, want.first, want.count));
            if (got.count == 0 || got.first + got.count > samples)
                continue;
            if (got.type == 1) {
                EXPECT_EQ(v[got.first], float(got.level));
            } else if (got.first + got.count < samples || c.spans.size() == 1) {
                EXPECT_NEAR(v[got.first + got.count - 1], got.level, 1e-4)
                    << "a ramp runs to its end";
            }
            EXPECT_NE(v[got.first - 1], v[got.first]) << "the epoch starts where the level moves";
        }
    }
}

// The epoch spans fail alike, except for a stimulus section, which has none.
TEST_F(ReaderTest, WaveformsThatCannotBeMade) {
    auto stimulus = [] {
        return W().SetChannels({0, 1}).SetStimulusSection([](uint32_t, uint32_t) { return 1.0; });
    };
    const W epoch = W().SetEpoch(0, 1, 0, 0, 10, 0);
    const W shrinking = W().SetEpoch(0, 1, 0, 0, 10, -6);
    const struct {
        W writer;
        int channel;
        uint32_t episode;
        int error;
    } cases[] = {
        {W().Set<int16_t>(kWaveformSource, 0), 0, 1, ABF_ENOWAVEFORM},
        {W().Set<int16_t>(kWaveformSource, 3), 0, 1, ABF_EBADWAVEFORM},
        {epoch, 0, 4, ABF_EBADWAVEFORM},
        {epoch, 0, 0, ABF_EBADWAVEFORM},
        {epoch, 1, 1, ABF_EBADWAVEFORM}, // channel not sampled
        {shrinking, 0, 3, ABF_EBADWAVEFORM},
        {W().SetActiveDac(4), 0, 1, ABF_EBADWAVEFORM},
        {W().SetActiveDac(-1), 0, 1, ABF_EBADWAVEFORM},
        {stimulus(), 3, 1, ABF_EINVALIDCHANNEL},
        {stimulus(), 0, 4, ABF_EREADDACEPISODE},
        {stimulus().Set<int32_t>(kStimulusFirstBlock, 1000000), 0, 1, ABF_EREADDACEPISODE},
        {W().SetOldFormat(2, 5.2f), 0, 1, ABF_ENOWAVEFORM},
    };
    std::vector<float> v;
    AbfEpochSpan spans[ABF_MAXEPOCHSPANS];
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        ASSERT_EQ(Open(c.writer), 0) << i;
        EXPECT_EQ(Command(c.channel, c.episode, &v), c.error) << i;
        const bool stimulus = header.waveformSource == 2;
        int count = -1, error = 0;
        EXPECT_EQ(AbfGetEpochSpans(&header, c.channel, c.episode, spans, &count, &error), stimulus)
            << i;
        EXPECT_EQ(error, stimulus ? 0 : c.error) << i;
        EXPECT_EQ(count, 0) << i;
    }
}

TEST_F(ReaderTest, EpochWaveformsFromTheHeaderAlone) {
    // Epochs running past the end are cut: nothing is written beyond the episode.
    ASSERT_EQ(Open(W().SetEpoch(0, 1, 10, 0, 30000, 30000)
                       .SetEpoch(1, 2, 50, 0, 30000, 0)
                       .SetUserList(32, "9223372036854775807")),
              0);
    std::vector<float> v(samples + 8, 123.0f);
    ASSERT_TRUE(AbfGetCommandWaveform(handle, &header, 0, 3, v.data(), nullptr));
    EXPECT_EQ(v[999], 10.0f);
    EXPECT_EQ(v[1000], 123.0f);

    // No open file is needed, but old kind-3 files have their own first holding.
    ASSERT_EQ(Open(W().SetSamplesPerChannel(2048).SetHolding(-80).SetEpoch(0, 1, 0, 0, 100, 0)), 0);
    AbfCloseAllFiles();
    v.assign(samples, 0.0f);
    ASSERT_TRUE(AbfGetCommandWaveform(-1, &header, 0, 1, v.data(), nullptr));
    EXPECT_EQ(v[31], -80.0f);
    EXPECT_EQ(v[32], 0.0f) << "2048 / 64 samples of holding";
    header.fileKind = 3;
    ASSERT_TRUE(AbfGetCommandWaveform(-1, &header, 0, 1, v.data(), nullptr));
    EXPECT_EQ(v[23], -80.0f);
    EXPECT_EQ(v[24], 0.0f) << "2048 / 512 * 6 samples of holding";
}

} // namespace
