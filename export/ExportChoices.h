// What the result builders need from the analysis pages, as plain data: the
// traces to analyse, the control trace, the sample windows and each category's
// own parameters. The pages (and the command line) fill it from their records;
// the builders never see the pages themselves.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// Two 0-based sample indices in either order. Whether the larger end belongs
// to the window is told where a window is used.
struct SampleWindow {
    uint32_t start = 0;
    uint32_t end = 0;
};

// Windows that differ from trace to trace (each trace's own protocol): element
// k belongs to trace index k; an empty list means the one window of the
// choices holds for every trace. A trace without a window (nullopt, or beyond
// the list) is left out of the table; `skipped` says why, one text per trace.
struct TraceWindows {
    std::vector<std::optional<SampleWindow>> windows;
    std::vector<std::string> skipped;

    // The window of trace `k`: `common` when the list is empty.
    std::optional<SampleWindow> For(uint32_t k, const SampleWindow& common) const {
        if (windows.empty())
            return common;
        return k < windows.size() ? windows[k] : std::nullopt;
    }
};

// Slope conductance and current at the test potential: one value per trace over
// the ramp sub-section around the test potential.
struct TimeCourseChoices {
    std::vector<int32_t> selectedTraces; // 0-based trace indices, in list order
    // Half-open: samples from the smaller end up to, not including, the larger.
    SampleWindow subsection;
    TraceWindows traceSubsections = {}; // per trace, where protocols differ
    int32_t testPotential = 0;          // mV, only in the current's headers
    bool useControl = false;            // subtract the control trace's value
    int32_t controlTraceNumber = 1;     // 1-based
};

// Current-voltage table: mean current per voltage bin along ramp 1.
struct CurrentVoltageChoices {
    std::vector<int32_t> selectedTraces;
    SampleWindow ramp;            // 0-based, both ends included
    TraceWindows traceRamps = {}; // per trace, where protocols differ
    uint32_t roundTo = 1;         // mV: 1, 2, 5 or 10
    uint32_t sampleEvery = 1;     // mV: 1, 2, 5 or 10
    bool useControl = false;
    int32_t controlTraceNumber = 1; // 1-based
};

// Cell capacitance from matching sub-sections of two ramps.
struct CapacitanceChoices {
    std::vector<int32_t> selectedTraces;
    // Half-open like TimeCourseChoices::subsection; the sample at the larger
    // end is read as the end point of the ramp's slope.
    SampleWindow subsection1;
    SampleWindow subsection2;
    TraceWindows traceSubsections1 = {}; // per trace, where protocols differ
    TraceWindows traceSubsections2 = {};
};

// Current at chosen sample points, strung together over time.
struct ContinuousRecordChoices {
    std::vector<int32_t> selectedTraces;
    std::vector<int32_t> samplePoints; // 1-based as entered: any order, repeats, out of range
};

// Everything the five builders read besides the trace store.
struct ExportChoices {
    int plotTraceNumber = 1; // 0: x values are start times in s; else trace numbers
    TimeCourseChoices slopeConductance;
    TimeCourseChoices currentAtTestPotential;
    CurrentVoltageChoices currentVoltage;
    CapacitanceChoices capacitance;
    ContinuousRecordChoices continuousRecord;
    // Each analysis's settings as used, in export order, as (name, value)
    // lines for the details sheet.
    using Settings = std::vector<std::pair<std::string, std::string>>;
    std::vector<Settings> settingsUsed = {};
};
