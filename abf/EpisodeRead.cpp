// Reading one channel of one episode in physical units.
#include "abf/Abf.h"
#include "abf/AbfInternal.h"

#include <cstring>
#include <new>
#include <vector>

int AbfLocateEpisode(AbfFile* file, uint32_t episode, uint32_t* length, uint64_t* offset) {
    if (episode < 1 || episode > file->episodeCount)
        return ABF_EEPISODERANGE;
    if (file->hasSynchArray) {
        SynchEntry entry;
        if (!file->synch->Get(episode - 1, &entry))
            return ABF_EREADDATA;
        *length = entry.length;
        *offset = entry.offset;
        return 0;
    }
    *length = file->samplesPerEpisode;
    if (episode == file->episodeCount && file->lastEpisodeSamples)
        *length = file->lastEpisodeSamples;
    *offset = uint64_t(episode - 1) * file->samplesPerEpisode * file->sampleSize;
    return 0;
}

int AbfReadRawEpisode(AbfFile* file, uint32_t episode, void* buffer, uint32_t* length) {
    uint64_t offset;
    if (int rc = AbfLocateEpisode(file, episode, length, &offset))
        return rc;
    if (*length > file->samplesPerEpisode)
        return ABF_EREADDATA;
    const size_t bytes = size_t(*length) * file->sampleSize;
    const size_t total = size_t(file->samplesPerEpisode) * file->sampleSize;
    if (!AbfReadAt(file->fd, file->dataStart + offset, buffer, bytes))
        return ABF_EREADDATA;
    std::memset(static_cast<char*>(buffer) + bytes, 0, total - bytes);
    return 0;
}

namespace {

// Converts `count` 16-bit counts lying at the start of `buffer` in place into
// floats. Runs from the last sample to the first so that no count is
// overwritten before it is read.
void ScaleInPlace(float* buffer, uint32_t count, double factor, double offset) {
    const unsigned char* raw = reinterpret_cast<const unsigned char*>(buffer);
    for (uint32_t i = count; i-- > 0;) {
        int16_t n;
        std::memcpy(&n, raw + 2 * size_t(i), 2);
        buffer[i] = static_cast<float>(n * factor + offset);
    }
}

int ReadChannel(AbfFile* file, const AbfHeader& scaling, int channel, uint32_t episode,
                float* buffer, uint32_t* sampleCount);

// The computed channel: its two source channels combined by its operator.
int ReadMathChannel(AbfFile* file, const AbfHeader& scaling, uint32_t episode, float* buffer,
                    uint32_t* sampleCount) {
    const AbfHeader& h = file->header;
    uint32_t position;
    if (!AbfChannelPosition(h, h.mathChannelA, &position) ||
        !AbfChannelPosition(h, h.mathChannelB, &position))
        return ABF_EBADMATHCHANNEL;
    const uint32_t perChannel = file->samplesPerEpisode / file->channels;
    std::vector<float> second(perChannel);
    uint32_t count = 0;
    if (int rc = ReadChannel(file, scaling, h.mathChannelA, episode, buffer, &count))
        return rc;
    if (int rc = ReadChannel(file, scaling, h.mathChannelB, episode, second.data(), &count))
        return rc;
    const bool reversed = h.mathExpression == 1; // expression 1: B op A
    for (uint32_t i = 0; i < perChannel; ++i) {
        const double a = reversed ? second[i] : buffer[i];
        const double b = reversed ? buffer[i] : second[i];
        double v;
        switch (h.mathOperator[0]) {
        case '-':
            v = a - b;
            break;
        case '*':
            v = a * b;
            break;
        case '/':
            v = b != 0 ? a / b : 0;
            break;
        default:
            v = a + b;
            break;
        }
        buffer[i] = static_cast<float>(v);
    }
    *sampleCount = count;
    return 0;
}

int ReadChannel(AbfFile* file, const AbfHeader& scaling, int channel, uint32_t episode,
                float* buffer, uint32_t* sampleCount) {
    if (episode < 1 || episode > file->episodeCount)
        return ABF_EEPISODERANGE;
    if (channel < 0) {
        if (!file->header.mathChannelEnable)
            return ABF_EINVALIDCHANNEL;
        return ReadMathChannel(file, scaling, episode, buffer, sampleCount);
    }
    uint32_t position;
    if (!AbfChannelPosition(file->header, channel, &position))
        return ABF_EINVALIDCHANNEL;
    float factor = 1, offset = 0;
    AbfAdcScaling(scaling, channel, &factor, &offset);
    const uint32_t n = file->channels;
    const uint32_t perEpisode = file->samplesPerEpisode;
    const bool floats = file->sampleSize == 4;

    if (n == 1) {
        uint32_t length = 0;
        if (int rc = AbfReadRawEpisode(file, episode, buffer, &length))
            return rc;
        if (!floats)
            ScaleInPlace(buffer, perEpisode, factor, offset);
        *sampleCount = length;
        return 0;
    }

    if (file->cache.empty())
        file->cache.resize(size_t(perEpisode) * file->sampleSize / 2);
    if (file->cachedEpisode != int64_t(episode)) {
        uint32_t length = 0;
        if (int rc = AbfReadRawEpisode(file, episode, file->cache.data(), &length)) {
            file->cachedEpisode = -1;
            return rc;
        }
        file->cachedEpisode = episode;
        file->cachedLength = length;
    }

    // A scan count that is not a whole multiple of the channel count leaves a
    // partial scan at the end; it is not part of any channel's samples.
    const uint32_t perChannel = perEpisode / n;
    if (!floats) {
        const double f = factor, o = offset;
        const int16_t* counts = file->cache.data();
        for (uint32_t i = 0, at = position; i < perChannel; ++i, at += n)
            buffer[i] = static_cast<float>(counts[at] * f + o);
    } else {
        const uint32_t stored =
            file->cachedLength > position ? (file->cachedLength - position + n - 1) / n : 0;
        const uint32_t count = stored < perChannel ? stored : perChannel;
        const int16_t* raw = file->cache.data();
        for (uint32_t i = 0; i < count; ++i)
            std::memcpy(&buffer[i], raw + (size_t(position) + size_t(i) * n) * 2, 4);
    }
    *sampleCount = file->cachedLength / n;
    return 0;
}

} // namespace

bool AbfReadEpisodeChannel(int handle, const AbfHeader* header, int channel, uint32_t episode,
                           float* buffer, uint32_t* sampleCount, int* error) {
    AbfFile* file = AbfGetOpenFile(handle, error);
    if (!file)
        return false;
    if (!buffer)
        return AbfFail(error, ABF_EREADDATA);
    uint32_t count = 0;
    int rc;
    try {
        rc = ReadChannel(file, header ? *header : file->header, channel, episode, buffer, &count);
    } catch (const std::bad_alloc&) {
        file->cache.clear();
        file->cache.shrink_to_fit();
        file->cachedEpisode = -1;
        rc = ABF_EOUTOFMEMORY;
    }
    if (rc)
        return AbfFail(error, rc);
    if (sampleCount)
        *sampleCount = count;
    return true;
}
