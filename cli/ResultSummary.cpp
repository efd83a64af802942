#include "cli/ResultSummary.h"

#include "export/Units.h"
#include "platform/TextTrim.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// Labels are padded to this many characters so that the values line up.
constexpr size_t kLabelWidth = 26;
// Numbers are right-aligned in this many characters.
constexpr int kNumberWidth = 9;

std::string Trimmed(const std::string& text) {
    return std::string(TrimmedOf(text, " \t"));
}

std::string Number(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%*s", kNumberWidth, FormatValue(value).c_str());
    return text;
}

// "value unit", or "no value" without the unit.
std::string Quantity(double value, const std::string& unit) {
    return std::isfinite(value) ? Number(value) + " " + unit : Number(value);
}

void AddLine(std::string& out, const std::string& label, const std::string& text) {
    out += "  " + label;
    out.append(label.size() < kLabelWidth ? kLabelWidth - label.size() : 1, ' ');
    out += text + '\n';
}

std::string Count(uint32_t n, const char* what) {
    return std::to_string(n) + " " + what + (n == 1 ? "" : "s");
}

// Lowest and highest of the finite values of `column` (NaN when there is none) and their mean.
struct Spread {
    double lowest = NAN, highest = NAN, mean = NAN;
};

Spread SpreadOf(const SharedFloatArray& column, uint32_t rows, double scale) {
    Spread spread;
    double sum = 0;
    uint32_t count = 0;
    for (uint32_t r = 0; r < rows; ++r) {
        const double value = column[r] * scale;
        if (!std::isfinite(value))
            continue;
        spread.lowest = count ? std::min(spread.lowest, value) : value;
        spread.highest = count ? std::max(spread.highest, value) : value;
        sum += value;
        ++count;
    }
    if (count)
        spread.mean = sum / count;
    return spread;
}

std::string RangeText(const Spread& spread, const std::string& unit) {
    if (!std::isfinite(spread.lowest))
        return Number(NAN);
    return Number(spread.lowest) + " to " + FormatValue(spread.highest) + " " + unit;
}

// "trace N", or "at T s" when the time course runs over time.
std::string RowLabel(const ResultTable& table, uint32_t row) {
    const std::string x = FormatValue(table.columns[0][row]);
    return table.headers[0] == "Time" ? "at " + x + " s" : "trace " + x;
}

// Slope conductance, current at the test potential and capacitance: one value per trace.
void SummariseTimeCourse(std::string& out, const AnalysisResult& result, const std::string& title,
                         const std::string& unit, double scale, bool withMean) {
    const ResultTable& table = result.table;
    const uint32_t last = table.rows - 1;
    out += title + " (sheet \"" + result.sheetName + "\"), " + Count(table.rows, "trace") + "\n";
    AddLine(out, RowLabel(table, 0), Quantity(table.columns[1][0] * scale, unit));
    if (last > 0)
        AddLine(out, RowLabel(table, last), Quantity(table.columns[1][last] * scale, unit));
    const Spread spread = SpreadOf(table.columns[1], table.rows, scale);
    if (withMean)
        AddLine(out, "mean", Quantity(spread.mean, unit));
    else if (last > 0)
        AddLine(out, "lowest to highest", RangeText(spread, unit));
    // The control-subtracted column, headed "... control trace# N" in the last header.
    if (table.columns.size() > 2 && table.headers.size() > 3) {
        const std::string& header = table.headers[3];
        const auto hash = header.rfind('#');
        const std::string control =
            hash == std::string::npos ? "" : Trimmed(header.substr(hash + 1));
        AddLine(out, RowLabel(table, last) + " minus control " + control,
                Quantity(table.columns[2][last] * scale, unit));
    }
}

// The voltage where `current` first changes sign along `voltage`, linearly
// interpolated; NaN when it never does.
double ZeroCrossing(const SharedFloatArray& voltage, const SharedFloatArray& current,
                    uint32_t rows) {
    for (uint32_t r = 0; r + 1 < rows; ++r) {
        const double a = current[r], b = current[r + 1];
        if (!std::isfinite(a) || !std::isfinite(b))
            continue;
        if (a == 0)
            return voltage[r];
        if ((a < 0) != (b < 0) && b != 0)
            return voltage[r] + (voltage[r + 1] - voltage[r]) * a / (a - b);
    }
    return NAN;
}

