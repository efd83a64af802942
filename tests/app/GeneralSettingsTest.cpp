// The General Settings page inside the main window: its controls, what takes
// effect at once, and when the range reaches the display model.
#include "tests/app/AppTestSupport.h"

#include "analysis/qt/PageAnalyseBase.h"
#include "app/qt/PageGeneralSettings.h"
#include "controls/qt/ColourDropDownButton.h"
#include "display/DisplayValues.h"
#include "display/TraceDisplayModel.h"
#include "display/qt/CZoomScrollView.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using Page = CPageGeneralSettings;

template <class T> T* ControlOf(CMainSheet* sheet, int id) {
    return qobject_cast<T*>(sheet->GeneralSettingsPage()->Control(id));
}

TEST_F(MainSheetTest, GeneralSettingsShowEveryControlAtFirstStart) {
    CMainSheet* sheet = OpenSheet();
    ASSERT_TRUE(sheet->SetActivePage(5));
    const std::pair<int, const char*> boxes[] = {
        {143, "Slope Time Course"},
        {145, "Sample Current Time Course"},
        {146, "Current Voltage Diagrams"},
        {147, "Capacitance Time Course"},
        {157, "Continuous Record Time Course"},
        {158, "Analyse All Categories at once"},
        {149, "Print automatically"},
        {150, "Save automatically"},
        {151, "Use the same control trace for all calculations"},
        {148, "Show Zero Current Line"},
        {159, "Automatically analyse new acquisition files"},
    };
    for (const auto& [id, label] : boxes) {
        auto* box = ControlOf<QCheckBox>(sheet, id);
        ASSERT_NE(box, nullptr) << id;
        EXPECT_EQ(box->text().toStdString(), label);
        const bool disabledOne = id == 158 || id == 151;
        EXPECT_EQ(box->isEnabled(), !disabledOne) << id;
        EXPECT_EQ(box->isChecked(), !disabledOne) << id;
    }
    EXPECT_EQ(ControlOf<QRadioButton>(sheet, 154)->text(), "Plot times");
    EXPECT_EQ(ControlOf<QRadioButton>(sheet, 155)->text(), "Plot Trace Number");
    EXPECT_TRUE(ControlOf<QRadioButton>(sheet, 155)->isChecked());
    EXPECT_EQ(ControlOf<QLineEdit>(sheet, 1103)->text(), "5000");

    QStringList frames;
    for (const QGroupBox* frame : sheet->GeneralSettingsPage()->findChildren<QGroupBox*>())
        frames << frame->title();
    EXPECT_EQ(frames, QStringList({"Select All Traces after file open for calculations with",
                                   "Excel Actions", "Current Trace Settings", "Display"}));
    QStringList labels;
    for (const QLabel* label : sheet->GeneralSettingsPage()->findChildren<QLabel*>())
        labels << label->text();
    for (const char* text :
         {"Current Trace Colour:", "Control Trace Colour:", "Descending Ramp Selection colour:",
          "Ascending Ramp Selection colour:", "Calculated sub-section colour:",
          "Ocilloscope Maximum Zoom-in range:", "pA"})
        EXPECT_TRUE(labels.contains(text)) << text;

    const std::pair<int, ColourRef> colours[] = {
        {195, kInitialSelectionColours[0]}, {196, kInitialSelectionColours[1]},
        {197, kInitialSelectionColours[2]}, {198, kInitialSelectionColours[3]},
        {200, kInitialZeroLineColour},      {1101, kInitialCurrentTraceColour},
        {1102, kInitialControlTraceColour}};
    auto* first = ControlOf<TLColourDropDownButton>(sheet, 195);
    for (const auto& [id, colour] : colours) {
        auto* button = ControlOf<TLColourDropDownButton>(sheet, id);
        ASSERT_NE(button, nullptr) << id;
        EXPECT_EQ(button->Colour(), colour) << id;
        EXPECT_EQ(button->ColourSet(), first->ColourSet()) << "one shared colour set";
    }
}

TEST_F(MainSheetTest, ColourChangesReachTheDisplayValuesAtOnce) {
    CMainSheet* sheet = OpenSheet();
    ASSERT_TRUE(sheet->SetActivePage(5));
    const ColourRef blue = MakeRgb(0, 0, 200);
    ControlOf<TLColourDropDownButton>(sheet, 195)->SetColour(blue);
    EXPECT_EQ(g_crSelection[0], blue);
    EXPECT_EQ(g_crSelection[4], blue);
    ControlOf<TLColourDropDownButton>(sheet, 198)->SetColour(MakeRgb(1, 2, 3));
    EXPECT_EQ(g_crSelection[3], MakeRgb(1, 2, 3));
    EXPECT_EQ(g_crSelection[5], kInitialSelectionColours[1]) << "a sub-section only";
    ControlOf<TLColourDropDownButton>(sheet, 1101)->SetColour(MakeRgb(9, 9, 9));
    ControlOf<TLColourDropDownButton>(sheet, 1102)->SetColour(MakeRgb(8, 8, 8));
    ControlOf<TLColourDropDownButton>(sheet, 200)->SetColour(MakeRgb(7, 7, 7));
    EXPECT_EQ(g_crCurrentTrace, MakeRgb(9, 9, 9));
    EXPECT_EQ(g_crControlTrace, MakeRgb(8, 8, 8));
    EXPECT_EQ(g_crZeroLine, MakeRgb(7, 7, 7));
    // The record follows at the next data exchange.
    EXPECT_EQ(sheet->GeneralSettingsPage()->Settings().selectionColours[0],
              kInitialSelectionColours[0]);
    ASSERT_TRUE(sheet->SetActivePage(0));
    EXPECT_EQ(sheet->GeneralSettingsPage()->Settings().selectionColours[0], blue);
}

