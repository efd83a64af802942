#include "export/DetailsSheet.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace {

using Rows = std::vector<std::vector<std::string>>;

std::string ChannelText(const ChannelInfo& channel) {
    if (channel.index < 0)
        return "(none)";
    return std::to_string(channel.index) + ": " + channel.name + " (" + channel.unit + ")";
}

std::string NumberText(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}

void AddRecordings(Rows& rows, const TraceStore& store) {
    for (const RecordingSource& source : store.sources) {
        rows.push_back({"Recording", source.path});
        rows.push_back({"Size (bytes)", std::to_string(source.size)});
        rows.push_back({"SHA-256", source.sha256});
        rows.push_back({"Format", source.format});
        rows.push_back({"Channel", ChannelText(source.channel)});
        rows.push_back({"Sample interval (\xC2\xB5s)", NumberText(source.sampleInterval)});
        rows.push_back({"Samples per trace", std::to_string(source.samplesPerTrace)});
        rows.push_back({"Traces", std::to_string(source.traces)});
        rows.push_back({});
    }
}

void AddAnalysis(Rows& rows, const AnalysisResult& result,
                 const std::vector<std::pair<std::string, std::string>>& settings) {
    const ResultTable& table = result.table;
    rows.push_back({"Analysis", result.sheetName});
    for (const auto& [name, value] : settings)
        rows.push_back({name, value});
    if (table.rows == 0) {
        rows.push_back({"Skipped", table.emptyReason});
    } else {
        for (size_t c = 0; c < table.headers.size() && c < table.columns.size(); ++c)
            rows.push_back(
                {"Unit of \"" + table.headers[c] + "\"",
                 c < table.units.size() && !table.units[c].empty() ? table.units[c] : "(none)"});
    }
    for (const std::string& warning : table.warnings)
        rows.push_back({"Warning", warning});
    rows.push_back({});
}

} // namespace

Worksheet MakeDetailsSheet(const TraceStore& store, const ExportChoices& choices,
                           const std::vector<AnalysisResult>& results,
                           const std::string& analysedAt) {
    Rows rows;
    rows.push_back({"Program", kProgramNameAndVersion});
    rows.push_back({"Analysed", analysedAt});
    rows.push_back({});
    AddRecordings(rows, store);
    for (size_t i = 0; i < results.size(); ++i)
        AddAnalysis(rows, results[i],
                    i < choices.settingsUsed.size() ? choices.settingsUsed[i]
                                                    : ExportChoices::Settings{});
    Worksheet sheet;
    sheet.name = kDetailsSheetName;
    sheet.textRows = std::move(rows);
    return sheet;
}

namespace {

std::string WithUnit(const std::string& title, const std::string& unit) {
    return unit.empty() ? title : title + " (" + unit + ")";
}

} // namespace

void SetAxisTitles(ChartSheet& chart, const AnalysisResult& result) {
    const ResultTable& table = result.table;
    auto unitOf = [&](size_t c) { return c < table.units.size() ? table.units[c] : std::string(); };
    if (!table.headers.empty())
        chart.xAxis.title = WithUnit(table.headers[0], unitOf(0));
    if (result.analysis == Analysis::CurrentVoltage)
        chart.yAxis.title = WithUnit("Current", unitOf(1));
    else if (table.headers.size() > 1)
        chart.yAxis.title = WithUnit(table.headers[1], unitOf(1));
}

std::string CurrentTimeText() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S UTC", &utc);
    return text;
}
