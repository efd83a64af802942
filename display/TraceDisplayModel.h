// What every trace view shows of the loaded recording: the traces (shared, not
// copied), the x position of every sample at the finest zoom, the command
// voltage, and the zoom levels and scroll position. One model is shared (by
// std::shared_ptr) between the main window, the analysis pages and their views,
// so all views show the same zoom and scroll position.
//
// Coordinates: x is time, y is current. At the finest zoom the plot measures
// viewWidth << maxZoomX by viewHeight << maxZoomY units; at zoom levels (zx, zy)
// it measures viewWidth << zx by viewHeight << zy pixels, the finest coordinates
// shifted right by (maxZoomX - zx) and (maxZoomY - zy). Zero current lies at
// y = TotalHeight(), +maxRange/2 at TotalHeight()/2 (y grows downwards).
//
// Nothing per sample is kept for the traces: a view asks for the points of the
// pixel columns it draws, and they are computed from the floats each time (the
// minimum and maximum of every column), so the memory held is that of the
// recording itself plus a few values per sample of one trace.
#pragma once

#include "display/CommandVoltage.h"
#include "recording/SharedFloatArray.h"
#include "recording/TraceStore.h"

#include <cstdint>
#include <string>
#include <vector>

// One polyline vertex in plot pixels. Laid out as two 32-bit ints, like a
// QPoint, so a view can hand a polyline to its painter without copying.
struct PlotPoint {
    int32_t x;
    int32_t y;
    bool operator==(const PlotPoint&) const = default;
};

// Samples [begin, end) of every trace that fall on pixel column x.
struct ColumnRun {
    int32_t x;
    uint32_t begin;
    uint32_t end;
};

class TraceDisplayModel {
public:
    // Range (pA) used when the range asked for is 0 or not finite.
    static constexpr float kDefaultMaxRange = 5000.0f;
    // Zoom levels double the plot until it is at least this many pixels.
    static constexpr uint32_t kFinestPlotExtent = 16384;

    TraceDisplayModel() = default;
    TraceDisplayModel(const TraceDisplayModel&) = delete;
    TraceDisplayModel& operator=(const TraceDisplayModel&) = delete;

    // Takes a loaded recording: x positions from `timeAxis` (microseconds),
    // command voltage from `commandWaveform` (mV), the traces (in their unit,
    // normally pA), which are shared, not copied. Only the first
    // `samplesPerTrace` samples are read, and never more than the time axis holds;
    // a trace without an array plots as 0. A last time value that is 0, negative
    // or not finite spaces the samples evenly instead. `commands` holds each
    // trace's own command (element k for trace k, shared as the store shares
    // them); a trace beyond it, or with none, has `commandWaveform`.
    void SetData(const std::vector<float>& timeAxis, const std::vector<float>& commandWaveform,
                 const std::vector<SharedFloatArray>& traces, uint32_t samplesPerTrace,
                 const std::vector<SharedCommand>& commands = {});
    // Drops the recording: no traces, nothing drawn. Zoom and scroll stay.
    void Clear();

    // Sets the current range (pA) that spans the full plot height at every zoom
    // level; a negative range counts as its magnitude, 0 or not finite as
    // kDefaultMaxRange.
    void SetMaxZoomRange(float maxRange);

    // Sets the plot size at zoom level 0 (pixels). When it changes, recomputes
    // the highest zoom levels, lowers the present levels to them and rescales
    // the x positions. Returns true when the size changed.
    bool SetViewSize(uint32_t width, uint32_t height);

    // Zooms one axis in or out by one level keeping the plot point at view
    // pixel `anchor` (from the view's left or top edge) in place, using and
    // updating scrollX/scrollY (which the caller first sets to the view's
    // scroll position). Without an anchor the middle of the view stays. Does
    // nothing at the limits and then returns false.
    bool ZoomInX(int64_t anchor = -1);
    bool ZoomOutX(int64_t anchor = -1);
    bool ZoomInY(int64_t anchor = -1);
    bool ZoomOutY(int64_t anchor = -1);
    // Zoom level 0 on both axes, scrolled to the start: everything in view.
    void Fit();
    // The deepest levels at which logical pixels left .. right (top .. bottom)
    // of the present zoom still fit the view, scrolled so that they are in
    // view. An empty range leaves that axis alone.
    void ZoomToRect(int64_t left, int64_t top, int64_t right, int64_t bottom);

    // The scrollable plot size at the present zoom levels (pixels).
    int64_t TotalWidth() const;
    int64_t TotalHeight() const;
    // Limits scrollX and scrollY to 0 .. total size - view size.
    void ClampScroll();

    // Present zoom levels limited to the highest ones (the stored levels may
    // come from the settings before any view has measured itself).
    uint32_t EffectiveZoomX() const;
    uint32_t EffectiveZoomY() const;

