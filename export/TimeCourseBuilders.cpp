// Slope conductance, current at the test potential and capacitance: one value
// per selected trace. The sums follow the precision the results were always
// computed with: float where a running float sum is named, long double (x87
// extended on x86-64) for the regression and mean sums.
#include "export/BuilderSupport.h"
#include "export/ResultBuilders.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

using builders::InGroups;
using builders::ReadableSamples;

constexpr float kNoValue = std::numeric_limits<float>::quiet_NaN();

struct Window {
    uint32_t first = 0;
    uint32_t length = 0;
};

Window MakeWindow(const SampleWindow& w) {
    uint32_t lo = std::min(w.start, w.end);
    return {lo, std::max(w.start, w.end) - lo};
}

// Sum of each trace's samples over the window in extended precision. Every sum
// runs in sample order; several traces are summed side by side only so that
// their independent additions overlap in the processor.
template <size_t G> void SumsOf(const float* const* y, const Window& w, long double* out) {
    long double sum[G] = {};
    for (uint32_t i = w.first; i < w.first + w.length; ++i)
        for (size_t g = 0; g < G; ++g)
            sum[g] += y[g][i];
    std::copy(sum, sum + G, out);
}

std::vector<long double> WindowSums(const TraceStore& store, const std::vector<uint32_t>& traces,
                                    const Window& w) {
    std::vector<long double> sums(traces.size());
    InGroups<4>(
        store, traces, [&](const float* const* y, size_t k) { SumsOf<4>(y, w, &sums[k]); },
        [&](const float* const* y, size_t k) { SumsOf<1>(y, w, &sums[k]); });
    return sums;
}

// The voltage terms of the least-squares fit, the same for every trace.
struct Regression {
    Window window;
    const float* x = nullptr;
    float sumX = 0.0f;
    float inverse = 0.0f; // 1 / (n Sxx - Sx Sx); no value when that is 0
};

Regression MakeRegression(const TraceStore& store, const Window& w) {
    Regression r;
    r.window = w;
    r.x = store.commandWaveform.data();
    long double sumXX = 0.0L;
    for (uint32_t i = w.first; i < w.first + w.length; ++i) {
        r.sumX += r.x[i];
        sumXX += static_cast<long double>(r.x[i]) * r.x[i];
    }
    long double d =
        static_cast<long double>(w.length) * sumXX - static_cast<long double>(r.sumX) * r.sumX;
    // Equal voltages over the whole window (D = 0) define no slope at all.
    r.inverse = d == 0.0L ? kNoValue : static_cast<float>(1.0L / d);
    return r;
}

template <size_t G> void SlopesOf(const Regression& r, const float* const* y, float* out) {
    long double sumY[G] = {}, sumXY[G] = {};
    for (uint32_t i = r.window.first; i < r.window.first + r.window.length; ++i) {
        const long double x = r.x[i];
        for (size_t g = 0; g < G; ++g) {
            sumY[g] += y[g][i];
            sumXY[g] += x * y[g][i];
        }
    }
    for (size_t g = 0; g < G; ++g) {
        long double numerator = static_cast<long double>(r.window.length) * sumXY[g] -
                                sumY[g] * static_cast<long double>(r.sumX);
        out[g] = static_cast<float>(numerator * r.inverse);
    }
}

// mV per microsecond from the window's first sample to the sample at its end;
// NaN when no time passes between them.
float RampSlope(const TraceStore& store, const Window& w) {
    uint32_t last = w.first + w.length;
    float dt = store.timeAxis[last] - store.timeAxis[w.first];
    if (dt == 0.0f)
        return kNoValue;
    return (store.commandWaveform[last] - store.commandWaveform[w.first]) / dt;
}

