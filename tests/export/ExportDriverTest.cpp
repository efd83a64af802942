// The export driver and the workbook it writes: the save rule and an existing
// workbook, write failures, errors while the sheets are made, the user's
// temporary folder, printing and the hand-over; the .xlsx read back (sheets,
// cells, the charts' series, axes, colours and titles) and converted by
// LibreOffice where it is installed.
#include "export/ResultBuilders.h"
#include "export/WorkbookFiles.h"
#include "tests/export/ExportFixtures.h"
#include "tests/export/XlsxReadBack.h"
#include "tests/support/TempDir.h"

#include "platform/Messages.h"
#include "tests/support/RecordingMessageSink.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <map>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

using Strings = std::vector<std::string>;

using fixtures::FakeDesktop;

class Export : public ::testing::Test {
protected:
    // The export as the window runs it: the question asked and the notices
    // shown through the message interface.
    ExportOutcome Run(const ExportChoices& choices) {
        options.askReplace = AskYesNo;
        ExportOutcome outcome =
            CExcelExport(&desktop, &desktop).ExportResults(store, choices, recording, options);
        ShowNotices(outcome.notices);
        return outcome;
    }

    TempDir dir;
    TempDir temp;
    fixtures::ScopedEnv tmpdir{"TMPDIR", temp.path().string()};
    RecordingMessageSink messages;
    FakeDesktop desktop;
    TraceStore store = fixtures::ModelStore(4);
    ExportOptions options;
    std::string recording = dir.file("cell.abf");
    std::string workbook = dir.file("cell.abf.xlsx");
    std::string userTemp = (temp.path() / ("tessaran-" + std::to_string(getuid()))).string();
};

TEST_F(Export, SavesBesideTheRecordingPrintsAndHandsTheSavedFileOver) {
    const ExportOutcome outcome = Run(fixtures::AllCategories(store));
    EXPECT_EQ(outcome.pairs, 5);
    EXPECT_EQ(outcome.savedPath, workbook);
    // Nothing half-written or temporary stays beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 1);
    EXPECT_EQ(desktop.printed, std::vector<size_t>{5});
    EXPECT_EQ(desktop.pdfPath, dir.file("cell.abf.charts.pdf"));
    EXPECT_EQ(desktop.opened, (Strings{workbook}));
    EXPECT_EQ(outcome.shownPath, workbook);
    EXPECT_TRUE(messages.messages.empty());

    // No results: one empty sheet, saved all the same; no chart sheet to print.
    fs::remove(workbook);
    EXPECT_EQ(Run(ExportChoices{}).pairs, 0);
    EXPECT_EQ(ReadXlsx(workbook).SheetNames(), (Strings{"Sheet1", "Analysis Details"}));
    EXPECT_EQ(desktop.printed, std::vector<size_t>{5});
    EXPECT_EQ(desktop.opened, (Strings{workbook, workbook}));
}

TEST_F(Export, AnExistingWorkbookIsReplacedOnlyWhenTheUserSaysSo) {
    std::ofstream(workbook, std::ios::binary) << "earlier results";
    // Nobody to ask (the command line): kept, and nothing to tell.
    ExportOutcome outcome =
        CExcelExport(&desktop, &desktop)
            .ExportResults(store, fixtures::AllCategories(store), recording, options);
    EXPECT_TRUE(outcome.keptExisting);
    EXPECT_TRUE(outcome.notices.empty());

    messages.yesNoAnswer = MessageAnswer::No;
    outcome = Run(fixtures::AllCategories(store));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_NE(messages.messages[0].text.find(workbook), std::string::npos);
    EXPECT_TRUE(outcome.keptExisting);
    EXPECT_TRUE(outcome.savedPath.empty());
    EXPECT_EQ(fixtures::ReadFile(workbook), "earlier results");
    // Declining does not end the export: the workbook is shown from the temporary folder.
    EXPECT_EQ(desktop.opened.back(), userTemp + "/cell.abf (2).xlsx");
    EXPECT_EQ(ReadXlsx(desktop.opened.back()).sheets.size(), 11u);

    messages.yesNoAnswer = MessageAnswer::Yes;
    outcome = Run(fixtures::AllCategories(store));
    EXPECT_EQ(outcome.savedPath, workbook);
    EXPECT_EQ(ReadXlsx(workbook).sheets.size(), 11u);
}

