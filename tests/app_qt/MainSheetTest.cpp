// The main window: start-up, the File menu's commands, Analyse, Exit and the
// settings that survive it.
#include "tests/app_qt/AppTestSupport.h"

#include "analysis/qt/PageAnalyseBase.h"
#include "app/DataFileNames.h"
#include "app/qt/PageGeneralSettings.h"
#include "controls/qt/ImageButton.h"
#include "display/TraceDisplayModel.h"
#include "export/WorkbookFiles.h"
#include "tests/support/ModelCell.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

using Sheet = CPropertySheetWithLogoDlg;

TEST_F(MainSheetTest, StoredValuesAreReadAtStartUpAndKeptByAnEarlyExit) {
    profile->WriteString("settings", "Sweep Max Range", "2000");
    profile->WriteInt("settings", "xZoom", 2);
    profile->WriteInt("settings", "ScrollPosy", 30);
    profile->WriteInt("settings", "UseZeroCurrentLine", 0);
    profile->WriteInt("IV", "Ramp1 Start", 1400);
    // Sample points that are not whole positive numbers are named; the good ones are kept.
    profile->WriteString("Current Traces", "Sample Points", "10,-5,1e9,20,");
    // Read before the window is shown: the views limit the scroll position to
    // what a recording allows once they are shown.
    CMainSheet* sheet = NewSheet();
    EXPECT_FLOAT_EQ(sheet->DisplayModel()->maxRange, 2000.0f);
    EXPECT_EQ(sheet->DisplayModel()->zoomX, 2u);
    EXPECT_EQ(sheet->DisplayModel()->scrollY, 30);
    EXPECT_FALSE(g_showZeroCurrentLine);
    EXPECT_EQ(sheet->Records().currentVoltage.ramp1Start, 1400);
    EXPECT_EQ(sheet->Records().slopeConductance.ramp1Start, 1350);
    EXPECT_EQ(sheet->Records().continuousRecord.samplePoints, (std::vector<int32_t>{10, 20}));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text,
              "The settings file holds \"Sample Points\" in [Current Traces]: \"-5\" is not a "
              "whole positive number; the other sample points are used.");

    // Exit before the window was shown keeps what was stored.
    sheet->PressButton(Sheet::kCancelButton);
    delete sheet;
    profile.reset(); // written to the file
    profile = NewProfile();
    EXPECT_EQ(profile->ReadInt("settings", "UseZeroCurrentLine", -1), 0);
    EXPECT_EQ(profile->ReadInt("settings", "AutoPrint", -1), 1);
    EXPECT_EQ(profile->ReadInt("settings", "AutoAnalyseAcquisitions", -1), 1);
}

TEST_F(MainSheetTest, ImportFillsEveryPageWithItsSelectAllFlag) {
    const std::string path = data.file("cell 1.abf");
    WriteCellRecording(path, 3);
    profile->WriteInt("settings", "SelectAllIV", 0);
    CMainSheet* sheet = OpenSheet();
    Answer("\"cell 1.abf\"", data.path().string());
    QTest::mouseClick(sheet->Button(Sheet::kOkButton), Qt::LeftButton);

    EXPECT_EQ(sheet->FileName(), Canonical(path));
    EXPECT_EQ(g_dataDirectory, data.path().string()) << "the next dialog opens here";
    EXPECT_EQ(sheet->Store().traces.size(), 3u);
    EXPECT_EQ(sheet->DisplayModel()->samplesPerTrace, 4000u);
    const std::vector<int32_t> all = {0, 1, 2};
    for (size_t i = 0; i < 5; ++i) {
        CPageAnalyseBase* page = sheet->AnalysisPages()[i];
        EXPECT_EQ(page->TraceCount(), 3u) << i;
        EXPECT_EQ(page->SelectedRows(), i == 2 ? std::vector<int32_t>{} : all) << i;
    }
    auto* list = sheet->AnalysisPages()[0]->findChild<QListWidget*>("traceList");
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->item(2)->text().endsWith("cell 1"));
    EXPECT_TRUE(messages.messages.empty());

    // A cancelled import keeps the recording.
    sheet->OnImportData();
    EXPECT_EQ(sheet->FileName(), Canonical(path));
    EXPECT_EQ(sheet->AnalysisPages()[0]->TraceCount(), 3u);
}

