#include "platform/IntegerList.h"

#include <limits>
#include <optional>
#include <unordered_set>

namespace {

bool IsSeparator(char c) {
    return c == ',' || c == ';' || c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// A whole positive decimal number of at most 32 bits, digits only.
std::optional<int32_t> PositiveNumber(std::string_view text) {
    if (text.empty())
        return std::nullopt;
    int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > std::numeric_limits<int32_t>::max())
            return std::nullopt;
    }
    if (value == 0)
        return std::nullopt;
    return static_cast<int32_t>(value);
}

std::optional<IntegerRun> Token(std::string_view token, bool ranges) {
    const size_t dash = ranges ? token.find('-') : std::string_view::npos;
    if (dash == std::string_view::npos) {
        const std::optional<int32_t> value = PositiveNumber(token);
        return value ? std::optional<IntegerRun>({*value, *value}) : std::nullopt;
    }
    const std::optional<int32_t> first = PositiveNumber(token.substr(0, dash));
    const std::optional<int32_t> last = PositiveNumber(token.substr(dash + 1));
    if (!first || !last || *first > *last)
        return std::nullopt;
    return IntegerRun{*first, *last};
}

} // namespace

IntegerListParse ParseIntegerListText(std::string_view text, bool ranges) {
    IntegerListParse parsed;
    size_t at = 0;
    while (at < text.size()) {
        if (IsSeparator(text[at])) {
            ++at;
            continue;
        }
        size_t end = at;
        while (end < text.size() && !IsSeparator(text[end]))
            ++end;
        const std::string_view token = text.substr(at, end - at);
        if (const std::optional<IntegerRun> run = Token(token, ranges))
            parsed.runs.push_back(*run);
        else if (parsed.badToken.empty())
            parsed.badToken = std::string(token);
        at = end;
    }
    return parsed;
}

std::vector<int32_t> ExpandIntegerRuns(const std::vector<IntegerRun>& runs) {
    std::vector<int32_t> values;
    std::unordered_set<int32_t> seen;
    for (const IntegerRun& run : runs) {
        for (int64_t value = run.first; value <= run.last; ++value)
            if (seen.insert(static_cast<int32_t>(value)).second)
                values.push_back(static_cast<int32_t>(value));
    }
    return values;
}

std::string FormatIntegerListText(const std::vector<int32_t>& values, bool ranges) {
    std::string text;
    for (size_t i = 0; i < values.size();) {
        size_t end = i + 1;
        if (ranges)
            while (end < values.size() && int64_t(values[end]) == int64_t(values[end - 1]) + 1)
                ++end;
        if (end - i >= 3) {
            text += std::to_string(values[i]) + '-' + std::to_string(values[end - 1]) + ',';
            i = end;
        } else {
            text += std::to_string(values[i]) + ',';
            ++i;
        }
    }
    return text;
}
