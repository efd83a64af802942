#include "display/PlotCanvas.h"
#include "display/TracePicture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <random>
#include <vector>

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFFu;
constexpr uint32_t kBlack = 0xFF000000u;
constexpr uint32_t kGuard = 0xFF123456u;

// A white width x height canvas inside a two-pixel guard frame, so a write
// outside the canvas shows.
struct Buffer {
    int width;
    int height;
    std::vector<uint32_t> pixels;
    Buffer(int w, int h) : width(w), height(h), pixels(size_t(w + 4) * (h + 4), kGuard) {
        for (int y = 0; y < h; ++y)
            std::fill_n(&at(0, y), w, kWhite);
    }
    uint32_t& at(int x, int y) { return pixels[size_t(y + 2) * (width + 4) + x + 2]; }
    PlotCanvas Canvas() { return PlotCanvas(&at(0, 0), width, height, width + 4); }
    int Count(uint32_t pixel) const { return int(std::count(pixels.begin(), pixels.end(), pixel)); }
    bool GuardIntact() const {
        return Count(kGuard) == (width + 4) * (height + 4) - width * height;
    }
};

} // namespace

TEST(PlotCanvasLines, DrawsBothEndsOfEveryLine) {
    Buffer buffer(20, 20);
    PlotCanvas canvas = buffer.Canvas();
    const PlotPoint points[] = {{2, 2}, {2, 6}, {9, 6}, {12, 9}};
    canvas.DrawPolyline(points, 4, kBlack);
    for (int y = 2; y <= 6; ++y)
        EXPECT_EQ(buffer.at(2, y), kBlack) << y;
    for (int x = 2; x <= 9; ++x)
        EXPECT_EQ(buffer.at(x, 6), kBlack) << x;
    for (int d = 0; d <= 3; ++d)
        EXPECT_EQ(buffer.at(9 + d, 6 + d), kBlack) << d;
    EXPECT_EQ(buffer.Count(kBlack), 5 + 7 + 3);
    EXPECT_TRUE(buffer.GuardIntact());
}

TEST(PlotCanvasLines, ExtremeCoordinatesAreClippedNotWrapped) {
    Buffer buffer(30, 20);
    PlotCanvas canvas = buffer.Canvas();
    canvas.SetClip({5, 0, 24, 19});
    const int32_t top = std::numeric_limits<int32_t>::max();
    const int32_t bottom = std::numeric_limits<int32_t>::min();
    // Nearly vertical lines through the clip from far beyond it, and a line
    // wholly outside.
    const PlotPoint points[] = {{10, bottom}, {11, top}, {20, 5}, {top, 5}, {top, bottom}};
    canvas.DrawPolyline(points, 5, kBlack);
    EXPECT_TRUE(buffer.GuardIntact());
    for (int y = 0; y < 20; ++y) {
        EXPECT_TRUE(buffer.at(10, y) == kBlack || buffer.at(11, y) == kBlack) << y;
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(buffer.at(x, y), kWhite); // left of the clip
    }
    for (int x = 20; x <= 24; ++x)
        EXPECT_EQ(buffer.at(x, 5), kBlack) << x;
    for (int x = 25; x < 30; ++x)
        EXPECT_EQ(buffer.at(x, 5), kWhite) << x;
}

TEST(VisiblePolylinePart, IncludesTheLinesEnteringAndLeaving) {
    const std::vector<PlotPoint> points{{0, 0}, {10, 0}, {20, 0}, {30, 0}, {40, 0}};
    EXPECT_EQ(VisiblePolylinePart(points, 15, 25), (std::pair<size_t, size_t>{1, 3}));
    EXPECT_EQ(VisiblePolylinePart(points, 20, 20), (std::pair<size_t, size_t>{1, 3}));
    EXPECT_EQ(VisiblePolylinePart(points, -5, 5), (std::pair<size_t, size_t>{0, 1}));
    EXPECT_EQ(VisiblePolylinePart(points, 35, 99), (std::pair<size_t, size_t>{3, 4}));
    EXPECT_EQ(VisiblePolylinePart(points, 50, 60), (std::pair<size_t, size_t>{4, 4}));
    const auto none = VisiblePolylinePart({}, 0, 10);
    EXPECT_GT(none.first, none.second);
}

// The reduced polyline used for drawing must colour exactly the pixels that the
// full polyline colours, at every zoom level.
TEST(DrawingPolyline, ColoursTheSamePixelsAsTheFullPolyline) {
    constexpr uint32_t kSamples = 5000;
    std::vector<float> times(kSamples);
    SharedFloatArray trace = SharedFloatArray::Allocate(kSamples);
    std::mt19937 random(7);
    std::uniform_real_distribution<float> noise(-300.0f, 300.0f);
    for (uint32_t j = 0; j < kSamples; ++j) {
        times[j] = static_cast<float>(j) * 50.0f;
        trace[j] = (j % 1000 < 500 ? 1500.0f : -1500.0f) + noise(random);
    }
    TraceDisplayModel model;
    model.SetViewSize(300, 200);
    model.SetMaxZoomRange(5000.0f);
    model.SetData(times, std::vector<float>(kSamples), {trace}, kSamples);

    for (uint32_t zoom = 0; zoom <= model.maxZoomX; zoom += 2) {
        model.zoomX = zoom;
        model.zoomY = zoom;
        model.InvalidatePolylines();
        const std::vector<PlotPoint> full = model.Polyline(0);
        const std::vector<PlotPoint>& reduced = model.DrawingPolyline(0);
        if (zoom == 0) {
            EXPECT_LT(reduced.size() * 4, full.size());
        }
        auto draw = [originY = full[0].y - 100](const std::vector<PlotPoint>& points) {
            Buffer buffer(304, 204);
            PlotCanvas canvas = buffer.Canvas();
            canvas.SetOrigin(0, originY); // the upper trace level in view
            canvas.DrawPolyline(points.data(), points.size(), kBlack);
            return buffer;
        };
        const Buffer a = draw(full);
        EXPECT_EQ(a.pixels, draw(reduced).pixels) << "zoom " << zoom;
        EXPECT_GT(a.Count(kBlack), 300);
    }
}
