#include "tests/support/AbfTestWriter.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <stdexcept>

namespace {

constexpr size_t kHeaderSize = 2048;
constexpr size_t kBlock = 512;
constexpr size_t kOldParameterBytes = 320;
constexpr size_t kOldCommentBytes = 77;
constexpr size_t kOldChannelBytes = 80;

template <class T> void Put(std::vector<uint8_t>& bytes, size_t offset, T value) {
    if (offset + sizeof(T) > bytes.size())
        throw std::out_of_range("AbfTestWriter: field beyond the block");
    std::memcpy(bytes.data() + offset, &value, sizeof(T));
}

template <class T> T Get(const std::vector<uint8_t>& bytes, size_t offset) {
    T value;
    std::memcpy(&value, bytes.data() + offset, sizeof(T));
    return value;
}

void PutText(std::vector<uint8_t>& bytes, size_t offset, const std::string& text, size_t width) {
    for (size_t i = 0; i < width; ++i)
        bytes.at(offset + i) = i < text.size() ? static_cast<uint8_t>(text[i]) : ' ';
}

size_t RoundUpToBlock(size_t n) {
    return (n + kBlock - 1) / kBlock * kBlock;
}

// Physical value -> raw count with the scaling stored in `header` for physical
// channel `channel` (the same rule the acquisition software uses for reading).
int16_t ToCounts(const std::vector<uint8_t>& header, int channel, double value) {
    if (channel < 0 || channel > 15)
        return 0;
    size_t j = static_cast<size_t>(channel);
    double g = double(Get<float>(header, AbfOffset::InstrumentScale + 4 * j)) *
               Get<float>(header, AbfOffset::ProgrammableGain + 4 * j);
    bool conditioner = Get<int16_t>(header, AbfOffset::ConditionerInUse) != 0;
    if (conditioner)
        g *= Get<float>(header, AbfOffset::ConditionerGain + 4 * j);
    if (Get<int16_t>(header, AbfOffset::AutosampleEnable) != 0 &&
        Get<int16_t>(header, AbfOffset::AutosampleChannel) == channel)
        g *= Get<float>(header, AbfOffset::AutosampleGain);
    if (g == 0 || std::isnan(g))
        g = 1;
    double range = Get<float>(header, AbfOffset::AdcRange);
    double resolution = Get<int32_t>(header, AbfOffset::AdcResolution);
    double factor = range / g / resolution;
    double offset = Get<float>(header, AbfOffset::InstrumentOffset + 4 * j);
    if (conditioner)
        offset -= Get<float>(header, AbfOffset::ConditionerOffset + 4 * j);
    if (!std::isfinite(factor) || factor == 0)
        return 0;
    double counts = std::round((value - offset) / factor);
    return static_cast<int16_t>(std::clamp(counts, -32768.0, 32767.0));
}

// IEEE float -> Microsoft Binary Format (little-endian bytes).
uint32_t ToMsBinary(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, 4);
    uint32_t sign = bits >> 31;
    uint32_t exponent = (bits >> 23) & 0xFF;
    uint32_t mantissa = bits & 0x7FFFFF;
    if (exponent == 0)
        return 0; // zero and denormals
    uint32_t msExponent = std::min<uint32_t>(exponent + 2, 255);
    return (msExponent << 24) | (sign << 23) | mantissa;
}

} // namespace

