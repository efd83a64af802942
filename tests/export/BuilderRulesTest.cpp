// The rules of the builders on small hand-made stores: control columns, x
// values, windows in either order or outside the trace, and the
// current-voltage and sample-point rules.
#include "export/ResultBuilders.h"
#include "tests/support/ModelCell.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using Strings = std::vector<std::string>;
using Floats = std::vector<float>;
using Columns = std::vector<Floats>;

// Trace k holds trace(k, i); time i * 100 us; command voltage(i).
TraceStore MakeStore(uint32_t traces, Floats command, float (*trace)(uint32_t k, uint32_t i),
                     float interval = 5.0f) {
    return model::MakeMemoryStore(
        traces, static_cast<uint32_t>(command.size()),
        [&](uint32_t i) { return double{command[i]}; }, trace, interval);
}

Floats Ramp(uint32_t n, float start, float step) {
    Floats v(n);
    for (uint32_t i = 0; i < n; ++i)
        v[i] = start + step * static_cast<float>(i);
    return v;
}

// Current k * voltage + k: slope k, mean over a window k * (mean voltage + 1).
float Linear(uint32_t k, uint32_t i) {
    return static_cast<float>(k) * (-10.0f + i) + k;
}

// The columns of `table`, whose builder returned `rows`.
Columns Of(uint32_t rows, const ResultTable& table) {
    EXPECT_EQ(rows, table.rows);
    Columns columns;
    for (const SharedFloatArray& column : table.columns)
        columns.emplace_back(column.data(), column.data() + table.rows);
    return columns;
}

TEST(TimeCourseBuilders, TimesOrTraceNumbersAndControlColumns) {
    TraceStore store = MakeStore(6, Ramp(20, -10.0f, 1.0f), Linear);
    TimeCourseChoices choices{.selectedTraces = {2, 3, 5},
                              .subsection = {4, 12}}; // -6 .. 1 mV, mean -2.5
    ResultTable table;
    EXPECT_EQ(Of(BuildSlopeConductance(store, choices, 1, table), table),
              (Columns{{3, 4, 6}, {2, 3, 5}}));
    EXPECT_EQ(table.headers, (Strings{"Trace Number", "Slope Conductance"}));
    EXPECT_EQ(Of(BuildCurrentAtTestPotential(store, choices, 0, table), table)[0],
              (Floats{10, 15, 25}));
    EXPECT_EQ(table.headers, (Strings{"Time", "Cl Current at 0 mV"}));

    choices.useControl = true;
    choices.controlTraceNumber = 3;
    choices.testPotential = -45;
    EXPECT_EQ(Of(BuildSlopeConductance(store, choices, 1, table), table),
              (Columns{{3, 4, 6}, {2, 3, 5}, {0, 1, 3}}));
    EXPECT_EQ(table.headers,
              (Strings{"Trace Number", "Slope Conductance", "Normalized Slope Conductance",
                       "Normalized for control trace# 3"}));
    EXPECT_EQ(Of(BuildCurrentAtTestPotential(store, choices, 1, table), table),
              (Columns{{3, 4, 6}, {-3, -4.5f, -7.5f}, {0, -1.5f, -4.5f}}));
    EXPECT_EQ(table.headers,
              (Strings{"Trace Number", "Cl Current at -45 mV", "Normalized Cl Current at -45 mV",
                       "Normalized for control trace# 3"}));
    // A control trace the store does not have gives no control columns.
    for (int32_t number : {7, 0, -1}) {
        choices.controlTraceNumber = number;
        EXPECT_EQ(Of(BuildSlopeConductance(store, choices, 1, table), table).size(), 2u);
        EXPECT_EQ(table.headers.size(), 2u);
    }
}

TEST(TimeCourseBuilders, WindowsInEitherOrderOrOutsideTheTrace) {
    TraceStore store = MakeStore(3, Ramp(20, -10.0f, 1.0f), Linear);
    TimeCourseChoices forward{.selectedTraces = {0, 1, 2}, .subsection = {3, 9}},
        backward = forward;
    backward.subsection = {9, 3};
    ResultTable a, b;
    EXPECT_EQ(Of(BuildSlopeConductance(store, forward, 1, a), a),
              Of(BuildSlopeConductance(store, backward, 1, b), b));
    // All voltages equal (D = 0): no regression, no slope at all.
    forward.subsection = {5, 6};
    const Columns flat = Of(BuildSlopeConductance(store, forward, 1, a), a);
    for (float slope : flat[1])
        EXPECT_TRUE(std::isnan(slope));

    ResultTable table;
    forward.subsection = {0, 0}; // the empty sub-section of a missed window
    EXPECT_EQ(BuildSlopeConductance(store, forward, 1, table), 0u);
    EXPECT_TRUE(table.columns.empty() && table.headers.empty());
    forward.subsection = {15, 21}; // beyond the 20 samples (stored from a longer recording)
    EXPECT_EQ(BuildCurrentAtTestPotential(store, forward, 1, table), 0u);
    // Up to the last sample is inside; indices outside the store are skipped.
    forward.subsection = {15, 20};
    forward.selectedTraces = {7, 2, -1, 0};
    EXPECT_EQ(Of(BuildCurrentAtTestPotential(store, forward, 1, table), table)[0], (Floats{3, 1}));
    // The shorter of the time axis and the command waveform bounds the windows.
    store.timeAxis.resize(18);
    EXPECT_EQ(BuildCurrentAtTestPotential(store, forward, 1, table), 0u);
}

