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
    m_leftRuler = new CViewRuler(this, CViewRuler::Side::Left);
    m_bottomRuler = new CViewRuler(this, CViewRuler::Side::Bottom);
    setViewportMargins(kAxisWidth, 0, 0, kCommandStripHeight + kTimeAxisHeight);
    m_rubberBand = new QRubberBand(QRubberBand::Rectangle, viewport());
}

CZoomScrollView::~CZoomScrollView() {
    SetDisplayModel(nullptr);
}

void CZoomScrollView::SetDisplayModel(std::shared_ptr<TraceDisplayModel> model) {
    if (m_model && m_model->ownerView == this) {
        // Keep where the user was, and leave no pointer to this view behind.
        m_model->scrollX = horizontalScrollBar()->value();
        m_model->scrollY = verticalScrollBar()->value();
        m_model->ownerView = nullptr;
    }
    m_model = std::move(model);
    m_scrollTotal = QSize();
    if (m_model && isVisible())
        InitialUpdate();
    viewport()->update();
}

bool CZoomScrollView::HasData() const {
    return m_model && m_model->samplesPerTrace != 0;
}

int CZoomScrollView::TraceCount() const {
    return m_model ? static_cast<int>(m_model->TraceCount()) : 0;
}

int CZoomScrollView::HalfTotalHeight() const {
    return static_cast<int>(m_model->TotalHeight() / 2);
}

void CZoomScrollView::InitialUpdate() {
    if (!m_model)
        return;
    const QSize viewportSize = viewport()->size();
    const auto plotExtent = [](int extent) {
        return static_cast<uint32_t>(std::max(0, extent - kPlotMargin));
    };
    const uint32_t oldZoomX = m_model->EffectiveZoomX();
    const uint32_t oldZoomY = m_model->EffectiveZoomY();
    const bool resized =
        m_model->SetViewSize(plotExtent(viewportSize.width()), plotExtent(viewportSize.height()));
    UpdateScrollSizes();
    if (resized) {
        viewport()->update();
        emit zoomChanged();
    } else if (oldZoomX != m_model->zoomX || oldZoomY != m_model->zoomY) {
        emit zoomChanged();
    }
}

void CZoomScrollView::UpdateScrollSizes() {
    TraceDisplayModel& model = *m_model;
    model.ClampScroll();
    const int32_t scrollX = model.scrollX;
    const int32_t scrollY = model.scrollY;
    const int totalWidth = static_cast<int>(model.TotalWidth());
    const int totalHeight = static_cast<int>(model.TotalHeight());
    const int viewWidth = static_cast<int>(model.viewWidth);
    const int viewHeight = static_cast<int>(model.viewHeight);

    m_settingScrollBars = true;
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
    m_settingScrollBars = false;

    m_scrollTotal = QSize(totalWidth, totalHeight);
    model.scrollX = horizontal->value();
    model.scrollY = vertical->value();
}

void CZoomScrollView::SetDisplayedTraces(const std::vector<int32_t>& indices) {
    m_content.displayedTraces = indices;
    viewport()->update();
}

void CZoomScrollView::SetCurrentTrace(int32_t index) {
    if (SetHighlightedTrace(m_content.currentIndex, index)) {
        m_leftRuler->update();
        m_bottomRuler->update();
    }
}

void CZoomScrollView::SetControlTrace(int32_t index) {
    SetHighlightedTrace(m_content.controlIndex, index);
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
    return region >= 0 && region < static_cast<int>(kRegionCount) ? m_content.regionStarts[region]
                                                                  : 0;
}

uint32_t CZoomScrollView::RegionEnd(int region) const {
    return region >= 0 && region < static_cast<int>(kRegionCount) ? m_content.regionEnds[region]
                                                                  : 0;
}

QRect CZoomScrollView::SampleStrip(uint32_t a, uint32_t b) const {
    const int scrollX = horizontalScrollBar()->value();
    const int left = m_model->SampleX(std::min(a, b)) - scrollX;
    const int right = m_model->SampleX(std::max(a, b)) + 1 - scrollX;
    return QRect(QPoint(left, 0), QPoint(right, viewport()->height() - 1));
}

