#include "export/XlsxWriter.h"

#include "platform/ColourRef.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <initializer_list>
#include <memory>
#include <system_error>
#include <utility>

namespace {

lxw_color_t LxwColour(uint32_t bgr) {
    const uint32_t rgb = (uint32_t{ColourRefRed(bgr)} << 16) |
                         (uint32_t{ColourRefGreen(bgr)} << 8) | ColourRefBlue(bgr);
    // libxlsxwriter reads 0 as "no colour"; black has its own value.
    return rgb == 0 ? static_cast<lxw_color_t>(LXW_COLOR_BLACK) : rgb;
}

// The library's value for a spreadsheet code: the table's match, else `other`.
uint8_t Lookup(int code, std::initializer_list<std::pair<int, uint8_t>> table, uint8_t other) {
    for (const auto& [from, to] : table) {
        if (from == code)
            return to;
    }
    return other;
}

uint8_t LxwTickMark(int code) {
    return Lookup(code,
                  {{kTickMarkNone, LXW_CHART_AXIS_TICK_MARK_NONE},
                   {kTickMarkInside, LXW_CHART_AXIS_TICK_MARK_INSIDE},
                   {kTickMarkOutside, LXW_CHART_AXIS_TICK_MARK_OUTSIDE},
                   {kTickMarkCross, LXW_CHART_AXIS_TICK_MARK_CROSSING}},
                  LXW_CHART_AXIS_TICK_MARK_DEFAULT);
}

uint8_t LxwLabelPosition(int code) {
    return Lookup(code,
                  {{kTickLabelsHigh, LXW_CHART_AXIS_LABEL_POSITION_HIGH},
                   {kTickLabelsLow, LXW_CHART_AXIS_LABEL_POSITION_LOW},
                   {kTickLabelsNone, LXW_CHART_AXIS_LABEL_POSITION_NONE}},
                  LXW_CHART_AXIS_LABEL_POSITION_NEXT_TO);
}

uint8_t LxwDash(int lineStyle) {
    return Lookup(lineStyle,
                  {{kLineDash, LXW_CHART_LINE_DASH_DASH},
                   {kLineDot, LXW_CHART_LINE_DASH_ROUND_DOT},
                   {kLineDashDot, LXW_CHART_LINE_DASH_DASH_DOT}},
                  LXW_CHART_LINE_DASH_SOLID);
}

// A font description whose name string lives as long as `font`.
struct LxwFont {
    explicit LxwFont(const ChartFont& font) : name(font.name) {
        value.name = name.data();
        value.size = font.size;
        const bool bold = font.style.find("Bold") != std::string::npos;
        const bool italic = font.style.find("Italic") != std::string::npos;
        value.bold = bold ? 1 : LXW_EXPLICIT_FALSE;
        value.italic = italic ? 1 : 0;
        value.color = LxwColour(font.colour);
    }
    std::string name;
    lxw_chart_font value{};
};

void WriteAxis(lxw_chart_axis* axis, const ChartAxis& format) {
    chart_axis_major_gridlines_set_visible(axis, format.majorGridlines);
    chart_axis_set_major_tick_mark(axis, LxwTickMark(format.majorTickMark));
    chart_axis_set_minor_tick_mark(axis, LxwTickMark(format.minorTickMark));
    chart_axis_set_label_position(axis, LxwLabelPosition(format.tickLabelPosition));
    lxw_chart_line line{};
    line.width = static_cast<float>(LineWeightPoints(format.lineWeight));
    line.dash_type = LxwDash(format.lineStyle);
    chart_axis_set_line(axis, &line);
    LxwFont font(format.tickLabelFont);
    chart_axis_set_num_font(axis, &font.value);
    if (!format.title.empty())
        chart_axis_set_name(axis, format.title.c_str());
    if (!format.autoScale) {
        chart_axis_set_min(axis, format.scale.minimum);
        chart_axis_set_max(axis, format.scale.maximum);
        chart_axis_set_major_unit(axis, format.scale.majorUnit);
        chart_axis_set_minor_unit(axis, format.scale.minorUnit);
    }
}

std::string LxwReason(lxw_error error) {
    return lxw_strerror(error);
}

// The double with the shortest decimal form that reads back as `value`: the
// cell shows 0.1 rather than 0.100000001490116 for the float 0.1, and holds
// exactly the same 32-bit value.
double ShortestDouble(float value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text - 1, value);
    *result.ptr = '\0';
    return std::strtod(text, nullptr);
}

// The cells of one row: its text cells, then (row 0) the header row, then
// (below it) the row's numbers. Rows must be written top to bottom: in
// constant-memory mode a row is on disk once a later one is begun.
lxw_error WriteRow(lxw_worksheet* worksheet, const Worksheet& sheet, uint32_t r) {
    if (r < sheet.textRows.size()) {
        for (size_t c = 0; c < sheet.textRows[r].size(); ++c) {
            if (sheet.textRows[r][c].empty())
                continue;
            if (const lxw_error error = worksheet_write_string(
                    worksheet, r, static_cast<lxw_col_t>(c), sheet.textRows[r][c].c_str(), nullptr))
                return error;
        }
    }
    if (r == 0) {
        for (size_t c = 0; c < sheet.headerRow.size(); ++c)
            if (const lxw_error error = worksheet_write_string(
                    worksheet, 0, static_cast<lxw_col_t>(c), sheet.headerRow[c].c_str(), nullptr))
                return error;
        return LXW_NO_ERROR;
    }
    if (r > sheet.dataRows)
        return LXW_NO_ERROR;
    for (size_t c = 0; c < sheet.dataColumns.size(); ++c) {
        const SharedFloatArray& column = sheet.dataColumns[c];
        if (!column)
            continue;
        const float value = column[r - 1];
        if (!std::isfinite(value))
            continue; // no number to show; an .xlsx cannot hold NaN or infinity
        if (const lxw_error error = worksheet_write_number(worksheet, r, static_cast<lxw_col_t>(c),
                                                           ShortestDouble(value), nullptr))
            return error;
    }
    return LXW_NO_ERROR;
}

