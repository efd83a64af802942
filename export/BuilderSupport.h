// Helpers shared by the result builders (not part of the export's interface).
#pragma once

#include "export/ExportChoices.h"
#include "export/ResultTable.h"
#include "export/Units.h"
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

// ValidTraces for an analysis that needs voltages: none, with the table's
// empty reason saying why, when no trace is selected or the recording has no
// command waveform.
std::vector<uint32_t> ValidTracesWithCommand(const TraceStore& store,
                                             const std::vector<int32_t>& selected,
                                             ResultTable& table);

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

// Empties the table entirely (columns, headers, units, reasons, warnings).
inline void ClearTable(ResultTable& table) {
    table = ResultTable{};
}

// Empties the table's columns, headers and units and gives it `count` columns
// of `rows` floats; its reasons and warnings stay.
void ResetTable(ResultTable& table, uint32_t count, uint32_t rows);

// printf-style formatting of one integer into a header text.
std::string FormatHeader(const char* format, int value);

// Why a table is empty, in the words the user reads.
inline constexpr char kNoTracesSelected[] = "no traces selected";
inline constexpr char kNoCommandWaveform[] = "the recording has no command waveform";

// The units of the store's channel and command; an unknown channel unit
// leaves every derived unit unknown ("").
ChannelUnits UnitsOf(const TraceStore& store);
std::string ConductanceUnitOf(const TraceStore& store);
std::string CapacitanceUnitOf(const TraceStore& store);
// "s" when plotting times, "" for trace numbers.
const char* XUnit(int plotTraceNumber);

// "trace 3" or "traces 1, 2, 5" for 0-based trace indices.
std::string TraceList(const std::vector<uint32_t>& traces);

// Empties `table` for `reason`: the traces' own reasons for being left out,
// which the warnings held so far, are summed up by it and dropped.
inline void NoTraceLeft(ResultTable& table, std::string reason) {
    table.emptyReason = std::move(reason);
    table.warnings.clear();
}

// The `skipped` texts of `windows` that belong to one of `selected`.
void AddSkippedTraces(const TraceWindows& windows, const std::vector<int32_t>& selected,
                      std::vector<std::string>& warnings);

// Positions of `keys` grouped by equal key, groups in the order of their first
// member: traces that share a command and a window are computed together.
template <typename Key> std::vector<std::vector<size_t>> GroupsOf(const std::vector<Key>& keys) {
    std::vector<std::vector<size_t>> groups;
    std::vector<bool> done(keys.size(), false);
    for (size_t i = 0; i < keys.size(); ++i) {
        if (done[i])
            continue;
        groups.emplace_back();
        for (size_t j = i; j < keys.size(); ++j)
            if (!done[j] && keys[j] == keys[i]) {
                groups.back().push_back(j);
                done[j] = true;
            }
    }
    return groups;
}

} // namespace builders
