// The traces of the loaded recording in integer plot coordinates at the finest
// zoom, their cached polylines at the present zoom levels, and the zoom levels
// and scroll position that every trace view shows. One model is shared (by
// std::shared_ptr) between the main window, the analysis pages and their views,
// so all views show the same zoom and scroll position.
//
// Coordinates: x is time, y is current. At the finest zoom the plot measures
// viewWidth << maxZoomX by viewHeight << maxZoomY units; at zoom levels (zx, zy)
// it measures viewWidth << zx by viewHeight << zy pixels, the finest coordinates
// shifted right by (maxZoomX - zx) and (maxZoomY - zy).
#pragma once

#include "recording/SharedFloatArray.h"

#include <cstdint>
#include <vector>

// One polyline vertex in plot pixels. Laid out as two 32-bit ints, like a
// QPoint, so a view can hand a polyline to its painter without copying.
struct PlotPoint {
    int32_t x;
    int32_t y;
    bool operator==(const PlotPoint&) const = default;
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
    // command voltage from `commandWaveform` (mV, kept in tenths of mV), plot
    // values from `traces` (pA), which are shared, not copied. Only the first
    // `samplesPerTrace` samples are read, and never more than the time axis holds;
    // a trace without an array plots as 0. A last time value that is 0, negative
    // or not finite spaces the samples evenly instead. Every polyline is stale
    // afterwards.
    void SetData(const std::vector<float>& timeAxis, const std::vector<float>& commandWaveform,
                 const std::vector<SharedFloatArray>& traces, uint32_t samplesPerTrace);

    // Sets the current range (pA) that spans the full plot height at every zoom
    // level; a negative range counts as its magnitude, 0 or not finite as
    // kDefaultMaxRange. Rescales the plot values of the held traces.
    void SetMaxZoomRange(float maxRange);

    // Sets the plot size at zoom level 0 (pixels). When it changes, recomputes
    // the highest zoom levels, lowers the present levels to them and rescales
    // held data. Returns true when the size changed.
    bool SetViewSize(uint32_t width, uint32_t height);

    // Marks every cached polyline stale; they are rebuilt when next asked for.
    void InvalidatePolylines();

    // The polyline of trace `index` at the present zoom levels in plot pixels,
    // built on demand, with consecutive equal points removed. An index beyond
    // the traces gives an empty polyline.
    const std::vector<PlotPoint>& Polyline(size_t index);

    // The same pixels as Polyline(index) in fewer points, for drawing: each run of
    // points on one x is cut to its first, lowest, highest and last point (the
    // lines between them cover the same column span). Built with the polyline.
    const std::vector<PlotPoint>& DrawingPolyline(size_t index);

    // Whether the cached polyline of `index` matches the present zoom levels.
    bool IsPolylineValid(size_t index) const;

    // Zooms one axis in or out by one level keeping the point in the middle of
    // the view in place, using and updating scrollX/scrollY (which the caller
    // first sets to the view's scroll position). Does nothing at the limits and
    // then returns false.
    bool ZoomInX();
    bool ZoomOutX();
    bool ZoomInY();
    bool ZoomOutY();

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

    size_t TraceCount() const { return traces_.size(); }
    const std::vector<int32_t>& XPositions() const { return xPositions_; }
    // Command voltage of each sample in tenths of mV.
    const std::vector<int32_t>& CommandVoltage() const { return commandVoltage_; }
    // Plot values of trace `index` (below TraceCount()) at the finest zoom, y
    // up, 0 at zero current.
    const std::vector<int32_t>& TracePlotValues(size_t index) const {
        return tracePlotValues_[index];
    }

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

private:
    void ComputeXPositions();
    void ComputePlotValues();
    void BuildPolyline(size_t index);

    std::vector<std::vector<int32_t>> tracePlotValues_;
    std::vector<int32_t> xPositions_;
    std::vector<int32_t> commandVoltage_;
    std::vector<SharedFloatArray> traces_;
    std::vector<std::vector<PlotPoint>> polylines_;
    // Column-reduced polylines; empty where reducing saved little (the polyline
    // is drawn then).
    std::vector<std::vector<PlotPoint>> drawingPolylines_;
    std::vector<uint8_t> polylineValid_;
    std::vector<float> timeAxis_; // kept to rescale x when the view size changes
};

// The range (pA) actually used for `range`: its magnitude, or kDefaultMaxRange
// when that is 0 or not finite.
float UsableRange(float range);

// Number of doublings of `extent` needed to reach at least `target` (0 for an
// extent of 0 or one already at least `target`).
uint32_t DoublingsToReach(uint32_t extent, uint32_t target);