void CZoomScrollView::SetRegion(uint32_t a, uint32_t b, int region) {
    if (region < 0 || region >= static_cast<int>(kRegionCount))
        return;
    if (a > b)
        std::swap(a, b);
    uint32_t& start = m_content.regionStarts[region];
    uint32_t& end = m_content.regionEnds[region];
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
        m_bottomRuler->update();
}

bool CZoomScrollView::CanZoomInX() const {
    return m_model && m_model->EffectiveZoomX() < m_model->maxZoomX;
}
bool CZoomScrollView::CanZoomOutX() const {
    return m_model && m_model->EffectiveZoomX() > 0;
}
bool CZoomScrollView::CanZoomInY() const {
    return m_model && m_model->EffectiveZoomY() < m_model->maxZoomY;
}
bool CZoomScrollView::CanZoomOutY() const {
    return m_model && m_model->EffectiveZoomY() > 0;
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
    if (!m_model)
        return;
    m_model->scrollX = horizontalScrollBar()->value();
    m_model->scrollY = verticalScrollBar()->value();
    TraceDisplayModel& model = *m_model;
    const bool zoomed = horizontal
                            ? (direction > 0 ? model.ZoomInX(anchor) : model.ZoomOutX(anchor))
                            : (direction > 0 ? model.ZoomInY(anchor) : model.ZoomOutY(anchor));
    if (zoomed)
        ZoomChanged();
}

void CZoomScrollView::Fit() {
    if (!m_model)
        return;
    m_model->Fit();
    ZoomChanged();
}

void CZoomScrollView::ZoomToArea(const QRect& area) {
    if (!m_model || area.isEmpty())
        return;
    const int64_t x = horizontalScrollBar()->value();
    const int64_t y = verticalScrollBar()->value();
    m_model->ZoomToRect(x + area.left(), y + area.top(), x + area.right(), y + area.bottom());
    ZoomChanged();
}

void CZoomScrollView::ZoomChanged() {
    m_model->ownerView = this;
    UpdateScrollSizes();
    viewport()->update();
    m_leftRuler->update();
    m_bottomRuler->update();
    emit zoomChanged();
}

void CZoomScrollView::RedrawNow() {
    if (HasData())
        viewport()->repaint();
}

void CZoomScrollView::paintEvent(QPaintEvent* event) {
    if (!HasData())
        return;
    TraceDisplayModel& model = *m_model;
    // Another view (or the main window) may have changed the zoom or scroll
    // position since this view last drew: take them over and draw it all.
    const bool matches = m_scrollTotal == QSize(static_cast<int>(model.TotalWidth()),
                                                static_cast<int>(model.TotalHeight())) &&
                         horizontalScrollBar()->value() == model.scrollX &&
                         verticalScrollBar()->value() == model.scrollY;
    model.ownerView = this;
    if (!matches) {
        UpdateScrollSizes();
        viewport()->update();
        m_leftRuler->update();
        m_bottomRuler->update();
        emit zoomChanged();
    }
    model.scrollX = horizontalScrollBar()->value();
    model.scrollY = verticalScrollBar()->value();
    const QRect area = event->rect() & viewport()->rect();
    Draw(area);
    QPainter painter(viewport());
    painter.drawImage(area.topLeft(), m_image, area);
}

void CZoomScrollView::Draw(const QRect& clip) {
    if (m_image.size() != viewport()->size())
        m_image = QImage(viewport()->size(), QImage::Format_RGB32);
    if (clip.isEmpty() || m_image.isNull())
        return;
    // Zero current lies at the plot height H, shown in the middle of the
    // scrollable height, so the logical y at the top of the plot is H / 2.
    DrawTracePictureInStrips(
        reinterpret_cast<uint32_t*>(m_image.bits()), m_image.width(), m_image.height(),
        static_cast<int>(m_image.bytesPerLine() / sizeof(uint32_t)),
        {clip.left(), clip.top(), clip.right(), clip.bottom()}, horizontalScrollBar()->value(),
        int64_t{verticalScrollBar()->value()} + HalfTotalHeight(), *m_model, m_content);
}