// Add with nothing loaded imports; another protocol is refused; a compatible
// file is appended; Close empties it all.
TEST_F(MainSheetTest, AddRefusesAnotherProtocolAndAppendsACompatibleFile) {
    WriteCellRecording(data.file("first.abf"), 3);
    WriteCellRecording(data.file("second.abf"), 2);
    WriteShortRecording(data.file("short.abf"), 2, 500);
    CMainSheet* sheet = OpenSheet();
    EXPECT_FALSE(sheet->Action(CMainSheet::kAddCommand)->isEnabled());
    Answer(data.file("first.abf"));
    sheet->OnAddData();
    EXPECT_EQ(dialogTitles.back(), "Load Data File");
    EXPECT_TRUE(sheet->Action(CMainSheet::kAddCommand)->isEnabled());

    Answer(data.file("short.abf"));
    sheet->Action(CMainSheet::kAddCommand)->trigger();
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "This additional data was not recorded using the same "
                                         "protocol and cannot be added.");
    EXPECT_EQ(messages.messages[0].caption, "Error: Add Data Failed");
    EXPECT_EQ(sheet->AnalysisPages()[4]->TraceCount(), 3u);

    Answer(data.file("second.abf"));
    sheet->OnAddData();
    EXPECT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(sheet->FileName(), Canonical(data.file("first.abf")));
    EXPECT_EQ(sheet->DisplayModel()->TraceCount(), 5u);
    for (CPageAnalyseBase* page : sheet->AnalysisPages()) {
        EXPECT_EQ(page->TraceCount(), 5u);
        // The selection made when the first file was opened stays.
        EXPECT_EQ(page->SelectedRows(), (std::vector<int32_t>{0, 1, 2}));
    }
    auto* list = sheet->AnalysisPages()[3]->findChild<QListWidget*>("traceList");
    ASSERT_EQ(list->count(), 5);
    EXPECT_TRUE(list->item(2)->text().endsWith("first"));
    EXPECT_TRUE(list->item(4)->text().endsWith("second"));

    sheet->Action(CMainSheet::kCloseCommand)->trigger();
    EXPECT_TRUE(sheet->FileName().empty());
    EXPECT_EQ(sheet->DisplayModel()->TraceCount(), 0u);
    for (CPageAnalyseBase* page : sheet->AnalysisPages())
        EXPECT_TRUE(page->SelectedRows().empty());
    EXPECT_FALSE(sheet->Action(CMainSheet::kAddCommand)->isEnabled());
    sheet->PressButton(Sheet::kApplyButton);
    EXPECT_EQ(sheet->ExportCount(), 0) << "nothing to analyse";
    EXPECT_EQ(messages.messages.size(), 2u);
}

// Added recordings take the channel of "Current Channel" too (at the holding
// level channel 1 reads -80 mV, the current on channel 0 -300 pA), and one
// that lacks it is refused with the reader's text.
TEST_F(MainSheetTest, AddedRecordingsTakeTheSettingsChannelAndOneWithoutItIsRefused) {
    const std::string first = data.file("first.abf"), second = data.file("second.abf");
    model::WriteMovingRampRecording(first, {{5.0, 20000.0}, {5.0, 20000.0}}, 200);
    model::WriteMovingRampRecording(second, {{5.0, 20000.0}}, 200);
    profile->WriteString("settings", "Current Channel", "1");
    CMainSheet* sheet = OpenSheet();
    ASSERT_TRUE(sheet->OpenRecording(first));
    ASSERT_TRUE(sheet->AddRecording(second));
    EXPECT_EQ(sheet->Store().channel.index, 1);
    EXPECT_EQ(sheet->DisplayModel()->unit, "mV");
    ASSERT_EQ(sheet->Store().traces.size(), 3u);
    for (const SharedFloatArray& trace : sheet->Store().traces)
        EXPECT_NEAR(trace[0], -80.0f, 0.05f);

    // A channel the recording lacks is refused; the loaded recording stays.
    sheet->GeneralSettingsPage()->Settings().currentChannel.request = 3;
    EXPECT_FALSE(sheet->OpenRecording(second));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_NE(messages.messages[0].text.find("The requested Analog IN channel was not sampled."),
              std::string::npos);
    EXPECT_EQ(sheet->Store().traces.size(), 3u);
}