AbfTestWriter::AbfTestWriter() : header_(kHeaderSize, 0) {
    std::memcpy(header_.data(), "ABF ", 4);
    SetVersion(1.65f);
    Put<int16_t>(header_, AbfOffset::FileKind, 1);
    SetSampleInterval(100);
    SetAdcRange(10, 32768);
    Put<float>(header_, AbfOffset::DacRange, 10);
    Put<int32_t>(header_, AbfOffset::DacResolution, 32768);
    for (int j = 0; j < 16; ++j)
        SetChannelScaling(j, 1, 1, 0);
    for (size_t j = 0; j < 16; ++j) {
        Put<float>(header_, AbfOffset::ConditionerGain + 4 * j, 1);
        Put<float>(header_, AbfOffset::ChannelSetting1178 + 4 * j, 100000);
    }
    for (size_t d = 0; d < 4; ++d)
        Put<float>(header_, AbfOffset::DacScaleFactor + 4 * d, 1);
    SetHolding(-80, 0);
    Put<int16_t>(header_, AbfOffset::WaveformSource, 1);
    SetStartToStart(1);
    PutText(header_, AbfOffset::CreatorName, "TESTWRITER", 16);
    PutText(header_, AbfOffset::AdcUnits, "pA", 8);
    PutText(header_, AbfOffset::AdcUnits + 8, "mV", 8);
    PutText(header_, AbfOffset::DacUnits, "mV", 8);
    header_[AbfOffset::MathOperator] = '+';
    header_[AbfOffset::MathOperator + 1] = ' ';
}

AbfTestWriter& AbfTestWriter::SetSampleInterval(float firstUs, float secondUs,
                                                int32_t clockChange) {
    Put(header_, AbfOffset::FirstInterval, firstUs);
    Put(header_, AbfOffset::SecondInterval, secondUs);
    Put(header_, AbfOffset::ClockChange, clockChange);
    return *this;
}

AbfTestWriter& AbfTestWriter::SetVersion(float version) {
    Put(header_, AbfOffset::FileVersion, version);
    Put(header_, AbfOffset::HeaderVersion, version);
    return *this;
}

AbfTestWriter& AbfTestWriter::SetHolding(float mV, int dac) {
    return Put(header_, AbfOffset::DacHolding + 4 * size_t(dac), mV), *this;
}

AbfTestWriter& AbfTestWriter::SetActiveDac(int16_t dac) {
    return Put(header_, AbfOffset::ActiveDac, dac), *this;
}

AbfTestWriter& AbfTestWriter::SetStartToStart(float seconds) {
    return Put(header_, AbfOffset::StartToStart, seconds), *this;
}

AbfTestWriter& AbfTestWriter::SetEpoch(int index, int16_t type, float initialLevel,
                                       float levelIncrement, int16_t initialDuration,
                                       int16_t durationIncrement) {
    size_t e = static_cast<size_t>(index);
    Put(header_, AbfOffset::EpochType + 2 * e, type);
    Put(header_, AbfOffset::EpochInitialLevel + 4 * e, initialLevel);
    Put(header_, AbfOffset::EpochLevelIncrement + 4 * e, levelIncrement);
    Put(header_, AbfOffset::EpochInitialDuration + 2 * e, initialDuration);
    Put(header_, AbfOffset::EpochDurationIncrement + 2 * e, durationIncrement);
    return *this;
}

AbfTestWriter& AbfTestWriter::SetAdcRange(float volts, int32_t resolution) {
    Put(header_, AbfOffset::AdcRange, volts);
    Put(header_, AbfOffset::AdcResolution, resolution);
    return *this;
}

AbfTestWriter& AbfTestWriter::SetChannelScaling(int channel, float instrumentScale,
                                                float programmableGain, float instrumentOffset) {
    size_t j = static_cast<size_t>(channel);
    Put(header_, AbfOffset::InstrumentScale + 4 * j, instrumentScale);
    Put(header_, AbfOffset::ProgrammableGain + 4 * j, programmableGain);
    Put(header_, AbfOffset::InstrumentOffset + 4 * j, instrumentOffset);
    return *this;
}

AbfTestWriter& AbfTestWriter::SetUserList(int16_t parameterCode, const std::string& list) {
    Put<int16_t>(header_, AbfOffset::UserListEnable, 1);
    Put(header_, AbfOffset::UserListParameter, parameterCode);
    PutText(header_, AbfOffset::UserList, list, 80);
    return *this;
}

AbfTestWriter& AbfTestWriter::SetGapFree(uint32_t samplesPerChannel, int16_t skipped) {
    mode_ = 3;
    gapFree_ = true;
    gapFreeSamples_ = samplesPerChannel;
    skipped_ = skipped;
    return *this;
}

