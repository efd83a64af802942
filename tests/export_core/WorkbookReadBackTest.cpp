// The written .xlsx read back: sheet names and order, header cells, every
// number of a data sheet, the charts' type, series, axes, colours and titles.
#include "export/ResultBuilders.h"
#include "export/WorkbookFiles.h"
#include "export/XlsxWriter.h"
#include "tests/export_core/ExportFixtures.h"
#include "tests/export_core/XlsxReadBack.h"
#include "tests/support/TempDir.h"

#include "platform/Messages.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using Strings = std::vector<std::string>;

ReadBackWorkbook ReadOrFail(const std::string& path) {
    std::string error;
    auto book = ReadXlsx(path, error);
    EXPECT_TRUE(book.has_value()) << error;
    return book ? *book : ReadBackWorkbook{};
}

std::string Val(const XmlElement* element) {
    return element ? element->Attribute("val") : "<none>";
}

// The chart's two value axes: (X at the bottom, Y at the left).
std::pair<const XmlElement*, const XmlElement*> Axes(const XmlElement& chart) {
    const XmlElement* plot = chart.Path("c:chart/c:plotArea");
    const XmlElement* x = nullptr;
    const XmlElement* y = nullptr;
    for (const XmlElement* axis : plot->Children("c:valAx")) {
        const std::string position = Val(axis->Child("c:axPos"));
        (position == "b" ? x : y) = axis;
    }
    return {x, y};
}

// Colour of a shape's line (<a:ln><a:solidFill><a:srgbClr val=..>), or "".
std::string LineColour(const XmlElement* spPr) {
    const XmlElement* colour = spPr ? spPr->Path("a:ln/a:solidFill/a:srgbClr") : nullptr;
    return colour ? colour->Attribute("val") : "";
}

void ExpectArialRegular(const XmlElement* txPr, const std::string& size, const char* what) {
    ASSERT_NE(txPr, nullptr) << what;
    const auto runs = txPr->Descendants("a:defRPr");
    ASSERT_FALSE(runs.empty()) << what;
    const XmlElement* run = runs[0];
    EXPECT_EQ(run->Attribute("sz"), size) << what;
    EXPECT_EQ(run->Attribute("b"), "0") << what;
    EXPECT_NE(run->Attribute("i"), "1") << what;
    const XmlElement* latin = run->Child("a:latin");
    ASSERT_NE(latin, nullptr) << what;
    EXPECT_EQ(latin->Attribute("typeface"), "Arial") << what;
}

class FullExport : public ::testing::Test {
protected:
    void SetUp() override {
        recording = dir.file("cell.abf");
        choices = fixtures::AllCategories(store);
        options.autoPrint = false;
        outcome = CExcelExport(nullptr, nullptr).ExportResults(store, choices, recording, options);
        ASSERT_EQ(outcome.savedPath, dir.file("cell.abf.xlsx"));
        book = ReadOrFail(outcome.savedPath);
    }

    TempDir dir;
    RecordingMessageSink messages;
    TraceStore store = fixtures::ModelStore(4);
    ExportChoices choices;
    ExportOptions options;
    std::string recording;
    ExportOutcome outcome;
    ReadBackWorkbook book;
};

