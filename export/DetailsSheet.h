// The "Analysis Details" worksheet: what was analysed, how, in which units,
// and what was left out or doubtful. It stands last in the workbook.
#pragma once

#include "export/ExportChoices.h"
#include "export/ResultBuilders.h"
#include "export/Workbook.h"
#include "recording/TraceStore.h"

#include <string>
#include <vector>

inline constexpr char kDetailsSheetName[] = "Analysis Details";
inline constexpr char kProgramNameAndVersion[] = "Tessaran 1.0";

// The details sheet of one export: program and version, `analysedAt`, each
// recording of `store` (path, size, SHA-256, format, channel, sample interval,
// samples per trace, traces), each analysis's settings as used
// (choices.settingsUsed), the unit of every column of every sheet, and every
// skipped analysis and warning with its reason.
Worksheet MakeDetailsSheet(const TraceStore& store, const ExportChoices& choices,
                           const std::vector<AnalysisResult>& results,
                           const std::string& analysedAt);

// Titles the chart's axes with what they show and its unit: the x column's
// header, and the quantity of the y columns ("Current" for the
// current-voltage chart, whose series are traces), e.g. "Slope Conductance (nS)".
void SetAxisTitles(ChartSheet& chart, const AnalysisResult& result);

// The present time as "YYYY-MM-DD HH:MM:SS UTC".
std::string CurrentTimeText();
