#include "abf/AbfInternal.h"
#include "tests/abf/ReaderFixture.h"

#include <sys/stat.h>

namespace {

using namespace AbfOffset;
using W = AbfTestWriter;

TEST_F(ReaderTest, OldAxengnHeaderHasItsTextsConvertedToAnsi) {
    // Code page 437 in, Windows-1252 out: é in the comment, µ in an analog-input
    // name and unit, an analog-output name and unit and the computed channel's unit.
    W axengn = W().SetVersion(1.3f).SetText(kCreatorName, "AXENGN 2.0", 16);
    axengn.SetText(kFileComment, "\202t\202", 3);
    const std::pair<size_t, size_t> fields[] = {
        {442 + 10 * 3, 10}, {kAdcUnits + 8 * 15, 8}, {1306 + 10, 10}, {1346 + 8 * 3, 8}, {1912, 8}};
    for (const auto& [offset, width] : fields)
        axengn.SetText(offset, "\346", width);
    ASSERT_EQ(Open(axengn), 0);
    EXPECT_EQ(std::string(header.fileComment, 3), "\351t\351");
    for (const char* field : {header.adcChannelName[3], header.adcUnits[15],
                              header.dacChannelName[1], header.dacUnits[3], header.mathUnits})
        EXPECT_EQ(field[0], '\265');

    // Other creators, and version 1.4 even from that creator, keep their texts.
    for (W other :
         {W().SetVersion(1.3f), W().SetVersion(1.4f).SetText(kCreatorName, "AXENGN", 16)}) {
        ASSERT_EQ(Open(other.SetText(kAdcUnits, "\346A", 8)), 0);
        EXPECT_EQ(+header.adcUnits[0][0], '\346');
    }
}

TEST_F(ReaderTest, OldVersionsAreUpgraded) {
    // Channel 2's settings at 1178 (not 100000) and 1242 (not 0) are set; 3 keeps the defaults.
    auto v13 = [] {
        return W()
            .SetVersion(1.3f)
            .Set<float>(kChannelSetting1178 + 4 * 2, 5.0f)
            .Set<float>(1242 + 4 * 2, 1.0f);
    };
    const struct {
        const char* what;
        W writer;
        float seconds234;
        int five238, value168, minus2028;
    } cases[] = {
        // clang-format off
        {"1.4 sets only the flags", W().SetVersion(1.45f).Set<int32_t>(kLegacySamples214, 1000)
             .Set<int32_t>(kUpgradeFive238, 9).Set<int16_t>(kUpgradeTwo2032, 0), 0, 9, 0, -1},
        {"1.3: 20000 samples of 50 us; selector 2 maps -1 to -3",
         v13().SetSampleInterval(50).Set<int32_t>(kLegacySamples214, 20000)
             .Set<int16_t>(kUpgrade170, 2).Set<int16_t>(kUpgrade168, -1), 1, 5, 0, -3},
        {"selector 2 maps -2 to -2",
         v13().Set<int16_t>(kUpgrade170, 2).Set<int16_t>(kUpgrade168, -2), 0, 5, 0, -2},
        {"other selectors leave the value alone",
         v13().Set<int16_t>(kUpgrade170, 1).Set<int16_t>(kUpgrade168, -2), 0, 5, -2, -1},
        {"gap-free clears a positive value", v13().SetGapFree(5000).Set<int16_t>(kUpgrade168, 4),
         0, 5, 0, -1},
        // clang-format on
    };
    for (const auto& c : cases) {
        ASSERT_EQ(Open(c.writer), 0) << c.what;
        EXPECT_FLOAT_EQ(+header.upgradeSeconds234, c.seconds234) << c.what;
        EXPECT_EQ(+header.upgradeFive238, c.five238) << c.what;
        EXPECT_EQ(+header.upgradeValue168, c.value168) << c.what;
        EXPECT_EQ(+header.oneOfMinus2028, c.minus2028) << c.what;
        EXPECT_EQ(+header.upgradeTwo2032, 2) << c.what;
        EXPECT_EQ(+header.upgradeThree1876, c.five238 == 5 ? 3 : 0) << c.what;
        EXPECT_EQ(+header.channelSet1178[2], c.five238 == 5 ? 1 : 0) << c.what;
        EXPECT_EQ(+header.channelSet1242[2], c.five238 == 5 ? 1 : 0) << c.what;
        EXPECT_EQ(+header.channelSet1178[3], 0) << c.what;
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(+header.upgradeFlags1968[i], i < 2 ? 0 : 1) << c.what;
    }
}

TEST_F(ReaderTest, Version13StimulusFileIsRescaledFromTheStimulusRecording) {
    auto version13 = [] {
        return W()
            .SetVersion(1.3f)
            .SetStimulusSection([](uint32_t, uint32_t) { return 0.0; })
            .Set<float>(kDacScaleFactor, 2.0f)
            .Set<float>(kStimulusScale, 3.0f)
            .Set<float>(kStimulusOffset, 1.0f);
    };
    // The stimulus recording: channel 2 with gain 4 and offset 0.5, so its
    // factor is 10 / 4 / 32768 and its offset 0.5. Its stored Windows path is
    // not there, but the same name beside the recording is.
    W().SetChannels({0, 2}).SetChannelScaling(2, 1, 4, 0.5f).Write(dir.file("STIM.DAT"));
    ASSERT_EQ(Open(version13()
                       .Set<int16_t>(kStimulusAdcChannel, 2)
                       .SetText(kStimulusPath, "C:\\DATA.1\\STIM", 84)),
              0);
    const double k = 2.0 * 10 / 32768, g = 10.0 / 4 / 32768, o = 0.5;
    const double scale = k * 3.0 / g;
    EXPECT_NEAR(+header.stimulusFileScale, scale, 1e-4);
    EXPECT_NEAR(+header.stimulusFileOffset, k * 1.0 - scale * o, 1e-4);
    EXPECT_EQ(std::string(header.stimulusFilePath), "C:\\DATA.1\\STIM.DAT");
    // A completed path that leaves no room for the closing zero is not written back.
    ASSERT_EQ(Open(version13().SetText(kStimulusPath, std::string(80, 'p'), 84)), 0);
    EXPECT_EQ(std::string(header.stimulusFilePath + 80, 4), "    ");

    // A recording naming itself is rescaled once, and the nested open releases its slot.
    ASSERT_EQ(Open(version13().SetText(kStimulusPath, "rec.abf", 84)), 0);
    EXPECT_NEAR(+header.stimulusFileScale, 6.0f, 1e-5);
    ASSERT_EQ(Open(dir.file("rec.abf")), 0);
    EXPECT_EQ(handle, 1);
}

// A stimulus path that names a FIFO (absolute, as a header may) is not a
// regular file: it is never read and the recording opens unrescaled.
TEST_F(ReaderTest, StimulusFileThatIsNoRegularFileIsNotOpened) {
    const std::string fifo = dir.file("STIM.DAT");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_EQ(Open(W().SetVersion(1.3f)
                       .SetStimulusSection([](uint32_t, uint32_t) { return 0.0; })
                       .Set<float>(kStimulusScale, 3.0f)
                       .SetText(kStimulusPath, fifo, 84)),
              0);
    EXPECT_EQ(+header.stimulusFileScale, 3.0f);
}

TEST(MsBinaryFormat, ConvertsKnownEncodings) {
    const std::pair<uint32_t, float> known[] = {
        {0x81000000u, 1.0f}, {0x84200000u, 10.0f}, {0x81800000u, -1.0f},
        {0x80000000u, 0.5f}, {0x00123456u, 0.0f}, // exponent 0 is zero
    };
    for (auto [bits, value] : known)
        EXPECT_EQ(AbfMsBinaryToIeee(bits), value) << std::hex << bits;
}

TEST_F(ReaderTest, OldFormatSamplesAvailable) {
    // Kind 3 files before 5.0 recorded no acquired count, and before 5.2 came
    // from 12-bit converters; later ones keep their count (here one episode).
    const struct {
        float version;
        uint32_t episodes;
        int acquired, resolution;
    } kind3[] = {{4.5f, 2, 2000, 2048}, {5.0f, 1, 1000, 2048}, {5.2f, 1, 1000, 32768}};
    for (const auto& k : kind3) {
        const float recorded = k.version < 5.0f ? 0.0f : 1000.0f;
        ASSERT_EQ(Open(W().SetOldFormat(3, k.version)
                           .SetEpisodes(2)
                           .Set<float>(12 * 4, recorded)
                           .Set<float>(7 * 4, 0.0f)),
                  0);
        EXPECT_EQ(episodes, k.episodes) << k.version;
        EXPECT_EQ(+header.acquiredSampleCount, k.acquired) << k.version;
        EXPECT_EQ(+header.adcResolution, k.resolution) << k.version;
        EXPECT_EQ(+header.upgradeFive238, 5) << "imported headers are upgraded";
    }

    // A file cut short keeps its whole episodes, or all its samples when gap-free.
    for (const bool gapFree : {false, true}) {
        W writer = W().SetOldFormat(2, 5.2f).SetSamplesPerChannel(256).SetEpisodes(4);
        if (gapFree)
            writer.SetGapFree(1024);
        std::vector<uint8_t> bytes = writer.Build();
        bytes.resize(512 + 256 * 2 * 2 + 300); // two and a bit episodes
        ASSERT_EQ(Open(WriteBytes(bytes)), 0);
        EXPECT_EQ(episodes, gapFree ? 1u : 2u);
        EXPECT_EQ(+header.acquiredSampleCount, gapFree ? (256 * 2 * 2 + 300) / 2 : 512);
        AbfCloseAllFiles();
    }
}

} // namespace
