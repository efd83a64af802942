// links: tessaran_display Qt6::Widgets
// Full redraws of a trace view holding 200 traces of 20000 samples: with the
// polylines cached (the frame budget is 16 ms) and right after a zoom change,
// when every displayed polyline is rebuilt (budget 100 ms).
#include "display/TraceDisplayModel.h"
#include "display/qt/CZoomScrollView.h"

#include <QApplication>
#include <QWindow>

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <random>

namespace {

constexpr int kTraceCount = 200;
constexpr uint32_t kSamples = 20000;

// Ramp-like currents of up to +-1500 pA with +-20 pA noise, 100 us sampling.
std::shared_ptr<TraceDisplayModel> MakeLoadedModel() {
    std::vector<float> timeAxis(kSamples);
    std::vector<float> command(kSamples);
    for (uint32_t j = 0; j < kSamples; ++j) {
        timeAxis[j] = static_cast<float>(j) * 100.0f;
        command[j] = -80.0f + 160.0f * static_cast<float>(j) / kSamples;
    }
    std::mt19937 random(42);
    std::uniform_real_distribution<float> noise(-20.0f, 20.0f);
    std::vector<SharedFloatArray> traces;
    for (int i = 0; i < kTraceCount; ++i) {
        SharedFloatArray trace = SharedFloatArray::Allocate(kSamples);
        const float gain = 10.0f + 0.05f * static_cast<float>(i);
        for (uint32_t j = 0; j < kSamples; ++j)
            trace[j] = gain * command[j] + 300.0f * std::sin(j * 0.001f) + noise(random);
        traces.push_back(trace);
    }
    auto model = std::make_shared<TraceDisplayModel>();
    model->SetMaxZoomRange(5000.0f);
    model->SetData(timeAxis, command, traces, kSamples);
    return model;
}

struct ViewFixture {
    std::shared_ptr<TraceDisplayModel> model = MakeLoadedModel();
    CZoomScrollView view;

    explicit ViewFixture(bool deepest) {
        view.resize(800, 500);
        view.SetDisplayModel(model);
        view.show();
        while (!view.windowHandle() || !view.windowHandle()->isExposed())
            QApplication::processEvents();
        std::vector<int32_t> all(kTraceCount);
        for (int i = 0; i < kTraceCount; ++i)
            all[i] = i;
        view.SetDisplayedTraces(all);
        view.SetControlTrace(1);
        view.SetCurrentTrace(2);
        view.SetRegion(1349, 2624, 0);
        view.SetRegion(699, 1299, 1);
        while (deepest && view.CanZoomInX())
            view.ZoomInX();
        while (deepest && view.CanZoomInY())
            view.ZoomInY();
        view.RedrawNow();
    }
};

void FullRedraw(benchmark::State& state, bool deepest) {
    ViewFixture fixture(deepest);
    for (auto _ : state)
        fixture.view.RedrawNow();
    state.counters["zoomX"] = fixture.model->zoomX;
    state.counters["zoomY"] = fixture.model->zoomY;
}

void FirstDrawAfterZoomChange(benchmark::State& state, bool deepest) {
    ViewFixture fixture(deepest);
    for (auto _ : state) {
        fixture.model->InvalidatePolylines();
        fixture.view.RedrawNow();
    }
}

void BM_CachedRedrawZoom0(benchmark::State& state) {
    FullRedraw(state, false);
}
void BM_CachedRedrawDeepest(benchmark::State& state) {
    FullRedraw(state, true);
}
void BM_RebuildAndRedrawZoom0(benchmark::State& state) {
    FirstDrawAfterZoomChange(state, false);
}
void BM_RebuildAndRedrawDeepest(benchmark::State& state) {
    FirstDrawAfterZoomChange(state, true);
}

} // namespace

BENCHMARK(BM_CachedRedrawZoom0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CachedRedrawDeepest)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RebuildAndRedrawZoom0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RebuildAndRedrawDeepest)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