// The charts PDF follows the workbook's rule: the window asks before it is
// replaced, the command line replaces it only with --force.
TEST_F(Export, AnExistingChartsPdfIsReplacedOnlyWhenTheUserSaysSo) {
    std::ofstream(dir.file("cell.abf.charts.pdf")) << "earlier charts";
    options.autoSave = false;
    messages.yesNoAnswer = MessageAnswer::No;
    Run(fixtures::AllCategories(store));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].caption, "Print");
    EXPECT_EQ(messages.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_NE(messages.messages[0].text.find(dir.file("cell.abf.charts.pdf")), std::string::npos);
    options.existing = ExistingWorkbook::Keep;
    Run(fixtures::AllCategories(store));
    options.existing = ExistingWorkbook::Replace;
    Run(fixtures::AllCategories(store));
    EXPECT_EQ(desktop.replaceAnswers, (std::vector<bool>{false, false, true}));
    EXPECT_EQ(messages.messages.size(), 1u) << "only the window asks";
}

TEST_F(Export, AWorkbookThatCannotBeWrittenIsReportedWithTheSystemsReason) {
    recording = dir.file("missing-folder/cell.abf");
    const ExportOutcome outcome = Run(fixtures::AllCategories(store));
    EXPECT_TRUE(outcome.savedPath.empty());
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].caption, "Error");
    EXPECT_EQ(messages.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(messages.messages[0].text, "The workbook could not be written to \"" +
                                             dir.file("missing-folder/cell.abf.xlsx") +
                                             "\":\nNo such file or directory");
    // The hand-over still runs.
    EXPECT_EQ(desktop.opened, (Strings{userTemp + "/cell.abf.xlsx"}));
}

TEST_F(Export, ATableTooLargeForASheetContinuesOnFurtherSheets) {
    // Sample points 1 to 14 of 80000 traces: 1,120,000 rows, more than a worksheet holds.
    ExportChoices choices;
    choices.slopeConductance = fixtures::AllCategories(store).slopeConductance;
    store.traces.assign(80000, store.traces[0]);
    choices.continuousRecord = {fixtures::AllTraces(store),
                                {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}};

    // The workbook model only: writing a million rows would take minutes.
    options.autoSave = false;
    const ExportOutcome outcome =
        CExcelExport(&desktop, nullptr).ExportResults(store, choices, recording, options);
    EXPECT_FALSE(outcome.sheetError);
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(outcome.sheetNames, (Strings{"Slope Conductance Graph", "Traces Graph",
                                           "Traces (2) Graph", "Slope Conductance Data",
                                           "Traces Data", "Traces (2) Data", "Analysis Details"}));
    EXPECT_EQ(desktop.printed, std::vector<size_t>{3});
}