// Analyse on every tab, and Ctrl+Shift+A even from an entry field.
TEST_F(MainSheetTest, AnalyseWritesOneWorkbookOncePerPressFromEveryTab) {
    const std::string path = data.file("cell.abf");
    WriteCellRecording(path, 3);
    UseModelCellRamps();
    CMainSheet* sheet = OpenSheet();
    Answer(path);
    sheet->OnImportData();
    const std::string workbook = WorkbookPathFor(Canonical(path));

    for (int tab = 0; tab < sheet->PageCount(); ++tab) {
        ASSERT_TRUE(sheet->SetActivePage(tab));
        QTest::mouseClick(sheet->Button(Sheet::kApplyButton), Qt::LeftButton);
        EXPECT_EQ(sheet->ExportCount(), tab + 1) << "tab " << tab;
        EXPECT_EQ(sheet->ActiveIndex(), tab) << "the shown page stays";
    }
    EXPECT_TRUE(fs::exists(workbook));
    EXPECT_EQ(sheet->LastExportOutcome().savedPath, workbook);
    EXPECT_EQ(sheet->LastExportOutcome().pairs, 5);
    EXPECT_EQ(printer.calls, sheet->PageCount());
    EXPECT_EQ(opener.paths.size(), static_cast<size_t>(sheet->PageCount()));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the busy cursor is gone";

    ASSERT_TRUE(sheet->SetActivePage(3));
    sheet->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(sheet));
    auto* field = sheet->AnalysisPages()[3]->findChild<QLineEdit*>("ramp1StartEdit");
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(sheet->ExportCount(), sheet->PageCount() + 1);
}

// A box ticked with the mouse, and the window closed from its title bar.
TEST_F(MainSheetTest, ClosingTheWindowWritesTheChangedSettings) {
    CMainSheet* sheet = OpenSheet();
    sheet->DisplayModel()->zoomY = 3;
    sheet->DisplayModel()->scrollX = 40;
    ASSERT_TRUE(sheet->SetActivePage(5));
    const auto control = [&](int id) { return sheet->GeneralSettingsPage()->Control(id); };
    auto* autoSave = qobject_cast<QAbstractButton*>(control(CPageGeneralSettings::kAutoSaveId));
    QTest::mouseClick(autoSave, Qt::LeftButton, {}, QPoint(8, autoSave->height() / 2));
    ASSERT_FALSE(autoSave->isChecked());
    qobject_cast<QAbstractButton*>(control(CPageGeneralSettings::kPlotTimesId))->setChecked(true);
    qobject_cast<QLineEdit*>(control(CPageGeneralSettings::kSweepMaxRangeId))->setText("1234.5");
    ExitSheet(sheet, true);
    EXPECT_EQ(profile->ReadInt("settings", "AutoSave", -1), 0);
    EXPECT_EQ(profile->ReadInt("settings", "PlotTimeTraceNum", -1), 0);
    EXPECT_EQ(profile->ReadString("settings", "Sweep Max Range", ""), "1234.5");
    EXPECT_EQ(profile->ReadInt("settings", "yZoom", -1), 3);
    EXPECT_EQ(profile->ReadInt("settings", "ScrollPosx", -1), 40);
    EXPECT_EQ(profile->ReadString("Current Traces", "Sample Points", ""),
              "10,15,20,25,30,35,40,45,50,55,1330,2630,2700,3080,");
}

} // namespace
