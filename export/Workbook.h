// The results workbook as the export builds it, before it is written to a file
// or printed: worksheets holding a table, chart sheets holding an XY chart of a
// worksheet's table, in tab order. The sheet helpers below build it the way a
// spreadsheet application is driven (first worksheet reused, chart sheets
// inserted before the first worksheet); the .xlsx writer and the chart printer
// read it. Sample arrays are shared with the result tables, never copied.
#pragma once

#include "recording/SharedFloatArray.h"

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

// Codes of the spreadsheet automation interface, kept so that the layout reads
// as the spreadsheet application's own settings.
inline constexpr int kChartXYScatterSmoothNoMarkers = 73;
inline constexpr int kTickMarkNone = -4142;
inline constexpr int kTickMarkInside = 2;
inline constexpr int kTickMarkOutside = 3;
inline constexpr int kTickMarkCross = 4;
inline constexpr int kTickLabelsHigh = -4127;
inline constexpr int kTickLabelsLow = -4134;
inline constexpr int kTickLabelsNone = -4142;
inline constexpr int kTickLabelsNextToAxis = 4;
inline constexpr int kLineContinuous = 1;
inline constexpr int kLineDash = -4115;
inline constexpr int kLineDot = -4118;
inline constexpr int kLineDashDot = 4;
inline constexpr int kLineWeightThin = 2;
inline constexpr int kLineWeightHeavier = 3;

// Limits of one worksheet (rows below the header row, columns) and of one chart.
inline constexpr uint32_t kMaxDataRows = 1048575;
inline constexpr uint32_t kMaxColumns = 16384;
inline constexpr uint32_t kMaxSeriesPerChart = 255;

struct ChartFont {
    std::string name = "Calibri";
    std::string style = "Regular"; // "Regular", "Bold", "Italic" or "Bold Italic"
    double size = 10.0;            // points
    uint32_t colour = 0;           // 0x00BBGGRR
};

struct AxisScale {
    double minimum = 0.0;
    double maximum = 0.0;
    double majorUnit = 0.0;
    double minorUnit = 0.0;
};

// One axis; a default-constructed axis is the application's automatic axis.
struct ChartAxis {
    bool majorGridlines = false;
    int majorTickMark = kTickMarkOutside;
    int minorTickMark = kTickMarkNone;
    int tickLabelPosition = kTickLabelsNextToAxis;
    int lineStyle = kLineContinuous;
    int lineWeight = kLineWeightThin;
    ChartFont tickLabelFont;
    bool autoScale = true; // false: `scale` holds the fixed scale
    AxisScale scale;
    std::string title; // empty: no axis title
};

// The application's automatic value axis: major gridlines shown.
inline ChartAxis ValueAxisWithGridlines() {
    ChartAxis axis;
    axis.majorGridlines = true;
    return axis;
}

struct SeriesStyle {
    uint32_t colour = 0; // 0x00BBGGRR
    int lineStyle = kLineContinuous;
    int lineWeight = kLineWeightHeavier;
};

struct Worksheet {
    std::string name;
    std::vector<std::string> headerRow;        // row 1 from column A
    std::vector<SharedFloatArray> dataColumns; // from A2 down; NaN and infinities stay empty
    uint32_t dataRows = 0;
    // Rows of text cells from A1 (a sheet of notes, such as the details sheet);
    // used instead of the header row and data block.
    std::vector<std::vector<std::string>> textRows;
};

struct ChartSheet {
    std::string name;
    int chartType = kChartXYScatterSmoothNoMarkers;
    // Source range: cell A1 of `sourceSheet` resized to `sourceRows` rows (the
    // header row and the data) by `sourceColumns` columns. Column A gives X,
    // every further column one series named by its header cell.
    std::string sourceSheet;
    uint32_t sourceRows = 0;
    uint32_t sourceColumns = 0;
    bool plotAreaFormatsCleared = false;
    bool hasTitle = false;
    std::string title;
    ChartFont titleFont;
    ChartAxis xAxis;
    ChartAxis yAxis = ValueAxisWithGridlines();
    std::vector<SeriesStyle>
        seriesStyles; // element i styles series i+1; later series keep defaults

    uint32_t SeriesCount() const { return sourceColumns > 1 ? sourceColumns - 1 : 0; }
};

using Sheet = std::variant<Worksheet, ChartSheet>;

struct Workbook {
    std::vector<Sheet> sheets; // tab order

    // The worksheet called `name`, or null.
    const Worksheet* FindWorksheet(const std::string& name) const;
    // The chart sheets in tab order.
    std::vector<const ChartSheet*> ChartSheets() const;
    std::vector<std::string> SheetNames() const;
};

// A new workbook with one empty worksheet, "Sheet1".
Workbook AddWorkbookWithOneSheet();

// Adds the data sheet `name` + " Data" (the first worksheet when `pairsMade` is
// 0, else a new one after the last sheet) holding `headers` and `columns`, and
// the chart sheet `name` + " Graph" before the first worksheet, charting the
// table's columns against its first. Returns the new chart sheet, valid until
// the workbook's sheets change. Fails, leaving the workbook as it was and
// putting the reason into `error`, when the table does not fit a worksheet or
// has fewer than two columns.
// A table wider than one chart's series limit is written whole and charted
// with its first kMaxSeriesPerChart series.
ChartSheet* MakeDataAndGraphSheets(Workbook& workbook, const std::string& name,
                                   const std::vector<SharedFloatArray>& columns,
                                   const std::vector<std::string>& headers, uint32_t rows,
                                   int pairsMade, std::string& error);

// One worksheet's share of a table (see SplitTableToFit).
struct TablePart {
    std::string name;
    std::vector<SharedFloatArray> columns;
    std::vector<std::string> headers;
    uint32_t rows = 0;
};

// Splits a table too large for one worksheet into parts that fit, named
// `name`, "`name` (2)", "`name` (3)", ...: rows beyond kMaxDataRows continue in
// further parts (those rows copied), columns beyond kMaxColumns too, every part
// keeping the first column (the x values) and the headers of its columns. A
// table that fits is one part sharing its arrays. Throws std::bad_alloc when
// the copies cannot be made.
std::vector<TablePart> SplitTableToFit(const std::string& name,
                                       const std::vector<SharedFloatArray>& columns,
                                       const std::vector<std::string>& headers, uint32_t rows);

// Puts `headers` into row 1 from column A.
void WriteHeaderRow(Worksheet& sheet, const std::vector<std::string>& headers);

// Puts `rows` values of each column below the header row, column c in column c.
void WriteDataBlock(Worksheet& sheet, const std::vector<SharedFloatArray>& columns, uint32_t rows);

// No major gridlines, tick marks outside, tick labels next to the axis, a
// continuous heavier axis line, tick labels in Arial regular 12 black.
void FormatAxis(ChartAxis& axis);

// Shows `text` as the chart's title in the given font (size in points).
void SetChartTitle(ChartSheet& chart, const std::string& text, double size,
                   const std::string& fontName, const std::string& fontStyle);

// Fixes the axis scale: minimum, maximum and the major and minor tick units.
void SetAxisScale(ChartAxis& axis, double minimum, double maximum, double majorUnit,
                  double minorUnit);

// Styles series 1, 2, ... from `styles` in order, as far as both reach.
void ColourSeries(ChartSheet& chart, const std::vector<SeriesStyle>& styles);

// Line width in points of a line weight code (hairline 1 to thick 4).
double LineWeightPoints(int weightCode);
