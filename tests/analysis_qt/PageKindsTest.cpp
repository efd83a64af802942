// The current-voltage, capacitance and continuous record pages.
#include "analysis/qt/PageCapacitance.h"
#include "analysis/qt/PageContinuousRecord.h"
#include "analysis/qt/PageIV.h"
#include "controls/qt/IntegerEdit.h"
#include "controls/qt/IntegerListEdit.h"
#include "platform/Messages.h"
#include "tests/analysis_qt/PageFixture.h"
#include "tests/support/RecordingMessageSink.h"

#include <QApplication>
#include <QComboBox>
#include <QMouseEvent>

#include <gtest/gtest.h>

using namespace pages_test;

namespace {

// Drags the mouse across `view` from sample `first` to sample `last` (as the
// view's columns place them) with `modifiers` held.
void DragAcross(CZoomScrollView* view, uint32_t first, uint32_t last,
                Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const TraceDisplayModel& model = *view->DisplayModel();
    const QPointF from(model.SampleX(first), 20);
    const QPointF to(model.SampleX(last), 40);
    const auto send = [&](QEvent::Type type, QPointF at, Qt::MouseButton button,
                          Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, at, button, buttons, modifiers);
        QApplication::sendEvent(view->viewport(), &event);
    };
    send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

TEST(IVPage, ListsExchangeByItemText) {
    RecordingMessageSink messages;
    MemoryProfileStore profile;
    profile.WriteInt(RowOf(Analysis::CurrentVoltage).profileSection, "Round To", 3); // not an item
    profile.WriteInt(RowOf(Analysis::CurrentVoltage).profileSection, "Sample Frequency", 5);
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
    EXPECT_EQ(Region(view, kRamp1Region), (Subsection{1349, 2624}));
    EXPECT_EQ(Region(view, kRamp2Region), (Subsection{699, 1299}));

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
    for (const auto& [r, range] : {std::pair{kSubsection1Region, s1},
                                   {kRamp1OverlayRegion, s1},
                                   {kSubsection2Region, s2},
                                   {kRamp2OverlayRegion, s2}})
        EXPECT_EQ(Region(view, r), range) << r;

    // Dragging sets ramp 1, with Shift ramp 2; the fields and bands follow.
    const uint32_t a = view->DisplayModel()->SampleAtX(view->DisplayModel()->SampleX(1800));
    const uint32_t b = view->DisplayModel()->SampleAtX(view->DisplayModel()->SampleX(1500));
    DragAcross(view, 1800, 1500);
    EXPECT_EQ(Child<CIntegerEdit>(&page, "ramp1StartEdit")->text().toUInt(), b + 1);
    EXPECT_EQ(Child<CIntegerEdit>(&page, "ramp1EndEdit")->text().toUInt(), a + 1);
    EXPECT_EQ(Region(view, kRamp1Region), (Subsection{b, a}));
    EXPECT_EQ(Region(view, kRamp2Region), (Subsection{699, 1299}));
    DragAcross(view, 100, 400, Qt::ShiftModifier);
    const uint32_t c = view->DisplayModel()->SampleAtX(view->DisplayModel()->SampleX(100));
    EXPECT_EQ(Child<CIntegerEdit>(&page, "ramp2StartEdit")->text().toUInt(), c + 1);
    EXPECT_EQ(Region(view, kRamp2Region).start, c);
    EXPECT_EQ(Region(view, kRamp1Region), (Subsection{b, a}));
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
    EXPECT_EQ(Region(page.View(), kRamp1Region), (Subsection{1349, 2624}));
    auto* current = Child<CIntegerEdit>(&page, "ramp1StartEdit");
    for (const char* text : {"1", "0"}) {
        current->setText(text);
        EXPECT_EQ(Region(page.View(), kRamp1Region), (Subsection{0, 1})) << text;
    }
    current->setText("20");
    EXPECT_EQ(Region(page.View(), kRamp1Region), (Subsection{19, 20}));
    // A drag puts the current sample where it ends.
    DragAcross(page.View(), 100, 700);
    const uint32_t end = page.DisplayModel()->SampleAtX(page.DisplayModel()->SampleX(700));
    EXPECT_EQ(current->text().toUInt(), end + 1);
    current->setText("20");

    points->setText("5,2999,");
    ASSERT_TRUE(page.UpdateData(true));
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(settings.samplePoints, (std::vector<int32_t>{5, 2999}));
    EXPECT_EQ(settings.ramp1Start, 20);
    EXPECT_EQ(settings.ramp1End, 2625); // hidden: kept as stored
    EXPECT_FALSE(Child<CIntegerEdit>(&page, "ramp1EndEdit")->isVisibleTo(&page));
}

// Ten thousand sample points (over 60,000 characters) survive a start and a
// close of the window whole: the field never cuts the list.
TEST(ContinuousRecordPage, LongSamplePointListsComeBackWhole) {
    RecordingMessageSink messages;
    MemoryProfileStore profile;
    std::string stored;
    for (int k = 1; k <= 10000; ++k)
        stored += std::to_string(100000 + 7 * k) + ",";
    ASSERT_GT(stored.size(), 60000u);
    profile.WriteString(RowOf(Analysis::ContinuousRecord).profileSection, "Sample Points", stored);
    ContinuousRecordSettings settings;
    CPageContinuousRecord page(settings);
    page.LoadPageSettings(profile);
    EXPECT_EQ(settings.samplePoints.size(), 10000u);
    ASSERT_TRUE(page.UpdateData(true));
    page.SavePageSettings(profile);
    EXPECT_EQ(
        profile.ReadString(RowOf(Analysis::ContinuousRecord).profileSection, "Sample Points", ""),
        stored);
    EXPECT_TRUE(messages.messages.empty());
}

} // namespace
