// Composes the picture of a trace view: the displayed traces in black on
// white, the control and the current trace in their colours, then, mixed in by
// inverting colours, the zero-current line and the sample-region bands.
#pragma once

#include "display/DisplayValues.h"
#include "display/PlotCanvas.h"
#include "display/TraceDisplayModel.h"

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

// What one view shows of the shared model.
struct TracePictureContent {
    std::vector<int32_t> displayedTraces; // 0-based; indices beyond the traces are skipped
    int32_t controlIndex = -1;            // -1: none
    int32_t currentIndex = 0;             // -1: none
    std::array<uint32_t, kRegionCount> regionStarts{}; // first sample of each region
    std::array<uint32_t, kRegionCount> regionEnds{};   // last sample of each region
};

// The points of a polyline sorted by x to draw for the logical x range left ..
// right: from the point before the first one at or right of `left` to the first
// one right of `right` (limited to the polyline), as [first, last] indices.
// first > last when there is nothing to draw.
std::pair<size_t, size_t> VisiblePolylinePart(const std::vector<PlotPoint>& points, int64_t left,
                                              int64_t right);

// Draws the picture into the canvas's clip, whose origin the caller has set to
// the logical point at the top left of the view: x = scroll x, y = scroll y +
// half the plot height at the present zoom. Builds stale polylines on the way;
// draws nothing at all while the model holds no recording.
void DrawTracePicture(PlotCanvas& canvas, TraceDisplayModel& model,
                      const TracePictureContent& content);