// The common frame of the slope conductance and current builders; `quantities`
// gives the values of a list of traces over the window.
template <typename Quantities>
uint32_t BuildTimeCourse(const TraceStore& store, const TimeCourseChoices& choices,
                         int plotTraceNumber, const std::string& header,
                         const std::string& controlHeader, Quantities quantities,
                         ResultTable& table) {
    builders::ResetTable(table, 0, 0);
    Window w = MakeWindow(choices.subsection);
    std::vector<uint32_t> traces = builders::ValidTraces(store, choices.selectedTraces);
    if (traces.empty() || w.length == 0 || w.first + w.length > ReadableSamples(store))
        return 0;
    std::optional<uint32_t> control =
        builders::ControlTrace(store, choices.useControl, choices.controlTraceNumber);

    uint32_t m = static_cast<uint32_t>(traces.size());
    if (control)
        traces.push_back(*control); // its value comes last
    std::vector<float> values = quantities(traces, w);
    builders::ResetTable(table, control ? 3 : 2, m);
    table.headers = {builders::XHeader(plotTraceNumber), header};
    for (uint32_t i = 0; i < m; ++i) {
        table.columns[0][i] = builders::XValue(store, traces[i], plotTraceNumber);
        table.columns[1][i] = values[i];
    }
    if (control) {
        table.headers.push_back(controlHeader);
        table.headers.push_back(
            builders::FormatHeader("Normalized for control trace# %d", choices.controlTraceNumber));
        for (uint32_t i = 0; i < m; ++i)
            table.columns[2][i] = values[i] - values[m];
    }
    return m;
}

} // namespace

uint32_t BuildSlopeConductance(const TraceStore& store, const TimeCourseChoices& choices,
                               int plotTraceNumber, ResultTable& table) {
    auto slopes = [&](const std::vector<uint32_t>& traces, const Window& w) {
        Regression regression = MakeRegression(store, w);
        std::vector<float> values(traces.size());
        InGroups<2>(
            store, traces,
            [&](const float* const* y, size_t k) { SlopesOf<2>(regression, y, &values[k]); },
            [&](const float* const* y, size_t k) { SlopesOf<1>(regression, y, &values[k]); });
        return values;
    };
    return BuildTimeCourse(store, choices, plotTraceNumber, "Slope Conductance",
                           "Normalized Slope Conductance", slopes, table);
}

uint32_t BuildCurrentAtTestPotential(const TraceStore& store, const TimeCourseChoices& choices,
                                     int plotTraceNumber, ResultTable& table) {
    auto means = [&](const std::vector<uint32_t>& traces, const Window& w) {
        const float inverseLength = 1.0f / static_cast<float>(w.length);
        std::vector<long double> sums = WindowSums(store, traces, w);
        std::vector<float> values(traces.size());
        for (size_t k = 0; k < traces.size(); ++k)
            values[k] = static_cast<float>(sums[k] * inverseLength);
        return values;
    };
    return BuildTimeCourse(
        store, choices, plotTraceNumber,
        builders::FormatHeader("Cl Current at %d mV", choices.testPotential),
        builders::FormatHeader("Normalized Cl Current at %d mV", choices.testPotential), means,
        table);
}

uint32_t BuildCapacitance(const TraceStore& store, const CapacitanceChoices& choices,
                          int plotTraceNumber, ResultTable& table) {
    builders::ResetTable(table, 0, 0);
    Window a = MakeWindow(choices.subsection1);
    Window b = MakeWindow(choices.subsection2);
    std::vector<uint32_t> traces = builders::ValidTraces(store, choices.selectedTraces);
    uint32_t samples = ReadableSamples(store);
    // The sample at the larger end of each window is read as the slope's end point.
    if (traces.empty() || a.length == 0 || b.length == 0 || a.first + a.length >= samples ||
        b.first + b.length >= samples)
        return 0;

    // Equal slopes (or a time axis without extent) leave the capacitance undefined.
    float difference = RampSlope(store, b) - RampSlope(store, a);
    float inverse = kNoValue;
    if (std::isfinite(difference) && difference != 0.0f && std::isfinite(1.0f / difference))
        inverse = 1.0f / difference;

    std::vector<long double> sumsA = WindowSums(store, traces, a);
    std::vector<long double> sumsB = WindowSums(store, traces, b);
    uint32_t m = static_cast<uint32_t>(traces.size());
    builders::ResetTable(table, 2, m);
    table.headers = {builders::XHeader(plotTraceNumber), "Cell Capacitance"};
    for (uint32_t i = 0; i < m; ++i) {
        long double meanA = sumsA[i] / a.length;
        long double meanB = sumsB[i] / b.length;
        float capacitance = static_cast<float>((meanB - meanA) * inverse);
        table.columns[0][i] = builders::XValue(store, traces[i], plotTraceNumber);
        table.columns[1][i] = std::isfinite(capacitance) ? capacitance : kNoValue;
    }
    return m;
}