TEST(SplitTableToFit, RowsAndColumnsBeyondASheetContinueInFurtherParts) {
    const uint32_t rows = 3;
    std::vector<SharedFloatArray> columns(40000);
    std::vector<std::string> headers(40000);
    for (size_t c = 0; c < columns.size(); ++c) {
        columns[c] = SharedFloatArray::Allocate(rows);
        std::fill_n(columns[c].data(), rows, float(c));
        headers[c] = std::to_string(c);
    }
    const std::vector<TablePart> parts = SplitTableToFit("IV", columns, headers, rows);
    ASSERT_EQ(parts.size(), 3u);
    const size_t widths[] = {16384, 16384, 39999 - 2 * 16383 + 1};
    for (size_t p = 0; p < 3; ++p) {
        EXPECT_EQ(parts[p].name, p == 0 ? "IV" : "IV (" + std::to_string(p + 1) + ")");
        ASSERT_EQ(parts[p].columns.size(), widths[p]);
        ASSERT_EQ(parts[p].headers.size(), widths[p]);
        EXPECT_EQ(parts[p].headers[0], "0") << "every part keeps the x column";
        EXPECT_EQ(parts[p].columns[0].data(), columns[0].data());
        EXPECT_EQ(parts[p].headers[1], std::to_string(1 + p * 16383));
        EXPECT_EQ(parts[p].columns.back()[2], float(p * 16383 + widths[p] - 1));
        EXPECT_EQ(parts[p].rows, rows);
    }

    // Rows: the second part holds the copied rest, the first shares nothing it cannot.
    const uint32_t tall = kMaxDataRows + 5;
    std::vector<SharedFloatArray> two = {SharedFloatArray::Allocate(tall),
                                         SharedFloatArray::Allocate(tall)};
    for (uint32_t r = 0; r < tall; ++r)
        two[0][r] = two[1][r] = float(r);
    const std::vector<TablePart> tallParts = SplitTableToFit("Traces", two, {"x", "y"}, tall);
    ASSERT_EQ(tallParts.size(), 2u);
    EXPECT_EQ(tallParts[0].rows, kMaxDataRows);
    EXPECT_EQ(tallParts[1].rows, 5u);
    EXPECT_EQ(tallParts[1].name, "Traces (2)");
    EXPECT_EQ(tallParts[1].columns[1][0], float(kMaxDataRows));
    EXPECT_EQ(tallParts[1].headers, (Strings{"x", "y"}));
    EXPECT_EQ(SplitTableToFit("T", two, {"x", "y"}, 4).size(), 1u);
}

// A killed write leaves its hidden temporary file; the next write into the
// folder removes those of this writer older than an hour, and nothing else.
TEST(SaveFileAtomically, RemovesItsOwnStaleTemporaryFilesAndRefusesNonRegularTargets) {
    TempDir dir;
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(2);
    const Strings stale = {".cell.abf.xlsx.a1b2c3.tmp", ".x.charts.pdf.00ff00.tmp"};
    const Strings kept = {".cell.abf.xlsx.d4e5f6.tmp" /* fresh */, ".notes.txt.a1b2c3.tmp",
                          ".cell.abf.xlsx.A1B2C3.tmp", "cell.abf.xlsx.a1b2c3.tmp", "x.tmp"};
    for (const std::string& name : stale)
        std::ofstream(dir.file(name)) << "half";
    for (const std::string& name : kept)
        std::ofstream(dir.file(name)) << "other";
    for (const std::string& name : stale)
        fs::last_write_time(dir.file(name), old);
    for (size_t i = 1; i < kept.size(); ++i)
        fs::last_write_time(dir.file(kept[i]), old);
    std::string reason;
    const auto write = [](const std::string& temp, std::string&) {
        std::ofstream(temp) << "new";
        return true;
    };
    ASSERT_EQ(SaveFileAtomically(dir.file("other.xlsx"), false, write, reason), SaveStatus::Saved)
        << reason;
    for (const std::string& name : stale)
        EXPECT_FALSE(fs::exists(dir.file(name))) << name;
    for (const std::string& name : kept)
        EXPECT_TRUE(fs::exists(dir.file(name))) << name;

    const std::string fifo = dir.file("pipe.xlsx");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (bool replace : {false, true}) {
        EXPECT_EQ(SaveFileAtomically(fifo, replace, write, reason), SaveStatus::Failed);
        EXPECT_EQ(reason, "it exists and is not a regular file");
        EXPECT_EQ(fs::status(fifo).type(), fs::file_type::fifo);
    }
}

