// The written .xlsx read back: sheet names and order, header cells, every
// number of the data sheets, the charts' type, series, axes, colours and
// titles; and the same workbook opened by LibreOffice where it is installed.
#include "export/ResultBuilders.h"
#include "tests/export_core/ExportFixtures.h"
#include "tests/export_core/XlsxReadBack.h"
#include "tests/support/TempDir.h"

#include "platform/Messages.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <limits>

namespace {

using Strings = std::vector<std::string>;

ReadBackWorkbook ExportAndRead(const TempDir& dir, const TraceStore& store,
                               const ExportChoices& choices, const std::string& name = "cell") {
    ExportOptions options;
    options.autoPrint = false;
    const ExportOutcome outcome =
        CExcelExport(nullptr, nullptr)
            .ExportResults(store, choices, dir.file(name + ".abf"), options);
    EXPECT_EQ(outcome.savedPath, dir.file(name + ".abf.xlsx"));
    std::string error;
    auto book = ReadXlsx(outcome.savedPath, error);
    EXPECT_TRUE(book.has_value()) << error;
    return book ? *book : ReadBackWorkbook{};
}

// The chart's two value axes: (X at the bottom, Y at the left).
std::pair<QDomElement, QDomElement> Axes(const QDomElement& chart) {
    QDomElement x, y;
    for (const QDomElement& axis : Descendants(chart, "c:valAx"))
        (Path(axis, "c:axPos").attribute("val") == "b" ? x : y) = axis;
    return {x, y};
}

QString Val(const QDomElement& element, const QString& path) {
    return Path(element, path).attribute("val", "<none>");
}

// Line colour of each series (<a:ln><a:solidFill><a:srgbClr val=..>), "" for none.
std::vector<QString> SeriesColours(const QDomElement& chart) {
    std::vector<QString> colours;
    for (const QDomElement& ser : Descendants(chart, "c:ser"))
        colours.push_back(Path(ser, "c:spPr/a:ln/a:solidFill/a:srgbClr").attribute("val"));
    return colours;
}

void ExpectArialRegular(const QDomElement& run, const char* size, const char* what) {
    EXPECT_EQ(run.attribute("sz"), size) << what;
    EXPECT_EQ(run.attribute("b"), "0") << what;
    EXPECT_NE(run.attribute("i"), "1") << what;
    EXPECT_EQ(Path(run, "a:latin").attribute("typeface"), "Arial") << what;
}

class FullExport : public ::testing::Test {
protected:
    TempDir dir;
    RecordingMessageSink messages;
    TraceStore store = fixtures::ModelStore(4);
    ExportChoices choices = fixtures::AllCategories(store);
    ReadBackWorkbook book = ExportAndRead(dir, store, choices);
    std::vector<CategoryResult> results = RunResultBuilders(store, choices);
};

TEST_F(FullExport, ChartSheetsFirstThenDataSheetsHoldingEveryNumber) {
    Strings expected;
    for (const char* kind : {" Graph", " Data"})
        for (const CategoryResult& result : results)
            expected.push_back(result.sheetName + kind);
    ASSERT_EQ(expected[0], "Slope Conductance Graph");
    EXPECT_EQ(book.SheetNames(), expected);
    for (size_t i = 0; i < book.sheets.size(); ++i)
        EXPECT_EQ(book.sheets[i].isChart, i < 5) << book.sheets[i].name;
    EXPECT_TRUE(messages.messages.empty());

    for (const CategoryResult& result : results) {
        SCOPED_TRACE(result.sheetName);
        const ReadBackSheet* sheet = book.Find(result.sheetName + " Data");
        ASSERT_NE(sheet, nullptr);
        const ResultTable& table = result.table;
        for (size_t c = 0; c < table.headers.size(); ++c) {
            auto cell = sheet->cells.find({0, static_cast<int>(c)});
            ASSERT_NE(cell, sheet->cells.end()) << "header " << c;
            EXPECT_TRUE(cell->second.isText);
            EXPECT_EQ(cell->second.text, table.headers[c]);
        }
        for (uint32_t r = 0; r < table.rows; ++r) {
            for (size_t c = 0; c < table.columns.size(); ++c) {
                auto cell = sheet->cells.find({static_cast<int>(r + 1), static_cast<int>(c)});
                ASSERT_NE(cell, sheet->cells.end()) << r << "," << c;
                ASSERT_FALSE(cell->second.isText);
                // The float goes in exactly and comes back to the same float.
                ASSERT_EQ(static_cast<float>(cell->second.number), table.columns[c][r])
                    << "row " << r << " column " << c;
            }
        }
        // Nothing else on the sheet but the headers and the data block.
        EXPECT_EQ(sheet->cells.size(), table.headers.size() + table.rows * table.columns.size());
    }
}

TEST_F(FullExport, ChartsAreSmoothScatterOfTheirColumnsWithFormattedAxesAndTitles) {
    for (const CategoryResult& result : results) {
        SCOPED_TRACE(result.sheetName);
        const QDomElement chart = book.Find(result.sheetName + " Graph")->chart;
        const QDomElement scatter = Path(chart, "c:chart/c:plotArea/c:scatterChart");
        EXPECT_EQ(Val(scatter, "c:scatterStyle"), "smoothMarker");
        const QString quoted = QString::fromStdString("'" + result.sheetName + " Data'!");
        const QString lastRow = QString::number(result.table.rows + 1);
        const auto series = Descendants(scatter, "c:ser");
        ASSERT_EQ(series.size(), result.table.columns.size() - 1);
        for (size_t s = 0; s < series.size(); ++s) {
            const QString column(QChar('B' + static_cast<int>(s)));
            EXPECT_EQ(Path(series[s], "c:tx/c:strRef/c:f").text(), quoted + "$" + column + "$1");
            EXPECT_EQ(Path(series[s], "c:xVal/c:numRef/c:f").text(), quoted + "$A$2:$A$" + lastRow);
            EXPECT_EQ(Path(series[s], "c:yVal/c:numRef/c:f").text(),
                      quoted + "$" + column + "$2:$" + column + "$" + lastRow);
            EXPECT_EQ(Val(series[s], "c:marker/c:symbol"), "none");
            EXPECT_EQ(Val(series[s], "c:smooth"), "1");
        }

        auto [x, y] = Axes(chart);
        ASSERT_FALSE(x.isNull() || y.isNull());
        for (const QDomElement& axis : {x, y}) {
            EXPECT_TRUE(Path(axis, "c:majorGridlines").isNull());
            EXPECT_EQ(Val(axis, "c:majorTickMark"), "out");
            EXPECT_EQ(Val(axis, "c:minorTickMark"), "out");
            EXPECT_EQ(Val(axis, "c:tickLblPos"), "nextTo");
            const QDomElement line = Path(axis, "c:spPr/a:ln");
            EXPECT_EQ(line.attribute("w"), "19050"); // 1.5 pt, heavier than the 0.75 pt default
            // A continuous line: no dash pattern, or the solid one.
            EXPECT_EQ(Val(line, "a:prstDash").replace("<none>", "solid"), "solid");
            const auto runs = Descendants(Path(axis, "c:txPr"), "a:defRPr");
            ASSERT_FALSE(runs.empty());
            ExpectArialRegular(runs[0], "1200", "tick labels");
            EXPECT_EQ(Descendants(runs[0], "a:srgbClr").at(0).attribute("val"), "000000");
        }
        const QDomElement title = Path(chart, "c:chart/c:title");
        QString text;
        for (const QDomElement& t : Descendants(title, "a:t"))
            text += t.text();
        EXPECT_EQ(text.toStdString(), "cell" + result.titleSuffix);
        ASSERT_FALSE(Descendants(title, "a:rPr").empty());
        ExpectArialRegular(Descendants(title, "a:rPr")[0], "1600", "title");
    }
}

TEST_F(FullExport, OnlyTheCurrentVoltageChartHasAFixedScaleAndColours) {
    for (const char* name : {"Slope Conductance Graph", "ICl Time Course Graph",
                             "Capacitance Graph", "Traces Graph"}) {
        const QDomElement chart = book.Find(name)->chart;
        EXPECT_TRUE(Path(Axes(chart).first, "c:scaling/c:min").isNull()) << name;
        EXPECT_TRUE(Path(Axes(chart).first, "c:majorUnit").isNull()) << name;
        for (const QString& colour : SeriesColours(chart))
            EXPECT_EQ(colour, "") << name;
    }
    auto [x, y] = Axes(book.Find("IV Graph")->chart);
    EXPECT_EQ(Val(x, "c:scaling/c:min"), "-80");
    EXPECT_EQ(Val(x, "c:scaling/c:max"), "50");
    EXPECT_EQ(Val(x, "c:majorUnit"), "10");
    EXPECT_EQ(Val(x, "c:minorUnit"), "5");
    EXPECT_TRUE(Path(y, "c:scaling/c:min").isNull());
    const auto series = Descendants(book.Find("IV Graph")->chart, "c:ser");
    EXPECT_EQ(Path(series.at(0), "c:spPr/a:ln").attribute("w"), "19050");

    // Green, blue, dark green (only with exactly four traces), red; no more.
    const std::pair<uint32_t, std::vector<QString>> colours[] = {
        {3, {"00FF00", "0000FF", "FF0000"}},
        {4, {"00FF00", "0000FF", "008000", "FF0000"}},
        {6, {"00FF00", "0000FF", "FF0000", "", "", ""}}};
    for (const auto& [traces, expected] : colours) {
        const TraceStore cells = fixtures::ModelStore(traces);
        const ReadBackWorkbook iv = ExportAndRead(dir, cells, fixtures::OnlyCurrentVoltage(cells),
                                                  "iv" + std::to_string(traces));
        EXPECT_EQ(iv.SheetNames(), (Strings{"IV Graph", "IV Data"}));
        EXPECT_EQ(SeriesColours(iv.Find("IV Graph")->chart), expected) << traces;
    }
}

TEST(Workbook, ValuesWithoutAFiniteResultAreEmptyCells) {
    TempDir dir;
    RecordingMessageSink messages;
    TraceStore store = fixtures::ModelStore(2);
    store.traces[1][9] = std::numeric_limits<float>::infinity(); // trace 2, sample point 10
    ExportChoices choices = fixtures::AllCategories(store);
    choices.capacitance.subsection2 = choices.capacitance.subsection1; // equal slopes: NaN
    const ReadBackWorkbook book = ExportAndRead(dir, store, choices);
    const ReadBackSheet* capacitance = book.Find("Capacitance Data");
    ASSERT_NE(capacitance, nullptr);
    EXPECT_EQ(capacitance->cells.at({2, 0}).number, 2.0);
    EXPECT_EQ(capacitance->cells.count({1, 1}), 0u);
    EXPECT_EQ(capacitance->cells.count({2, 1}), 0u);
    const ReadBackSheet* traces = book.Find("Traces Data");
    EXPECT_EQ(traces->cells.count({15, 1}), 0u);
    EXPECT_EQ(traces->cells.count({16, 1}), 1u);
    EXPECT_EQ(traces->cells.count({15, 0}), 1u);
}

TEST(Workbook, ChartsWiderThanTheSeriesLimitShowTheFirstSeriesOnly) {
    TempDir dir;
    RecordingMessageSink messages;
    const TraceStore store = fixtures::ModelStore(300);
    const ReadBackWorkbook book = ExportAndRead(dir, store, fixtures::OnlyCurrentVoltage(store));
    EXPECT_EQ(Descendants(book.Find("IV Graph")->chart, "c:ser").size(), 255u);
    EXPECT_EQ(book.Find("IV Data")->cells.at({0, 300}).text, "300");
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text,
              "The chart \"IV Graph\" shows the first 255 of 300 series; a chart holds at most "
              "255. Every value is on the sheet \"IV Data\".");
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(LibreOffice, ConvertsTheWorkbookWithItsCharts) {
    if (std::system("command -v libreoffice >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "LibreOffice is not installed";
    TempDir dir;
    RecordingMessageSink messages;
    const TraceStore store = fixtures::ModelStore(4);
    ExportAndRead(dir, store, fixtures::AllCategories(store));
    // A private profile, so that a running LibreOffice or a parallel test does not interfere.
    const std::string command =
        "cd '" + dir.path().string() + "' && libreoffice --headless -env:UserInstallation=file://" +
        dir.file("profile") + " --convert-to pdf cell.abf.xlsx >convert.log 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << ReadFile(dir.file("convert.log"));
    const std::string pdf = ReadFile(dir.file("cell.abf.pdf"));
    ASSERT_GT(pdf.size(), 1000u) << ReadFile(dir.file("convert.log"));
    EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
    if (std::system("command -v pdftotext >/dev/null 2>&1") != 0)
        return;
    ASSERT_EQ(
        std::system(("pdftotext '" + dir.file("cell.abf.pdf") + "' '" + dir.file("cell.txt") + "'")
                        .c_str()),
        0);
    const std::string text = ReadFile(dir.file("cell.txt"));
    for (const char* title : {"cell Slope Conductance Time Course", "cell Current Time Course",
                              "cell Capacitance", "cell Traces", "Cl Current Time Course"})
        EXPECT_NE(text.find(title), std::string::npos) << title;
}

} // namespace
