// A model whole-cell recording for the analysis tests: current =
// G_k (V - Erev) + C dV/dt under a protocol with two ramps of different slope.
// Ramp 2 falls from +50 to -100 mV over samples 698..1298 (0.25 mV per sample),
// ramp 1 rises from -100 to +50 mV over samples 1348..2548 (0.125 mV per
// sample); 100 us per sample, so the ramps run at -0.0025 and +0.00125 mV/us.
#pragma once

#include "export/ExportChoices.h"
#include "recording/TraceStore.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace model {

constexpr uint32_t kSamples = 4000;
constexpr float kIntervalUs = 100.0f;
constexpr uint32_t kHolding = 62; // samples at holding before the first epoch
constexpr float kHoldingMv = -80.0f;
constexpr uint32_t kRamp2First = 698; // 0-based, last sample of the +50 step
constexpr uint32_t kRamp2Last = 1298;
constexpr uint32_t kRamp1First = 1348;
constexpr uint32_t kRamp1Last = 2548;
constexpr double kRamp1Slope = 0.125 / 100.0; // mV per us
constexpr double kRamp2Slope = -0.25 / 100.0;
constexpr double kErev = -20.0; // mV

// Command voltage (mV) and its rate of change (mV/us) at a 0-based sample.
double Voltage(uint32_t i);
double VoltageRate(uint32_t i);

struct Cell {
    double conductance; // pA per mV (nS)
    double capacitance; // pA us per mV (fF)
};

// Membrane current (pA) of `cell` at sample i.
double Current(const Cell& cell, uint32_t i);

// An in-memory store of `traceCount` traces of `samples` samples: time
// i * kIntervalUs, command voltage command(i), sample i of trace k current(k, i).
TraceStore MakeMemoryStore(uint32_t traceCount, uint32_t samples,
                           const std::function<double(uint32_t)>& command,
                           const std::function<double(uint32_t, uint32_t)>& current,
                           float episodeIntervalS = 5.0f);

// An in-memory store of one trace per cell, without quantisation
// (ModelCellStore.cpp; link the recording library).
TraceStore MakeStore(const std::vector<Cell>& cells, float episodeIntervalS = 5.0f);

// The same protocol written as an ABF file with one episode per cell, the
// command generated from epochs, the current quantised to 1/16 pA in 16-bit
// samples. With `twoChannels` the current is on channel 1 and channel 0 holds
// a decoy (a constant 1000 pA); otherwise the current is on channel 0. Episodes
// start every `startToStartS` seconds.
void WriteModelRecording(const std::string& path, const std::vector<Cell>& cells,
                         bool twoChannels = true, float startToStartS = 5.0f);

// A recording whose ramps move from episode to episode: the first step grows by
// `shiftPerEpisode` samples each episode, so episode k's ramps lie
// (k - 1) x shiftPerEpisode samples later. The current (pA) is on channel 0,
// the membrane potential (mV) on channel 1; 1/16 pA per count.
void WriteMovingRampRecording(const std::string& path, const std::vector<Cell>& cells,
                              uint32_t shiftPerEpisode);

// The half-open window of the samples from `first` to `last` whose voltage lies
// within [low, high] mV, found by a plain scan (rising or falling ramp).
SampleWindow WindowWithin(const std::vector<float>& command, uint32_t first, uint32_t last,
                          float low, float high);

} // namespace model
