// Current-voltage table: the ramp's samples binned by their command voltage
// rounded to `roundTo` mV, every `sampleEvery` mV, and the mean current per bin.
#include "export/BuilderSupport.h"
#include "export/ResultBuilders.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace {

// A voltage that cannot be rounded into range (NaN, huge); it forms no bin and
// ends any run it interrupts.
constexpr int64_t kNoVoltage = INT64_MIN;

struct Bin {
    uint32_t first = 0;
    uint32_t last = 0;
};

int64_t RoundedVoltage(float voltage, uint32_t roundTo, float inverseRoundTo) {
    float q = voltage * inverseRoundTo;
    float steps = std::round(q); // halves away from zero
    if (!(std::fabs(steps) <= 2147483647.0f / static_cast<float>(roundTo)))
        return kNoVoltage;
    return static_cast<int64_t>(roundTo) * static_cast<int64_t>(steps);
}

// Bins in ascending voltage; a voltage met again in a later run takes that run's samples.
std::map<int64_t, Bin> FindBins(const std::vector<float>& command, uint32_t lo, uint32_t count,
                                uint32_t roundTo, uint32_t sampleEvery) {
    float inverseRoundTo = 1.0f / static_cast<float>(roundTo);
    std::vector<int64_t> rounded(count);
    for (uint32_t i = 0; i < count; ++i)
        rounded[i] = RoundedVoltage(command[lo + i], roundTo, inverseRoundTo);

    std::map<int64_t, Bin> bins;
    uint32_t i = 0;
    while (i < count) {
        int64_t v = rounded[i];
        if (v == kNoVoltage || v % static_cast<int64_t>(sampleEvery) != 0) {
            ++i;
            continue;
        }
        uint32_t j = i + 1;
        while (j < count && rounded[j] == v)
            ++j;
        bins[v] = {lo + i, lo + j - 1};
        i = j;
    }
    return bins;
}

// Each bin's mean per trace: a running float sum in sample order, divided by
// the bin's sample count. G traces go side by side only so that their
// independent sums overlap in the processor.
template <size_t G>
void MeansPerBin(const float* const* y, const std::vector<Bin>& bins, float* const* out) {
    for (size_t r = 0; r < bins.size(); ++r) {
        float sum[G] = {};
        for (uint32_t s = bins[r].first; s <= bins[r].last; ++s)
            for (size_t g = 0; g < G; ++g)
                sum[g] += y[g][s];
        const float count = static_cast<float>(bins[r].last - bins[r].first + 1);
        for (size_t g = 0; g < G; ++g)
            out[g][r] = sum[g] / count;
    }
}

// MeansPerBin for every trace of `traces` into out[k].
void MeansPerBin(const TraceStore& store, const std::vector<uint32_t>& traces,
                 const std::vector<Bin>& bins, const std::vector<float*>& out) {
    builders::InGroups<4>(
        store, traces, [&](const float* const* y, size_t k) { MeansPerBin<4>(y, bins, &out[k]); },
        [&](const float* const* y, size_t k) { MeansPerBin<1>(y, bins, &out[k]); });
}

} // namespace

uint32_t BuildCurrentVoltage(const TraceStore& store, const CurrentVoltageChoices& choices,
                             ResultTable& table) {
    builders::ResetTable(table, 0, 0);
    uint32_t lo = std::min(choices.ramp.start, choices.ramp.end);
    uint32_t hi = std::max(choices.ramp.start, choices.ramp.end);
    std::vector<uint32_t> traces = builders::ValidTraces(store, choices.selectedTraces);
    if (traces.empty() || hi >= builders::ReadableSamples(store) || choices.roundTo == 0 ||
        choices.sampleEvery == 0)
        return 0;

    std::map<int64_t, Bin> binMap =
        FindBins(store.commandWaveform, lo, hi - lo + 1, choices.roundTo, choices.sampleEvery);
    if (binMap.empty())
        return 0;
    std::vector<Bin> bins;
    bins.reserve(binMap.size());
    uint32_t rows = static_cast<uint32_t>(binMap.size());
    uint32_t m = static_cast<uint32_t>(traces.size());
    builders::ResetTable(table, m + 1, rows);
    table.headers.push_back("Voltage");
    uint32_t r = 0;
    for (const auto& [voltage, bin] : binMap) {
        table.columns[0][r++] = static_cast<float>(voltage);
        bins.push_back(bin);
    }
    std::vector<float*> out;
    for (uint32_t j = 0; j < m; ++j) {
        table.headers.push_back(std::to_string(traces[j] + 1));
        out.push_back(table.columns[j + 1].data());
    }
    MeansPerBin(store, traces, bins, out);

    std::optional<uint32_t> control =
        builders::ControlTrace(store, choices.useControl, choices.controlTraceNumber);
    if (control) {
        // Copied first: the control trace's own column is subtracted from too.
        std::vector<float> controlMeans(rows);
        auto selected = std::find(traces.begin(), traces.end(), *control);
        if (selected != traces.end()) {
            const float* column = table.columns[1 + (selected - traces.begin())].data();
            std::copy(column, column + rows, controlMeans.begin());
        } else {
            MeansPerBin(store, {*control}, bins, {controlMeans.data()});
        }
        for (uint32_t j = 0; j < m; ++j)
            for (uint32_t i = 0; i < rows; ++i)
                table.columns[j + 1][i] -= controlMeans[i];
    }
    return rows;
}
