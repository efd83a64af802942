// The analyses' settings as used, in words, for the details sheet.
#pragma once

#include "analysis/ExportChoicesFromRecords.h"

// One (name, value) list per analysis in export order: traces, control trace,
// ramps and whether they come from the protocol, test potential ± range,
// rounding and sample points, as each analysis uses them.
std::vector<ExportChoices::Settings> DescribeSettings(const AnalysisPageRecords& records);

// 0-based trace indices as 1-based numbers with runs joined: "1-5, 7".
std::string TraceNumbersText(const std::vector<int32_t>& traces);
