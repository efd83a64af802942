// The slope conductance page: the sub-sections of the ramps within the test
// potential ± range, their bands, and the two pages that share the class.
#include "analysis/qt/PageSlopeConductance.h"
#include "controls/qt/IntegerEdit.h"
#include "controls/qt/SpinButton.h"
#include "display/qt/CZoomScrollView.h"
#include "platform/Messages.h"
#include "tests/analysis/PageFixture.h"

#include <gtest/gtest.h>

using namespace pages_test;

namespace {

// The half-open range from the first sample in [first, last) whose tenths
// satisfy `inside` to the first one after it that does not, by a plain scan.
template <class Inside>
Subsection Scan(const std::vector<int32_t>& tenths, uint32_t first, uint32_t last, Inside inside) {
    uint32_t i = first;
    while (i < last && !inside(tenths[i]))
        ++i;
    uint32_t j = i;
    while (j < last && inside(tenths[j]))
        ++j;
    return {i, j};
}

// -100 mV at sample 1349 rising to +50 mV at 2624 (0-based), or falling from
// +50 to -100 mV over the same samples.
double Rising(uint32_t i) {
    if (i <= 1349)
        return -100.0;
    if (i >= 2624)
        return 50.0;
    return -100.0 + 150.0 * (i - 1349) / 1275.0;
}
double Falling(uint32_t i) {
    return -50.0 - Rising(i);
}

struct SlopePage {
    explicit SlopePage(const std::function<double(uint32_t)>& command = Rising,
                       uint32_t samples = 3000)
        : store(MakeStore(3, samples, command)), model(MakeModel(store)), page(settings) {
        MemoryProfileStore empty;
        page.LoadPageSettings(empty); // test potential 0 mV, range 5 mV
        page.SetDisplayModel(model);
        page.OnNewRecording("cell", 3, store.samplesPerTrace(), true);
    }
    CIntegerEdit* field(const char* name) { return Child<CIntegerEdit>(&page, name); }
    Subsection region(int r) { return {page.View()->RegionStart(r), page.View()->RegionEnd(r)}; }

