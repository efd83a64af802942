// Current-voltage table: the ramp's samples binned by their command voltage
// rounded to `roundTo` mV, every `sampleEvery` mV, and the mean current per bin.
#include "export/BuilderSupport.h"
#include "export/ResultBuilders.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <optional>

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

// One group of traces sharing a command and a ramp, with its bins.
struct RampKey {
    const std::vector<float>* command;
    uint32_t lo;
    uint32_t hi;
    friend bool operator==(const RampKey&, const RampKey&) = default;
};

// The selected traces whose ramp lies inside the trace, with their ramps; the
// others are named in the table's warnings, and when none is left the table
// says why it is empty.
std::vector<RampKey> TraceRamps(const TraceStore& store, const CurrentVoltageChoices& choices,
                                std::vector<uint32_t>& traces, ResultTable& table) {
    std::vector<RampKey> keys;
    const std::vector<uint32_t> valid =
        builders::ValidTracesWithCommand(store, choices.selectedTraces, table);
    if (valid.empty())
        return keys;
    builders::AddSkippedTraces(choices.traceRamps, choices.selectedTraces, table.warnings);
    const uint32_t samples = builders::ReadableSamples(store);
    std::vector<uint32_t> left;
    for (uint32_t k : valid) {
        std::optional<SampleWindow> ramp = choices.traceRamps.For(k, choices.ramp);
        if (!ramp)
            continue;
        const uint32_t lo = std::min(ramp->start, ramp->end);
        const uint32_t hi = std::max(ramp->start, ramp->end);
        if (hi >= samples) {
            left.push_back(k);
            continue;
        }
        traces.push_back(k);
        keys.push_back({&store.CommandOf(k), lo, hi});
    }
    const std::string beyond =
        "the ramp ends beyond the trace's " + std::to_string(samples) + " samples";
    if (traces.empty())
        builders::NoTraceLeft(table, !left.empty()             ? beyond
                                     : !table.warnings.empty() ? table.warnings.front()
                                                               : "no selected trace has a ramp");
    else if (!left.empty())
        table.warnings.push_back(builders::TraceList(left) + " left out: " + beyond);
    return keys;
}

// The bins of every group, the rows (the voltages of all groups in ascending
// order) and, per group, the row of each of its bins.
struct GroupedBins {
    std::vector<std::vector<size_t>> groups;
    std::vector<std::vector<Bin>> bins;
    std::vector<std::vector<uint32_t>> rowOfBin;
    std::vector<int64_t> voltages;
};

GroupedBins FindGroupedBins(const std::vector<RampKey>& keys, const CurrentVoltageChoices& c) {
    GroupedBins result;
    result.groups = builders::GroupsOf(keys);
    std::vector<std::map<int64_t, Bin>> maps;
    std::map<int64_t, uint32_t> rows;
    for (const std::vector<size_t>& group : result.groups) {
        const RampKey& key = keys[group.front()];
        maps.push_back(
            FindBins(*key.command, key.lo, key.hi - key.lo + 1, c.roundTo, c.sampleEvery));
        for (const auto& entry : maps.back())
            rows.emplace(entry.first, 0);
    }
    uint32_t r = 0;
    for (auto& [voltage, row] : rows) {
        row = r++;
        result.voltages.push_back(voltage);
    }
    for (const auto& map : maps) {
        result.bins.emplace_back();
        result.rowOfBin.emplace_back();
        for (const auto& [voltage, bin] : map) {
            result.bins.back().push_back(bin);
            result.rowOfBin.back().push_back(rows[voltage]);
        }
    }
    return result;
}

// The means of `trace` per row over the bins of group `g` (no value in the
// rows the group has no bin for).
void MeansOfGroup(const TraceStore& store, const std::vector<uint32_t>& members,
                  const GroupedBins& grouped, size_t g, const std::vector<float*>& out) {
    const size_t rows = grouped.voltages.size();
    if (grouped.bins[g].size() == rows) { // every row: straight into the columns
        MeansPerBin(store, members, grouped.bins[g], out);
        return;
    }
    std::vector<std::vector<float>> own(members.size(), std::vector<float>(grouped.bins[g].size()));
    std::vector<float*> ownOut;
    ownOut.reserve(own.size());
    for (auto& column : own)
        ownOut.push_back(column.data());
    MeansPerBin(store, members, grouped.bins[g], ownOut);
    for (size_t j = 0; j < members.size(); ++j) {
        std::fill(out[j], out[j] + rows, std::numeric_limits<float>::quiet_NaN());
        for (size_t b = 0; b < grouped.bins[g].size(); ++b)
            out[j][grouped.rowOfBin[g][b]] = own[j][b];
    }
}

