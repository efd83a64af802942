// Each trace analysed on its own protocol: ramps that move from episode to
// episode are followed when they come from the protocol, the current channel
// is found by its unit, and a recording whose episodes share one command gives
// exactly the numbers it always gave.
#include "analysis/ProtocolRamps.h"
#include "analysis/ExportChoicesFromRecords.h"
#include "display/CommandVoltage.h"
#include "export/ResultBuilders.h"
#include "platform/Messages.h"
#include "tests/support/ModelCell.h"
#include "tests/support/RecordingMessageSink.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

using model::Cell;

const std::vector<Cell> kCells = {{5.0, 20000.0}, {10.0, 25000.0}, {15.0, 30000.0}};
constexpr uint32_t kShift = 200;      // samples the ramps move per episode
constexpr double kCount = 1.0 / 16.0; // pA per count

std::vector<AnalysisPageSettings*> RampPages(AnalysisPageRecords& records) {
    return {&records.slopeConductance, &records.currentAtTestPotential, &records.currentVoltage,
            &records.capacitance};
}

// Records whose ramps are the protocol's: its ramp epochs are the falling
// ramp (1) and the rising ramp (2).
AnalysisPageRecords FromProtocol(uint32_t traces, const TraceStore& store) {
    AnalysisPageRecords records;
    for (AnalysisPageSettings* record : RampPages(records)) {
        record->rampsFromProtocol = 1;
        record->ramp1ProtocolRamp = 2;
        record->ramp2ProtocolRamp = 1;
    }
    records.slopeConductance.testPotential = records.capacitance.testPotential = 0;
    records.currentAtTestPotential.testPotential = -20;
    ApplyNewRecording(records, traces, CommandVoltageTenths(store.commandWaveform),
                      {true, true, true, true, true});
    return records;
}

TEST(ProtocolRamps, MovingRampsGiveEachTraceItsOwnConductanceAndCapacitance) {
    TempDir dir;
    RecordingMessageSink messages;
    model::WriteMovingRampRecording(dir.file("moving.abf"), kCells, kShift);
    TraceStore store;
    ASSERT_TRUE(TraceStore::LoadInto(store, dir.file("moving.abf")));
    EXPECT_EQ(store.channel.index, 0) << "the current channel, by its unit";
    EXPECT_EQ(store.channel.name, "Im");
    ASSERT_EQ(store.commands.size(), 3u);
    for (uint32_t k = 0; k < 3; ++k) {
        ASSERT_EQ(store.commands[k]->ramps.size(), 2u);
        EXPECT_EQ(store.commands[k]->ramps[1].first, model::kRamp1First + 1 + k * kShift);
        EXPECT_EQ(store.commands[k]->ramps[1].last, model::kRamp1Last + k * kShift);
    }

    const ExportChoices choices = ExportChoicesFromRecords(FromProtocol(3, store), 1, store);
    const std::vector<AnalysisResult> results = RunResultBuilders(store, choices);
    const ResultTable& slope = results[0].table;
    const ResultTable& current = results[1].table;
    const ResultTable& iv = results[2].table;
    const ResultTable& capacitance = results[3].table;
    ASSERT_EQ(slope.rows, 3u);
    ASSERT_EQ(capacitance.rows, 3u);
    ASSERT_EQ(current.rows, 3u);
    for (uint32_t k = 0; k < 3; ++k) {
        SCOPED_TRACE(k);
        EXPECT_NEAR(slope.columns[1][k], kCells[k].conductance, 0.01);
        EXPECT_NEAR(capacitance.columns[1][k], kCells[k].capacitance, kCount / 0.00375);
        EXPECT_NEAR(current.columns[1][k], kCells[k].capacitance * model::kRamp1Slope, kCount);
    }
    // The rising ramp of every trace runs from -100 to +50 mV.
    ASSERT_GT(iv.rows, 100u);
    EXPECT_EQ(iv.columns[0][0], -100.0f);
    EXPECT_EQ(iv.columns[0][iv.rows - 1], 50.0f);
    EXPECT_EQ(slope.units, (std::vector<std::string>{"", "nS", "nS"})); // with the control
    EXPECT_EQ(capacitance.units, (std::vector<std::string>{"", "fF"}));
    EXPECT_EQ(iv.units, (std::vector<std::string>{"mV", "pA", "pA", "pA"}));
    for (const AnalysisResult& result : results)
        EXPECT_TRUE(result.table.warnings.empty()) << result.sheetName;

    // Episode 1's command for every trace, as it used to be: the later
    // traces' windows lie elsewhere on their ramps, so the current there is
    // not the current at the test potential.
    TraceStore oneCommand = store;
    oneCommand.commands.clear();
    AnalysisPageRecords fixed = FromProtocol(3, store);
    fixed.currentAtTestPotential.rampsFromProtocol = 0;
    fixed.currentAtTestPotential.ramp1Start = model::kRamp1First + 1;
    fixed.currentAtTestPotential.ramp1End = model::kRamp1Last + 1;
    ApplyNewRecording(fixed, 3, CommandVoltageTenths(store.commandWaveform),
                      {true, true, true, true, true});
    ResultTable old;
    BuildCurrentAtTestPotential(oneCommand,
                                ExportChoicesFromRecords(fixed, 1).currentAtTestPotential, 1, old);
    ASSERT_EQ(old.rows, 3u);
    EXPECT_NEAR(old.columns[1][0], current.columns[1][0], 1e-3);
    EXPECT_GT(std::fabs(old.columns[1][2] - current.columns[1][2]), 100.0f);
    // With each trace's own command the settings' ramp is searched in it:
    // trace 2's still holds -20 mV, trace 3's does not and is left out, said so.
    ResultTable own;
    BuildCurrentAtTestPotential(
        store, ExportChoicesFromRecords(fixed, 1, store).currentAtTestPotential, 1, own);
    ASSERT_EQ(own.rows, 2u);
    EXPECT_NEAR(own.columns[1][1], current.columns[1][1], 1e-3);
    EXPECT_EQ(own.warnings, (std::vector<std::string>{
                                "trace 3 left out: no sample of the ramp lies within the test "
                                "potential \xC2\xB1 range"}));
    EXPECT_TRUE(messages.messages.empty());
}

