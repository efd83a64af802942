// The current-voltage, capacitance and continuous record pages.
#include "analysis/qt/PageCapacitance.h"
#include "analysis/qt/PageContinuousRecord.h"
#include "analysis/qt/PageIV.h"
#include "controls/qt/IntegerEdit.h"
#include "controls/qt/IntegerListEdit.h"
#include "display/qt/CZoomScrollView.h"
#include "platform/Messages.h"
#include "tests/analysis/PageFixture.h"

#include <QComboBox>

#include <gtest/gtest.h>

using namespace pages_test;

namespace {

TEST(IVPage, ListsExchangeByItemText) {
    RecordingMessageSink messages;
    MemoryProfileStore profile;
    profile.WriteInt(kCurrentVoltageSection, "Round To", 3); // not an item
    profile.WriteInt(kCurrentVoltageSection, "Sample Frequency", 5);
    CurrentVoltageSettings settings;
    CPageIV page(settings);
    page.LoadPageSettings(profile);
    auto* roundTo = Child<QComboBox>(&page, "roundToCombo");
    auto* every = Child<QComboBox>(&page, "sampleEveryCombo");
    EXPECT_EQ(roundTo->currentText(), "1");
    EXPECT_EQ(every->currentText(), "5");
    ASSERT_TRUE(page.UpdateData(true));
    page.SavePageSettings(profile);
    EXPECT_EQ(profile.values.at({"IV", "Round To"}), "1");
    EXPECT_EQ(profile.values.at({"IV", "Sample Frequency"}), "5");
    EXPECT_TRUE(messages.messages.empty());
}

TEST(CapacitancePage, DefaultRampsAndSubsections) {
    RecordingMessageSink messages;
    MemoryProfileStore empty;
    TraceStore store = MakeStore(3, 3000);
    CapacitanceSettings settings;
    CPageCapacitance page(settings);
    page.LoadPageSettings(empty);
    page.SetDisplayModel(MakeModel(store));
    page.OnNewRecording("cell", 3, 3000, true);
    CZoomScrollView* view = page.View();
    EXPECT_EQ(view->RegionStart(0), 1349u);
    EXPECT_EQ(view->RegionEnd(0), 2624u);
    EXPECT_EQ(view->RegionStart(1), 699u);
    EXPECT_EQ(view->RegionEnd(1), 1299u);

    // Each ramp's sub-section around 0 ± 5 mV, in the sub-section colour.
    const std::vector<int32_t> tenths = Tenths(store);
    const auto inside = [&](uint32_t i) { return tenths[i] >= -50 && tenths[i] <= 50; };
    const Subsection s1 = settings.subsection1;
    const Subsection s2 = settings.subsection2;
    ASSERT_FALSE(s1.IsEmpty());
    ASSERT_FALSE(s2.IsEmpty());
    for (uint32_t i = 1349; i < 2624; ++i)
        EXPECT_EQ(inside(i), i >= s1.start && i < s1.end) << i;
    for (uint32_t i = 699; i < 1299; ++i)
        EXPECT_EQ(inside(i), i >= s2.start && i < s2.end) << i;
    EXPECT_EQ(view->RegionStart(2), s1.start);
    EXPECT_EQ(view->RegionEnd(4), s1.end);
    EXPECT_EQ(view->RegionStart(3), s2.start);
    EXPECT_EQ(view->RegionEnd(5), s2.end);

    // Ramp 2 moved so that it no longer encloses its sub-section: both are searched again.
    Child<CIntegerEdit>(&page, "ramp2StartEdit")->setText(QString::number(s2.start + 5));
    EXPECT_EQ(settings.subsection2.start, s2.start + 4);
    EXPECT_EQ(settings.subsection1, s1);
    EXPECT_TRUE(page.UpdateData(true));
    EXPECT_TRUE(messages.messages.empty());
}

TEST(ContinuousRecordPage, CurrentSampleBandAndSamplePoints) {
    RecordingMessageSink messages;
    MemoryProfileStore profile;
    TraceStore store = MakeStore(3, 3000);
    ContinuousRecordSettings settings;
    CPageContinuousRecord page(settings);
    page.LoadPageSettings(profile);
    auto* points = Child<CIntegerListEdit>(&page, "samplePointsEdit");
    EXPECT_EQ(points->text(), "10,15,20,25,30,35,40,45,50,55,1330,2630,2700,3080,");
    page.SetDisplayModel(MakeModel(store));
    page.OnNewRecording("cell", 3, 3000, false);
    // Right after loading the band runs from the current sample to ramp 1's end.
    EXPECT_EQ(page.View()->RegionStart(0), 1349u);
    EXPECT_EQ(page.View()->RegionEnd(0), 2624u);
    auto* current = Child<CIntegerEdit>(&page, "ramp1StartEdit");
    for (const char* text : {"1", "0"}) {
        current->setText(text);
        EXPECT_EQ(page.View()->RegionStart(0), 0u) << text;
        EXPECT_EQ(page.View()->RegionEnd(0), 1u) << text;
    }
    current->setText("20");
    EXPECT_EQ(page.View()->RegionStart(0), 19u);
    EXPECT_EQ(page.View()->RegionEnd(0), 20u);

    points->setText("5,2999,");
    ASSERT_TRUE(page.UpdateData(true));
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(settings.samplePoints, (std::vector<int32_t>{5, 2999}));
    EXPECT_EQ(settings.ramp1Start, 20);
    EXPECT_EQ(settings.ramp1End, 2625); // hidden: kept as stored
    page.SavePageSettings(profile);
    EXPECT_EQ(profile.values.at({"Current Traces", "Sample Points"}), "5,2999,");
    EXPECT_EQ(profile.values.at({"Current Traces", "Ramp1 Start"}), "20");
    EXPECT_FALSE(Child<CIntegerEdit>(&page, "ramp1EndEdit")->isVisibleTo(&page));
}

} // namespace
