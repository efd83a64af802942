// "Ramps from protocol" on the pages: the ramp fields follow the current
// trace's own protocol, read-only, on a recording whose ramps move from
// episode to episode; the choice and the ramp numbers live in the page's record.
#include "analysis/qt/PageCapacitance.h"
#include "analysis/qt/PageContinuousRecord.h"
#include "analysis/qt/PageIV.h"
#include "controls/qt/SpinButton.h"
#include "display/CommandVoltage.h"
#include "tests/analysis_qt/PageFixture.h"
#include "tests/support/ModelCell.h"
#include "tests/support/TempDir.h"

#include <QApplication>
#include <QTest>

#include <QCheckBox>
#include <QLabel>
#include <QSpinBox>

using namespace pages_test;

namespace {

constexpr uint32_t kShift = 200; // samples the ramps move per episode

// The three traces of a recording whose ramps move by kShift samples per
// episode; its protocol's ramp 1 is the falling ramp, ramp 2 the rising one.
TraceStore MovingRecording() {
    TempDir dir;
    model::WriteMovingRampRecording(dir.file("moving.abf"),
                                    {{5.0, 2.0e4}, {10.0, 2.5e4}, {15.0, 3.0e4}}, kShift);
    TraceStore store;
    EXPECT_TRUE(TraceStore::LoadInto(store, dir.file("moving.abf")));
    return store;
}

// A page of type P over settings S showing MovingRecording(); `stored` is its profile.
template <class P, class S> struct MovingRampPage : LoadedPage<P, S> {
    explicit MovingRampPage(MemoryProfileStore stored = {})
        : LoadedPage<P, S>(MovingRecording(), true, std::move(stored)) {}
    // Protocol ramp `number` of trace `k` as the fields show it (1-based).
    std::pair<QString, QString> Ramp(uint32_t k, int number) const {
        const EpisodeCommand::Ramp& ramp = this->store.commands[k]->ramps[size_t(number) - 1];
        return {QString::number(ramp.first + 1), QString::number(ramp.last + 1)};
    }
    std::pair<QString, QString> Shown(int which) {
        const std::string prefix = "ramp" + std::to_string(which);
        return {this->Field((prefix + "StartEdit").c_str())->text(),
                this->Field((prefix + "EndEdit").c_str())->text()};
    }
};

using CapacitancePage = MovingRampPage<CPageCapacitance, CapacitanceSettings>;
const std::string kSection = RowOf(Analysis::Capacitance).profileSection;

// The sub-section the page should find in trace k's own command within `ramp`.
Subsection OwnSubsection(const TraceStore& store, uint32_t k,
                         const std::pair<QString, QString>& ramp) {
    Subsection found;
    EXPECT_TRUE(FindSubsection(CommandVoltageTenths(store.CommandOf(k)), 0, 5, ramp.first.toInt(),
                               ramp.second.toInt(), found));
    return found;
}

TEST(ProtocolRampPage, FieldsFollowTheCurrentTracesOwnRampsReadOnly) {
    CapacitancePage p;
    auto* check = p.Field<QCheckBox>("rampsFromProtocolCheck");
    auto* number1 = p.Field<QSpinBox>("ramp1ProtocolRampSpin");
    auto* number2 = p.Field<QSpinBox>("ramp2ProtocolRampSpin");
    auto* reason = p.Field<QLabel>("protocolRampReasonLabel");
    EXPECT_FALSE(check->isChecked());
    p.Field("ramp1StartEdit")->SetValue(1400); // typed before the box is checked

    check->click();
    number1->setValue(2);
    number2->setValue(1);
    for (const char* name : {"ramp1StartEdit", "ramp1EndEdit", "ramp2StartEdit", "ramp2EndEdit"})
        EXPECT_TRUE(p.Field(name)->isReadOnly()) << name;
    EXPECT_FALSE(p.Field<CSpinButton>("ramp1StartSpin")->isEnabled());
    EXPECT_EQ(p.Shown(1), p.Ramp(0, 2));
    EXPECT_EQ(p.Shown(2), p.Ramp(0, 1));
    EXPECT_EQ(p.Band(kSubsection1Region), OwnSubsection(p.store, 0, p.Ramp(0, 2)));
    EXPECT_TRUE(reason->text().isEmpty());

    // Trace 2's ramps lie kShift samples later, and so do its bands.
    p.Field("currentTraceEdit")->SetValue(2);
    EXPECT_EQ(p.Ramp(1, 2).first.toUInt(), p.Ramp(0, 2).first.toUInt() + kShift);
    EXPECT_EQ(p.Shown(1), p.Ramp(1, 2));
    EXPECT_EQ(p.Shown(2), p.Ramp(1, 1));
    EXPECT_EQ(p.Band(kRamp2Region).start + 1, p.Ramp(1, 1).first.toUInt());
    EXPECT_EQ(p.Band(kSubsection1Region), OwnSubsection(p.store, 1, p.Ramp(1, 2)));
    EXPECT_EQ(p.Band(kSubsection2Region), OwnSubsection(p.store, 1, p.Ramp(1, 1)));
    EXPECT_EQ(p.settings.subsection1, OwnSubsection(p.store, 1, p.Ramp(1, 2)));

    // A ramp the protocol lacks: empty fields, no band, the reason in the page.
    number2->setValue(3);
    EXPECT_EQ(p.Shown(2), (std::pair<QString, QString>{}));
    EXPECT_EQ(p.Band(kRamp2Region), (Subsection{0, 0}));
    EXPECT_EQ(p.Band(kSubsection2Region), (Subsection{0, 0}));
    EXPECT_EQ(reason->text(), "trace 2: its protocol has 2 ramps; ramp 3 is needed");
    EXPECT_EQ(p.Shown(1), p.Ramp(1, 2)) << "ramp 1 is there";
    // Passing through the empty fields is no mistake either.
    p.page.show();
    QApplication::setActiveWindow(&p.page);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&p.page));
    for (const char* name : {"ramp2StartEdit", "ramp2EndEdit", "ramp1StartEdit"}) {
        p.Field(name)->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(QTest::qWaitFor([&] { return p.Field(name)->hasFocus(); }, 2000)) << name;
    }
    QApplication::processEvents();
    // Dragging leaves the protocol's ramps alone; taking the page complains of nothing.
    DragAcross(p.page.View(), 100, 400);
    EXPECT_EQ(p.Shown(1), p.Ramp(1, 2));
    EXPECT_TRUE(p.page.UpdateData(true));
    EXPECT_TRUE(p.messages.messages.empty());

    // The record keeps the choice and the typed sample numbers.
    p.page.SavePageSettings(p.profile);
    EXPECT_EQ(p.profile.values.at({kSection, "Ramps From Protocol"}), "1");
    EXPECT_EQ(p.profile.values.at({kSection, "Ramp1 Protocol Ramp"}), "2");
    EXPECT_EQ(p.profile.values.at({kSection, "Ramp2 Protocol Ramp"}), "3");
    EXPECT_EQ(p.profile.values.at({kSection, "Ramp1 Start"}), "1400");

    // Cleared: the sample numbers come back, editable.
    check->click();
    EXPECT_FALSE(p.Field("ramp1StartEdit")->isReadOnly());
    EXPECT_TRUE(p.Field<CSpinButton>("ramp1StartSpin")->isEnabled());
    EXPECT_EQ(p.Field("ramp1StartEdit")->text(), "1400");
    EXPECT_EQ(p.Field("ramp2StartEdit")->text(), QString::number(p.settings.ramp2Start));
    EXPECT_TRUE(reason->text().isEmpty());
    EXPECT_EQ(p.Band(kRamp1Region).start, 1399u);
    ASSERT_TRUE(p.page.UpdateData(true));
    EXPECT_EQ(p.settings.rampsFromProtocol, 0);
}

