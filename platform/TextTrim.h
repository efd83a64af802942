// Trimming of texts read from fields and files.
#pragma once

#include <string_view>

// `text` without the leading and trailing characters that are in `characters`.
constexpr std::string_view TrimmedOf(std::string_view text, std::string_view characters) {
    const size_t first = text.find_first_not_of(characters);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(characters) - first + 1);
}
