// The pages' records as the export's plain choices, and what a new recording
// does to the records. The pages and the command line share both, so the
// numbers of a workbook never depend on which of them asked for it.
#pragma once

#include "analysis/PageSettings.h"
#include "export/ExportChoices.h"
#include "recording/TraceStore.h"

#include <array>
#include <cstdint>
#include <vector>

// The five analysis pages' records, each with its analysis's profile section.
struct AnalysisPageRecords {
    SlopeConductanceSettings slopeConductance;
    SlopeConductanceSettings currentAtTestPotential{
        RowOf(Analysis::CurrentAtTestPotential).profileSection};
    CurrentVoltageSettings currentVoltage;
    CapacitanceSettings capacitance;
    ContinuousRecordSettings continuousRecord;

    // The record of each analysis, in page order (IndexOf).
    PerAnalysis<AnalysisPageSettings*> All();
    PerAnalysis<const AnalysisPageSettings*> All() const;

    // Every record's Load (or Save) in page order.
    void Load(IProfileStore& profile);
    void Save(IProfileStore& profile) const;
};

// The select-all-traces flags of the general settings, per analysis (IndexOf).
using SelectAllFlags = PerAnalysis<bool>;

// What OnNewRecording leaves in one record: every trace selected (0 .. traceCount
// - 1) or none, control and current trace 1.
void ApplyNewRecording(AnalysisPageSettings& record, uint32_t traceCount, bool selectAll);

// The same for all five records, then the slope conductance, current-at-test-potential and
// capacitance records search their ramp sub-sections in `commandTenths` (the
// command voltage in tenths of mV, CommandVoltageTenths).
void ApplyNewRecording(AnalysisPageRecords& records, uint32_t traceCount,
                       const std::vector<int32_t>& commandTenths, const SelectAllFlags& selectAll);

// The export's choices from the records as they stand. `plotTraceNumber` is the
// "PlotTimeTraceNum" setting (0: plot times). Ramp numbers of the
// current-voltage page become 0-based indices; a number below 1 (or the entry
// fields' no-value result) becomes an index beyond any trace, so that category
// exports nothing.
ExportChoices ExportChoicesFromRecords(const AnalysisPageRecords& records, int plotTraceNumber);

// The same for the recording in `store`: where the ramps come from each trace's
// protocol, or the traces' commands differ, every trace gets its own ramp and
// its own sub-sections, searched in its own command waveform (a search that
// does not run keeps the record's sub-section); a trace whose protocol lacks
// the ramp is left out with its reason. Where every trace shares one command
// and the ramps are the record's, the choices are exactly those above.
ExportChoices ExportChoicesFromRecords(const AnalysisPageRecords& records, int plotTraceNumber,
                                       const TraceStore& store);
