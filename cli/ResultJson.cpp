#include "cli/ResultJson.h"

#include "platform/Utf8.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

void AppendNumber(std::string& out, float value) {
    if (!std::isfinite(value)) {
        out += "null";
        return;
    }
    char text[32];
    auto [end, error] = std::to_chars(text, text + sizeof text, value);
    out.append(text, error == std::errc() ? end : text);
}

} // namespace

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (size_t i = 0; i < text.size();) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
            ++i;
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
            ++i;
        } else if (size_t length = Utf8SequenceLength(text, i)) {
            out.append(text, i, length);
            i += length;
        } else {
            out += "\\ufffd";
            ++i;
        }
    }
    out += '"';
    return out;
}

std::string ResultsToJson(const std::string& file, const std::vector<AnalysisResult>& results) {
    std::string out = "{\"file\": " + JsonString(file) + ", \"categories\": [";
    bool firstCategory = true;
    for (const AnalysisResult& result : results) {
        const ResultTable& table = result.table;
        if (table.rows == 0)
            continue;
        out += firstCategory ? "" : ", ";
        firstCategory = false;
        out += "{\"sheet\": " + JsonString(result.sheetName) + ", \"headers\": [";
        for (size_t h = 0; h < table.headers.size(); ++h)
            out += (h ? ", " : "") + JsonString(table.headers[h]);
        out += "], \"columns\": [";
        for (size_t c = 0; c < table.columns.size(); ++c) {
            out += c ? ", [" : "[";
            for (uint32_t r = 0; r < table.rows; ++r) {
                if (r)
                    out += ", ";
                AppendNumber(out, table.columns[c][r]);
            }
            out += "]";
        }
        out += "], \"rows\": " + std::to_string(table.rows) + "}";
    }
    out += "]}";
    return out;
}
