// Current at chosen sample points of every selected trace, as one time course.
#include "export/BuilderSupport.h"
#include "export/ResultBuilders.h"

#include <algorithm>

uint32_t BuildContinuousRecord(const TraceStore& store, const ContinuousRecordChoices& choices,
                               ResultTable& table) {
    builders::ClearTable(table);
    uint32_t samples = static_cast<uint32_t>(store.timeAxis.size());
    std::vector<uint32_t> points;
    points.reserve(choices.samplePoints.size());
    for (int32_t number : choices.samplePoints) {
        // Unsigned, so that an entered 0 (and anything negative) falls beyond the trace.
        uint32_t index = static_cast<uint32_t>(number) - 1u;
        if (index < samples)
            points.push_back(index);
    }
    std::sort(points.begin(), points.end());
    points.erase(std::unique(points.begin(), points.end()), points.end());
    std::vector<uint32_t> traces = builders::ValidTraces(store, choices.selectedTraces);
    uint64_t rows = static_cast<uint64_t>(points.size()) * traces.size();
    if (traces.empty()) {
        table.emptyReason = builders::kNoTracesSelected;
        return 0;
    }
    if (choices.samplePoints.empty()) {
        table.emptyReason = "no sample points";
        return 0;
    }
    if (points.empty()) {
        table.emptyReason =
            "no sample point lies within the trace's " + std::to_string(samples) + " samples";
        return 0;
    }
    if (rows > UINT32_MAX) {
        table.emptyReason = "the table would have more than 4294967295 rows";
        return 0;
    }

    builders::ResetTable(table, 2, static_cast<uint32_t>(rows));
    table.headers = {"Time", "Cl Current Time Course"};
    table.units = {"s", store.channel.unit};
    uint32_t row = 0;
    for (uint32_t k : traces) {
        float start = static_cast<float>(k) * store.episodeInterval;
        const float* y = store.traces[k].data();
        for (uint32_t p : points) {
            table.columns[0][row] = static_cast<float>(store.timeAxis[p] * 0.000001 + start);
            table.columns[1][row] = y[p];
            ++row;
        }
    }
    return static_cast<uint32_t>(rows);
}
