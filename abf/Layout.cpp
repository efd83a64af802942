// Where things lie in a file and how raw counts become physical values, with
// every count and offset of the header checked before it is trusted.
#include "abf/Abf.h"
#include "abf/AbfInternal.h"

#include <cerrno>
#include <cmath>
#include <unistd.h>

int32_t AbfClampToInt32(double value) {
    if (std::isnan(value))
        return 0;
    if (value <= -2147483648.0)
        return INT32_MIN;
    if (value >= 2147483647.0)
        return INT32_MAX;
    return static_cast<int32_t>(value);
}

bool AbfReadAt(int fd, uint64_t offset, void* buffer, size_t size) {
    char* into = static_cast<char*>(buffer);
    size_t done = 0;
    while (done < size) {
        ssize_t got = pread(fd, into + done, size - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        done += static_cast<size_t>(got);
    }
    return true;
}

uint32_t AbfSampleSize(const AbfHeader& header) {
    return header.sampleFormat != 0 ? 4 : 2;
}

uint64_t AbfDataStart(const AbfHeader& header) {
    uint64_t start =
        uint64_t(header.dataFirstBlock > 0 ? header.dataFirstBlock : 0) * ABF_BLOCKSIZE;
    if (header.operationMode == ABF_MODE_GAPFREE && header.samplesToSkip > 0)
        start += uint64_t(header.samplesToSkip) * AbfSampleSize(header);
    return start;
}

bool AbfChannelPosition(const AbfHeader& header, int channel, uint32_t* position) {
    if (header.channelCount < 1 || header.channelCount > int(ABF_MAXCHANNELS) || channel < 0)
        return false;
    for (int i = 0; i < header.channelCount; ++i)
        if (header.samplingSequence[i] == channel) {
            *position = uint32_t(i);
            return true;
        }
    return false;
}

bool AbfAdcScaling(const AbfHeader& h, int channel, float* factor, float* offset) {
    if (channel < 0 || channel >= int(ABF_MAXCHANNELS))
        return false;
    const size_t j = size_t(channel);
    double g = double(h.instrumentScaleFactor[j]) * double(h.programmableGain[j]);
    if (h.conditionerInUse)
        g *= double(h.conditionerGain[j]);
    if (h.autosampleEnable && h.autosampleAdcChannel == channel)
        g *= double(h.autosampleAdditionalGain);
    if (g == 0 || std::isnan(g))
        g = 1;
    *factor = static_cast<float>(double(h.adcRange) / g / double(h.adcResolution));
    double o = double(h.instrumentOffset[j]);
    if (h.conditionerInUse)
        o -= double(h.conditionerOffset[j]);
    *offset = static_cast<float>(o);
    return true;
}

namespace {

bool PositiveFinite(double value) {
    return std::isfinite(value) && value > 0;
}

// The gains of physical channel `j` that its scaling multiplies.
bool ChannelGainsValid(const AbfHeader& h, size_t j) {
    if (!PositiveFinite(h.instrumentScaleFactor[j]) || !PositiveFinite(h.programmableGain[j]))
        return false;
    if (h.conditionerInUse && !PositiveFinite(h.conditionerGain[j]))
        return false;
    if (h.autosampleEnable && h.autosampleAdcChannel == int(j) &&
        !PositiveFinite(h.autosampleAdditionalGain))
        return false;
    return std::isfinite(h.instrumentOffset[j]) &&
           (!h.conditionerInUse || std::isfinite(h.conditionerOffset[j]));
}

} // namespace

int AbfValidateScaling(const AbfHeader& h) {
    if (!PositiveFinite(h.adcRange) || h.adcResolution < 1)
        return ABF_EINVALIDFILE;
    for (int i = 0; i < h.channelCount && i < int(ABF_MAXCHANNELS); ++i) {
        const int channel = h.samplingSequence[i];
        if (channel < 0 || channel >= int(ABF_MAXCHANNELS))
            continue; // not a physical channel; the layout check has its say
        if (!ChannelGainsValid(h, size_t(channel)))
            return ABF_EINVALIDFILE;
        float factor = 0, offset = 0;
        AbfAdcScaling(h, channel, &factor, &offset);
        // The largest count of a 16-bit sample must still give a finite value.
        const float fullScale = static_cast<float>(32768.0 * double(factor) + double(offset));
        if (!PositiveFinite(factor) || !std::isfinite(fullScale) ||
            !std::isfinite(static_cast<float>(-32768.0 * double(factor) + double(offset))))
            return ABF_EINVALIDFILE;
    }
    return 0;
}

bool AbfDacFactor(const AbfHeader& h, float* factor) {
    if (h.activeDacChannel < 0 || h.activeDacChannel >= int(ABF_MAXDACS))
        return false;
    *factor = static_cast<float>(double(h.dacScaleFactor[h.activeDacChannel]) * double(h.dacRange) /
                                 double(h.dacResolution));
    return true;
}

int AbfValidateLayout(const AbfHeader& h, uint64_t fileSize) {
    if (h.channelCount < 1 || h.channelCount > int(ABF_MAXCHANNELS))
        return ABF_EINVALIDFILE;
    for (int i = 0; i < h.channelCount; ++i)
        if (h.samplingSequence[i] < 0 || h.samplingSequence[i] >= int(ABF_MAXCHANNELS))
            return ABF_EINVALIDFILE;
    if (h.dataFirstBlock < 0 || (h.operationMode == ABF_MODE_GAPFREE && h.samplesToSkip < 0))
        return ABF_EINVALIDFILE;
    const uint64_t dataStart = AbfDataStart(h);
    if (dataStart > fileSize)
        return ABF_EREADDATA;
    const uint64_t available = fileSize - dataStart;
    const uint64_t sampleSize = AbfSampleSize(h);

    if (h.synchEntryCount > 0) {
        const uint64_t entryBytes = h.fileKind == ABF_KIND_ABF ? 8 : 4;
        if (uint64_t(h.synchFirstBlock) * ABF_BLOCKSIZE + uint64_t(h.synchEntryCount) * entryBytes >
            fileSize)
            return ABF_EBADSYNCH;
    }

    const bool continuous =
        h.operationMode == ABF_MODE_GAPFREE ||
        (h.fileKind == ABF_KIND_ABF && h.operationMode == ABF_MODE_VARLENEVENTS);
    if (continuous) {
        if (uint64_t(h.acquiredSampleCount) * sampleSize > available)
            return ABF_EREADDATA;
    } else {
        if (h.samplesPerEpisode < h.channelCount)
            return ABF_EINVALIDFILE;
        if (uint64_t(h.samplesPerEpisode) * sampleSize > available)
            return ABF_EREADDATA;
    }
    return 0;
}
