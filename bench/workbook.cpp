// links: tessaran_export_core tessaran_recording tessaran_platform_core
// Writing the results workbook of a 200-trace recording: every category with
// results, the current-voltage table 151 rows x 201 columns, sample points
// 14 points x 200 traces. Goal: under 300 ms for the whole workbook.
#include "export/ExcelExport.h"
#include "export/ResultBuilders.h"
#include "export/WorkbookFiles.h"
#include "export/XlsxWriter.h"
#include "tests/support/ModelCell.h"
#include "tests/support/TempDir.h"

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

constexpr uint32_t kTraces = 200;

struct Fixture {
    Fixture() {
        std::vector<model::Cell> cells;
        for (uint32_t k = 0; k < kTraces; ++k)
            cells.push_back({5.0 + 0.05 * k, 20000.0});
        store = model::MakeStore(cells);
        std::vector<int32_t> all;
        for (uint32_t k = 0; k < kTraces; ++k)
            all.push_back(static_cast<int32_t>(k));
        const SampleWindow ramp1 = model::WindowWithin(store.commandWaveform, model::kRamp1First,
                                                       model::kRamp1Last, -5.0f, 5.0f);
        const SampleWindow ramp2 = model::WindowWithin(store.commandWaveform, model::kRamp2First,
                                                       model::kRamp2Last, -5.0f, 5.0f);
        choices.slopeConductance = {all, ramp1, {}, 0, true, 1};
        choices.currentAtTestPotential = {all, ramp1, {}, 0, true, 1};
        choices.currentVoltage.selectedTraces = all;
        choices.currentVoltage.ramp = {model::kRamp1First, model::kRamp1Last};
        choices.capacitance = {all, ramp1, ramp2};
        choices.continuousRecord = {
            all, {10, 15, 20, 25, 30, 35, 40, 45, 50, 55, 1330, 2630, 2700, 3080}};
        results = RunResultBuilders(store, choices);
    }

    Workbook MakeWorkbook() const {
        Workbook workbook = AddWorkbookWithOneSheet();
        int pairs = 0;
        for (const AnalysisResult& result : results) {
            std::string error;
            ChartSheet* chart =
                MakeDataAndGraphSheets(workbook, result.sheetName, result.table.columns,
                                       result.table.headers, result.table.rows, pairs, error);
            ++pairs;
            SetChartTitle(*chart, "cell" + result.titleSuffix, 16, "Arial", "Regular");
            if (result.analysis == Analysis::CurrentVoltage) {
                SetAxisScale(chart->xAxis, -80, 50, 10, 5);
                ColourSeries(*chart, CurrentVoltageSeriesStyles(result.table.columns.size()));
            }
        }
        return workbook;
    }

    TraceStore store;
    ExportChoices choices;
    std::vector<AnalysisResult> results;
};

const Fixture& Data() {
    static const Fixture fixture;
    return fixture;
}

// The sheets made and the .xlsx written (no flush to disk).
// Makes the fixture's workbook and hands it to `save` once per iteration.
template <class Save> void SaveEachIteration(benchmark::State& state, Save save) {
    TempDir dir;
    const std::string path = dir.file("cell.abf.xlsx");
    for (auto _ : state) {
        Workbook workbook = Data().MakeWorkbook();
        std::string reason;
        if (!save(workbook, path, reason))
            state.SkipWithError(reason.c_str());
    }
}

void BM_WriteWorkbook200Traces(benchmark::State& state) {
    const Fixture& data = Data();
    SaveEachIteration(state,
                      [](const Workbook& workbook, const std::string& path, std::string& reason) {
                          return WriteXlsxFile(workbook, path, reason);
                      });
    const auto& iv = data.results[2].table;
    state.counters["iv_rows"] = iv.rows;
    state.counters["iv_columns"] = static_cast<double>(iv.columns.size());
    state.counters["trace_rows"] = data.results[4].table.rows;
}
BENCHMARK(BM_WriteWorkbook200Traces)->Unit(benchmark::kMillisecond);

// What the user waits for when saving: temporary file, flush, rename into place.
void BM_SaveWorkbook200Traces(benchmark::State& state) {
    SaveEachIteration(
        state, [](const Workbook& workbook, const std::string& path, std::string& reason) {
            return SaveWorkbookFile(workbook, path, true, reason) == SaveStatus::Saved;
        });
}
BENCHMARK(BM_SaveWorkbook200Traces)->Unit(benchmark::kMillisecond);

// The whole export without printing or hand-over: builders, sheets, save.
void BM_ExportResults200Traces(benchmark::State& state) {
    const Fixture& data = Data();
    TempDir dir;
    ExportOptions options;
    options.autoPrint = false;
    options.existing = ExistingWorkbook::Replace;
    for (auto _ : state) {
        const ExportOutcome outcome =
            CExcelExport(nullptr, nullptr)
                .ExportResults(data.store, data.choices, dir.file("cell.abf"), options);
        if (outcome.savedPath.empty())
            state.SkipWithError("not saved");
    }
}
BENCHMARK(BM_ExportResults200Traces)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
