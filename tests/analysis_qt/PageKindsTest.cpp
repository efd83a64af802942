// The current-voltage, capacitance and continuous record pages.
#include "analysis/qt/PageCapacitance.h"
#include "analysis/qt/PageContinuousRecord.h"
#include "analysis/qt/PageIV.h"
#include "controls/qt/IntegerListEdit.h"
#include "display/CommandVoltage.h"
#include "tests/analysis_qt/PageFixture.h"

#include <QComboBox>

using namespace pages_test;

namespace {

TEST(IVPage, ListsExchangeByItemText) {
    MemoryProfileStore stored;
    stored.WriteInt(RowOf(Analysis::CurrentVoltage).profileSection, "Round To", 3); // not an item
    stored.WriteInt(RowOf(Analysis::CurrentVoltage).profileSection, "Sample Frequency", 5);
    LoadedPage<CPageIV, CurrentVoltageSettings> p(3, 3000, true, stored);
    EXPECT_EQ(p.Field<QComboBox>("roundToCombo")->currentText(), "1");
    EXPECT_EQ(p.Field<QComboBox>("sampleEveryCombo")->currentText(), "5");
    ASSERT_TRUE(p.page.UpdateData(true));
    p.page.SavePageSettings(p.profile);
    EXPECT_EQ(p.profile.values.at({"IV", "Round To"}), "1");
    EXPECT_EQ(p.profile.values.at({"IV", "Sample Frequency"}), "5");
    EXPECT_TRUE(p.messages.messages.empty());
}

TEST(CapacitancePage, DefaultRampsAndSubsections) {
    LoadedPage<CPageCapacitance, CapacitanceSettings> p;
    CZoomScrollView* view = p.page.View();
    EXPECT_EQ(p.Band(kRamp2Region), (Subsection{699, 1299}));

    // Each ramp's sub-section: exactly its samples within 0 ± 5 mV, in the
    // sub-section colour with the ramp colour laid over it again.
    const std::vector<int32_t> tenths = CommandVoltageTenths(p.store.commandWaveform);
    const auto inside = [&](uint32_t i) { return tenths[i] >= -50 && tenths[i] <= 50; };
    const Subsection s1 = p.settings.subsection1;
    const Subsection s2 = p.settings.subsection2;
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
        EXPECT_EQ(p.Band(r), range) << r;

    // Dragging sets ramp 1, with Shift ramp 2; the fields and bands follow.
    DragAcross(view, 1800, 1500);
    const uint32_t a = Column(view, 1800), b = Column(view, 1500);
    EXPECT_EQ(p.Field("ramp1StartEdit")->text().toUInt(), b + 1);
    EXPECT_EQ(p.Field("ramp1EndEdit")->text().toUInt(), a + 1);
    EXPECT_EQ(p.Band(kRamp1Region), (Subsection{b, a}));
    EXPECT_EQ(p.Band(kRamp2Region), (Subsection{699, 1299}));
    DragAcross(view, 100, 400, Qt::ShiftModifier);
    const uint32_t c = Column(view, 100);
    EXPECT_EQ(p.Field("ramp2StartEdit")->text().toUInt(), c + 1);
    EXPECT_EQ(p.Band(kRamp2Region).start, c);
    EXPECT_EQ(p.Band(kRamp1Region), (Subsection{b, a}));
}

TEST(ContinuousRecordPage, CurrentSampleBandAndSamplePoints) {
    LoadedPage<CPageContinuousRecord, ContinuousRecordSettings> p(3, 3000, false);
    CIntegerEdit* current = p.Field("ramp1StartEdit");
    for (const char* text : {"1", "0"}) {
        current->setText(text);
        EXPECT_EQ(p.Band(kRamp1Region), (Subsection{0, 1})) << text;
    }
    current->setText("20");
    EXPECT_EQ(p.Band(kRamp1Region), (Subsection{19, 20}));
    // A drag puts the current sample where it ends.
    DragAcross(p.page.View(), 100, 700);
    EXPECT_EQ(current->text().toUInt(), Column(p.page.View(), 700) + 1);
    current->setText("20");

    p.Field<CIntegerListEdit>("samplePointsEdit")->setText("5,2999,");
    ASSERT_TRUE(p.page.UpdateData(true));
    EXPECT_TRUE(p.messages.messages.empty());
    EXPECT_EQ(p.settings.samplePoints, (std::vector<int32_t>{5, 2999}));
    EXPECT_EQ(p.settings.ramp1Start, 20);
    EXPECT_EQ(p.settings.ramp1End, 2625); // hidden: kept as stored
    EXPECT_FALSE(p.Field("ramp1EndEdit")->isVisibleTo(&p.page));
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
    const std::string section = RowOf(Analysis::ContinuousRecord).profileSection;
    profile.WriteString(section, "Sample Points", stored);
    ContinuousRecordSettings settings;
    CPageContinuousRecord page(settings);
    page.LoadPageSettings(profile);
    EXPECT_EQ(settings.samplePoints.size(), 10000u);
    ASSERT_TRUE(page.UpdateData(true));
    page.SavePageSettings(profile);
    EXPECT_EQ(profile.ReadString(section, "Sample Points", ""), stored);
    EXPECT_TRUE(messages.messages.empty());
}

} // namespace
