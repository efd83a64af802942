// The summary workbook of a batch: one workbook over many recordings, a
// worksheet per analysis with one row per recording (one row per recording and
// voltage for the current-voltage relation), and a "Files" sheet describing
// each recording. Worksheets only; no charts.
#pragma once

#include "export/ResultBuilders.h"
#include "export/Workbook.h"

#include <cstdint>
#include <string>
#include <vector>

inline constexpr char kSummaryFilesSheet[] = "Files";

// What identifies a recording and how it was read.
struct RecordingFacts {
    std::string path;
    uint64_t size = 0;  // bytes
    std::string sha256; // 64 hexadecimal digits
    float formatVersion = 0;
    int channel = -1;         // the analysed analog-input channel
    float sampleInterval = 0; // microseconds between samples of one trace
    uint32_t samplesPerTrace = 0;
    uint32_t traces = 0;
};

// One recording of the batch: its facts, and its results in export order
// (empty, with `error` set, when it could not be read).
struct SummaryEntry {
    RecordingFacts facts;
    std::string error;
    std::vector<AnalysisResult> results;
};

// The summary of `entries`, in their order. Sheets: "Slope Conductance",
// "ICl Time Course", "Capacitance" (columns "File", "Trace 1"... one per
// analysed trace in the order analysed, "Mean", "SD" (sample standard
// deviation), "n" (finite values)); "IV" (columns "File", "Voltage (mV)",
// "Trace 1"..., "Mean", "SD", "n"); "Files" (path, size, SHA-256, format
// version, channel, sample interval, samples per trace, traces, error).
Workbook MakeSummaryWorkbook(const std::vector<SummaryEntry>& entries);

// Mean, sample standard deviation and count of the finite values among
// `values`; NaN mean with no value, NaN deviation with fewer than two.
struct ValueStatistics {
    float mean;
    float standardDeviation;
    uint32_t count;
};
ValueStatistics Statistics(const std::vector<float>& values);
