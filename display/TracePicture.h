// Composes the picture of a trace view: the displayed traces in black on
// white, the control and the current trace in their colours, then, mixed in by
// inverting colours, the zero-current line and the sample-region bands.
#pragma once

#include "display/DisplayValues.h"
#include "display/PlotCanvas.h"
#include "display/TraceDisplayModel.h"

#include <array>
#include <cstdint>
#include <vector>

// The display layer's one "no value": a trace index of no trace.
inline constexpr int32_t kNoTrace = -1;

// What one view shows of the shared model.
struct TracePictureContent {
    std::vector<int32_t> displayedTraces; // 0-based; indices beyond the traces are skipped
    int32_t controlIndex = kNoTrace;
    int32_t currentIndex = 0;                          // kNoTrace: none
    std::array<uint32_t, kRegionCount> regionStarts{}; // first sample of each region
    std::array<uint32_t, kRegionCount> regionEnds{};   // last sample of each region
};

// Draws the picture into the canvas's clip, whose origin the caller has set to
// the logical point at the top left of the view: x = scroll x, y = scroll y +
// half the plot height at the present zoom. Each trace is drawn from the
// minimum and maximum of its samples in every pixel column of the clip;
// draws nothing at all while the model holds no recording.
void DrawTracePicture(PlotCanvas& canvas, const TraceDisplayModel& model,
                      const TracePictureContent& content);

// The same picture into a 0xFFRRGGBB buffer (`stride` pixels per row), drawn
// in vertical strips on several threads when there is much to draw: the
// strips share no pixel, and each line is cut to its strip, so the result is
// the one DrawTracePicture gives. `clip` is in pixels; the origin as above.
void DrawTracePictureInStrips(uint32_t* pixels, int width, int height, int stride,
                              const PlotRect& clip, int64_t originX, int64_t originY,
                              const TraceDisplayModel& model, const TracePictureContent& content);
