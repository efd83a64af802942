// The loaded recording: traces of one analog-input channel in physical units,
// the time of each sample, the command voltage of each sample and the interval
// between the starts of the first two episodes, and the traces' unit. The file
// is not kept open.
#pragma once

#include "recording/LoadResult.h"
#include "recording/SharedFloatArray.h"

#include <cstdint>
#include <string>
#include <vector>

struct TraceStore {
    std::vector<SharedFloatArray> traces; // element k-1 is trace number k
    std::vector<float> timeAxis;          // microseconds from the episode start
    std::vector<float> commandWaveform;   // mV, episode 1
    float episodeInterval = 0.0f;         // seconds, episode 1 start to episode 2 start
    std::string unit;                     // the traces' unit ("pA"); empty when the file gives none

    // Samples in every trace, the time axis and the command waveform.
    uint32_t SamplesPerTrace() const { return static_cast<uint32_t>(timeAxis.size()); }

    // The one loader of the program: loads `path` into `store` (cleared first):
    // every episode of the analysed channel (CAbfRecording::AnalysedChannel),
    // its unit, the command waveform of episode 1, the sample times and the
    // interval between the starts of episodes 1 and 2. On failure leaves the store empty
    // and returns the reader's error. Nothing is allocated for the traces
    // before the reader has opened the file and given its sizes.
    static LoadResult LoadInto(TraceStore& store, const std::string& path);

    // Appends the traces of a further file of the same protocol (equal samples
    // per trace) to `store`, sharing their arrays, and takes the further file's
    // episode interval; the time axis, command waveform and unit stay. On failure
    // returns the reader's error or Failure::OtherProtocol and leaves the store
    // unchanged. An empty store just loads.
    static LoadResult AppendFrom(TraceStore& store, const std::string& path);
};
