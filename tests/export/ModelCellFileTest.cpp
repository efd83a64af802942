// The model cell written as an ABF file and loaded as the program loads it: the
// builders must give back the cell's conductance and capacitance within the
// quantisation of the 16-bit samples (1/16 pA per count).
#include "export/ResultBuilders.h"
#include "platform/Messages.h"
#include "tests/export/ExportFixtures.h"
#include "tests/support/RecordingMessageSink.h"
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

// Slope conductance, current, IV and capacitance tables of `traces`.
std::vector<AnalysisResult> Analyse(const TraceStore& store, const std::vector<int32_t>& traces) {
    ExportChoices choices = fixtures::AllCategories(store);
    choices.slopeConductance.selectedTraces = choices.currentAtTestPotential.selectedTraces =
        choices.currentVoltage.selectedTraces = choices.capacitance.selectedTraces = traces;
    return RunResultBuilders(store, choices);
}

void ExpectTheCells(const std::vector<AnalysisResult>& results, const std::vector<Cell>& cells) {
    const ResultTable& slope = results[0].table;
    const ResultTable& current = results[1].table;
    const ResultTable& iv = results[2].table;
    const ResultTable& capacitance = results[3].table;
    ASSERT_EQ(slope.rows, cells.size());
    ASSERT_EQ(capacitance.rows, cells.size());
    ASSERT_EQ(iv.rows, 151u);
    // Capacitance: each mean errs by at most half a count, over a slope difference
    // of 0.00375 mV/us.
    const double capacitanceTolerance = kCount / 0.00375;
    for (size_t k = 0; k < cells.size(); ++k) {
        SCOPED_TRACE(k);
        EXPECT_NEAR(slope.columns[1][k], cells[k].conductance, 0.01);
        EXPECT_NEAR(current.columns[1][k],
                    cells[k].conductance * -model::kErev +
                        cells[k].capacitance * model::kRamp1Slope,
                    kCount / 2);
        EXPECT_NEAR(capacitance.columns[1][k], cells[k].capacitance, capacitanceTolerance);
        for (uint32_t r = 1; r + 1 < iv.rows; ++r) {
            double v = iv.columns[0][r];
            double expected = cells[k].conductance * (BinMeanVoltage(v) - model::kErev) +
                              cells[k].capacitance * model::kRamp1Slope;
            EXPECT_NEAR(iv.columns[k + 1][r], expected, kCount / 2 + 1e-3) << v << " mV";
        }
    }
}

TEST(ModelCellFile, CurrentOnChannel1OrTheOnlyChannel0AndAnAppendedFile) {
    TempDir dir;
    RecordingMessageSink messages;
    for (bool twoChannels : {true, false}) {
        SCOPED_TRACE(twoChannels ? "two channels" : "one channel");
        const std::string path = dir.file(twoChannels ? "two.abf" : "one.abf");
        model::WriteModelRecording(path, kCells, twoChannels);
        TraceStore store;
        ASSERT_TRUE(TraceStore::LoadInto(store, path));
        ASSERT_EQ(store.traces.size(), 3u);
        ASSERT_EQ(store.SamplesPerTrace(), model::kSamples);
        EXPECT_FLOAT_EQ(store.episodeInterval, 5.0f);
        ExpectTheCells(Analyse(store, {0, 1, 2}), kCells);
    }

    // An appended file continues the trace numbers.
    model::WriteModelRecording(dir.file("more.abf"), kMoreCells, true, 2.0f);
    TraceStore store;
    ASSERT_TRUE(TraceStore::LoadInto(store, dir.file("two.abf")));
    ASSERT_TRUE(TraceStore::AppendFrom(store, dir.file("more.abf")));
    ASSERT_EQ(store.traces.size(), 5u);
    EXPECT_FLOAT_EQ(store.episodeInterval, 2.0f); // the appended file's
    EXPECT_TRUE(messages.messages.empty());
    const auto results = Analyse(store, {3, 4});
    ExpectTheCells(results, kMoreCells);
    EXPECT_EQ(results[0].table.columns[0][0], 4.0f);
    EXPECT_EQ(results[0].table.columns[0][1], 5.0f);
    EXPECT_EQ(results[2].table.headers, (std::vector<std::string>{"Voltage", "4", "5"}));
}

} // namespace
