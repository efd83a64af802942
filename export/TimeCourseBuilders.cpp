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
    friend bool operator==(const Window&, const Window&) = default;
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

// The voltage terms of the least-squares fit, the same for every trace of one command.
struct Regression {
    Window window;
    const float* x = nullptr;
    float sumX = 0.0f;
    float inverse = 0.0f; // 1 / (n Sxx - Sx Sx); no value when that is 0
};

Regression MakeRegression(const std::vector<float>& command, const Window& w) {
    Regression r;
    r.window = w;
    r.x = command.data();
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
float RampSlope(const TraceStore& store, const std::vector<float>& command, const Window& w) {
    uint32_t last = w.first + w.length;
    float dt = store.timeAxis[last] - store.timeAxis[w.first];
    if (dt == 0.0f)
        return kNoValue;
    return (command[last] - command[w.first]) / dt;
}

// One trace with its command and window.
struct TraceKey {
    const std::vector<float>* command;
    Window window;
    friend bool operator==(const TraceKey&, const TraceKey&) = default;
};

// The values of `traces` (each over its own window), computed group by group:
// traces that share a command and a window are handed to `quantities`
// together, which gives them the same voltage terms as ever.
template <typename Quantities>
std::vector<float> GroupedValues(const TraceStore& store, const std::vector<uint32_t>& traces,
                                 const std::vector<Window>& windows, Quantities quantities) {
    std::vector<TraceKey> keys;
    keys.reserve(traces.size());
    for (size_t i = 0; i < traces.size(); ++i)
        keys.push_back({&store.CommandOf(traces[i]), windows[i]});
    std::vector<float> values(traces.size(), kNoValue);
    for (const std::vector<size_t>& group : builders::GroupsOf(keys)) {
        std::vector<uint32_t> members;
        members.reserve(group.size());
        for (size_t at : group)
            members.push_back(traces[at]);
        const TraceKey& key = keys[group.front()];
        std::vector<float> groupValues = quantities(members, key.window, *key.command);
        for (size_t n = 0; n < group.size(); ++n)
            values[group[n]] = groupValues[n];
    }
    return values;
}

// The window of trace `k` when it has one inside the first `samples` samples
// (the larger end counted in with `endInside`); otherwise why not, in `why`.
std::optional<Window> UsableWindow(const TraceWindows& windows, const SampleWindow& common,
                                   uint32_t k, uint32_t samples, bool endInside, std::string& why) {
    std::optional<SampleWindow> given = windows.For(k, common);
    if (!given)
        return std::nullopt; // the choices say why
    Window w = MakeWindow(*given);
    if (w.length == 0) {
        why = "no sample of the ramp lies within the test potential \xC2\xB1 range";
        return std::nullopt;
    }
    if (uint64_t(w.first) + w.length + (endInside ? 1 : 0) > samples) {
        why = "the window ends beyond the trace's " + std::to_string(samples) + " samples";
        return std::nullopt;
    }
    return w;
}

// The selected traces that have a usable window, with their windows; the
// others are named in the table's warnings, and when none is left the table
// says why it is empty.
bool TracesWithWindows(const TraceStore& store, const std::vector<int32_t>& selected,
                       const TraceWindows& windows, const SampleWindow& common,
                       std::vector<uint32_t>& traces, std::vector<Window>& traceWindows,
                       ResultTable& table) {
    const std::vector<uint32_t> valid = builders::ValidTracesWithCommand(store, selected, table);
    if (valid.empty())
        return false;
    builders::AddSkippedTraces(windows, selected, table.warnings);
    std::string why, lastWhy;
    std::vector<uint32_t> left;
    for (uint32_t k : valid) {
        why.clear();
        if (std::optional<Window> w =
                UsableWindow(windows, common, k, ReadableSamples(store), false, why)) {
            traces.push_back(k);
            traceWindows.push_back(*w);
        } else if (!why.empty()) {
            left.push_back(k);
            lastWhy = why;
        }
    }
    if (traces.empty()) {
        builders::NoTraceLeft(table, !lastWhy.empty()          ? lastWhy
                                     : !table.warnings.empty() ? table.warnings.front()
                                                               : "no selected trace has a window");
        return false;
    }
    if (!left.empty())
        table.warnings.push_back(builders::TraceList(left) + " left out: " + lastWhy);
    return true;
}

// The common frame of the slope conductance and current builders; `quantities`
// gives the values of a list of traces over one window of one command.
template <typename Quantities>
uint32_t BuildTimeCourse(const TraceStore& store, const TimeCourseChoices& choices,
                         int plotTraceNumber, const std::string& header,
                         const std::string& controlHeader, const std::string& unit,
                         Quantities quantities, ResultTable& table) {
    builders::ClearTable(table);
    std::vector<uint32_t> traces;
    std::vector<Window> windows;
    if (!TracesWithWindows(store, choices.selectedTraces, choices.traceSubsections,
                           choices.subsection, traces, windows, table))
        return 0;
    std::optional<uint32_t> control =
        builders::ControlTrace(store, choices.useControl, choices.controlTraceNumber);
    std::optional<Window> controlWindow;
    if (control) {
        std::string why;
        controlWindow = UsableWindow(choices.traceSubsections, choices.subsection, *control,
                                     ReadableSamples(store), false, why);
        if (!controlWindow)
            table.warnings.push_back("control " + builders::TraceList({*control}) +
                                     " has no window: no normalized values");
    }

    uint32_t m = static_cast<uint32_t>(traces.size());
    if (control && controlWindow) {
        traces.push_back(*control); // its value comes last
        windows.push_back(*controlWindow);
    }
    std::vector<float> values = GroupedValues(store, traces, windows, quantities);
    builders::ResetTable(table, control ? 3 : 2, m);
    table.headers = {builders::XHeader(plotTraceNumber), header};
    table.units = {builders::XUnit(plotTraceNumber), unit};
    for (uint32_t i = 0; i < m; ++i) {
        table.columns[0][i] = builders::XValue(store, traces[i], plotTraceNumber);
        table.columns[1][i] = values[i];
    }
    if (control) {
        table.headers.push_back(controlHeader);
        table.headers.push_back(
            builders::FormatHeader("Normalized for control trace# %d", choices.controlTraceNumber));
        table.units.push_back(unit);
        const float controlValue = controlWindow ? values[m] : kNoValue;
        for (uint32_t i = 0; i < m; ++i)
            table.columns[2][i] = values[i] - controlValue;
    }
    return m;
}

} // namespace

