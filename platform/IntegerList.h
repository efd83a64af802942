// The text form of a list of whole numbers, as the list entry fields show it and
// the profile stores it ("10,15,20," — each number followed by a comma; trace
// selections may hold runs, "1-8790,").
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One run of a list: `first` to `last`, equal for a single number.
struct IntegerRun {
    int32_t first;
    int32_t last;
    bool operator==(const IntegerRun&) const = default;
};

// What a list text holds.
struct IntegerListParse {
    std::vector<IntegerRun> runs; // the good tokens, in typed order
    std::string badToken;         // the first token that is not a whole positive number
};

// Reads a list: tokens separated by commas, semicolons and blanks; empty tokens
// are skipped, so "10,15,20," and "10,15,20" read alike. A token is a whole
// positive decimal number up to 2147483647 ("007" is 7) or, with `ranges`, two
// such numbers joined by '-' ("2-5", the first not above the second). Any
// other token ("-5", "1e9", "0", a 20-digit number, "5-2") is named in
// badToken; the tokens after it are still read. Never fails otherwise.
IntegerListParse ParseIntegerListText(std::string_view text, bool ranges);

// The numbers of `runs` in order, each value once (its first occurrence). The
// caller bounds the runs first: one element is made per value.
std::vector<int32_t> ExpandIntegerRuns(const std::vector<IntegerRun>& runs);

// Each number followed by a comma ("10,15,"), or "" for an empty list; with
// `ranges`, three or more consecutive increasing numbers as "first-last,".
std::string FormatIntegerListText(const std::vector<int32_t>& values, bool ranges = false);
