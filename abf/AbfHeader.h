// The 2048-byte header of an ABF 1.x file, little-endian, as it lies on disk.
// Only the fields the reader interprets are named; the rest are kept as bytes
// so a header read and normalised keeps every other byte as the file held it.
#pragma once

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)
struct AbfHeader {
    char signature[4];                   // "ABF "
    float fileVersion;                   // 4
    int16_t operationMode;               // 8: 1..5
    int32_t acquiredSampleCount;         // 10: all channels
    int16_t samplesToSkip;               // 14: gap-free only
    int32_t episodeCount;                // 16
    uint8_t unused020[12];               // 20
    float headerVersion;                 // 32
    int16_t fileKind;                    // 36: 1 ABF, 2 and 3 old formats
    int16_t msBinaryFormat;              // 38
    int32_t dataFirstBlock;              // 40: 512-byte blocks
    uint8_t unused044[16];               // 44
    int32_t stimulusFirstBlock;          // 60
    int32_t stimulusEpisodeCount;        // 64
    uint8_t unused068[24];               // 68
    int32_t synchFirstBlock;             // 92
    int32_t synchEntryCount;             // 96
    int16_t sampleFormat;                // 100: 0 int16, nonzero float32
    uint8_t unused102[18];               // 102
    int16_t channelCount;                // 120
    float firstSampleInterval;           // 122: microseconds between multiplexed samples
    float secondSampleInterval;          // 126: split clock
    float synchTimeUnit;                 // 130: microseconds; 0 means the first interval
    uint8_t unused134[4];                // 134
    int32_t samplesPerEpisode;           // 138: all channels
    uint8_t unused142[26];               // 142
    int16_t upgradeValue168;             // 168
    int16_t upgradeSelector170;          // 170
    uint8_t unused172[6];                // 172
    float episodeStartToStart;           // 178: seconds
    uint8_t unused182[12];               // 182
    int32_t clockChangeSample;           // 194
    uint8_t unused198[16];               // 198
    int32_t legacySampleCount214;        // 214
    uint8_t unused218[16];               // 218
    float upgradeSeconds234;             // 234
    int32_t upgradeFive238;              // 238
    uint8_t unused242[2];                // 242
    float adcRange;                      // 244: volts
    float dacRange;                      // 248: volts
    int32_t adcResolution;               // 252
    int32_t dacResolution;               // 256
    uint8_t unused260[2];                // 260
    int16_t autosampleEnable;            // 262
    int16_t autosampleAdcChannel;        // 264
    uint8_t unused266[2];                // 266
    float autosampleAdditionalGain;      // 268
    uint8_t unused272[22];               // 272
    char creatorName[16];                // 294
    char fileComment[56];                // 310
    uint8_t unused366[44];               // 366
    int16_t samplingSequence[16];        // 410
    char adcChannelName[16][10];         // 442
    char adcUnits[16][8];                // 602
    float programmableGain[16];          // 730
    uint8_t unused794[128];              // 794
    float instrumentScaleFactor[16];     // 922
    float instrumentOffset[16];          // 986
    float conditionerGain[16];           // 1050
    float conditionerOffset[16];         // 1114
    float channelSetting1178[16];        // 1178: 100000 means not set
    float channelSetting1242[16];        // 1242: 0 means not set
    char dacChannelName[4][10];          // 1306
    char dacUnits[4][8];                 // 1346
    float dacScaleFactor[4];             // 1378
    float dacHoldingLevel[4];            // 1394
    int16_t conditionerInUse;            // 1410
    uint8_t unused1412[24];              // 1412
    int16_t digitalOutputsEnabled;       // 1436
    int16_t waveformSource;              // 1438: 0 none, 1 epochs, 2 stimulus file
    int16_t activeDacChannel;            // 1440
    int16_t interEpisodeLevel;           // 1442: 0 holding, nonzero last epoch level
    int16_t epochType[10];               // 1444: 0 off, 1 step, 2 ramp
    float epochInitialLevel[10];         // 1464
    float epochLevelIncrement[10];       // 1504
    int16_t epochInitialDuration[10];    // 1544: samples per channel
    int16_t epochDurationIncrement[10];  // 1564
    uint8_t unused1584[36];              // 1584
    float stimulusFileScale;             // 1620
    float stimulusFileOffset;            // 1624
    uint8_t unused1628[4];               // 1628
    int16_t stimulusFileAdcChannel;      // 1632
    char stimulusFilePath[84];           // 1634
    int16_t conditioningEnable;          // 1718
    int16_t conditioningChannel;         // 1720
    int32_t conditioningPulseCount;      // 1722
    float conditioningBaselineDuration;  // 1726: ms
    uint8_t unused1730[4];               // 1730
    float conditioningStepDuration;      // 1734: ms
    uint8_t unused1738[4];               // 1738
    float conditioningPostTrainDuration; // 1742: ms
    float conditioningPostTrainLevel;    // 1746
    uint8_t unused1750[12];              // 1750
    int16_t userListParameter;           // 1762
    char userList[80];                   // 1764
    uint8_t unused1844[16];              // 1844
    int16_t normalised1860;              // 1860: at least 1
    uint8_t unused1862[14];              // 1862
    int32_t upgradeThree1876;            // 1876
    int16_t mathChannelEnable;           // 1880
    uint8_t unused1882[8];               // 1882
    int16_t mathChannelA;                // 1890
    int16_t mathChannelB;                // 1892
    uint8_t unused1894[16];              // 1894
    char mathOperator[2];                // 1910
    char mathUnits[8];                   // 1912
    uint8_t unused1920[8];               // 1920
    int16_t mathExpression;              // 1928
    uint8_t unused1930[2];               // 1930
    int16_t leakSubtractionEnable;       // 1932
    uint8_t unused1934[2];               // 1934
    int16_t normalised1936;              // 1936
    int16_t leakSubSweepCount;           // 1938
    uint8_t unused1940[6];               // 1940
    float leakSettlingTime;              // 1946: ms
    float leakMinimumInterval;           // 1950: ms
    uint8_t unused1954[12];              // 1954
    int16_t userListEnable;              // 1966
    int16_t upgradeFlags1968[6];         // 1968..1978
    int16_t pair1980;                    // 1980
    int32_t pair1982;                    // 1982
    uint8_t unused1986[2];               // 1986
    uint8_t channelSet1178[16];          // 1988
    uint8_t channelSet1242[16];          // 2004
    uint8_t unused2020[2];               // 2020
    float atLeastMilli2022;              // 2022
    uint8_t unused2026[2];               // 2026
    int16_t oneOfMinus2028;              // 2028: -1, -2 or -3
    uint8_t unused2030[2];               // 2030
    int16_t upgradeTwo2032;              // 2032
    uint8_t unused2034[14];              // 2034
};
#pragma pack(pop)

