#include "tests/support/ModelCell.h"

namespace model {

TraceStore MakeMemoryStore(uint32_t traceCount, uint32_t samples,
                           const std::function<double(uint32_t)>& command,
                           const std::function<double(uint32_t, uint32_t)>& current,
                           float episodeIntervalS) {
    TraceStore store;
    for (uint32_t i = 0; i < samples; ++i) {
        store.timeAxis.push_back(static_cast<float>(i) * kIntervalUs);
        store.commandWaveform.push_back(static_cast<float>(command(i)));
    }
    for (uint32_t k = 0; k < traceCount; ++k) {
        SharedFloatArray trace = SharedFloatArray::Allocate(samples);
        for (uint32_t i = 0; i < samples; ++i)
            trace[i] = static_cast<float>(current(k, i));
        store.traces.push_back(trace);
    }
    store.episodeInterval = episodeIntervalS;
    return store;
}

TraceStore MakeStore(const std::vector<Cell>& cells, float episodeIntervalS) {
    return MakeMemoryStore(
        static_cast<uint32_t>(cells.size()), kSamples, Voltage,
        [&](uint32_t k, uint32_t i) { return Current(cells[k], i); }, episodeIntervalS);
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
