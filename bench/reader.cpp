// links: tessaran_abf
// Loading a 16 MB recording (200 episodes, 2 channels, 20000 samples per
// channel) channel by channel through the reader, beside the least any loader
// must do: one read of the same bytes and an int16-to-float conversion.
#include "abf/Abf.h"
#include "tests/support/AbfTestWriter.h"
#include "tests/support/TempDir.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr uint32_t kEpisodes = 200;
constexpr uint32_t kSamples = 20000;

struct Recording {
    TempDir dir;
    std::string path = dir.file("bench.abf");
    Recording() {
        AbfTestWriter()
            .SetChannels({0, 1})
            .SetEpisodes(kEpisodes)
            .SetSamplesPerChannel(kSamples)
            .SetSignal(
                [](uint32_t e, int c, uint32_t i) { return std::sin(i * 0.001 + e) * 5 + c * 0.1; })
            .Write(path);
    }
};

const Recording& TheRecording() {
    static Recording recording;
    return recording;
}

void ReaderChannelByChannel(benchmark::State& state) {
    const std::string& path = TheRecording().path;
    // Every trace kept, as a loaded recording keeps them.
    std::vector<float> traces(size_t(kEpisodes) * 2 * kSamples);
    for (auto _ : state) {
        int handle = -1, error = 0;
        AbfHeader header;
        uint32_t samples = 0, episodes = 0;
        if (!AbfOpenForReading(path.c_str(), &handle, 0, &header, &samples, &episodes, &error)) {
            state.SkipWithError("cannot open");
            break;
        }
        for (uint32_t e = 1; e <= episodes; ++e)
            for (int channel = 0; channel < 2; ++channel) {
                float* trace = traces.data() + (size_t(e - 1) * 2 + size_t(channel)) * kSamples;
                AbfReadEpisodeChannel(handle, &header, channel, e, trace, nullptr, &error);
                benchmark::DoNotOptimize(trace);
            }
        AbfCloseFile(handle, &error);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kEpisodes * kSamples * 2 * 2);
}

void BaselineOneReadAndConvert(benchmark::State& state) {
    const std::string& path = TheRecording().path;
    const size_t count = size_t(kEpisodes) * kSamples * 2;
    std::vector<int16_t> raw(count);
    std::vector<float> values(count);
    const double factor = 10.0 / 32768, offset = 0;
    for (auto _ : state) {
        int fd = open(path.c_str(), O_RDONLY);
        size_t bytes = count * 2, done = 0;
        char* into = reinterpret_cast<char*>(raw.data());
        while (done < bytes) {
            ssize_t n = pread(fd, into + done, bytes - done, off_t(2048 + done));
            if (n <= 0)
                break;
            done += size_t(n);
        }
        close(fd);
        for (size_t i = 0; i < count; ++i)
            values[i] = static_cast<float>(raw[i] * factor + offset);
        benchmark::DoNotOptimize(values.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(count) * 2);
}

BENCHMARK(ReaderChannelByChannel)->Unit(benchmark::kMillisecond);
BENCHMARK(BaselineOneReadAndConvert)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
