#include "display/TracePicture.h"

#include <algorithm>
#include <thread>

namespace {

constexpr uint32_t kWhitePixel = 0xFFFFFFFFu;
constexpr uint32_t kBlackPixel = 0xFF000000u;

bool IsTrace(int32_t index, const TraceDisplayModel& model) {
    return index >= 0 && static_cast<size_t>(index) < model.TraceCount();
}

// Draws trace `index` over the columns `runs`, reusing `points` as scratch.
void DrawTrace(PlotCanvas& canvas, const TraceDisplayModel& model, int32_t index,
               const std::vector<ColumnRun>& runs, std::vector<PlotPoint>& points, uint32_t pixel) {
    points.clear();
    model.AppendTracePoints(static_cast<size_t>(index), runs, points);
    canvas.DrawPolyline(points.data(), points.size(), pixel);
}

void DrawBands(PlotCanvas& canvas, const TraceDisplayModel& model,
               const TracePictureContent& content, const PlotRect& clip) {
    const uint32_t lastSample = model.samplesPerTrace - 1;
    for (size_t region = 0; region < kRegionCount; ++region) {
        if (content.regionStarts[region] == content.regionEnds[region])
            continue;
        const uint32_t a = std::min(content.regionStarts[region], lastSample);
        const uint32_t b = std::min(content.regionEnds[region], lastSample);
        if (a == b)
            continue;
        canvas.InvertRect(
            {model.SampleX(std::min(a, b)), clip.top, model.SampleX(std::max(a, b)), clip.bottom},
            PixelOfColour(g_selectionColour[region]));
    }
}

} // namespace

void DrawTracePicture(PlotCanvas& canvas, const TraceDisplayModel& model,
                      const TracePictureContent& content) {
    if (model.samplesPerTrace == 0)
        return;
    const PlotRect clip = canvas.LogicalClip();
    if (clip.IsEmpty())
        return;
    canvas.FillRect(clip, kWhitePixel);

    // The columns are the same for every trace (one time axis): found once.
    const std::vector<ColumnRun> runs = model.ColumnRuns(clip.left, clip.right);
    std::vector<PlotPoint> points;
    points.reserve(runs.size() * 4);
    for (int32_t index : content.displayedTraces) {
        if (IsTrace(index, model))
            DrawTrace(canvas, model, index, runs, points, kBlackPixel);
    }
    if (IsTrace(content.controlIndex, model))
        DrawTrace(canvas, model, content.controlIndex, runs, points,
                  PixelOfColour(g_controlTraceColour));
    if (IsTrace(content.currentIndex, model))
        DrawTrace(canvas, model, content.currentIndex, runs, points,
                  PixelOfColour(g_currentTraceColour));

    if (g_showZeroCurrentLine) {
        const int64_t zeroY = model.TotalHeight();
        canvas.InvertRect({clip.left, zeroY, clip.right, zeroY}, PixelOfColour(g_zeroLineColour));
    }
    DrawBands(canvas, model, content, clip);
}

void DrawTracePictureInStrips(uint32_t* pixels, int width, int height, int stride,
                              const PlotRect& clip, int64_t originX, int64_t originY,
                              const TraceDisplayModel& model, const TracePictureContent& content) {
    const auto drawStrip = [&](int64_t left, int64_t right) {
        PlotCanvas canvas(pixels, width, height, stride);
        canvas.SetClip({left, clip.top, right, clip.bottom});
        canvas.SetOrigin(originX, originY);
        DrawTracePicture(canvas, model, content);
    };
    // Threads pay off once a paint reads millions of samples.
    constexpr uint64_t kSamplesPerThread = 4'000'000;
    constexpr int64_t kNarrowestStrip = 128;
    const uint64_t work = uint64_t{model.samplesPerTrace} * (content.displayedTraces.size() + 2);
    const int64_t columns = clip.right - clip.left + 1;
    const int64_t strips = std::clamp<int64_t>(
        std::min<int64_t>(
            {static_cast<int64_t>(work / kSamplesPerThread) + 1, columns / kNarrowestStrip,
             static_cast<int64_t>(std::max(1u, std::thread::hardware_concurrency())), 8}),
        1, 8);
    std::vector<std::thread> workers;
    for (int64_t k = 1; k < strips; ++k)
        workers.emplace_back(drawStrip, clip.left + columns * k / strips,
                             clip.left + columns * (k + 1) / strips - 1);
    drawStrip(clip.left, clip.left + columns / strips - 1);
    for (std::thread& worker : workers)
        worker.join();
}
