// Stores and choices for the workbook and export driver tests.
#pragma once

#include "export/ExcelExport.h"
#include "tests/support/ModelCell.h"

#include <fstream>
#include <numeric>
#include <string>
#include <vector>

namespace fixtures {

// `traces` model cells with conductances 5, 10, 15, ... nS.
inline TraceStore ModelStore(uint32_t traces) {
    std::vector<model::Cell> cells;
    for (uint32_t k = 0; k < traces; ++k)
        cells.push_back({5.0 * (k + 1), 20000.0});
    return model::MakeStore(cells);
}

inline std::vector<int32_t> AllTraces(const TraceStore& store) {
    std::vector<int32_t> all(store.traces.size());
    std::iota(all.begin(), all.end(), 0);
    return all;
}

// Every category has results: the ramps and windows of the model protocol.
inline ExportChoices AllCategories(const TraceStore& store) {
    ExportChoices choices;
    const auto all = AllTraces(store);
    const SampleWindow ramp1 = model::WindowWithin(store.commandWaveform, model::kRamp1First,
                                                   model::kRamp1Last, -5.0f, 5.0f);
    const SampleWindow ramp2 = model::WindowWithin(store.commandWaveform, model::kRamp2First,
                                                   model::kRamp2Last, -5.0f, 5.0f);
    choices.slopeConductance = {.selectedTraces = all, .subsection = ramp1};
    choices.currentAtTestPotential = choices.slopeConductance;
    choices.currentVoltage = {.selectedTraces = all,
                              .ramp = {model::kRamp1First, model::kRamp1Last}};
    choices.capacitance = {all, ramp1, ramp2};
    choices.continuousRecord = {all,
                                {10, 15, 20, 25, 30, 35, 40, 45, 50, 55, 1330, 2630, 2700, 3080}};
    return choices;
}

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace fixtures
