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
    double g = double(Get<float>(header, AbfOffset::kInstrumentScale + 4 * j)) *
               Get<float>(header, AbfOffset::kProgrammableGain + 4 * j);
    bool conditioner = Get<int16_t>(header, AbfOffset::kConditionerInUse) != 0;
    if (conditioner)
        g *= Get<float>(header, AbfOffset::kConditionerGain + 4 * j);
    if (Get<int16_t>(header, AbfOffset::kAutosampleEnable) != 0 &&
        Get<int16_t>(header, AbfOffset::kAutosampleChannel) == channel)
        g *= Get<float>(header, AbfOffset::kAutosampleGain);
    if (g == 0 || std::isnan(g))
        g = 1;
    double range = Get<float>(header, AbfOffset::kAdcRange);
    double resolution = Get<int32_t>(header, AbfOffset::kAdcResolution);
    double factor = range / g / resolution;
    double offset = Get<float>(header, AbfOffset::kInstrumentOffset + 4 * j);
    if (conditioner)
        offset -= Get<float>(header, AbfOffset::kConditionerOffset + 4 * j);
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

AbfTestWriter::AbfTestWriter() : m_header(kHeaderSize, 0) {
    std::memcpy(m_header.data(), "ABF ", 4);
    SetVersion(1.65f);
    Put<int16_t>(m_header, AbfOffset::kFileKind, 1);
    SetSampleInterval(100);
    SetAdcRange(10, 32768);
    Put<float>(m_header, AbfOffset::kDacRange, 10);
    Put<int32_t>(m_header, AbfOffset::kDacResolution, 32768);
    for (int j = 0; j < 16; ++j)
        SetChannelScaling(j, 1, 1, 0);
    for (size_t j = 0; j < 16; ++j) {
        Put<float>(m_header, AbfOffset::kConditionerGain + 4 * j, 1);
        Put<float>(m_header, AbfOffset::kChannelSetting1178 + 4 * j, 100000);
    }
    for (size_t d = 0; d < 4; ++d)
        Put<float>(m_header, AbfOffset::kDacScaleFactor + 4 * d, 1);
    SetHolding(-80, 0);
    Put<int16_t>(m_header, AbfOffset::kWaveformSource, 1);
    SetStartToStart(1);
    PutText(m_header, AbfOffset::kCreatorName, "TESTWRITER", 16);
    PutText(m_header, AbfOffset::kAdcUnits, "pA", 8);
    PutText(m_header, AbfOffset::kAdcUnits + 8, "mV", 8);
    PutText(m_header, AbfOffset::kDacUnits, "mV", 8);
    m_header[AbfOffset::kMathOperator] = '+';
    m_header[AbfOffset::kMathOperator + 1] = ' ';
}

AbfTestWriter& AbfTestWriter::SetSampleInterval(float firstUs, float secondUs,
                                                int32_t clockChange) {
    Put(m_header, AbfOffset::kFirstInterval, firstUs);
    Put(m_header, AbfOffset::kSecondInterval, secondUs);
    Put(m_header, AbfOffset::kClockChange, clockChange);
    return *this;
}

AbfTestWriter& AbfTestWriter::SetVersion(float version) {
    Put(m_header, AbfOffset::kFileVersion, version);
    Put(m_header, AbfOffset::kHeaderVersion, version);
    return *this;
}

AbfTestWriter& AbfTestWriter::SetHolding(float mV, int dac) {
    return Put(m_header, AbfOffset::kDacHolding + 4 * size_t(dac), mV), *this;
}

AbfTestWriter& AbfTestWriter::SetActiveDac(int16_t dac) {
    return Put(m_header, AbfOffset::kActiveDac, dac), *this;
}

AbfTestWriter& AbfTestWriter::SetStartToStart(float seconds) {
    return Put(m_header, AbfOffset::kStartToStart, seconds), *this;
}

