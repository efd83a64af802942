#include "display/qt/CZoomScrollView.h"
#include "display/DisplayValues.h"
#include "display/TraceDisplayModel.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

constexpr QRgb kMagenta = 0xFFFF00FFu;
constexpr QRgb kWhite = 0xFFFFFFFFu;
constexpr QRgb kBlack = 0xFF000000u;

QRgb Rgb(ColourRef colour) {
    return qRgb(ColourRefRed(colour), ColourRefGreen(colour), ColourRefBlue(colour));
}

// Paints the viewport into an image first filled with magenta, so anything the
// view leaves unpainted shows.
QImage Render(CZoomScrollView& view) {
    QImage image(view.viewport()->size(), QImage::Format_RGB32);
    image.fill(kMagenta);
    view.viewport()->render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
    return image;
}

void SendMouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(at), widget->mapToGlobal(QPointF(at)), button, buttons,
                      modifiers);
    QApplication::sendEvent(widget, &event);
}

void Drag(QWidget* widget, QPoint from, QPoint to, Qt::KeyboardModifiers modifiers) {
    SendMouse(widget, QEvent::MouseButtonPress, from, Qt::LeftButton, modifiers);
    SendMouse(widget, QEvent::MouseMove, (from + to) / 2, Qt::LeftButton, modifiers);
    SendMouse(widget, QEvent::MouseMove, to, Qt::LeftButton, modifiers);
    SendMouse(widget, QEvent::MouseButtonRelease, to, Qt::NoButton, modifiers);
}

void Wheel(QWidget* widget, QPoint at, int notches, Qt::KeyboardModifiers modifiers) {
    QWheelEvent event(QPointF(at), widget->mapToGlobal(QPointF(at)), QPoint(),
                      QPoint(0, 120 * notches), Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
}

// A shown 600 x 450 view with the initial display values.
class ViewTest : public testing::Test {
protected:
    void SetUp() override {
        ResetDisplayValues();
        view.resize(600, 450);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    }

    // Loads 1001 samples 100 us apart, each trace at a constant current (pA),
    // with a range of 5000 pA; `commands` are the traces' own, the first also
    // the recording's (0 mV without).
    void Load(const std::vector<float>& levels, const std::vector<SharedCommand>& commands = {}) {
        constexpr uint32_t kSamples = 1001;
        std::vector<float> times(kSamples);
        for (uint32_t j = 0; j < kSamples; ++j)
            times[j] = static_cast<float>(j) * 100.0f;
        std::vector<SharedFloatArray> traces;
        for (float level : levels) {
            traces.push_back(SharedFloatArray::Allocate(kSamples));
            std::fill_n(traces.back().data(), kSamples, level);
        }
        traceLevels = levels;
        model = std::make_shared<TraceDisplayModel>();
        model->SetMaxZoomRange(5000.0f);
        model->SetData(times,
                       commands.empty() ? std::vector<float>(kSamples) : commands[0]->waveform,
                       traces, kSamples, commands);
        view.SetDisplayModel(model);
    }
    // Device row of a constant trace at level 0 with scroll 0.
    int RowOf(size_t trace) {
        return model->PlotY(traceLevels[trace]) - int(model->TotalHeight() / 2);
    }

    CZoomScrollView view;
    std::vector<float> traceLevels;
    std::shared_ptr<TraceDisplayModel> model;
};

} // namespace

