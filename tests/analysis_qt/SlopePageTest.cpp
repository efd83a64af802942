// The slope conductance page: the sub-sections of the ramps within the test
// potential ± range, their bands, and the fields it hides.
#include "analysis/qt/PageSlopeConductance.h"
#include "controls/qt/IntegerEdit.h"
#include "platform/Messages.h"
#include "tests/analysis_qt/PageFixture.h"
#include "tests/support/RecordingMessageSink.h"

#include <QApplication>
#include <QMouseEvent>

#include <gtest/gtest.h>

using namespace pages_test;

namespace {

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
        page.OnNewRecording("cell", 3, store.SamplesPerTrace(), true);
    }
    CIntegerEdit* field(const char* name) { return Child<CIntegerEdit>(&page, name); }
    Subsection region(int r) { return Region(page.View(), r); }

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
        // Exactly the samples of ramp 1 within -5.0 .. +5.0 mV.
        const std::vector<int32_t> tenths = Tenths(p.store);
        const Subsection s = p.settings.subsection1;
        ASSERT_FALSE(s.IsEmpty());
        for (uint32_t i = 1349; i < 2624; ++i)
            EXPECT_EQ(tenths[i] >= -50 && tenths[i] <= 50, i >= s.start && i < s.end) << i;
        // Shown as the sub-section, with the ramp colour laid over it again.
        EXPECT_EQ(p.region(kSubsection1Region), s);
        EXPECT_EQ(p.region(kRamp1OverlayRegion), s);
        EXPECT_EQ(p.region(kRamp1Region), (Subsection{1349, 2624}));
        // Ramp 2 of 1 .. 1 finds nothing.
        EXPECT_TRUE(p.settings.subsection2.IsEmpty());
        EXPECT_TRUE(p.region(kSubsection2Region).IsEmpty());
    }
}

TEST(SlopePage, DraggingTheRampMovesTheSubsection) {
    SlopePage p;
    ASSERT_FALSE(p.settings.subsection1.IsEmpty());
    const TraceDisplayModel& model = *p.model;
    // From the middle of ramp 1 to its end: the 0 mV crossing is left out.
    const uint32_t from = model.SampleAtX(model.SampleX(2300));
    const uint32_t to = model.SampleAtX(model.SampleX(2624));
    const QPointF a(model.SampleX(2300), 10);
    const QPointF b(model.SampleX(2624), 10);
    QMouseEvent press(QEvent::MouseButtonPress, a, a, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, b, b, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(p.page.View()->viewport(), &press);
    QApplication::sendEvent(p.page.View()->viewport(), &release);
    EXPECT_EQ(p.field("ramp1StartEdit")->text().toUInt(), from + 1);
    EXPECT_EQ(p.field("ramp1EndEdit")->text().toUInt(), to + 1);
    EXPECT_EQ(p.region(0), (Subsection{from, to}));
    EXPECT_TRUE(p.settings.subsection1.IsEmpty()); // 0 mV is crossed near sample 2199
    EXPECT_TRUE(p.region(2).IsEmpty());
}

TEST(SlopePage, WindowIsClippedToTheRamp) {
    SlopePage p;
    // 80 ± 5 mV lies above a ramp that ends at +50 mV: empty, not drawn.
    p.field("testPotentialEdit")->setText("80");
    EXPECT_EQ(p.settings.subsection1, (Subsection{0, 0}));
    EXPECT_TRUE(p.region(kSubsection1Region).IsEmpty());
    // -98 ± 5 mV reaches below the ramp's start: it starts at the first sample.
    p.field("testPotentialEdit")->setText("-98");
    EXPECT_EQ(p.settings.subsection1.start, 1349u);
    EXPECT_GT(p.settings.subsection1.end, 1349u);
}

TEST(SlopePage, HiddenRampFieldsKeepTheirNumbersAndANewRecordingItsOwnSubsections) {
    MemoryProfileStore stored;
    stored.WriteInt(RowOf(Analysis::SlopeConductance).profileSection, "Ramp2 Start", 5000);
    stored.WriteInt(RowOf(Analysis::SlopeConductance).profileSection, "Ramp2 End", 6000);
    SlopePage p(DefaultProtocol, stored);
    // 5000 and 6000 lie beyond the 3000 samples; the fields are hidden.
    EXPECT_TRUE(p.page.UpdateData(true));
    EXPECT_TRUE(p.messages.messages.empty());
    EXPECT_EQ(p.settings.ramp2Start, 5000);
    EXPECT_EQ(p.settings.ramp2End, 6000);
    EXPECT_TRUE(p.settings.subsection2.IsEmpty()); // never searched beyond the trace
    p.page.SavePageSettings(p.profile);
    EXPECT_EQ(p.profile.values.at({RowOf(Analysis::SlopeConductance).profileSection, "Ramp2 End"}),
              "6000");

    // A recording too short for the stored ramp 1: nothing of the old one stays.
    ASSERT_FALSE(p.settings.subsection1.IsEmpty());
    TraceStore shorter = MakeStore(2, 1000);
    p.model->SetData(shorter.timeAxis, shorter.commandWaveform, shorter.traces, 1000);
    p.page.OnNewRecording("short", 2, 1000, true);
    EXPECT_TRUE(p.settings.subsection1.IsEmpty());
    for (int r = 0; r < static_cast<int>(kRegionCount); ++r)
        EXPECT_TRUE(p.region(r).IsEmpty()) << r;
}

} // namespace
