// The current-voltage, capacitance and continuous record pages, a recording
// read from a file, and the button images.
#include "analysis/qt/PageButtonImages.h"
#include "analysis/qt/PageCapacitance.h"
#include "analysis/qt/PageContinuousRecord.h"
#include "analysis/qt/PageIV.h"
#include "controls/qt/IntegerEdit.h"
#include "controls/qt/IntegerListEdit.h"
#include "controls/qt/SpinButton.h"
#include "display/qt/CZoomScrollView.h"
#include "platform/Messages.h"
#include "tests/analysis/PageFixture.h"
#include "tests/support/ModelCell.h"
#include "tests/support/TempDir.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>

#include <gtest/gtest.h>

#include <set>

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
    ASSERT_EQ(roundTo->count(), 4);
    EXPECT_EQ(roundTo->itemText(3), "10");
    EXPECT_EQ(roundTo->currentText(), "1");
    EXPECT_EQ(every->currentText(), "5");
    ASSERT_TRUE(page.UpdateData(true));
    page.SavePageSettings(profile);
    EXPECT_EQ(profile.values.at({"IV", "Round To"}), "1");
    EXPECT_EQ(profile.values.at({"IV", "Sample Frequency"}), "5");

    // A stored step that is an item is shown as it is, even when the record
    // was set directly; nothing selected saves item 0.
    settings.roundTo = 10;
    page.UpdateData(false);
    EXPECT_EQ(roundTo->currentText(), "10");
    every->setCurrentIndex(-1);
    ASSERT_TRUE(page.UpdateData(true));
    EXPECT_EQ(settings.sampleEvery, 1u);
    EXPECT_EQ(settings.roundTo, 10u);

    EXPECT_STREQ(page.metaObject()->className(), "CPageIV");
    EXPECT_EQ(page.windowTitle(), "Current Voltage");
    EXPECT_FALSE(Child<CIntegerEdit>(&page, "ramp2StartEdit")->isEnabled());
    EXPECT_TRUE(messages.messages.empty());
}

TEST(CapacitancePage, DefaultRampsAndSubsections) {
    RecordingMessageSink messages;
    MemoryProfileStore empty;
    TraceStore store = MakeStore(3, 3000);
    auto model = MakeModel(store);
    CapacitanceSettings settings;
    CPageCapacitance page(settings);
    page.LoadPageSettings(empty);
    page.SetDisplayModel(model);
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

    EXPECT_EQ(Child<QLabel>(&page, "ramp2StartCaption")->text(), "Ramp2 Start:");
    EXPECT_FALSE(Child<QCheckBox>(&page, "controlTraceCheck")->isVisibleTo(&page));
    EXPECT_FALSE(Child<CIntegerEdit>(&page, "controlTraceEdit")->isEnabled());
    EXPECT_STREQ(page.metaObject()->className(), "CPageSlopeConductance");
    EXPECT_EQ(page.windowTitle(), "Cell Capacitance");
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
    current->setText("1");
    EXPECT_EQ(page.View()->RegionStart(0), 0u);
    EXPECT_EQ(page.View()->RegionEnd(0), 1u);
    current->setText("0");
    EXPECT_EQ(page.View()->RegionStart(0), 0u);
    EXPECT_EQ(page.View()->RegionEnd(0), 1u);
    current->setText("20");
    EXPECT_EQ(page.View()->RegionStart(0), 19u);
    EXPECT_EQ(page.View()->RegionEnd(0), 20u);

    // 3080 lies beyond the 3000 samples.
    EXPECT_EQ(points->UpperBound(), 3000);
    EXPECT_FALSE(page.UpdateData(true));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].caption, "Sample Points Out of Bounds");
    points->setText("5,2999,");
    messages.messages.clear();
    ASSERT_TRUE(page.UpdateData(true));
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(settings.samplePoints, (std::vector<int32_t>{5, 2999}));
    EXPECT_EQ(settings.ramp1Start, 20);
    EXPECT_EQ(settings.ramp1End, 2625); // hidden: kept as stored
    page.SavePageSettings(profile);
    EXPECT_EQ(profile.values.at({"Current Traces", "Sample Points"}), "5,2999,");
    EXPECT_EQ(profile.values.at({"Current Traces", "Ramp1 Start"}), "20");

    EXPECT_EQ(Child<QLabel>(&page, "currentSampleCaption")->text(), "Current Sample#:");
    EXPECT_FALSE(Child<CIntegerEdit>(&page, "ramp1EndEdit")->isVisibleTo(&page));
    EXPECT_FALSE(Child<CIntegerEdit>(&page, "ramp1EndEdit")->isEnabled());
    EXPECT_TRUE(Child<QCheckBox>(&page, "controlTraceCheck")->isVisibleTo(&page));
    EXPECT_FALSE(Child<QCheckBox>(&page, "controlTraceCheck")->isEnabled());
    EXPECT_FALSE(Child<CIntegerEdit>(&page, "controlTraceEdit")->isEnabled());
    EXPECT_STREQ(page.metaObject()->className(), "CPageAnalyseBase");
}

