// The results of one recording as one JSON document.
#pragma once

#include "export/ResultBuilders.h"
#include "recording/ChannelChoice.h"

#include <string>
#include <vector>

// {"file": path, "channel": {"index", "name", "unit"}, "categories": [{"sheet",
// "headers", "units", "columns", "rows"}, ...], "skipped": [{"sheet", "reason"}],
// "warnings": [...]} on one line. The categories are those with rows, in
// export order; "units" runs parallel to "headers" ("" for trace numbers and
// for headers without a column). Each column is a list of `rows` numbers (the
// shortest text that reads back as the same 32-bit float); a value that is not
// finite is null. "skipped" names every analysis without rows and why;
// "warnings" holds each analysis's warnings after its sheet name and ": ".
// Texts are escaped; bytes that are not UTF-8 become U+FFFD.
std::string ResultsToJson(const std::string& file, const std::vector<AnalysisResult>& results,
                          const ChannelInfo& channel);

// Each analysis's warnings as "sheet: warning", in export order.
std::vector<std::string> AnalysisWarnings(const std::vector<AnalysisResult>& results);

// `text` as a JSON string literal, quotes included.
std::string JsonString(const std::string& text);
