// Builds ABF 1.x recordings (and the older ".dat" files) for tests, field by
// field at the byte offsets of the on-disk header. It deliberately does not use
// abf/AbfHeader.h, so that a fault in that struct's layout shows up as a
// disagreement between writer and reader.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

// Byte offsets of the header fields the writer and the tests touch.
namespace AbfOffset {
constexpr size_t kFileVersion = 4;
constexpr size_t kOperationMode = 8;
constexpr size_t kAcquiredSamples = 10;
constexpr size_t kSamplesToSkip = 14;
constexpr size_t kEpisodeCount = 16;
constexpr size_t kHeaderVersion = 32;
constexpr size_t kFileKind = 36;
constexpr size_t kDataFirstBlock = 40;
constexpr size_t kStimulusFirstBlock = 60;
constexpr size_t kStimulusEpisodes = 64;
constexpr size_t kSynchFirstBlock = 92;
constexpr size_t kSynchEntries = 96;
constexpr size_t kSampleFormat = 100;
constexpr size_t kChannelCount = 120;
constexpr size_t kFirstInterval = 122;
constexpr size_t kSecondInterval = 126;
constexpr size_t kSynchTimeUnit = 130;
constexpr size_t kSamplesPerEpisode = 138;
constexpr size_t kUpgrade168 = 168;
constexpr size_t kUpgrade170 = 170;
constexpr size_t kStartToStart = 178;
constexpr size_t kClockChange = 194;
constexpr size_t kLegacySamples214 = 214;
constexpr size_t kUpgradeFive238 = 238;
constexpr size_t kAdcRange = 244;
constexpr size_t kDacRange = 248;
constexpr size_t kAdcResolution = 252;
constexpr size_t kDacResolution = 256;
constexpr size_t kAutosampleEnable = 262;
constexpr size_t kAutosampleChannel = 264;
constexpr size_t kAutosampleGain = 268;
constexpr size_t kCreatorName = 294;
constexpr size_t kFileComment = 310;
constexpr size_t kSamplingSequence = 410; // int16[16]
constexpr size_t kAdcChannelNames = 442;  // 16 x 10
constexpr size_t kAdcUnits = 602;         // 16 x 8
constexpr size_t kProgrammableGain = 730; // float[16]
constexpr size_t kInstrumentScale = 922;
constexpr size_t kInstrumentOffset = 986;
constexpr size_t kConditionerGain = 1050;
constexpr size_t kConditionerOffset = 1114;
constexpr size_t kChannelSetting1178 = 1178;
constexpr size_t kDacUnits = 1346;       // 4 x 8
constexpr size_t kDacScaleFactor = 1378; // float[4]
constexpr size_t kDacHolding = 1394;     // float[4]
constexpr size_t kConditionerInUse = 1410;
constexpr size_t kWaveformSource = 1438;
constexpr size_t kActiveDac = 1440;
constexpr size_t kInterEpisodeLevel = 1442;
constexpr size_t kEpochType = 1444;         // int16[10]
constexpr size_t kEpochInitialLevel = 1464; // float[10]
constexpr size_t kEpochLevelIncrement = 1504;
constexpr size_t kEpochInitialDuration = 1544; // int16[10]
constexpr size_t kEpochDurationIncrement = 1564;
constexpr size_t kStimulusScale = 1620;
constexpr size_t kStimulusOffset = 1624;
constexpr size_t kStimulusAdcChannel = 1632;
constexpr size_t kStimulusPath = 1634; // 84 characters
constexpr size_t kConditioningEnable = 1718;
constexpr size_t kConditioningPulses = 1722;
constexpr size_t kConditioningBaseline = 1726;
constexpr size_t kConditioningStep = 1734;
constexpr size_t kConditioningPostDuration = 1742;
constexpr size_t kConditioningPostLevel = 1746;
constexpr size_t kUserListParameter = 1762;
constexpr size_t kUserList = 1764; // 80 characters
constexpr size_t kMathEnable = 1880;
constexpr size_t kMathChannelA = 1890;
constexpr size_t kMathChannelB = 1892;
constexpr size_t kMathOperator = 1910;
constexpr size_t kLeakEnable = 1932;
constexpr size_t kLeakSubSweeps = 1938;
constexpr size_t kLeakSettling = 1946;
constexpr size_t kLeakMinInterval = 1950;
constexpr size_t kUserListEnable = 1966;
constexpr size_t kOneOfMinus2028 = 2028;
constexpr size_t kUpgradeTwo2032 = 2032;
} // namespace AbfOffset

// One entry of an ABF synch array: start in synch time units, length in
// samples of all channels.
struct AbfSynchEntry {
    uint32_t start;
    uint32_t length;
};

// One entry of an old-format synch array: two signed 16-bit values.
struct OldSynchEntry {
    int16_t e;
    int16_t b;
};

class AbfTestWriter {
public:
    // Defaults: "ABF " version 1.65, mode 5 episodic, int16 samples, one channel,
    // sampling sequence {0}, 3 episodes, 1000 samples per channel, 100 us
    // interval, ADC range 10 V, resolution 32768, all gains 1 offsets 0, DAC
    // range 10, DAC resolution 32768, DAC scale factor 1, holding -80 mV on DAC 0,
    // waveform source 1 (epochs) with no epochs enabled, start-to-start 1 s.
    AbfTestWriter();