TEST_F(ViewTest, TracesInBlackHighlightedOnesAndTheZeroLineInTheirColours) {
    view.SetDisplayModel(std::make_shared<TraceDisplayModel>());
    EXPECT_EQ(Render(view).pixel(10, 10), kMagenta); // nothing loaded: nothing painted
    Load({1000, -1000, 2000, 2500, 0});
    view.SetDisplayedTraces({0, 1, 2, 3, 7, -3}); // 7 and -3 are no traces: skipped
    view.SetCurrentTrace(5);                      // beyond the traces: none
    EXPECT_EQ(view.CurrentTrace(), -1);
    view.SetCurrentTrace(1);
    view.SetControlTrace(2);
    const QImage image = Render(view);
    EXPECT_EQ(image.pixel(100, RowOf(0)), kBlack);
    EXPECT_EQ(image.pixel(100, RowOf(1)), Rgb(g_currentTraceColour));
    EXPECT_EQ(image.pixel(100, RowOf(2)), Rgb(g_controlTraceColour));
    EXPECT_EQ(image.pixel(100, RowOf(0) + 3), kWhite);
    // Traces run from the first to the last sample, across the plot width.
    EXPECT_EQ(image.pixel(0, RowOf(0)), kBlack);
    EXPECT_EQ(image.pixel(int(model->viewWidth) + 1, RowOf(0)), kWhite);
    // +2500 pA, half the range of 5000 pA, lies on the top edge.
    EXPECT_EQ(RowOf(3), 0);
    EXPECT_EQ(image.pixel(100, 0), kBlack);

    // The zero line lies where zero current is drawn, one pixel high, when wanted.
    const int zero = RowOf(4);
    EXPECT_EQ(zero, int(model->viewHeight / 2));
    EXPECT_EQ(image.pixel(image.width() - 1, zero), Rgb(g_zeroLineColour));
    EXPECT_EQ(image.pixel(50, zero + 1), kWhite);
    g_showZeroCurrentLine = false;
    EXPECT_EQ(Render(view).pixel(50, zero), kWhite);
}

TEST_F(ViewTest, BandsShowTheirColourCancelTwiceAndMix) {
    Load({0}); // the trace and the zero line lie on the middle row, apart from the rows looked at
    view.SetRegion(600, 200, kRamp1Region); // stored ordered
    view.SetRegion(1, 2, kRegionCount);     // no such region
    QImage image = Render(view);
    const int left = model->SampleX(200);
    const int right = model->SampleX(600);
    EXPECT_EQ(image.pixel(left, 20), Rgb(g_selectionColour[kRamp1Region]));
    EXPECT_EQ(image.pixel(right, image.height() - 1), Rgb(g_selectionColour[kRamp1Region]));
    EXPECT_EQ(image.pixel(left - 1, 20), kWhite);
    EXPECT_EQ(image.pixel(right + 1, 20), kWhite);

    // A sub-section: ramp colour laid again over it cancels, leaving the
    // sub-section colour there and the ramp colour around it. A band reaching
    // beyond the last sample ends there; an empty one is not drawn.
    g_selectionColour[kRamp1OverlayRegion] = g_selectionColour[kRamp1Region];
    view.SetRegion(300, 400, kSubsection1Region);
    view.SetRegion(300, 400, kRamp1OverlayRegion);
    view.SetRegion(900, 50000, kRamp2Region);
    view.SetRegion(2000, 3000, kRamp2OverlayRegion);
    image = Render(view);
    EXPECT_EQ(image.pixel(model->SampleX(350), 20), Rgb(g_selectionColour[kSubsection1Region]));
    EXPECT_EQ(image.pixel(model->SampleX(250), 20), Rgb(g_selectionColour[kRamp1Region]));
    EXPECT_EQ(image.pixel(model->SampleX(1000), 20), Rgb(g_selectionColour[kRamp2Region]));
    EXPECT_EQ(image.pixel(model->SampleX(1000) + 1, 20), kWhite);
}

