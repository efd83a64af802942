#include "display/PlotCanvas.h"

#include "platform/ColourRef.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

uint32_t PixelOfColour(uint32_t colourRef) {
    return 0xFF000000u | (uint32_t{ColourRefRed(colourRef)} << 16) |
           (uint32_t{ColourRefGreen(colourRef)} << 8) | ColourRefBlue(colourRef);
}

PlotCanvas::PlotCanvas(uint32_t* pixels, int width, int height, int stride)
    : m_pixels(pixels), m_width(std::max(0, width)), m_height(std::max(0, height)),
      m_stride(stride) {
    SetClip({0, 0, m_width - 1, m_height - 1});
}

void PlotCanvas::SetClip(const PlotRect& deviceClip) {
    m_clip.left = std::max<int64_t>(deviceClip.left, 0);
    m_clip.top = std::max<int64_t>(deviceClip.top, 0);
    m_clip.right = std::min<int64_t>(deviceClip.right, m_width - 1);
    m_clip.bottom = std::min<int64_t>(deviceClip.bottom, m_height - 1);
}

void PlotCanvas::SetOrigin(int64_t x, int64_t y) {
    m_originX = x;
    m_originY = y;
}

PlotRect PlotCanvas::LogicalClip() const {
    return {m_clip.left + m_originX, m_clip.top + m_originY, m_clip.right + m_originX,
            m_clip.bottom + m_originY};
}

PlotRect PlotCanvas::DeviceRect(const PlotRect& logical) const {
    PlotRect device{logical.left - m_originX, logical.top - m_originY, logical.right - m_originX,
                    logical.bottom - m_originY};
    device.left = std::max(device.left, m_clip.left);
    device.top = std::max(device.top, m_clip.top);
    device.right = std::min(device.right, m_clip.right);
    device.bottom = std::min(device.bottom, m_clip.bottom);
    return device;
}

template <class Span> void PlotCanvas::ForEachRowSpan(const PlotRect& logical, Span span) {
    const PlotRect device = DeviceRect(logical);
    if (device.IsEmpty())
        return;
    for (int64_t y = device.top; y <= device.bottom; ++y) {
        uint32_t* row = m_pixels + y * m_stride;
        span(row + device.left, row + device.right + 1);
    }
}

void PlotCanvas::FillRect(const PlotRect& logical, uint32_t pixel) {
    ForEachRowSpan(logical,
                   [pixel](uint32_t* first, uint32_t* end) { std::fill(first, end, pixel); });
}

void PlotCanvas::InvertRect(const PlotRect& logical, uint32_t pixel) {
    ForEachRowSpan(logical, [pixel](uint32_t* first, uint32_t* end) {
        for (uint32_t* at = first; at != end; ++at)
            *at = ~(pixel ^ *at) | 0xFF000000u;
    });
}

void PlotCanvas::DrawPolyline(const PlotPoint* points, size_t count, uint32_t pixel) {
    if (m_clip.IsEmpty())
        return;
    for (size_t i = 1; i < count; ++i) {
        const int64_t x0 = points[i - 1].x - m_originX;
        const int64_t y0 = points[i - 1].y - m_originY;
        const int64_t x1 = points[i].x - m_originX;
        const int64_t y1 = points[i].y - m_originY;
        if ((x0 < m_clip.left && x1 < m_clip.left) || (x0 > m_clip.right && x1 > m_clip.right) ||
            (y0 < m_clip.top && y1 < m_clip.top) || (y0 > m_clip.bottom && y1 > m_clip.bottom))
            continue;
        if (x0 == x1) {
            // A run within one column (most lines at low zoom): cut to the clip
            // directly. The stride is a local: the pixel stores could alias the member.
            const int64_t stride = m_stride;
            const int64_t top = std::max(std::min(y0, y1), m_clip.top);
            uint32_t* at = m_pixels + top * stride + x0;
            for (int64_t n = std::min(std::max(y0, y1), m_clip.bottom) - top; n >= 0;
                 --n, at += stride)
                *at = pixel;
            continue;
        }
        const auto inside = [this](int64_t x, int64_t y) {
            return x >= m_clip.left && x <= m_clip.right && y >= m_clip.top && y <= m_clip.bottom;
        };
        if (inside(x0, y0) && inside(x1, y1))
            DrawLine(x0, y0, x1, y1, pixel);
        else
            DrawClippedLine(static_cast<double>(x0), static_cast<double>(y0),
                            static_cast<double>(x1), static_cast<double>(y1), pixel);
    }
}

