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

namespace {

void AppendStrings(std::string& out, const std::vector<std::string>& texts) {
    out += "[";
    for (size_t i = 0; i < texts.size(); ++i)
        out += (i ? ", " : "") + JsonString(texts[i]);
    out += "]";
}

void AppendCategory(std::string& out, const AnalysisResult& result) {
    const ResultTable& table = result.table;
    out += "{\"sheet\": " + JsonString(result.sheetName) + ", \"headers\": ";
    AppendStrings(out, table.headers);
    // One unit per header: the extra headers beside the data have none.
    std::vector<std::string> units = table.units;
    units.resize(table.headers.size());
    out += ", \"units\": ";
    AppendStrings(out, units);
    out += ", \"columns\": [";
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

} // namespace

std::vector<std::string> AnalysisWarnings(const std::vector<AnalysisResult>& results) {
    std::vector<std::string> warnings;
    for (const AnalysisResult& result : results)
        for (const std::string& warning : result.table.warnings)
            warnings.push_back(result.sheetName + ": " + warning);
    return warnings;
}

std::string ResultsToJson(const std::string& file, const std::vector<AnalysisResult>& results,
                          const ChannelInfo& channel) {
    std::string out = "{\"file\": " + JsonString(file) +
                      ", \"channel\": {\"index\": " + std::to_string(channel.index) +
                      ", \"name\": " + JsonString(channel.name) +
                      ", \"unit\": " + JsonString(channel.unit) + "}, \"categories\": [";
    bool firstCategory = true;
    std::string skipped;
    for (const AnalysisResult& result : results) {
        if (result.table.rows == 0) {
            skipped += std::string(skipped.empty() ? "" : ", ") +
                       "{\"sheet\": " + JsonString(result.sheetName) +
                       ", \"reason\": " + JsonString(result.table.emptyReason) + "}";
            continue;
        }
        out += firstCategory ? "" : ", ";
        firstCategory = false;
        AppendCategory(out, result);
    }
    out += "], \"skipped\": [" + skipped + "], \"warnings\": ";
    AppendStrings(out, AnalysisWarnings(results));
    out += "}";
    return out;
}