void CZoomScrollView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    const QRect traces = viewport()->geometry();
    m_leftRuler->setGeometry(traces.left() - kAxisWidth, traces.top(), kAxisWidth,
                             traces.height() + kCommandStripHeight + kTimeAxisHeight);
    m_bottomRuler->setGeometry(traces.left(), traces.bottom() + 1, traces.width(),
                               kCommandStripHeight + kTimeAxisHeight);
    InitialUpdate();
}

void CZoomScrollView::showEvent(QShowEvent* event) {
    QAbstractScrollArea::showEvent(event);
    InitialUpdate();
}

void CZoomScrollView::scrollContentsBy(int, int) {
    // The view the user scrolls is the one whose position counts.
    if (m_model && !m_settingScrollBars) {
        m_model->ownerView = this;
        m_model->scrollX = horizontalScrollBar()->value();
        m_model->scrollY = verticalScrollBar()->value();
    }
    viewport()->update();
    m_leftRuler->update();
    m_bottomRuler->update();
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
    m_wheelRemainder += delta;
    const auto scroll = [](QScrollBar* bar, int& remainder) {
        constexpr int kNotch = 120; // one wheel notch in eighths of a degree
        const int notches = remainder / kNotch;
        if (notches == 0)
            return;
        remainder -= notches * kNotch;
        const int lines = QApplication::wheelScrollLines();
        bar->setValue(bar->value() - notches * lines * bar->singleStep());
    };
    scroll(horizontalScrollBar(), m_wheelRemainder.rx());
    scroll(verticalScrollBar(), m_wheelRemainder.ry());
}

uint32_t CZoomScrollView::SampleUnder(int viewportX) const {
    return m_model->SampleAtX(int64_t{horizontalScrollBar()->value()} + viewportX);
}

void CZoomScrollView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !HasData()) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    m_pressAt = event->position().toPoint();
    m_banding = (event->modifiers() & Qt::ControlModifier) != 0;
    m_dragging = !m_banding;
    if (m_banding) {
        m_rubberBand->setGeometry(QRect(m_pressAt, QSize()));
        m_rubberBand->show();
    }
    event->accept();
}

void CZoomScrollView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (m_banding) {
        m_rubberBand->setGeometry(QRect(m_pressAt, at).normalized());
    } else if (m_dragging && std::abs(at.x() - m_pressAt.x()) >= 3) {
        emit regionDragged(SampleUnder(m_pressAt.x()), SampleUnder(at.x()), event->modifiers());
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
    if (m_banding) {
        m_rubberBand->hide();
        const QRect area = QRect(m_pressAt, at).normalized() & viewport()->rect();
        if (area.width() >= 3 && area.height() >= 3)
            ZoomToArea(area);
    } else if (m_dragging && HasData() && std::abs(at.x() - m_pressAt.x()) >= 3) {
        emit regionDragged(SampleUnder(m_pressAt.x()), SampleUnder(at.x()), event->modifiers());
    }
    m_banding = false;
    m_dragging = false;
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
    const TraceDisplayModel& model = *m_model;
    ReadoutValues values;
    const uint32_t sample = SampleUnder(at.x());
    values.sampleNumber = sample + 1;
    values.timeMicroseconds =
        sample < model.TimeAxis().size() ? static_cast<double>(model.TimeAxis()[sample]) : 0.0;
    values.unit = model.unit;
    const int32_t trace = m_content.currentIndex;
    if (trace >= 0 && static_cast<size_t>(trace) < model.TraceCount()) {
        values.traceNumber = static_cast<uint32_t>(trace) + 1;
        const float* samples = model.Trace(static_cast<size_t>(trace)).data();
        values.value = samples != nullptr ? samples[sample] : 0.0;
    }
    values.hasCommand = model.CommandMillivolts(trace >= 0 ? static_cast<size_t>(trace) : 0, sample,
                                                values.commandMillivolts);
    return QString::fromStdString(ReadoutText(values));
}