namespace {

// Bresenham's walk along a line `dx` (>= 0) wide and `-dy` (dy <= 0) high:
// `plot()` draws the present pixel and tells whether it was the last;
// `stepX()` and `stepY()` move one pixel along each axis.
template <class Plot, class StepX, class StepY>
void WalkLine(int64_t dx, int64_t dy, Plot plot, StepX stepX, StepY stepY) {
    int64_t error = dx + dy;
    while (!plot()) {
        const int64_t twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            stepX();
        }
        if (twice <= dx) {
            error += dx;
            stepY();
        }
    }
}

} // namespace

// Bresenham's line between two pixels inside the clip.
void PlotCanvas::DrawLine(int64_t x0, int64_t y0, int64_t x1, int64_t y1, uint32_t pixel) {
    if (x0 == x1) { // the common case at low zoom: a vertical run in one column
        const int64_t stride = m_stride;
        uint32_t* at = m_pixels + std::min(y0, y1) * stride + x0;
        for (int64_t n = std::llabs(y1 - y0); n >= 0; --n, at += stride)
            *at = pixel;
        return;
    }
    const int64_t dx = std::llabs(x1 - x0);
    const int64_t dy = -std::llabs(y1 - y0);
    const int64_t stepX = x0 < x1 ? 1 : -1;
    const int64_t stepY = y0 < y1 ? m_stride : -static_cast<int64_t>(m_stride);
    uint32_t* at = m_pixels + y0 * m_stride + x0;
    uint32_t* const last = m_pixels + y1 * m_stride + x1;
    WalkLine(
        dx, dy,
        [&] {
            *at = pixel;
            return at == last;
        },
        [&] { at += stepX; }, [&] { at += stepY; });
}

// A line with at least one end outside the clip: cut to the clip (Liang-Barsky),
// then drawn with every pixel checked, since rounding the cut ends may land a
// pixel beyond the clip.
void PlotCanvas::DrawClippedLine(double x0, double y0, double x1, double y1, uint32_t pixel) {
    const double dx = x1 - x0;
    const double dy = y1 - y0;
    double enter = 0.0;
    double leave = 1.0;
    const auto cut = [&](double p, double q) {
        if (p == 0.0)
            return q >= 0.0;
        const double t = q / p;
        if (p < 0.0) {
            if (t > leave)
                return false;
            enter = std::max(enter, t);
        } else {
            if (t < enter)
                return false;
            leave = std::min(leave, t);
        }
        return true;
    };
    const double left = static_cast<double>(m_clip.left) - 0.5;
    const double right = static_cast<double>(m_clip.right) + 0.5;
    const double top = static_cast<double>(m_clip.top) - 0.5;
    const double bottom = static_cast<double>(m_clip.bottom) + 0.5;
    if (!cut(-dx, x0 - left) || !cut(dx, right - x0) || !cut(-dy, y0 - top) ||
        !cut(dy, bottom - y0))
        return;
    int64_t ax = std::llround(x0 + enter * dx);
    int64_t ay = std::llround(y0 + enter * dy);
    const int64_t bx = std::llround(x0 + leave * dx);
    const int64_t by = std::llround(y0 + leave * dy);

    const int64_t adx = std::llabs(bx - ax);
    const int64_t ady = -std::llabs(by - ay);
    const int64_t stepX = ax < bx ? 1 : -1;
    const int64_t stepY = ay < by ? 1 : -1;
    WalkLine(
        adx, ady,
        [&] {
            PlotChecked(ax, ay, pixel);
            return ax == bx && ay == by;
        },
        [&] { ax += stepX; }, [&] { ay += stepY; });
}

void PlotCanvas::PlotChecked(int64_t x, int64_t y, uint32_t pixel) {
    if (x >= m_clip.left && x <= m_clip.right && y >= m_clip.top && y <= m_clip.bottom)
        m_pixels[y * m_stride + x] = pixel;
}
