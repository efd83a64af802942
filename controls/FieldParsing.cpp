#include "controls/FieldParsing.h"

#include "platform/IntegerList.h"
#include "platform/TextTrim.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Blanks and tabs around a number are allowed.
std::string_view TrimBlanks(std::string_view text) {
    return TrimmedOf(text, " \t");
}

} // namespace

std::optional<double> ParseFloatField(std::string_view text) {
    text = TrimBlanks(text);
    if (text.empty())
        return std::nullopt;
    const char firstChar = text.front();
    std::string_view body = text;
    if (body.front() == '+') {
        body.remove_prefix(1);
        if (!body.empty() && body.front() == '-')
            return std::nullopt;
    }
    // from_chars would also read "inf", "nan" and a second sign; none of them
    // is a number here.
    const std::string_view unsignedPart =
        (!body.empty() && body.front() == '-') ? body.substr(1) : body;
    if (unsignedPart.empty() || !(IsDigit(unsignedPart.front()) || unsignedPart.front() == '.'))
        return std::nullopt;
    double value = 0.0;
    const auto [end, error] =
        std::from_chars(body.data(), body.data() + body.size(), value, std::chars_format::general);
    if (error != std::errc() || end != body.data() + body.size())
        return std::nullopt;
    if (value == 0.0 && firstChar != '0')
        return std::nullopt;
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<std::int32_t> ParseIntegerField(std::string_view text) {
    text = TrimBlanks(text);
    if (text.empty())
        return std::nullopt;
    const char firstChar = text.front();
    bool negative = false;
    if (text.front() == '+' || text.front() == '-') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    constexpr std::int64_t kLimit = std::int64_t(1) << 31;
    std::int64_t magnitude = 0;
    for (const char c : text) {
        if (!IsDigit(c))
            return std::nullopt;
        magnitude = std::min(magnitude * 10 + (c - '0'), kLimit + 1);
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value == 0 && firstChar != '0')
        return std::nullopt;
    // The long conversion saturates at its limits, so they cannot be told
    // apart from an overflow and are no numbers either.
    if (value >= std::numeric_limits<std::int32_t>::max() ||
        value <= std::numeric_limits<std::int32_t>::min())
        return std::nullopt;
    return std::int32_t(value);
}

IntegerListParse ParseIntegerListField(std::string_view text, bool ranges) {
    return ParseIntegerListText(text, ranges);
}

std::string FormatIntegerList(const std::vector<std::int32_t>& values, bool ranges) {
    return FormatIntegerListText(values, ranges);
}

std::string FormatFloatField(double value, int precision) {
    if (!std::isfinite(value))
        return {};
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::general, std::clamp(precision, 1, 17));
    return std::string(buffer, result.ptr);
}

SpinRange SpinRangeForBounds(int lowerMode, std::int32_t lower, int upperMode, std::int32_t upper) {
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    SpinRange range{kMin, kMax};
    if (lowerMode == kBoundStrict)
        range.lower = lower == kMax ? kMax : lower + 1;
    else if (lowerMode == kBoundInclusive)
        range.lower = lower;
    if (upperMode == kBoundStrict)
        range.upper = upper == kMin ? kMin : upper - 1;
    else if (upperMode == kBoundInclusive)
        range.upper = upper;
    return range;
}
