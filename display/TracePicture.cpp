#include "display/TracePicture.h"

#include <algorithm>

namespace {

constexpr uint32_t kWhitePixel = 0xFFFFFFFFu;
constexpr uint32_t kBlackPixel = 0xFF000000u;

void DrawVisible(PlotCanvas& canvas, const std::vector<PlotPoint>& points, const PlotRect& clip,
                 uint32_t pixel) {
    const auto [first, last] = VisiblePolylinePart(points, clip.left, clip.right + 1);
    if (first < last)
        canvas.DrawPolyline(points.data() + first, last - first + 1, pixel);
}

bool IsTrace(int32_t index, const TraceDisplayModel& model) {
    return index >= 0 && static_cast<size_t>(index) < model.TraceCount();
}

} // namespace

std::pair<size_t, size_t> VisiblePolylinePart(const std::vector<PlotPoint>& points, int64_t left,
                                              int64_t right) {
    if (points.empty())
        return {1, 0};
    const auto xBelow = [](const PlotPoint& point, int64_t x) { return point.x < x; };
    const auto xAbove = [](int64_t x, const PlotPoint& point) { return x < point.x; };
    size_t first = std::lower_bound(points.begin(), points.end(), left, xBelow) - points.begin();
    if (first > 0)
        --first;
    size_t last = std::upper_bound(points.begin(), points.end(), right, xAbove) - points.begin();
    last = std::min(last, points.size() - 1);
    return {first, last};
}

void DrawTracePicture(PlotCanvas& canvas, TraceDisplayModel& model,
                      const TracePictureContent& content) {
    if (model.samplesPerTrace == 0)
        return;
    const PlotRect clip = canvas.LogicalClip();
    if (clip.IsEmpty())
        return;
    canvas.FillRect(clip, kWhitePixel);

    for (int32_t index : content.displayedTraces) {
        if (IsTrace(index, model))
            DrawVisible(canvas, model.DrawingPolyline(static_cast<size_t>(index)), clip,
                        kBlackPixel);
    }
    if (IsTrace(content.controlIndex, model))
        DrawVisible(canvas, model.DrawingPolyline(static_cast<size_t>(content.controlIndex)), clip,
                    PixelOfColour(g_crControlTrace));
    if (IsTrace(content.currentIndex, model))
        DrawVisible(canvas, model.DrawingPolyline(static_cast<size_t>(content.currentIndex)), clip,
                    PixelOfColour(g_crCurrentTrace));

    if (g_bShowZeroCurrentLine) {
        const int64_t zeroY = model.TotalHeight();
        canvas.InvertRect({clip.left, zeroY, clip.right, zeroY}, PixelOfColour(g_crZeroLine));
    }
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
            PixelOfColour(g_crSelection[region]));
    }
}
