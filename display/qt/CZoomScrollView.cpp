#include "display/qt/CZoomScrollView.h"

#include "display/PlotCanvas.h"
#include "display/TraceDisplayModel.h"

#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
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
    if (index < 0 || index >= TraceCount())
        index = -1;
    if (index == content_.currentIndex)
        return;
    content_.currentIndex = index;
    RedrawNow();
}

void CZoomScrollView::SetControlTrace(int32_t index) {
    if (index < 0 || index >= TraceCount())
        index = -1;
    if (index == content_.controlIndex)
        return;
    content_.controlIndex = index;
    RedrawNow();
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
    Zoom(&TraceDisplayModel::ZoomInX);
}
void CZoomScrollView::ZoomOutX() {
    Zoom(&TraceDisplayModel::ZoomOutX);
}
void CZoomScrollView::ZoomInY() {
    Zoom(&TraceDisplayModel::ZoomInY);
}
void CZoomScrollView::ZoomOutY() {
    Zoom(&TraceDisplayModel::ZoomOutY);
}

void CZoomScrollView::Zoom(bool (TraceDisplayModel::*zoom)()) {
    if (!model_)
        return;
    model_->scrollX = horizontalScrollBar()->value();
    model_->scrollY = verticalScrollBar()->value();
    if (!((*model_).*zoom)())
        return;
    model_->ownerView = this;
    UpdateScrollSizes();
    viewport()->update();
    emit zoomChanged();
}

void CZoomScrollView::RedrawNow() {
    if (HasData())
        viewport()->repaint();
}

void CZoomScrollView::UpdateAllViews() {
    for (QWidget* widget : QApplication::allWidgets()) {
        if (auto* view = qobject_cast<CZoomScrollView*>(widget))
            view->viewport()->update();
    }
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
    PlotCanvas canvas(reinterpret_cast<uint32_t*>(image_.bits()), image_.width(), image_.height(),
                      static_cast<int>(image_.bytesPerLine() / sizeof(uint32_t)));
    canvas.SetClip({clip.left(), clip.top(), clip.right(), clip.bottom()});
    // Zero current lies at the plot height H, shown in the middle of the
    // scrollable height, so the logical y at the top of the plot is H / 2.
    canvas.SetOrigin(horizontalScrollBar()->value(),
                     int64_t{verticalScrollBar()->value()} + HalfTotalHeight());
    DrawTracePicture(canvas, *model_, content_);
}

void CZoomScrollView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
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
}

void CZoomScrollView::wheelEvent(QWheelEvent* event) {
    // Shift turns the wheel horizontal; a tilting wheel or touchpad may also
    // report horizontal movement by itself.
    QPoint delta = event->angleDelta();
    if (event->modifiers() & Qt::ShiftModifier)
        delta = QPoint(delta.y() != 0 ? delta.y() : delta.x(), 0);
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
    event->accept();
}