// Workbooks written only to be shown pile up in the private temporary folder;
// those older than a day go at the next start.
TEST_F(Export, OldShownWorkbooksAreRemovedFromThePrivateTemporaryFolder) {
    RemoveOldShownWorkbooks();
    EXPECT_FALSE(fs::exists(userTemp)) << "nothing is created";
    std::string folder, reason;
    ASSERT_TRUE(UserTempFolder(folder, reason)) << reason;
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(25);
    for (const char* name : {"old.abf.xlsx", "new.abf.xlsx", "old.txt"})
        std::ofstream(folder + "/" + name) << "x";
    fs::last_write_time(folder + "/old.abf.xlsx", old);
    fs::last_write_time(folder + "/old.txt", old);
    RemoveOldShownWorkbooks();
    EXPECT_FALSE(fs::exists(folder + "/old.abf.xlsx"));
    EXPECT_TRUE(fs::exists(folder + "/new.abf.xlsx"));
    EXPECT_TRUE(fs::exists(folder + "/old.txt"));
}

TEST(WorkbookSheets, ATableOfExactlyTheRowLimitFitsOneSheet) {
    Workbook workbook = AddWorkbookWithOneSheet();
    const std::vector<SharedFloatArray> columns(2, SharedFloatArray::Allocate(kMaxDataRows));
    std::string error;
    EXPECT_NE(
        MakeDataAndGraphSheets(workbook, "Traces", columns, {"x", "y"}, kMaxDataRows, 0, error),
        nullptr)
        << error;
    EXPECT_EQ(workbook.SheetNames(), (Strings{"Traces Graph", "Traces Data"}));
}

TEST_F(Export, AnExistingFileIsKeptWithoutWritingAnything) {
    std::ofstream(workbook) << "earlier results";
    // Even where no temporary file could be made, the answer is "exists".
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
    int writes = 0;
    std::string reason;
    const SaveStatus status = SaveFileAtomically(
        workbook, false, [&writes](const std::string&, std::string&) { return ++writes > 0; },
        reason);
    fs::permissions(dir.path(), fs::perms::owner_all);
    EXPECT_EQ(status, SaveStatus::Exists) << reason;
    EXPECT_EQ(writes, 0);
}

