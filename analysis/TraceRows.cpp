#include "analysis/TraceRows.h"

#include <algorithm>
#include <cstdio>
#include <limits>

std::string TraceRowText(uint32_t numberInFile, std::string_view fileTitle) {
    char prefix[32];
    std::snprintf(prefix, sizeof prefix, "#%5u   : ", static_cast<unsigned>(numberInFile));
    std::string row(prefix);
    row.append(fileTitle);
    return row;
}

std::vector<int32_t> TraceIndicesFromNumbers(const std::vector<int32_t>& numbers) {
    std::vector<int32_t> indices;
    indices.reserve(numbers.size());
    for (const int32_t number : numbers)
        indices.push_back(number == std::numeric_limits<int32_t>::min() ? number : number - 1);
    return indices;
}

std::vector<int32_t> SelectableRows(const std::vector<int32_t>& indices, uint32_t rowCount) {
    std::vector<int32_t> rows;
    for (const int32_t index : indices) {
        if (index < 0 || static_cast<uint32_t>(index) >= rowCount)
            continue;
        if (std::find(rows.begin(), rows.end(), index) == rows.end())
            rows.push_back(index);
    }
    return rows;
}

uint32_t LeadingUnsignedNumber(std::string_view text) {
    uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            break;
        value = std::min<uint64_t>(value * 10 + static_cast<uint64_t>(c - '0'),
                                   std::numeric_limits<uint32_t>::max());
    }
    return static_cast<uint32_t>(value);
}
