// The rows of an analysis page's trace list and the selection they take from a
// typed list of trace numbers. Rows stand for the traces of the store in order;
// row k is trace index k.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The text of one trace-list row: "#", the trace's number within its file
// right-aligned in five places, three blanks, ": " and the file's title
// (e.g. "#    3   : cell7").
std::string TraceRowText(uint32_t numberInFile, std::string_view fileTitle);

// The 0-based trace indices of 1-based trace numbers (numbers below 1 give
// negative indices, which name no trace).
std::vector<int32_t> TraceIndicesFromNumbers(const std::vector<int32_t>& numbers);

// The indices of `indices` that name one of `rowCount` rows, in their order and
// each once: the rows a typed list may select.
std::vector<int32_t> SelectableRows(const std::vector<int32_t>& indices, uint32_t rowCount);

// The leading decimal digits of `text` as an unsigned number (digits up to the
// first other character; no digits give 0; too many digits saturate at
// 4294967295). Reads the items of the current-voltage page's lists.
uint32_t LeadingUnsignedNumber(std::string_view text);
