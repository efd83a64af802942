#include "tests/support/ModelCell.h"

namespace model {

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
