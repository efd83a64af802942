#include "display/TraceDisplayModel.h"
#include "display/CommandVoltage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace {

SharedFloatArray MakeTrace(const std::vector<float>& samples) {
    SharedFloatArray trace = SharedFloatArray::Allocate(samples.size());
    std::copy(samples.begin(), samples.end(), trace.data());
    return trace;
}

// Measures `model` as a 500 x 400 view and loads one trace, samples 100 us apart.
void Load(TraceDisplayModel& model, const std::vector<float>& samples, float maxRange = 5000.0f) {
    std::vector<float> times(samples.size());
    for (size_t i = 0; i < samples.size(); ++i)
        times[i] = static_cast<float>(i) * 100.0f;
    model.SetViewSize(500, 400);
    model.SetMaxZoomRange(maxRange);
    model.SetData(times, std::vector<float>(samples.size()), {MakeTrace(samples)},
                  static_cast<uint32_t>(samples.size()));
}

// The drawing points of trace `index` over the whole plot width.
std::vector<PlotPoint> Points(const TraceDisplayModel& model, size_t index) {
    std::vector<PlotPoint> points;
    model.AppendTracePoints(index, model.ColumnRuns(0, model.TotalWidth()), points);
    return points;
}

// y of a value at the finest zoom, measured from the zero line upwards.
int64_t FinestY(TraceDisplayModel& model, float value) {
    const uint32_t zoomY = model.zoomY;
    model.zoomY = model.maxZoomY;
    const int64_t y = model.TotalHeight() - model.PlotY(value);
    model.zoomY = zoomY;
    return y;
}

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr int32_t kTop = std::numeric_limits<int32_t>::max();
constexpr int32_t kBottom = std::numeric_limits<int32_t>::min();

} // namespace

TEST(TraceDisplayModel, HighestZoomLevelsFollowTheViewSize) {
    TraceDisplayModel model;
    model.zoomX = 9; // e.g. from the settings, before any view measured itself
    model.zoomY = 2;
    EXPECT_TRUE(model.SetViewSize(500, 400));
    EXPECT_EQ(model.maxZoomX, 6u); // 500 << 6 = 32000 reaches 16384, 16000 does not
    EXPECT_EQ(model.zoomX, 6u);
    EXPECT_EQ(model.zoomY, 2u);
    EXPECT_FALSE(model.SetViewSize(500, 400));
    model.SetViewSize(16384, 0); // already wide enough; no height to double
    EXPECT_EQ(model.maxZoomX, 0u);
    EXPECT_EQ(model.maxZoomY, 0u);
}

TEST(CommandVoltageTenths, TimesTenRoundedHalfToEvenAndDefinedForDamagedValues) {
    // 0.05f x 10 in double is 0.5000000074505806, held as float 0.5: ties to even -> 0.
    // 0.15f x 10 = 1.4999999664723873 -> float 1.5 -> 2; 0.25 -> 2.5 -> 2; 0.35f -> 3.5 -> 4.
    EXPECT_EQ(CommandVoltageTenths({-80.0f, 0.05f, 0.15f, 0.25f, -0.25f, -12.34f, 0.35f}),
              (std::vector<int32_t>{-800, 0, 2, 2, -2, -123, 4}));
    EXPECT_EQ(CommandVoltageTenths({kNaN, kInf, -kInf, 3e9f}),
              (std::vector<int32_t>{0, kTop, kBottom, kTop}));
    EXPECT_EQ(RoundHalfEvenToInt32(-2147483648.0f), kBottom);
    EXPECT_EQ(RoundHalfEvenToInt32(2147483520.0f), 2147483520); // largest float below 2^31
}

