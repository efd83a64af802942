// Stores and choices for the workbook and export driver tests, and test doubles
// for printing and the hand-over.
#pragma once

#include "export/ExcelExport.h"
#include "tests/support/ModelCell.h"

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
    std::vector<int32_t> all;
    for (size_t k = 0; k < store.traces.size(); ++k)
        all.push_back(static_cast<int32_t>(k));
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
    choices.slopeConductance.selectedTraces = all;
    choices.slopeConductance.subsection = ramp1;
    choices.currentAtTestPotential.selectedTraces = all;
    choices.currentAtTestPotential.subsection = ramp1;
    choices.currentVoltage.selectedTraces = all;
    choices.currentVoltage.ramp = {model::kRamp1First, model::kRamp1Last};
    choices.capacitance.selectedTraces = all;
    choices.capacitance.subsection1 = ramp1;
    choices.capacitance.subsection2 = ramp2;
    choices.samplePoints.selectedTraces = all;
    choices.samplePoints.samplePoints = {10, 15, 20, 25,   30,   35,   40,
                                         45, 50, 55, 1330, 2630, 2700, 3080};
    return choices;
}

// Nothing selected anywhere: no category has results.
inline ExportChoices NoCategories() {
    return ExportChoices{};
}

// Only the current-voltage category has results.
inline ExportChoices OnlyCurrentVoltage(const TraceStore& store) {
    ExportChoices choices;
    choices.currentVoltage.selectedTraces = AllTraces(store);
    choices.currentVoltage.ramp = {model::kRamp1First, model::kRamp1Last};
    return choices;
}

class FakePrinter : public IChartPrinter {
public:
    PrintOutcome PrintChartSheets(const Workbook& workbook,
                                  const std::string& pdfFallbackPath) override {
        ++calls;
        chartNames.clear();
        for (const ChartSheet* chart : workbook.ChartSheets())
            chartNames.push_back(chart->name);
        pdfPath = pdfFallbackPath;
        return outcome;
    }
    int calls = 0;
    std::vector<std::string> chartNames;
    std::string pdfPath;
    PrintOutcome outcome{.printed = true, .printer = "Office", .pdfPath = {}, .error = {}};
};

class FakeOpener : public IWorkbookOpener {
public:
    bool OpenWorkbook(const std::string& path) override {
        opened.push_back(path);
        return true;
    }
    std::vector<std::string> opened;
};

} // namespace fixtures
