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
using namespace std::chrono_literals;

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
    messages.yesNoAnswer = MessageAnswer::No;
    ExportOutcome outcome = Run(fixtures::AllCategories(store));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_NE(messages.messages[0].text.find(workbook), std::string::npos);
    EXPECT_TRUE(outcome.keptExisting);
    EXPECT_TRUE(outcome.savedPath.empty());
    EXPECT_EQ(fixtures::ReadFile(workbook), "earlier results");
    // Declining does not end the export: the workbook is shown from the temporary folder.
    EXPECT_EQ(desktop.opened.back(), userTemp + "/cell.abf.xlsx");
    EXPECT_EQ(ReadXlsx(desktop.opened.back()).sheets.size(), 11u);

    messages.yesNoAnswer = MessageAnswer::Yes;
    outcome = Run(fixtures::AllCategories(store));
    EXPECT_EQ(outcome.savedPath, workbook);
    EXPECT_EQ(ReadXlsx(workbook).sheets.size(), 11u);
}

// The charts PDF follows the workbook's rule: the window asks before it is replaced.
TEST_F(Export, AnExistingChartsPdfIsReplacedOnlyWhenTheUserSaysSo) {
    std::ofstream(dir.file("cell.abf.charts.pdf")) << "earlier charts";
    options.autoSave = false;
    messages.yesNoAnswer = MessageAnswer::No;
    Run(fixtures::AllCategories(store));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].caption, "Print");
    EXPECT_EQ(messages.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_NE(messages.messages[0].text.find(dir.file("cell.abf.charts.pdf")), std::string::npos);
    EXPECT_EQ(desktop.replaceAnswers, std::vector<bool>{false});
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
    // Exactly the row limit fits one sheet.
    EXPECT_EQ(SplitTableToFit("T", two, {"x", "y"}, kMaxDataRows).size(), 1u);
    Workbook workbook = AddWorkbookWithOneSheet();
    std::string error;
    EXPECT_NE(MakeDataAndGraphSheets(workbook, "T", two, {"x", "y"}, kMaxDataRows, 0, error),
              nullptr)
        << error;
}

