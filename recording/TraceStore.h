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

    // Loads `path` into `store` (cleared first): every episode of analog-input
    // channel 1 (channel 0 when the file did not sample channel 1), the command
    // waveform of episode 1, the sample times and the interval between the
    // starts of episodes 1 and 2. On failure shows the load error message
    // ("Error Reading Axon Data") through the message interface, leaves the
    // store empty and returns false. Nothing is allocated for the traces before
    // the reader has opened the file and given its sizes.
    static bool LoadInto(TraceStore& store, const std::string& path);

    // Appends the traces of a further file of the same protocol (equal samples
    // per trace) to `store`, sharing their arrays, and takes the further file's
    // episode interval; the time axis and command waveform stay. On failure
    // shows the load error or the "not the same protocol" message ("Error: Add
    // Data Failed") and leaves the store unchanged. An empty store just loads.
    static bool AppendFrom(TraceStore& store, const std::string& path);
};
