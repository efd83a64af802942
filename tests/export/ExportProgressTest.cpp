// The export's progress reports and its cancel: wherever the export is
// stopped, the files it would have replaced stay as they were, nothing
// temporary stays behind, and nothing is printed, saved or shown after the stop.
#include "export/ExcelExport.h"
#include "export/WorkbookFiles.h"
#include "export/XlsxWriter.h"
#include "tests/export/ExportFixtures.h"
#include "tests/export/XlsxReadBack.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <vector>

namespace fs = std::filesystem;

namespace {

class ExportProgress : public ::testing::Test {
protected:
    ExportProgress() {
        std::ofstream(workbook, std::ios::binary) << "earlier results";
        options.existing = ExistingWorkbook::Replace;
        options.progress = [this](int percent) {
            reports.push_back(percent);
            return percent < stopAt;
        };
    }
    ExportOutcome Run() {
        return CExcelExport(&desktop, &desktop)
            .ExportResults(store, fixtures::AllCategories(store), recording, options);
    }
    std::vector<std::string> FilesInFolder() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir.path()))
            names.push_back(entry.path().filename().string());
        return names;
    }

    TempDir dir;
    TempDir temp;
    fixtures::ScopedEnv tmpdir{"TMPDIR", temp.path().string()};
    fixtures::FakeDesktop desktop;
    // 14 sample points of 400 traces: 5600 rows, so that the rows are
    // reported (and can be stopped) while they are written.
    TraceStore store = fixtures::ModelStore(400);
    ExportOptions options;
    std::string recording = dir.file("cell.abf");
    std::string workbook = dir.file("cell.abf.xlsx");
    std::vector<int> reports;
    int stopAt = 101;
};

TEST_F(ExportProgress, ReportsRiseToAHundredAndTheWorkbookIsUnchangedByThem) {
    const ExportOutcome outcome = Run();
    EXPECT_FALSE(outcome.cancelled);
    EXPECT_EQ(outcome.savedPath, workbook);
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.front(), 0);
    EXPECT_EQ(reports.back(), 100);
    EXPECT_TRUE(std::is_sorted(reports.begin(), reports.end()));
    // Some reports come while the rows are written.
    EXPECT_TRUE(
        std::any_of(reports.begin(), reports.end(), [](int p) { return p > 35 && p < 90; }));

    // The same workbook as an export that nobody watches.
    const ReadBackWorkbook watched = ReadXlsxUntimed(workbook);
    options.progress = {};
    options.outputPath = dir.file("unwatched.xlsx");
    Run();
    const ReadBackWorkbook unwatched = ReadXlsxUntimed(options.outputPath);
    ASSERT_EQ(watched.SheetNames(), unwatched.SheetNames());
    for (size_t i = 0; i < watched.sheets.size(); ++i)
        EXPECT_EQ(watched.sheets[i].cells, unwatched.sheets[i].cells) << watched.sheets[i].name;
}

// Stopped at the first report at or above `stopAt` percent.
struct StopCase {
    const char* when;
    int stopAt;
    bool printed; // the charts went to the printer before the stop
};

class ExportStop : public ExportProgress, public ::testing::WithParamInterface<StopCase> {};

TEST_P(ExportStop, LeavesTheEarlierFilesAndNoTemporaryOnes) {
    stopAt = GetParam().stopAt;
    const ExportOutcome outcome = Run();
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_TRUE(outcome.savedPath.empty());
    EXPECT_TRUE(outcome.notices.empty());
    EXPECT_EQ(fixtures::ReadFile(workbook), "earlier results");
    EXPECT_EQ(FilesInFolder(), std::vector<std::string>{"cell.abf.xlsx"});
    EXPECT_TRUE(desktop.opened.empty()) << "nothing is shown";
    EXPECT_EQ(desktop.printed.size(), GetParam().printed ? 1u : 0u);
    EXPECT_TRUE(fs::is_empty(temp.path())) << "no copy in the temporary folder";
    // Nothing is reported after the stop.
    EXPECT_GE(reports.back(), stopAt);
    EXPECT_EQ(std::count_if(reports.begin(), reports.end(), [&](int p) { return p >= stopAt; }), 1);
}

INSTANTIATE_TEST_SUITE_P(Steps, ExportStop,
                         ::testing::Values(StopCase{"before anything", 0, false},
                                           StopCase{"while the results are computed", 10, false},
                                           StopCase{"before printing", 35, false},
                                           StopCase{"while the rows are written", 50, true},
                                           StopCase{"after the last row", 90, true}),
                         [](const auto& info) { return std::to_string(info.param.stopAt); });

// The writer stops at the first "no" (the second report, after 8192 rows) and
// asks nothing after it.
TEST(XlsxWriterProgress, StopsAtTheFirstNoAndAsksNothingAfterIt) {
    TempDir dir;
    SharedFloatArray column = SharedFloatArray::Allocate(20000);
    std::fill_n(column.data(), 20000, 1.5f);
    Workbook workbook = AddWorkbookWithOneSheet();
    std::string error, reason;
    ASSERT_NE(MakeDataAndGraphSheets(workbook, "T", {column, column}, {"x", "y"}, 20000, 0, error),
              nullptr);
    std::vector<uint64_t> asked;
    EXPECT_FALSE(WriteXlsxFile(workbook, dir.file("t.xlsx"), reason, [&](uint64_t done, uint64_t) {
        asked.push_back(done);
        return asked.size() < 2;
    }));
    EXPECT_EQ(asked, (std::vector<uint64_t>{4096, 8192}));
    EXPECT_EQ(reason, kWriteStoppedReason);
}

} // namespace
