#include "display/TraceDisplayModel.h"

#include "display/CommandVoltage.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int64_t kInt32Min = std::numeric_limits<int32_t>::min();
constexpr int64_t kInt32Max = std::numeric_limits<int32_t>::max();

int32_t ClampToInt32(int64_t value) {
    return static_cast<int32_t>(std::clamp(value, kInt32Min, kInt32Max));
}

// The product taken in double precision, held as a float, then rounded.
int32_t ScaleAndRound(float value, double scale) {
    return RoundHalfEvenToInt32(static_cast<float>(static_cast<double>(value) * scale));
}

void AppendDistinct(std::vector<PlotPoint>& points, PlotPoint point) {
    if (points.empty() || !(points.back() == point))
        points.push_back(point);
}

// Cuts every run of points on one x to its first, extreme and last points.
// Leaves `reduced` empty when that would keep most points.
void ReduceColumns(const std::vector<PlotPoint>& points, std::vector<PlotPoint>& reduced) {
    reduced.clear();
    size_t runs = 0;
    for (size_t i = 0; i < points.size(); ++i)
        runs += i == 0 || points[i].x != points[i - 1].x;
    if (runs * 4 > points.size() * 3)
        return;
    reduced.reserve(runs * 4);
    for (size_t begin = 0; begin < points.size();) {
        size_t end = begin + 1;
        size_t lowest = begin;
        size_t highest = begin;
        while (end < points.size() && points[end].x == points[begin].x) {
            if (points[end].y < points[lowest].y)
                lowest = end;
            if (points[end].y > points[highest].y)
                highest = end;
            ++end;
        }
        AppendDistinct(reduced, points[begin]);
        AppendDistinct(reduced, points[std::min(lowest, highest)]);
        AppendDistinct(reduced, points[std::max(lowest, highest)]);
        AppendDistinct(reduced, points[end - 1]);
        begin = end;
    }
    reduced.shrink_to_fit();
}

} // namespace

uint32_t DoublingsToReach(uint32_t extent, uint32_t target) {
    if (extent == 0)
        return 0;
    uint32_t doublings = 0;
    for (uint64_t reached = extent; reached < target; reached *= 2)
        ++doublings;
    return doublings;
}

void TraceDisplayModel::SetData(const std::vector<float>& timeAxis,
                                const std::vector<float>& commandWaveform,
                                const std::vector<SharedFloatArray>& traces,
                                uint32_t samplesPerTraceIn) {
    samplesPerTrace = static_cast<uint32_t>(
        std::min<size_t>(samplesPerTraceIn, static_cast<size_t>(timeAxis.size())));
    timeAxis_ = timeAxis;
    ComputeXPositions();

    commandVoltage_ = CommandVoltageTenths(commandWaveform);

    traces_ = traces;
    ComputePlotValues();

    polylines_.assign(traces_.size(), {});
    drawingPolylines_.assign(traces_.size(), {});
    polylineValid_.assign(traces_.size(), 0);
}

float UsableRange(float range) {
    if (!std::isfinite(range) || range == 0.0f)
        return TraceDisplayModel::kDefaultMaxRange;
    return std::fabs(range);
}

void TraceDisplayModel::SetMaxZoomRange(float range) {
    maxRange = UsableRange(range);
    if (!traces_.empty()) {
        ComputePlotValues();
        InvalidatePolylines();
    }
}

bool TraceDisplayModel::SetViewSize(uint32_t width, uint32_t height) {
    const bool changed = width != viewWidth || height != viewHeight;
    if (changed) {
        viewWidth = width;
        viewHeight = height;
        maxZoomX = DoublingsToReach(width, kFinestPlotExtent);
        maxZoomY = DoublingsToReach(height, kFinestPlotExtent);
    }
    zoomX = std::min(zoomX, maxZoomX);
    zoomY = std::min(zoomY, maxZoomY);
    if (changed && samplesPerTrace != 0) {
        ComputeXPositions();
        ComputePlotValues();
        InvalidatePolylines();
    }
    return changed;
}

void TraceDisplayModel::ComputeXPositions() {
    xPositions_.assign(timeAxis_.size(), 0);
    if (timeAxis_.empty())
        return;
    const double finestWidth = static_cast<double>(uint64_t{viewWidth} << maxZoomX);
    const float lastTime = timeAxis_.back();
    if (std::isfinite(lastTime) && lastTime > 0.0f) {
        const double scale = finestWidth / lastTime;
        for (uint32_t j = 0; j < samplesPerTrace; ++j)
            xPositions_[j] = ScaleAndRound(timeAxis_[j], scale);
    } else {
        // No usable time span: space the samples evenly over the width.
        const double lastIndex = std::max<double>(static_cast<double>(timeAxis_.size() - 1), 1.0);
        const double scale = finestWidth / lastIndex;
        for (uint32_t j = 0; j < samplesPerTrace; ++j)
            xPositions_[j] = ScaleAndRound(static_cast<float>(j), scale);
    }
}

