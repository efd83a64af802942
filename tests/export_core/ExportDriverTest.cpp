// The export driver: which sheets a run makes, the save rule and an existing
// workbook, write failures, errors while the sheets are made, printing and the
// hand-over that follows in every case.
#include "export/WorkbookFiles.h"
#include "tests/export_core/ExportFixtures.h"
#include "tests/export_core/XlsxReadBack.h"
#include "tests/support/TempDir.h"

#include "platform/Messages.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

using Strings = std::vector<std::string>;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

Strings FilesIn(const fs::path& folder) {
    Strings names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

Strings SheetsOf(const std::string& path) {
    std::string error;
    const auto book = ReadXlsx(path, error);
    EXPECT_TRUE(book) << path << ": " << error;
    return book ? book->SheetNames() : Strings{};
}

// Points the per-user temporary folder into a test folder for its lifetime.
class ScopedTmpDir {
public:
    explicit ScopedTmpDir(const std::string& folder) {
        if (const char* old = std::getenv("TMPDIR"))
            previous_ = old;
        setenv("TMPDIR", folder.c_str(), 1);
    }
    ~ScopedTmpDir() {
        if (previous_.empty())
            unsetenv("TMPDIR");
        else
            setenv("TMPDIR", previous_.c_str(), 1);
    }

private:
    std::string previous_;
};

class Export : public ::testing::Test {
protected:
    ExportOutcome Run(const ExportChoices& choices) {
        return CExcelExport(&printer, &opener).ExportResults(store, choices, recording, options);
    }

    TempDir dir;
    TempDir temp;
    ScopedTmpDir tmpdir{temp.path().string()};
    RecordingMessageSink messages;
    fixtures::FakePrinter printer;
    fixtures::FakeOpener opener;
    TraceStore store = fixtures::ModelStore(3);
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
    EXPECT_EQ(FilesIn(dir.path()), (Strings{"cell.abf.xlsx"}));
    EXPECT_EQ(printer.calls, 1);
    EXPECT_EQ(printer.chartNames, (Strings{"Slope Conductance Graph", "ICl Time Course Graph",
                                           "IV Graph", "Capacitance Graph", "Traces Graph"}));
    EXPECT_EQ(printer.pdfPath, dir.file("cell.abf.charts.pdf"));
    EXPECT_EQ(opener.opened, (Strings{workbook}));
    EXPECT_EQ(outcome.shownPath, workbook);
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(Export, OnlyTheCurrentVoltageCategoryUsesTheFirstWorksheet) {
    const ExportOutcome outcome = Run(fixtures::OnlyCurrentVoltage(store));
    EXPECT_EQ(outcome.sheetNames, (Strings{"IV Graph", "IV Data"}));
    EXPECT_EQ(SheetsOf(workbook), (Strings{"IV Graph", "IV Data"}));
}

TEST_F(Export, NoResultsKeepOneEmptySheetAndStillSave) {
    const ExportOutcome outcome = Run(fixtures::NoCategories());
    EXPECT_EQ(outcome.pairs, 0);
    EXPECT_EQ(outcome.savedPath, workbook);
    EXPECT_EQ(SheetsOf(workbook), (Strings{"Sheet1"}));
    EXPECT_EQ(printer.calls, 0); // no chart sheet to print
    EXPECT_EQ(opener.opened, (Strings{workbook}));
}

TEST_F(Export, AnExistingWorkbookIsReplacedOnlyWhenTheUserSaysSo) {
    WriteFile(workbook, "earlier results");
    messages.yesNoAnswer = MessageAnswer::No;
    ExportOutcome outcome = Run(fixtures::AllCategories(store));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_NE(messages.messages[0].text.find(workbook), std::string::npos);
    EXPECT_TRUE(outcome.keptExisting);
    EXPECT_TRUE(outcome.savedPath.empty());
    EXPECT_EQ(ReadFile(workbook), "earlier results");
    // Declining does not end the export: the workbook is shown from the temporary folder.
    ASSERT_EQ(opener.opened.size(), 1u);
    EXPECT_EQ(opener.opened[0], userTemp + "/cell.abf.xlsx");
    EXPECT_EQ(SheetsOf(opener.opened[0]).size(), 10u);

    messages.yesNoAnswer = MessageAnswer::Yes;
    outcome = Run(fixtures::AllCategories(store));
    EXPECT_EQ(outcome.savedPath, workbook);
    EXPECT_EQ(SheetsOf(workbook).size(), 10u);
}

TEST_F(Export, KeepAndReplaceDecideWithoutAsking) {
    WriteFile(workbook, "earlier results");
    options.existing = ExistingWorkbook::Keep;
    EXPECT_TRUE(Run(fixtures::AllCategories(store)).keptExisting);
    EXPECT_EQ(ReadFile(workbook), "earlier results");
    options.existing = ExistingWorkbook::Replace;
    EXPECT_EQ(Run(fixtures::AllCategories(store)).savedPath, workbook);
    EXPECT_EQ(SheetsOf(workbook).size(), 10u);
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(Export, AWorkbookThatCannotBeWrittenIsReportedWithTheSystemsReason) {
    recording = dir.file("missing-folder/cell.abf");
    const ExportOutcome outcome = Run(fixtures::AllCategories(store));
    EXPECT_TRUE(outcome.savedPath.empty());
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].caption, "Error");
    EXPECT_EQ(messages.messages[0].text, "The workbook could not be written to \"" +
                                             dir.file("missing-folder/cell.abf.xlsx") +
                                             "\":\nNo such file or directory");
    // The hand-over still runs.
    EXPECT_EQ(opener.opened, (Strings{userTemp + "/cell.abf.xlsx"}));
}

TEST_F(Export, ATableTooLargeForASheetStopsTheExportWithTheSheetErrorMessage) {
    // 14 points x 80000 traces would not fit a worksheet; sample points 1 to
    // 14 of many short traces give the same.
    TraceStore wide;
    wide.timeAxis.assign(16, 0.0f);
    wide.commandWaveform.assign(16, 0.0f);
    wide.episodeInterval = 1.0f;
    SharedFloatArray samples = SharedFloatArray::Allocate(16);
    for (int i = 0; i < 16; ++i)
        samples[i] = 1.0f;
    wide.traces.assign(80000, samples);
    ExportChoices choices;
    choices.slopeConductance.selectedTraces = {0, 1};
    choices.slopeConductance.subsection = {2, 8};
    choices.samplePoints.selectedTraces = fixtures::AllTraces(wide);
    for (int p = 1; p <= 14; ++p)
        choices.samplePoints.samplePoints.push_back(p);

    const ExportOutcome outcome =
        CExcelExport(&printer, &opener).ExportResults(wide, choices, recording, options);
    EXPECT_TRUE(outcome.sheetError);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].caption, "errorError");
    EXPECT_EQ(messages.messages[0].text,
              "Excel reported the following error in creating the graph.\r\n\"The table "
              "\"Traces\" has 1120000 rows below its header; a worksheet holds at most 1048575.");
    // The export stopped there: nothing printed or saved; the sheets made so
    // far are handed over.
    EXPECT_EQ(printer.calls, 0);
    EXPECT_FALSE(fs::exists(workbook));
    ASSERT_EQ(opener.opened.size(), 1u);
    EXPECT_EQ(SheetsOf(opener.opened[0]),
              (Strings{"Slope Conductance Graph", "Slope Conductance Data"}));
}

