// The model cell written as an ABF file and loaded as the program loads it: the
// builders must give back the cell's conductance and capacitance within the
// quantisation of the 16-bit samples (1/16 pA per count).
#include "export/ResultBuilders.h"
#include "tests/export/ExportFixtures.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace {

using model::Cell;

// Five traces: the current-voltage means run over groups of four and a remainder.
const std::vector<Cell> kCells = {
    {5.0, 20000.0}, {10.0, 20000.0}, {15.0, 30000.0}, {20.0, 20000.0}, {25.0, 25000.0}};
constexpr double kCount = 1.0 / 16.0; // pA per count; rounding errs by at most half

double BinMeanVoltage(double v) {
    return v > 0 ? v - 0.0625 : (v < 0 ? v + 0.0625 : 0.0);
}

TEST(ModelCellFile, TheBuildersGiveBackTheCellsThroughTheFile) {
    TempDir dir;
    model::WriteModelRecording(dir.file("cell.abf"), kCells, true);
    TraceStore store;
    ASSERT_TRUE(TraceStore::LoadInto(store, dir.file("cell.abf")));
    ASSERT_EQ(store.SamplesPerTrace(), model::kSamples);
    const std::vector<AnalysisResult> results =
        RunResultBuilders(store, fixtures::AllCategories(store));
    const ResultTable& slope = results[0].table;
    const ResultTable& current = results[1].table;
    const ResultTable& iv = results[2].table;
    const ResultTable& capacitance = results[3].table;
    ASSERT_EQ(slope.rows, kCells.size());
    ASSERT_EQ(capacitance.rows, kCells.size());
    ASSERT_EQ(iv.rows, 151u);
    // Capacitance: each mean errs by at most half a count, over a slope difference
    // of 0.00375 mV/us.
    const double capacitanceTolerance = kCount / 0.00375;
    for (size_t k = 0; k < kCells.size(); ++k) {
        SCOPED_TRACE(k);
        const Cell& cell = kCells[k];
        EXPECT_NEAR(slope.columns[1][k], cell.conductance, 0.01);
        EXPECT_NEAR(current.columns[1][k],
                    cell.conductance * -model::kErev + cell.capacitance * model::kRamp1Slope,
                    kCount / 2);
        EXPECT_NEAR(capacitance.columns[1][k], cell.capacitance, capacitanceTolerance);
        for (uint32_t r = 1; r + 1 < iv.rows; ++r) {
            double v = iv.columns[0][r];
            double expected = cell.conductance * (BinMeanVoltage(v) - model::kErev) +
                              cell.capacitance * model::kRamp1Slope;
            EXPECT_NEAR(iv.columns[k + 1][r], expected, kCount / 2 + 1e-3) << v << " mV";
        }
    }
}

} // namespace