AbfTestWriter& AbfTestWriter::EnableSynchArray(float synchTimeUnitUs) {
    synch_ = Synch::Auto;
    Put(header_, AbfOffset::SynchTimeUnit, synchTimeUnitUs);
    return *this;
}

AbfTestWriter& AbfTestWriter::SetSynchArray(std::vector<AbfSynchEntry> entries,
                                            float synchTimeUnitUs) {
    synch_ = Synch::Explicit;
    synchEntries_ = std::move(entries);
    Put(header_, AbfOffset::SynchTimeUnit, synchTimeUnitUs);
    return *this;
}

AbfTestWriter&
AbfTestWriter::SetStimulusSection(std::function<double(uint32_t episode, uint32_t sample)> value) {
    stimulus_ = std::move(value);
    Put<int16_t>(header_, AbfOffset::WaveformSource, 2);
    return *this;
}

AbfTestWriter& AbfTestWriter::SetOldFormat(int kind, float version, bool msBinaryFormat) {
    oldKind_ = kind;
    oldVersion_ = version;
    oldMsBinary_ = msBinaryFormat;
    return *this;
}

AbfTestWriter& AbfTestWriter::SetText(size_t offset, const std::string& text, size_t width) {
    std::vector<uint8_t> bytes(width, ' ');
    std::copy_n(text.begin(), std::min(width, text.size()), bytes.begin());
    overrides_.emplace_back(offset, std::move(bytes));
    return *this;
}

// Multiplexed samples of every episode (or of the whole gap-free recording),
// converted with the scaling of `header`. `episodeLengths` receives the samples
// (all channels) of each stored episode.
std::vector<uint8_t> AbfTestWriter::EncodeData(const std::vector<uint8_t>& header,
                                               bool floatSamples,
                                               std::vector<uint32_t>* episodeLengths) const {
    const uint32_t n = static_cast<uint32_t>(channels_.size());
    episodeLengths->clear();
    if (gapFree_ && synch_ == Synch::None)
        episodeLengths->push_back(gapFreeSamples_ * n);
    else if (synch_ == Synch::Explicit)
        for (const auto& entry : synchEntries_)
            episodeLengths->push_back(entry.length);
    else
        episodeLengths->assign(episodes_, samplesPerChannel_ * n);

    std::vector<uint8_t> data;
    const size_t sampleSize = floatSamples ? 4 : 2;
    for (size_t e = 0; e < episodeLengths->size(); ++e) {
        uint32_t length = (*episodeLengths)[e];
        size_t base = data.size();
        data.resize(base + size_t(length) * sampleSize);
        for (uint32_t i = 0; i < length; ++i) {
            int channel = n ? channels_[i % n] : 0;
            double value =
                signal_ ? signal_(static_cast<uint32_t>(e + 1), channel, n ? i / n : i) : 0.0;
            uint8_t* out = data.data() + base + size_t(i) * sampleSize;
            if (floatSamples) {
                float f = static_cast<float>(value);
                std::memcpy(out, &f, 4);
            } else {
                int16_t c = ToCounts(header, channel, value);
                std::memcpy(out, &c, 2);
            }
        }
    }
    return data;
}

std::vector<uint8_t> AbfTestWriter::Build() const {
    return oldKind_ ? BuildOld() : BuildAbf();
}

