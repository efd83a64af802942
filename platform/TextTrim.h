// Trimming and matching of texts read from fields, files and paths.
#pragma once

#include <cstddef>
#include <string_view>

// `text` without the leading and trailing characters that are in `characters`.
constexpr std::string_view TrimmedOf(std::string_view text, std::string_view characters) {
    const size_t first = text.find_first_not_of(characters);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(characters) - first + 1);
}

// The text of a fixed-width field: up to its first NUL (or the whole width),
// without leading and trailing blanks.
constexpr std::string_view FieldTextOf(const char* field, size_t width) {
    size_t length = 0;
    while (length < width && field[length] != '\0')
        ++length;
    return TrimmedOf(std::string_view(field, length), " ");
}

// Whether `text` ends with `lowerEnding` (given in lower case), in any case.
constexpr bool EndsWithNoCase(std::string_view text, std::string_view lowerEnding) {
    if (text.size() < lowerEnding.size())
        return false;
    const std::string_view tail = text.substr(text.size() - lowerEnding.size());
    for (size_t i = 0; i < tail.size(); ++i) {
        const char c =
            tail[i] >= 'A' && tail[i] <= 'Z' ? static_cast<char>(tail[i] - 'A' + 'a') : tail[i];
        if (c != lowerEnding[i])
            return false;
    }
    return true;
}
