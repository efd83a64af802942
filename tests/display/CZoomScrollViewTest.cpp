#include "display/qt/CZoomScrollView.h"
#include "display/DisplayValues.h"
#include "display/TraceDisplayModel.h"

#include <QApplication>
#include <QPaintEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <vector>

namespace {

constexpr QRgb kMagenta = 0xFFFF00FFu;
constexpr QRgb kWhite = 0xFFFFFFFFu;
constexpr QRgb kBlack = 0xFF000000u;

QRgb Rgb(ColourRef colour) {
    return qRgb(RedOf(colour), GreenOf(colour), BlueOf(colour));
}

// 1001 samples 100 us apart, each trace at a constant current (pA).
std::shared_ptr<TraceDisplayModel> MakeModel(const std::vector<float>& levels,
                                             float maxRange = 5000.0f) {
    constexpr uint32_t kSamples = 1001;
    std::vector<float> times(kSamples);
    for (uint32_t j = 0; j < kSamples; ++j)
        times[j] = static_cast<float>(j) * 100.0f;
    std::vector<SharedFloatArray> traces;
    for (float level : levels) {
        SharedFloatArray trace = SharedFloatArray::Allocate(kSamples);
        for (uint32_t j = 0; j < kSamples; ++j)
            trace[j] = level;
        traces.push_back(trace);
    }
    auto model = std::make_shared<TraceDisplayModel>();
    model->SetMaxZoomRange(maxRange);
    model->SetData(times, std::vector<float>(kSamples, -80.0f), traces, kSamples);
    return model;
}

// Paints the view's viewport into an image first filled with magenta, so
// anything the view leaves unpainted shows.
QImage Render(CZoomScrollView& view) {
    QImage image(view.viewport()->size(), QImage::Format_RGB32);
    image.fill(kMagenta);
    view.viewport()->render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
    return image;
}

class ViewTest : public testing::Test {
protected:
    void SetUp() override {
        ResetDisplayValues();
        view.resize(600, 450);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    }
    void TearDown() override { ResetDisplayValues(); }

    void Load(const std::shared_ptr<TraceDisplayModel>& loaded) {
        model = loaded;
        view.SetDisplayModel(model);
    }
    // Device row of a constant trace at level 0 with scroll 0.
    int RowOf(size_t trace) {
        return model->Polyline(trace)[0].y - static_cast<int>(model->TotalHeight() / 2);
    }
    int ZeroRow() const { return static_cast<int>(model->TotalHeight() / 2); }

    CZoomScrollView view;
    std::shared_ptr<TraceDisplayModel> model;
};

} // namespace

TEST_F(ViewTest, PaintsNothingWithoutARecording) {
    QImage image = Render(view);
    EXPECT_EQ(image.pixel(10, 10), kMagenta); // no model
    Load(std::make_shared<TraceDisplayModel>());
    image = Render(view);
    for (int y = 0; y < image.height(); y += 7)
        for (int x = 0; x < image.width(); x += 7)
            ASSERT_EQ(image.pixel(x, y), kMagenta) << x << "," << y;
}

TEST_F(ViewTest, ZeroLineOnTheZeroRowAndOnlyWhenWanted) {
    Load(MakeModel({0}));
    view.SetCurrentTrace(-1);
    view.SetDisplayedTraces({});
    QImage image = Render(view);
    const int zero = ZeroRow();
    EXPECT_EQ(zero, int(model->viewHeight / 2));
    for (int x = 0; x < image.width(); x += 13)
        EXPECT_EQ(image.pixel(x, zero), Rgb(g_crZeroLine)) << x;
    EXPECT_EQ(image.pixel(50, zero - 1), kWhite);
    EXPECT_EQ(image.pixel(50, zero + 1), kWhite);

    g_bShowZeroCurrentLine = false;
    image = Render(view);
    EXPECT_EQ(image.pixel(50, zero), kWhite);
}

