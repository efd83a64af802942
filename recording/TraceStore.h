// The loaded recording: traces of one analog-input channel in physical units,
// the time of each sample, the command voltage of each sample and the interval
// between the starts of the first two episodes. The file is not kept open.
#pragma once

#include "recording/SharedFloatArray.h"

#include <cstdint>
#include <string>
#include <vector>

struct TraceStore {
    std::vector<SharedFloatArray> traces;  // element k-1 is trace number k
    std::vector<float> timeAxis;           // microseconds from the episode start
    std::vector<float> commandWaveform;    // mV, episode 1
    float episodeInterval = 0.0f;          // seconds, episode 1 start to episode 2 start

    // Samples in every trace, the time axis and the command waveform.
    uint32_t samplesPerTrace() const { return static_cast<uint32_t>(timeAxis.size()); }

    // Loads `path` into `store` (cleared first). On failure shows the load error
    // message through the message interface and returns false; the store may
    // then be empty or partly filled.
    static bool LoadInto(TraceStore& store, const std::string& path);

    // Appends the traces of a further file of the same protocol (equal samples
    // per trace) to `store`. On failure shows the load error or the
    // "not the same protocol" message and leaves the store unchanged.
    static bool AppendFrom(TraceStore& store, const std::string& path);
};