TEST(CapacitanceBuilder, SlopesFromTheWindowEndsAndEqualSlopesGiveNoValue) {
    // Window 1 rises 1 mV per sample, window 2 3 mV per sample (100 us each):
    // slopes 0.01 and 0.03 mV/us; mean currents 1 and 4 (x (k+1)).
    Floats v = Ramp(20, -10.0f, 1.0f);
    for (uint32_t i = 10; i < 20; ++i)
        v[i] = 3.0f * static_cast<float>(i);
    TraceStore store =
        MakeStore(2, v, [](uint32_t k, uint32_t i) { return (i < 10 ? 1.0f : 4.0f) * (k + 1); });
    // Reversed ends of window 1: its end point is sample 6 (still ramp 1).
    CapacitanceChoices choices{{1, 0}, {6, 2}, {12, 16}};
    ResultTable table;
    const Columns columns = Of(BuildCapacitance(store, choices, 0, table), table);
    EXPECT_EQ(table.headers, (Strings{"Time", "Cell Capacitance"}));
    EXPECT_EQ(columns.at(0), (Floats{5, 0}));
    EXPECT_NEAR(columns.at(1).at(0), 2 * 3.0 / 0.02, 1e-3);
    EXPECT_NEAR(columns.at(1).at(1), 3.0 / 0.02, 1e-3);
    // The end point of either window must lie inside the trace.
    choices.subsection2 = {12, 20};
    EXPECT_EQ(BuildCapacitance(store, choices, 0, table), 0u);
    EXPECT_EQ(BuildCapacitance(store, {{0, 1}, {20, 2}, {12, 16}}, 0, table), 0u);
    choices.subsection2 = {12, 19};
    EXPECT_EQ(BuildCapacitance(store, choices, 0, table), 2u);
    choices.subsection1 = {3, 3};
    EXPECT_EQ(BuildCapacitance(store, choices, 0, table), 0u);

    // Both windows on the same ramp: equal slopes, no value.
    choices.subsection1 = {2, 6};
    choices.subsection2 = {3, 8};
    const Columns same = Of(BuildCapacitance(store, choices, 1, table), table);
    EXPECT_EQ(same.at(0), (Floats{2, 1}));
    EXPECT_TRUE(std::isnan(same.at(1).at(0)) && std::isnan(same[1].at(1)));
    EXPECT_TRUE(table.warnings.empty()) << "no value is no doubtful value";
}

TEST(CapacitanceBuilder, NearlyEqualSlopesAndNegativeValuesAreWarnedAbout) {
    // Ramp 2 rises 1.04 times as fast as ramp 1 (within 5 %), then 1.06 times.
    for (const auto& [factor, warned] : {std::pair{1.04f, true}, std::pair{1.06f, false}}) {
        Floats v = Ramp(20, -10.0f, 1.0f);
        for (uint32_t i = 10; i < 20; ++i)
            v[i] = factor * static_cast<float>(i);
        TraceStore store = MakeStore(2, v, [](uint32_t k, uint32_t i) {
            return (i < 10 ? 1.0f : 2.0f) * (k == 0 ? 1.0f : -1.0f);
        });
        ResultTable table;
        ASSERT_EQ(BuildCapacitance(store, {{0, 1}, {2, 6}, {12, 16}}, 1, table), 2u);
        Strings expected;
        if (warned)
            expected.push_back("traces 1, 2: the two ramps' slopes differ by less than 5 % of "
                               "the larger; the capacitance is unreliable");
        expected.push_back("trace 2: negative capacitance");
        EXPECT_EQ(table.warnings, expected) << factor;
        EXPECT_GT(table.columns[1][0], 0.0f) << "the value stays";
    }
}

