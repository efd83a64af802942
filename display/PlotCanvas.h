// Drawing into a 32-bit pixel buffer laid out like a Qt RGB32 image (one
// 0xFFRRGGBB value per pixel, rows `stride` pixels apart): one-pixel polylines,
// filled rectangles and the inverting mix used for the zero line and the
// sample-region bands. Coordinates are logical plot coordinates (64-bit, so
// the plot values of wild samples cannot overflow); the origin given says which
// logical point lands on pixel (0, 0). Nothing is ever written outside the clip.
#pragma once

#include "display/TraceDisplayModel.h"

#include <cstddef>
#include <cstdint>

// An inclusive rectangle of pixels or logical units; empty when right < left
// or bottom < top.
struct PlotRect {
    int64_t left = 0;
    int64_t top = 0;
    int64_t right = -1;
    int64_t bottom = -1;
    bool IsEmpty() const { return right < left || bottom < top; }
};

// The buffer value of a colour given as 0x00BBGGRR.
uint32_t PixelOfColour(uint32_t colourRef);

class PlotCanvas {
public:
    // A canvas over `pixels` (not owned) of width x height pixels; the clip is
    // the whole buffer and the origin (0, 0).
    PlotCanvas(uint32_t* pixels, int width, int height, int stride);

    // Limits drawing to `deviceClip` (pixels) within the buffer.
    void SetClip(const PlotRect& deviceClip);
    // The logical point drawn at pixel (0, 0).
    void SetOrigin(int64_t x, int64_t y);
    // The clip in logical coordinates.
    PlotRect LogicalClip() const;

    // Fills the part of `logical` inside the clip with `pixel`.
    void FillRect(const PlotRect& logical, uint32_t pixel);
    // Mixes `pixel` into the part of `logical` inside the clip by inverted
    // exclusive or: on white it shows as itself, and mixing it twice restores
    // what was there.
    void InvertRect(const PlotRect& logical, uint32_t pixel);
    // Draws lines one pixel wide through `count` points, both ends of every line
    // included, the parts outside the clip left out.
    void DrawPolyline(const PlotPoint* points, size_t count, uint32_t pixel);

private:
    // Calls span(first, end) for each row of the logical rectangle's pixels
    // within the clip.
    template <class Span> void ForEachRowSpan(const PlotRect& logical, Span span);
    PlotRect DeviceRect(const PlotRect& logical) const;
    void DrawLine(int64_t x0, int64_t y0, int64_t x1, int64_t y1, uint32_t pixel);
    void DrawClippedLine(double x0, double y0, double x1, double y1, uint32_t pixel);
    void PlotChecked(int64_t x, int64_t y, uint32_t pixel);

    uint32_t* m_pixels;
    int m_width;
    int m_height;
    int m_stride;
    PlotRect m_clip;
    int64_t m_originX = 0;
    int64_t m_originY = 0;
};