std::vector<uint8_t> AbfTestWriter::BuildAbf() const {
    std::vector<uint8_t> header = header_;
    const uint32_t n = static_cast<uint32_t>(channels_.size());
    Put<int16_t>(header, AbfOffset::OperationMode, mode_);
    Put<int16_t>(header, AbfOffset::SampleFormat, floatSamples_ ? 1 : 0);
    Put<int16_t>(header, AbfOffset::ChannelCount, static_cast<int16_t>(n));
    for (size_t i = 0; i < 16; ++i)
        Put<int16_t>(header, AbfOffset::SamplingSequence + 2 * i,
                     i < channels_.size() ? channels_[i] : int16_t(-1));
    Put<int32_t>(header, AbfOffset::SamplesPerEpisode,
                 static_cast<int32_t>(samplesPerChannel_ * n));
    Put<int16_t>(header, AbfOffset::SamplesToSkip, skipped_);
    Put<int32_t>(header, AbfOffset::DataFirstBlock, kHeaderSize / kBlock);

    // Apply raw fields first so the data are encoded with the final scaling,
    // then again at the end so they also win over the computed counts.
    auto applyOverrides = [this](std::vector<uint8_t>& h) {
        for (const auto& [offset, bytes] : overrides_)
            if (offset + bytes.size() <= h.size())
                std::copy(bytes.begin(), bytes.end(), h.begin() + long(offset));
    };
    applyOverrides(header);

    std::vector<uint32_t> lengths;
    std::vector<uint8_t> data = EncodeData(header, floatSamples_, &lengths);
    const size_t sampleSize = floatSamples_ ? 4 : 2;
    uint64_t acquired = 0;
    for (uint32_t length : lengths)
        acquired += length;
    Put<int32_t>(header, AbfOffset::AcquiredSamples, static_cast<int32_t>(acquired));
    Put<int32_t>(header, AbfOffset::EpisodeCount, static_cast<int32_t>(lengths.size()));

    std::vector<AbfSynchEntry> entries = synchEntries_;
    if (synch_ == Synch::Auto) {
        float unit = Get<float>(header, AbfOffset::SynchTimeUnit);
        if (unit <= 0)
            unit = Get<float>(header, AbfOffset::FirstInterval);
        double startToStartUs = double(Get<float>(header, AbfOffset::StartToStart)) * 1e6;
        entries.clear();
        for (uint32_t k = 0; k < lengths.size(); ++k)
            entries.push_back(
                {static_cast<uint32_t>(std::llround(k * startToStartUs / unit)), lengths[k]});
    }
    std::vector<uint8_t> file(header);
    auto appendSynchArray = [&] {
        file.resize(RoundUpToBlock(file.size()), 0);
        Put<int32_t>(header, AbfOffset::SynchFirstBlock,
                     static_cast<int32_t>(file.size() / kBlock));
        Put<int32_t>(header, AbfOffset::SynchEntries, static_cast<int32_t>(entries.size()));
        for (const auto& entry : entries) {
            size_t at = file.size();
            file.resize(at + 8);
            std::memcpy(file.data() + at, &entry.start, 4);
            std::memcpy(file.data() + at + 4, &entry.length, 4);
        }
    };
    if (synch_ != Synch::None && synchBeforeData_) {
        appendSynchArray();
        file.resize(RoundUpToBlock(file.size()), 0);
        Put<int32_t>(header, AbfOffset::DataFirstBlock, static_cast<int32_t>(file.size() / kBlock));
    }
    file.resize(file.size() + size_t(skipped_ > 0 ? skipped_ : 0) * sampleSize, 0);
    const size_t dataAt = file.size();
    file.resize(dataAt + data.size());
    std::copy(data.begin(), data.end(), file.begin() + long(dataAt));
    if (synch_ != Synch::None && !synchBeforeData_)
        appendSynchArray();

    if (stimulus_) {
        int16_t dac = Get<int16_t>(header, AbfOffset::ActiveDac);
        size_t d = dac >= 0 && dac < 4 ? size_t(dac) : 0;
        double k = double(Get<float>(header, AbfOffset::DacScaleFactor + 4 * d)) *
                   Get<float>(header, AbfOffset::DacRange) /
                   Get<int32_t>(header, AbfOffset::DacResolution);
        file.resize(RoundUpToBlock(file.size()), 0);
        Put<int32_t>(header, AbfOffset::StimulusFirstBlock,
                     static_cast<int32_t>(file.size() / kBlock));
        Put<int32_t>(header, AbfOffset::StimulusEpisodes, static_cast<int32_t>(episodes_));
        const uint32_t perEpisode = samplesPerChannel_ * n;
        for (uint32_t e = 1; e <= episodes_; ++e)
            for (uint32_t i = 0; i < perEpisode; ++i) {
                double counts = k != 0 ? std::round(stimulus_(e, i) / k) : 0;
                int16_t c = static_cast<int16_t>(std::clamp(counts, -32768.0, 32767.0));
                size_t at = file.size();
                file.resize(at + 2);
                std::memcpy(file.data() + at, &c, 2);
            }
    }

    applyOverrides(header);
    std::copy(header.begin(), header.end(), file.begin());
    return file;
}