TEST_F(FullExport, AllChartSheetsFirstThenAllDataSheetsInBuilderOrder) {
    const Strings expected = {"Slope Conductance Graph",
                              "ICl Time Course Graph",
                              "IV Graph",
                              "Capacitance Graph",
                              "Traces Graph",
                              "Slope Conductance Data",
                              "ICl Time Course Data",
                              "IV Data",
                              "Capacitance Data",
                              "Traces Data"};
    EXPECT_EQ(book.SheetNames(), expected);
    EXPECT_EQ(outcome.sheetNames, expected);
    for (size_t i = 0; i < book.sheets.size(); ++i)
        EXPECT_EQ(book.sheets[i].isChart, i < 5) << book.sheets[i].name;
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(FullExport, DataSheetHoldsHeadersAndEveryNumberOfTheTable) {
    const auto results = RunResultBuilders(store, choices);
    for (const CategoryResult& result : results) {
        const ReadBackSheet* sheet = book.Find(result.sheetName + " Data");
        ASSERT_NE(sheet, nullptr) << result.sheetName;
        const ResultTable& table = result.table;
        for (size_t c = 0; c < table.headers.size(); ++c) {
            auto cell = sheet->cells.find({0, static_cast<int>(c)});
            ASSERT_NE(cell, sheet->cells.end()) << result.sheetName << " header " << c;
            EXPECT_TRUE(cell->second.isText);
            EXPECT_EQ(cell->second.text, table.headers[c]);
        }
        size_t numbers = 0;
        for (uint32_t r = 0; r < table.rows; ++r) {
            for (size_t c = 0; c < table.columns.size(); ++c) {
                auto cell = sheet->cells.find({static_cast<int>(r + 1), static_cast<int>(c)});
                ASSERT_NE(cell, sheet->cells.end()) << result.sheetName << " " << r << "," << c;
                ASSERT_FALSE(cell->second.isText);
                // The float goes in exactly and comes back to the same float.
                ASSERT_EQ(static_cast<float>(cell->second.number), table.columns[c][r])
                    << result.sheetName << " row " << r << " column " << c;
                ++numbers;
            }
        }
        // Nothing else on the sheet but the headers and the data block.
        EXPECT_EQ(sheet->cells.size(), table.headers.size() + numbers) << result.sheetName;
    }
}

TEST_F(FullExport, ChartsAreSmoothScatterOfTheirDataColumnsNamedByHeaders) {
    const auto results = RunResultBuilders(store, choices);
    for (const CategoryResult& result : results) {
        const ReadBackSheet* sheet = book.Find(result.sheetName + " Graph");
        ASSERT_NE(sheet, nullptr);
        ASSERT_TRUE(sheet->isChart);
        const XmlElement* scatter = sheet->chart.Path("c:chart/c:plotArea/c:scatterChart");
        ASSERT_NE(scatter, nullptr) << result.sheetName;
        EXPECT_EQ(Val(scatter->Child("c:scatterStyle")), "smoothMarker");

        const std::string quoted = "'" + result.sheetName + " Data'!";
        const std::string lastRow = std::to_string(result.table.rows + 1);
        const auto series = scatter->Children("c:ser");
        ASSERT_EQ(series.size(), result.table.columns.size() - 1) << result.sheetName;
        for (size_t s = 0; s < series.size(); ++s) {
            const std::string column(1, static_cast<char>('B' + s));
            const XmlElement* ser = series[s];
            EXPECT_EQ(ser->Path("c:tx/c:strRef/c:f")->text, quoted + "$" + column + "$1");
            EXPECT_EQ(ser->Path("c:xVal/c:numRef/c:f")->text, quoted + "$A$2:$A$" + lastRow);
            EXPECT_EQ(ser->Path("c:yVal/c:numRef/c:f")->text,
                      quoted + "$" + column + "$2:$" + column + "$" + lastRow);
            EXPECT_EQ(Val(ser->Path("c:marker/c:symbol")), "none");
            EXPECT_EQ(Val(ser->Child("c:smooth")), "1");
        }
    }
}

TEST_F(FullExport, AxesAreFormattedAndTitlesNameTheRecording) {
    const auto results = RunResultBuilders(store, choices);
    for (const CategoryResult& result : results) {
        const XmlElement& chart = book.Find(result.sheetName + " Graph")->chart;
        auto [x, y] = Axes(chart);
        ASSERT_NE(x, nullptr);
        ASSERT_NE(y, nullptr);
        for (const XmlElement* axis : {x, y}) {
            EXPECT_EQ(axis->Child("c:majorGridlines"), nullptr) << result.sheetName;
            EXPECT_EQ(Val(axis->Child("c:majorTickMark")), "out");
            EXPECT_EQ(Val(axis->Child("c:minorTickMark")), "out");
            EXPECT_EQ(Val(axis->Child("c:tickLblPos")), "nextTo");
            const XmlElement* line = axis->Path("c:spPr/a:ln");
            ASSERT_NE(line, nullptr);
            EXPECT_EQ(line->Attribute("w"), "19050"); // 1.5 pt, heavier than the 0.75 pt default
            // A continuous line: no dash pattern, or the solid one.
            const XmlElement* dash = line->Child("a:prstDash");
            EXPECT_TRUE(!dash || dash->Attribute("val") == "solid");
            ExpectArialRegular(axis->Child("c:txPr"), "1200", "tick labels");
            const auto fill = axis->Child("c:txPr")->Descendants("a:srgbClr");
            ASSERT_FALSE(fill.empty());
            EXPECT_EQ(fill[0]->Attribute("val"), "000000");
        }
        const XmlElement* title = chart.Path("c:chart/c:title");
        ASSERT_NE(title, nullptr);
        std::string text;
        for (const XmlElement* t : title->Descendants("a:t"))
            text += t->text;
        EXPECT_EQ(text, "cell" + result.titleSuffix);
        const auto runs = title->Descendants("a:rPr");
        ASSERT_FALSE(runs.empty());
        EXPECT_EQ(runs[0]->Attribute("sz"), "1600");
        EXPECT_EQ(runs[0]->Attribute("b"), "0");
        ASSERT_NE(runs[0]->Child("a:latin"), nullptr);
        EXPECT_EQ(runs[0]->Child("a:latin")->Attribute("typeface"), "Arial");
    }
}

TEST_F(FullExport, OnlyTheCurrentVoltageChartHasAFixedScaleAndColours) {
    for (const char* name : {"Slope Conductance Graph", "ICl Time Course Graph",
                             "Capacitance Graph", "Traces Graph"}) {
        const XmlElement& chart = book.Find(name)->chart;
        auto [x, y] = Axes(chart);
        EXPECT_EQ(x->Path("c:scaling/c:min"), nullptr) << name;
        EXPECT_EQ(x->Child("c:majorUnit"), nullptr) << name;
        for (const XmlElement* ser : chart.Descendants("c:ser"))
            EXPECT_EQ(LineColour(ser->Child("c:spPr")), "") << name;
    }
    const XmlElement& iv = book.Find("IV Graph")->chart;
    auto [x, y] = Axes(iv);
    EXPECT_EQ(Val(x->Path("c:scaling/c:min")), "-80");
    EXPECT_EQ(Val(x->Path("c:scaling/c:max")), "50");
    EXPECT_EQ(Val(x->Child("c:majorUnit")), "10");
    EXPECT_EQ(Val(x->Child("c:minorUnit")), "5");
    EXPECT_EQ(y->Path("c:scaling/c:min"), nullptr);
    // Four traces: the table has 5 columns, so dark green stands third.
    const auto series = iv.Descendants("c:ser");
    ASSERT_EQ(series.size(), 4u);
    EXPECT_EQ(LineColour(series[0]->Child("c:spPr")), "00FF00");
    EXPECT_EQ(LineColour(series[1]->Child("c:spPr")), "0000FF");
    EXPECT_EQ(LineColour(series[2]->Child("c:spPr")), "008000");
    EXPECT_EQ(LineColour(series[3]->Child("c:spPr")), "FF0000");
    EXPECT_EQ(series[0]->Path("c:spPr/a:ln")->Attribute("w"), "19050");
}

// Writes one hand-made table as the IV category and reads its chart back.
XmlElement WriteIvChart(const TempDir& dir, uint32_t traceColumns) {
    std::vector<SharedFloatArray> columns;
    std::vector<std::string> headers{"Voltage"};
    for (uint32_t c = 0; c <= traceColumns; ++c) {
        SharedFloatArray column = SharedFloatArray::Allocate(3);
        for (int r = 0; r < 3; ++r)
            column[r] = static_cast<float>(c * 10 + r);
        columns.push_back(column);
        if (c > 0)
            headers.push_back(std::to_string(c));
    }
    Workbook workbook = AddWorkbookWithOneSheet();
    std::string error;
    ChartSheet* chart = MakeDataAndGraphSheets(workbook, "IV", columns, headers, 3, 0, error);
    EXPECT_NE(chart, nullptr) << error;
    ColourSeries(*chart, CurrentVoltageSeriesStyles(columns.size()));
    const std::string path = dir.file("iv" + std::to_string(traceColumns) + ".xlsx");
    std::string reason;
    EXPECT_TRUE(WriteXlsxFile(workbook, path, reason)) << reason;
    return ReadOrFail(path).Find("IV Graph")->chart;
}

std::vector<std::string> SeriesColours(const XmlElement& chart) {
    std::vector<std::string> colours;
    for (const XmlElement* ser : chart.Descendants("c:ser"))
        colours.push_back(LineColour(ser->Child("c:spPr")));
    return colours;
}

TEST(CurrentVoltageColours, ThreeFourAndSixTraceColumns) {
    TempDir dir;
    EXPECT_EQ(SeriesColours(WriteIvChart(dir, 3)), (Strings{"00FF00", "0000FF", "FF0000"}));
    EXPECT_EQ(SeriesColours(WriteIvChart(dir, 4)),
              (Strings{"00FF00", "0000FF", "008000", "FF0000"}));
    EXPECT_EQ(SeriesColours(WriteIvChart(dir, 6)),
              (Strings{"00FF00", "0000FF", "FF0000", "", "", ""}));
}

TEST(WorkbookFile, ValuesWithoutAFiniteResultAreEmptyCells) {
    TempDir dir;
    SharedFloatArray x = SharedFloatArray::Allocate(4);
    SharedFloatArray y = SharedFloatArray::Allocate(4);
    const float values[] = {1.5f, std::numeric_limits<float>::quiet_NaN(),
                            std::numeric_limits<float>::infinity(), -2.25f};
    for (int r = 0; r < 4; ++r) {
        x[r] = static_cast<float>(r + 1);
        y[r] = values[r];
    }
    Workbook workbook = AddWorkbookWithOneSheet();
    std::string error;
    ASSERT_NE(MakeDataAndGraphSheets(workbook, "Capacitance", {x, y},
                                     {"Trace Number", "Cell Capacitance"}, 4, 0, error),
              nullptr);
    std::string reason;
    ASSERT_TRUE(WriteXlsxFile(workbook, dir.file("nan.xlsx"), reason)) << reason;
    const ReadBackWorkbook book = ReadOrFail(dir.file("nan.xlsx"));
    const ReadBackSheet* sheet = book.Find("Capacitance Data");
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->cells.at({1, 1}).number, 1.5);
    EXPECT_EQ(sheet->cells.count({2, 1}), 0u);
    EXPECT_EQ(sheet->cells.count({3, 1}), 0u);
    EXPECT_EQ(sheet->cells.at({4, 1}).number, -2.25);
    EXPECT_EQ(sheet->cells.at({3, 0}).number, 3.0);
}

