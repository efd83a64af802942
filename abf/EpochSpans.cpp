// Where each epoch of an episode's epoch waveform lies in one channel's
// samples: the same walk as the waveform's generation, keeping positions
// instead of values.
#include "abf/Abf.h"
#include "abf/AbfInternal.h"
#include "abf/Protocol.h"

#include <algorithm>

namespace {

// The samples of the channel at scan position `position` whose multiplexed
// index lies in [begin, end): first index and count (per channel).
void ChannelRange(uint64_t begin, uint64_t end, uint64_t channels, uint64_t position,
                  uint64_t perChannel, AbfEpochSpan& span) {
    auto firstAtOrAfter = [&](uint64_t j) {
        return j <= position ? 0 : (j - position + channels - 1) / channels;
    };
    const uint64_t first = std::min(firstAtOrAfter(begin), perChannel);
    const uint64_t last = std::min(firstAtOrAfter(end), perChannel); // exclusive
    span.first = uint32_t(first);
    span.count = uint32_t(last > first ? last - first : 0);
}

} // namespace

bool AbfGetEpochSpans(const AbfHeader* header, int channel, uint32_t episode, AbfEpochSpan* spans,
                      int* count, int* error) {
    if (count)
        *count = 0;
    if (!header || !spans || !count)
        return AbfFail(error, ABF_EBADWAVEFORM);
    const AbfHeader& h = *header;
    if (h.waveformSource == 0)
        return AbfFail(error, ABF_ENOWAVEFORM);
    if (h.waveformSource == 2)
        return true; // a stimulus file section has no epochs
    uint32_t position;
    if (h.waveformSource != 1 || episode < 1 || h.episodeCount < 0 ||
        episode > uint32_t(h.episodeCount) || !AbfChannelPosition(h, channel, &position) ||
        h.activeDacChannel < 0 || h.activeDacChannel >= int(ABF_MAXDACS) ||
        h.samplesPerEpisode < h.channelCount)
        return AbfFail(error, ABF_EBADWAVEFORM);
    const uint64_t n = uint64_t(h.channelCount);
    const uint64_t total = uint64_t(h.samplesPerEpisode);
    const uint64_t perChannel = total / n;

    uint64_t at = std::min(AbfFirstHoldingSamples(h, h.fileKind), total);
    double previous = AbfStartingLevel(h, episode);
    int found = 0;
    for (int e = 0; e < int(ABF_MAXEPOCHS); ++e) {
        if (h.epochType[e] == 0)
            continue;
        const int64_t duration = AbfEpochDuration(h, e, episode);
        if (duration < 0)
            return AbfFail(error, ABF_EBADWAVEFORM);
        const uint64_t samples = std::min(std::min(uint64_t(duration), total) * n, total - at);
        AbfEpochSpan& span = spans[found++];
        span.epoch = e;
        span.type = h.epochType[e] == 1 ? 1 : 2; // every other type is generated as a ramp
        span.startLevel = previous;
        span.level = AbfEpochLevel(h, e, episode);
        ChannelRange(at, at + samples, n, position, perChannel, span);
        at += samples;
        previous = span.level;
    }
    *count = found;
    return true;
}