TEST(Pages, ShowARecordingReadFromAFile) {
    RecordingMessageSink messages;
    TempDir dir;
    const std::string path = dir.file("cell12.abf");
    model::WriteModelRecording(path, {{10.0, 5.0}, {12.0, 5.0}, {14.0, 5.0}});
    TraceStore store;
    ASSERT_TRUE(TraceStore::LoadInto(store, path));
    auto displayModel = std::make_shared<TraceDisplayModel>();
    displayModel->SetData(store.timeAxis, store.commandWaveform, store.traces,
                          store.samplesPerTrace());

    SlopeConductanceSettings settings;
    CPageSlopeConductance page(settings);
    MemoryProfileStore empty;
    page.LoadPageSettings(empty);
    page.SetDisplayModel(displayModel);
    Child<CIntegerEdit>(&page, "ramp1StartEdit")->setText("1349");
    Child<CIntegerEdit>(&page, "ramp1EndEdit")->setText("2549");
    page.OnNewRecording("cell12", static_cast<uint32_t>(store.traces.size()),
                        store.samplesPerTrace(), true);
    auto* list = Child<QListWidget>(&page, "traceList");
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(2)->text(), "#    3   : cell12");
    EXPECT_EQ(Child<CIntegerEdit>(&page, "ramp1EndEdit")->UpperBound(),
              static_cast<int32_t>(model::kSamples));
    // The model's ramp 1 rises from -100 to +50 mV: the window around 0 mV.
    const SampleWindow expected = model::WindowWithin(store.commandWaveform, model::kRamp1First,
                                                      model::kRamp1Last, -5.0f, 5.0f);
    EXPECT_EQ(settings.subsection1.start, expected.start);
    EXPECT_EQ(settings.subsection1.end, expected.end);

    page.resize(1000, 560);
    page.show();
    ProcessEvents();
    EXPECT_FALSE(page.grab().isNull());
    EXPECT_TRUE(messages.messages.empty());
}

TEST(ButtonImages, CrispOnTheMaskColour) {
    for (const int id : {kZoomInBitmap, kZoomOutBitmap, kAddCurrentBitmap, kRemoveCurrentBitmap,
                         kAddAllBitmap, kRemoveAllBitmap}) {
        const QImage image = PageButtonBitmap(id);
        ASSERT_FALSE(image.isNull()) << id;
        EXPECT_EQ(image.size(), QSize(16, 16)) << id;
        std::set<QRgb> colours;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                colours.insert(image.pixel(x, y) & 0xFFFFFF);
        // Whole-pixel drawings: the background is exactly light grey and no
        // blended edge colours appear.
        EXPECT_TRUE(colours.count(0xC0C0C0)) << id;
        EXPECT_LE(colours.size(), 5u) << id;
        EXPECT_EQ(image.pixel(15, 0) & 0xFFFFFF, 0xC0C0C0u) << id;
    }
    EXPECT_TRUE(PageButtonBitmap(1).isNull());
}

} // namespace
