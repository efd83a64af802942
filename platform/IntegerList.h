// The text form of a list of whole numbers, as the list entry fields show it and
// the profile stores it ("10,15,20," — each number followed by a comma).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The numbers are the maximal runs of decimal digits; every other character
// separates them. Once a run's value reaches 429496729 the number ends there and
// the following digits start a new one, so no value exceeds 4294967289 (values
// beyond the 32-bit range are kept as they are, for the caller to refuse).
// Never fails; a text without digits gives an empty list.
std::vector<int64_t> ParseIntegerListText(const std::string& text);

// Keeps the first occurrence of every value, in the typed order.
std::vector<int64_t> WithoutRepeatedValues(const std::vector<int64_t>& values);

// Each number in decimal followed by a comma; an empty list gives "".
std::string FormatIntegerListText(const std::vector<int32_t>& values);
