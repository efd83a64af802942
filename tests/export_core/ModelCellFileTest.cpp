// The model cell written as an ABF file and loaded as the program loads it: the
// builders must give back the cell's conductance and capacitance within the
// quantisation of the 16-bit samples (1/16 pA per count).
#include "export/ResultBuilders.h"
#include "platform/Messages.h"
#include "tests/support/ModelCell.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace {

using model::Cell;

const std::vector<Cell> kCells = {{5.0, 20000.0}, {10.0, 20000.0}, {15.0, 30000.0}};
const std::vector<Cell> kMoreCells = {{2.0, 40000.0}, {20.0, 10000.0}};
constexpr double kCount = 1.0 / 16.0; // pA per count; rounding errs by at most half

double BinMeanVoltage(double v) {
    return v > 0 ? v - 0.0625 : (v < 0 ? v + 0.0625 : 0.0);
}

struct Analysis {
    ResultTable slope, current, iv, capacitance;
};

Analysis Analyse(const TraceStore& store, std::vector<int32_t> traces) {
    SampleWindow ramp1 = model::WindowWithin(store.commandWaveform, model::kRamp1First,
                                             model::kRamp1Last, -5.0f, 5.0f);
    SampleWindow ramp2 = model::WindowWithin(store.commandWaveform, model::kRamp2First,
                                             model::kRamp2Last, -5.0f, 5.0f);
    Analysis a;
    TimeCourseChoices timeCourse;
    timeCourse.selectedTraces = traces;
    timeCourse.subsection = ramp1;
    BuildSlopeConductance(store, timeCourse, 1, a.slope);
    BuildCurrentAtTestPotential(store, timeCourse, 1, a.current);
    CurrentVoltageChoices iv;
    iv.selectedTraces = traces;
    iv.ramp = {model::kRamp1First, model::kRamp1Last};
    BuildCurrentVoltage(store, iv, a.iv);
    CapacitanceChoices capacitance;
    capacitance.selectedTraces = traces;
    capacitance.subsection1 = ramp1;
    capacitance.subsection2 = ramp2;
    BuildCapacitance(store, capacitance, 1, a.capacitance);
    return a;
}

void ExpectTheCells(const Analysis& a, const std::vector<Cell>& cells) {
    ASSERT_EQ(a.slope.rows, cells.size());
    ASSERT_EQ(a.capacitance.rows, cells.size());
    ASSERT_EQ(a.iv.rows, 151u);
    // Capacitance: each mean errs by at most half a count, over a slope difference
    // of 0.00375 mV/us.
    const double capacitanceTolerance = kCount / 0.00375;
    for (size_t k = 0; k < cells.size(); ++k) {
        SCOPED_TRACE(k);
        EXPECT_NEAR(a.slope.columns[1][k], cells[k].conductance, 0.01);
        EXPECT_NEAR(a.current.columns[1][k],
                    cells[k].conductance * -model::kErev +
                        cells[k].capacitance * model::kRamp1Slope,
                    kCount / 2);
        EXPECT_NEAR(a.capacitance.columns[1][k], cells[k].capacitance, capacitanceTolerance);
        for (uint32_t r = 1; r + 1 < a.iv.rows; ++r) {
            double v = a.iv.columns[0][r];
            double expected = cells[k].conductance * (BinMeanVoltage(v) - model::kErev) +
                              cells[k].capacitance * model::kRamp1Slope;
            EXPECT_NEAR(a.iv.columns[k + 1][r], expected, kCount / 2 + 1e-3) << v << " mV";
        }
    }
}

TEST(ModelCellFile, TwoChannelFileIsReadOnChannel1) {
    TempDir dir;
    model::WriteModelRecording(dir.file("cell.abf"), kCells, true);
    TraceStore store;
    RecordingMessageSink messages;
    ASSERT_TRUE(TraceStore::LoadInto(store, dir.file("cell.abf")));
    EXPECT_TRUE(messages.messages.empty());
    ASSERT_EQ(store.traces.size(), 3u);
    ASSERT_EQ(store.samplesPerTrace(), model::kSamples);
    EXPECT_FLOAT_EQ(store.episodeInterval, 5.0f);
    ExpectTheCells(Analyse(store, {0, 1, 2}), kCells);
}

TEST(ModelCellFile, OneChannelFileFallsBackToChannel0) {
    TempDir dir;
    model::WriteModelRecording(dir.file("cell.abf"), kCells, false);
    TraceStore store;
    RecordingMessageSink messages;
    ASSERT_TRUE(TraceStore::LoadInto(store, dir.file("cell.abf")));
    ExpectTheCells(Analyse(store, {0, 1, 2}), kCells);
}

TEST(ModelCellFile, AppendedFileContinuesTheTraceNumbers) {
    TempDir dir;
    model::WriteModelRecording(dir.file("first.abf"), kCells, true, 5.0f);
    model::WriteModelRecording(dir.file("second.abf"), kMoreCells, true, 2.0f);
    TraceStore store;
    RecordingMessageSink messages;
    ASSERT_TRUE(TraceStore::LoadInto(store, dir.file("first.abf")));
    ASSERT_TRUE(TraceStore::AppendFrom(store, dir.file("second.abf")));
    ASSERT_EQ(store.traces.size(), 5u);
    EXPECT_FLOAT_EQ(store.episodeInterval, 2.0f); // the appended file's

    Analysis a = Analyse(store, {3, 4});
    ExpectTheCells(a, kMoreCells);
    EXPECT_EQ(a.slope.columns[0][0], 4.0f);
    EXPECT_EQ(a.slope.columns[0][1], 5.0f);
    EXPECT_EQ(a.iv.headers, (std::vector<std::string>{"Voltage", "4", "5"}));

    // The control trace may come from the first file.
    TimeCourseChoices slope;
    slope.selectedTraces = {4, 0};
    slope.subsection = model::WindowWithin(store.commandWaveform, model::kRamp1First,
                                           model::kRamp1Last, -5.0f, 5.0f);
    slope.useControl = true;
    slope.controlTraceNumber = 1;
    ResultTable table;
    ASSERT_EQ(BuildSlopeConductance(store, slope, 0, table), 2u);
    EXPECT_NEAR(table.columns[2][0], 15.0, 0.02);
    EXPECT_EQ(table.columns[2][1], 0.0f);
    EXPECT_FLOAT_EQ(table.columns[0][0], 8.0f); // trace index 4 x 2 s
}

} // namespace
