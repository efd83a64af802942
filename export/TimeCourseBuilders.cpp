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

long double SumOf(const float* y, const Window& w) {
    long double sum = 0.0L;
    for (uint32_t i = w.first; i < w.first + w.length; ++i)
        sum += y[i];
    return sum;
}

// The voltage terms of the least-squares fit, the same for every trace.
struct Regression {
    Window window;
    const float* x = nullptr;
    float sumX = 0.0f;
    float inverse = 0.0f; // 1 / (n Sxx - Sx Sx), 0 when that is 0
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
    r.inverse = d == 0.0L ? 0.0f : static_cast<float>(1.0L / d);
    return r;
}

float SlopeOf(const Regression& r, const float* y) {
    long double sumY = 0.0L, sumXY = 0.0L;
    for (uint32_t i = r.window.first; i < r.window.first + r.window.length; ++i) {
        sumY += y[i];
        sumXY += static_cast<long double>(r.x[i]) * y[i];
    }
    long double numerator =
        static_cast<long double>(r.window.length) * sumXY - sumY * static_cast<long double>(r.sumX);
    return static_cast<float>(numerator * r.inverse);
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

// The common frame of the slope conductance and current builders; `quantity`
// gives the value of one trace.
template <typename Quantity>
uint32_t BuildTimeCourse(const TraceStore& store, const TimeCourseChoices& choices,
                         int plotTraceNumber, const std::string& header,
                         const std::string& controlHeader, Quantity quantity, ResultTable& table) {
    builders::ResetTable(table, 0, 0);
    Window w = MakeWindow(choices.subsection);
    std::vector<uint32_t> traces = builders::ValidTraces(store, choices.selectedTraces);
    if (traces.empty() || w.length == 0 || w.first + w.length > ReadableSamples(store))
        return 0;
    std::optional<uint32_t> control =
        builders::ControlTrace(store, choices.useControl, choices.controlTraceNumber);

    uint32_t m = static_cast<uint32_t>(traces.size());
    builders::ResetTable(table, control ? 3 : 2, m);
    table.headers = {builders::XHeader(plotTraceNumber), header};
    for (uint32_t i = 0; i < m; ++i) {
        table.columns[0][i] = builders::XValue(store, traces[i], plotTraceNumber);
        table.columns[1][i] = quantity(store.traces[traces[i]].data(), w);
    }
    if (control) {
        table.headers.push_back(controlHeader);
        table.headers.push_back(
            builders::FormatHeader("Normalized for control trace# %d", choices.controlTraceNumber));
        float controlValue = quantity(store.traces[*control].data(), w);
        for (uint32_t i = 0; i < m; ++i)
            table.columns[2][i] = table.columns[1][i] - controlValue;
    }
    return m;
}

} // namespace

uint32_t BuildSlopeConductance(const TraceStore& store, const TimeCourseChoices& choices,
                               int plotTraceNumber, ResultTable& table) {
    Window w = MakeWindow(choices.subsection);
    Regression regression;
    if (w.length != 0 && w.first + w.length <= ReadableSamples(store))
        regression = MakeRegression(store, w);
    return BuildTimeCourse(
        store, choices, plotTraceNumber, "Slope Conductance", "Normalized Slope Conductance",
        [&](const float* y, const Window&) { return SlopeOf(regression, y); }, table);
}

uint32_t BuildCurrentAtTestPotential(const TraceStore& store, const TimeCourseChoices& choices,
                                     int plotTraceNumber, ResultTable& table) {
    Window w = MakeWindow(choices.subsection);
    float inverseLength = w.length == 0 ? 0.0f : 1.0f / static_cast<float>(w.length);
    return BuildTimeCourse(
        store, choices, plotTraceNumber,
        builders::FormatHeader("Cl Current at %d mV", choices.testPotential),
        builders::FormatHeader("Normalized Cl Current at %d mV", choices.testPotential),
        [&](const float* y, const Window& window) {
            return static_cast<float>(SumOf(y, window) * inverseLength);
        },
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

    uint32_t m = static_cast<uint32_t>(traces.size());
    builders::ResetTable(table, 2, m);
    table.headers = {builders::XHeader(plotTraceNumber), "Cell Capacitance"};
    for (uint32_t i = 0; i < m; ++i) {
        const float* y = store.traces[traces[i]].data();
        long double meanA = SumOf(y, a) / a.length;
        long double meanB = SumOf(y, b) / b.length;
        float capacitance = static_cast<float>((meanB - meanA) * inverse);
        table.columns[0][i] = builders::XValue(store, traces[i], plotTraceNumber);
        table.columns[1][i] = std::isfinite(capacitance) ? capacitance : kNoValue;
    }
    return m;
}
