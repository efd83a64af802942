#include "tests/abf/ReaderFixture.h"

namespace {

using namespace AbfOffset;
using W = AbfTestWriter;

TEST_F(ReaderTest, OldAxengnHeaderHasItsTextsConvertedToAnsi) {
    // Code page 437 in, Windows-1252 out: µ, °, ü, ², é, ½.
    const struct {
        size_t offset;
        std::string cp437;
        const char* field;
        std::string ansi;
    } texts[] = {
        {AdcUnits, "\346A", header.adcUnits[0], "\265A"},
        {AdcUnits + 8 * 15, "\370C", header.adcUnits[15], "\260C"},
        {AdcChannelNames + 10 * 3, "I\201ber", header.adcChannelName[3], "I\374ber"},
        {DacUnits + 8 * 3, "\375", header.dacUnits[3], "\262"},
        {FileComment, "\202t\202", header.fileComment, "\351t\351"},
        {MathUnits, "\253", header.mathUnits, "\275"},
    };
    AbfTestWriter writer;
    writer.SetVersion(1.3f).SetText(CreatorName, "AXENGN 2.0", 16);
    for (const auto& t : texts)
        writer.SetText(t.offset, t.cp437, t.cp437.size());
    ASSERT_EQ(Open(writer), 0);
    for (const auto& t : texts)
        EXPECT_EQ(std::string(t.field, t.ansi.size()), t.ansi) << t.offset;

    // Other creators, and version 1.4 even from that creator, keep their texts.
    for (W other :
         {W().SetVersion(1.3f), W().SetVersion(1.4f).SetText(CreatorName, "AXENGN", 16)}) {
        ASSERT_EQ(Open(other.SetText(AdcUnits, "\346A", 8)), 0);
        EXPECT_EQ(+header.adcUnits[0][0], '\346');
    }
}

TEST_F(ReaderTest, Version14UpgradeSetsOnlyTheFlags) {
    ASSERT_EQ(Open(W().SetVersion(1.45f)
                       .Set<int32_t>(LegacySamples214, 1000)
                       .Set<int32_t>(UpgradeFive238, 9)
                       .Set<int16_t>(UpgradeTwo2032, 0)),
              0);
    EXPECT_EQ(+header.upgradeTwo2032, 2);
    EXPECT_EQ(+header.upgradeFive238, 9);
    EXPECT_FLOAT_EQ(+header.upgradeSeconds234, 0.0f);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(+header.upgradeFlags1968[i], i < 2 ? 0 : 1) << i;
}

TEST_F(ReaderTest, Version13UpgradeConvertsTheOldFields) {
    ASSERT_EQ(Open(W().SetVersion(1.3f)
                       .SetSampleInterval(50)
                       .Set<int32_t>(LegacySamples214, 20000)
                       .Set<float>(ChannelSetting1178 + 4 * 2, 5.0f)
                       .Set<float>(ChannelSetting1242 + 4 * 4, 1.0f)
                       .Set<int16_t>(Upgrade170, 2)
                       .Set<int16_t>(Upgrade168, -1)),
              0);
    EXPECT_FLOAT_EQ(+header.upgradeSeconds234, 1.0f);
    EXPECT_EQ(+header.channelSet1178[2], 1);
    EXPECT_EQ(+header.channelSet1178[3], 0) << "100000 counts as not set";
    EXPECT_EQ(+header.channelSet1242[4], 1);
    EXPECT_EQ(+header.channelSet1242[5], 0);
    EXPECT_EQ(+header.oneOfMinus2028, -3);
    EXPECT_EQ(+header.upgradeValue168, 0);
    EXPECT_EQ(+header.upgradeSelector170, 0);
    EXPECT_EQ(+header.upgradeFive238, 5);
    EXPECT_EQ(+header.upgradeThree1876, 3);
    EXPECT_EQ(+header.upgradeTwo2032, 2);

    // The selector picks the value: 2 maps -2 to -2; others leave 168 alone.
    ASSERT_EQ(Open(W().SetVersion(1.3f).Set<int16_t>(Upgrade170, 2).Set<int16_t>(Upgrade168, -2)),
              0);
    EXPECT_EQ(+header.oneOfMinus2028, -2);
    ASSERT_EQ(Open(W().SetVersion(1.3f).Set<int16_t>(Upgrade170, 1).Set<int16_t>(Upgrade168, -2)),
              0);
    EXPECT_EQ(+header.oneOfMinus2028, -1);
    EXPECT_EQ(+header.upgradeValue168, -2);
    ASSERT_EQ(Open(W().SetVersion(1.3f).SetGapFree(5000).Set<int16_t>(Upgrade168, 4)), 0);
    EXPECT_EQ(+header.upgradeValue168, 0) << "gap-free clears it";
}

TEST_F(ReaderTest, Version13StimulusFileIsRescaledFromTheStimulusRecording) {
    auto version13 = [] {
        return W()
            .SetVersion(1.3f)
            .SetStimulusSection([](uint32_t, uint32_t) { return 0.0; })
            .Set<float>(DacScaleFactor, 2.0f)
            .Set<float>(StimulusScale, 3.0f)
            .Set<float>(StimulusOffset, 1.0f);
    };
    // The stimulus recording: channel 2 with gain 4 and offset 0.5, so its
    // factor is 10 / 4 / 32768 and its offset 0.5.
    W().SetChannels({0, 2}).SetChannelScaling(2, 1, 4, 0.5f).Write(dir.file("STIM.DAT"));
    ASSERT_EQ(
        Open(version13().Set<int16_t>(StimulusAdcChannel, 2).SetText(StimulusPath, "STIM", 84)), 0);
    const double k = 2.0 * 10 / 32768, g = 10.0 / 4 / 32768, o = 0.5;
    const double scale = k * 3.0 / g;
    EXPECT_NEAR(+header.stimulusFileScale, scale, 1e-4);
    EXPECT_NEAR(+header.stimulusFileOffset, k * 1.0 - scale * o, 1e-4);
    EXPECT_EQ(std::string(header.stimulusFilePath), "STIM.DAT");

    ASSERT_EQ(Open(version13().SetText(StimulusPath, "C:\\DATA\\MISSING", 84)), 0);
    EXPECT_FLOAT_EQ(+header.stimulusFileScale, 3.0f) << "a file that cannot be opened";
    EXPECT_FLOAT_EQ(+header.stimulusFileOffset, 1.0f);
    EXPECT_EQ(std::string(header.stimulusFilePath), "C:\\DATA\\MISSING.DAT");
    AbfCloseAllFiles();

    ASSERT_EQ(Open(version13().SetText(StimulusPath, "rec.abf", 84)), 0);
    EXPECT_NEAR(+header.stimulusFileScale, 6.0f, 1e-5) << "rescaled once from its own channel 0";
    EXPECT_EQ(handle, 0);
    int second = -1;
    AbfHeader h2;
    uint32_t s = 0, e = 0;
    ASSERT_TRUE(AbfOpenForReading(dir.file("rec.abf").c_str(), &second, 0, &h2, &s, &e, nullptr));
    EXPECT_EQ(second, 1) << "the nested open released its slot";
}

} // namespace
