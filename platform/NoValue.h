// The program's "no value" marks, one per kind of number, used by every layer
// that passes such a number on: the entry fields give them while they hold no
// valid number, the pages' records keep them, the sub-section search and the
// export's choices treat them as "nothing chosen".
//   integers: kNoIntegerValue (0x7FFFFFFF);
//   floating-point numbers: NaN (an empty cell in a workbook, null in JSON);
//   lists: the empty list.
// A trace or sample index that names no trace or sample is any index beyond
// the recording; the display layer's one such index is kNoTrace (-1).
#pragma once

#include <cstdint>

inline constexpr std::int32_t kNoIntegerValue = 0x7FFFFFFF;
