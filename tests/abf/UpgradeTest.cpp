#include "tests/abf/ReaderFixture.h"

namespace {

using namespace AbfOffset;

TEST_F(ReaderTest, OldAxengnHeaderHasItsTextsConvertedToAnsi) {
    // "µA" and "°C" in code page 437: 0xE6 and 0xF8.
    ASSERT_EQ(Open(AbfTestWriter()
                       .SetVersion(1.3f)
                       .SetText(CreatorName, "AXENGN 2.0", 16)
                       .SetText(AdcUnits,
                                "\xE6"
                                "A",
                                8)
                       .SetText(AdcUnits + 8 * 15,
                                "\xF8"
                                "C",
                                8)
                       .SetText(AdcChannelNames + 10 * 3,
                                "I\x81"
                                "ber",
                                10)
                       .SetText(DacUnits + 8 * 3, "\xFD", 8)
                       .SetText(FileComment, "\x82t\x82", 56)
                       .SetText(MathUnits, "\xAB", 8)),
              0);
    EXPECT_EQ(std::string(header.adcUnits[0], 2), "\xB5"
                                                  "A");
    EXPECT_EQ(std::string(header.adcUnits[15], 2), "\xB0"
                                                   "C");
    EXPECT_EQ(std::string(header.adcChannelName[3], 4), "I\xFC"
                                                        "be");
    EXPECT_EQ(+header.dacUnits[3][0], '\xB2');
    EXPECT_EQ(std::string(header.fileComment, 3), "\xE9t\xE9");
    EXPECT_EQ(+header.mathUnits[0], '\xBD');
}

TEST_F(ReaderTest, OtherCreatorsAndVersion14KeepTheirTexts) {
    ASSERT_EQ(Open(AbfTestWriter().SetVersion(1.3f).SetText(AdcUnits,
                                                            "\xE6"
                                                            "A",
                                                            8)),
              0);
    EXPECT_EQ(+header.adcUnits[0][0], '\xE6');
    AbfCloseAllFiles();
    ASSERT_EQ(Open(AbfTestWriter()
                       .SetVersion(1.4f)
                       .SetText(CreatorName, "AXENGN", 16)
                       .SetText(AdcUnits,
                                "\xE6"
                                "A",
                                8)),
              0);
    EXPECT_EQ(+header.adcUnits[0][0], '\xE6');
}

TEST_F(ReaderTest, Version14UpgradeSetsOnlyTheFlags) {
    ASSERT_EQ(Open(AbfTestWriter()
                       .SetVersion(1.45f)
                       .Set<int32_t>(LegacySamples214, 1000)
                       .Set<int32_t>(UpgradeFive238, 9)
                       .Set<int16_t>(UpgradeTwo2032, 0)),
              0);
    EXPECT_EQ(+header.upgradeTwo2032, 2);
    EXPECT_EQ(+header.upgradeFive238, 9);
    EXPECT_FLOAT_EQ(+header.upgradeSeconds234, 0.0f);
    EXPECT_EQ(+header.upgradeFlags1968[0], 0);
    EXPECT_EQ(+header.upgradeFlags1968[1], 0);
    for (int i = 2; i < 6; ++i)
        EXPECT_EQ(+header.upgradeFlags1968[i], 1);
}

TEST_F(ReaderTest, Version13UpgradeConvertsTheOldFields) {
    ASSERT_EQ(Open(AbfTestWriter()
                       .SetVersion(1.3f)
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
}

TEST_F(ReaderTest, Version13SelectorMapping) {
    ASSERT_EQ(Open(AbfTestWriter()
                       .SetVersion(1.3f)
                       .Set<int16_t>(Upgrade170, 2)
                       .Set<int16_t>(Upgrade168, -2)),
              0);
    EXPECT_EQ(+header.oneOfMinus2028, -2);
    AbfCloseAllFiles();
    ASSERT_EQ(Open(AbfTestWriter()
                       .SetVersion(1.3f)
                       .Set<int16_t>(Upgrade170, 1)
                       .Set<int16_t>(Upgrade168, -2)),
              0);
    EXPECT_EQ(+header.oneOfMinus2028, -1);
    EXPECT_EQ(+header.upgradeValue168, -2) << "left alone when the selector is not 2";
}

TEST_F(ReaderTest, GapFreeVersion13ClearsValue168) {
    ASSERT_EQ(Open(AbfTestWriter().SetVersion(1.3f).SetGapFree(5000).Set<int16_t>(Upgrade168, 4)),
              0);
    EXPECT_EQ(+header.upgradeValue168, 0);
}

TEST_F(ReaderTest, Version13StimulusFileIsRescaledFromTheStimulusRecording) {
    // The stimulus recording: channel 2 with gain 4 and offset 0.5, so its
    // factor is 10 / 4 / 32768 and its offset 0.5.
    AbfTestWriter()
        .SetChannels({0, 2})
        .SetChannelScaling(2, 1, 4, 0.5f)
        .Write(dir.file("STIM.DAT"));
    ASSERT_EQ(Open(AbfTestWriter()
                       .SetVersion(1.3f)
                       .SetStimulusSection([](uint32_t, uint32_t) { return 0.0; })
                       .Set<float>(DacScaleFactor, 2.0f)
                       .Set<int16_t>(StimulusAdcChannel, 2)
                       .Set<float>(StimulusScale, 3.0f)
                       .Set<float>(StimulusOffset, 1.0f)
                       .SetText(StimulusPath, "STIM", 84)),
              0);
    const double k = 2.0 * 10 / 32768, g = 10.0 / 4 / 32768, o = 0.5;
    const double scale = k * 3.0 / g;
    EXPECT_NEAR(+header.stimulusFileScale, scale, 1e-4);
    EXPECT_NEAR(+header.stimulusFileOffset, k * 1.0 - scale * o, 1e-4);
    EXPECT_EQ(std::string(header.stimulusFilePath), "STIM.DAT");
}

TEST_F(ReaderTest, Version13StimulusFileThatCannotBeOpenedLeavesTheValues) {
    ASSERT_EQ(Open(AbfTestWriter()
                       .SetVersion(1.3f)
                       .SetStimulusSection([](uint32_t, uint32_t) { return 0.0; })
                       .Set<float>(StimulusScale, 3.0f)
                       .Set<float>(StimulusOffset, 1.0f)
                       .SetText(StimulusPath, "C:\\DATA\\MISSING", 84)),
              0);
    EXPECT_FLOAT_EQ(+header.stimulusFileScale, 3.0f);
    EXPECT_FLOAT_EQ(+header.stimulusFileOffset, 1.0f);
    EXPECT_EQ(std::string(header.stimulusFilePath), "C:\\DATA\\MISSING.DAT");
}

TEST_F(ReaderTest, StimulusFileNamingItselfDoesNotRecurse) {
    ASSERT_EQ(Open(AbfTestWriter()
                       .SetVersion(1.3f)
                       .SetStimulusSection([](uint32_t, uint32_t) { return 0.0; })
                       .Set<float>(DacScaleFactor, 2.0f)
                       .Set<float>(StimulusScale, 3.0f)
                       .SetText(StimulusPath, "rec.abf", 84)),
              0);
    EXPECT_NEAR(+header.stimulusFileScale, 6.0f, 1e-5) << "rescaled once from its own channel 0";
    int second = -1;
    EXPECT_EQ(handle, 0);
    AbfHeader h2;
    uint32_t s = 0, e = 0;
    ASSERT_TRUE(AbfOpenForReading(dir.file("rec.abf").c_str(), &second, 0, &h2, &s, &e, nullptr));
    EXPECT_EQ(second, 1) << "the nested open released its slot";
}

} // namespace
