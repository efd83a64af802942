// Helpers shared by the result builders (not part of the export's interface).
#pragma once

#include "export/ResultTable.h"
#include "recording/TraceStore.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace builders {

// Samples that may be read from the time axis and the command waveform (and,
// by the store's invariant, from every trace).
uint32_t ReadableSamples(const TraceStore& store);

// The selected indices that name a trace of the store, in list order.
std::vector<uint32_t> ValidTraces(const TraceStore& store, const std::vector<int32_t>& selected);

// The 0-based index of the control trace when it is to be subtracted and
// numbers a trace of the store.
std::optional<uint32_t> ControlTrace(const TraceStore& store, bool useControl,
                                     int32_t controlTraceNumber);

// Start of trace k in seconds after the first trace, or its number k + 1.
float XValue(const TraceStore& store, uint32_t k, int plotTraceNumber);
const char* XHeader(int plotTraceNumber);

// Runs `group` over the traces G at a time, then one at a time for the rest,
// with the traces' sample arrays and the index of the first of them.
template <size_t G, typename Group, typename Single>
void InGroups(const TraceStore& store, const std::vector<uint32_t>& traces, Group group,
              Single single) {
    size_t k = 0;
    for (; k + G <= traces.size(); k += G) {
        const float* y[G];
        for (size_t g = 0; g < G; ++g)
            y[g] = store.traces[traces[k + g]].data();
        group(y, k);
    }
    for (; k < traces.size(); ++k) {
        const float* y[1] = {store.traces[traces[k]].data()};
        single(y, k);
    }
}

// Empties the table and gives it `count` columns of `rows` floats.
void ResetTable(ResultTable& table, uint32_t count, uint32_t rows);

// printf-style formatting of one integer into a header text.
std::string FormatHeader(const char* format, int value);

} // namespace builders
