// links: tessaran_display Qt6::Widgets
// Full redraws of a trace view: 200 traces of 20000 samples at the coarsest
// and the finest zoom (the frame budget is 16 ms), and 5000 episodes of 20000
// samples, all drawn, after a load (budget 0.5 s) and after a resize (100 ms).
// The view draws from the shared float samples; the model's own memory is
// reported as the counter "modelBytes".
#include "bench/QtBenchmarkMain.h"
#include "display/TraceDisplayModel.h"
#include "display/qt/CZoomScrollView.h"

#include <QApplication>
#include <QWindow>

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <random>

namespace {

constexpr uint32_t kSamples = 20000;

struct Recording {
    std::vector<float> timeAxis;
    std::vector<float> command;
    std::vector<SharedFloatArray> traces;
};

// Ramp-like currents of up to +-1500 pA with +-20 pA noise, 100 us sampling.
Recording MakeRecording(int traceCount) {
    Recording recording;
    recording.timeAxis.resize(kSamples);
    recording.command.resize(kSamples);
    for (uint32_t j = 0; j < kSamples; ++j) {
        recording.timeAxis[j] = static_cast<float>(j) * 100.0f;
        recording.command[j] = -80.0f + 160.0f * static_cast<float>(j) / kSamples;
    }
    // The noise repeats with a period that is no divisor of the trace length,
    // so each trace sees it shifted (generating 5000 traces stays quick).
    std::mt19937 random(42);
    std::uniform_real_distribution<float> uniform(-20.0f, 20.0f);
    std::vector<float> noise(7919);
    for (float& value : noise)
        value = uniform(random);
    std::vector<float> wave(kSamples);
    for (uint32_t j = 0; j < kSamples; ++j)
        wave[j] = 300.0f * std::sin(static_cast<float>(j) * 0.001f);
    size_t at = 0;
    for (int i = 0; i < traceCount; ++i) {
        SharedFloatArray trace = SharedFloatArray::Allocate(kSamples);
        const float gain = 10.0f + 0.002f * static_cast<float>(i % 1000);
        for (uint32_t j = 0; j < kSamples; ++j, at = at + 1 == noise.size() ? 0 : at + 1)
            trace[j] = gain * recording.command[j] + wave[j] + noise[at];
        recording.traces.push_back(trace);
    }
    return recording;
}

const Recording& Shared(int traceCount) {
    static Recording small = MakeRecording(200);
    static Recording large;
    if (traceCount == 200)
        return small;
    if (large.traces.empty())
        large = MakeRecording(traceCount);
    return large;
}

struct ViewFixture {
    std::shared_ptr<TraceDisplayModel> model = std::make_shared<TraceDisplayModel>();
    CZoomScrollView view;

    ViewFixture(int traceCount, bool deepest, QSize size = QSize(800, 500)) {
        const Recording& recording = Shared(traceCount);
        view.resize(size);
        view.SetDisplayModel(model);
        view.show();
        while (!view.windowHandle() || !view.windowHandle()->isExposed())
            QApplication::processEvents();
        model->SetMaxZoomRange(5000.0f);
        model->SetData(recording.timeAxis, recording.command, recording.traces, kSamples);
        std::vector<int32_t> all(static_cast<size_t>(traceCount));
        for (int i = 0; i < traceCount; ++i)
            all[static_cast<size_t>(i)] = i;
        view.SetDisplayedTraces(all);
        view.SetControlTrace(1);
        view.SetCurrentTrace(2);
        view.SetRegion(1349, 2624, kRamp1Region);
        view.SetRegion(699, 1299, kRamp2Region);
        while (deepest && view.CanZoomInX())
            view.ZoomInX();
        while (deepest && view.CanZoomInY())
            view.ZoomInY();
    }
    double ModelBytes() const {
        return static_cast<double>(model->XPositions().size() * 4 + model->TimeAxis().size() * 4 +
                                   model->CommandVoltage().size() * 4);
    }
};

void BM_Redraw200(benchmark::State& state) {
    ViewFixture fixture(200, state.range(0) != 0);
    for (auto _ : state)
        fixture.view.RedrawNow();
    state.counters["zoomX"] = fixture.model->zoomX;
    state.counters["modelBytes"] = fixture.ModelBytes();
}

// The first paint after the model has taken a loaded recording.
void BM_FirstPaint5000Episodes(benchmark::State& state) {
    ViewFixture fixture(5000, false, QSize(1000, 600));
    const Recording& recording = Shared(5000);
    for (auto _ : state) {
        fixture.model->SetData(recording.timeAxis, recording.command, recording.traces, kSamples);
        fixture.view.RedrawNow();
    }
    state.counters["modelBytes"] = fixture.ModelBytes();
}

// A resize by a few pixels: the plot size and the x positions change, every
// drawn column is computed again.
void BM_Resize5000Episodes(benchmark::State& state) {
    ViewFixture fixture(5000, false, QSize(1000, 600));
    int step = 0;
    for (auto _ : state) {
        fixture.view.resize(1000 + (step & 1) * 8, 600 + (step & 1) * 6);
        ++step;
        fixture.view.RedrawNow();
    }
}

} // namespace

BENCHMARK(BM_Redraw200)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK(BM_FirstPaint5000Episodes)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK(BM_Resize5000Episodes)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

int main(int argc, char** argv) {
    return RunQtBenchmarks(argc, argv);
}