TEST(TraceDisplayModel, RoundsHalfToEvenAfterHoldingAsFloat) {
    TraceDisplayModel model;
    model.SetViewSize(16384, 16384); // finest = level 0
    model.SetMaxZoomRange(32768.0f); // scale 0.5
    for (const auto& [value, y] :
         std::vector<std::pair<float, int64_t>>{{5, 2}, {7, 4}, {-5, -2}, {-7, -4}})
        EXPECT_EQ(FinestY(model, value), y) << value;

    // 768.0009765625 * 16384 / 3 = 4194309.33 in double, 4194309.5 as a float,
    // so the float rounds to 4194310 where the double would give 4194309.
    model.SetMaxZoomRange(3.0f);
    EXPECT_EQ(FinestY(model, 768.0009765625f), 4194310);

    // x: 32768 us over 16384 pixels is a scale of 0.5; 5 -> 2.5 -> 2, 7 -> 3.5 -> 4.
    model.SetData({0, 5, 7, 32768}, std::vector<float>(4), {MakeTrace({0, 0, 0, 0})}, 4);
    EXPECT_EQ(model.XPositions(), (std::vector<int32_t>{0, 2, 4, 16384}));
}

TEST(TraceDisplayModel, RangeAndViewSizeChangesRescale) {
    TraceDisplayModel model;
    Load(model, {2500, -2500}, -5000.0f); // a negative range counts as its magnitude
    // Zero current is at y 400 (the level-0 height), +2500 pA at 200 and -2500 pA
    // at 600: the top and bottom edges once the view puts its origin at 200.
    EXPECT_EQ(Points(model, 0), (std::vector<PlotPoint>{{0, 200}, {500, 600}}));
    EXPECT_DOUBLE_EQ(model.CurrentAtY(500), -1250.0);
    model.SetMaxZoomRange(10000.0f);
    EXPECT_EQ(Points(model, 0), (std::vector<PlotPoint>{{0, 300}, {500, 500}}));

    model.SetViewSize(1000, 200); // maxZoomX 5, maxZoomY 7
    EXPECT_EQ(model.XPositions()[1], 1000 << 5);
    EXPECT_EQ(Points(model, 0)[1], (PlotPoint{1000, 250}));
    for (float unusable : {0.0f, kNaN}) {
        model.SetMaxZoomRange(unusable);
        EXPECT_EQ(model.maxRange, 5000.0f) << unusable;
    }
}

TEST(TraceDisplayModel, AColumnOfEqualSamplesIsOnePoint) {
    // 1001 samples on x = 32 j: two samples share each pixel at level 0.
    std::vector<float> samples(1001, 0.0f);
    samples[500] = 2500.0f; // a single spike
    TraceDisplayModel model;
    Load(model, samples);
    const std::vector<PlotPoint> level0 = Points(model, 0);
    // Pairs collapse, except at the spike (x 250 appears with y 200 and 400).
    ASSERT_EQ(level0.size(), 502u);
    EXPECT_EQ(level0[250], (PlotPoint{250, 200}));
    EXPECT_EQ(level0[251], (PlotPoint{250, 400}));
}

TEST(TraceDisplayModel, NonFiniteAndHugeSamplesAreClamped) {
    TraceDisplayModel model;
    Load(model, {kNaN, kInf, -kInf, 1e30f, -1e30f});
    EXPECT_EQ(FinestY(model, kNaN), 0);
    EXPECT_EQ(FinestY(model, 1e30f), kTop);
    // Flipping the largest values must not overflow the plot coordinates.
    while (model.ZoomInY()) {
    }
    const std::vector<PlotPoint> points = Points(model, 0);
    ASSERT_EQ(points.size(), 5u);
    EXPECT_EQ(points[0].y, 400 << 6);
    EXPECT_EQ(points[1].y, int64_t{400 << 6} - kTop);
    EXPECT_EQ(points[2].y, kTop); // height - INT32_MIN is beyond the range
}

TEST(TraceDisplayModel, DamagedTimeAxisOrSampleCountStaysInBounds) {
    TraceDisplayModel model;
    model.SetViewSize(500, 400);
    // A last time that is no use spaces the samples evenly.
    for (float last : {0.0f, kInf}) {
        model.SetData({0, 0, 0, last}, std::vector<float>(4), {MakeTrace({0, 0, 0, 0})}, 4);
        EXPECT_EQ(model.XPositions(), (std::vector<int32_t>{0, 10667, 21333, 32000})) << last;
    }
    // Claims 10 samples but the time axis has 3; the empty trace plots as 0.
    model.SetData({0, 1, 2}, {-80.0f, 12.34f, 0.05f}, {MakeTrace({1, 2, 3}), SharedFloatArray()},
                  10);
    EXPECT_EQ(model.samplesPerTrace, 3u);
    EXPECT_EQ(model.CommandVoltage(), (std::vector<int32_t>{-800, 123, 0}));
    EXPECT_EQ(Points(model, 1), (std::vector<PlotPoint>{{0, 400}, {250, 400}, {500, 400}}));
    EXPECT_TRUE(Points(model, 7).empty()); // no such trace
}