TEST_F(ViewTest, TracesInBlackAndTheHighlightedOnesInTheirColours) {
    Load(MakeModel({1000, -1000, 2000}));
    view.SetDisplayedTraces({0, 1, 2, 7, -3}); // 7 and -3 are no traces: skipped
    view.SetCurrentTrace(3);                   // beyond the traces: none
    EXPECT_EQ(view.CurrentTrace(), -1);
    view.SetCurrentTrace(1);
    view.SetControlTrace(2);
    const QImage image = Render(view);
    EXPECT_EQ(image.pixel(100, RowOf(0)), kBlack);
    EXPECT_EQ(image.pixel(100, RowOf(1)), Rgb(g_crCurrentTrace));
    EXPECT_EQ(image.pixel(100, RowOf(2)), Rgb(g_crControlTrace));
    EXPECT_EQ(image.pixel(100, RowOf(0) + 3), kWhite);
    // Traces run from the first to the last sample, across the plot width.
    EXPECT_EQ(image.pixel(0, RowOf(0)), kBlack);
    EXPECT_EQ(image.pixel(int(model->viewWidth), RowOf(0)), kBlack);
    EXPECT_EQ(image.pixel(int(model->viewWidth) + 1, RowOf(0)), kWhite);
}

TEST_F(ViewTest, FullRangeSpansTheScrollableHeight) {
    Load(MakeModel({2500, -2500}, 5000.0f));
    view.SetDisplayedTraces({0, 1});
    view.SetCurrentTrace(-1);
    const QImage image = Render(view);
    EXPECT_EQ(RowOf(0), 0);
    EXPECT_EQ(image.pixel(100, 0), kBlack); // +2500 pA at the top edge
    EXPECT_EQ(image.pixel(100, 1), kWhite);
    EXPECT_EQ(RowOf(1), int(model->viewHeight)); // -2500 pA just below the bottom
    EXPECT_EQ(image.pixel(100, int(model->viewHeight)), kBlack);
}

TEST_F(ViewTest, BandsShowTheirColourCancelTwiceAndMix) {
    Load(MakeModel({0}));
    view.SetCurrentTrace(-1);
    g_bShowZeroCurrentLine = false;
    view.SetRegion(600, 200, 0); // stored ordered
    EXPECT_EQ(view.RegionStart(0), 200u);
    EXPECT_EQ(view.RegionEnd(0), 600u);
    QImage image = Render(view);
    const int left = model->SampleX(200);
    const int right = model->SampleX(600);
    EXPECT_EQ(image.pixel(left, 20), Rgb(g_crSelection[0]));
    EXPECT_EQ(image.pixel(right, image.height() - 1), Rgb(g_crSelection[0]));
    EXPECT_EQ(image.pixel(left - 1, 20), kWhite);
    EXPECT_EQ(image.pixel(right + 1, 20), kWhite);

    // The same band in the same colour twice vanishes (entries 0 and 3 are equal
    // before any settings are read).
    ASSERT_EQ(g_crSelection[3], g_crSelection[0]);
    view.SetRegion(200, 600, 3);
    image = Render(view);
    EXPECT_EQ(image.pixel(left, 20), kWhite);
    EXPECT_EQ(image.pixel((left + right) / 2, 20), kWhite);

    // A sub-section: ramp colour laid again over it cancels, leaving the
    // sub-section colour there and the ramp colour around it.
    view.SetRegion(0, 0, 3);
    g_crSelection[4] = g_crSelection[0];
    view.SetRegion(300, 400, 2);
    view.SetRegion(300, 400, 4);
    image = Render(view);
    EXPECT_EQ(image.pixel(model->SampleX(350), 20), Rgb(g_crSelection[2]));
    EXPECT_EQ(image.pixel(model->SampleX(250), 20), Rgb(g_crSelection[0]));
}