// The current-voltage relation: the last selected trace at both ends of the voltage range.
void SummariseCurrentVoltage(std::string& out, const AnalysisResult& result,
                             const std::string& unit) {
    const ResultTable& table = result.table;
    const uint32_t last = table.rows - 1;
    const SharedFloatArray& voltage = table.columns[0];
    const size_t traceColumn = table.columns.size() - 1;
    std::string title = "Current-voltage relation (sheet \"" + result.sheetName + "\"), " +
                        Count(static_cast<uint32_t>(traceColumn), "trace") + ", " +
                        FormatValue(voltage[0]) + " to " + FormatValue(voltage[last]) + " mV";
    if (last > 0)
        title += " in " + FormatValue(voltage[1] - voltage[0]) + " mV steps";
    out += title + "\n";
    if (traceColumn == 0)
        return;
    const std::string trace = "trace " + Trimmed(table.headers[traceColumn]);
    const SharedFloatArray& current = table.columns[traceColumn];
    AddLine(out, trace + " at " + FormatValue(voltage[0]) + " mV", Quantity(current[0], unit));
    if (last > 0)
        AddLine(out, trace + " at " + FormatValue(voltage[last]) + " mV",
                Quantity(current[last], unit));
    const double zero = ZeroCrossing(voltage, current, table.rows);
    AddLine(out, trace + " zero current at",
            std::isfinite(zero) ? Quantity(zero, "mV") : "no sign change");
}

// The sample points: one current per point and trace, over the recording's time.
void SummariseContinuousRecord(std::string& out, const AnalysisResult& result,
                               const std::string& unit) {
    const ResultTable& table = result.table;
    const uint32_t last = table.rows - 1;
    out += "Current at sample points (sheet \"" + result.sheetName + "\"), " +
           Count(table.rows, "point") + " from " + FormatValue(table.columns[0][0]) + " to " +
           FormatValue(table.columns[0][last]) + " s\n";
    AddLine(out, "first, " + RowLabel(table, 0), Quantity(table.columns[1][0], unit));
    if (last > 0) {
        AddLine(out, "last, " + RowLabel(table, last), Quantity(table.columns[1][last], unit));
        AddLine(out, "lowest to highest",
                RangeText(SpreadOf(table.columns[1], table.rows, 1), unit));
    }
}

// "Cl Current at 0 mV" reads "Current at 0 mV".
std::string CurrentTitle(const ResultTable& table) {
    const std::string header = table.headers.size() > 1 ? table.headers[1] : "";
    return header.starts_with("Cl ") ? header.substr(3) : header;
}

} // namespace

std::string FormatValue(double value) {
    if (!std::isfinite(value))
        return "no value";
    char text[64];
    const double magnitude = std::fabs(value);
    if (magnitude >= 1000 && magnitude < 1e6)
        std::snprintf(text, sizeof text, "%.0f", value);
    else
        std::snprintf(text, sizeof text, "%.4g", value);
    const std::string formatted = text;
    return formatted == "-0" ? "0" : formatted;
}

SummaryUnits UnitsForCurrent(const std::string& currentUnit) {
    SummaryUnits units;
    units.current = Trimmed(currentUnit);
    if (units.current.empty())
        units.current = "units";
    units.conductance = ConductanceUnit({units.current, "mV"});
    // 1 pA x 1 µs / 1 mV = 1 fF = 0.001 pF.
    if (units.current == "pA") {
        units.capacitance = "pF";
        units.capacitanceScale = 1e-3;
    } else if (units.current == "nA") {
        units.capacitance = "pF";
    } else {
        units.capacitance = units.current + "·µs/mV";
    }
    return units;
}

std::string ResultsToText(const std::string& file, const std::vector<AnalysisResult>& results,
                          const SummaryUnits& units) {
    std::string out = file + " (current in " + units.current + ")\n";
    for (const AnalysisResult& result : results) {
        const ResultTable& table = result.table;
        if (table.rows == 0 || table.columns.size() < 2)
            continue;
        switch (result.analysis) {
        case Analysis::SlopeConductance:
            SummariseTimeCourse(out, result, "Slope conductance", units.conductance, 1, false);
            break;
        case Analysis::CurrentAtTestPotential:
            SummariseTimeCourse(out, result, CurrentTitle(table), units.current, 1, false);
            break;
        case Analysis::CurrentVoltage:
            SummariseCurrentVoltage(out, result, units.current);
            break;
        case Analysis::Capacitance:
            SummariseTimeCourse(out, result, "Cell capacitance", units.capacitance,
                                units.capacitanceScale, true);
            break;
        case Analysis::ContinuousRecord:
            SummariseContinuousRecord(out, result, units.current);
            break;
        }
    }
    return out;
}