TEST(WorkbookFile, ExtraHeaderCellsAreWrittenButNotCharted) {
    TempDir dir;
    SharedFloatArray x = SharedFloatArray::Allocate(2);
    SharedFloatArray y = SharedFloatArray::Allocate(2);
    SharedFloatArray z = SharedFloatArray::Allocate(2);
    for (int r = 0; r < 2; ++r)
        x[r] = y[r] = z[r] = static_cast<float>(r);
    const Strings headers = {"Trace Number", "Slope Conductance", "Normalized Slope Conductance",
                             "Normalized for control trace# 3"};
    Workbook workbook = AddWorkbookWithOneSheet();
    std::string error;
    ASSERT_NE(
        MakeDataAndGraphSheets(workbook, "Slope Conductance", {x, y, z}, headers, 2, 0, error),
        nullptr);
    std::string reason;
    ASSERT_TRUE(WriteXlsxFile(workbook, dir.file("extra.xlsx"), reason)) << reason;
    const ReadBackWorkbook book = ReadOrFail(dir.file("extra.xlsx"));
    const ReadBackSheet* data = book.Find("Slope Conductance Data");
    EXPECT_EQ(data->cells.at({0, 3}).text, "Normalized for control trace# 3");
    EXPECT_EQ(data->cells.count({1, 3}), 0u);
    EXPECT_EQ(book.Find("Slope Conductance Graph")->chart.Descendants("c:ser").size(), 2u);
}