    // x of sample `sample` at the present zoom level (pixels); the sample is
    // limited to the last one. 0 when nothing is loaded.
    int32_t SampleX(uint32_t sample) const;
    // The sample nearest to plot x `x` at the present zoom (0 when nothing is loaded).
    uint32_t SampleAtX(int64_t x) const;
    // y (pixels, present zoom) at which a current `value` is drawn.
    int32_t PlotY(float value) const {
        const int64_t finest = RoundHalfEvenToInt32(static_cast<float>(value * m_yScale));
        return ClampToInt32((m_finestHeight - finest) >> (maxZoomY - EffectiveZoomY()));
    }
    // The current (pA) drawn at plot y `y` of the present zoom.
    double CurrentAtY(double y) const;
    // The time (microseconds) at plot x `x` of the present zoom.
    double TimeAtX(double x) const;
    // The plot x of time `time` (microseconds) at the present zoom.
    double XAtTime(double time) const;

    // The pixel columns left .. right (logical x of the present zoom) as runs of
    // samples, with the sample before and the one after the range added so that
    // lines leave the range towards them. Empty while nothing is loaded.
    std::vector<ColumnRun> ColumnRuns(int64_t left, int64_t right) const;
    // Appends to `points` the polyline that draws trace `index` over `runs`:
    // in every column its first sample, its lowest and highest, its last
    // (consecutive equal points once). Drawn one pixel wide, these colour the
    // same pixels as the line through every sample. Nothing for an index
    // beyond the traces; NaN samples count as 0 at the ends of a column and
    // are otherwise skipped.
    void AppendTracePoints(size_t index, const std::vector<ColumnRun>& runs,
                           std::vector<PlotPoint>& points) const;

    size_t TraceCount() const { return m_traces.size(); }
    const SharedFloatArray& Trace(size_t index) const { return m_traces[index]; }
    const std::vector<int32_t>& XPositions() const { return m_xPositions; }
    const std::vector<float>& TimeAxis() const { return m_timeAxis; }
    // Command voltage of each sample of episode 1 in tenths of mV.
    const std::vector<int32_t>& CommandVoltage() const { return m_commandVoltage; }
    // Command voltage of each sample of trace `trace`'s own command in tenths
    // of mV (empty without one). Traces that share episode 1's command get
    // CommandVoltage(); another is computed when first asked for and kept
    // until a trace with yet another command is asked for, or new data come:
    // use the result before the next call.
    const std::vector<int32_t>& CommandVoltage(size_t trace) const;
    // Command voltage (mV) of trace `trace` at `sample`; false when the
    // recording has none there.
    bool CommandMillivolts(size_t trace, uint32_t sample, double& millivolts) const;
    // Lowest and highest command voltage (mV) of trace `trace`; false without one.
    bool CommandRange(size_t trace, double& lowest, double& highest) const;

    // The view whose scroll bars last matched the model; opaque to the model.
    const void* ownerView = nullptr;
    uint32_t samplesPerTrace = 0;
    uint32_t maxZoomX = 0;
    uint32_t maxZoomY = 0;
    uint32_t viewWidth = 0;
    uint32_t viewHeight = 0;
    float maxRange = 1.0f; // pA
    uint32_t zoomX = 0;
    uint32_t zoomY = 0;
    int32_t scrollX = 0;
    int32_t scrollY = 0;
    // Unit of the traces' values, shown on the current axis.
    std::string unit = "pA";

private:
    // ZoomInX .. ZoomOutY: one axis (x or y) one level in (+1) or out (-1).
    bool Zoom(bool xAxis, int direction, int64_t anchor);
    static int32_t ClampToInt32(int64_t value) {
        return static_cast<int32_t>(value < INT32_MIN   ? INT32_MIN
                                    : value > INT32_MAX ? INT32_MAX
                                                        : value);
    }
    void ComputeXPositions();
    void UpdateYScale();

    std::vector<int32_t> m_xPositions;
    std::vector<int32_t> m_commandVoltage;
    std::vector<SharedCommand> m_commands; // each trace's own; may be empty
    // The command last asked for that is not episode 1's, and its voltage.
    mutable const EpisodeCommand* m_tenthsOf = nullptr;
    mutable std::vector<int32_t> m_tenths;
    std::vector<SharedFloatArray> m_traces;
    std::vector<float> m_timeAxis; // kept to rescale x when the view size changes
    double m_yScale = 0.0;         // finest plot units per unit of current
    int64_t m_finestHeight = 0;    // viewHeight << maxZoomY
};

// The range (pA) actually used for `range`: its magnitude, or kDefaultMaxRange
// when that is 0 or not finite.
float UsableRange(float range);

// Number of doublings of `extent` needed to reach at least `target` (0 for an
// extent of 0 or one already at least `target`).
uint32_t DoublingsToReach(uint32_t extent, uint32_t target);
