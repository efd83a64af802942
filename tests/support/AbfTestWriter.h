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
constexpr size_t FileVersion = 4;
constexpr size_t OperationMode = 8;
constexpr size_t AcquiredSamples = 10;
constexpr size_t SamplesToSkip = 14;
constexpr size_t EpisodeCount = 16;
constexpr size_t HeaderVersion = 32;
constexpr size_t FileKind = 36;
constexpr size_t DataFirstBlock = 40;
constexpr size_t StimulusFirstBlock = 60;
constexpr size_t StimulusEpisodes = 64;
constexpr size_t SynchFirstBlock = 92;
constexpr size_t SynchEntries = 96;
constexpr size_t SampleFormat = 100;
constexpr size_t ChannelCount = 120;
constexpr size_t FirstInterval = 122;
constexpr size_t SecondInterval = 126;
constexpr size_t SynchTimeUnit = 130;
constexpr size_t SamplesPerEpisode = 138;
constexpr size_t Upgrade168 = 168;
constexpr size_t Upgrade170 = 170;
constexpr size_t StartToStart = 178;
constexpr size_t ClockChange = 194;
constexpr size_t LegacySamples214 = 214;
constexpr size_t UpgradeFive238 = 238;
constexpr size_t AdcRange = 244;
constexpr size_t DacRange = 248;
constexpr size_t AdcResolution = 252;
constexpr size_t DacResolution = 256;
constexpr size_t AutosampleEnable = 262;
constexpr size_t AutosampleChannel = 264;
constexpr size_t AutosampleGain = 268;
constexpr size_t CreatorName = 294;
constexpr size_t FileComment = 310;
constexpr size_t SamplingSequence = 410; // int16[16]
constexpr size_t AdcChannelNames = 442;  // 16 x 10
constexpr size_t AdcUnits = 602;         // 16 x 8
constexpr size_t ProgrammableGain = 730; // float[16]
constexpr size_t InstrumentScale = 922;
constexpr size_t InstrumentOffset = 986;
constexpr size_t ConditionerGain = 1050;
constexpr size_t ConditionerOffset = 1114;
constexpr size_t ChannelSetting1178 = 1178;
constexpr size_t DacUnits = 1346;       // 4 x 8
constexpr size_t DacScaleFactor = 1378; // float[4]
constexpr size_t DacHolding = 1394;     // float[4]
constexpr size_t ConditionerInUse = 1410;
constexpr size_t WaveformSource = 1438;
constexpr size_t ActiveDac = 1440;
constexpr size_t InterEpisodeLevel = 1442;
constexpr size_t EpochType = 1444;         // int16[10]
constexpr size_t EpochInitialLevel = 1464; // float[10]
constexpr size_t EpochLevelIncrement = 1504;
constexpr size_t EpochInitialDuration = 1544; // int16[10]
constexpr size_t EpochDurationIncrement = 1564;
constexpr size_t StimulusScale = 1620;
constexpr size_t StimulusOffset = 1624;
constexpr size_t StimulusAdcChannel = 1632;
constexpr size_t StimulusPath = 1634; // 84 characters
constexpr size_t ConditioningEnable = 1718;
constexpr size_t ConditioningPulses = 1722;
constexpr size_t ConditioningBaseline = 1726;
constexpr size_t ConditioningStep = 1734;
constexpr size_t ConditioningPostDuration = 1742;
constexpr size_t ConditioningPostLevel = 1746;
constexpr size_t UserListParameter = 1762;
constexpr size_t UserList = 1764; // 80 characters
constexpr size_t MathEnable = 1880;
constexpr size_t MathChannelA = 1890;
constexpr size_t MathChannelB = 1892;
constexpr size_t MathOperator = 1910;
constexpr size_t LeakEnable = 1932;
constexpr size_t LeakSubSweeps = 1938;
constexpr size_t LeakSettling = 1946;
constexpr size_t LeakMinInterval = 1950;
constexpr size_t UserListEnable = 1966;
constexpr size_t OneOfMinus2028 = 2028;
constexpr size_t UpgradeTwo2032 = 2032;
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
        return channels_ = std::move(sequence), *this;
    }
    AbfTestWriter& SetSamplesPerChannel(uint32_t n) { return samplesPerChannel_ = n, *this; }
    AbfTestWriter& SetEpisodes(uint32_t n) { return episodes_ = n, *this; }
    AbfTestWriter& SetSampleInterval(float firstUs, float secondUs = 0, int32_t clockChange = 0);
    AbfTestWriter& SetFloatSamples(bool on) { return floatSamples_ = on, *this; }
    AbfTestWriter& SetMode(int16_t mode) { return mode_ = mode, *this; }
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
        return signal_ = std::move(f), *this;
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
    AbfTestWriter& PutSynchArrayBeforeData() { return synchBeforeData_ = true, *this; }

    // Stimulus (DAC) file section with one episode per episode; `value` gives
    // the command in DAC units at (episode from 1, multiplexed sample index).
    AbfTestWriter&
    SetStimulusSection(std::function<double(uint32_t episode, uint32_t sample)> value);

    // Old-format ".dat" file of kind 2 or 3 instead of an ABF file. The sampling
    // sequence, counts, intervals, ranges, gains and signal carry over.
    AbfTestWriter& SetOldFormat(int kind, float version, bool msBinaryFormat = false);
    // Old-format synch array (written after the data).
    AbfTestWriter& SetOldSynchArray(std::vector<OldSynchEntry> entries) {
        return oldSynch_ = std::move(entries), *this;
    }

    // Raw little-endian header field, applied after every computed field. For
    // old-format files the offset is into the 80-float parameter block.
    template <class T> AbfTestWriter& Set(size_t offset, T value) {
        std::vector<uint8_t> bytes(sizeof(T));
        std::memcpy(bytes.data(), &value, sizeof(T));
        overrides_.emplace_back(offset, std::move(bytes));
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

    std::vector<uint8_t> header_;
    std::vector<std::pair<size_t, std::vector<uint8_t>>> overrides_;
    std::vector<int16_t> channels_{0};
    uint32_t samplesPerChannel_ = 1000;
    uint32_t episodes_ = 3;
    int16_t mode_ = 5;
    bool floatSamples_ = false;
    std::function<double(uint32_t, int, uint32_t)> signal_;
    bool gapFree_ = false;
    uint32_t gapFreeSamples_ = 0;
    int16_t skipped_ = 0;
    enum class Synch { None, Auto, Explicit } synch_ = Synch::None;
    std::vector<AbfSynchEntry> synchEntries_;
    bool synchBeforeData_ = false;
    std::function<double(uint32_t, uint32_t)> stimulus_;
    int oldKind_ = 0;
    float oldVersion_ = 0;
    bool oldMsBinary_ = false;
    std::vector<OldSynchEntry> oldSynch_;
};