// The control trace's means per row: its own column when it is selected, else
// computed over its own ramp; no value in rows its ramp has no bin for.
bool ControlMeans(const TraceStore& store, const CurrentVoltageChoices& choices, uint32_t control,
                  const std::vector<uint32_t>& traces, const GroupedBins& grouped,
                  const std::vector<RampKey>& keys, const ResultTable& table,
                  std::vector<float>& means) {
    const size_t rows = grouped.voltages.size();
    auto selected = std::find(traces.begin(), traces.end(), control);
    if (selected != traces.end()) {
        const float* column = table.columns[1 + (selected - traces.begin())].data();
        std::copy(column, column + rows, means.begin());
        return true;
    }
    std::optional<SampleWindow> ramp = choices.traceRamps.For(control, choices.ramp);
    if (!ramp || std::max(ramp->start, ramp->end) >= builders::ReadableSamples(store))
        return false;
    const RampKey key{&store.CommandOf(control), std::min(ramp->start, ramp->end),
                      std::max(ramp->start, ramp->end)};
    for (size_t g = 0; g < grouped.groups.size(); ++g)
        if (keys[grouped.groups[g].front()] == key) {
            MeansOfGroup(store, {control}, grouped, g, {means.data()});
            return true;
        }
    std::map<int64_t, Bin> own =
        FindBins(*key.command, key.lo, key.hi - key.lo + 1, choices.roundTo, choices.sampleEvery);
    std::vector<Bin> bins;
    bins.reserve(own.size());
    for (const auto& entry : own)
        bins.push_back(entry.second);
    std::vector<float> ownMeans(bins.size());
    MeansPerBin(store, {control}, bins, {ownMeans.data()});
    std::fill(means.begin(), means.end(), std::numeric_limits<float>::quiet_NaN());
    size_t b = 0;
    for (const auto& entry : own) {
        auto row = std::lower_bound(grouped.voltages.begin(), grouped.voltages.end(), entry.first);
        if (row != grouped.voltages.end() && *row == entry.first)
            means[size_t(row - grouped.voltages.begin())] = ownMeans[b];
        ++b;
    }
    return true;
}

// Subtracts the control trace's means from every trace column, row by row
// (a selected control trace's own column becomes 0).
void SubtractControl(const TraceStore& store, const CurrentVoltageChoices& choices,
                     const std::vector<uint32_t>& traces, const GroupedBins& grouped,
                     const std::vector<RampKey>& keys, ResultTable& table) {
    std::optional<uint32_t> control =
        builders::ControlTrace(store, choices.useControl, choices.controlTraceNumber);
    if (!control)
        return;
    // Copied first: the control trace's own column is subtracted from too.
    std::vector<float> means(grouped.voltages.size());
    if (!ControlMeans(store, choices, *control, traces, grouped, keys, table, means)) {
        table.warnings.push_back("control " + builders::TraceList({*control}) +
                                 " has no ramp inside the trace: nothing subtracted");
        return;
    }
    for (uint32_t j = 0; j < traces.size(); ++j)
        for (uint32_t i = 0; i < means.size(); ++i)
            table.columns[j + 1][i] -= means[i];
}

} // namespace

uint32_t BuildCurrentVoltage(const TraceStore& store, const CurrentVoltageChoices& choices,
                             ResultTable& table) {
    builders::ClearTable(table);
    std::vector<uint32_t> traces;
    if (choices.roundTo == 0 || choices.sampleEvery == 0) {
        table.emptyReason = "no voltage step is chosen";
        return 0;
    }
    std::vector<RampKey> keys = TraceRamps(store, choices, traces, table);
    if (traces.empty())
        return 0;
    GroupedBins grouped = FindGroupedBins(keys, choices);
    if (grouped.voltages.empty()) {
        table.emptyReason = "no voltage of the ramp falls on the chosen steps";
        return 0;
    }
    uint32_t rows = static_cast<uint32_t>(grouped.voltages.size());
    uint32_t m = static_cast<uint32_t>(traces.size());
    builders::ResetTable(table, m + 1, rows);
    table.headers.push_back("Voltage");
    table.units.push_back(store.commandUnit);
    for (uint32_t r = 0; r < rows; ++r)
        table.columns[0][r] = static_cast<float>(grouped.voltages[r]);
    for (uint32_t j = 0; j < m; ++j) {
        table.headers.push_back(std::to_string(traces[j] + 1));
        table.units.push_back(store.channel.unit);
    }
    for (size_t g = 0; g < grouped.groups.size(); ++g) {
        std::vector<uint32_t> members;
        std::vector<float*> out;
        for (size_t at : grouped.groups[g]) {
            members.push_back(traces[at]);
            out.push_back(table.columns[at + 1].data());
        }
        MeansOfGroup(store, members, grouped, g, out);
    }
    SubtractControl(store, choices, traces, grouped, keys, table);
    return rows;
}