TEST_F(Export, WithoutAutoSaveTheWorkbookIsShownFromThePrivateTemporaryFolder) {
    options.autoSave = false;
    Run(fixtures::AllCategories(store));
    Run(fixtures::AllCategories(store)); // the first may still be open
    EXPECT_TRUE(fs::is_empty(dir.path()));
    EXPECT_EQ(desktop.opened,
              (Strings{userTemp + "/cell.abf.xlsx", userTemp + "/cell.abf (2).xlsx"}));
    EXPECT_EQ(fs::status(userTemp).permissions() & fs::perms::all, fs::perms::owner_all);
    // A folder of that name open to others is refused.
    fs::permissions(userTemp, fs::perms::all);
    std::string folder, reason;
    EXPECT_FALSE(UserTempFolder(folder, reason));
    EXPECT_EQ(reason, "Permission denied");
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

// "typeface size bold italic" of a text run's properties.
QString Font(const QDomElement& run) {
    return QStringList{Path(run, "a:latin").attribute("typeface"), run.attribute("sz"),
                       run.attribute("b"), run.attribute("i", "0")}
        .join(' ');
}

TEST_F(Export, WorkbookReadBackHoldsEveryFiniteNumberAndFormattedCharts) {
    // Values without a finite result: trace 2 at sample point 10, and every
    // capacitance (windows of equal slopes).
    store.traces[1][9] = std::numeric_limits<float>::infinity();
    ExportChoices choices = fixtures::AllCategories(store);
    choices.capacitance.subsection2 = choices.capacitance.subsection1;
    options.autoPrint = false;
    Run(choices);
    const ReadBackWorkbook book = ReadXlsx(workbook);
    const std::vector<AnalysisResult> results = RunResultBuilders(store, choices);
    Strings expected;
    for (const char* kind : {" Graph", " Data"})
        for (const AnalysisResult& result : results)
            expected.push_back(result.sheetName + kind);
    expected.push_back("Analysis Details");
    ASSERT_EQ(expected[0], "Slope Conductance Graph");
    EXPECT_EQ(book.SheetNames(), expected);
    for (size_t i = 0; i < book.sheets.size(); ++i)
        EXPECT_EQ(book.sheets[i].isChart, i < 5) << book.sheets[i].name;
    EXPECT_TRUE(messages.messages.empty());

    size_t notFinite = 0;
    for (const AnalysisResult& result : results) {
        SCOPED_TRACE(result.sheetName);
        // Header cells, then every finite number; the other values are empty cells.
        std::map<std::pair<int, int>, ReadBackCell> expected;
        const ResultTable& table = result.table;
        for (size_t c = 0; c < table.headers.size(); ++c)
            expected[{0, static_cast<int>(c)}] = {true, table.headers[c], 0};
        for (uint32_t r = 0; r < table.rows; ++r) {
            for (size_t c = 0; c < table.columns.size(); ++c) {
                if (std::isfinite(table.columns[c][r]))
                    expected[{static_cast<int>(r) + 1, static_cast<int>(c)}] = {
                        false, "", table.columns[c][r]};
                else
                    ++notFinite;
            }
        }
        EXPECT_EQ(book.Sheet(result.sheetName + " Data").cells, expected);

        const QDomElement chart = book.Sheet(result.sheetName + " Graph").chart;
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
            const auto runs = Descendants(Path(axis, "c:txPr"), "a:defRPr");
            ASSERT_FALSE(runs.empty());
            EXPECT_EQ(Font(runs[0]), "Arial 1200 0 0") << "tick labels";
            EXPECT_EQ(Descendants(runs[0], "a:srgbClr").at(0).attribute("val"), "000000");
        }
        EXPECT_TRUE(Path(y, "c:scaling/c:min").isNull());
        // Only the current-voltage chart has a fixed scale and colours: green,
        // blue, dark green (only with exactly four traces), red.
        const bool iv = result.sheetName == "IV";
        EXPECT_EQ(Val(x, "c:scaling/c:min"), iv ? "-80" : "<none>");
        EXPECT_EQ(Val(x, "c:scaling/c:max"), iv ? "50" : "<none>");
        EXPECT_EQ(Val(x, "c:majorUnit"), iv ? "10" : "<none>");
        EXPECT_EQ(Val(x, "c:minorUnit"), iv ? "5" : "<none>");
        EXPECT_EQ(SeriesColours(chart),
                  (iv ? std::vector<QString>{"00FF00", "0000FF", "008000", "FF0000"}
                      : std::vector<QString>{""}));

        QString title;
        for (const QDomElement& t : Descendants(Path(chart, "c:chart/c:title"), "a:t"))
            title += t.text();
        EXPECT_EQ(title.toStdString(), "cell" + result.titleSuffix);
        const auto runs = Descendants(Path(chart, "c:chart/c:title"), "a:rPr");
        ASSERT_FALSE(runs.empty());
        EXPECT_EQ(Font(runs[0]), "Arial 1600 0 0") << "title";
    }
    EXPECT_EQ(notFinite, 4u + 1u); // every capacitance and one sample point
}

TEST_F(Export, CurrentVoltageColoursForThreeAndSixTraces) {
    const std::pair<uint32_t, std::vector<QString>> colours[] = {
        {3, {"00FF00", "0000FF", "FF0000"}}, {6, {"00FF00", "0000FF", "FF0000", "", "", ""}}};
    for (const auto& [traces, expected] : colours) {
        store = fixtures::ModelStore(traces);
        ExportChoices onlyCurrentVoltage;
        onlyCurrentVoltage.currentVoltage = fixtures::AllCategories(store).currentVoltage;
        Run(onlyCurrentVoltage);
        const ReadBackWorkbook book = ReadXlsx(workbook);
        EXPECT_EQ(book.SheetNames(), (Strings{"IV Graph", "IV Data", "Analysis Details"}));
        EXPECT_EQ(SeriesColours(book.Sheet("IV Graph").chart), expected) << traces;
    }
}