TEST_F(ViewTest, EmptyAndOutOfRangeRegions) {
    Load(MakeModel({0}));
    view.SetCurrentTrace(-1);
    g_bShowZeroCurrentLine = false;
    view.SetRegion(500, 500, 1);   // start equals end: not drawn
    view.SetRegion(900, 50000, 0); // clamped to the last sample
    view.SetRegion(2000, 3000, 5); // both beyond: equal after clamping
    view.SetRegion(1, 2, 6);       // no such region
    EXPECT_EQ(view.RegionStart(6), 0u);
    const QImage image = Render(view);
    EXPECT_EQ(image.pixel(model->SampleX(500), 20), kWhite);
    EXPECT_EQ(image.pixel(model->SampleX(1000), 20), Rgb(g_crSelection[0]));
    EXPECT_EQ(image.pixel(model->SampleX(1000) + 1, 20), kWhite);
}

namespace {

// Records the areas the view repaints.
class RecordingView : public CZoomScrollView {
public:
    std::vector<QRect> painted;

protected:
    void paintEvent(QPaintEvent* event) override {
        painted.push_back(event->rect());
        CZoomScrollView::paintEvent(event);
    }
};

} // namespace

TEST(ViewRegionUpdate, RepaintsOnlyTheStripThatChanged) {
    ResetDisplayValues();
    RecordingView view;
    view.resize(600, 450);
    auto model = MakeModel({0});
    view.SetDisplayModel(model);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    view.SetRegion(100, 500, 0);
    QApplication::processEvents();
    view.painted.clear();

    view.SetRegion(100, 520, 0); // the end moves by 20 samples
    QApplication::processEvents();
    ASSERT_FALSE(view.painted.empty());
    QRect all;
    for (const QRect& rect : view.painted)
        all |= rect;
    EXPECT_LE(all.left(), model->SampleX(500));
    EXPECT_GE(all.right(), model->SampleX(520));
    EXPECT_LT(all.width(), 20); // not the whole view

    view.painted.clear();
    view.SetRegion(520, 100, 0); // the same region, ordered: nothing to do
    QApplication::processEvents();
    EXPECT_TRUE(view.painted.empty());

    // New display colours: every view repaints in full.
    CZoomScrollView::UpdateAllViews();
    QApplication::processEvents();
    ASSERT_FALSE(view.painted.empty());
    EXPECT_EQ(view.painted.back(), view.viewport()->rect());
}

TEST_F(ViewTest, ZoomKeepsTheMiddleAndTellsThePages) {
    Load(MakeModel({0}));
    QSignalSpy zoomed(&view, &CZoomScrollView::zoomChanged);
    const int width = int(model->viewWidth);
    EXPECT_FALSE(view.CanZoomOutX());
    view.ZoomOutX(); // at the limit: nothing
    EXPECT_EQ(zoomed.count(), 0);

    view.ZoomInX();
    EXPECT_EQ(zoomed.count(), 1);
    EXPECT_EQ(model->zoomX, 1u);
    EXPECT_EQ(view.horizontalScrollBar()->maximum(), width);
    EXPECT_EQ(view.horizontalScrollBar()->value(), width / 2);
    EXPECT_EQ(model->scrollX, width / 2);
    EXPECT_TRUE(view.CanZoomOutX());

    while (view.CanZoomInX())
        view.ZoomInX();
    EXPECT_EQ(model->zoomX, model->maxZoomX);
    const int count = zoomed.count();
    view.ZoomInX();
    EXPECT_EQ(zoomed.count(), count);

    view.ZoomInY();
    EXPECT_EQ(model->zoomY, 1u);
    EXPECT_EQ(view.verticalScrollBar()->value(), int(model->viewHeight) / 2);
    // Zero current is now at the bottom edge of the part shown (scrolled half down).
    view.SetCurrentTrace(-1);
    const QImage image = Render(view);
    EXPECT_EQ(image.pixel(10, int(model->viewHeight) / 2), Rgb(g_crZeroLine));
}