uint32_t BuildSlopeConductance(const TraceStore& store, const TimeCourseChoices& choices,
                               int plotTraceNumber, ResultTable& table) {
    auto slopes = [&](const std::vector<uint32_t>& traces, const Window& w,
                      const std::vector<float>& command) {
        Regression regression = MakeRegression(command, w);
        std::vector<float> values(traces.size());
        InGroups<2>(
            store, traces,
            [&](const float* const* y, size_t k) { SlopesOf<2>(regression, y, &values[k]); },
            [&](const float* const* y, size_t k) { SlopesOf<1>(regression, y, &values[k]); });
        return values;
    };
    return BuildTimeCourse(store, choices, plotTraceNumber, "Slope Conductance",
                           "Normalized Slope Conductance", builders::ConductanceUnitOf(store),
                           slopes, table);
}

uint32_t BuildCurrentAtTestPotential(const TraceStore& store, const TimeCourseChoices& choices,
                                     int plotTraceNumber, ResultTable& table) {
    auto means = [&](const std::vector<uint32_t>& traces, const Window& w,
                     const std::vector<float>&) {
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
        builders::FormatHeader("Normalized Cl Current at %d mV", choices.testPotential),
        store.channel.unit, means, table);
}

namespace {

// Capacitance of one group of traces sharing a command and both windows.
struct CapacitanceGroup {
    const std::vector<float>* command;
    Window a;
    Window b;
    friend bool operator==(const CapacitanceGroup&, const CapacitanceGroup&) = default;
};

// The selected traces with both windows usable; the others are named in the
// table's warnings, and when none is left the table says why it is empty.
std::vector<CapacitanceGroup> CapacitanceWindows(const TraceStore& store,
                                                 const CapacitanceChoices& choices,
                                                 std::vector<uint32_t>& traces,
                                                 ResultTable& table) {
    std::vector<CapacitanceGroup> keys;
    const std::vector<uint32_t> valid =
        builders::ValidTracesWithCommand(store, choices.selectedTraces, table);
    if (valid.empty())
        return keys;
    builders::AddSkippedTraces(choices.traceSubsections1, choices.selectedTraces, table.warnings);
    builders::AddSkippedTraces(choices.traceSubsections2, choices.selectedTraces, table.warnings);
    std::string why;
    std::vector<uint32_t> left;
    for (uint32_t k : valid) {
        // The sample at the larger end of each window is read as the slope's end point.
        std::optional<Window> a = UsableWindow(choices.traceSubsections1, choices.subsection1, k,
                                               ReadableSamples(store), true, why);
        std::optional<Window> b = UsableWindow(choices.traceSubsections2, choices.subsection2, k,
                                               ReadableSamples(store), true, why);
        if (a && b) {
            traces.push_back(k);
            keys.push_back({&store.CommandOf(k), *a, *b});
        } else if (!why.empty()) {
            left.push_back(k);
        }
    }
    if (traces.empty())
        builders::NoTraceLeft(table, !why.empty() ? why
                                     : !table.warnings.empty()
                                         ? table.warnings.front()
                                         : "no selected trace has both ramps");
    else if (!left.empty())
        table.warnings.push_back(builders::TraceList(left) + " left out: " + why);
    return keys;
}

// 1 / (slope B - slope A), or no value when the slopes are equal (or a time
// axis has no extent); a difference below 5 % of the larger slope is noted.
float InverseSlopeDifference(const TraceStore& store, const CapacitanceGroup& g,
                             const std::vector<uint32_t>& traces, ResultTable& table) {
    const float slopeA = RampSlope(store, *g.command, g.a);
    const float slopeB = RampSlope(store, *g.command, g.b);
    float difference = slopeB - slopeA;
    if (!(std::isfinite(difference) && difference != 0.0f && std::isfinite(1.0f / difference)))
        return kNoValue;
    if (std::fabs(difference) < 0.05f * std::max(std::fabs(slopeA), std::fabs(slopeB)))
        table.warnings.push_back(builders::TraceList(traces) +
                                 ": the two ramps' slopes differ by less than 5 % of the larger; "
                                 "the capacitance is unreliable");
    return 1.0f / difference;
}

} // namespace

