#include "export/Workbook.h"

#include <algorithm>

const Worksheet* Workbook::FindWorksheet(const std::string& name) const {
    for (const Sheet& sheet : sheets)
        if (const auto* worksheet = std::get_if<Worksheet>(&sheet);
            worksheet && worksheet->name == name)
            return worksheet;
    return nullptr;
}

std::vector<const ChartSheet*> Workbook::ChartSheets() const {
    std::vector<const ChartSheet*> charts;
    for (const Sheet& sheet : sheets)
        if (const auto* chart = std::get_if<ChartSheet>(&sheet))
            charts.push_back(chart);
    return charts;
}

std::vector<std::string> Workbook::SheetNames() const {
    std::vector<std::string> names;
    for (const Sheet& sheet : sheets)
        names.push_back(std::visit([](const auto& s) { return s.name; }, sheet));
    return names;
}

Workbook AddWorkbookWithOneSheet() {
    Workbook workbook;
    Worksheet sheet;
    sheet.name = "Sheet1";
    workbook.sheets.emplace_back(std::move(sheet));
    return workbook;
}

namespace {

std::vector<Sheet>::iterator FirstWorksheet(std::vector<Sheet>& sheets) {
    return std::find_if(sheets.begin(), sheets.end(), [](const Sheet& sheet) {
        return std::holds_alternative<Worksheet>(sheet);
    });
}

std::string TooLarge(const std::string& name, uint32_t count, const char* what, uint32_t limit) {
    return "The table \"" + name + "\" has " + std::to_string(count) + " " + what +
           "; a worksheet holds at most " + std::to_string(limit) + ".";
}

} // namespace

ChartSheet* MakeDataAndGraphSheets(Workbook& workbook, const std::string& name,
                                   const std::vector<SharedFloatArray>& columns,
                                   const std::vector<std::string>& headers, uint32_t rows,
                                   int pairsMade, std::string& error) {
    if (rows > kMaxDataRows) {
        error = TooLarge(name, rows, "rows below its header", kMaxDataRows);
        return nullptr;
    }
    if (columns.size() < 2) {
        error = "The table \"" + name + "\" has no column to chart against its first.";
        return nullptr;
    }
    const size_t width = std::max(columns.size(), headers.size());
    if (width > kMaxColumns) {
        error = TooLarge(name, static_cast<uint32_t>(width), "columns", kMaxColumns);
        return nullptr;
    }

    auto dataSheet = FirstWorksheet(workbook.sheets);
    if (pairsMade != 0 || dataSheet == workbook.sheets.end()) {
        workbook.sheets.emplace_back(Worksheet{});
        dataSheet = std::prev(workbook.sheets.end());
    }
    Worksheet& data = std::get<Worksheet>(*dataSheet);
    data.name = name + " Data";
    WriteHeaderRow(data, headers);
    WriteDataBlock(data, columns, rows);

    ChartSheet chart;
    chart.name = name + " Graph";
    chart.chartType = kChartXYScatterSmoothNoMarkers;
    chart.sourceSheet = data.name;
    chart.sourceRows = rows + 1;
    chart.sourceColumns =
        static_cast<uint32_t>(std::min<size_t>(columns.size(), kMaxSeriesPerChart + 1));
    chart.plotAreaFormatsCleared = true;
    FormatAxis(chart.xAxis);
    FormatAxis(chart.yAxis);

    auto at = workbook.sheets.insert(FirstWorksheet(workbook.sheets), std::move(chart));
    return &std::get<ChartSheet>(*at);
}

namespace {

std::string PartName(const std::string& name, size_t index) {
    return index == 0 ? name : name + " (" + std::to_string(index + 1) + ")";
}

// Rows [first, first + count) of `column`, shared when that is all of it.
SharedFloatArray RowSlice(const SharedFloatArray& column, uint32_t first, uint32_t count,
                          uint32_t rows) {
    if (first == 0 && count == rows)
        return column;
    SharedFloatArray slice = SharedFloatArray::Allocate(count);
    std::copy_n(column.data() + first, count, slice.data());
    return slice;
}

} // namespace

std::vector<TablePart> SplitTableToFit(const std::string& name,
                                       const std::vector<SharedFloatArray>& columns,
                                       const std::vector<std::string>& headers, uint32_t rows) {
    const size_t width = std::max(columns.size(), headers.size());
    const size_t perPart = kMaxColumns - 1; // columns after the first in one part
    std::vector<TablePart> parts;
    for (size_t firstColumn = 1; firstColumn < width || parts.empty(); firstColumn += perPart) {
        const size_t lastColumn = std::min(width, firstColumn + perPart);
        for (uint64_t firstRow = 0; firstRow < rows || firstRow == 0; firstRow += kMaxDataRows) {
            const auto count =
                static_cast<uint32_t>(std::min<uint64_t>(rows - firstRow, kMaxDataRows));
            TablePart part;
            part.name = PartName(name, parts.size());
            part.rows = count;
            for (size_t c = 0; c < lastColumn; c = c == 0 ? firstColumn : c + 1) {
                if (c < columns.size())
                    part.columns.push_back(
                        RowSlice(columns[c], static_cast<uint32_t>(firstRow), count, rows));
                if (c < headers.size())
                    part.headers.push_back(headers[c]);
            }
            parts.push_back(std::move(part));
            if (rows == 0)
                break;
        }
    }
    return parts;
}

void WriteHeaderRow(Worksheet& sheet, const std::vector<std::string>& headers) {
    sheet.headerRow = headers;
}

void WriteDataBlock(Worksheet& sheet, const std::vector<SharedFloatArray>& columns, uint32_t rows) {
    sheet.dataColumns = columns;
    sheet.dataRows = rows;
}

void FormatAxis(ChartAxis& axis) {
    axis.majorGridlines = false;
    axis.majorTickMark = kTickMarkOutside;
    axis.minorTickMark = kTickMarkOutside;
    axis.tickLabelPosition = kTickLabelsNextToAxis;
    axis.lineWeight = kLineWeightHeavier;
    axis.lineStyle = kLineContinuous;
    axis.tickLabelFont = ChartFont{.name = "Arial", .style = "Regular", .size = 12, .colour = 0};
}

void SetChartTitle(ChartSheet& chart, const std::string& text, double size,
                   const std::string& fontName, const std::string& fontStyle) {
    chart.hasTitle = true;
    chart.title = text;
    chart.titleFont.name = fontName;
    chart.titleFont.style = fontStyle;
    chart.titleFont.size = size;
}

void SetAxisScale(ChartAxis& axis, double minimum, double maximum, double majorUnit,
                  double minorUnit) {
    axis.autoScale = false;
    axis.scale = {minimum, maximum, majorUnit, minorUnit};
}

void ColourSeries(ChartSheet& chart, const std::vector<SeriesStyle>& styles) {
    const size_t count = std::min<size_t>(styles.size(), chart.SeriesCount());
    chart.seriesStyles.assign(styles.begin(), styles.begin() + static_cast<ptrdiff_t>(count));
}

double LineWeightPoints(int weightCode) {
    switch (weightCode) {
    case 1:
        return 0.25;
    case 2:
        return 0.75;
    case 3:
        return 1.5;
    case 4:
        return 2.25;
    default:
        return 0.75;
    }
}
