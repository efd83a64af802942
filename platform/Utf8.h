// Strict UTF-8: no overlong forms, no surrogates, nothing beyond U+10FFFF.
// One reading of it for the profile's lines, the acquisition program's value
// file and the command line's JSON.
#pragma once

#include <cstddef>
#include <string_view>

// Length (1 to 4) of the UTF-8 sequence that starts at text[at], or 0 when the
// bytes there are not one; `at` must lie within `text`.
size_t Utf8SequenceLength(std::string_view text, size_t at);

// True when the whole of `text` is UTF-8.
bool IsValidUtf8(std::string_view text);
