#include "platform/IntegerList.h"

#include <unordered_set>

std::vector<int64_t> ParseIntegerListText(const std::string& text) {
    constexpr int64_t kRunLimit = 429496729; // one more digit could pass 32 bits
    std::vector<int64_t> values;
    bool inRun = false;
    int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            if (inRun)
                values.push_back(value);
            inRun = false;
            continue;
        }
        if (!inRun) {
            inRun = true;
            value = 0;
        }
        value = value * 10 + (c - '0');
        if (value >= kRunLimit) {
            values.push_back(value);
            inRun = false;
        }
    }
    if (inRun)
        values.push_back(value);
    return values;
}

std::vector<int64_t> WithoutRepeatedValues(const std::vector<int64_t>& values) {
    std::vector<int64_t> unique;
    std::unordered_set<int64_t> seen;
    for (int64_t value : values) {
        if (seen.insert(value).second)
            unique.push_back(value);
    }
    return unique;
}

std::string FormatIntegerListText(const std::vector<int32_t>& values) {
    std::string text;
    for (int32_t value : values) {
        text += std::to_string(value);
        text += ',';
    }
    return text;
}
