#include "export/ResultBuilders.h"

namespace {

void Build(const TraceStore& store, const ExportChoices& choices, AnalysisResult& result) {
    ResultTable& table = result.table;
    switch (result.analysis) {
    case Analysis::SlopeConductance:
        BuildSlopeConductance(store, choices.slopeConductance, choices.plotTraceNumber, table);
        break;
    case Analysis::CurrentAtTestPotential:
        BuildCurrentAtTestPotential(store, choices.currentAtTestPotential, choices.plotTraceNumber,
                                    table);
        break;
    case Analysis::CurrentVoltage:
        BuildCurrentVoltage(store, choices.currentVoltage, table);
        break;
    case Analysis::Capacitance:
        BuildCapacitance(store, choices.capacitance, choices.plotTraceNumber, table);
        break;
    case Analysis::ContinuousRecord:
        BuildContinuousRecord(store, choices.continuousRecord, table);
        break;
    }
}

} // namespace

std::vector<AnalysisResult> RunResultBuilders(const TraceStore& store, const ExportChoices& choices,
                                              const std::function<bool(size_t built)>& afterEach) {
    std::vector<AnalysisResult> results;
    results.reserve(kAnalysisRows.size());
    for (const AnalysisRow& row : kAnalysisRows) {
        results.push_back({row.analysis, row.sheetName, row.chartTitleSuffix, {}});
        Build(store, choices, results.back());
        if (afterEach && !afterEach(results.size()))
            break;
    }
    return results;
}
