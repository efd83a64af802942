#include "export/SummaryWorkbook.h"

#include "export/AnalysisTable.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>

namespace {

constexpr float kNoValue = std::numeric_limits<float>::quiet_NaN();

// A worksheet being filled row by row: text in column A (and nowhere else),
// numbers in the other columns.
class SheetRows {
public:
    SheetRows(std::string name, std::vector<std::string> headers) {
        m_sheet.name = std::move(name);
        m_sheet.headerRow = std::move(headers);
        m_sheet.textRows.emplace_back(); // row 1 is the header row
    }
    void Add(const std::string& text, const std::vector<float>& numbers) {
        m_sheet.textRows.push_back({text});
        m_values.push_back(numbers);
    }
    // The sheet, its numbers from column `firstNumberColumn` on.
    Worksheet Finish(size_t firstNumberColumn) {
        const size_t columns = m_sheet.headerRow.size();
        m_sheet.dataRows = static_cast<uint32_t>(m_values.size());
        m_sheet.dataColumns.assign(columns, SharedFloatArray());
        for (size_t c = firstNumberColumn; c < columns; ++c) {
            SharedFloatArray column =
                SharedFloatArray::Allocate(std::max<size_t>(m_values.size(), 1));
            for (size_t r = 0; r < m_values.size(); ++r) {
                const size_t k = c - firstNumberColumn;
                column[r] = k < m_values[r].size() ? m_values[r][k] : kNoValue;
            }
            m_sheet.dataColumns[c] = column;
        }
        return std::move(m_sheet);
    }

private:
    Worksheet m_sheet;
    std::vector<std::vector<float>> m_values;
};

std::string FileName(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

std::vector<std::string> TraceHeaders(std::vector<std::string> headers, size_t traces) {
    for (size_t k = 1; k <= traces; ++k)
        headers.push_back("Trace " + std::to_string(k));
    for (const char* name : {"Mean", "SD", "n"})
        headers.push_back(name);
    return headers;
}

// `values` padded to `traces` columns, then their mean, deviation and count.
std::vector<float> WithStatistics(std::vector<float> values, size_t traces) {
    const ValueStatistics statistics = Statistics(values);
    values.resize(traces, kNoValue);
    values.push_back(statistics.mean);
    values.push_back(statistics.standardDeviation);
    values.push_back(static_cast<float>(statistics.count));
    return values;
}

const ResultTable* TableOf(const SummaryEntry& entry, Analysis category) {
    for (const AnalysisResult& result : entry.results)
        if (result.analysis == category && result.table.rows > 0 && result.table.columns.size() > 1)
            return &result.table;
    return nullptr;
}

// One value per trace: the table's second column, one row per analysed trace.
Worksheet PerTraceSheet(const std::vector<SummaryEntry>& entries, Analysis category,
                        const std::string& name) {
    size_t traces = 0;
    for (const SummaryEntry& entry : entries)
        if (const ResultTable* table = TableOf(entry, category))
            traces = std::max<size_t>(traces, table->rows);
    SheetRows rows(name, TraceHeaders({"File"}, traces));
    for (const SummaryEntry& entry : entries) {
        std::vector<float> values;
        if (const ResultTable* table = TableOf(entry, category))
            values.assign(table->columns[1].data(), table->columns[1].data() + table->rows);
        rows.Add(FileName(entry.facts.path), WithStatistics(values, traces));
    }
    return rows.Finish(1);
}

// One row per recording and voltage: the voltage, then one value per trace.
Worksheet CurrentVoltageSheet(const std::vector<SummaryEntry>& entries, const std::string& name) {
    size_t traces = 0;
    for (const SummaryEntry& entry : entries)
        if (const ResultTable* table = TableOf(entry, Analysis::CurrentVoltage))
            traces = std::max(traces, table->columns.size() - 1);
    SheetRows rows(name, TraceHeaders({"File", "Voltage (mV)"}, traces));
    for (const SummaryEntry& entry : entries) {
        const ResultTable* table = TableOf(entry, Analysis::CurrentVoltage);
        for (uint32_t r = 0; table && r < table->rows; ++r) {
            std::vector<float> values;
            for (size_t c = 1; c < table->columns.size(); ++c)
                values.push_back(table->columns[c][r]);
            std::vector<float> row = WithStatistics(values, traces);
            row.insert(row.begin(), table->columns[0][r]);
            rows.Add(FileName(entry.facts.path), row);
        }
    }
    return rows.Finish(1);
}

Worksheet FilesSheet(const std::vector<SummaryEntry>& entries) {
    Worksheet sheet;
    sheet.name = kSummaryFilesSheet;
    sheet.headerRow = {"File",           "Path",    "Size (bytes)",         "SHA-256",
                       "Format version", "Channel", "Sample interval (us)", "Samples per trace",
                       "Traces",         "Error"};
    const size_t rowCount = entries.size();
    sheet.dataRows = static_cast<uint32_t>(rowCount);
    sheet.dataColumns.assign(sheet.headerRow.size(), SharedFloatArray());
    for (size_t c : {4, 5, 6, 7, 8})
        sheet.dataColumns[c] = SharedFloatArray::Allocate(std::max<size_t>(rowCount, 1));
    sheet.textRows.emplace_back();
    for (size_t r = 0; r < rowCount; ++r) {
        const RecordingFacts& facts = entries[r].facts;
        const bool read = entries[r].error.empty();
        // The size as text: a 32-bit float cell holds whole numbers exactly only up to 2^24.
        const std::string size = facts.sha256.empty() ? "" : std::to_string(facts.size);
        sheet.textRows.push_back({FileName(facts.path), facts.path, size, facts.sha256, "", "", "",
                                  "", "", entries[r].error});
        sheet.dataColumns[4][r] = read ? facts.formatVersion : kNoValue;
        sheet.dataColumns[5][r] = read ? static_cast<float>(facts.channel) : kNoValue;
        sheet.dataColumns[6][r] = read ? facts.sampleInterval : kNoValue;
        sheet.dataColumns[7][r] = read ? static_cast<float>(facts.samplesPerTrace) : kNoValue;
        sheet.dataColumns[8][r] = read ? static_cast<float>(facts.traces) : kNoValue;
    }
    return sheet;
}

} // namespace

ValueStatistics Statistics(const std::vector<float>& values) {
    double sum = 0;
    uint32_t count = 0;
    for (float value : values)
        if (std::isfinite(value))
            sum += value, ++count;
    if (count == 0)
        return {kNoValue, kNoValue, 0};
    const double mean = sum / count;
    double squares = 0;
    for (float value : values)
        if (std::isfinite(value))
            squares += (value - mean) * (value - mean);
    const float deviation =
        count < 2 ? kNoValue : static_cast<float>(std::sqrt(squares / (count - 1)));
    return {static_cast<float>(mean), deviation, count};
}

Workbook MakeSummaryWorkbook(const std::vector<SummaryEntry>& entries) {
    Workbook workbook;
    for (const Analysis analysis :
         {Analysis::SlopeConductance, Analysis::CurrentAtTestPotential, Analysis::Capacitance})
        workbook.sheets.push_back(PerTraceSheet(entries, analysis, RowOf(analysis).sheetName));
    // In export order: the current-voltage sheet before the capacitance's.
    workbook.sheets.insert(workbook.sheets.begin() + 2,
                           CurrentVoltageSheet(entries, RowOf(Analysis::CurrentVoltage).sheetName));
    workbook.sheets.push_back(FilesSheet(entries));
    return workbook;
}
