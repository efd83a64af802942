// The command waveform of an episode: generated from the epochs of the
// protocol, or read from the stimulus file section.
#include "abf/Abf.h"
#include "abf/AbfInternal.h"
#include "abf/Protocol.h"

#include <algorithm>
#include <new>
#include <vector>

namespace {

// Walks the multiplexed samples of one episode and keeps every channel-count-th
// value from `position` on: the one analog-input channel's view of the
// waveform, without a buffer for the whole episode. Writes at most
// `perChannel` values, and nothing past `total` multiplexed samples.
class ChannelSink {
public:
    ChannelSink(float* out, uint64_t total, uint32_t channels, uint32_t position)
        : m_out(out), m_total(total), m_channels(channels), m_position(position),
          m_perChannel(total / channels) {}

    uint64_t Remaining() const { return m_total - m_at; }

    void Constant(double value, uint64_t count) {
        const float v = static_cast<float>(value);
        const uint64_t end = m_at + std::min(count, Remaining());
        for (uint64_t j = FirstOwn(); j < end; j += m_channels)
            Put(j, v);
        m_at = end;
    }

    // `count` samples from start + step to `last`.
    void Ramp(double start, double last, uint64_t count) {
        const double step = (last - start) / double(count);
        const uint64_t first = m_at;
        const uint64_t end = m_at + std::min(count, Remaining());
        for (uint64_t j = FirstOwn(); j < end; j += m_channels) {
            const uint64_t i = j - first + 1;
            Put(j, static_cast<float>(i == count ? last : start + step * double(i)));
        }
        m_at = end;
    }

private:
    uint64_t FirstOwn() const {
        const uint64_t phase = m_at % m_channels;
        return m_at + (m_position + m_channels - phase) % m_channels;
    }
    void Put(uint64_t j, float v) {
        const uint64_t index = j / m_channels;
        if (index < m_perChannel)
            m_out[index] = v;
    }

    float* m_out;
    uint64_t m_total;
    uint64_t m_channels;
    uint64_t m_position;
    uint64_t m_perChannel;
    uint64_t m_at = 0;
};

// Generates the epoch waveform of `episode` for analog-input `channel`.
// Returns 0 or the header error describing why it cannot.
int GenerateEpochs(const AbfHeader& h, int16_t fileKind, int channel, uint32_t episode,
                   float* out) {
    uint32_t position;
    if (episode < 1 || h.episodeCount < 0 || episode > uint32_t(h.episodeCount))
        return ABF_HEEPOCHNOTPRESENT;
    if (!AbfChannelPosition(h, channel, &position) || h.samplingSequence[position] < 0)
        return ABF_HECHANNELNOTSAMPLED;
    const int dac = h.activeDacChannel;
    if (dac < 0 || dac >= int(ABF_MAXDACS) || h.samplesPerEpisode < h.channelCount)
        return ABF_HENOWAVEFORM;
    const uint32_t n = uint32_t(h.channelCount);
    const uint64_t total = uint64_t(h.samplesPerEpisode);
    ChannelSink sink(out, total, n, position);

    const uint64_t holding = AbfFirstHoldingSamples(h, fileKind);

    const double hold = h.dacHoldingLevel[dac];
    const double initial = AbfStartingLevel(h, episode);

    sink.Constant(initial, holding);
    double previous = initial;
    for (int e = 0; e < int(ABF_MAXEPOCHS); ++e) {
        if (h.epochType[e] == 0)
            continue;
        const int64_t duration = AbfEpochDuration(h, e, episode);
        if (duration < 0)
            return ABF_HENOWAVEFORM; // a duration made negative by its increments
        const uint64_t count = std::min(uint64_t(duration), total) * n;
        const double level = AbfEpochLevel(h, e, episode);
        if (count > 0) {
            if (h.epochType[e] == 1)
                sink.Constant(level, count);
            else
                sink.Ramp(previous, level, count);
        }
        previous = level;
    }
    const double end = h.interEpisodeLevel == 0 ? hold : previous;
    sink.Constant(end, sink.Remaining());
    return 0;
}

int ReadStimulusEpisode(int handle, const AbfHeader& h, int channel, uint32_t episode, float* out) {
    AbfFile* file = AbfGetOpenFile(handle, nullptr);
    if (!file)
        return ABF_EBADFILEINDEX;
    uint32_t position;
    if (!AbfChannelPosition(h, channel, &position) || h.samplingSequence[position] < 0)
        return ABF_EINVALIDCHANNEL;
    float factor;
    if (!AbfDacFactor(h, &factor))
        return ABF_EBADWAVEFORM;
    if (h.stimulusFirstBlock < 1 || h.stimulusEpisodeCount < 1 || episode < 1 ||
        episode > uint32_t(h.stimulusEpisodeCount) || h.samplesPerEpisode < h.channelCount)
        return ABF_EREADDACEPISODE;
    const uint64_t perEpisode = uint64_t(h.samplesPerEpisode);
    const uint64_t offset =
        uint64_t(h.stimulusFirstBlock) * ABF_BLOCKSIZE + (episode - 1) * perEpisode * 2;
    if (offset + perEpisode * 2 > file->fileSize)
        return ABF_EREADDACEPISODE; // checked before the buffer is sized by it
    std::vector<int16_t> raw(perEpisode);
    if (!AbfReadAt(file->fd, offset, raw.data(), perEpisode * 2))
        return ABF_EREADDACEPISODE;
    const uint32_t n = uint32_t(h.channelCount);
    const uint64_t perChannel = perEpisode / n;
    for (uint64_t i = 0; i < perChannel; ++i)
        out[i] = static_cast<float>(raw[position + i * n] * double(factor));
    return 0;
}

} // namespace

bool AbfGetCommandWaveform(int handle, const AbfHeader* header, int channel, uint32_t episode,
                           float* buffer, int* error) {
    if (!header) {
        AbfFile* file = AbfGetOpenFile(handle, error);
        if (!file)
            return false;
        header = &file->header;
    }
    if (!buffer)
        return AbfFail(error, ABF_EBADWAVEFORM);
    try {
        switch (header->waveformSource) {
        case 0:
            return AbfFail(error, ABF_ENOWAVEFORM);
        case 2:
            if (int rc = ReadStimulusEpisode(handle, *header, channel, episode, buffer))
                return AbfFail(error, rc);
            return true;
        case 1:
            if (GenerateEpochs(*header, header->fileKind, channel, episode, buffer) != 0)
                return AbfFail(error, ABF_EBADWAVEFORM);
            return true;
        default:
            return AbfFail(error, ABF_EBADWAVEFORM);
        }
    } catch (const std::bad_alloc&) {
        return AbfFail(error, ABF_EOUTOFMEMORY);
    }
}
