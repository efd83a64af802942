// links: tessaran_recording tessaran_abf tessaran_analysis_core tessaran_display_core
// Loading a recording into the trace store (the published recordings and a
// written one of 200 traces of 20000 samples on two channels), and the command
// voltage conversion with both sub-section searches over a 20000-sample protocol.
#include "analysis/SubsectionSearch.h"
#include "display/CommandVoltage.h"
#include "platform/Messages.h"
#include "recording/TraceStore.h"
#include "tests/support/AbfTestWriter.h"
#include "tests/support/RecordingMessageSink.h"
#include "tests/support/TempDir.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

namespace {

std::string RealRecording(const char* name) {
    return (std::filesystem::path(__FILE__).parent_path().parent_path() / "tests" / "data" /
            "real" / name)
        .string();
}

void LoadFile(benchmark::State& state, const std::string& path) {
    RecordingMessageSink messages;
    TraceStore store;
    for (auto _ : state) {
        if (!TraceStore::LoadInto(store, path))
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(store.traces.data());
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(store.traces.size()) * store.SamplesPerTrace());
}

void BM_LoadReal19d22010(benchmark::State& state) {
    LoadFile(state, RealRecording("19d22010.abf"));
}
void BM_LoadReal20917000(benchmark::State& state) {
    LoadFile(state, RealRecording("20917000.abf"));
}

void BM_LoadWritten200x20000(benchmark::State& state) {
    TempDir dir;
    const std::string path = dir.file("big.abf");
    AbfTestWriter()
        .SetChannels({0, 1})
        .SetEpisodes(200)
        .SetSamplesPerChannel(20000)
        .SetSignal([](uint32_t e, int c, uint32_t i) { return c + e * 0.01 + (i % 50) * 0.1; })
        .Write(path);
    LoadFile(state, path);
}

void BM_CommandTenthsAndSubsections(benchmark::State& state) {
    std::vector<float> mV(20000, -80.0f);
    for (size_t i = 1000; i <= 4000; ++i)
        mV[i] = 50.0f - 150.0f * static_cast<float>(i - 1000) / 3000.0f;
    for (size_t i = 5000; i <= 15000; ++i)
        mV[i] = -100.0f + 150.0f * static_cast<float>(i - 5000) / 10000.0f;
    for (auto _ : state) {
        const std::vector<int32_t> tenths = CommandVoltageTenths(mV);
        Subsection ramp1, ramp2;
        FindSubsection(tenths, 0, 5, 5001, 15001, ramp1);
        FindSubsection(tenths, 0, 5, 1001, 4001, ramp2);
        benchmark::DoNotOptimize(ramp1);
        benchmark::DoNotOptimize(ramp2);
    }
}

} // namespace

BENCHMARK(BM_LoadReal19d22010)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadReal20917000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadWritten200x20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CommandTenthsAndSubsections)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
