// From the profile through the pages' records to the export's choices, as the
// pages and the command line do after a new recording.
#include "analysis/ExportChoicesFromRecords.h"
#include "display/CommandVoltage.h"
#include "export/ResultBuilders.h"
#include "tests/support/ModelCell.h"

#include <gtest/gtest.h>

namespace {

const std::vector<model::Cell> kCells = {{8.0, 25000.0}, {12.0, 15000.0}};

TEST(ExportChoicesFromRecords, ANewRecordingAsThePagesSeeIt) {
    TraceStore store = model::MakeStore(kCells);
    // The model protocol's ramps (1-based sample numbers) on every page that has them.
    MemoryProfileStore profile;
    for (const char* section :
         {"Slope conductance", "Cl Current Time course", "IV", "Capacitance"}) {
        profile.WriteInt(section, "Ramp1 Start", model::kRamp1First + 1);
        profile.WriteInt(section, "Ramp1 End", model::kRamp1Last + 1);
    }
    profile.WriteInt("Capacitance", "Ramp2 Start", model::kRamp2First + 1);
    profile.WriteInt("Capacitance", "Ramp2 End", model::kRamp2Last + 1);
    profile.WriteInt("Cl Current Time course", "Reversal Potential", -20);
    profile.WriteInt("Cl Current Time course", "Use Control", 0);
    profile.WriteInt("IV", "Round To", 5);
    profile.WriteInt("IV", "Sample Frequency", 10);
    AnalysisPageRecords records;
    records.Load(profile);
    records.slopeConductance.selectedTraces = {7, 9}; // from an earlier recording
    records.slopeConductance.controlTraceNumber = 4;
    ApplyNewRecording(records, static_cast<uint32_t>(store.traces.size()),
                      CommandVoltageTenths(store.commandWaveform), {true, false, true, true, true});
    ExportChoices choices = ExportChoicesFromRecords(records, 0);

    EXPECT_EQ(choices.slopeConductance.selectedTraces, (std::vector<int32_t>{0, 1}));
    EXPECT_TRUE(choices.currentAtTestPotential.selectedTraces.empty());
    EXPECT_EQ(choices.slopeConductance.controlTraceNumber, 1);
    EXPECT_TRUE(choices.slopeConductance.useControl);
    EXPECT_FALSE(choices.currentAtTestPotential.useControl);
    EXPECT_EQ(choices.currentAtTestPotential.testPotential, -20);

    // Rising ramp 1 at 0 +- 5 mV: from the first sample at -5 mV to the first above +5;
    // falling ramp 2 from the first sample at +5 mV.
    SampleWindow ramp1 = choices.slopeConductance.subsection;
    EXPECT_EQ(ramp1.start, model::kRamp1First + 760);
    EXPECT_EQ(ramp1.end, model::kRamp1First + 841);
    EXPECT_EQ(choices.capacitance.subsection1.start, ramp1.start);
    EXPECT_EQ(choices.capacitance.subsection2.start, model::kRamp2First + 180);

    EXPECT_EQ(choices.currentVoltage.ramp.start, model::kRamp1First);
    EXPECT_EQ(choices.currentVoltage.ramp.end, model::kRamp1Last);
    EXPECT_EQ(choices.currentVoltage.roundTo, 5u);
    EXPECT_EQ(choices.currentVoltage.sampleEvery, 10u);
    EXPECT_EQ(choices.continuousRecord.samplePoints.size(), 14u);
}

TEST(ExportChoicesFromRecords, CurrentVoltageRampWithoutASampleExportsNothing) {
    TraceStore store = model::MakeStore(kCells);
    AnalysisPageRecords records;
    ApplyNewRecording(records, 2, CommandVoltageTenths(store.commandWaveform),
                      {true, true, true, true, true});
    for (int32_t bad : {0, kNoIntegerValue}) {
        records.currentVoltage.ramp1Start = bad;
        records.currentVoltage.ramp1End = 2000;
        ExportChoices choices = ExportChoicesFromRecords(records, 1);
        ResultTable table;
        EXPECT_EQ(BuildCurrentVoltage(store, choices.currentVoltage, table), 0u) << bad;
    }
    records.currentVoltage.ramp1Start = 1;
    ExportChoices choices = ExportChoicesFromRecords(records, 1);
    EXPECT_EQ(choices.currentVoltage.ramp.start, 0u);
    EXPECT_EQ(choices.currentVoltage.ramp.end, 1999u);
}

} // namespace
