// An oscilloscope-like view of the loaded traces with two independent zoom axes
// and scroll bars: the displayed traces in black, the control and the current
// trace in their colours, the zero-current line and up to six vertical bands
// marking sample regions. The bands are mixed into the picture by inverting
// colours, so a band drawn twice vanishes and overlapping bands mix.
//
// Every view of the program shares one TraceDisplayModel, which holds the
// traces in plot coordinates and the zoom and scroll state; the view whose
// scroll bars last matched the model owns it, and a view that is shown takes
// the model's zoom and scroll position over.
//
// Around the traces: the current axis on the left, below them a strip with the
// command voltage (mV axis) and the time axis (ms, or s for long spans).
// Mouse: the wheel scrolls (Shift: sideways); Ctrl+wheel zooms the time axis
// about the mouse, Ctrl+Shift+wheel the current axis; dragging across the
// traces reports the samples dragged over (regionDragged), Ctrl+drag draws a
// rubber band and zooms to it; a double-click fits everything in view. Moving
// the mouse reports what lies under it (readoutChanged).
#pragma once

#include "display/TracePicture.h"

#include <QAbstractScrollArea>
#include <QImage>

class QRubberBand;

#include <cstdint>
#include <memory>
#include <vector>

class CZoomScrollView : public QAbstractScrollArea {
    Q_OBJECT

public:
    // Pixels between the plot at zoom level 0 and the edges of the viewport.
    static constexpr int kPlotMargin = 4;

    // A bordered view named "GraphWindow", without a model: it paints nothing
    // until it has a model holding a recording.
    explicit CZoomScrollView(QWidget* parent = nullptr);
    ~CZoomScrollView() override;

    // Shares `model` (may be null); the previous one is released.
    void SetDisplayModel(std::shared_ptr<TraceDisplayModel> model);
    const std::shared_ptr<TraceDisplayModel>& DisplayModel() const { return m_model; }

    // Measures the viewport: sets the model's plot size at level 0 (viewport less
    // kPlotMargin) and with it the highest zoom levels, then sets the scroll bars
    // from the model. Runs by itself whenever the view is resized.
    void InitialUpdate();

    // The 0-based trace indices drawn in black; indices beyond the traces are
    // skipped when drawing. Repaints.
    void SetDisplayedTraces(const std::vector<int32_t>& indices);
    const std::vector<int32_t>& DisplayedTraces() const { return m_content.displayedTraces; }

    // The trace drawn in the current-trace colour (0-based); an index outside the
    // traces means none (kNoTrace). Redraws at once when it changes.
    void SetCurrentTrace(int32_t index);
    int32_t CurrentTrace() const { return m_content.currentIndex; }

    // The trace drawn in the control-trace colour; as SetCurrentTrace.
    void SetControlTrace(int32_t index);
    int32_t ControlTrace() const { return m_content.controlIndex; }

    // Sets region `region` (0 to 5) to the 0-based samples a .. b (in either
    // order) and repaints only the strips that changed. Other region numbers are
    // ignored.
    void SetRegion(uint32_t a, uint32_t b, int region);
    // Stored first and last sample of a region (0 for region numbers beyond 5).
    uint32_t RegionStart(int region) const;
    uint32_t RegionEnd(int region) const;

    // Zoom one axis in or out by one level, keeping the middle of the view in
    // place; nothing happens at the limits. Emit zoomChanged when they zoom.
    void ZoomInX();
    void ZoomOutX();
    void ZoomInY();
    void ZoomOutY();
    // Both axes in (direction > 0) or out by one level about the middle.
    void ZoomBoth(int direction);
    // Zoom level 0 on both axes: the whole recording in view.
    void Fit();
    // Zooms so that the viewport pixels of `area` fill the view.
    void ZoomToArea(const QRect& area);

    // The text of the read-out for viewport pixel `at` (empty without a recording).
    QString ReadoutAt(const QPoint& at) const;
    // Widths of the axis margins (pixels): left of the traces, and below them
    // (the command strip and the time axis).
    static constexpr int kAxisWidth = 56;
    static constexpr int kCommandStripHeight = 64;
    static constexpr int kTimeAxisHeight = 20;

    // Whether the zoom operations above would do anything (for zoom buttons).
    bool CanZoomInX() const;
    bool CanZoomOutX() const;
    bool CanZoomInY() const;
    bool CanZoomOutY() const;

    // Repaints at once when a recording is loaded.
    void RedrawNow();

signals:
    // The zoom levels or their limits changed (zoom buttons may need enabling).
    void zoomChanged();
    // The user dragged across the traces from sample `first` to `last`
    // (0-based, in the order dragged) with `modifiers` held; sent while dragging
    // and once more on release.
    void regionDragged(uint32_t first, uint32_t last, Qt::KeyboardModifiers modifiers);
    // What lies under the mouse changed; empty when it left the traces.
    void readoutChanged(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    // Sets the current or control trace `shown` to `index` (kNoTrace when
    // outside the traces), redrawing at once when it changes; true then.
    bool SetHighlightedTrace(int32_t& shown, int32_t index);
    bool HasData() const;
    int TraceCount() const;
    void UpdateScrollSizes();
    void Zoom(bool horizontal, int direction, int64_t anchor = -1);
    void ZoomChanged();
    void ScrollByWheel(QPoint delta);
    uint32_t SampleUnder(int viewportX) const;
    void Draw(const QRect& clip);
    // The strip of viewport pixels over samples a .. b of the present zoom.
    QRect SampleStrip(uint32_t a, uint32_t b) const;
    int HalfTotalHeight() const;

    TracePictureContent m_content;
    std::shared_ptr<TraceDisplayModel> m_model;
    QImage m_image;      // the picture, composed off-screen and copied to the viewport
    QSize m_scrollTotal; // the scrollable size the scroll bars were last set for
    bool m_settingScrollBars = false;
    QPoint m_wheelRemainder;          // wheel movement not yet worth one step
    QWidget* m_leftRuler = nullptr;   // the current and command-voltage axes
    QWidget* m_bottomRuler = nullptr; // the command strip and the time axis
    QRubberBand* m_rubberBand = nullptr;
    QPoint m_pressAt; // viewport pixel where the left button went down
    bool m_dragging = false;
    bool m_banding = false;
};
