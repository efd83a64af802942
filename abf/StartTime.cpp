// When each episode started.
#include "abf/Abf.h"
#include "abf/AbfInternal.h"
#include "abf/Protocol.h"

#include <cmath>

namespace {

// Milliseconds in synch time units, as the acquisition software rounds them:
// add 0.5, truncate to 64 bits, keep the low 32.
uint32_t ToSynchUnits(double milliseconds, double unitUs) {
    double units = milliseconds / (unitUs * 0.001) + 0.5;
    if (!(units >= 0) || !std::isfinite(units))
        return 0;
    units = std::fmod(units, 18446744073709551616.0);
    return uint32_t(uint64_t(units));
}

double SynchUnit(const AbfHeader& h) {
    return h.synchTimeUnit > 0 ? double(h.synchTimeUnit) : double(h.firstSampleInterval);
}

} // namespace

double AbfStartToStartUs(const AbfHeader& h, uint32_t episode) {
    const int64_t p = h.samplesPerEpisode;
    const int64_t n = h.channelCount >= 1 ? h.channelCount : 1;
    const double d1 = h.firstSampleInterval, d2 = h.secondSampleInterval;
    const bool episodic = h.operationMode == ABF_MODE_EPISODIC;
    int64_t clockChange = p;
    if (!(d2 == 0 || d2 == d1 || !episodic)) {
        clockChange = h.clockChangeSample < 1 ? p / 2 : h.clockChangeSample;
        clockChange -= clockChange % n;
    }
    const double duration = double(clockChange) * d1 + double(p - clockChange) * d2;

    double leak = 0;
    if (h.leakSubtractionEnable && episodic) {
        const double d = duration / 1000.0;
        const double w = h.leakMinimumInterval;
        leak = ((h.leakSubSweepCount - 1) * std::max(w, d) + 2.0 * h.leakSettlingTime + d) * 1000.0;
    }
    double train = 0;
    if (h.conditioningEnable && episodic)
        train = (double(h.conditioningStepDuration) + h.conditioningBaselineDuration) * 1000.0 *
                    h.conditioningPulseCount +
                AbfPostTrainDuration(h, episode) * 1000.0;
    return std::max(double(h.episodeStartToStart) * 1e6, duration + leak + train);
}

bool AbfGetEpisodeStartTime(int handle, const AbfHeader* header, int channel, uint32_t episode,
                            double* startMs, int* error) {
    AbfFile* file = AbfGetOpenFile(handle, error);
    if (!file)
        return false;
    if (episode < 1 || episode > file->episodeCount)
        return AbfFail(error, ABF_EEPISODERANGE);
    const AbfHeader& h = header ? *header : file->header;
    const double unit = SynchUnit(h);

    uint32_t start;
    if (file->hasSynchArray) {
        SynchEntry entry;
        if (!file->synch->Get(episode - 1, &entry))
            return AbfFail(error, ABF_EREADDATA);
        start = entry.start;
    } else if (h.operationMode == ABF_MODE_EPISODIC) {
        start = ToSynchUnits((episode - 1) * AbfStartToStartUs(h, episode) * 0.001, unit);
    } else {
        start = file->samplesPerEpisode * (episode - 1);
    }

    double ms = 0.0;
    if (start != ABF_NOSTART) {
        ms = start * unit * 0.001;
        uint32_t position;
        if (!AbfChannelPosition(file->header, channel, &position))
            return AbfFail(error, ABF_EINVALIDCHANNEL);
        ms += position * double(h.firstSampleInterval) * 0.001;
    }
    if (startMs)
        *startMs = ms;
    return true;
}
