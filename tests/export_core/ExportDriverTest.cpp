// The export driver: the save rule and an existing workbook, write failures,
// errors while the sheets are made, the user's temporary folder, printing and
// the hand-over that follows in every case.
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

class Export : public ::testing::Test {
protected:
    ExportOutcome Run(const ExportChoices& choices) {
        return CExcelExport(&printer, &opener).ExportResults(store, choices, recording, options);
    }

    // The per-user temporary folder lies in a test folder.
    void SetUp() override { setenv("TMPDIR", temp.path().c_str(), 1); }
    void TearDown() override {
        previousTmp.empty() ? unsetenv("TMPDIR") : setenv("TMPDIR", previousTmp.c_str(), 1);
    }

    const std::string previousTmp = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
    TempDir dir;
    TempDir temp;
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

TEST_F(Export, NoResultsKeepOneEmptySheetAndStillSave) {
    const ExportOutcome outcome = Run(fixtures::NoCategories());
    EXPECT_EQ(outcome.pairs, 0);
    EXPECT_EQ(outcome.savedPath, workbook);
    EXPECT_EQ(SheetsOf(workbook), (Strings{"Sheet1"}));
    EXPECT_EQ(printer.calls, 0); // no chart sheet to print
    EXPECT_EQ(opener.opened, (Strings{workbook}));
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
    // Sample points 1 to 14 of 80000 short traces would not fit a worksheet.
    SharedFloatArray samples = SharedFloatArray::Allocate(16);
    std::fill(samples.data(), samples.data() + 16, 1.0f);
    store.traces.assign(80000, samples);
    store.timeAxis.resize(16);
    store.commandWaveform.resize(16);
    ExportChoices choices;
    choices.slopeConductance.selectedTraces = {0, 1};
    choices.slopeConductance.subsection = {2, 8};
    choices.samplePoints.selectedTraces = fixtures::AllTraces(store);
    for (int p = 1; p <= 14; ++p)
        choices.samplePoints.samplePoints.push_back(p);

    const ExportOutcome outcome = Run(choices);
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

TEST_F(Export, WithoutAutoSaveTheWorkbookIsShownFromThePrivateTemporaryFolder) {
    options.autoSave = false;
    Run(fixtures::AllCategories(store));
    Run(fixtures::AllCategories(store)); // the first may still be open
    EXPECT_TRUE(FilesIn(dir.path()).empty());
    EXPECT_EQ(opener.opened,
              (Strings{userTemp + "/cell.abf.xlsx", userTemp + "/cell.abf (2).xlsx"}));
    EXPECT_EQ(fs::status(userTemp).permissions() & fs::perms::all, fs::perms::owner_all);

    // A folder of that name open to others is refused.
    fs::permissions(userTemp, fs::perms::all);
    std::string folder;
    std::string reason;
    EXPECT_FALSE(UserTempFolder(folder, reason));
    EXPECT_EQ(reason, "Permission denied");
}

} // namespace
