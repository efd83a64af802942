// Ramps from each trace's own protocol, and the per-trace windows the export
// needs when the traces' protocols differ or the ramps come from them.
#pragma once

#include "analysis/PageSettings.h"
#include "recording/TraceStore.h"

#include <cstdint>
#include <optional>
#include <string>

// A ramp as the page shows it: 1-based start and end sample numbers.
struct RampSamples {
    int32_t start = 0;
    int32_t end = 0;
};

// Ramp epoch `number` (from 1) of trace `k`'s own protocol; nullopt, with the
// reason in `why` ("trace 3: its protocol has 1 ramp; ramp 2 is needed"), when
// the protocol has fewer ramps (or the store keeps no protocol per trace).
std::optional<RampSamples> ProtocolRamp(const TraceStore& store, uint32_t k, int32_t number,
                                        std::string& why);

// Ramp 1 or 2 (`which`) of trace `k` by `record`: from the trace's protocol
// when the record says so, else the record's sample numbers.
std::optional<RampSamples> TraceRamp(const TraceStore& store, const AnalysisPageSettings& record,
                                     uint32_t k, int which, std::string& why);

// True when the export must work trace by trace for `record`: its ramps come
// from the protocol, or the traces do not all share one command waveform.
bool NeedsTraceWindows(const TraceStore& store, const AnalysisPageSettings& record);
