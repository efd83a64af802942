// The export from the window runs beside its event loop: timers fire and the
// progress window counts meanwhile; Cancel and closing the window stop it and
// leave the earlier workbook; without them it writes the workbook an export
// without a window writes.
#include "tests/app_qt/AppTestSupport.h"

#include "analysis/ExportChoicesFromRecords.h"
#include "app/qt/BackgroundExport.h"
#include "app/qt/PageGeneralSettings.h"
#include "export/WorkbookFiles.h"
#include "tests/export/XlsxReadBack.h"

#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class ExportWindowTest : public MainSheetTest {
protected:
    ExportWindowTest() {
        m_savedDelay = CBackgroundExport::SetProgressDelay(0);
        WriteCellRecording(path, 600);
        UseModelCellRamps();
        sheet = OpenSheet();
        EXPECT_TRUE(sheet->OpenRecording(path));
        workbook = WorkbookPathFor(Canonical(path));
        std::ofstream(workbook, std::ios::binary) << "earlier results";
        // Counts the timer's ticks while an export runs; at the third, `atThird` runs.
        tick.setInterval(0);
        QObject::connect(&tick, &QTimer::timeout, [this] {
            if (!CBackgroundExport::IsRunning())
                return;
            const auto* progress = sheet->findChild<QProgressDialog*>("exportProgress");
            highestProgress = std::max(highestProgress, progress ? progress->value() : -1);
            if (++ticks == 3 && atThird)
                atThird();
        });
        tick.start();
    }
    ~ExportWindowTest() override { CBackgroundExport::SetProgressDelay(m_savedDelay); }

    void PressCancel() {
        auto* progress = sheet->findChild<QProgressDialog*>("exportProgress");
        ASSERT_NE(progress, nullptr);
        progress->findChild<QPushButton*>()->click();
    }

    std::string path = data.file("big.abf");
    std::string workbook;
    CMainSheet* sheet = nullptr;
    QTimer tick;
    int ticks = 0;
    int highestProgress = -1;
    std::function<void()> atThird;

private:
    int m_savedDelay = 0;
};

TEST_F(ExportWindowTest, CancelLeavesTheEarlierWorkbookAndNothingElse) {
    messages.yesNoAnswer = MessageAnswer::Yes;
    atThird = [this] { PressCancel(); };
    sheet->ExportAllAnalyses();
    EXPECT_TRUE(sheet->LastExportOutcome().cancelled) << "cancelled at the timer's third tick";
    EXPECT_EQ(ReadFile(workbook), "earlier results");
    EXPECT_EQ(std::distance(fs::directory_iterator(data.path()), {}), 2) << "no temporary file";
    EXPECT_TRUE(opener.paths.empty());
    // At most the question whether to replace the workbook came before the cancel.
    for (const auto& message : messages.messages)
        EXPECT_EQ(message.caption, "Save Workbook") << message.text;
    EXPECT_EQ(sheet->findChild<QProgressDialog*>("exportProgress"), nullptr);
    EXPECT_FALSE(CBackgroundExport::IsRunning());
}

TEST_F(ExportWindowTest, WithoutCancelTheSameWorkbookIsWrittenAfterTheQuestion) {
    messages.yesNoAnswer = MessageAnswer::Yes;
    sheet->ExportAllAnalyses();
    EXPECT_GE(ticks, 3);
    EXPECT_GT(highestProgress, 0) << "the progress window counts";
    // Asked before the workbook is replaced; the export's notice after it.
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_EQ(messages.messages[0].caption, "Save Workbook");
    EXPECT_EQ(messages.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(messages.messages[1].caption, "Chart Series");
    const ExportOutcome& outcome = sheet->LastExportOutcome();
    EXPECT_FALSE(outcome.cancelled);
    EXPECT_EQ(outcome.savedPath, workbook);
    EXPECT_EQ(outcome.pairs, 5);
    EXPECT_EQ(printer.calls, 1);
    EXPECT_EQ(opener.paths, std::vector<std::string>{workbook});
    EXPECT_TRUE(sheet->LastExportShowedProgress());

    ExportOptions options;
    options.outputPath = data.file("direct.xlsx");
    const ExportChoices choices = ExportChoicesFromRecords(
        sheet->Records(), sheet->GeneralSettingsPage()->Settings().plotTraceNumber, sheet->Store());
    CExcelExport(nullptr, nullptr)
        .ExportResults(sheet->Store(), choices, sheet->FileName(), options);
    const ReadBackWorkbook fromWindow = ReadXlsxUntimed(workbook);
    const ReadBackWorkbook direct = ReadXlsxUntimed(options.outputPath);
    ASSERT_EQ(fromWindow.SheetNames(), direct.SheetNames());
    for (size_t i = 0; i < direct.sheets.size(); ++i)
        EXPECT_EQ(fromWindow.sheets[i].cells, direct.sheets[i].cells) << direct.sheets[i].name;
}

TEST_F(ExportWindowTest, ClosingTheWindowCancelsTheExportAndThenCloses) {
    QPointer<CMainSheet> guard(sheet);
    atThird = [this] { sheet->close(); };
    sheet->ExportAllAnalyses();
    EXPECT_TRUE(sheet->LastExportOutcome().cancelled);
    EXPECT_FALSE(guard.isNull()) << "open until the export has stopped";
    EXPECT_EQ(ReadFile(workbook), "earlier results");
    QTRY_VERIFY(guard.isNull());
}

} // namespace
