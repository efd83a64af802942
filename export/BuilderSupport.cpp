#include "export/BuilderSupport.h"

#include <algorithm>
#include <cstdio>

namespace builders {

uint32_t ReadableSamples(const TraceStore& store) {
    return static_cast<uint32_t>(std::min(store.timeAxis.size(), store.commandWaveform.size()));
}

std::vector<uint32_t> ValidTraces(const TraceStore& store, const std::vector<int32_t>& selected) {
    std::vector<uint32_t> valid;
    valid.reserve(selected.size());
    for (int32_t k : selected) {
        if (k >= 0 && static_cast<size_t>(k) < store.traces.size() && store.traces[k])
            valid.push_back(static_cast<uint32_t>(k));
    }
    return valid;
}

std::vector<uint32_t> ValidTracesWithCommand(const TraceStore& store,
                                             const std::vector<int32_t>& selected,
                                             ResultTable& table) {
    std::vector<uint32_t> valid = ValidTraces(store, selected);
    if (valid.empty())
        table.emptyReason = kNoTracesSelected;
    else if (!store.HasCommand()) {
        table.emptyReason = kNoCommandWaveform;
        valid.clear();
    }
    return valid;
}

std::optional<uint32_t> ControlTrace(const TraceStore& store, bool useControl,
                                     int32_t controlTraceNumber) {
    if (!useControl || controlTraceNumber < 1 ||
        static_cast<size_t>(controlTraceNumber) > store.traces.size() ||
        !store.traces[controlTraceNumber - 1])
        return std::nullopt;
    return static_cast<uint32_t>(controlTraceNumber - 1);
}

float XValue(const TraceStore& store, uint32_t k, int plotTraceNumber) {
    if (plotTraceNumber == 0)
        return static_cast<float>(k) * store.episodeInterval;
    return static_cast<float>(k + 1);
}

const char* XHeader(int plotTraceNumber) {
    return plotTraceNumber == 0 ? "Time" : "Trace Number";
}

void ResetTable(ResultTable& table, uint32_t count, uint32_t rows) {
    table.columns.clear();
    table.headers.clear();
    table.units.clear();
    table.rows = rows;
    for (uint32_t c = 0; c < count; ++c)
        table.columns.push_back(SharedFloatArray::Allocate(rows));
}

std::string FormatHeader(const char* format, int value) {
    char text[128];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

} // namespace builders

namespace builders {

ChannelUnits UnitsOf(const TraceStore& store) {
    return {store.channel.unit, store.commandUnit};
}

std::string ConductanceUnitOf(const TraceStore& store) {
    return store.channel.unit.empty() ? std::string() : ConductanceUnit(UnitsOf(store));
}

std::string CapacitanceUnitOf(const TraceStore& store) {
    return store.channel.unit.empty() ? std::string() : CapacitanceUnit(UnitsOf(store));
}

const char* XUnit(int plotTraceNumber) {
    return plotTraceNumber == 0 ? "s" : "";
}

std::string TraceList(const std::vector<uint32_t>& traces) {
    std::string text = traces.size() == 1 ? "trace " : "traces ";
    for (size_t i = 0; i < traces.size(); ++i)
        text += (i ? ", " : "") + std::to_string(traces[i] + 1);
    return text;
}

void AddSkippedTraces(const TraceWindows& windows, const std::vector<int32_t>& selected,
                      std::vector<std::string>& warnings) {
    for (int32_t k : selected)
        if (k >= 0 && static_cast<size_t>(k) < windows.skipped.size() &&
            !windows.skipped[k].empty())
            warnings.push_back(windows.skipped[k]);
}

} // namespace builders