TEST(ProtocolRampPage, WithTypedRampsTheSubsectionIsSearchedInTheCurrentTracesCommand) {
    // One typed ramp within every trace's rising ramp, which moves from trace to trace.
    MovingRampPage<CPageSlopeConductance, SlopeConductanceSettings> p;
    p.Field("ramp1StartEdit")->SetValue(1750);
    p.Field("ramp1EndEdit")->SetValue(2548);
    const std::pair<QString, QString> typed = {"1750", "2548"};
    for (const uint32_t k : {1u, 2u, 0u}) {
        p.Field("currentTraceEdit")->SetValue(int32_t(k + 1));
        EXPECT_EQ(p.Shown(1), typed);
        EXPECT_EQ(p.Band(kSubsection1Region), OwnSubsection(p.store, k, typed)) << k;
    }
    EXPECT_EQ(OwnSubsection(p.store, 1, typed).start,
              OwnSubsection(p.store, 0, typed).start + kShift);
}

TEST(ProtocolRampPage, AStoredChoiceShowsTheProtocolsRampsAtOnce) {
    MemoryProfileStore stored;
    stored.WriteInt(kSection, "Ramps From Protocol", 1);
    stored.WriteInt(kSection, "Ramp1 Protocol Ramp", 2);
    stored.WriteInt(kSection, "Ramp2 Protocol Ramp", 1);
    stored.WriteInt(kSection, "Ramp1 Start", 1111);
    CapacitancePage p(stored);
    EXPECT_TRUE(p.Field<QCheckBox>("rampsFromProtocolCheck")->isChecked());
    EXPECT_EQ(p.Field<QSpinBox>("ramp1ProtocolRampSpin")->value(), 2);
    EXPECT_EQ(p.Shown(1), p.Ramp(0, 2));
    EXPECT_EQ(p.Shown(2), p.Ramp(0, 1));
    EXPECT_TRUE(p.Field("ramp1EndEdit")->isReadOnly());
    p.page.OnRecordingClosed();
    EXPECT_EQ(p.Shown(1), (std::pair<QString, QString>{}));
    ASSERT_TRUE(p.page.UpdateData(true));
    p.page.SavePageSettings(p.profile);
    EXPECT_EQ(p.profile.values.at({kSection, "Ramp1 Start"}), "1111");
    EXPECT_TRUE(p.messages.messages.empty());
}

TEST(ProtocolRampPage, OnePageRampsHaveOneNumberAndSampleCountingPagesNone) {
    MovingRampPage<CPageIV, CurrentVoltageSettings> iv;
    EXPECT_TRUE(iv.Field<QCheckBox>("rampsFromProtocolCheck")->isVisibleTo(&iv.page));
    EXPECT_TRUE(iv.Field<QSpinBox>("ramp1ProtocolRampSpin")->isVisibleTo(&iv.page));
    EXPECT_FALSE(iv.Field<QSpinBox>("ramp2ProtocolRampSpin")->isVisibleTo(&iv.page));
    iv.Field<QCheckBox>("rampsFromProtocolCheck")->click();
    iv.Field("currentTraceEdit")->SetValue(3);
    EXPECT_EQ(iv.Shown(1), iv.Ramp(2, 1));
    EXPECT_EQ(iv.settings.rampsFromProtocol, 1);

    MovingRampPage<CPageContinuousRecord, ContinuousRecordSettings> samples;
    EXPECT_FALSE(samples.Field<QCheckBox>("rampsFromProtocolCheck")->isVisibleTo(&samples.page));
    EXPECT_FALSE(samples.page.RampsFromProtocol());
}

} // namespace