TEST_F(Export, LibreOfficeConvertsTheWorkbookWithItsCharts) {
    if (std::system("command -v libreoffice >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "LibreOffice is not installed";
    Run(fixtures::AllCategories(store));
    // A private profile, so that a running LibreOffice or a parallel test does not interfere.
    const std::string command =
        "cd '" + dir.path().string() + "' && libreoffice --headless -env:UserInstallation=file://" +
        dir.file("profile") + " --convert-to pdf cell.abf.xlsx >convert.log 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << fixtures::ReadFile(dir.file("convert.log"));
    const std::string pdf = fixtures::ReadFile(dir.file("cell.abf.pdf"));
    ASSERT_GT(pdf.size(), 1000u) << fixtures::ReadFile(dir.file("convert.log"));
    EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
}

} // namespace

namespace {

// The text in column B of the first row of `sheet` whose column A reads `label`.
std::string Beside(const ReadBackSheet& sheet, const std::string& label) {
    for (const auto& [at, cell] : sheet.cells)
        if (at.second == 0 && cell.text == label) {
            auto value = sheet.cells.find({at.first, 1});
            return value == sheet.cells.end() ? std::string() : value->second.text;
        }
    return "(no row " + label + ")";
}

// The text of every axis title of a chart.
std::vector<QString> AxisTitles(const QDomElement& chart) {
    std::vector<QString> titles;
    for (const char* axis : {"c:valAx"})
        for (const QDomElement& element : Descendants(chart, axis))
            for (const QDomElement& text : Descendants(Path(element, "c:title"), "a:t"))
                titles.push_back(text.text());
    return titles;
}

TEST_F(Export, TheDetailsSheetAndTheAxesSayWhatWasAnalysedAndInWhichUnits) {
    store.channel = {1, "Im", "pA"};
    store.sources = {{recording,
                      1234,
                      std::string(64, 'a'),
                      "ABF 1.83",
                      store.channel,
                      100.0f,
                      model::kSamples,
                      4,
                      {}}};
    ExportChoices choices = fixtures::AllCategories(store);
    choices.continuousRecord.samplePoints = {99999}; // beyond the trace: no rows
    choices.settingsUsed = {{{"Traces", "1-4"}}};
    options.autoPrint = false;
    const ExportOutcome outcome = Run(choices);
    EXPECT_EQ(outcome.skipped,
              (Strings{"Traces: no sample point lies within the trace's 4000 samples"}));
    const ReadBackWorkbook book = ReadXlsx(workbook);
    ASSERT_EQ(book.SheetNames().back(), "Analysis Details");
    const ReadBackSheet& details = book.Sheet("Analysis Details");
    EXPECT_EQ(Beside(details, "Program"), "Tessaran 1.0");
    EXPECT_EQ(Beside(details, "Recording"), recording);
    EXPECT_EQ(Beside(details, "SHA-256"), std::string(64, 'a'));
    EXPECT_EQ(Beside(details, "Channel"), "1: Im (pA)");
    EXPECT_EQ(Beside(details, "Traces"), "4");
    EXPECT_EQ(Beside(details, "Unit of \"Slope Conductance\""), "nS");
    EXPECT_EQ(Beside(details, "Unit of \"Cell Capacitance\""), "fF");
    EXPECT_EQ(Beside(details, "Unit of \"Voltage\""), "mV");
    EXPECT_EQ(Beside(details, "Skipped"), "no sample point lies within the trace's 4000 samples");
    // Header texts stay; the units stand on the axes.
    EXPECT_EQ(book.Sheet("Slope Conductance Data").cells.at({0, 1}).text, "Slope Conductance");
    EXPECT_EQ(AxisTitles(book.Sheet("Slope Conductance Graph").chart),
              (std::vector<QString>{"Trace Number", "Slope Conductance (nS)"}));
    EXPECT_EQ(AxisTitles(book.Sheet("IV Graph").chart),
              (std::vector<QString>{"Voltage (mV)", "Current (pA)"}));
}

} // namespace
