#include "display/qt/CZoomScrollView.h"

#include "display/AxisTicks.h"
#include "display/PlotCanvas.h"
#include "display/TraceDisplayModel.h"
#include "display/qt/ViewRulers.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRubberBand>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cstddef>

CZoomScrollView::CZoomScrollView(QWidget* parent) : QAbstractScrollArea(parent) {
    setObjectName(QStringLiteral("GraphWindow"));
    setFrameShape(QFrame::StyledPanel);
    // Fixed scroll bars keep the viewport, and so the plot size, the same at every zoom.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    horizontalScrollBar()->setObjectName(QStringLiteral("GraphWindowHorizontalScrollBar"));
    verticalScrollBar()->setObjectName(QStringLiteral("GraphWindowVerticalScrollBar"));
    // Every paint covers its whole area itself: no background erase, no flicker.
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAttribute(Qt::WA_NoSystemBackground);
    viewport()->setMouseTracking(true);
    viewport()->setCursor(Qt::CrossCursor);
    leftRuler_ = new CViewRuler(this, CViewRuler::Side::kLeft);
    bottomRuler_ = new CViewRuler(this, CViewRuler::Side::kBottom);
    setViewportMargins(kAxisWidth, 0, 0, kCommandStripHeight + kTimeAxisHeight);
    rubberBand_ = new QRubberBand(QRubberBand::Rectangle, viewport());
}

CZoomScrollView::~CZoomScrollView() {
    SetDisplayModel(nullptr);
}

void CZoomScrollView::SetDisplayModel(std::shared_ptr<TraceDisplayModel> model) {
    if (model_ && model_->ownerView == this) {
        // Keep where the user was, and leave no pointer to this view behind.
        model_->scrollX = horizontalScrollBar()->value();
        model_->scrollY = verticalScrollBar()->value();
        model_->ownerView = nullptr;
    }
    model_ = std::move(model);
    scrollTotal_ = QSize();
    if (model_ && isVisible())
        InitialUpdate();
    viewport()->update();
}

bool CZoomScrollView::HasData() const {
    return model_ && model_->samplesPerTrace != 0;
}

int CZoomScrollView::TraceCount() const {
    return model_ ? static_cast<int>(model_->TraceCount()) : 0;
}

int CZoomScrollView::HalfTotalHeight() const {
    return static_cast<int>(model_->TotalHeight() / 2);
}

void CZoomScrollView::InitialUpdate() {
    if (!model_)
        return;
    const QSize viewportSize = viewport()->size();
    const auto plotExtent = [](int extent) {
        return static_cast<uint32_t>(std::max(0, extent - kPlotMargin));
    };
    const uint32_t oldZoomX = model_->EffectiveZoomX();
    const uint32_t oldZoomY = model_->EffectiveZoomY();
    const bool resized =
        model_->SetViewSize(plotExtent(viewportSize.width()), plotExtent(viewportSize.height()));
    UpdateScrollSizes();
    if (resized) {
        viewport()->update();
        emit zoomChanged();
    } else if (oldZoomX != model_->zoomX || oldZoomY != model_->zoomY) {
        emit zoomChanged();
    }
}

void CZoomScrollView::UpdateScrollSizes() {
    TraceDisplayModel& model = *model_;
    model.ClampScroll();
    const int32_t scrollX = model.scrollX;
    const int32_t scrollY = model.scrollY;
    const int totalWidth = static_cast<int>(model.TotalWidth());
    const int totalHeight = static_cast<int>(model.TotalHeight());
    const int viewWidth = static_cast<int>(model.viewWidth);
    const int viewHeight = static_cast<int>(model.viewHeight);

    settingScrollBars_ = true;
    QScrollBar* horizontal = horizontalScrollBar();
    horizontal->setRange(0, std::max(0, totalWidth - viewWidth));
    horizontal->setPageStep(std::max(1, viewWidth));
    horizontal->setSingleStep(std::max(1, viewWidth / 20));
    horizontal->setValue(scrollX);
    QScrollBar* vertical = verticalScrollBar();
    vertical->setRange(0, std::max(0, totalHeight - viewHeight));
    vertical->setPageStep(std::max(1, viewHeight));
    vertical->setSingleStep(std::max(1, viewHeight / 20));
    vertical->setValue(scrollY);
    settingScrollBars_ = false;

    scrollTotal_ = QSize(totalWidth, totalHeight);
    model.scrollX = horizontal->value();
    model.scrollY = vertical->value();
}