    AbfTestWriter& SetChannels(std::vector<int16_t> sequence) {
        return m_channels = std::move(sequence), *this;
    }
    AbfTestWriter& SetSamplesPerChannel(uint32_t n) { return m_samplesPerChannel = n, *this; }
    AbfTestWriter& SetEpisodes(uint32_t n) { return m_episodes = n, *this; }
    AbfTestWriter& SetSampleInterval(float firstUs, float secondUs = 0, int32_t clockChange = 0);
    AbfTestWriter& SetFloatSamples(bool on) { return m_floatSamples = on, *this; }
    AbfTestWriter& SetMode(int16_t mode) { return m_mode = mode, *this; }
    AbfTestWriter& SetVersion(float version);
    AbfTestWriter& SetHolding(float mV, int dac = 0);
    AbfTestWriter& SetActiveDac(int16_t dac);
    AbfTestWriter& SetEpoch(int index, int16_t type, float initialLevel, float levelIncrement,
                            int16_t initialDuration, int16_t durationIncrement);
    AbfTestWriter& SetStartToStart(float seconds);
    AbfTestWriter& SetAdcRange(float volts, int32_t resolution);
    // Gains and offset of one physical channel: count -> count * range /
    // (scale * gain) / resolution + offset.
    AbfTestWriter& SetChannelScaling(int channel, float instrumentScale, float programmableGain,
                                     float instrumentOffset);
    AbfTestWriter& SetUserList(int16_t parameterCode, const std::string& list);

    // Physical value of (episode from 1, physical channel, sample index per
    // channel); converted to counts with the header's scaling (rounded, clamped).
    // In gap-free files without a synch array the episode is 1 and the index
    // runs over the whole recording.
    AbfTestWriter&
    SetSignal(std::function<double(uint32_t episode, int channel, uint32_t sample)> f) {
        return m_signal = std::move(f), *this;
    }

    // Gap-free (mode 3) recording of `samplesPerChannel` samples per channel,
    // with `skipped` samples of all channels before the data proper.
    AbfTestWriter& SetGapFree(uint32_t samplesPerChannel, int16_t skipped = 0);

    // Synch array with one entry per episode, started every start-to-start
    // interval, each of the full episode length (synch unit: the header's).
    AbfTestWriter& EnableSynchArray(float synchTimeUnitUs = 0);
    // Synch array with the given entries; episode k holds entry k-1's length.
    AbfTestWriter& SetSynchArray(std::vector<AbfSynchEntry> entries, float synchTimeUnitUs = 0);
    // Puts the synch array between the header and the data, which then end the
    // file (without a stimulus section).
    AbfTestWriter& PutSynchArrayBeforeData() { return m_synchBeforeData = true, *this; }

    // Stimulus (DAC) file section with one episode per episode; `value` gives
    // the command in DAC units at (episode from 1, multiplexed sample index).
    AbfTestWriter&
    SetStimulusSection(std::function<double(uint32_t episode, uint32_t sample)> value);

    // Old-format ".dat" file of kind 2 or 3 instead of an ABF file. The sampling
    // sequence, counts, intervals, ranges, gains and signal carry over.
    AbfTestWriter& SetOldFormat(int kind, float version, bool msBinaryFormat = false);
    // Old-format synch array (written after the data).
    AbfTestWriter& SetOldSynchArray(std::vector<OldSynchEntry> entries) {
        return m_oldSynch = std::move(entries), *this;
    }

    // Raw little-endian header field, applied after every computed field. For
    // old-format files the offset is into the 80-float parameter block.
    template <class T> AbfTestWriter& Set(size_t offset, T value) {
        std::vector<uint8_t> bytes(sizeof(T));
        std::memcpy(bytes.data(), &value, sizeof(T));
        m_overrides.emplace_back(offset, std::move(bytes));
        return *this;
    }
    AbfTestWriter& SetText(size_t offset, const std::string& text, size_t width);

    std::vector<uint8_t> Build() const;
    void Write(const std::string& path) const;

private:
    std::vector<uint8_t> BuildAbf() const;
    std::vector<uint8_t> BuildOld() const;
    std::vector<uint8_t> EncodeData(const std::vector<uint8_t>& header, bool floatSamples,
                                    std::vector<uint32_t>* episodeLengths) const;

    std::vector<uint8_t> m_header;
    std::vector<std::pair<size_t, std::vector<uint8_t>>> m_overrides;
    std::vector<int16_t> m_channels{0};
    uint32_t m_samplesPerChannel = 1000;
    uint32_t m_episodes = 3;
    int16_t m_mode = 5;
    bool m_floatSamples = false;
    std::function<double(uint32_t, int, uint32_t)> m_signal;
    bool m_gapFree = false;
    uint32_t m_gapFreeSamples = 0;
    int16_t m_skipped = 0;
    enum class Synch { None, Auto, Explicit } m_synch = Synch::None;
    std::vector<AbfSynchEntry> m_synchEntries;
    bool m_synchBeforeData = false;
    std::function<double(uint32_t, uint32_t)> m_stimulus;
    int m_oldKind = 0;
    float m_oldVersion = 0;
    bool m_oldMsBinary = false;
    std::vector<OldSynchEntry> m_oldSynch;
};
