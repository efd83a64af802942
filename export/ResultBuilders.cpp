#include "export/ResultBuilders.h"

std::vector<CategoryResult> RunResultBuilders(const TraceStore& store,
                                              const ExportChoices& choices) {
    std::vector<CategoryResult> results(5);
    results[0] = {ResultCategory::SlopeConductance,
                  "Slope Conductance",
                  " Slope Conductance Time Course",
                  {}};
    BuildSlopeConductance(store, choices.slopeConductance, choices.plotTraceNumber,
                          results[0].table);
    results[1] = {
        ResultCategory::CurrentAtTestPotential, "ICl Time Course", " Current Time Course", {}};
    BuildCurrentAtTestPotential(store, choices.currentAtTestPotential, choices.plotTraceNumber,
                                results[1].table);
    results[2] = {ResultCategory::CurrentVoltage, "IV", "  IV", {}};
    BuildCurrentVoltage(store, choices.currentVoltage, results[2].table);
    results[3] = {ResultCategory::Capacitance, "Capacitance", " Capacitance", {}};
    BuildCapacitance(store, choices.capacitance, choices.plotTraceNumber, results[3].table);
    results[4] = {ResultCategory::SamplePoints, "Traces", " Traces", {}};
    BuildSamplePoints(store, choices.samplePoints, results[4].table);
    return results;
}
