// The text summary of tessaran-cli analyse: units by the channel's unit, the
// numbers' form, and the lines of each analysis on hand-made result tables.
#include "cli/ResultSummary.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace {

SharedFloatArray Column(std::vector<float> values) {
    SharedFloatArray column = SharedFloatArray::Allocate(values.size());
    for (size_t i = 0; i < values.size(); ++i)
        column[i] = values[i];
    return column;
}

AnalysisResult Result(Analysis category, std::string sheet, std::vector<std::string> headers,
                      std::vector<std::vector<float>> columns) {
    AnalysisResult result{category, std::move(sheet), "", {}};
    result.table.headers = std::move(headers);
    result.table.rows = static_cast<uint32_t>(columns.at(0).size());
    for (auto& values : columns)
        result.table.columns.push_back(Column(std::move(values)));
    return result;
}

TEST(ResultSummary, UnitsFollowTheChannelsUnit) {
    // pA (1 pA µs/mV = 0.001 pF) is the analyse tests' model cell; the conductance
    // units are export/Units' own.
    const std::tuple<const char*, const char*, const char*, const char*, double> cases[] = {
        {" nA  ", "nA", "µS", "pF", 1.0},
        {"mV", "mV", "mV/mV", "mV·µs/mV", 1.0},
        {"", "units", "units/mV", "units·µs/mV", 1.0},
    };
    for (const auto& [channel, current, conductance, capacitance, scale] : cases) {
        const SummaryUnits units = UnitsForCurrent(channel);
        EXPECT_EQ(units.current, current) << channel;
        EXPECT_EQ(units.conductance, conductance) << channel;
        EXPECT_EQ(units.capacitance, capacitance) << channel;
        EXPECT_DOUBLE_EQ(units.capacitanceScale, scale) << channel;
    }
}

TEST(ResultSummary, NumbersWithFourSignificantDigitsAndNoExponentBelowAMillion) {
    const std::pair<double, const char*> cases[] = {
        {2.5108805, "2.511"}, {-29951.438, "-29951"},  {-0.0, "0"},
        {2.5e6, "2.5e+06"},   {-INFINITY, "no value"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(FormatValue(value), text) << value;
}

TEST(ResultSummary, TimeCourseLinesWithControlAndUnits) {
    const std::vector<AnalysisResult> results = {
        Result(Analysis::SlopeConductance, "Slope Conductance",
               {"Trace Number", "Slope Conductance", "Normalized Slope Conductance",
                "Normalized for control trace# 2"},
               {{1, 2, 3}, {5, NAN, 4}, {1, 0, 0.5f}}),
        // A trace without a capacitance (equal ramp slopes) stays out of the mean.
        Result(Analysis::Capacitance, "Capacitance", {"Time", "Cell Capacitance"},
               {{0, 5, 10}, {20000, NAN, 30000}}),
        Result(Analysis::CurrentAtTestPotential, "ICl Time Course",
               {"Trace Number", "Cl Current at -20 mV"}, {{4}, {-12.5f}}),
        // A category without rows is left out.
        Result(Analysis::ContinuousRecord, "Traces", {"Time", "Current"}, {{}, {}}),
    };
    const std::string text = ResultsToText("cell.abf", results, UnitsForCurrent("pA"));
    EXPECT_EQ(text, "cell.abf (current in pA)\n"
                    "Slope conductance (sheet \"Slope Conductance\"), 3 traces\n"
                    "  trace 1                           5 nS\n"
                    "  trace 3                           4 nS\n"
                    "  lowest to highest                 4 to 5 nS\n"
                    "  trace 3 minus control 2         0.5 nS\n"
                    "Cell capacitance (sheet \"Capacitance\"), 3 traces\n"
                    "  at 0 s                           20 pF\n"
                    "  at 10 s                          30 pF\n"
                    "  mean                             25 pF\n"
                    "Current at -20 mV (sheet \"ICl Time Course\"), 1 trace\n"
                    "  trace 4                       -12.5 pA\n");
}

TEST(ResultSummary, CurrentVoltageEndsAndWhereTheCurrentChangesSign) {
    // Trace 3, the last column, crosses zero between -30 and -20 mV (-25 mV);
    // trace 2 never does, and a missing bin is passed over.
    const std::vector<AnalysisResult> results = {
        Result(Analysis::CurrentVoltage, "IV", {"Voltage", "2", "3"},
               {{-40, -30, -20, -10}, {1, 2, 3, 4}, {-20, -10, 10, NAN}}),
        Result(Analysis::ContinuousRecord, "Traces", {"Time", "Cl Current Time Course"},
               {{0.001f, 0.002f, 5.001f}, {-3, 7, 1}}),
    };
    const std::string text = ResultsToText("cell.abf", results, UnitsForCurrent("pA"));
    EXPECT_EQ(text, "cell.abf (current in pA)\n"
                    "Current-voltage relation (sheet \"IV\"), 2 traces, -40 to -10 mV in 10 mV "
                    "steps\n"
                    "  trace 3 at -40 mV               -20 pA\n"
                    "  trace 3 at -10 mV          no value\n"
                    "  trace 3 zero current at         -25 mV\n"
                    "Current at sample points (sheet \"Traces\"), 3 points from 0.001 to 5.001 s\n"
                    "  first, at 0.001 s                -3 pA\n"
                    "  last, at 5.001 s                  1 pA\n"
                    "  lowest to highest                -3 to 7 pA\n");

    std::vector<AnalysisResult> flat = {
        Result(Analysis::CurrentVoltage, "IV", {"Voltage", "1"}, {{-10, 0}, {-1, -2}})};
    EXPECT_NE(
        ResultsToText("f", flat, UnitsForCurrent("pA")).find("zero current at   no sign change"),
        std::string::npos);
}

} // namespace
