// Stores and choices for the workbook and export driver tests.
#pragma once

#include "export/ExcelExport.h"
#include "tests/support/ModelCell.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <optional>
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

// Records what would have been printed and opened, and the last workbook printed.
class FakeDesktop : public IChartPrinter, public IWorkbookOpener {
public:
    PrintOutcome PrintChartSheets(const Workbook& workbook, const std::string& pdf,
                                  const std::function<bool()>& mayReplacePdf) override {
        printed.push_back(workbook.ChartSheets().size());
        lastPrinted = workbook;
        pdfPath = pdf;
        if (std::filesystem::exists(pdf))
            replaceAnswers.push_back(mayReplacePdf());
        return {.printed = true, .printer = "Office", .pdfPath = {}, .error = {}};
    }
    std::optional<Notice> OpenWorkbook(const std::string& path) override {
        opened.push_back(path);
        return std::nullopt;
    }
    std::vector<size_t> printed;      // chart sheets per print
    std::vector<bool> replaceAnswers; // asked about an existing PDF
    std::vector<std::string> opened;
    std::string pdfPath;
    Workbook lastPrinted;
};

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Sets the environment variable `name` for its lifetime, e.g. TMPDIR to a test
// folder so that the per-user temporary folder lies there.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : m_name(name) {
        if (const char* previous = std::getenv(name))
            m_previous = previous;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() { m_previous ? setenv(m_name, m_previous->c_str(), 1) : unsetenv(m_name); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* m_name;
    std::optional<std::string> m_previous;
};

} // namespace fixtures