void CZoomScrollView::SetDisplayedTraces(const std::vector<int32_t>& indices) {
    content_.displayedTraces = indices;
    viewport()->update();
}

void CZoomScrollView::SetCurrentTrace(int32_t index) {
    if (SetHighlightedTrace(content_.currentIndex, index)) {
        leftRuler_->update();
        bottomRuler_->update();
    }
}

void CZoomScrollView::SetControlTrace(int32_t index) {
    SetHighlightedTrace(content_.controlIndex, index);
}

bool CZoomScrollView::SetHighlightedTrace(int32_t& shown, int32_t index) {
    if (index < 0 || index >= TraceCount())
        index = kNoTrace;
    if (index == shown)
        return false;
    shown = index;
    RedrawNow();
    return true;
}

uint32_t CZoomScrollView::RegionStart(int region) const {
    return region >= 0 && region < static_cast<int>(kRegionCount) ? content_.regionStarts[region]
                                                                  : 0;
}

uint32_t CZoomScrollView::RegionEnd(int region) const {
    return region >= 0 && region < static_cast<int>(kRegionCount) ? content_.regionEnds[region] : 0;
}

QRect CZoomScrollView::SampleStrip(uint32_t a, uint32_t b) const {
    const int scrollX = horizontalScrollBar()->value();
    const int left = model_->SampleX(std::min(a, b)) - scrollX;
    const int right = model_->SampleX(std::max(a, b)) + 1 - scrollX;
    return QRect(QPoint(left, 0), QPoint(right, viewport()->height() - 1));
}

void CZoomScrollView::SetRegion(uint32_t a, uint32_t b, int region) {
    if (region < 0 || region >= static_cast<int>(kRegionCount))
        return;
    if (a > b)
        std::swap(a, b);
    uint32_t& start = content_.regionStarts[region];
    uint32_t& end = content_.regionEnds[region];
    if (a == start && b == end)
        return;
    // Only the columns between the old and the new ends change; the bands are
    // composed again there, so the other bands keep mixing correctly.
    QRect changed;
    if (HasData()) {
        if (a != start)
            changed |= SampleStrip(a, start);
        if (b != end)
            changed |= SampleStrip(b, end);
    }
    start = a;
    end = b;
    if (!changed.isEmpty())
        viewport()->update(changed);
    if (region < 2)
        bottomRuler_->update();
}

bool CZoomScrollView::CanZoomInX() const {
    return model_ && model_->EffectiveZoomX() < model_->maxZoomX;
}
bool CZoomScrollView::CanZoomOutX() const {
    return model_ && model_->EffectiveZoomX() > 0;
}
bool CZoomScrollView::CanZoomInY() const {
    return model_ && model_->EffectiveZoomY() < model_->maxZoomY;
}
bool CZoomScrollView::CanZoomOutY() const {
    return model_ && model_->EffectiveZoomY() > 0;
}

void CZoomScrollView::ZoomInX() {
    Zoom(true, +1);
}
void CZoomScrollView::ZoomOutX() {
    Zoom(true, -1);
}
void CZoomScrollView::ZoomInY() {
    Zoom(false, +1);
}
void CZoomScrollView::ZoomOutY() {
    Zoom(false, -1);
}

void CZoomScrollView::ZoomBoth(int direction) {
    Zoom(true, direction);
    Zoom(false, direction);
}

void CZoomScrollView::Zoom(bool horizontal, int direction, int64_t anchor) {
    if (!model_)
        return;
    model_->scrollX = horizontalScrollBar()->value();
    model_->scrollY = verticalScrollBar()->value();
    TraceDisplayModel& model = *model_;
    const bool zoomed = horizontal
                            ? (direction > 0 ? model.ZoomInX(anchor) : model.ZoomOutX(anchor))
                            : (direction > 0 ? model.ZoomInY(anchor) : model.ZoomOutY(anchor));
    if (zoomed)
        ZoomChanged();
}

