// The slope conductance page: the sub-sections of the ramps within the test
// potential ± range, their bands, and the fields it hides.
#include "analysis/qt/PageSlopeConductance.h"
#include "tests/analysis_qt/PageFixture.h"

using namespace pages_test;

namespace {

// By default test potential 0 mV, range 5 mV.
using SlopePage = LoadedPage<CPageSlopeConductance, SlopeConductanceSettings>;

// Which samples a sub-section holds is pinned on the capacitance page, which
// searches as this page does; here, what moves it.
TEST(SlopePage, SubsectionFollowsTheTestPotentialAndTheDraggedRamp) {
    SlopePage p;
    ASSERT_FALSE(p.settings.subsection1.IsEmpty());
    EXPECT_EQ(p.Band(kSubsection1Region), p.settings.subsection1);
    EXPECT_TRUE(p.settings.subsection2.IsEmpty()); // ramp 2 of 1 .. 1 finds nothing
    EXPECT_TRUE(p.Band(kSubsection2Region).IsEmpty());
    // 80 ± 5 mV lies above a ramp that ends at +50 mV: empty, not drawn.
    p.Field("testPotentialEdit")->setText("80");
    EXPECT_TRUE(p.settings.subsection1.IsEmpty());
    EXPECT_TRUE(p.Band(kSubsection1Region).IsEmpty());
    // Back at 0 mV, a ramp dragged from its middle to its end leaves out the
    // 0 mV crossing near sample 2199.
    p.Field("testPotentialEdit")->setText("0");
    ASSERT_FALSE(p.settings.subsection1.IsEmpty());
    DragAcross(p.page.View(), 2300, 2624);
    EXPECT_TRUE(p.settings.subsection1.IsEmpty());
    EXPECT_TRUE(p.Band(kSubsection1Region).IsEmpty());
}

TEST(SlopePage, HiddenRampFieldsKeepTheirNumbersAndANewRecordingItsOwnSubsections) {
    const std::string section = RowOf(Analysis::SlopeConductance).profileSection;
    MemoryProfileStore stored;
    stored.WriteInt(section, "Ramp2 Start", 5000);
    stored.WriteInt(section, "Ramp2 End", 6000);
    SlopePage p(3, 3000, true, stored);
    // 5000 and 6000 lie beyond the 3000 samples; the fields are hidden.
    EXPECT_TRUE(p.page.UpdateData(true));
    EXPECT_TRUE(p.messages.messages.empty());
    EXPECT_EQ(p.settings.ramp2End, 6000);
    EXPECT_TRUE(p.settings.subsection2.IsEmpty()); // never searched beyond the trace
    p.page.SavePageSettings(p.profile);
    EXPECT_EQ(p.profile.values.at({section, "Ramp2 End"}), "6000");

    // A recording too short for the stored ramp 1: nothing of the old one stays.
    ASSERT_FALSE(p.settings.subsection1.IsEmpty());
    TraceStore shorter = MakeStore(2, 1000);
    p.model->SetData(shorter.timeAxis, shorter.commandWaveform, shorter.traces, 1000);
    p.page.OnNewRecording("short", 2, 1000, true);
    EXPECT_TRUE(p.settings.subsection1.IsEmpty());
    for (int r = 0; r < static_cast<int>(kRegionCount); ++r)
        EXPECT_TRUE(p.Band(r).IsEmpty()) << r;
}

} // namespace
