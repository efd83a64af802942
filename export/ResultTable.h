// What a result builder hands back: one column per SharedFloatArray, each with
// `rows` floats, and the header cells (there may be more headers than columns).
#pragma once

#include "recording/SharedFloatArray.h"

#include <cstdint>
#include <string>
#include <vector>

struct ResultTable {
    std::vector<SharedFloatArray> columns;
    std::vector<std::string> headers;
    uint32_t rows = 0; // 0: the category has nothing to export
};
