#include "display/TraceDisplayModel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

SharedFloatArray MakeTrace(const std::vector<float>& samples) {
    SharedFloatArray trace = SharedFloatArray::Allocate(samples.size());
    for (size_t i = 0; i < samples.size(); ++i)
        trace[i] = samples[i];
    return trace;
}

std::vector<float> EvenTimeAxis(size_t count, float interval) {
    std::vector<float> times(count);
    for (size_t i = 0; i < count; ++i)
        times[i] = static_cast<float>(i) * interval;
    return times;
}

// A model measured as a 500 x 400 view holding one trace.
struct Loaded {
    TraceDisplayModel model;
    explicit Loaded(const std::vector<float>& samples, float maxRange = 5000.0f) {
        model.SetViewSize(500, 400);
        model.SetMaxZoomRange(maxRange);
        model.SetData(EvenTimeAxis(samples.size(), 100.0f), std::vector<float>(samples.size()),
                      {MakeTrace(samples)}, static_cast<uint32_t>(samples.size()));
    }
};

} // namespace

TEST(TraceDisplayModelZoomLimits, HighestLevelsFollowTheViewSize) {
    EXPECT_EQ(DoublingsToReach(500, 16384), 6u); // 32000 reaches, 16000 does not
    EXPECT_EQ(DoublingsToReach(16384, 16384), 0u);
    EXPECT_EQ(DoublingsToReach(20000, 16384), 0u);
    EXPECT_EQ(DoublingsToReach(16383, 16384), 1u);
    EXPECT_EQ(DoublingsToReach(1, 16384), 14u);
    EXPECT_EQ(DoublingsToReach(0, 16384), 0u);

    TraceDisplayModel model;
    model.zoomX = 9; // e.g. from the settings, before any view measured itself
    model.zoomY = 2;
    EXPECT_TRUE(model.SetViewSize(500, 400));
    EXPECT_EQ(model.maxZoomX, 6u);
    EXPECT_EQ(model.maxZoomY, 6u);
    EXPECT_EQ(model.zoomX, 6u);
    EXPECT_EQ(model.zoomY, 2u);
    EXPECT_FALSE(model.SetViewSize(500, 400));
    model.SetViewSize(16384, 0);
    EXPECT_EQ(model.maxZoomX, 0u);
    EXPECT_EQ(model.maxZoomY, 0u);
}

TEST(TraceDisplayModelScaling, XPositionsSpanTheFinestWidth) {
    TraceDisplayModel model;
    model.SetViewSize(500, 400);
    // 1001 samples 100 us apart: the last one lands on 500 << 6 = 32000.
    model.SetData(EvenTimeAxis(1001, 100.0f), std::vector<float>(1001),
                  {MakeTrace(std::vector<float>(1001))}, 1001);
    ASSERT_EQ(model.XPositions().size(), 1001u);
    EXPECT_EQ(model.XPositions()[0], 0);
    EXPECT_EQ(model.XPositions()[1], 32);
    EXPECT_EQ(model.XPositions()[1000], 32000);
    EXPECT_EQ(model.SampleX(1000), 500); // level 0
    EXPECT_EQ(model.SampleX(5000), 500); // limited to the last sample
}

TEST(TraceDisplayModelScaling, RoundsHalfToEvenAfterHoldingAsFloat) {
    TraceDisplayModel model;
    model.SetViewSize(16384, 16384); // finest = level 0
    model.SetMaxZoomRange(32768.0f); // scale 0.5
    model.SetData(EvenTimeAxis(4, 1.0f), std::vector<float>(4), {MakeTrace({5, 7, -5, -7})}, 4);
    EXPECT_EQ(model.TracePlotValues(0), (std::vector<int32_t>{2, 4, -2, -4}));

    // 768.0009765625 * 16384 / 3 = 4194309.33 in double, 4194309.5 as a float,
    // so the float rounds to 4194310 where the double would give 4194309.
    model.SetMaxZoomRange(3.0f);
    model.SetData(EvenTimeAxis(1, 1.0f), std::vector<float>(1), {MakeTrace({768.0009765625f})}, 1);
    EXPECT_EQ(model.TracePlotValues(0)[0], 4194310);

    // x: 32768 us over 16384 pixels is a scale of 0.5; 5 -> 2.5 -> 2, 7 -> 3.5 -> 4.
    std::vector<float> times{0, 5, 7, 32768};
    model.SetData(times, std::vector<float>(4), {MakeTrace({0, 0, 0, 0})}, 4);
    EXPECT_EQ(model.XPositions(), (std::vector<int32_t>{0, 2, 4, 16384}));
}

TEST(TraceDisplayModelScaling, CommandVoltageInTenthsOfMillivolts) {
    TraceDisplayModel model;
    model.SetViewSize(500, 400);
    model.SetData(EvenTimeAxis(3, 1.0f), {-80.0f, 12.34f, 0.05f}, {MakeTrace({0, 0, 0})}, 3);
    EXPECT_EQ(model.CommandVoltage(), (std::vector<int32_t>{-800, 123, 0}));
}

