// The five result builders of the export. Each reads the trace store and its
// category's choices, fills `table` (cleared first) and returns the row count,
// 0 when the category has nothing to export. Windows, sample points and
// control traces that lie outside the store give 0 rows or are left out, never
// an out-of-range read; selected trace indices outside the store are skipped.
// A value without a finite result is NaN ("no value": an empty cell, null in JSON).
#pragma once

#include "export/AnalysisTable.h"
#include "export/ExportChoices.h"
#include "export/ResultTable.h"
#include "recording/TraceStore.h"

#include <functional>
#include <string>
#include <vector>

// Slope conductance of current against command voltage (least squares) over the
// sub-section, per selected trace; current units per mV. Headers: "Time" or
// "Trace Number", "Slope Conductance", and with the control trace
// "Normalized Slope Conductance", "Normalized for control trace# c".
uint32_t BuildSlopeConductance(const TraceStore& store, const TimeCourseChoices& choices,
                               int plotTraceNumber, ResultTable& table);

// Mean current over the sub-section, per selected trace; headers as the slope
// conductance's with "Cl Current at %d mV" and "Normalized Cl Current at %d mV".
uint32_t BuildCurrentAtTestPotential(const TraceStore& store, const TimeCourseChoices& choices,
                                     int plotTraceNumber, ResultTable& table);

// Mean current per rounded command voltage along the ramp: column 0 the voltage
// in mV, then one column per selected trace headed by its trace number.
uint32_t BuildCurrentVoltage(const TraceStore& store, const CurrentVoltageChoices& choices,
                             ResultTable& table);

// Cell capacitance per selected trace, in current units x microseconds per mV;
// NaN for every trace when the two ramps have equal slopes.
uint32_t BuildCapacitance(const TraceStore& store, const CapacitanceChoices& choices,
                          int plotTraceNumber, ResultTable& table);

// Current of every selected trace at every valid sample point, with its time in
// seconds from the start of the first trace. Headers "Time", "Cl Current Time Course".
uint32_t BuildContinuousRecord(const TraceStore& store, const ContinuousRecordChoices& choices,
                               ResultTable& table);

// One analysis's result; the names are its row's (AnalysisTable.h).
struct AnalysisResult {
    Analysis analysis;
    std::string sheetName;   // data sheet sheetName + " Data", chart sheet sheetName + " Graph"
    std::string titleSuffix; // appended to the recording's base name for the chart title
    ResultTable table;       // table.rows == 0: nothing to export
};

// Runs the five builders in export order and returns all five results, also
// those with 0 rows (the driver skips them). `afterEach`, when set, hears how
// many have been built after each; returning false stops there, and only the
// results built so far come back.
std::vector<AnalysisResult>
RunResultBuilders(const TraceStore& store, const ExportChoices& choices,
                  const std::function<bool(size_t built)>& afterEach = {});