void CZoomScrollView::Fit() {
    if (!model_)
        return;
    model_->Fit();
    ZoomChanged();
}

void CZoomScrollView::ZoomToArea(const QRect& area) {
    if (!model_ || area.isEmpty())
        return;
    const int64_t x = horizontalScrollBar()->value();
    const int64_t y = verticalScrollBar()->value();
    model_->ZoomToRect(x + area.left(), y + area.top(), x + area.right(), y + area.bottom());
    ZoomChanged();
}

void CZoomScrollView::ZoomChanged() {
    model_->ownerView = this;
    UpdateScrollSizes();
    viewport()->update();
    leftRuler_->update();
    bottomRuler_->update();
    emit zoomChanged();
}

void CZoomScrollView::RedrawNow() {
    if (HasData())
        viewport()->repaint();
}

void CZoomScrollView::paintEvent(QPaintEvent* event) {
    if (!HasData())
        return;
    TraceDisplayModel& model = *model_;
    // Another view (or the main window) may have changed the zoom or scroll
    // position since this view last drew: take them over and draw it all.
    const bool matches = scrollTotal_ == QSize(static_cast<int>(model.TotalWidth()),
                                               static_cast<int>(model.TotalHeight())) &&
                         horizontalScrollBar()->value() == model.scrollX &&
                         verticalScrollBar()->value() == model.scrollY;
    model.ownerView = this;
    if (!matches) {
        UpdateScrollSizes();
        viewport()->update();
        leftRuler_->update();
        bottomRuler_->update();
        emit zoomChanged();
    }
    model.scrollX = horizontalScrollBar()->value();
    model.scrollY = verticalScrollBar()->value();
    const QRect area = event->rect() & viewport()->rect();
    Draw(area);
    QPainter painter(viewport());
    painter.drawImage(area.topLeft(), image_, area);
}

void CZoomScrollView::Draw(const QRect& clip) {
    if (image_.size() != viewport()->size())
        image_ = QImage(viewport()->size(), QImage::Format_RGB32);
    if (clip.isEmpty() || image_.isNull())
        return;
    // Zero current lies at the plot height H, shown in the middle of the
    // scrollable height, so the logical y at the top of the plot is H / 2.
    DrawTracePictureInStrips(
        reinterpret_cast<uint32_t*>(image_.bits()), image_.width(), image_.height(),
        static_cast<int>(image_.bytesPerLine() / sizeof(uint32_t)),
        {clip.left(), clip.top(), clip.right(), clip.bottom()}, horizontalScrollBar()->value(),
        int64_t{verticalScrollBar()->value()} + HalfTotalHeight(), *model_, content_);
}

void CZoomScrollView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    const QRect traces = viewport()->geometry();
    leftRuler_->setGeometry(traces.left() - kAxisWidth, traces.top(), kAxisWidth,
                            traces.height() + kCommandStripHeight + kTimeAxisHeight);
    bottomRuler_->setGeometry(traces.left(), traces.bottom() + 1, traces.width(),
                              kCommandStripHeight + kTimeAxisHeight);
    InitialUpdate();
}

void CZoomScrollView::showEvent(QShowEvent* event) {
    QAbstractScrollArea::showEvent(event);
    InitialUpdate();
}

void CZoomScrollView::scrollContentsBy(int, int) {
    // The view the user scrolls is the one whose position counts.
    if (model_ && !settingScrollBars_) {
        model_->ownerView = this;
        model_->scrollX = horizontalScrollBar()->value();
        model_->scrollY = verticalScrollBar()->value();
    }
    viewport()->update();
    leftRuler_->update();
    bottomRuler_->update();
}