TEST(TraceDisplayModelScaling, TracesAreSharedNotCopied) {
    SharedFloatArray trace = MakeTrace({1, 2});
    {
        TraceDisplayModel model;
        model.SetData(EvenTimeAxis(2, 1.0f), {0, 0}, {trace}, 2);
        EXPECT_EQ(trace.ownerCount(), 2);
    }
    EXPECT_EQ(trace.ownerCount(), 1);
}

TEST(TraceDisplayModelScaling, RangeChangesRescaleAndInvalidate) {
    Loaded loaded({2500, -2500});
    TraceDisplayModel& model = loaded.model;
    const int32_t finestHeight = 400 << 6;
    EXPECT_EQ(model.TracePlotValues(0),
              (std::vector<int32_t>{finestHeight / 2, -finestHeight / 2}));
    // Zero current is at y 400 (the level-0 height), +2500 pA at 200 and -2500 pA
    // at 600: the top and bottom edges once the view puts its origin at 200.
    EXPECT_EQ(model.Polyline(0)[0].y, 200);
    EXPECT_EQ(model.Polyline(0)[1].y, 600);

    model.SetMaxZoomRange(10000.0f);
    EXPECT_FALSE(model.IsPolylineValid(0));
    EXPECT_EQ(model.Polyline(0)[0].y, 300);
    EXPECT_EQ(model.Polyline(0)[1].y, 500);
}

TEST(TraceDisplayModelScaling, ViewSizeChangeRescalesHeldData) {
    Loaded loaded({2500, -2500});
    TraceDisplayModel& model = loaded.model;
    model.Polyline(0);
    model.SetViewSize(1000, 200); // maxZoomX 5, maxZoomY 7
    EXPECT_FALSE(model.IsPolylineValid(0));
    EXPECT_EQ(model.XPositions()[1], 1000 << 5);
    EXPECT_EQ(model.Polyline(0)[1], (PlotPoint{1000, 300}));
}

TEST(TraceDisplayModelPolyline, DropsConsecutiveDuplicatesPerZoomLevel) {
    // 1001 samples on x = 32 j: two samples share each pixel at level 0.
    std::vector<float> samples(1001, 0.0f);
    samples[500] = 2500.0f; // a single spike
    Loaded loaded(samples);
    TraceDisplayModel& model = loaded.model;

    const std::vector<PlotPoint>& level0 = model.Polyline(0);
    EXPECT_TRUE(model.IsPolylineValid(0));
    // Pairs collapse, except at the spike (x 250 appears with y 200 and 400).
    ASSERT_EQ(level0.size(), 502u);
    EXPECT_EQ(level0.front(), (PlotPoint{0, 400}));
    EXPECT_EQ(level0[250], (PlotPoint{250, 200}));
    EXPECT_EQ(level0[251], (PlotPoint{250, 400}));
    EXPECT_EQ(level0.back(), (PlotPoint{500, 400}));
    for (size_t i = 1; i < level0.size(); ++i)
        EXPECT_FALSE(level0[i] == level0[i - 1]);

    model.scrollX = 0;
    ASSERT_TRUE(model.ZoomInX());
    EXPECT_FALSE(model.IsPolylineValid(0));
    const std::vector<PlotPoint>& level1 = model.Polyline(0);
    ASSERT_EQ(level1.size(), 1001u);
    EXPECT_EQ(level1[500], (PlotPoint{500, 200}));
    EXPECT_EQ(level1.back(), (PlotPoint{1000, 400}));

    ASSERT_TRUE(model.ZoomInY());
    EXPECT_EQ(model.Polyline(0)[499], (PlotPoint{499, 800}));
    EXPECT_EQ(model.Polyline(0)[500], (PlotPoint{500, 400}));

    while (model.ZoomInX()) {
    }
    while (model.ZoomInY()) {
    }
    EXPECT_EQ(model.Polyline(0)[1000], (PlotPoint{32000, 400 << 6}));
    EXPECT_TRUE(model.Polyline(7).empty()); // no such trace
}