TEST(TraceDisplayModel, MousePositionsMapToSamplesTimesAndCurrents) {
    TraceDisplayModel model;
    Load(model, std::vector<float>(1001, 0.0f)); // x = 32 j at the finest zoom, j / 2 at level 0
    EXPECT_EQ(model.SampleAtX(-5), 0u);
    EXPECT_EQ(model.SampleAtX(9999), 1000u);
    EXPECT_EQ(model.SampleX(5000), 500);           // limited to the last sample
    EXPECT_DOUBLE_EQ(model.TimeAtX(250), 50000.0); // half of 100 ms
    EXPECT_DOUBLE_EQ(model.XAtTime(50000.0), 250.0);
    ASSERT_TRUE(model.ZoomInX());
    EXPECT_EQ(model.SampleAtX(301), 301u);
    EXPECT_NEAR(model.CurrentAtY(model.PlotY(1234.0f)), 1234.0, 12.5); // one pixel is 12.5 pA

    model.Clear();
    EXPECT_EQ(model.SampleAtX(100), 0u);
    EXPECT_DOUBLE_EQ(model.TimeAtX(100), 0.0);
    EXPECT_TRUE(model.ColumnRuns(0, 500).empty());
}

TEST(TraceDisplayModel, ZoomKeepsItsAnchorInPlaceWithinTheLimits) {
    TraceDisplayModel model;
    Load(model, {0, 0});
    // Width 500, anchored at view pixel 100 then the middle: out again retraces the way in.
    EXPECT_TRUE(model.ZoomInX(100));
    EXPECT_TRUE(model.ZoomInX());
    EXPECT_EQ(model.scrollX, 450); // (100 + 250) * 2 - 250
    EXPECT_TRUE(model.ZoomOutX());
    EXPECT_EQ(model.scrollX, 100);
    EXPECT_TRUE(model.ZoomOutX(100));
    EXPECT_EQ(model.scrollX, 0);

    while (model.ZoomInX()) {
    }
    EXPECT_EQ(model.TotalWidth(), 32000); // level 6
    model.scrollX = 1'000'000;
    model.scrollY = -7;
    model.ClampScroll();
    EXPECT_EQ(model.scrollX, 32000 - 500);
    EXPECT_EQ(model.scrollY, 0);
    // Levels stored beyond the highest ones act as the highest.
    model.zoomY = 40;
    EXPECT_EQ(model.TotalHeight(), 400 << 6);
    EXPECT_FALSE(model.ZoomInY());
    EXPECT_EQ(model.zoomY, 6u);

    model.scrollY = 9;
    model.Fit();
    EXPECT_EQ(model.scrollX + model.scrollY, 0);
    // 100 x 50 pixels of a 500 x 400 view: two levels on x (400 <= 500), three on y.
    model.ZoomToRect(200, 100, 299, 149);
    EXPECT_EQ(model.zoomX, 2u);
    EXPECT_EQ(model.zoomY, 3u);
    EXPECT_EQ(model.scrollX, 998 - 250); // the rectangle's middle in the view's middle
    EXPECT_EQ(model.scrollY, 996 - 200);
    model.ZoomToRect(10, 10, 10, 10); // empty: nothing changes
    EXPECT_EQ(model.zoomX, 2u);
}

