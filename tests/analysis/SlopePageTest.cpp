// The slope conductance page: the sub-sections of the ramps within the test
// potential ± range, their bands, and the fields it hides.
#include "analysis/qt/PageSlopeConductance.h"
#include "controls/qt/IntegerEdit.h"
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

// The fixture's protocol rises from -100 to +50 mV over ramp 1 (samples
// 1349 .. 2624); this one falls from +50 to -100 mV over the same samples.
double Falling(uint32_t i) {
    return -50.0 - DefaultProtocol(i);
}

struct SlopePage {
    explicit SlopePage(const std::function<double(uint32_t)>& command = DefaultProtocol,
                       MemoryProfileStore stored = {})
        : profile(std::move(stored)), store(MakeStore(3, 3000, command)), model(MakeModel(store)),
          page(settings) {
        page.LoadPageSettings(profile); // by default test potential 0 mV, range 5 mV
        page.SetDisplayModel(model);
        page.OnNewRecording("cell", 3, store.samplesPerTrace(), true);
    }
    CIntegerEdit* field(const char* name) { return Child<CIntegerEdit>(&page, name); }
    Subsection region(int r) { return {page.View()->RegionStart(r), page.View()->RegionEnd(r)}; }

    RecordingMessageSink messages;
    MemoryProfileStore profile;
    TraceStore store;
    std::shared_ptr<TraceDisplayModel> model;
    SlopeConductanceSettings settings;
    CPageSlopeConductance page;
};

TEST(SlopePage, RisingAndFallingRampSubsections) {
    for (bool rising : {true, false}) {
        SCOPED_TRACE(rising ? "rising" : "falling");
        SlopePage p(rising ? DefaultProtocol : Falling);
        const std::vector<int32_t> tenths = Tenths(p.store);
        const Subsection expected =
            Scan(tenths, 1349, 2624, [](int32_t v) { return v >= -50 && v <= 50; });
        ASSERT_FALSE(expected.IsEmpty());
        EXPECT_EQ(p.settings.subsection1, expected);
        if (rising) { // first at or above -5.0 mV, first above +5.0 mV
            EXPECT_GE(tenths[expected.start], -50);
            EXPECT_LT(tenths[expected.start - 1], -50);
            EXPECT_GT(tenths[expected.end], 50);
        } else { // first at or below +5.0 mV, first below -5.0 mV
            EXPECT_LE(tenths[expected.start], 50);
            EXPECT_LT(tenths[expected.end], -50);
        }
        // Shown as the sub-section, with the ramp colour laid over it again.
        EXPECT_EQ(p.region(2), expected);
        EXPECT_EQ(p.region(4), expected);
        EXPECT_EQ(p.region(0), (Subsection{1349, 2624}));
        // Ramp 2 of 1 .. 1 finds nothing.
        EXPECT_TRUE(p.settings.subsection2.IsEmpty());
        EXPECT_TRUE(p.region(3).IsEmpty());
    }
}

TEST(SlopePage, WindowIsClippedToTheRamp) {
    SlopePage p;
    // 80 ± 5 mV lies above a ramp that ends at +50 mV: empty, not drawn.
    p.field("testPotentialEdit")->setText("80");
    EXPECT_EQ(p.settings.subsection1, (Subsection{0, 0}));
    EXPECT_TRUE(p.region(2).IsEmpty());
    // -98 ± 5 mV reaches below the ramp's start: it starts at the first sample.
    p.field("testPotentialEdit")->setText("-98");
    EXPECT_EQ(p.settings.subsection1.start, 1349u);
    EXPECT_GT(p.settings.subsection1.end, 1349u);
}

TEST(SlopePage, HiddenRampFieldsNeverComplainAndKeepTheirNumbers) {
    MemoryProfileStore stored;
    stored.WriteInt(kSlopeConductanceSection, "Ramp2 Start", 5000);
    stored.WriteInt(kSlopeConductanceSection, "Ramp2 End", 6000);
    SlopePage p(DefaultProtocol, stored);
    // 5000 and 6000 lie beyond the 3000 samples; the fields are hidden.
    EXPECT_TRUE(p.page.UpdateData(true));
    EXPECT_TRUE(p.messages.messages.empty());
    EXPECT_EQ(p.settings.ramp2Start, 5000);
    EXPECT_EQ(p.settings.ramp2End, 6000);
    EXPECT_TRUE(p.settings.subsection2.IsEmpty()); // never searched beyond the trace
    p.page.SavePageSettings(p.profile);
    EXPECT_EQ(p.profile.values.at({kSlopeConductanceSection, "Ramp2 End"}), "6000");
}

TEST(SlopePage, NewRecordingForgetsTheOldSubsections) {
    SlopePage p;
    ASSERT_FALSE(p.settings.subsection1.IsEmpty());
    // A recording too short for the stored ramp: nothing of the old one stays.
    TraceStore shorter = MakeStore(2, 1000);
    p.model->SetData(shorter.timeAxis, shorter.commandWaveform, shorter.traces, 1000);
    p.page.OnNewRecording("short", 2, 1000, true);
    EXPECT_TRUE(p.settings.subsection1.IsEmpty());
    for (int r = 0; r < 6; ++r)
        EXPECT_TRUE(p.region(r).IsEmpty()) << r;
    p.page.OnRecordingClosed();
    EXPECT_TRUE(p.settings.subsection1.IsEmpty());
}

} // namespace