TEST_F(ViewTest, AnotherViewTakesTheZoomAndScrollOver) {
    Load(MakeModel({0}));
    CZoomScrollView other;
    other.resize(600, 450);
    other.SetDisplayModel(model);
    other.show(); // both shown: only painting hands the state over
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
    view.ZoomInX();
    view.ZoomInX();
    view.horizontalScrollBar()->setValue(123);
    EXPECT_EQ(model->scrollX, 123);
    EXPECT_EQ(model->ownerView, &view);
    EXPECT_EQ(other.horizontalScrollBar()->value(), 0); // not painted since

    Render(other);
    EXPECT_EQ(model->ownerView, &other);
    EXPECT_EQ(other.horizontalScrollBar()->value(), 123);
    EXPECT_EQ(other.horizontalScrollBar()->maximum(), int(model->TotalWidth() - model->viewWidth));

    other.horizontalScrollBar()->setValue(200);
    EXPECT_EQ(model->scrollX, 200);
    EXPECT_EQ(view.horizontalScrollBar()->value(), 123); // stale until painted
    Render(view);
    EXPECT_EQ(view.horizontalScrollBar()->value(), 200);
    EXPECT_EQ(model->ownerView, &view);

    // Scrolling the view that is not the owner makes it the owner; its position holds.
    other.horizontalScrollBar()->setValue(50);
    Render(other);
    EXPECT_EQ(other.horizontalScrollBar()->value(), 50);
    EXPECT_EQ(model->scrollX, 50);
}

TEST_F(ViewTest, DestroyedOwnerLeavesItsScrollPositionAndNoPointer) {
    Load(MakeModel({0}));
    {
        CZoomScrollView other;
        other.resize(600, 450);
        other.SetDisplayModel(model);
        other.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
        other.ZoomInY();
        Render(other);
        other.verticalScrollBar()->setValue(77);
        EXPECT_EQ(model->ownerView, &other);
    }
    EXPECT_EQ(model->ownerView, nullptr);
    EXPECT_EQ(model->scrollY, 77);
}

TEST_F(ViewTest, WheelScrollsVerticallyAndWithShiftHorizontally) {
    Load(MakeModel({0}));
    view.ZoomInX();
    view.ZoomInY();
    view.horizontalScrollBar()->setValue(0);
    view.verticalScrollBar()->setValue(0);
    const QPointF at(50, 50);
    QWheelEvent down(at, view.mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view.viewport(), &down);
    EXPECT_GT(view.verticalScrollBar()->value(), 0);
    EXPECT_EQ(view.horizontalScrollBar()->value(), 0);

    QWheelEvent right(at, view.mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::ShiftModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view.viewport(), &right);
    EXPECT_GT(view.horizontalScrollBar()->value(), 0);
}

TEST_F(ViewTest, ResizingRescalesTheSharedModel) {
    Load(MakeModel({1000}));
    EXPECT_EQ(view.objectName(), "GraphWindow");
    EXPECT_EQ(model->maxZoomX, DoublingsToReach(model->viewWidth, 16384));
    view.resize(900, 300);
    QApplication::processEvents();
    EXPECT_EQ(model->viewWidth, uint32_t(view.viewport()->width() - CZoomScrollView::kPlotMargin));
    EXPECT_EQ(model->SampleX(1000), int32_t(model->viewWidth));
    view.SetCurrentTrace(0);
    const QImage image = Render(view);
    EXPECT_EQ(image.pixel(int(model->viewWidth) - 1, RowOf(0)), Rgb(g_crCurrentTrace));
}

TEST_F(ViewTest, WildSamplesAndTimeAxisDrawWithoutHarm) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    auto wild = std::make_shared<TraceDisplayModel>();
    wild->SetMaxZoomRange(-200.0f);
    SharedFloatArray trace = SharedFloatArray::Allocate(6);
    const float samples[] = {nan, inf, -inf, 1e30f, -1e30f, 0.0f};
    for (int j = 0; j < 6; ++j)
        trace[j] = samples[j];
    wild->SetData({0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}, {trace}, 6);
    Load(wild);
    view.SetDisplayedTraces({0});
    for (int level = 0; level < 8; ++level) {
        const QImage image = Render(view);
        EXPECT_NE(image.pixel(5, 5), kMagenta);
        view.ZoomInX();
        view.ZoomInY();
    }
}
