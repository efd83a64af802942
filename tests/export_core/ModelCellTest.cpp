// The builders against a model cell whose conductance and capacitance are
// known: what comes out must be the cell's own parameters.
#include "tests/support/ModelCell.h"
#include "export/ResultBuilders.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using model::Cell;

const std::vector<Cell> kCells = {{5.0, 20000.0}, {10.0, 20000.0}, {15.0, 30000.0}};

// Mean voltage of the ramp-1 samples whose voltage rounds to v (0.125 mV steps,
// halves away from zero): [v - 0.5, v + 0.5) above 0, (v - 0.5, v + 0.5] below.
double BinMeanVoltage(double v) {
    if (v > 0)
        return v - 0.0625;
    if (v < 0)
        return v + 0.0625;
    return 0.0;
}

class ModelCellInMemory : public ::testing::Test {
protected:
    TraceStore store = model::MakeStore(kCells);
    SampleWindow ramp1Window = model::WindowWithin(store.commandWaveform, model::kRamp1First,
                                                   model::kRamp1Last, -5.0f, 5.0f);
    SampleWindow ramp2Window = model::WindowWithin(store.commandWaveform, model::kRamp2First,
                                                   model::kRamp2Last, -5.0f, 5.0f);
};

TEST_F(ModelCellInMemory, SlopeConductanceIsTheCellsConductance) {
    TimeCourseChoices choices;
    choices.selectedTraces = {0, 1, 2};
    choices.subsection = ramp1Window;
    ResultTable table;
    ASSERT_EQ(BuildSlopeConductance(store, choices, 1, table), 3u);
    for (uint32_t k = 0; k < 3; ++k)
        EXPECT_NEAR(table.columns[1][k], kCells[k].conductance, 1e-4) << "trace " << k;
}

TEST_F(ModelCellInMemory, CurrentAtTestPotentialIncludesTheCapacitiveCurrent) {
    TimeCourseChoices choices;
    choices.selectedTraces = {0, 1, 2};
    choices.subsection = ramp1Window; // -5 .. +5 mV, mean 0 mV
    ResultTable table;
    ASSERT_EQ(BuildCurrentAtTestPotential(store, choices, 1, table), 3u);
    for (uint32_t k = 0; k < 3; ++k) {
        double expected = kCells[k].conductance * (0.0 - model::kErev) +
                          kCells[k].capacitance * model::kRamp1Slope;
        EXPECT_NEAR(table.columns[1][k], expected, 1e-3) << "trace " << k;
    }
}

TEST_F(ModelCellInMemory, CapacitanceIsTheCellsCapacitance) {
    CapacitanceChoices choices;
    choices.selectedTraces = {0, 1, 2};
    choices.subsection1 = ramp1Window;
    choices.subsection2 = ramp2Window;
    ResultTable table;
    ASSERT_EQ(BuildCapacitance(store, choices, 1, table), 3u);
    for (uint32_t k = 0; k < 3; ++k)
        EXPECT_NEAR(table.columns[1][k], kCells[k].capacitance, kCells[k].capacitance * 1e-4)
            << "trace " << k;
}

TEST_F(ModelCellInMemory, CurrentVoltageTableFollowsTheCellPerBin) {
    CurrentVoltageChoices choices;
    choices.selectedTraces = {0, 1, 2};
    choices.ramp = {model::kRamp1Last, model::kRamp1First};
    choices.useControl = false;
    ResultTable table;
    ASSERT_EQ(BuildCurrentVoltage(store, choices, table), 151u); // -100 .. 50 mV
    ASSERT_EQ(table.columns.size(), 4u);
    EXPECT_EQ(table.headers, (std::vector<std::string>{"Voltage", "1", "2", "3"}));
    for (uint32_t r = 1; r + 1 < table.rows; ++r) { // the two end bins are partial
        float v = table.columns[0][r];
        ASSERT_EQ(v, -100.0f + static_cast<float>(r));
        for (uint32_t k = 0; k < 3; ++k) {
            double expected = kCells[k].conductance * (BinMeanVoltage(v) - model::kErev) +
                              kCells[k].capacitance * model::kRamp1Slope;
            EXPECT_NEAR(table.columns[k + 1][r], expected, 2e-3) << v << " mV, trace " << k;
        }
    }
}

TEST_F(ModelCellInMemory, ControlSubtractionLeavesTheDifferenceOfTheCells) {
    CurrentVoltageChoices iv;
    iv.selectedTraces = {1, 2};
    iv.ramp = {model::kRamp1First, model::kRamp1Last};
    iv.useControl = true;
    iv.controlTraceNumber = 1; // not selected: its means are computed all the same
    ResultTable table;
    ASSERT_GT(BuildCurrentVoltage(store, iv, table), 0u);
    for (uint32_t r = 1; r + 1 < table.rows; ++r) {
        double v = BinMeanVoltage(table.columns[0][r]);
        EXPECT_NEAR(table.columns[1][r], 5.0 * (v - model::kErev), 2e-3);
        EXPECT_NEAR(table.columns[2][r], 10.0 * (v - model::kErev) + 10000.0 * model::kRamp1Slope,
                    2e-3);
    }

    TimeCourseChoices slope;
    slope.selectedTraces = {0, 1, 2};
    slope.subsection = ramp1Window;
    slope.useControl = true;
    slope.controlTraceNumber = 2;
    ASSERT_EQ(BuildSlopeConductance(store, slope, 1, table), 3u);
    ASSERT_EQ(table.columns.size(), 3u);
    EXPECT_NEAR(table.columns[2][0], -5.0, 1e-4);
    EXPECT_EQ(table.columns[2][1], 0.0f);
    EXPECT_NEAR(table.columns[2][2], 5.0, 1e-4);
}

} // namespace