AbfTestWriter& AbfTestWriter::SetEpoch(int index, int16_t type, float initialLevel,
                                       float levelIncrement, int16_t initialDuration,
                                       int16_t durationIncrement) {
    size_t e = static_cast<size_t>(index);
    Put(m_header, AbfOffset::kEpochType + 2 * e, type);
    Put(m_header, AbfOffset::kEpochInitialLevel + 4 * e, initialLevel);
    Put(m_header, AbfOffset::kEpochLevelIncrement + 4 * e, levelIncrement);
    Put(m_header, AbfOffset::kEpochInitialDuration + 2 * e, initialDuration);
    Put(m_header, AbfOffset::kEpochDurationIncrement + 2 * e, durationIncrement);
    return *this;
}

AbfTestWriter& AbfTestWriter::SetAdcRange(float volts, int32_t resolution) {
    Put(m_header, AbfOffset::kAdcRange, volts);
    Put(m_header, AbfOffset::kAdcResolution, resolution);
    return *this;
}

AbfTestWriter& AbfTestWriter::SetChannelScaling(int channel, float instrumentScale,
                                                float programmableGain, float instrumentOffset) {
    size_t j = static_cast<size_t>(channel);
    Put(m_header, AbfOffset::kInstrumentScale + 4 * j, instrumentScale);
    Put(m_header, AbfOffset::kProgrammableGain + 4 * j, programmableGain);
    Put(m_header, AbfOffset::kInstrumentOffset + 4 * j, instrumentOffset);
    return *this;
}

AbfTestWriter& AbfTestWriter::SetUserList(int16_t parameterCode, const std::string& list) {
    Put<int16_t>(m_header, AbfOffset::kUserListEnable, 1);
    Put(m_header, AbfOffset::kUserListParameter, parameterCode);
    PutText(m_header, AbfOffset::kUserList, list, 80);
    return *this;
}

AbfTestWriter& AbfTestWriter::SetGapFree(uint32_t samplesPerChannel, int16_t skipped) {
    m_mode = 3;
    m_gapFree = true;
    m_gapFreeSamples = samplesPerChannel;
    m_skipped = skipped;
    return *this;
}

AbfTestWriter& AbfTestWriter::EnableSynchArray(float synchTimeUnitUs) {
    m_synch = Synch::Auto;
    Put(m_header, AbfOffset::kSynchTimeUnit, synchTimeUnitUs);
    return *this;
}

AbfTestWriter& AbfTestWriter::SetSynchArray(std::vector<AbfSynchEntry> entries,
                                            float synchTimeUnitUs) {
    m_synch = Synch::Explicit;
    m_synchEntries = std::move(entries);
    Put(m_header, AbfOffset::kSynchTimeUnit, synchTimeUnitUs);
    return *this;
}

AbfTestWriter&
AbfTestWriter::SetStimulusSection(std::function<double(uint32_t episode, uint32_t sample)> value) {
    m_stimulus = std::move(value);
    Put<int16_t>(m_header, AbfOffset::kWaveformSource, 2);
    return *this;
}

AbfTestWriter& AbfTestWriter::SetOldFormat(int kind, float version, bool msBinaryFormat) {
    m_oldKind = kind;
    m_oldVersion = version;
    m_oldMsBinary = msBinaryFormat;
    return *this;
}

AbfTestWriter& AbfTestWriter::SetText(size_t offset, const std::string& text, size_t width) {
    std::vector<uint8_t> bytes(width, ' ');
    std::copy_n(text.begin(), std::min(width, text.size()), bytes.begin());
    m_overrides.emplace_back(offset, std::move(bytes));
    return *this;
}

