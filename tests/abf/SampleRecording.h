// The synthetic recording bundled as examples/sample.abf: a model cell driven
// through a protocol with two voltage ramps.
#pragma once

#include "tests/support/AbfTestWriter.h"

#include <cstdint>

namespace SampleRecording {

constexpr uint32_t kEpisodes = 10;
constexpr uint32_t kSamplesPerChannel = 5000;
constexpr float kIntervalUs = 100; // between multiplexed samples
constexpr double kCapacitancePf = 30;
constexpr double kReversalMv = -30;

// Conductance in episode `episode` (from 1), nS: the current grows over the recording.
double ConductanceNs(uint32_t episode);

// Command voltage (mV) at `sample` (per channel) of any episode.
double CommandMv(uint32_t sample);

// Its slope, mV/ms.
double CommandSlope(uint32_t sample);

// Current without noise, pA.
double ModelCurrentPa(uint32_t episode, uint32_t sample);

// The writer of the whole recording: channel 0 the membrane potential (mV),
// channel 1 the membrane current (pA).
AbfTestWriter Writer();

} // namespace SampleRecording
