// The results of one recording as one JSON document.
#pragma once

#include "export/ResultBuilders.h"

#include <string>
#include <vector>

// {"file": path, "categories": [{"sheet", "headers", "columns", "rows"}, ...]}
// on one line, with only the categories that have rows, in export order. Each
// column is a list of `rows` numbers (the shortest text that reads back as the
// same 32-bit float); a value that is not finite is null. Texts are escaped;
// bytes that are not UTF-8 become U+FFFD.
std::string ResultsToJson(const std::string& file, const std::vector<AnalysisResult>& results);

// `text` as a JSON string literal, quotes included.
std::string JsonString(const std::string& text);