    RecordingMessageSink messages;
    TraceStore store;
    std::shared_ptr<TraceDisplayModel> model;
    SlopeConductanceSettings settings;
    CPageSlopeConductance page;
};

TEST(SlopePage, RisingRampSubsection) {
    SlopePage p(Rising);
    const std::vector<int32_t> tenths = Tenths(p.store);
    const Subsection expected =
        Scan(tenths, 1349, 2624, [](int32_t v) { return v >= -50 && v <= 50; });
    ASSERT_FALSE(expected.IsEmpty());
    EXPECT_EQ(p.settings.subsection1, expected);
    // First at or above -5.0 mV, first above +5.0 mV.
    EXPECT_GE(tenths[expected.start], -50);
    EXPECT_LT(tenths[expected.start - 1], -50);
    EXPECT_GT(tenths[expected.end], 50);
    // Shown as the sub-section, with the ramp colour laid over it again.
    EXPECT_EQ(p.region(2), expected);
    EXPECT_EQ(p.region(4), expected);
    EXPECT_EQ(p.region(0), (Subsection{1349, 2624}));
    // Ramp 2 of 1 .. 1 finds nothing.
    EXPECT_TRUE(p.settings.subsection2.IsEmpty());
    EXPECT_TRUE(p.region(3).IsEmpty());
}

TEST(SlopePage, FallingRampSubsection) {
    SlopePage p(Falling);
    const std::vector<int32_t> tenths = Tenths(p.store);
    // From the first sample at or below +5.0 mV to the first below -5.0 mV.
    const Subsection expected =
        Scan(tenths, 1349, 2624, [](int32_t v) { return v >= -50 && v <= 50; });
    ASSERT_FALSE(expected.IsEmpty());
    EXPECT_EQ(p.settings.subsection1, expected);
    EXPECT_LE(tenths[expected.start], 50);
    EXPECT_LT(tenths[expected.end], -50);
    EXPECT_EQ(p.region(2), expected);
}

TEST(SlopePage, WindowIsClippedToTheRamp) {
    SlopePage p(Rising);
    // 80 ± 5 mV lies above a ramp that ends at +50 mV: empty, not drawn.
    p.field("testPotentialEdit")->setText("80");
    EXPECT_EQ(p.settings.subsection1, (Subsection{0, 0}));
    EXPECT_TRUE(p.region(2).IsEmpty());
    // -98 ± 5 mV reaches below the ramp's start: it starts at the first sample.
    p.field("testPotentialEdit")->setText("-98");
    EXPECT_EQ(p.settings.subsection1.start, 1349u);
    EXPECT_GT(p.settings.subsection1.end, 1349u);
}

TEST(SlopePage, NothingToSearchKeepsTheSubsection) {
    SlopePage p(Rising);
    const Subsection before = p.settings.subsection1;
    ASSERT_FALSE(before.IsEmpty());
    // Ramp start equal to its end.
    p.field("ramp1StartEdit")->setText("2625");
    EXPECT_EQ(p.settings.subsection1, before);
    EXPECT_EQ(p.region(2), before);
    // A range out of its limits (1 .. 50) is no value; nothing is searched.
    p.field("ramp1StartEdit")->setText("1350");
    p.field("potentialRangeEdit")->setText("0");
    EXPECT_EQ(p.settings.subsection1, before);
    p.field("potentialRangeEdit")->setText("51");
    EXPECT_EQ(p.settings.subsection1, before);
    EXPECT_TRUE(p.messages.messages.empty());
}

TEST(SlopePage, RampChangesRecomputeOnlyWhenTheSubsectionIsNoLongerEnclosed) {
    SlopePage p(Rising);
    const Subsection before = p.settings.subsection1;
    // Still enclosing: only the ramp band moves.
    p.field("ramp1StartEdit")->setText("1400");
    EXPECT_EQ(p.settings.subsection1, before);
    EXPECT_EQ(p.region(0), (Subsection{1399, 2624}));
    // A start inside the old sub-section: searched again from the new start.
    const uint32_t newStart = before.start + 10;
    p.field("ramp1StartEdit")->setText(QString::number(newStart + 1));
    EXPECT_EQ(p.settings.subsection1.start, newStart);
    EXPECT_EQ(p.settings.subsection1.end, before.end);
    EXPECT_EQ(p.region(2), p.settings.subsection1);
}

TEST(SlopePage, TestWindowLimitsAndDefaults) {
    SlopePage p;
    EXPECT_EQ(p.field("testPotentialEdit")->text(), "0");
    EXPECT_EQ(p.field("potentialRangeEdit")->text(), "5");
    EXPECT_EQ(p.field("testPotentialEdit")->LowerBound(), -100);
    EXPECT_EQ(p.field("testPotentialEdit")->UpperBound(), 100);
    EXPECT_EQ(p.field("potentialRangeEdit")->LowerBound(), 1);
    EXPECT_EQ(p.field("potentialRangeEdit")->UpperBound(), 50);
    // Ramp 2 is hidden and disabled on this page.
    EXPECT_FALSE(p.field("ramp2StartEdit")->isVisibleTo(&p.page));
    EXPECT_FALSE(p.field("ramp2EndEdit")->isEnabled());
    EXPECT_STREQ(p.page.metaObject()->className(), "CPageSlopeConductance");
    EXPECT_EQ(p.page.windowTitle(), "Slope Conductance");

    // An out-of-range test potential is reported with the field's (empty) name.
    p.field("testPotentialEdit")->setText("101");
    EXPECT_FALSE(p.page.UpdateData(true));
    ASSERT_EQ(p.messages.messages.size(), 1u);
    EXPECT_EQ(p.messages.messages[0].caption, " Out of Bounds");
}

TEST(SlopePage, HiddenRampFieldsNeverComplainAndKeepTheirNumbers) {
    RecordingMessageSink messages;
    MemoryProfileStore profile;
    profile.WriteInt(kSlopeConductanceSection, "Ramp2 Start", 5000);
    profile.WriteInt(kSlopeConductanceSection, "Ramp2 End", 6000);
    TraceStore store = MakeStore(2, 3000, Rising);
    SlopeConductanceSettings settings;
    CPageSlopeConductance page(settings);
    page.LoadPageSettings(profile);
    page.SetDisplayModel(MakeModel(store));
    page.OnNewRecording("cell", 2, 3000, true);
    // 5000 and 6000 lie beyond the 3000 samples; the fields are hidden.
    EXPECT_TRUE(page.UpdateData(true));
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(settings.ramp2Start, 5000);
    EXPECT_EQ(settings.ramp2End, 6000);
    EXPECT_TRUE(settings.subsection2.IsEmpty()); // never searched beyond the trace
    page.SavePageSettings(profile);
    EXPECT_EQ(profile.values.at({kSlopeConductanceSection, "Ramp2 End"}), "6000");
}

TEST(SlopePage, TwoPagesKeepTheirOwnSections) {
    RecordingMessageSink messages;
    MemoryProfileStore profile;
    SlopeConductanceSettings slope(kSlopeConductanceSection);
    SlopeConductanceSettings sample(kSampleCurrentSection);
    CPageSlopeConductance slopePage(slope);
    CPageSlopeConductance samplePage(sample);
    slopePage.LoadPageSettings(profile);
    samplePage.LoadPageSettings(profile);
    samplePage.setWindowTitle("Sample Current");
    Child<CIntegerEdit>(&slopePage, "testPotentialEdit")->setText("-60");
    Child<CIntegerEdit>(&samplePage, "testPotentialEdit")->setText("20");
    Child<CIntegerEdit>(&samplePage, "potentialRangeEdit")->setText("8");
    ASSERT_TRUE(slopePage.UpdateData(true));
    ASSERT_TRUE(samplePage.UpdateData(true));
    slopePage.SavePageSettings(profile);
    samplePage.SavePageSettings(profile);
    EXPECT_EQ(profile.values.at({"Slope conductance", "Reversal Potential"}), "-60");
    EXPECT_EQ(profile.values.at({"Slope conductance", "Reversal Potential Range"}), "5");
    EXPECT_EQ(profile.values.at({"Cl Current Time course", "Reversal Potential"}), "20");
    EXPECT_EQ(profile.values.at({"Cl Current Time course", "Reversal Potential Range"}), "8");

    SlopeConductanceSettings again(kSampleCurrentSection);
    CPageSlopeConductance reread(again);
    reread.LoadPageSettings(profile);
    EXPECT_EQ(again.testPotential, 20);
    EXPECT_EQ(Child<CIntegerEdit>(&reread, "potentialRangeEdit")->text(), "8");
    EXPECT_TRUE(messages.messages.empty());
}

TEST(SlopePage, NewRecordingForgetsTheOldSubsections) {
    SlopePage p(Rising);
    ASSERT_FALSE(p.settings.subsection1.IsEmpty());
    // A recording too short for the stored ramp: nothing of the old one stays.
    TraceStore shorter = MakeStore(2, 1000, Rising);
    p.model->SetData(shorter.timeAxis, shorter.commandWaveform, shorter.traces, 1000);
    p.page.OnNewRecording("short", 2, 1000, true);
    EXPECT_TRUE(p.settings.subsection1.IsEmpty());
    for (int r = 0; r < 6; ++r)
        EXPECT_TRUE(p.region(r).IsEmpty()) << r;
    p.page.OnRecordingClosed();
    EXPECT_TRUE(p.settings.subsection1.IsEmpty());
}

} // namespace