// A killed write leaves its hidden temporary file; the next write into the
// folder removes those of this writer older than an hour, and nothing else.
TEST(SaveFileAtomically, RemovesItsOwnStaleTemporaryFilesAndKeepsOrRefusesExistingTargets) {
    TempDir dir;
    const auto old = fs::file_time_type::clock::now() - 2h;
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
    int writes = 0;
    const auto write = [&writes](const std::string& temp, std::string&) {
        std::ofstream(temp) << "new";
        return ++writes > 0;
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
    // An existing file is kept without a write, even where no temporary file could be made.
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
    const SaveStatus status = SaveFileAtomically(dir.file("other.xlsx"), false, write, reason);
    fs::permissions(dir.path(), fs::perms::owner_all);
    EXPECT_EQ(status, SaveStatus::Exists) << reason;
    EXPECT_EQ(writes, 1);
}

// Workbooks written only to be shown pile up in the private temporary folder;
// those older than a day go at the next start.
TEST_F(Export, WithoutAutoSaveTheWorkbookIsShownFromThePrivateTemporaryFolder) {
    RemoveOldShownWorkbooks();
    EXPECT_FALSE(fs::exists(userTemp)) << "nothing is created";
    options.autoSave = false;
    Run(fixtures::AllCategories(store));
    Run(fixtures::AllCategories(store)); // the first may still be open
    EXPECT_TRUE(fs::is_empty(dir.path()));
    EXPECT_EQ(desktop.opened,
              (Strings{userTemp + "/cell.abf.xlsx", userTemp + "/cell.abf (2).xlsx"}));
    EXPECT_EQ(fs::status(userTemp).permissions() & fs::perms::all, fs::perms::owner_all);
    std::ofstream(userTemp + "/old.txt") << "x";
    for (const char* name : {"/cell.abf.xlsx", "/old.txt"})
        fs::last_write_time(userTemp + name, fs::file_time_type::clock::now() - 25h);
    RemoveOldShownWorkbooks();
    EXPECT_FALSE(fs::exists(userTemp + "/cell.abf.xlsx"));
    EXPECT_TRUE(fs::exists(userTemp + "/cell.abf (2).xlsx"));
    EXPECT_TRUE(fs::exists(userTemp + "/old.txt"));
    // A folder of that name open to others is refused.
    fs::permissions(userTemp, fs::perms::all);
    std::string folder, reason;
    EXPECT_FALSE(UserTempFolder(folder, reason));
    EXPECT_EQ(reason, "Permission denied");
}

// Line colour of each series (<a:ln><a:solidFill><a:srgbClr val=..>), "" for none.
std::vector<QString> SeriesColours(const QDomElement& chart) {
    std::vector<QString> colours;
    for (const QDomElement& ser : Descendants(chart, "c:ser"))
        colours.push_back(Path(ser, "c:spPr/a:ln/a:solidFill/a:srgbClr").attribute("val"));
    return colours;
}

// The texts of the `a:t` runs below `element`, one string per element.
std::vector<QString> Texts(const std::vector<QDomElement>& elements) {
    std::vector<QString> texts;
    for (const QDomElement& element : elements) {
        texts.emplace_back();
        for (const QDomElement& t : Descendants(element, "a:t"))
            texts.back() += t.text();
    }
    return texts;
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

    size_t notFinite = 0;
    for (const AnalysisResult& result : results) {
        SCOPED_TRACE(result.sheetName);
        // Header cells, then every finite number; the other values are empty cells.
        std::map<std::pair<int, int>, ReadBackCell> cells;
        const ResultTable& table = result.table;
        for (size_t c = 0; c < table.headers.size(); ++c)
            cells[{0, static_cast<int>(c)}] = {true, table.headers[c], 0};
        for (uint32_t r = 0; r < table.rows; ++r)
            for (size_t c = 0; c < table.columns.size(); ++c)
                if (const float v = table.columns[c][r]; std::isfinite(v))
                    cells[{static_cast<int>(r) + 1, static_cast<int>(c)}] = {false, "", v};
                else
                    ++notFinite;
        EXPECT_EQ(book.Sheet(result.sheetName + " Data").cells, cells);

        const QDomElement chart = book.Sheet(result.sheetName + " Graph").chart;
        const QString quoted = QString::fromStdString("'" + result.sheetName + " Data'!");
        const QString lastRow = QString::number(result.table.rows + 1);
        const auto series = Descendants(chart, "c:ser");
        ASSERT_EQ(series.size(), result.table.columns.size() - 1);
        for (size_t s = 0; s < series.size(); ++s) {
            const QString column(QChar('B' + static_cast<int>(s)));
            EXPECT_EQ(Path(series[s], "c:tx/c:strRef/c:f").text(), quoted + "$" + column + "$1");
            EXPECT_EQ(Path(series[s], "c:xVal/c:numRef/c:f").text(), quoted + "$A$2:$A$" + lastRow);
            EXPECT_EQ(Path(series[s], "c:yVal/c:numRef/c:f").text(),
                      quoted + "$" + column + "$2:$" + column + "$" + lastRow);
        }
        // Only the current-voltage chart has a fixed scale (on X, at the bottom)
        // and colours: green, blue, dark green (only with exactly four traces), red.
        const bool iv = result.sheetName == "IV";
        QStringList scales;
        for (const QDomElement& axis : Descendants(chart, "c:valAx"))
            for (const char* path :
                 {"c:axPos", "c:scaling/c:min", "c:scaling/c:max", "c:majorUnit", "c:minorUnit"})
                scales << Path(axis, path).attribute("val", "-");
        EXPECT_EQ(scales.join(' '), iv ? "b -80 50 10 5 l - - - -" : "b - - - - l - - - -");
        EXPECT_EQ(SeriesColours(chart),
                  (iv ? std::vector<QString>{"00FF00", "0000FF", "008000", "FF0000"}
                      : std::vector<QString>{""}));
        EXPECT_EQ(Texts({Path(chart, "c:chart/c:title")}),
                  std::vector<QString>{QString::fromStdString("cell" + result.titleSuffix)});
    }
    EXPECT_EQ(notFinite, 4u + 1u); // every capacitance and one sample point
}

TEST_F(Export, CurrentVoltageColoursForThreeAndSixTraces) {
    for (uint32_t traces : {3, 6}) {
        store = fixtures::ModelStore(traces);
        ExportChoices onlyCurrentVoltage;
        onlyCurrentVoltage.currentVoltage = fixtures::AllCategories(store).currentVoltage;
        Run(onlyCurrentVoltage);
        std::vector<QString> expected = {"00FF00", "0000FF", "FF0000"};
        expected.resize(traces);
        EXPECT_EQ(SeriesColours(ReadXlsx(workbook).Sheet("IV Graph").chart), expected) << traces;
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

// The text in column B of the first row of `sheet` whose column A reads `label`.
std::string Beside(const ReadBackSheet& sheet, const std::string& label) {
    for (const auto& [at, cell] : sheet.cells)
        if (at.second == 0 && cell.text == label) {
            auto value = sheet.cells.find({at.first, 1});
            return value == sheet.cells.end() ? std::string() : value->second.text;
        }
    return "(no row " + label + ")";
}

TEST_F(Export, TheDetailsSheetAndTheAxesSayWhatWasAnalysedAndInWhichUnits) {
    store.channel = {1, "Im", "pA"};
    store.sources.assign(1, RecordingSource{});
    RecordingSource& source = store.sources[0];
    source.path = recording;
    source.sha256 = std::string(64, 'a');
    source.channel = store.channel;
    source.traces = 4;
    ExportChoices choices = fixtures::AllCategories(store);
    choices.continuousRecord.samplePoints = {99999}; // beyond the trace: no rows
    choices.settingsUsed = {{{"Traces", "1-4"}}};
    options.autoPrint = false;
    const ExportOutcome outcome = Run(choices);
    EXPECT_EQ(outcome.skipped,
              (Strings{"Traces: no sample point lies within the trace's 4000 samples"}));
    const ReadBackWorkbook book = ReadXlsx(workbook);
    const ReadBackSheet& details = book.Sheet("Analysis Details");
    EXPECT_EQ(Beside(details, "Recording"), recording);
    EXPECT_EQ(Beside(details, "SHA-256"), std::string(64, 'a'));
    EXPECT_EQ(Beside(details, "Channel"), "1: Im (pA)");
    EXPECT_EQ(Beside(details, "Traces"), "4");
    EXPECT_EQ(Beside(details, "Unit of \"Slope Conductance\""), "nS");
    EXPECT_EQ(Beside(details, "Unit of \"Cell Capacitance\""), "fF");
    EXPECT_EQ(Beside(details, "Skipped"), "no sample point lies within the trace's 4000 samples");
    // Header texts stay; the units stand on the axes.
    EXPECT_EQ(book.Sheet("Slope Conductance Data").cells.at({0, 1}).text, "Slope Conductance");
    const auto axisTitles = [&book](const std::string& sheet) {
        std::vector<QDomElement> titles;
        for (const QDomElement& axis : Descendants(book.Sheet(sheet).chart, "c:valAx"))
            titles.push_back(Path(axis, "c:title"));
        return Texts(titles);
    };
    EXPECT_EQ(axisTitles("Slope Conductance Graph"),
              (std::vector<QString>{"Trace Number", "Slope Conductance (nS)"}));
    EXPECT_EQ(axisTitles("IV Graph"), (std::vector<QString>{"Voltage (mV)", "Current (pA)"}));
}

} // namespace