void CZoomScrollView::wheelEvent(QWheelEvent* event) {
    event->accept();
    if (event->modifiers() & Qt::ControlModifier) {
        // Zoom about the mouse, one level per notch.
        const int notches = event->angleDelta().y() / 120;
        // Viewport events arrive here unchanged: the position is the viewport's.
        const QPoint at = event->position().toPoint();
        const bool horizontal = !(event->modifiers() & Qt::ShiftModifier);
        for (int n = 0; n < std::abs(notches); ++n)
            Zoom(horizontal, notches > 0 ? +1 : -1, horizontal ? at.x() : at.y());
        return;
    }
    // Shift turns the wheel horizontal; a tilting wheel or touchpad may also
    // report horizontal movement by itself.
    QPoint delta = event->angleDelta();
    if (event->modifiers() & Qt::ShiftModifier)
        delta = QPoint(delta.y() != 0 ? delta.y() : delta.x(), 0);
    ScrollByWheel(delta);
}

void CZoomScrollView::ScrollByWheel(QPoint delta) {
    wheelRemainder_ += delta;
    const auto scroll = [](QScrollBar* bar, int& remainder) {
        constexpr int kNotch = 120; // one wheel notch in eighths of a degree
        const int notches = remainder / kNotch;
        if (notches == 0)
            return;
        remainder -= notches * kNotch;
        const int lines = QApplication::wheelScrollLines();
        bar->setValue(bar->value() - notches * lines * bar->singleStep());
    };
    scroll(horizontalScrollBar(), wheelRemainder_.rx());
    scroll(verticalScrollBar(), wheelRemainder_.ry());
}

uint32_t CZoomScrollView::SampleUnder(int viewportX) const {
    return model_->SampleAtX(int64_t{horizontalScrollBar()->value()} + viewportX);
}

void CZoomScrollView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !HasData()) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    pressAt_ = event->position().toPoint();
    banding_ = (event->modifiers() & Qt::ControlModifier) != 0;
    dragging_ = !banding_;
    if (banding_) {
        rubberBand_->setGeometry(QRect(pressAt_, QSize()));
        rubberBand_->show();
    }
    event->accept();
}

void CZoomScrollView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (banding_) {
        rubberBand_->setGeometry(QRect(pressAt_, at).normalized());
    } else if (dragging_ && std::abs(at.x() - pressAt_.x()) >= 3) {
        emit regionDragged(SampleUnder(pressAt_.x()), SampleUnder(at.x()), event->modifiers());
    }
    emit readoutChanged(ReadoutAt(at));
    event->accept();
}

void CZoomScrollView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mouseReleaseEvent(event);
        return;
    }
    const QPoint at = event->position().toPoint();
    if (banding_) {
        rubberBand_->hide();
        const QRect area = QRect(pressAt_, at).normalized() & viewport()->rect();
        if (area.width() >= 3 && area.height() >= 3)
            ZoomToArea(area);
    } else if (dragging_ && HasData() && std::abs(at.x() - pressAt_.x()) >= 3) {
        emit regionDragged(SampleUnder(pressAt_.x()), SampleUnder(at.x()), event->modifiers());
    }
    banding_ = false;
    dragging_ = false;
    event->accept();
}

void CZoomScrollView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        Fit();
        event->accept();
        return;
    }
    QAbstractScrollArea::mouseDoubleClickEvent(event);
}

bool CZoomScrollView::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::Leave)
        emit readoutChanged(QString());
    return QAbstractScrollArea::viewportEvent(event);
}

QString CZoomScrollView::ReadoutAt(const QPoint& at) const {
    if (!HasData())
        return QString();
    const TraceDisplayModel& model = *model_;
    ReadoutValues values;
    const uint32_t sample = SampleUnder(at.x());
    values.sampleNumber = sample + 1;
    values.timeMicroseconds =
        sample < model.TimeAxis().size() ? static_cast<double>(model.TimeAxis()[sample]) : 0.0;
    values.unit = model.unit;
    const int32_t trace = content_.currentIndex;
    if (trace >= 0 && static_cast<size_t>(trace) < model.TraceCount()) {
        values.traceNumber = static_cast<uint32_t>(trace) + 1;
        const float* samples = model.Trace(static_cast<size_t>(trace)).data();
        values.value = samples != nullptr ? samples[sample] : 0.0;
    }
    values.hasCommand = model.CommandMillivolts(trace >= 0 ? static_cast<size_t>(trace) : 0, sample,
                                                values.commandMillivolts);
    return QString::fromStdString(ReadoutText(values));
}