// Pixels of exactly `colour` in the page's view as it is painted now.
int PixelsOf(CZoomScrollView* view, ColourRef colour) {
    const QImage image = view->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb wanted = qRgb(RedOf(colour), GreenOf(colour), BlueOf(colour));
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == wanted;
    return count;
}

TEST_F(MainSheetTest, UncheckingTheZeroLineHidesItInTheViewAtOnce) {
    const ColourRef zeroLine = MakeRgb(10, 20, 250);
    profile->WriteInt("settings", "Colour Zero Line", static_cast<int>(zeroLine));
    WriteCellRecording(data.file("cell.abf"), 2);
    CMainSheet* sheet = OpenSheet();
    fileDialog.Answer(data.file("cell.abf"));
    sheet->OnImportData();
    CZoomScrollView* view = sheet->AnalysisPages()[0]->View();
    ASSERT_GT(PixelsOf(view, zeroLine), 20);

    ASSERT_TRUE(sheet->SetActivePage(5));
    QTest::mouseClick(ControlOf<QCheckBox>(sheet, 148), Qt::LeftButton);
    EXPECT_FALSE(g_bShowZeroCurrentLine);
    EXPECT_EQ(PixelsOf(view, zeroLine), 0);
    QTest::mouseClick(ControlOf<QCheckBox>(sheet, 148), Qt::LeftButton);
    EXPECT_TRUE(g_bShowZeroCurrentLine);
    EXPECT_GT(PixelsOf(view, zeroLine), 20);
}

TEST_F(MainSheetTest, AnEditedRangeReachesTheModelWhenThePageIsLeft) {
    CMainSheet* sheet = OpenSheet();
    ASSERT_TRUE(sheet->SetActivePage(5));
    // Leaving without an edit leaves the model's range alone.
    sheet->DisplayModel()->SetMaxZoomRange(777.0f);
    ASSERT_TRUE(sheet->SetActivePage(1));
    EXPECT_FLOAT_EQ(sheet->DisplayModel()->maxRange, 777.0f);

    ASSERT_TRUE(sheet->SetActivePage(5));
    auto* range = ControlOf<QLineEdit>(sheet, 1103);
    range->selectAll();
    QTest::keyClicks(range, "200");
    EXPECT_FLOAT_EQ(sheet->DisplayModel()->maxRange, 777.0f) << "not before the page is left";
    ASSERT_TRUE(sheet->SetActivePage(0));
    EXPECT_FLOAT_EQ(sheet->DisplayModel()->maxRange, 200.0f);
    EXPECT_DOUBLE_EQ(sheet->GeneralSettingsPage()->Settings().sweepMaxRange, 200.0);
    EXPECT_FALSE(sheet->GeneralSettingsPage()->Settings().sweepMaxRangeChanged);
}

TEST_F(MainSheetTest, AnInvalidRangeKeepsTheUserOnThePage) {
    CMainSheet* sheet = OpenSheet();
    ASSERT_TRUE(sheet->SetActivePage(5));
    ControlOf<QLineEdit>(sheet, 1103)->setText("0");
    EXPECT_FALSE(sheet->SetActivePage(0));
    EXPECT_EQ(sheet->ActiveIndex(), 5);
    ASSERT_FALSE(messages.messages.empty());
    EXPECT_DOUBLE_EQ(sheet->GeneralSettingsPage()->Settings().sweepMaxRange, 5000.0);
}

TEST_F(MainSheetTest, SelectAllFlagsComeFromTheCheckBoxes) {
    WriteCellRecording(data.file("cell.abf"), 2);
    CMainSheet* sheet = OpenSheet();
    ASSERT_TRUE(sheet->SetActivePage(5));
    ControlOf<QCheckBox>(sheet, 143)->setChecked(false);
    ControlOf<QCheckBox>(sheet, 157)->setChecked(false);
    ASSERT_TRUE(sheet->SetActivePage(0));
    fileDialog.Answer(data.file("cell.abf"));
    sheet->OnImportData();
    const auto& pages = sheet->AnalysisPages();
    EXPECT_TRUE(pages[0]->SelectedRows().empty());
    EXPECT_EQ(pages[1]->SelectedRows(), (std::vector<int32_t>{0, 1}));
    EXPECT_EQ(pages[2]->SelectedRows(), (std::vector<int32_t>{0, 1}));
    EXPECT_EQ(pages[3]->SelectedRows(), (std::vector<int32_t>{0, 1}));
    EXPECT_TRUE(pages[4]->SelectedRows().empty());
}

} // namespace