// Old-format layout, as the reader's import table expects it: a parameter block
// of 80 floats, a 77-byte comment block and an 80-byte channel block, data from
// block 1 on as 16-bit samples, then the 4-byte synch entries.
std::vector<uint8_t> AbfTestWriter::BuildOld() const {
    const uint32_t n = static_cast<uint32_t>(channels_.size());
    const uint32_t perEpisode = samplesPerChannel_ * n;
    std::vector<uint8_t> params(kOldParameterBytes, 0);
    auto putFloat = [&params](size_t index, double value) {
        Put<float>(params, index * 4, static_cast<float>(value));
    };
    putFloat(0, oldKind_ == 3 ? 1 : 10);
    putFloat(1, mode_);
    putFloat(2, n);
    putFloat(3, perEpisode);
    putFloat(4, episodes_);
    putFloat(5, Get<float>(header_, AbfOffset::FirstInterval));
    putFloat(6, Get<float>(header_, AbfOffset::AdcRange));
    putFloat(7, Get<int32_t>(header_, AbfOffset::AdcResolution));
    putFloat(8, oldVersion_);
    putFloat(9, 1);
    putFloat(12, double(perEpisode) * episodes_);
    putFloat(13, Get<float>(header_, AbfOffset::StartToStart));
    for (size_t j = 0; j < 16; ++j)
        putFloat(14 + j, Get<float>(header_, AbfOffset::ProgrammableGain + 4 * j));

    // The data are encoded with an ABF header of the same scaling.
    std::vector<uint8_t> scaling = header_;
    std::vector<uint32_t> lengths;
    std::vector<uint8_t> data = EncodeData(scaling, false, &lengths);

    std::vector<uint8_t> file(kBlock + data.size(), 0);
    std::copy(data.begin(), data.end(), file.begin() + kBlock);
    if (!oldSynch_.empty()) {
        file.resize(RoundUpToBlock(file.size()), 0);
        putFloat(10, double(file.size() / kBlock));
        putFloat(11, double(oldSynch_.size()));
        for (const auto& entry : oldSynch_) {
            size_t at = file.size();
            file.resize(at + 4);
            std::memcpy(file.data() + at, &entry.e, 2);
            std::memcpy(file.data() + at + 2, &entry.b, 2);
        }
    }

    for (const auto& [offset, bytes] : overrides_)
        if (offset + bytes.size() <= params.size())
            std::copy(bytes.begin(), bytes.end(), params.begin() + long(offset));
    if (oldMsBinary_)
        for (size_t i = 0; i < kOldParameterBytes; i += 4)
            Put<uint32_t>(params, i, ToMsBinary(Get<float>(params, i)));

    // The old format keeps its last kilobyte free of episode data.
    file.resize(file.size() + 1024, 0);

    std::copy(params.begin(), params.end(), file.begin());
    std::fill_n(file.begin() + kOldParameterBytes, kOldCommentBytes, ' ');
    size_t channelBlock = kOldParameterBytes + kOldCommentBytes;
    for (size_t i = 0; i < 16; ++i)
        file[channelBlock + i] = static_cast<uint8_t>(i < channels_.size() ? channels_[i] : -1);
    static_assert(kOldParameterBytes + kOldCommentBytes + kOldChannelBytes <= kBlock);
    return file;
}

void AbfTestWriter::Write(const std::string& path) const {
    std::vector<uint8_t> bytes = Build();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("AbfTestWriter: cannot write " + path);
}
