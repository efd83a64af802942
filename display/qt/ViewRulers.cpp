#include "display/qt/ViewRulers.h"

#include "display/AxisTicks.h"
#include "display/DisplayValues.h"
#include "display/TraceDisplayModel.h"
#include "display/qt/CZoomScrollView.h"

#include <QPainter>
#include <QPolygon>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kTickLength = 4;

// The voltage range the strip shows: the waveform's own, with a margin, and
// at least 20 mV so a flat command sits in the middle.
bool StripRange(const TraceDisplayModel& model, size_t trace, double& low, double& high) {
    if (!model.CommandRange(trace, low, high))
        return false;
    const double middle = (low + high) / 2;
    const double half = std::max((high - low) / 2 * 1.1, 10.0);
    low = middle - half;
    high = middle + half;
    return true;
}

size_t StripTrace(const CZoomScrollView& view) {
    return view.CurrentTrace() >= 0 ? static_cast<size_t>(view.CurrentTrace()) : 0;
}

// Tick labels of a vertical axis ending at the right edge of `area`: rows
// `row(value)` within it, texts right-aligned left of the tick.
template <typename RowOf>
void PaintVerticalTicks(QPainter& painter, const QRect& area, double low, double high,
                        RowOf rowOf) {
    const int textHeight = painter.fontMetrics().height();
    const AxisTicks ticks = ChooseTicks(low, high, area.height(), textHeight * 1.6);
    for (const double value : ticks.values) {
        const int row = rowOf(value);
        if (row < area.top() + textHeight / 2 || row > area.bottom())
            continue;
        painter.drawLine(area.right() - kTickLength, row, area.right(), row);
        const QRect text(area.left(), row - textHeight / 2, area.width() - kTickLength - 2,
                         textHeight);
        painter.drawText(text, Qt::AlignRight | Qt::AlignVCenter,
                         QString::fromStdString(TickText(value, ticks.step)));
    }
}

} // namespace

CViewRuler::CViewRuler(CZoomScrollView* view, Side side)
    : QWidget(view), m_view(view), m_side(side) {
    setObjectName(side == Side::Left ? QStringLiteral("viewLeftAxis")
                                     : QStringLiteral("viewCommandStrip"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CViewRuler::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    const auto& model = m_view->DisplayModel();
    if (!model || model->samplesPerTrace == 0)
        return;
    QFont font = painter.font();
    font.setPointSizeF(std::max(6.0, font.pointSizeF() * 0.85));
    painter.setFont(font);
    painter.setPen(palette().windowText().color());
    if (m_side == Side::Left)
        PaintLeft(painter);
    else
        PaintBottom(painter);
}

void CViewRuler::PaintLeft(QPainter& painter) const {
    const TraceDisplayModel& model = *m_view->DisplayModel();
    const int traceRows = m_view->viewport()->height();
    const int64_t top = m_view->verticalScrollBar()->value() + model.TotalHeight() / 2;
    const QRect traces(0, 0, width(), traceRows);
    const double high = model.CurrentAtY(static_cast<double>(top));
    const double low = model.CurrentAtY(static_cast<double>(top + traceRows - 1));
    PaintVerticalTicks(painter, traces, low, high, [&](double value) {
        return static_cast<int>(model.PlotY(static_cast<float>(value)) - top);
    });
    const QString unit = QString::fromStdString(model.unit);
    painter.drawText(QRect(2, 0, width() - 4, painter.fontMetrics().height()), Qt::AlignLeft, unit);

    const QRect strip(0, traceRows, width(), CZoomScrollView::kCommandStripHeight);
    double lowMv = 0.0;
    double highMv = 0.0;
    if (StripRange(model, StripTrace(*m_view), lowMv, highMv)) {
        const double scale = (strip.height() - 1) / (highMv - lowMv);
        PaintVerticalTicks(painter, strip, lowMv, highMv, [&](double value) {
            return strip.bottom() - static_cast<int>(std::lround((value - lowMv) * scale));
        });
        painter.drawText(strip.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                         QStringLiteral("mV"));
    }
    const double span = model.TimeAtX(static_cast<double>(m_view->viewport()->width()));
    const QRect unitRow(0, strip.bottom() + 1, width() - 4, CZoomScrollView::kTimeAxisHeight);
    painter.drawText(unitRow, Qt::AlignRight | Qt::AlignVCenter,
                     QString::fromLatin1(TimeUnitForSpan(span).name));
}

void CViewRuler::PaintBottom(QPainter& painter) const {
    const TraceDisplayModel& model = *m_view->DisplayModel();
    const int scrollX = m_view->horizontalScrollBar()->value();
    const QRect strip(0, 0, width(), CZoomScrollView::kCommandStripHeight);
    painter.fillRect(strip, Qt::white);
    double low = 0.0;
    double high = 0.0;
    const size_t trace = StripTrace(*m_view);
    if (StripRange(model, trace, low, high)) {
        // The ramps, lightly, so they can be matched with the voltage.
        for (int region = 0; region < 2; ++region) {
            const uint32_t a = m_view->RegionStart(region);
            const uint32_t b = m_view->RegionEnd(region);
            if (a == b)
                continue;
            const ColourRef colour = g_selectionColour[static_cast<size_t>(region)];
            painter.fillRect(
                QRect(QPoint(model.SampleX(a) - scrollX, strip.top()),
                      QPoint(model.SampleX(b) - scrollX, strip.bottom())),
                QColor(ColourRefRed(colour), ColourRefGreen(colour), ColourRefBlue(colour)));
        }
        const double scale = (strip.height() - 1) / (high - low);
        QPolygon line;
        for (const ColumnRun& run : model.ColumnRuns(scrollX, scrollX + width() - 1)) {
            for (const uint32_t sample : {run.begin, run.end - 1}) {
                double mv = 0.0;
                if (model.CommandMillivolts(trace, sample, mv))
                    line << QPoint(run.x - scrollX, strip.bottom() - static_cast<int>(std::lround(
                                                                         (mv - low) * scale)));
            }
        }
        painter.setPen(QColor(0, 0, 160));
        painter.drawPolyline(line);
        painter.setPen(palette().windowText().color());
    }

    const QRect axis(0, strip.bottom() + 1, width(), CZoomScrollView::kTimeAxisHeight);
    const double start = model.TimeAtX(scrollX);
    const double end = model.TimeAtX(static_cast<double>(scrollX) + width() - 1);
    const TimeUnit unit = TimeUnitForSpan(end - start);
    const int textWidth = painter.fontMetrics().horizontalAdvance(QStringLiteral("00000.0"));
    const AxisTicks ticks =
        ChooseTicks(start / unit.microseconds, end / unit.microseconds, width(), textWidth * 1.4);
    for (const double value : ticks.values) {
        const int column =
            static_cast<int>(std::lround(model.XAtTime(value * unit.microseconds))) - scrollX;
        painter.drawLine(column, axis.top(), column, axis.top() + kTickLength);
        const QString text = QString::fromStdString(TickText(value, ticks.step));
        const int half = painter.fontMetrics().horizontalAdvance(text) / 2;
        const int left = std::clamp(column - half, 0, std::max(0, width() - 2 * half));
        painter.drawText(
            QRect(left, axis.top() + kTickLength, 2 * half + 2, axis.height() - kTickLength),
            Qt::AlignLeft | Qt::AlignVCenter, text);
    }
}