static_assert(sizeof(AbfHeader) == 2048);
static_assert(offsetof(AbfHeader, operationMode) == 8);
static_assert(offsetof(AbfHeader, acquiredSampleCount) == 10);
static_assert(offsetof(AbfHeader, headerVersion) == 32);
static_assert(offsetof(AbfHeader, dataFirstBlock) == 40);
static_assert(offsetof(AbfHeader, stimulusFirstBlock) == 60);
static_assert(offsetof(AbfHeader, synchFirstBlock) == 92);
static_assert(offsetof(AbfHeader, sampleFormat) == 100);
static_assert(offsetof(AbfHeader, channelCount) == 120);
static_assert(offsetof(AbfHeader, samplesPerEpisode) == 138);
static_assert(offsetof(AbfHeader, upgradeValue168) == 168);
static_assert(offsetof(AbfHeader, episodeStartToStart) == 178);
static_assert(offsetof(AbfHeader, clockChangeSample) == 194);
static_assert(offsetof(AbfHeader, legacySampleCount214) == 214);
static_assert(offsetof(AbfHeader, upgradeSeconds234) == 234);
static_assert(offsetof(AbfHeader, adcRange) == 244);
static_assert(offsetof(AbfHeader, autosampleEnable) == 262);
static_assert(offsetof(AbfHeader, autosampleAdditionalGain) == 268);
static_assert(offsetof(AbfHeader, creatorName) == 294);
static_assert(offsetof(AbfHeader, samplingSequence) == 410);
static_assert(offsetof(AbfHeader, adcChannelName) == 442);
static_assert(offsetof(AbfHeader, adcUnits) == 602);
static_assert(offsetof(AbfHeader, programmableGain) == 730);
static_assert(offsetof(AbfHeader, instrumentScaleFactor) == 922);
static_assert(offsetof(AbfHeader, channelSetting1242) == 1242);
static_assert(offsetof(AbfHeader, dacChannelName) == 1306);
static_assert(offsetof(AbfHeader, dacScaleFactor) == 1378);
static_assert(offsetof(AbfHeader, conditionerInUse) == 1410);
static_assert(offsetof(AbfHeader, digitalOutputsEnabled) == 1436);
static_assert(offsetof(AbfHeader, epochType) == 1444);
static_assert(offsetof(AbfHeader, epochInitialLevel) == 1464);
static_assert(offsetof(AbfHeader, epochLevelIncrement) == 1504);
static_assert(offsetof(AbfHeader, epochInitialDuration) == 1544);
static_assert(offsetof(AbfHeader, epochDurationIncrement) == 1564);
static_assert(offsetof(AbfHeader, stimulusFileScale) == 1620);
static_assert(offsetof(AbfHeader, stimulusFileAdcChannel) == 1632);
static_assert(offsetof(AbfHeader, stimulusFilePath) == 1634);
static_assert(offsetof(AbfHeader, conditioningEnable) == 1718);
static_assert(offsetof(AbfHeader, conditioningPulseCount) == 1722);
static_assert(offsetof(AbfHeader, conditioningStepDuration) == 1734);
static_assert(offsetof(AbfHeader, conditioningPostTrainLevel) == 1746);
static_assert(offsetof(AbfHeader, userListParameter) == 1762);
static_assert(offsetof(AbfHeader, userList) == 1764);
static_assert(offsetof(AbfHeader, normalised1860) == 1860);
static_assert(offsetof(AbfHeader, upgradeThree1876) == 1876);
static_assert(offsetof(AbfHeader, mathChannelEnable) == 1880);
static_assert(offsetof(AbfHeader, mathChannelA) == 1890);
static_assert(offsetof(AbfHeader, mathOperator) == 1910);
static_assert(offsetof(AbfHeader, mathUnits) == 1912);
static_assert(offsetof(AbfHeader, mathExpression) == 1928);
static_assert(offsetof(AbfHeader, leakSubtractionEnable) == 1932);
static_assert(offsetof(AbfHeader, normalised1936) == 1936);
static_assert(offsetof(AbfHeader, leakSettlingTime) == 1946);
static_assert(offsetof(AbfHeader, leakMinimumInterval) == 1950);
static_assert(offsetof(AbfHeader, userListEnable) == 1966);
static_assert(offsetof(AbfHeader, upgradeFlags1968) == 1968);
static_assert(offsetof(AbfHeader, pair1980) == 1980);
static_assert(offsetof(AbfHeader, pair1982) == 1982);
static_assert(offsetof(AbfHeader, channelSet1178) == 1988);
static_assert(offsetof(AbfHeader, channelSet1242) == 2004);
static_assert(offsetof(AbfHeader, atLeastMilli2022) == 2022);
static_assert(offsetof(AbfHeader, oneOfMinus2028) == 2028);
static_assert(offsetof(AbfHeader, upgradeTwo2032) == 2032);