void TraceDisplayModel::ComputePlotValues() {
    tracePlotValues_.clear();
    tracePlotValues_.resize(traces_.size());
    const double scale =
        static_cast<double>(uint64_t{viewHeight} << maxZoomY) / UsableRange(maxRange);
    for (size_t i = 0; i < traces_.size(); ++i) {
        std::vector<int32_t>& values = tracePlotValues_[i];
        values.assign(samplesPerTrace, 0);
        const float* samples = traces_[i].data();
        if (samples == nullptr)
            continue;
        for (uint32_t j = 0; j < samplesPerTrace; ++j)
            values[j] = ScaleAndRound(samples[j], scale);
    }
}

void TraceDisplayModel::InvalidatePolylines() {
    std::fill(polylineValid_.begin(), polylineValid_.end(), 0);
}

bool TraceDisplayModel::IsPolylineValid(size_t index) const {
    return index < polylineValid_.size() && polylineValid_[index] != 0;
}

const std::vector<PlotPoint>& TraceDisplayModel::Polyline(size_t index) {
    static const std::vector<PlotPoint> kNone;
    if (index >= polylines_.size())
        return kNone;
    if (polylineValid_[index] == 0)
        BuildPolyline(index);
    return polylines_[index];
}

const std::vector<PlotPoint>& TraceDisplayModel::DrawingPolyline(size_t index) {
    const std::vector<PlotPoint>& polyline = Polyline(index);
    if (index >= drawingPolylines_.size() || drawingPolylines_[index].empty())
        return polyline;
    return drawingPolylines_[index];
}

void TraceDisplayModel::BuildPolyline(size_t index) {
    polylineValid_[index] = 1;
    std::vector<PlotPoint>& points = polylines_[index];
    points.clear();
    if (index >= tracePlotValues_.size())
        return;
    const std::vector<int32_t>& values = tracePlotValues_[index];
    const uint32_t shiftX = maxZoomX - EffectiveZoomX();
    const uint32_t shiftY = maxZoomY - EffectiveZoomY();
    const int64_t finestHeight = int64_t{viewHeight} << maxZoomY;
    points.reserve(samplesPerTrace);
    for (uint32_t j = 0; j < samplesPerTrace; ++j) {
        const PlotPoint point{xPositions_[j] >> shiftX,
                              ClampToInt32((finestHeight - values[j]) >> shiftY)};
        AppendDistinct(points, point);
    }
    ReduceColumns(points, drawingPolylines_[index]);
}

uint32_t TraceDisplayModel::EffectiveZoomX() const {
    return std::min(zoomX, maxZoomX);
}

uint32_t TraceDisplayModel::EffectiveZoomY() const {
    return std::min(zoomY, maxZoomY);
}

int64_t TraceDisplayModel::TotalWidth() const {
    return int64_t{viewWidth} << EffectiveZoomX();
}

int64_t TraceDisplayModel::TotalHeight() const {
    return int64_t{viewHeight} << EffectiveZoomY();
}

void TraceDisplayModel::ClampScroll() {
    const auto clamp = [](int64_t scroll, int64_t limit) {
        scroll = std::min(scroll, limit);
        return static_cast<int32_t>(scroll < 1 ? 0 : scroll);
    };
    scrollX = clamp(scrollX, TotalWidth() - viewWidth);
    scrollY = clamp(scrollY, TotalHeight() - viewHeight);
}

namespace {

// Zooms one axis in (direction +1) or out (-1) about the middle of the view.
bool ZoomAxis(uint32_t& zoom, uint32_t maxZoom, int32_t& scroll, uint32_t viewExtent,
              int direction) {
    zoom = std::min(zoom, maxZoom);
    const int64_t half = viewExtent / 2;
    if (direction > 0) {
        if (zoom >= maxZoom)
            return false;
        ++zoom;
        scroll = ClampToInt32((scroll + half) * 2 - half);
    } else {
        if (zoom == 0)
            return false;
        --zoom;
        scroll = ClampToInt32(((scroll + half) >> 1) - half);
    }
    return true;
}

} // namespace

bool TraceDisplayModel::ZoomInX() {
    if (!ZoomAxis(zoomX, maxZoomX, scrollX, viewWidth, +1))
        return false;
    InvalidatePolylines();
    ClampScroll();
    return true;
}

bool TraceDisplayModel::ZoomOutX() {
    if (!ZoomAxis(zoomX, maxZoomX, scrollX, viewWidth, -1))
        return false;
    InvalidatePolylines();
    ClampScroll();
    return true;
}

bool TraceDisplayModel::ZoomInY() {
    if (!ZoomAxis(zoomY, maxZoomY, scrollY, viewHeight, +1))
        return false;
    InvalidatePolylines();
    ClampScroll();
    return true;
}

bool TraceDisplayModel::ZoomOutY() {
    if (!ZoomAxis(zoomY, maxZoomY, scrollY, viewHeight, -1))
        return false;
    InvalidatePolylines();
    ClampScroll();
    return true;
}

int32_t TraceDisplayModel::SampleX(uint32_t sample) const {
    if (samplesPerTrace == 0 || xPositions_.empty())
        return 0;
    sample = std::min(sample, samplesPerTrace - 1);
    return xPositions_[sample] >> (maxZoomX - EffectiveZoomX());
}