TEST(TraceDisplayModelZoom, ZoomKeepsTheMiddleInPlace) {
    Loaded loaded({0, 0});
    TraceDisplayModel& model = loaded.model;

    // Width 500 at level 0, scroll 0: the middle (250) becomes 500 at level 1,
    // shown from 250 on; the limit is 1000 - 500.
    EXPECT_TRUE(model.ZoomInX());
    EXPECT_EQ(model.zoomX, 1u);
    EXPECT_EQ(model.TotalWidth(), 1000);
    EXPECT_EQ(model.scrollX, 250);

    model.scrollX = 500; // right edge at level 1: middle 750 -> 1500
    EXPECT_TRUE(model.ZoomInX());
    EXPECT_EQ(model.scrollX, 1250);
    EXPECT_TRUE(model.ZoomOutX());
    EXPECT_EQ(model.scrollX, 500);
    EXPECT_TRUE(model.ZoomOutX());
    EXPECT_EQ(model.zoomX, 0u);
    EXPECT_EQ(model.scrollX, 0); // (500 + 250) / 2 - 250 = 125, beyond the limit 0
    EXPECT_FALSE(model.ZoomOutX());

    model.scrollY = 0;
    EXPECT_TRUE(model.ZoomInY());
    EXPECT_EQ(model.scrollY, 200);
    model.scrollY = 0;
    EXPECT_TRUE(model.ZoomOutY());
    EXPECT_EQ(model.scrollY, 0); // (0 + 200) / 2 - 200 is negative
}

TEST(TraceDisplayModelZoom, LimitsAndScrollClamping) {
    Loaded loaded({0, 0});
    TraceDisplayModel& model = loaded.model;
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(model.ZoomInX());
    EXPECT_FALSE(model.ZoomInX());
    EXPECT_EQ(model.zoomX, 6u);
    EXPECT_EQ(model.TotalWidth(), 32000);

    model.scrollX = 1'000'000;
    model.scrollY = -7;
    model.ClampScroll();
    EXPECT_EQ(model.scrollX, 32000 - 500);
    EXPECT_EQ(model.scrollY, 0);

    // Levels stored beyond the highest ones act as the highest.
    model.zoomY = 40;
    EXPECT_EQ(model.EffectiveZoomY(), 6u);
    EXPECT_EQ(model.TotalHeight(), 400 << 6);
    EXPECT_FALSE(model.ZoomInY());
    EXPECT_EQ(model.zoomY, 6u);
}

TEST(TraceDisplayModelFaults, UnusableTimeAxisSpacesSamplesEvenly) {
    for (float last : {0.0f, -10.0f, std::numeric_limits<float>::quiet_NaN(),
                       std::numeric_limits<float>::infinity()}) {
        TraceDisplayModel model;
        model.SetViewSize(500, 400);
        std::vector<float> times{0.0f, 0.0f, 0.0f, last};
        model.SetData(times, std::vector<float>(4), {MakeTrace({0, 0, 0, 0})}, 4);
        EXPECT_EQ(model.XPositions(), (std::vector<int32_t>{0, 10667, 21333, 32000})) << last;
    }
}

TEST(TraceDisplayModelFaults, UnusableRangeFallsBackToItsMagnitudeOrDefault) {
    TraceDisplayModel model;
    EXPECT_EQ(model.maxRange, 1.0f);
    model.SetMaxZoomRange(-200.0f);
    EXPECT_EQ(model.maxRange, 200.0f);
    model.SetMaxZoomRange(0.0f);
    EXPECT_EQ(model.maxRange, 5000.0f);
    model.SetMaxZoomRange(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(model.maxRange, 5000.0f);

    Loaded loaded({2500}, -5000.0f);
    EXPECT_EQ(loaded.model.TracePlotValues(0)[0], (400 << 6) / 2);
}

TEST(TraceDisplayModelFaults, NonFiniteAndHugeSamplesAreClamped) {
    const float inf = std::numeric_limits<float>::infinity();
    Loaded loaded({std::numeric_limits<float>::quiet_NaN(), inf, -inf, 1e30f, -1e30f});
    TraceDisplayModel& model = loaded.model;
    const int32_t top = std::numeric_limits<int32_t>::max();
    const int32_t bottom = std::numeric_limits<int32_t>::min();
    EXPECT_EQ(model.TracePlotValues(0), (std::vector<int32_t>{0, top, bottom, top, bottom}));
    // Flipping the largest values must not overflow the plot coordinates.
    while (model.ZoomInY()) {
    }
    const std::vector<PlotPoint>& points = model.Polyline(0);
    ASSERT_EQ(points.size(), 5u);
    const int32_t height = 400 << 6;
    EXPECT_EQ(points[0].y, height);
    EXPECT_EQ(points[1].y, int64_t{height} - top);
    EXPECT_EQ(points[2].y, top); // height - INT32_MIN is beyond the range
}

TEST(TraceDisplayModelFaults, ReadsNoMoreThanTheTimeAxisAndTracesHold) {
    TraceDisplayModel model;
    model.SetViewSize(500, 400);
    // Claims 10 samples but the time axis has 3; the empty trace plots as 0.
    model.SetData(EvenTimeAxis(3, 1.0f), {0, 0, 0}, {MakeTrace({1, 2, 3}), SharedFloatArray()}, 10);
    EXPECT_EQ(model.samplesPerTrace, 3u);
    EXPECT_EQ(model.TracePlotValues(1), (std::vector<int32_t>{0, 0, 0}));
    EXPECT_EQ(model.Polyline(1), (std::vector<PlotPoint>{{0, 400}, {250, 400}, {500, 400}}));
}