uint64_t RowCount(const Worksheet& sheet) {
    return std::max<uint64_t>(sheet.textRows.size(), uint64_t(sheet.dataRows) + 1);
}

// Counts the rows written across the workbook and tells `progress` every few
// thousand rows: often enough for a progress bar and a prompt stop, rarely
// enough to cost nothing.
struct RowCounter {
    const RowProgress& progress;
    uint64_t total = 0;
    uint64_t done = 0;

    static constexpr uint64_t kRowsBetweenReports = 4096;
    bool Advance(uint64_t rows) {
        const uint64_t before = done / kRowsBetweenReports;
        done += rows;
        return !progress || done / kRowsBetweenReports == before || progress(done, total);
    }
};

bool WriteWorksheet(lxw_workbook* book, const Worksheet& sheet, RowCounter& counter,
                    std::string& reason) {
    lxw_worksheet* worksheet = workbook_add_worksheet(book, sheet.name.c_str());
    if (!worksheet) {
        reason = "the sheet \"" + sheet.name + "\" could not be added";
        return false;
    }
    const uint64_t rows = RowCount(sheet);
    for (uint64_t r = 0; r < rows; ++r) {
        if (const lxw_error error = WriteRow(worksheet, sheet, static_cast<uint32_t>(r))) {
            reason = LxwReason(error);
            return false;
        }
        if (!counter.Advance(1)) {
            reason = kWriteStoppedReason;
            return false;
        }
    }
    return true;
}

bool WriteChartSheet(lxw_workbook* book, const ChartSheet& sheet, std::string& reason) {
    lxw_chartsheet* chartsheet = workbook_add_chartsheet(book, sheet.name.c_str());
    lxw_chart* chart = workbook_add_chart(book, LXW_CHART_SCATTER_SMOOTH);
    if (!chartsheet || !chart) {
        reason = "the chart sheet \"" + sheet.name + "\" could not be added";
        return false;
    }
    const char* source = sheet.sourceSheet.c_str();
    const lxw_row_t lastRow = sheet.sourceRows > 0 ? sheet.sourceRows - 1 : 0;
    for (uint32_t s = 1; s <= sheet.SeriesCount(); ++s) {
        lxw_chart_series* series = chart_add_series(chart, nullptr, nullptr);
        if (!series) {
            reason = LxwReason(LXW_ERROR_MEMORY_MALLOC_FAILED);
            return false;
        }
        const auto column = static_cast<lxw_col_t>(s);
        chart_series_set_categories(series, source, 1, 0, lastRow, 0);
        chart_series_set_values(series, source, 1, column, lastRow, column);
        chart_series_set_name_range(series, source, 0, column);
        if (s <= sheet.seriesStyles.size()) {
            const SeriesStyle& style = sheet.seriesStyles[s - 1];
            lxw_chart_line line{};
            line.color = LxwColour(style.colour);
            line.width = static_cast<float>(LineWeightPoints(style.lineWeight));
            line.dash_type = LxwDash(style.lineStyle);
            chart_series_set_line(series, &line);
        }
    }
    WriteAxis(chart->x_axis, sheet.xAxis);
    WriteAxis(chart->y_axis, sheet.yAxis);
    if (sheet.hasTitle) {
        // A leading "=" would make the title a cell reference.
        const std::string title =
            (!sheet.title.empty() && sheet.title[0] == '=') ? " " + sheet.title : sheet.title;
        chart_title_set_name(chart, title.c_str());
        LxwFont font(sheet.titleFont);
        chart_title_set_name_font(chart, &font.value);
    }
    chartsheet_set_landscape(chartsheet);
    const lxw_error error = chartsheet_set_chart(chartsheet, chart);
    if (error != LXW_NO_ERROR) {
        reason = LxwReason(error);
        return false;
    }
    return true;
}

} // namespace

bool WriteXlsxFile(const Workbook& workbook, const std::string& path, std::string& reason,
                   const RowProgress& progress) {
    // Rows go straight to disk as they are written (every sheet is written row
    // by row); charts then carry no cached copy of their values, which
    // spreadsheet programs read from the cells anyway. This more than halves
    // the time for large tables.
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    lxw_workbook* book = workbook_new_opt(path.c_str(), &options);
    if (!book) {
        reason = LxwReason(LXW_ERROR_MEMORY_MALLOC_FAILED);
        return false;
    }
    RowCounter counter{progress};
    for (const Sheet& sheet : workbook.sheets)
        if (const auto* worksheet = std::get_if<Worksheet>(&sheet))
            counter.total += RowCount(*worksheet);
    for (const Sheet& sheet : workbook.sheets) {
        const bool written = std::holds_alternative<Worksheet>(sheet)
                                 ? WriteWorksheet(book, std::get<Worksheet>(sheet), counter, reason)
                                 : WriteChartSheet(book, std::get<ChartSheet>(sheet), reason);
        if (!written) {
            lxw_workbook_free(book);
            return false;
        }
    }
    // Packing the file takes a while too: a last chance to stop before it.
    if (progress && !progress(counter.total, counter.total)) {
        lxw_workbook_free(book);
        reason = kWriteStoppedReason;
        return false;
    }
    errno = 0;
    const lxw_error error = workbook_close(book);
    if (error != LXW_NO_ERROR) {
        const int systemError = errno;
        reason = systemError != 0 ? std::generic_category().message(systemError) : LxwReason(error);
        return false;
    }
    return true;
}