TEST_F(ViewTest, ZoomAndScrollPositionFollowTheSharedModelAcrossViews) {
    Load({0});
    auto other = std::make_unique<CZoomScrollView>();
    other->resize(600, 450);
    other->SetDisplayModel(model);
    other->show(); // both shown: only painting hands the state over
    ASSERT_TRUE(QTest::qWaitForWindowExposed(other.get()));
    QSignalSpy zoomed(&view, &CZoomScrollView::zoomChanged);
    view.ZoomOutX(); // at the limit: nothing
    view.ZoomInX();
    view.ZoomInY();
    EXPECT_EQ(zoomed.count(), 2);
    EXPECT_EQ(view.horizontalScrollBar()->maximum(), int(model->viewWidth));
    EXPECT_EQ(view.verticalScrollBar()->value(), int(model->viewHeight) / 2);

    view.horizontalScrollBar()->setValue(123);
    EXPECT_EQ(other->horizontalScrollBar()->value(), 0); // not painted since
    Render(*other);
    EXPECT_EQ(other->horizontalScrollBar()->value(), 123);
    EXPECT_EQ(other->horizontalScrollBar()->maximum(), int(model->TotalWidth() - model->viewWidth));
    // Scrolling the view that is not the owner makes it the owner; its position holds.
    view.horizontalScrollBar()->setValue(50);
    Render(view);
    EXPECT_EQ(model->ownerView, &view);
    EXPECT_EQ(model->scrollX, 50);
    // A destroyed owner leaves its scroll position and no pointer to itself.
    Render(*other);
    other.reset();
    EXPECT_EQ(model->ownerView, nullptr);
    EXPECT_EQ(model->scrollX, 50);
}

TEST_F(ViewTest, DraggingReportsTheSamplesAndTheMouseReadsOut) {
    Load({1000, -500});
    QWidget* traces = view.viewport();
    QSignalSpy dragged(&view, &CZoomScrollView::regionDragged);
    QSignalSpy readout(&view, &CZoomScrollView::readoutChanged);
    // A click without moving sets nothing.
    SendMouse(traces, QEvent::MouseButtonPress, {100, 50}, Qt::LeftButton);
    SendMouse(traces, QEvent::MouseButtonRelease, {101, 50}, Qt::NoButton);
    EXPECT_EQ(dragged.count(), 0);

    Drag(traces, {300, 50}, {100, 60}, Qt::ShiftModifier);
    ASSERT_GE(dragged.count(), 2); // while dragging and on release
    const QList<QVariant> last = dragged.takeLast();
    EXPECT_EQ(last[0].toUInt(), model->SampleAtX(300));
    EXPECT_EQ(last[1].toUInt(), model->SampleAtX(100));
    EXPECT_EQ(last[2].value<Qt::KeyboardModifiers>(), Qt::ShiftModifier);

    // Samples lie 0.1 ms apart; trace 2 is the current one, the command is 0 mV.
    view.SetCurrentTrace(1);
    const uint32_t sample = model->SampleAtX(200);
    EXPECT_EQ(view.ReadoutAt({200, 5}),
              QString::asprintf("Trace 2   Sample %u   %.1f ms   -500.0 pA   0.0 mV", sample + 1,
                                sample * 0.1));
    ASSERT_GE(readout.count(), 1);
    EXPECT_FALSE(readout.last()[0].toString().isEmpty());
}

TEST_F(ViewTest, WheelRubberBandAndDoubleClickZoom) {
    Load({0});
    QWidget* traces = view.viewport();
    Wheel(traces, {100, 100}, 1, Qt::ControlModifier); // time axis about the mouse
    EXPECT_EQ(model->zoomX, 1u);
    EXPECT_EQ(view.horizontalScrollBar()->value(), 100);
    Wheel(traces, {100, 0}, 2, Qt::ControlModifier | Qt::ShiftModifier); // current axis
    EXPECT_EQ(model->zoomY, 2u);
    EXPECT_EQ(view.verticalScrollBar()->value(), 0);

    SendMouse(traces, QEvent::MouseButtonDblClick, {50, 50}, Qt::LeftButton);
    EXPECT_EQ(model->zoomX, 0u);
    EXPECT_EQ(model->zoomY, 0u);

    // A quarter of the width and height: two levels deeper on both axes.
    const int width = int(model->viewWidth) / 4;
    const int height = int(model->viewHeight) / 4;
    Drag(traces, {10, 10}, {10 + width - 1, 10 + height - 1}, Qt::ControlModifier);
    EXPECT_EQ(model->zoomX, 2u);
    EXPECT_EQ(model->zoomY, 2u);
    const int scrolledTo = (10 + width / 2) * 4 - int(model->viewWidth) / 2;
    EXPECT_NEAR(view.horizontalScrollBar()->value(), scrolledTo, 4);
}

