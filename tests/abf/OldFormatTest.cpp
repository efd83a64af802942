#include "abf/AbfInternal.h"
#include "tests/abf/ReaderFixture.h"

namespace {

using W = AbfTestWriter;

double Ramp(uint32_t episode, int channel, uint32_t sample) {
    return episode + channel * 0.5 + sample * 0.001;
}

TEST(MsBinaryFormat, ConvertsKnownEncodings) {
    const std::pair<uint32_t, float> known[] = {
        {0x81000000u, 1.0f}, {0x84200000u, 10.0f}, {0x81800000u, -1.0f},
        {0x80000000u, 0.5f}, {0x00123456u, 0.0f}, // exponent 0 is zero
    };
    for (auto [bits, value] : known)
        EXPECT_EQ(AbfMsBinaryToIeee(bits), value) << std::hex << bits;
}

TEST_F(ReaderTest, OldFormatKind2OpensLikeAnEpisodicRecording) {
    ASSERT_EQ(Open(W().SetOldFormat(2, 5.2f)
                       .SetChannels({1, 0})
                       .SetSamplesPerChannel(400)
                       .SetEpisodes(4)
                       .SetSampleInterval(200)
                       .SetStartToStart(2)
                       .SetChannelScaling(1, 1, 5, 0)
                       .SetAdcRange(10, 2048)
                       .SetSignal(Ramp)),
              0);
    EXPECT_EQ(+header.fileKind, 2);
    EXPECT_EQ(+header.msBinaryFormat, 0);
    EXPECT_EQ(+header.operationMode, 5);
    EXPECT_EQ(+header.channelCount, 2);
    EXPECT_EQ(+header.samplingSequence[0], 1);
    EXPECT_EQ(samples, 400u);
    EXPECT_EQ(episodes, 4u);
    EXPECT_FLOAT_EQ(+header.firstSampleInterval, 200.0f);
    EXPECT_EQ(+header.upgradeFive238, 5) << "imported headers are upgraded";
    std::vector<float> v;
    ASSERT_EQ(Read(1, 4, &v), 0);
    const double lsb1 = 10.0 / 5 / 2048, lsb0 = 10.0 / 2048;
    EXPECT_NEAR(v[0], Ramp(4, 1, 0), lsb1);
    EXPECT_NEAR(v[399], Ramp(4, 1, 399), lsb1);
    ASSERT_EQ(Read(0, 2, &v), 0);
    EXPECT_NEAR(v[100], Ramp(2, 0, 100), lsb0);
    double start = 0;
    ASSERT_TRUE(AbfGetEpisodeStartTime(handle, &header, 1, 3, &start, nullptr));
    EXPECT_NEAR(start, 4000.0, 1e-6);
    EXPECT_EQ(Command(0, 1, &v), ABF_ENOWAVEFORM);
}

TEST_F(ReaderTest, OldFormatKind3InMicrosoftBinaryFormatWithASynchArray) {
    // P = 100. Entry (1, 20): start 10, full episode in slot 0. (0, 60): a
    // 30-sample episode at the end of slot 1. (5, -1) is skipped. (3, 0):
    // start 200, full episode in slot 2.
    ASSERT_EQ(Open(W().SetOldFormat(3, 5.3f, true)
                       .SetSamplesPerChannel(100)
                       .SetEpisodes(3)
                       .SetAdcRange(10000, 32768)
                       .SetSignal([](uint32_t e, int, uint32_t i) { return e * 100.0 + i; })
                       .SetOldSynchArray({{1, 20}, {0, 60}, {5, -1}, {3, 0}})),
              0);
    EXPECT_EQ(+header.fileKind, 3);
    EXPECT_EQ(+header.msBinaryFormat, 1);
    ASSERT_EQ(samples, 100u);
    ASSERT_EQ(episodes, 3u);
    std::vector<float> v;
    uint32_t count = 0;
    ASSERT_EQ(Read(0, 2, &v, &count), 0);
    EXPECT_EQ(count, 30u);
    EXPECT_NEAR(v[0], 200 + 70, 0.2);
    ASSERT_EQ(Read(0, 3, &v, &count), 0);
    EXPECT_EQ(count, 100u);
    EXPECT_NEAR(v[5], 305, 0.2);
    const double starts[] = {10 * 0.1, 110 * 0.1, (140 + 200) * 0.1};
    for (uint32_t k = 1; k <= 3; ++k) {
        double start = 0;
        ASSERT_TRUE(AbfGetEpisodeStartTime(handle, &header, 0, k, &start, nullptr));
        EXPECT_NEAR(start, starts[k - 1], 1e-9) << k;
    }
}

TEST_F(ReaderTest, OldFormatSamplesAvailable) {
    ASSERT_EQ(Open(W().SetOldFormat(3, 4.5f)
                       .SetEpisodes(2)
                       .Set<float>(12 * 4, 0.0f)
                       .Set<float>(7 * 4, 0.0f)),
              0);
    EXPECT_EQ(episodes, 2u) << "no acquired count before 5.0";
    EXPECT_EQ(+header.adcResolution, 2048);

    std::vector<uint8_t> bytes =
        W().SetOldFormat(2, 5.2f).SetSamplesPerChannel(256).SetEpisodes(4).Build();
    bytes.resize(512 + 256 * 2 * 2 + 300); // two and a bit episodes
    ASSERT_EQ(Open(WriteBytes(bytes)), 0);
    EXPECT_EQ(episodes, 2u) << "a file cut short keeps its whole episodes";
    EXPECT_EQ(+header.acquiredSampleCount, 512);
}

} // namespace
