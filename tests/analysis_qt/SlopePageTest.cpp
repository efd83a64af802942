// The slope conductance page: the sub-sections of the ramps within the test
// potential ± range, their bands, and the fields it hides.
#include "analysis/qt/PageSlopeConductance.h"
#include "tests/analysis_qt/PageFixture.h"

using namespace pages_test;

namespace {

// By default test potential 0 mV, range 5 mV.
using SlopePage = LoadedPage<CPageSlopeConductance, SlopeConductanceSettings>;

TEST(SlopePage, RampSubsectionsFollowTheTestPotential) {
    SlopePage p;
    // Exactly the samples of ramp 1 within -5.0 .. +5.0 mV.
    const std::vector<int32_t> tenths = Tenths(p.store);
    const Subsection s = p.settings.subsection1;
    ASSERT_FALSE(s.IsEmpty());
    for (uint32_t i = 1349; i < 2624; ++i)
        EXPECT_EQ(tenths[i] >= -50 && tenths[i] <= 50, i >= s.start && i < s.end) << i;
    // Shown as the sub-section, with the ramp colour laid over it again.
    EXPECT_EQ(p.Band(kSubsection1Region), s);
    EXPECT_EQ(p.Band(kRamp1OverlayRegion), s);
    EXPECT_EQ(p.Band(kRamp1Region), (Subsection{1349, 2624}));
    // Ramp 2 of 1 .. 1 finds nothing.
    EXPECT_TRUE(p.settings.subsection2.IsEmpty());
    EXPECT_TRUE(p.Band(kSubsection2Region).IsEmpty());

    // 80 ± 5 mV lies above a ramp that ends at +50 mV: empty, not drawn.
    p.Field("testPotentialEdit")->setText("80");
    EXPECT_EQ(p.settings.subsection1, (Subsection{0, 0}));
    EXPECT_TRUE(p.Band(kSubsection1Region).IsEmpty());
}

TEST(SlopePage, DraggingTheRampMovesTheSubsection) {
    SlopePage p;
    ASSERT_FALSE(p.settings.subsection1.IsEmpty());
    // From the middle of ramp 1 to its end: the 0 mV crossing is left out.
    DragAcross(p.page.View(), 2300, 2624);
    const uint32_t from = Column(p.page.View(), 2300), to = Column(p.page.View(), 2624);
    EXPECT_EQ(p.Field("ramp1StartEdit")->text().toUInt(), from + 1);
    EXPECT_EQ(p.Field("ramp1EndEdit")->text().toUInt(), to + 1);
    EXPECT_EQ(p.Band(kRamp1Region), (Subsection{from, to}));
    EXPECT_TRUE(p.settings.subsection1.IsEmpty()); // 0 mV is crossed near sample 2199
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
    EXPECT_EQ(p.settings.ramp2Start, 5000);
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