TEST_F(Export, WithoutAutoSaveTheWorkbookIsShownFromTheUsersTemporaryFolder) {
    options.autoSave = false;
    Run(fixtures::AllCategories(store));
    Run(fixtures::AllCategories(store));
    EXPECT_TRUE(FilesIn(dir.path()).empty());
    EXPECT_EQ(opener.opened,
              (Strings{userTemp + "/cell.abf.xlsx", userTemp + "/cell.abf (2).xlsx"}));
    EXPECT_EQ(fs::status(userTemp).permissions() & fs::perms::all, fs::perms::owner_all);
    EXPECT_EQ(SheetsOf(opener.opened[1]).size(), 10u);
}

TEST_F(Export, PrintingFollowsTheSettingAndTellsWhereThePagesWent) {
    options.autoPrint = false;
    Run(fixtures::AllCategories(store));
    EXPECT_EQ(printer.calls, 0);

    options.autoPrint = true;
    options.existing = ExistingWorkbook::Replace;
    printer.outcome = {
        .printed = true, .printer = {}, .pdfPath = dir.file("cell.abf.charts.pdf"), .error = {}};
    Run(fixtures::AllCategories(store));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].icon, MessageIcon::Information);
    EXPECT_NE(messages.messages[0].text.find(dir.file("cell.abf.charts.pdf")), std::string::npos);

    printer.outcome = {.printed = false, .printer = {}, .pdfPath = {}, .error = "out of paper"};
    const ExportOutcome outcome = Run(fixtures::AllCategories(store));
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_EQ(messages.messages[1].caption, "Error");
    EXPECT_EQ(messages.messages[1].text, "The charts could not be printed:\nout of paper");
    EXPECT_EQ(outcome.savedPath, workbook); // saving goes on
}

TEST_F(Export, AnOutputPathReplacesTheSaveRule) {
    options.outputPath = dir.file("results.xlsx");
    const ExportOutcome outcome = Run(fixtures::AllCategories(store));
    EXPECT_EQ(outcome.savedPath, dir.file("results.xlsx"));
    EXPECT_EQ(printer.pdfPath, dir.file("results.charts.pdf"));
    EXPECT_FALSE(fs::exists(workbook));
}

TEST(WorkbookPaths, TheRecordingsExtensionStaysInFrontOfTheWorkbooks) {
    EXPECT_EQ(WorkbookPathFor("/data/cell.abf"), "/data/cell.abf.xlsx");
    EXPECT_EQ(WorkbookPathFor("/data/old.dat"), "/data/old.dat.xlsx");
    EXPECT_EQ(ChartsPdfPathFor("/data/cell.abf.xlsx"), "/data/cell.abf.charts.pdf");
    EXPECT_EQ(RecordingBaseName("/data/cell.2.abf"), "cell.2");
    EXPECT_EQ(RecordingBaseName("/data/cell"), "cell");
}

TEST(UserTempFolder, AFolderOpenToOthersIsRefused) {
    TempDir temp;
    ScopedTmpDir tmpdir(temp.path().string());
    const fs::path planted = temp.path() / ("tessaran-" + std::to_string(getuid()));
    fs::create_directory(planted);
    fs::permissions(planted, fs::perms::all);
    std::string folder;
    std::string reason;
    EXPECT_FALSE(UserTempFolder(folder, reason));
    EXPECT_EQ(reason, "Permission denied");
}

} // namespace