TEST_F(ViewTest, AxesAndCommandStripSurroundTheTraces) {
    Load({0});
    auto* left = view.findChild<QWidget*>(QStringLiteral("viewLeftAxis"));
    auto* strip = view.findChild<QWidget*>(QStringLiteral("viewCommandStrip"));
    ASSERT_NE(left, nullptr);
    ASSERT_NE(strip, nullptr);
    const QRect traces = view.viewport()->geometry();
    EXPECT_EQ(left->geometry().right() + 1, traces.left());
    EXPECT_EQ(strip->geometry().top(), traces.bottom() + 1);
    // The tick texts are drawn: dark pixels in the left margin and the time axis.
    const auto darkPixels = [](QWidget* widget, QRect area) {
        QImage image(widget->size(), QImage::Format_RGB32);
        widget->render(&image);
        int dark = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                dark += qGray(image.pixel(x, y)) < 100;
        return dark;
    };
    EXPECT_GT(darkPixels(left, QRect(0, 0, left->width(), traces.height())), 50);
    EXPECT_GT(darkPixels(strip, QRect(0, CZoomScrollView::kCommandStripHeight, strip->width(),
                                      CZoomScrollView::kTimeAxisHeight)),
              50);
}

TEST_F(ViewTest, TheCommandStripAndReadoutShowTheCurrentTracesOwnCommand) {
    // Trace 1 steps from -80 to 0 mV at sample 500, trace 2 at sample 750;
    // trace 3 has no command of its own: episode 1's.
    const auto step = [](uint32_t at) {
        auto command = std::make_shared<EpisodeCommand>();
        for (uint32_t j = 0; j < 1001; ++j)
            command->waveform.push_back(j < at ? -80.0f : 0.0f);
        return SharedCommand(command);
    };
    Load({0, 0, 0}, {step(500), step(750)});

    auto* strip = view.findChild<QWidget*>(QStringLiteral("viewCommandStrip"));
    ASSERT_NE(strip, nullptr);
    // The row of the command line (dark blue) in the strip's column of `sample`.
    const auto lineRow = [&](uint32_t sample) {
        QImage image(strip->size(), QImage::Format_RGB32);
        strip->render(&image);
        const int x = model->SampleX(sample) - view.horizontalScrollBar()->value();
        for (int y = 0; y < CZoomScrollView::kCommandStripHeight; ++y)
            if (image.pixel(x, y) == qRgb(0, 0, 160))
                return y;
        return -1;
    };
    const auto readout = [&](uint32_t sample) {
        return view.ReadoutAt({model->SampleX(sample), 5}).section(QStringLiteral("   "), -1);
    };
    for (const int32_t trace : {0, 2}) {
        view.SetCurrentTrace(trace);
        EXPECT_NE(lineRow(100), -1);
        EXPECT_EQ(lineRow(600), lineRow(900)) << trace << ": at 0 mV from sample 500";
        EXPECT_NE(lineRow(600), lineRow(100)) << trace;
        EXPECT_EQ(readout(600), QStringLiteral("0.0 mV")) << trace;
    }
    view.SetCurrentTrace(1);
    EXPECT_EQ(lineRow(600), lineRow(100)) << "trace 2 is at -80 mV until sample 750";
    EXPECT_NE(lineRow(600), lineRow(900));
    EXPECT_EQ(readout(600), QStringLiteral("-80.0 mV"));
}
