#include "tests/export_core/ModelCell.h"

namespace model {

double Voltage(uint32_t i) {
    if (i < kHolding)
        return kHoldingMv;
    if (i <= kRamp2First)
        return 50.0;
    if (i <= kRamp2Last)
        return 50.0 - 0.25 * (i - kRamp2First);
    if (i <= kRamp1First)
        return -100.0;
    if (i <= kRamp1Last)
        return -100.0 + 0.125 * (i - kRamp1First);
    return kHoldingMv;
}

double VoltageRate(uint32_t i) {
    if (i > kRamp2First && i <= kRamp2Last)
        return kRamp2Slope;
    if (i > kRamp1First && i <= kRamp1Last)
        return kRamp1Slope;
    return 0.0;
}

double Current(const Cell& cell, uint32_t i) {
    return cell.conductance * (Voltage(i) - kErev) + cell.capacitance * VoltageRate(i);
}

TraceStore MakeStore(const std::vector<Cell>& cells, float episodeIntervalS) {
    TraceStore store;
    for (uint32_t i = 0; i < kSamples; ++i) {
        store.timeAxis.push_back(static_cast<float>(i) * kIntervalUs);
        store.commandWaveform.push_back(static_cast<float>(Voltage(i)));
    }
    for (const Cell& cell : cells) {
        SharedFloatArray trace = SharedFloatArray::Allocate(kSamples);
        for (uint32_t i = 0; i < kSamples; ++i)
            trace[i] = static_cast<float>(Current(cell, i));
        store.traces.push_back(trace);
    }
    store.episodeInterval = episodeIntervalS;
    return store;
}

SampleWindow WindowWithin(const std::vector<float>& command, uint32_t first, uint32_t last,
                          float low, float high) {
    uint32_t i = first;
    while (i < last && !(command[i] >= low && command[i] <= high))
        ++i;
    uint32_t j = i;
    while (j < last && command[j] >= low && command[j] <= high)
        ++j;
    return {i, j};
}

} // namespace model
