// links: tessaran_export_core tessaran_recording tessaran_abf
// The five result builders on 200 traces of 20000 samples, and a load plus the
// builders against a plain read of the same file through the reader.
#include "abf/Abf.h"
#include "export/ResultBuilders.h"
#include "tests/support/AbfTestWriter.h"
#include "tests/support/ModelCell.h"
#include "tests/support/TempDir.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr uint32_t kTraces = 200;
constexpr uint32_t kSamples = 20000;
// Ramp 2 falls from +50 to -100 mV over samples 1000..4000, ramp 1 rises from
// -100 to +50 mV over 5000..15000.
constexpr uint32_t kRamp2First = 1000, kRamp2Last = 4000;
constexpr uint32_t kRamp1First = 5000, kRamp1Last = 15000;

double Voltage(uint32_t i) {
    if (i <= kRamp2First)
        return i < kSamples / 64 ? -80.0 : 50.0;
    if (i <= kRamp2Last)
        return 50.0 - 150.0 * (i - kRamp2First) / (kRamp2Last - kRamp2First);
    if (i <= kRamp1First)
        return -100.0;
    if (i <= kRamp1Last)
        return -100.0 + 150.0 * (i - kRamp1First) / (kRamp1Last - kRamp1First);
    return -80.0;
}

double Current(uint32_t trace, uint32_t i) {
    return (5.0 + 0.05 * trace) * (Voltage(i) + 20.0) + 3.0 * std::sin(0.01 * i);
}

// Wide windows, so that every builder reads a large part of every trace.
ExportChoices BenchChoices() {
    std::vector<int32_t> all;
    for (uint32_t k = 0; k < kTraces; ++k)
        all.push_back(static_cast<int32_t>(k));
    ExportChoices c;
    c.plotTraceNumber = 0;
    c.slopeConductance.selectedTraces = all;
    c.slopeConductance.subsection = {kRamp1First, kRamp1Last};
    c.slopeConductance.useControl = true;
    c.currentAtTestPotential = c.slopeConductance;
    c.currentVoltage.selectedTraces = all;
    c.currentVoltage.ramp = {kRamp1First, kRamp1Last};
    c.currentVoltage.useControl = true;
    c.capacitance.selectedTraces = all;
    c.capacitance.subsection1 = {kRamp1First, kRamp1Last - 1};
    c.capacitance.subsection2 = {kRamp2First, kRamp2Last - 1};
    c.continuousRecord.selectedTraces = all;
    c.continuousRecord.samplePoints = {10, 15, 20, 25,   30,   35,   40,
                                       45, 50, 55, 1330, 2630, 2700, 3080};
    return c;
}

TraceStore MemoryStore() {
    return model::MakeMemoryStore(kTraces, kSamples, Voltage, Current);
}

void BM_AllFiveBuilders(benchmark::State& state) {
    TraceStore store = MemoryStore();
    ExportChoices choices = BenchChoices();
    for (auto _ : state) {
        std::vector<AnalysisResult> results = RunResultBuilders(store, choices);
        benchmark::DoNotOptimize(results.data());
    }
}
BENCHMARK(BM_AllFiveBuilders)->Unit(benchmark::kMillisecond);

// A two-channel recording of the same protocol, current on channel 1.
struct BenchFile {
    TempDir dir;
    std::string path = dir.file("bench.abf");
    BenchFile() {
        const int16_t first = static_cast<int16_t>(kRamp2First + 1 - kSamples / 64);
        AbfTestWriter()
            .SetChannels({0, 1})
            .SetSamplesPerChannel(kSamples)
            .SetEpisodes(kTraces)
            .SetSampleInterval(100.0f)
            .SetChannelScaling(0, 0.01f, 1.0f, 0.0f)
            .SetChannelScaling(1, 0.01f, 1.0f, 0.0f)
            .SetEpoch(0, 1, 50.0f, 0.0f, first, 0)
            .SetEpoch(1, 2, -100.0f, 0.0f, kRamp2Last - kRamp2First, 0)
            .SetEpoch(2, 1, -100.0f, 0.0f, kRamp1First - kRamp2Last, 0)
            .SetEpoch(3, 2, 50.0f, 0.0f, kRamp1Last - kRamp1First, 0)
            .SetSignal([](uint32_t episode, int channel, uint32_t sample) {
                return channel == 1 ? Current(episode - 1, sample) : 0.0;
            })
            .Write(path);
    }
};

BenchFile& File() {
    static BenchFile file;
    return file;
}

// What any reading of the file costs: open, every episode of channel 1 in
// physical units, the command waveform, close.
void BM_RawReadAndConvert(benchmark::State& state) {
    const std::string& path = File().path;
    auto header = std::make_unique<AbfHeader>();
    std::vector<float> buffer(kSamples);
    for (auto _ : state) {
        int handle = -1, error = 0;
        uint32_t samples = 0, episodes = 0;
        if (!AbfOpenForReading(path.c_str(), &handle, 0, header.get(), &samples, &episodes,
                               &error)) {
            state.SkipWithError("cannot open the benchmark file");
            return;
        }
        for (uint32_t e = 1; e <= episodes; ++e)
            AbfReadEpisodeChannel(handle, header.get(), 1, e, buffer.data(), nullptr, &error);
        AbfGetCommandWaveform(handle, header.get(), 1, 1, buffer.data(), &error);
        AbfCloseFile(handle, &error);
        benchmark::DoNotOptimize(buffer.data());
    }
}
BENCHMARK(BM_RawReadAndConvert)->Unit(benchmark::kMillisecond);

void BM_LoadOnly(benchmark::State& state) {
    const std::string& path = File().path;
    for (auto _ : state) {
        TraceStore store;
        if (!TraceStore::LoadInto(store, path)) {
            state.SkipWithError("cannot load the benchmark file");
            return;
        }
        benchmark::DoNotOptimize(store.traces.data());
    }
}
BENCHMARK(BM_LoadOnly)->Unit(benchmark::kMillisecond);

void BM_LoadAndAllFiveBuilders(benchmark::State& state) {
    const std::string& path = File().path;
    ExportChoices choices = BenchChoices();
    for (auto _ : state) {
        TraceStore store;
        if (!TraceStore::LoadInto(store, path)) {
            state.SkipWithError("cannot load the benchmark file");
            return;
        }
        std::vector<AnalysisResult> results = RunResultBuilders(store, choices);
        benchmark::DoNotOptimize(results.data());
    }
}
BENCHMARK(BM_LoadAndAllFiveBuilders)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
