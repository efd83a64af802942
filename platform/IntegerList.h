// The text form of a list of whole numbers, as the list entry fields show it and
// the profile stores it ("10,15,20," — each number followed by a comma).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The numbers are the maximal runs of decimal digits; every other character
// separates them. Once a run's value reaches 429496729 the number ends there and
// the following digits start a new one, so no value exceeds 4294967289; values of
// 2^31 and above come back as negative 32-bit numbers (out of every bound a
// field sets). Never fails; a text without digits gives an empty list.
std::vector<int32_t> ParseIntegerListText(const std::string& text);

// Keeps the first occurrence of every value, in the typed order.
std::vector<int32_t> WithoutRepeatedValues(const std::vector<int32_t>& values);

// Each number in decimal followed by a comma; an empty list gives "".
std::string FormatIntegerListText(const std::vector<int32_t>& values);