TEST(ProtocolRamps, ATraceWithoutTheRampIsLeftOutWithItsReason) {
    TraceStore store = model::MakeStore(kCells);
    auto shared = std::make_shared<EpisodeCommand>();
    shared->waveform = store.commandWaveform;
    shared->ramps = {{model::kRamp2First + 1, model::kRamp2Last}};
    auto both = std::make_shared<EpisodeCommand>(*shared);
    both->ramps.push_back({model::kRamp1First + 1, model::kRamp1Last});
    store.commands = {both, shared, both};

    AnalysisPageRecords records = FromProtocol(3, store);
    const std::vector<AnalysisResult> results =
        RunResultBuilders(store, ExportChoicesFromRecords(records, 1, store));
    EXPECT_EQ(results[0].table.rows, 2u);
    EXPECT_EQ(results[0].table.columns[0][1], 3.0f);
    EXPECT_EQ(results[0].table.warnings,
              (std::vector<std::string>{"trace 2: its protocol has 1 ramp; ramp 2 is needed"}));
    EXPECT_EQ(results[3].table.rows, 2u);

    records.slopeConductance.ramp1ProtocolRamp = 3;
    ResultTable table;
    EXPECT_EQ(BuildSlopeConductance(
                  store, ExportChoicesFromRecords(records, 1, store).slopeConductance, 1, table),
              0u);
    EXPECT_EQ(table.emptyReason, "trace 1: its protocol has 2 ramps; ramp 3 is needed");
    EXPECT_TRUE(table.warnings.empty()) << "the one reason stands for every trace";

    std::string why;
    store.commands.clear();
    EXPECT_FALSE(ProtocolRamp(store, 0, 1, why));
    EXPECT_EQ(why, "trace 1: its protocol has 0 ramps; ramp 1 is needed");
}

// A recording whose episodes share one command gives exactly the numbers of
// the one command of old, bit for bit.
TEST(ProtocolRamps, ASharedCommandGivesTheSameNumbersBitForBit) {
    TempDir dir;
    RecordingMessageSink messages;
    model::WriteModelRecording(dir.file("fixed.abf"), kCells);
    TraceStore store;
    ASSERT_TRUE(TraceStore::LoadInto(store, dir.file("fixed.abf")));
    EXPECT_EQ(store.channel.index, 1);
    ASSERT_EQ(store.commands.size(), 3u);
    EXPECT_EQ(store.commands[0], store.commands[2]) << "shared, not copied";

    AnalysisPageRecords records;
    for (AnalysisPageSettings* record : RampPages(records)) {
        record->ramp1Start = model::kRamp1First + 1;
        record->ramp1End = model::kRamp1Last + 1;
        record->useControl = 1;
    }
    records.capacitance.ramp2Start = model::kRamp2First + 1;
    records.capacitance.ramp2End = model::kRamp2Last + 1;
    ApplyNewRecording(records, 3, CommandVoltageTenths(store.commandWaveform),
                      {true, true, true, true, true});
    records.slopeConductance.controlTraceNumber = 2;
    records.continuousRecord.samplePoints = {10, 1500, 3000};

    TraceStore oneCommand = store;
    oneCommand.commands.clear();
    const auto perTrace = RunResultBuilders(store, ExportChoicesFromRecords(records, 0, store));
    const auto common = RunResultBuilders(oneCommand, ExportChoicesFromRecords(records, 0));
    ASSERT_EQ(perTrace.size(), common.size());
    for (size_t c = 0; c < common.size(); ++c) {
        SCOPED_TRACE(common[c].sheetName);
        const ResultTable& a = perTrace[c].table;
        const ResultTable& b = common[c].table;
        ASSERT_EQ(a.rows, b.rows);
        EXPECT_GT(a.rows, 0u);
        ASSERT_EQ(a.columns.size(), b.columns.size());
        for (size_t col = 0; col < a.columns.size(); ++col)
            EXPECT_EQ(
                std::memcmp(a.columns[col].data(), b.columns[col].data(), a.rows * sizeof(float)),
                0)
                << "column " << col;
    }
}

} // namespace
