// What a result builder hands back: one column per SharedFloatArray, each with
// `rows` floats, the header cells (there may be more headers than columns),
// the columns' units and what the builder has to say about the result.
#pragma once

#include "recording/SharedFloatArray.h"

#include <cstdint>
#include <string>
#include <vector>

struct ResultTable {
    std::vector<SharedFloatArray> columns;
    std::vector<std::string> headers;
    uint32_t rows = 0; // 0: the category has nothing to export
    // The unit of each column ("" for trace numbers), parallel to `columns`.
    std::vector<std::string> units;
    std::string emptyReason;           // why rows is 0
    std::vector<std::string> warnings; // traces left out, doubtful values
};