uint32_t BuildCapacitance(const TraceStore& store, const CapacitanceChoices& choices,
                          int plotTraceNumber, ResultTable& table) {
    builders::ClearTable(table);
    std::vector<uint32_t> traces;
    std::vector<CapacitanceGroup> keys = CapacitanceWindows(store, choices, traces, table);
    if (traces.empty())
        return 0;

    uint32_t m = static_cast<uint32_t>(traces.size());
    std::vector<float> values(m, kNoValue);
    for (const std::vector<size_t>& group : builders::GroupsOf(keys)) {
        const CapacitanceGroup& key = keys[group.front()];
        std::vector<uint32_t> members;
        members.reserve(group.size());
        for (size_t at : group)
            members.push_back(traces[at]);
        const float inverse = InverseSlopeDifference(store, key, members, table);
        std::vector<long double> sumsA = WindowSums(store, members, key.a);
        std::vector<long double> sumsB = WindowSums(store, members, key.b);
        for (size_t n = 0; n < group.size(); ++n) {
            long double meanA = sumsA[n] / key.a.length;
            long double meanB = sumsB[n] / key.b.length;
            float capacitance = static_cast<float>((meanB - meanA) * inverse);
            values[group[n]] = std::isfinite(capacitance) ? capacitance : kNoValue;
        }
    }
    std::vector<uint32_t> negative;
    builders::ResetTable(table, 2, m);
    table.headers = {builders::XHeader(plotTraceNumber), "Cell Capacitance"};
    table.units = {builders::XUnit(plotTraceNumber), builders::CapacitanceUnitOf(store)};
    for (uint32_t i = 0; i < m; ++i) {
        table.columns[0][i] = builders::XValue(store, traces[i], plotTraceNumber);
        table.columns[1][i] = values[i];
        if (values[i] < 0.0f)
            negative.push_back(traces[i]);
    }
    if (!negative.empty())
        table.warnings.push_back(builders::TraceList(negative) + ": negative capacitance");
    return m;
}