TEST(CurrentVoltageBuilder, BinsAreRunsOfEqualVoltage) {
    // Rounded voltages 0 0 1 1 2 0 5 5 6 10: the later run of 0 replaces the first.
    TraceStore store =
        MakeStore(2, {0.1f, -0.2f, 1.0f, 1.2f, 2.0f, 0.0f, 5.0f, 4.9f, 6.0f, 10.0f},
                  [](uint32_t k, uint32_t i) { return static_cast<float>(i + 10 * k); });
    CurrentVoltageChoices choices{.selectedTraces = {0, 1}, .ramp = {9, 0}};
    ResultTable table;
    EXPECT_EQ(
        Of(BuildCurrentVoltage(store, choices, table), table),
        (Columns{{0, 1, 2, 5, 6, 10}, {5, 2.5f, 4, 6.5f, 8, 9}, {15, 12.5f, 14, 16.5f, 18, 19}}));

    choices.sampleEvery = 2; // only the even voltages
    EXPECT_EQ(Of(BuildCurrentVoltage(store, choices, table), table)[0], (Floats{0, 2, 6, 10}));
    choices.ramp = {0, 10}; // one beyond the last sample
    EXPECT_EQ(BuildCurrentVoltage(store, choices, table), 0u);
    choices = {.selectedTraces = {5}, .ramp = {0, 9}};
    EXPECT_EQ(BuildCurrentVoltage(store, choices, table), 0u);

    // A damaged protocol: voltages without a number, or far beyond any integer,
    // form no bin; rounding halves away from zero to multiples of the step.
    const float nan = std::nanf("");
    store = MakeStore(1, {nan, 1e30f, -1e30f, 1.0f, 1.2f, nan, 1.0f, 3.0f, -3.0f, 5.0f, -5.0f},
                      [](uint32_t, uint32_t i) { return static_cast<float>(i); });
    choices = {.selectedTraces = {0}, .ramp = {0, 6}};
    EXPECT_EQ(Of(BuildCurrentVoltage(store, choices, table), table), (Columns{{1}, {6}}));
    choices = {.selectedTraces = {0}, .ramp = {7, 10}, .roundTo = 2}; // ±1.5 and ±2.5 steps
    EXPECT_EQ(Of(BuildCurrentVoltage(store, choices, table), table)[0], (Floats{-6, -4, 4, 6}));
}

TEST(CurrentVoltageBuilder, ControlSubtraction) {
    TraceStore store = MakeStore(4, Ramp(6, -1.0f, 1.0f), [](uint32_t k, uint32_t i) {
        return static_cast<float>((k + 1) * (i + 1));
    });
    const Floats voltages{-1, 0, 1, 2, 3, 4}, one{1, 2, 3, 4, 5, 6};
    // Selected control trace: its own column becomes 0, the later ones are still
    // reduced by the control's means.
    CurrentVoltageChoices choices{
        .selectedTraces = {0, 1, 2}, .ramp = {0, 5}, .useControl = true, .controlTraceNumber = 2};
    ResultTable table;
    EXPECT_EQ(Of(BuildCurrentVoltage(store, choices, table), table),
              (Columns{voltages, {-1, -2, -3, -4, -5, -6}, {0, 0, 0, 0, 0, 0}, one}));
    EXPECT_EQ(table.headers, (Strings{"Voltage", "1", "2", "3"}));
    // Control trace 4, not selected: computed and subtracted all the same.
    choices.selectedTraces = {0, 1};
    choices.controlTraceNumber = 4;
    EXPECT_EQ(Of(BuildCurrentVoltage(store, choices, table), table),
              (Columns{voltages, {-3, -6, -9, -12, -15, -18}, {-2, -4, -6, -8, -10, -12}}));
    // Beyond the store, or the box clear: nothing is subtracted.
    choices.controlTraceNumber = 5;
    EXPECT_EQ(Of(BuildCurrentVoltage(store, choices, table), table)[1], one);
    choices.controlTraceNumber = 2;
    choices.useControl = false;
    EXPECT_EQ(Of(BuildCurrentVoltage(store, choices, table), table)[1], one);
}

TEST(SamplePointBuilder, PointsAreSortedOnceAndInsideTheTrace) {
    TraceStore store = MakeStore(
        4, Ramp(4, 0.0f, 1.0f), [](uint32_t k, uint32_t i) { return 100.0f * k + i; }, 2.5f);
    ContinuousRecordChoices choices{.selectedTraces = {3, 0, 2}, .samplePoints = {5, 3, 5, 0}};
    ResultTable table;
    const Columns columns = Of(BuildContinuousRecord(store, choices, table), table);
    EXPECT_EQ(table.headers, (Strings{"Time", "Cl Current Time Course"}));
    EXPECT_EQ(columns.at(1), (Floats{302, 2, 202}));
    EXPECT_FLOAT_EQ(columns[0].at(0), 7.5f + 0.0002f);
    EXPECT_FLOAT_EQ(columns[0].at(1), 0.0002f);
    EXPECT_FLOAT_EQ(columns[0].at(2), 5.0f + 0.0002f);

    choices = {.selectedTraces = {1}, .samplePoints = {4, 1, -3, 2147483647, 1}};
    EXPECT_EQ(Of(BuildContinuousRecord(store, choices, table), table)[1], (Floats{100, 103}));
    choices.samplePoints = {0, 5};
    EXPECT_EQ(BuildContinuousRecord(store, choices, table), 0u);
}

} // namespace