TEST(WorkbookFile, ATableWithoutTwoColumnsIsRefused) {
    SharedFloatArray y = SharedFloatArray::Allocate(2);
    Workbook workbook = AddWorkbookWithOneSheet();
    std::string error;
    EXPECT_EQ(MakeDataAndGraphSheets(workbook, "Traces", {y}, {"Only"}, 2, 0, error), nullptr);
    EXPECT_EQ(error, "The table \"Traces\" has no column to chart against its first.");
    EXPECT_EQ(workbook.SheetNames(), (Strings{"Sheet1"}));
}

TEST(WorkbookFile, ChartsWiderThanTheSeriesLimitShowTheFirstSeriesOnly) {
    TempDir dir;
    RecordingMessageSink messages;
    TraceStore store = fixtures::ModelStore(300);
    const ExportChoices choices = fixtures::OnlyCurrentVoltage(store);
    ExportOptions options;
    options.autoPrint = false;
    const ExportOutcome outcome =
        CExcelExport(nullptr, nullptr).ExportResults(store, choices, dir.file("wide.abf"), options);
    ASSERT_FALSE(outcome.savedPath.empty());
    const ReadBackWorkbook book = ReadOrFail(outcome.savedPath);
    EXPECT_EQ(book.Find("IV Graph")->chart.Descendants("c:ser").size(), 255u);
    EXPECT_EQ(book.Find("IV Data")->cells.at({0, 300}).text, "300");
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text,
              "The chart \"IV Graph\" shows the first 255 of 300 series; a chart holds at most "
              "255. Every value is on the sheet \"IV Data\".");
}

} // namespace
