// The General Settings page inside the main window: what takes effect at once,
// and when the range reaches the display model.
#include "tests/app_qt/AppTestSupport.h"

#include "analysis/qt/PageAnalyseBase.h"
#include "app/qt/PageGeneralSettings.h"
#include "controls/qt/ColourDropDownButton.h"
#include "display/DisplayValues.h"
#include "display/TraceDisplayModel.h"
#include "display/qt/CZoomScrollView.h"

#include "tests/support/ModelCell.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

namespace {

template <class T> T* ControlOf(CMainSheet* sheet, int id) {
    return qobject_cast<T*>(sheet->GeneralSettingsPage()->Control(id));
}

// Pixels of exactly `colour` in the page's view as it is painted now.
int PixelsOf(CZoomScrollView* view, ColourRef colour) {
    const QImage image = view->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb wanted = qRgb(ColourRefRed(colour), ColourRefGreen(colour), ColourRefBlue(colour));
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == wanted;
    return count;
}

// Colours and the zero line take effect at once; the record follows at the
// next data exchange.
TEST_F(MainSheetTest, ColourAndZeroLineChangesReachTheDisplayAtOnce) {
    const ColourRef zeroLine = MakeColourRef(10, 20, 250);
    profile->WriteInt("settings", "Colour Zero Line", static_cast<int>(zeroLine));
    WriteCellRecording(data.file("cell.abf"), 2);
    CMainSheet* sheet = OpenSheet();
    ASSERT_TRUE(sheet->OpenRecording(data.file("cell.abf")));
    CZoomScrollView* view = sheet->AnalysisPages()[0]->View();
    ASSERT_GT(PixelsOf(view, zeroLine), 20);

    ASSERT_TRUE(sheet->SetActivePage(5));
    const ColourRef blue = MakeColourRef(0, 0, 200);
    ControlOf<TLColourDropDownButton>(sheet, CPageGeneralSettings::kDescendingRampColourId)
        ->SetColour(blue);
    EXPECT_EQ(g_selectionColour[0], blue);
    EXPECT_EQ(g_selectionColour[4], blue);
    ControlOf<TLColourDropDownButton>(sheet, CPageGeneralSettings::kAscendingSubsectionColourId)
        ->SetColour(MakeColourRef(1, 2, 3));
    EXPECT_EQ(g_selectionColour[3], MakeColourRef(1, 2, 3));
    EXPECT_EQ(g_selectionColour[5], kInitialSelectionColours[1]) << "a sub-section only";
    QTest::mouseClick(ControlOf<QCheckBox>(sheet, CPageGeneralSettings::kUseZeroCurrentLineId),
                      Qt::LeftButton);
    EXPECT_FALSE(g_showZeroCurrentLine);
    EXPECT_EQ(PixelsOf(view, zeroLine), 0);

    EXPECT_EQ(sheet->GeneralSettingsPage()->Settings().selectionColours[0],
              kInitialSelectionColours[0]);
    ASSERT_TRUE(sheet->SetActivePage(0));
    EXPECT_EQ(sheet->GeneralSettingsPage()->Settings().selectionColours[0], blue);
}

TEST_F(MainSheetTest, AnEditedRangeReachesTheModelWhenThePageIsLeft) {
    CMainSheet* sheet = OpenSheet();
    ASSERT_TRUE(sheet->SetActivePage(5));
    // Leaving without an edit leaves the model's range alone.
    sheet->DisplayModel()->SetMaxZoomRange(777.0f);
    ASSERT_TRUE(sheet->SetActivePage(1));
    EXPECT_FLOAT_EQ(sheet->DisplayModel()->maxRange, 777.0f);

    ASSERT_TRUE(sheet->SetActivePage(5));
    auto* range = ControlOf<QLineEdit>(sheet, CPageGeneralSettings::kSweepMaxRangeId);
    range->setText("0");
    EXPECT_FALSE(sheet->SetActivePage(0)) << "an invalid range keeps the user on the page";
    EXPECT_EQ(sheet->ActiveIndex(), 5);
    EXPECT_EQ(messages.messages.size(), 1u);
    EXPECT_DOUBLE_EQ(sheet->GeneralSettingsPage()->Settings().sweepMaxRange, 5000.0);
    range->selectAll();
    QTest::keyClicks(range, "200");
    EXPECT_FLOAT_EQ(sheet->DisplayModel()->maxRange, 777.0f) << "not before the page is left";
    ASSERT_TRUE(sheet->SetActivePage(0));
    EXPECT_FLOAT_EQ(sheet->DisplayModel()->maxRange, 200.0f);
    EXPECT_DOUBLE_EQ(sheet->GeneralSettingsPage()->Settings().sweepMaxRange, 200.0);
    EXPECT_FALSE(sheet->GeneralSettingsPage()->Settings().sweepMaxRangeChanged);
}

QStringList Items(const QComboBox* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->itemText(i);
    return items;
}

} // namespace

// "Current channel:" lists the open file's channels; a choice reads the file
// again on that channel, shows it in the title and is stored.
TEST_F(MainSheetTest, TheChannelListNamesTheFilesChannelsAndAChoiceReloadsOnIt) {
    const std::string path = data.file("moving.abf");
    model::WriteMovingRampRecording(path, {{5.0, 2.0e4}, {10.0, 2.5e4}, {15.0, 3.0e4}}, 200);
    CMainSheet* sheet = OpenSheet();
    auto* list = ControlOf<QComboBox>(sheet, CPageGeneralSettings::kCurrentChannelId);
    ASSERT_EQ(Items(list), QStringList{"auto"});

    ASSERT_TRUE(sheet->OpenRecording(path));
    EXPECT_EQ(Items(list), (QStringList{"auto", "0: Im (pA)", "1: Vm (mV)"}));
    EXPECT_EQ(list->currentText(), "auto");
    EXPECT_EQ(sheet->windowTitle(), "Tessaran - moving - channel 0: Im (pA)");
    // Each trace's own command reaches the views: trace 2's ramps lie later.
    EXPECT_NE(sheet->DisplayModel()->CommandVoltage(1), sheet->DisplayModel()->CommandVoltage(0));

    sheet->SetActivePage(5);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_End);
    EXPECT_EQ(list->currentText(), "1: Vm (mV)");
    EXPECT_EQ(sheet->Store().channel.index, 1);
    EXPECT_EQ(sheet->windowTitle(), "Tessaran - moving - channel 1: Vm (mV)");
    EXPECT_EQ(sheet->AnalysisPages()[0]->TraceCount(), 3u);

    sheet->OnCloseData();
    EXPECT_EQ(sheet->windowTitle(), "Tessaran");
    EXPECT_EQ(Items(list), (QStringList{"auto", "1"})) << "the choice is kept without a file";
    ExitSheet(sheet);
    EXPECT_EQ(profile->ReadString("settings", "Current Channel", ""), "1");
    EXPECT_TRUE(messages.messages.empty());
}