// Multiplexed samples of every episode (or of the whole gap-free recording),
// converted with the scaling of `header`. `episodeLengths` receives the samples
// (all channels) of each stored episode.
std::vector<uint8_t> AbfTestWriter::EncodeData(const std::vector<uint8_t>& header,
                                               bool floatSamples,
                                               std::vector<uint32_t>* episodeLengths) const {
    const uint32_t n = static_cast<uint32_t>(m_channels.size());
    episodeLengths->clear();
    if (m_gapFree && m_synch == Synch::None)
        episodeLengths->push_back(m_gapFreeSamples * n);
    else if (m_synch == Synch::Explicit)
        for (const auto& entry : m_synchEntries)
            episodeLengths->push_back(entry.length);
    else
        episodeLengths->assign(m_episodes, m_samplesPerChannel * n);

    std::vector<uint8_t> data;
    const size_t sampleSize = floatSamples ? 4 : 2;
    for (size_t e = 0; e < episodeLengths->size(); ++e) {
        uint32_t length = (*episodeLengths)[e];
        size_t base = data.size();
        data.resize(base + size_t(length) * sampleSize);
        for (uint32_t i = 0; i < length; ++i) {
            int channel = n ? m_channels[i % n] : 0;
            double value =
                m_signal ? m_signal(static_cast<uint32_t>(e + 1), channel, n ? i / n : i) : 0.0;
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
    return m_oldKind ? BuildOld() : BuildAbf();
}

std::vector<uint8_t> AbfTestWriter::BuildAbf() const {
    std::vector<uint8_t> header = m_header;
    const uint32_t n = static_cast<uint32_t>(m_channels.size());
    Put<int16_t>(header, AbfOffset::kOperationMode, m_mode);
    Put<int16_t>(header, AbfOffset::kSampleFormat, m_floatSamples ? 1 : 0);
    Put<int16_t>(header, AbfOffset::kChannelCount, static_cast<int16_t>(n));
    for (size_t i = 0; i < 16; ++i)
        Put<int16_t>(header, AbfOffset::kSamplingSequence + 2 * i,
                     i < m_channels.size() ? m_channels[i] : int16_t(-1));
    Put<int32_t>(header, AbfOffset::kSamplesPerEpisode,
                 static_cast<int32_t>(m_samplesPerChannel * n));
    Put<int16_t>(header, AbfOffset::kSamplesToSkip, m_skipped);
    Put<int32_t>(header, AbfOffset::kDataFirstBlock, kHeaderSize / kBlock);

    // Apply raw fields first so the data are encoded with the final scaling,
    // then again at the end so they also win over the computed counts.
    auto applyOverrides = [this](std::vector<uint8_t>& h) {
        for (const auto& [offset, bytes] : m_overrides)
            if (offset + bytes.size() <= h.size())
                std::copy(bytes.begin(), bytes.end(), h.begin() + long(offset));
    };
    applyOverrides(header);

    std::vector<uint32_t> lengths;
    std::vector<uint8_t> data = EncodeData(header, m_floatSamples, &lengths);
    const size_t sampleSize = m_floatSamples ? 4 : 2;
    uint64_t acquired = 0;
    for (uint32_t length : lengths)
        acquired += length;
    Put<int32_t>(header, AbfOffset::kAcquiredSamples, static_cast<int32_t>(acquired));
    Put<int32_t>(header, AbfOffset::kEpisodeCount, static_cast<int32_t>(lengths.size()));

    std::vector<AbfSynchEntry> entries = m_synchEntries;
    if (m_synch == Synch::Auto) {
        float unit = Get<float>(header, AbfOffset::kSynchTimeUnit);
        if (unit <= 0)
            unit = Get<float>(header, AbfOffset::kFirstInterval);
        double startToStartUs = double(Get<float>(header, AbfOffset::kStartToStart)) * 1e6;
        entries.clear();
        for (uint32_t k = 0; k < lengths.size(); ++k)
            entries.push_back(
                {static_cast<uint32_t>(std::llround(k * startToStartUs / unit)), lengths[k]});
    }
    std::vector<uint8_t> file(header);
    auto appendSynchArray = [&] {
        file.resize(RoundUpToBlock(file.size()), 0);
        Put<int32_t>(header, AbfOffset::kSynchFirstBlock,
                     static_cast<int32_t>(file.size() / kBlock));
        Put<int32_t>(header, AbfOffset::kSynchEntries, static_cast<int32_t>(entries.size()));
        for (const auto& entry : entries) {
            size_t at = file.size();
            file.resize(at + 8);
            std::memcpy(file.data() + at, &entry.start, 4);
            std::memcpy(file.data() + at + 4, &entry.length, 4);
        }
    };
    if (m_synch != Synch::None && m_synchBeforeData) {
        appendSynchArray();
        file.resize(RoundUpToBlock(file.size()), 0);
        Put<int32_t>(header, AbfOffset::kDataFirstBlock,
                     static_cast<int32_t>(file.size() / kBlock));
    }
    file.resize(file.size() + size_t(m_skipped > 0 ? m_skipped : 0) * sampleSize, 0);
    const size_t dataAt = file.size();
    file.resize(dataAt + data.size());
    std::copy(data.begin(), data.end(), file.begin() + long(dataAt));
    if (m_synch != Synch::None && !m_synchBeforeData)
        appendSynchArray();

    if (m_stimulus) {
        int16_t dac = Get<int16_t>(header, AbfOffset::kActiveDac);
        size_t d = dac >= 0 && dac < 4 ? size_t(dac) : 0;
        double k = double(Get<float>(header, AbfOffset::kDacScaleFactor + 4 * d)) *
                   Get<float>(header, AbfOffset::kDacRange) /
                   Get<int32_t>(header, AbfOffset::kDacResolution);
        file.resize(RoundUpToBlock(file.size()), 0);
        Put<int32_t>(header, AbfOffset::kStimulusFirstBlock,
                     static_cast<int32_t>(file.size() / kBlock));
        Put<int32_t>(header, AbfOffset::kStimulusEpisodes, static_cast<int32_t>(m_episodes));
        const uint32_t perEpisode = m_samplesPerChannel * n;
        for (uint32_t e = 1; e <= m_episodes; ++e)
            for (uint32_t i = 0; i < perEpisode; ++i) {
                double counts = k != 0 ? std::round(m_stimulus(e, i) / k) : 0;
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
    const uint32_t n = static_cast<uint32_t>(m_channels.size());
    const uint32_t perEpisode = m_samplesPerChannel * n;
    std::vector<uint8_t> params(kOldParameterBytes, 0);
    auto putFloat = [&params](size_t index, double value) {
        Put<float>(params, index * 4, static_cast<float>(value));
    };
    putFloat(0, m_oldKind == 3 ? 1 : 10);
    putFloat(1, m_mode);
    putFloat(2, n);
    putFloat(3, perEpisode);
    putFloat(4, m_episodes);
    putFloat(5, Get<float>(m_header, AbfOffset::kFirstInterval));
    putFloat(6, Get<float>(m_header, AbfOffset::kAdcRange));
    putFloat(7, Get<int32_t>(m_header, AbfOffset::kAdcResolution));
    putFloat(8, m_oldVersion);
    putFloat(9, 1);
    putFloat(12, double(perEpisode) * m_episodes);
    putFloat(13, Get<float>(m_header, AbfOffset::kStartToStart));
    for (size_t j = 0; j < 16; ++j)
        putFloat(14 + j, Get<float>(m_header, AbfOffset::kProgrammableGain + 4 * j));

    // The data are encoded with an ABF header of the same scaling.
    std::vector<uint8_t> scaling = m_header;
    std::vector<uint32_t> lengths;
    std::vector<uint8_t> data = EncodeData(scaling, false, &lengths);

    std::vector<uint8_t> file(kBlock + data.size(), 0);
    std::copy(data.begin(), data.end(), file.begin() + kBlock);
    if (!m_oldSynch.empty()) {
        file.resize(RoundUpToBlock(file.size()), 0);
        putFloat(10, double(file.size()) / kBlock); // a whole number of blocks
        putFloat(11, double(m_oldSynch.size()));
        for (const auto& entry : m_oldSynch) {
            size_t at = file.size();
            file.resize(at + 4);
            std::memcpy(file.data() + at, &entry.e, 2);
            std::memcpy(file.data() + at + 2, &entry.b, 2);
        }
    }

    for (const auto& [offset, bytes] : m_overrides)
        if (offset + bytes.size() <= params.size())
            std::copy(bytes.begin(), bytes.end(), params.begin() + long(offset));
    if (m_oldMsBinary)
        for (size_t i = 0; i < kOldParameterBytes; i += 4)
            Put<uint32_t>(params, i, ToMsBinary(Get<float>(params, i)));

    // The old format keeps its last kilobyte free of episode data.
    file.resize(file.size() + 1024, 0);

    std::copy(params.begin(), params.end(), file.begin());
    std::fill_n(file.begin() + kOldParameterBytes, kOldCommentBytes, ' ');
    size_t channelBlock = kOldParameterBytes + kOldCommentBytes;
    for (size_t i = 0; i < 16; ++i)
        file[channelBlock + i] = static_cast<uint8_t>(i < m_channels.size() ? m_channels[i] : -1);
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