// The vector scan of a column gives the points that reading every sample one
// by one gives, for columns of 1 to about 1200 samples, NaN among them.
TEST(TraceDisplayModel, ColumnExtremesEqualThoseOfEverySample) {
    constexpr uint32_t kSamples = 20011;
    std::vector<float> samples(kSamples);
    std::vector<float> times(kSamples);
    uint32_t state = 12345;
    for (uint32_t j = 0; j < kSamples; ++j) {
        state = state * 1664525u + 1013904223u;
        samples[j] =
            (state >> 20) % 97 == 0 ? kNaN : static_cast<float>(state >> 16) / 30.0f - 1000.0f;
        times[j] = static_cast<float>(j) * 100.0f;
    }
    for (uint32_t width : {17u, 100u, 333u, 1000u, 5000u, 30000u}) {
        TraceDisplayModel model;
        model.SetViewSize(width, 400);
        model.SetMaxZoomRange(5000.0f);
        model.SetData(times, std::vector<float>(kSamples), {MakeTrace(samples)}, kSamples);
        const std::vector<ColumnRun> runs = model.ColumnRuns(0, model.TotalWidth());
        std::vector<PlotPoint> expected;
        const auto add = [&](int32_t x, float value) {
            const PlotPoint point{x, model.PlotY(value)};
            if (expected.empty() || !(expected.back() == point))
                expected.push_back(point);
        };
        for (const ColumnRun& run : runs) {
            add(run.x, samples[run.begin]);
            if (run.end - run.begin < 2)
                continue;
            float lowest = kInf;
            float highest = -kInf;
            for (uint32_t j = run.begin; j < run.end; ++j) {
                if (!std::isnan(samples[j])) {
                    lowest = std::min(lowest, samples[j]);
                    highest = std::max(highest, samples[j]);
                }
            }
            if (lowest <= highest) {
                add(run.x, highest);
                add(run.x, lowest);
            }
            add(run.x, samples[run.end - 1]);
        }
        EXPECT_EQ(Points(model, 0), expected) << "width " << width;
    }
}

namespace {

SharedCommand Command(std::vector<float> waveform) {
    auto command = std::make_shared<EpisodeCommand>();
    command->waveform = std::move(waveform);
    return command;
}

} // namespace

TEST(TraceDisplayModel, EachTraceReadsItsOwnCommand) {
    // Traces 1 and 3 share episode 1's command, trace 2 has its own (the ramp
    // starts a sample later), trace 4 has none listed: episode 1's.
    const SharedCommand first = Command({-80.0f, -80.0f, 12.34f, 0.05f});
    const SharedCommand moved = Command({-80.0f, -80.0f, -80.0f, 40.0f});
    const std::vector<SharedFloatArray> traces(4, MakeTrace({0, 0, 0, 0}));
    TraceDisplayModel model;
    model.SetViewSize(500, 400);
    model.SetData({0, 100, 200, 300}, first->waveform, traces, 4, {first, moved, first});

    const std::vector<int32_t> episode1 = {-800, -800, 123, 0};
    EXPECT_EQ(&model.CommandVoltage(0), &model.CommandVoltage());
    EXPECT_EQ(&model.CommandVoltage(2), &model.CommandVoltage()) << "shared, not computed again";
    EXPECT_EQ(model.CommandVoltage(3), episode1);
    EXPECT_EQ(model.CommandVoltage(1), (std::vector<int32_t>{-800, -800, -800, 400}));
    EXPECT_EQ(model.CommandVoltage(), episode1) << "episode 1's stays as it was";

    double mv = 0.0;
    ASSERT_TRUE(model.CommandMillivolts(1, 2, mv));
    EXPECT_DOUBLE_EQ(mv, -80.0);
    ASSERT_TRUE(model.CommandMillivolts(2, 2, mv));
    EXPECT_DOUBLE_EQ(mv, 12.3);
    EXPECT_FALSE(model.CommandMillivolts(1, 4, mv));
    double low = 0.0;
    double high = 0.0;
    ASSERT_TRUE(model.CommandRange(1, low, high));
    EXPECT_DOUBLE_EQ(high, 40.0);

    // New data forget the commands of the old (the same addresses may come back).
    model.SetData({0, 100, 200, 300}, moved->waveform, traces, 4);
    EXPECT_EQ(model.CommandVoltage(1), model.CommandVoltage());
    EXPECT_EQ(model.CommandVoltage(1)[3], 400);
    model.Clear();
    EXPECT_TRUE(model.CommandVoltage(1).empty());
    EXPECT_FALSE(model.CommandRange(1, low, high));
}
