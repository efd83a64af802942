#include "cli/ResultJson.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

// Length of the valid UTF-8 sequence at text[i], or 0 when the bytes there are not one.
size_t Utf8SequenceLength(const std::string& text, size_t i) {
    auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    unsigned char lead = byte(i);
    size_t length;
    uint32_t min;
    if (lead < 0x80)
        return 1;
    if ((lead & 0xE0) == 0xC0)
        length = 2, min = 0x80;
    else if ((lead & 0xF0) == 0xE0)
        length = 3, min = 0x800;
    else if ((lead & 0xF8) == 0xF0)
        length = 4, min = 0x10000;
    else
        return 0;
    if (i + length > text.size())
        return 0;
    uint32_t code = lead & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (byte(i + k) & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

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
