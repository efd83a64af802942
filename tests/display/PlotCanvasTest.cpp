#include "display/PlotCanvas.h"
#include "display/TracePicture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
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
            std::fill_n(&At(0, y), w, kWhite);
    }
    uint32_t& At(int x, int y) { return pixels[size_t(y + 2) * (width + 4) + x + 2]; }
    PlotCanvas Canvas() { return PlotCanvas(&At(0, 0), width, height, width + 4); }
    int Count(uint32_t pixel) const { return int(std::count(pixels.begin(), pixels.end(), pixel)); }
    bool GuardIntact() const {
        return Count(kGuard) == (width + 4) * (height + 4) - width * height;
    }
};

} // namespace

TEST(PlotCanvasLines, EveryLineHasOnePixelPerStepAlongItsLongerAxis) {
    // Lines from the middle to every point of a square around it, inside the
    // clip and cut by it: a line drawn pixel by pixel has one pixel per column
    // (or row, when steeper) and both its ends.
    for (const int reach : {7, 12}) {
        for (int x = -reach; x <= reach; ++x) {
            for (int y = -reach; y <= reach; ++y) {
                if (std::max(std::abs(x), std::abs(y)) != reach)
                    continue;
                Buffer buffer(21, 21);
                PlotCanvas canvas = buffer.Canvas();
                const PlotPoint points[] = {{10, 10}, {10 + x, 10 + y}};
                canvas.DrawPolyline(points, 2, kBlack);
                const int inside = std::min(reach, 10);
                EXPECT_EQ(buffer.Count(kBlack), inside + 1) << x << "," << y;
                EXPECT_EQ(buffer.At(10, 10), kBlack);
                EXPECT_TRUE(buffer.GuardIntact());
            }
        }
    }
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
        EXPECT_TRUE(buffer.At(10, y) == kBlack || buffer.At(11, y) == kBlack) << y;
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(buffer.At(x, y), kWhite); // left of the clip
    }
    for (int x = 20; x <= 24; ++x)
        EXPECT_EQ(buffer.At(x, 5), kBlack) << x;
    for (int x = 25; x < 30; ++x)
        EXPECT_EQ(buffer.At(x, 5), kWhite) << x;
}

TEST(ColumnRuns, GroupSamplesByColumnWithOneNeighbourEachSide) {
    TraceDisplayModel model;
    model.SetViewSize(16384, 100); // finest = level 0: x = time
    model.SetData({0, 10, 11, 20, 30, 16384}, std::vector<float>(6), {}, 6);
    const auto runs = model.ColumnRuns(15, 25); // samples 3 (x 20), plus 2 and 4 beside it
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].x, 11);
    EXPECT_EQ(runs[1].begin, 3u);
    EXPECT_EQ(runs[2].end, 5u);
    model.SetViewSize(1024, 100); // level 0 is 16 times coarser: 0, 10 and 11 share column 0
    const auto all = model.ColumnRuns(0, 1023);
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0].end, 3u);
    EXPECT_TRUE(model.ColumnRuns(5, 4).empty());
}

// The column points used for drawing must colour exactly the pixels that the
// line through every sample colours, at every zoom level and scroll position.
TEST(TracePoints, ColourTheSamePixelsAsTheLineThroughEverySample) {
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
        const int64_t left = (model.TotalWidth() - 300) / 3; // somewhere inside
        std::vector<PlotPoint> full;
        for (uint32_t j = 0; j < kSamples; ++j)
            full.push_back({model.SampleX(j), model.PlotY(trace[j])});
        std::vector<PlotPoint> reduced;
        model.AppendTracePoints(0, model.ColumnRuns(left, left + 303), reduced);
        if (zoom == 0) {
            EXPECT_LT(reduced.size() * 4, full.size());
        }
        const int64_t originY = model.PlotY(trace[model.SampleAtX(left)]) - 100;
        auto draw = [&](const std::vector<PlotPoint>& points) {
            Buffer buffer(304, 204);
            PlotCanvas canvas = buffer.Canvas();
            canvas.SetOrigin(left, originY); // the trace at the left edge in view
            canvas.DrawPolyline(points.data(), points.size(), kBlack);
            return buffer;
        };
        const Buffer a = draw(full);
        EXPECT_EQ(a.pixels, draw(reduced).pixels) << "zoom " << zoom;
        EXPECT_GT(a.Count(kBlack), 200) << "zoom " << zoom;
    }
}
