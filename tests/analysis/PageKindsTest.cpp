// The current-voltage, capacitance and continuous record pages.
#include "analysis/qt/PageCapacitance.h"
#include "analysis/qt/PageContinuousRecord.h"
#include "analysis/qt/PageIV.h"
#include "controls/qt/IntegerEdit.h"
#include "controls/qt/IntegerListEdit.h"
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
    EXPECT_EQ(Child<QComboBox>(&page, "roundToCombo")->currentText(), "1");
    EXPECT_EQ(Child<QComboBox>(&page, "sampleEveryCombo")->currentText(), "5");
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
    EXPECT_EQ(Region(view, 0), (Subsection{1349, 2624}));
    EXPECT_EQ(Region(view, 1), (Subsection{699, 1299}));

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
    for (const auto& [r, range] : {std::pair{2, s1}, {4, s1}, {3, s2}, {5, s2}})
        EXPECT_EQ(Region(view, r), range) << r;
}

TEST(ContinuousRecordPage, CurrentSampleBandAndSamplePoints) {
    RecordingMessageSink messages;
    MemoryProfileStore profile;
    TraceStore store = MakeStore(3, 3000);
    ContinuousRecordSettings settings;
    CPageContinuousRecord page(settings);
    page.LoadPageSettings(profile);
    auto* points = Child<CIntegerListEdit>(&page, "samplePointsEdit");
    page.SetDisplayModel(MakeModel(store));
    page.OnNewRecording("cell", 3, 3000, false);
    // Right after loading the band runs from the current sample to ramp 1's end.
    EXPECT_EQ(Region(page.View(), 0), (Subsection{1349, 2624}));
    auto* current = Child<CIntegerEdit>(&page, "ramp1StartEdit");
    for (const char* text : {"1", "0"}) {
        current->setText(text);
        EXPECT_EQ(Region(page.View(), 0), (Subsection{0, 1})) << text;
    }
    current->setText("20");
    EXPECT_EQ(Region(page.View(), 0), (Subsection{19, 20}));

    points->setText("5,2999,");
    ASSERT_TRUE(page.UpdateData(true));
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(settings.samplePoints, (std::vector<int32_t>{5, 2999}));
    EXPECT_EQ(settings.ramp1Start, 20);
    EXPECT_EQ(settings.ramp1End, 2625); // hidden: kept as stored
    EXPECT_FALSE(Child<CIntegerEdit>(&page, "ramp1EndEdit")->isVisibleTo(&page));
}

} // namespace
