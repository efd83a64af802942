#include "display/TraceDisplayModel.h"

#include <algorithm>
#include <cmath>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

namespace {

// The product taken in double precision, held as a float, then rounded.
int32_t ScaleAndRound(float value, double scale) {
    return RoundHalfEvenToInt32(static_cast<float>(static_cast<double>(value) * scale));
}

// Lowest and highest of `count` samples, NaN skipped (lowest > highest when
// there is no number). A full redraw spends its time here, reading every
// sample in view once.
void LowestAndHighest(const float* samples, uint32_t count, float& lowest, float& highest) {
    float lo = std::numeric_limits<float>::infinity();
    float hi = -std::numeric_limits<float>::infinity();
    uint32_t j = 0;
#if defined(__SSE2__)
    // Four lanes at a time; minps/maxps return their second operand when the
    // first is NaN, so NaN samples are skipped as in the plain loop.
    if (count >= 8) {
        __m128 low = _mm_set1_ps(lo);
        __m128 high = _mm_set1_ps(hi);
        for (; j + 4 <= count; j += 4) {
            const __m128 v = _mm_loadu_ps(samples + j);
            low = _mm_min_ps(v, low);
            high = _mm_max_ps(v, high);
        }
        alignas(16) float lows[4];
        alignas(16) float highs[4];
        _mm_store_ps(lows, low);
        _mm_store_ps(highs, high);
        for (int k = 0; k < 4; ++k) {
            lo = lows[k] < lo ? lows[k] : lo;
            hi = highs[k] > hi ? highs[k] : hi;
        }
    }
#endif
    for (; j < count; ++j) {
        const float v = samples[j];
        lo = v < lo ? v : lo;
        hi = v > hi ? v : hi;
    }
    lowest = lo;
    highest = hi;
}

// Zooms one axis in (direction +1) or out (-1) about view pixel `anchor`.
bool ZoomAxis(uint32_t& zoom, uint32_t maxZoom, int32_t& scroll, int64_t anchor, int direction) {
    zoom = std::min(zoom, maxZoom);
    if (direction > 0) {
        if (zoom >= maxZoom)
            return false;
        ++zoom;
        scroll = static_cast<int32_t>(
            std::clamp<int64_t>((scroll + anchor) * 2 - anchor, INT32_MIN, INT32_MAX));
    } else {
        if (zoom == 0)
            return false;
        --zoom;
        scroll = static_cast<int32_t>(
            std::clamp<int64_t>(((scroll + anchor) >> 1) - anchor, INT32_MIN, INT32_MAX));
    }
    return true;
}

// Deepest level from `zoom` at which `extent` pixels still fit `viewExtent`,
// and the scroll that centres logical range first .. last there.
void ZoomAxisToRange(uint32_t& zoom, uint32_t maxZoom, int32_t& scroll, uint32_t viewExtent,
                     int64_t first, int64_t last) {
    if (last <= first || viewExtent == 0)
        return;
    zoom = std::min(zoom, maxZoom);
    uint32_t levels = 0;
    while (zoom + levels < maxZoom && ((last - first + 1) << (levels + 1)) <= viewExtent)
        ++levels;
    zoom += levels;
    const int64_t middle = ((first + last) << levels) / 2;
    scroll = static_cast<int32_t>(
        std::clamp<int64_t>(middle - int64_t{viewExtent} / 2, INT32_MIN, INT32_MAX));
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

float UsableRange(float range) {
    if (!std::isfinite(range) || range == 0.0f)
        return TraceDisplayModel::kDefaultMaxRange;
    return std::fabs(range);
}

void TraceDisplayModel::SetData(const std::vector<float>& timeAxis,
                                const std::vector<float>& commandWaveform,
                                const std::vector<SharedFloatArray>& traces,
                                uint32_t samplesPerTraceIn,
                                const std::vector<SharedCommand>& commands) {
    samplesPerTrace = static_cast<uint32_t>(
        std::min<size_t>(samplesPerTraceIn, static_cast<size_t>(timeAxis.size())));
    m_timeAxis.assign(timeAxis.begin(), timeAxis.begin() + samplesPerTrace);
    ComputeXPositions();
    m_commandVoltage = CommandVoltageTenths(commandWaveform);
    m_commands = commands;
    m_tenthsOf = nullptr;
    m_tenths.clear();
    m_traces = traces;
    UpdateYScale();
}

void TraceDisplayModel::Clear() {
    samplesPerTrace = 0;
    m_timeAxis.clear();
    m_xPositions.clear();
    m_commandVoltage.clear();
    m_commands.clear();
    m_tenthsOf = nullptr;
    m_tenths.clear();
    m_traces.clear();
}

void TraceDisplayModel::SetMaxZoomRange(float range) {
    maxRange = UsableRange(range);
    UpdateYScale();
}

void TraceDisplayModel::UpdateYScale() {
    m_finestHeight = int64_t{viewHeight} << maxZoomY;
    m_yScale = static_cast<double>(m_finestHeight) / UsableRange(maxRange);
}

bool TraceDisplayModel::SetViewSize(uint32_t width, uint32_t height) {
    const bool changed = width != viewWidth || height != viewHeight;
    if (changed) {
        viewWidth = width;
        viewHeight = height;
        maxZoomX = DoublingsToReach(width, kFinestPlotExtent);
        maxZoomY = DoublingsToReach(height, kFinestPlotExtent);
        ComputeXPositions();
        UpdateYScale();
    }
    zoomX = std::min(zoomX, maxZoomX);
    zoomY = std::min(zoomY, maxZoomY);
    return changed;
}

void TraceDisplayModel::ComputeXPositions() {
    m_xPositions.assign(m_timeAxis.size(), 0);
    if (m_timeAxis.empty())
        return;
    const double finestWidth = static_cast<double>(uint64_t{viewWidth} << maxZoomX);
    const float lastTime = m_timeAxis.back();
    if (std::isfinite(lastTime) && lastTime > 0.0f) {
        const double scale = finestWidth / lastTime;
        for (size_t j = 0; j < m_timeAxis.size(); ++j)
            m_xPositions[j] = ScaleAndRound(m_timeAxis[j], scale);
    } else {
        // No usable time span: space the samples evenly over the width.
        const double lastIndex = std::max<double>(static_cast<double>(m_timeAxis.size() - 1), 1.0);
        const double scale = finestWidth / lastIndex;
        for (size_t j = 0; j < m_timeAxis.size(); ++j)
            m_xPositions[j] = ScaleAndRound(static_cast<float>(j), scale);
    }
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

bool TraceDisplayModel::Zoom(bool xAxis, int direction, int64_t anchor) {
    const bool zoomed =
        xAxis ? ZoomAxis(zoomX, maxZoomX, scrollX, anchor < 0 ? viewWidth / 2 : anchor, direction)
              : ZoomAxis(zoomY, maxZoomY, scrollY, anchor < 0 ? viewHeight / 2 : anchor, direction);
    if (!zoomed)
        return false;
    ClampScroll();
    return true;
}

bool TraceDisplayModel::ZoomInX(int64_t anchor) {
    return Zoom(true, +1, anchor);
}

bool TraceDisplayModel::ZoomOutX(int64_t anchor) {
    return Zoom(true, -1, anchor);
}

bool TraceDisplayModel::ZoomInY(int64_t anchor) {
    return Zoom(false, +1, anchor);
}

bool TraceDisplayModel::ZoomOutY(int64_t anchor) {
    return Zoom(false, -1, anchor);
}

void TraceDisplayModel::Fit() {
    zoomX = 0;
    zoomY = 0;
    scrollX = 0;
    scrollY = 0;
}

void TraceDisplayModel::ZoomToRect(int64_t left, int64_t top, int64_t right, int64_t bottom) {
    ZoomAxisToRange(zoomX, maxZoomX, scrollX, viewWidth, left, right);
    ZoomAxisToRange(zoomY, maxZoomY, scrollY, viewHeight, top, bottom);
    ClampScroll();
}

int32_t TraceDisplayModel::SampleX(uint32_t sample) const {
    if (samplesPerTrace == 0 || m_xPositions.empty())
        return 0;
    sample = std::min(sample, samplesPerTrace - 1);
    return m_xPositions[sample] >> (maxZoomX - EffectiveZoomX());
}

uint32_t TraceDisplayModel::SampleAtX(int64_t x) const {
    if (m_xPositions.empty())
        return 0;
    const uint32_t shift = maxZoomX - EffectiveZoomX();
    const auto below = [shift](int32_t position, int64_t at) { return (position >> shift) < at; };
    const auto found = std::lower_bound(m_xPositions.begin(), m_xPositions.end(), x, below);
    size_t sample = static_cast<size_t>(found - m_xPositions.begin());
    if (sample == m_xPositions.size())
        return static_cast<uint32_t>(sample - 1);
    if (sample > 0 && x - (m_xPositions[sample - 1] >> shift) < (m_xPositions[sample] >> shift) - x)
        --sample;
    return static_cast<uint32_t>(sample);
}

double TraceDisplayModel::CurrentAtY(double y) const {
    const double height = static_cast<double>(TotalHeight());
    if (height <= 0.0)
        return 0.0;
    return (height - y) * UsableRange(maxRange) / height;
}

double TraceDisplayModel::TimeAtX(double x) const {
    const double width = static_cast<double>(TotalWidth());
    if (m_timeAxis.empty() || width <= 0.0)
        return 0.0;
    const double last = m_timeAxis.back();
    if (!std::isfinite(last) || last <= 0.0)
        return 0.0;
    return x * last / width;
}

double TraceDisplayModel::XAtTime(double time) const {
    if (m_timeAxis.empty())
        return 0.0;
    const double last = m_timeAxis.back();
    if (!std::isfinite(last) || last <= 0.0)
        return 0.0;
    return time * static_cast<double>(TotalWidth()) / last;
}

std::vector<ColumnRun> TraceDisplayModel::ColumnRuns(int64_t left, int64_t right) const {
    std::vector<ColumnRun> runs;
    if (samplesPerTrace == 0 || right < left)
        return runs;
    const uint32_t shift = maxZoomX - EffectiveZoomX();
    const auto below = [shift](int32_t position, int64_t at) { return (position >> shift) < at; };
    const auto end = m_xPositions.begin() + samplesPerTrace;
    size_t first = static_cast<size_t>(std::lower_bound(m_xPositions.begin(), end, left, below) -
                                       m_xPositions.begin());
    size_t last = static_cast<size_t>(
        std::lower_bound(m_xPositions.begin(), end, right + 1, below) - m_xPositions.begin());
    // One sample beyond each end, so the lines towards them are drawn.
    first = first > 0 ? first - 1 : 0;
    last = std::min<size_t>(last + 1, samplesPerTrace);
    runs.reserve(static_cast<size_t>(std::min<int64_t>(right - left + 3, last - first)));
    for (size_t j = first; j < last;) {
        const int32_t x = m_xPositions[j] >> shift;
        size_t next = j + 1;
        while (next < last && (m_xPositions[next] >> shift) == x)
            ++next;
        runs.push_back({x, static_cast<uint32_t>(j), static_cast<uint32_t>(next)});
        j = next;
    }
    return runs;
}

void TraceDisplayModel::AppendTracePoints(size_t index, const std::vector<ColumnRun>& runs,
                                          std::vector<PlotPoint>& points) const {
    if (index >= m_traces.size())
        return;
    const float* samples = m_traces[index].data();
    // Room for four points a column, written through a pointer: this runs for
    // every column of every trace drawn.
    const size_t before = points.size();
    points.resize(before + runs.size() * 4);
    PlotPoint* const first = points.data() + before;
    PlotPoint* out = first;
    const auto append = [&](int32_t x, int32_t y) {
        if (out == first || out[-1].x != x || out[-1].y != y)
            *out++ = {x, y};
    };
    for (const ColumnRun& run : runs) {
        if (samples == nullptr) {
            append(run.x, PlotY(0.0f));
            continue;
        }
        append(run.x, PlotY(samples[run.begin]));
        const uint32_t count = run.end - run.begin;
        if (count < 2)
            continue;
        float lowest;
        float highest;
        LowestAndHighest(samples + run.begin, count, lowest, highest);
        if (lowest <= highest) {
            // y grows downwards: the highest value is the upper point.
            append(run.x, PlotY(highest));
            append(run.x, PlotY(lowest));
        }
        append(run.x, PlotY(samples[run.end - 1]));
    }
    points.resize(before + static_cast<size_t>(out - first));
}

const std::vector<int32_t>& TraceDisplayModel::CommandVoltage(size_t trace) const {
    const EpisodeCommand* own = trace < m_commands.size() ? m_commands[trace].get() : nullptr;
    // Episode 1's command is the one every trace shares in most protocols.
    if (own == nullptr || own == m_commands.front().get())
        return m_commandVoltage;
    if (own != m_tenthsOf) {
        m_tenths = CommandVoltageTenths(own->waveform);
        m_tenthsOf = own;
    }
    return m_tenths;
}

bool TraceDisplayModel::CommandMillivolts(size_t trace, uint32_t sample, double& millivolts) const {
    const std::vector<int32_t>& tenths = CommandVoltage(trace);
    if (sample >= tenths.size())
        return false;
    millivolts = tenths[sample] / 10.0;
    return true;
}

bool TraceDisplayModel::CommandRange(size_t trace, double& lowest, double& highest) const {
    const std::vector<int32_t>& tenths = CommandVoltage(trace);
    if (tenths.empty())
        return false;
    const auto [low, high] = std::minmax_element(tenths.begin(), tenths.end());
    lowest = *low / 10.0;
    highest = *high / 10.0;
    return true;
}
