// Parsing and formatting of the entry fields' texts. Plain C++, independent of
// the C locale, so a German desktop still reads "0.5" as one half.
#pragma once

#include "platform/IntegerList.h"
#include "platform/NoValue.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The fields' "no value" marks are the program's (platform/NoValue.h).

// Reads the whole text as a decimal floating-point number: blanks and tabs
// around it are allowed, nothing else. A zero result counts only when the text
// starts with '0' (so ".0" and "-0" are no numbers), and an overflowing or
// underflowing value is no number. Returns nothing when the text is no number.
std::optional<double> ParseFloatField(std::string_view text);

// Reads the whole text as a decimal 32-bit integer with the same rules; the
// values 2147483647 and -2147483648 (and anything beyond) are no numbers.
std::optional<std::int32_t> ParseIntegerField(std::string_view text);

// The tokens of a list field's text (ParseIntegerListText): whole positive
// numbers and, with `ranges`, runs such as "2-5"; the first bad token named.
IntegerListParse ParseIntegerListField(std::string_view text, bool ranges);

// The list as shown and stored: each number in decimal followed by a comma,
// with `ranges` runs of three or more as "first-last,".
std::string FormatIntegerList(const std::vector<std::int32_t>& values, bool ranges = false);

// `value` formatted like "%.*g" with `precision` significant digits in the C
// locale; the empty text for NaN and infinities (the field shows no value).
std::string FormatFloatField(double value, int precision);

// A check of `value` against optional bounds. Modes: 0 strict, 1 inclusive,
// anything else no bound.
enum BoundMode : int { kBoundStrict = 0, kBoundInclusive = 1, kBoundNone = 2 };

template <typename T> bool IsOutOfBounds(T value, int lowerMode, T lower, int upperMode, T upper) {
    if (upperMode == kBoundStrict && value >= upper)
        return true;
    if (upperMode == kBoundInclusive && value > upper)
        return true;
    if (lowerMode == kBoundStrict && value <= lower)
        return true;
    if (lowerMode == kBoundInclusive && value < lower)
        return true;
    return false;
}

// The range an up-down buddy of an integer field steps within: the bounds
// themselves when inclusive, one inside when strict, the 32-bit limits when
// there is no bound.
struct SpinRange {
    std::int32_t lower;
    std::int32_t upper;
};
SpinRange SpinRangeForBounds(int lowerMode, std::int32_t lower, int upperMode, std::int32_t upper);
