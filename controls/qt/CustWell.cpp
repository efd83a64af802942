#include "controls/qt/CustWell.h"

#include "controls/WellOwner.h"
#include "controls/qt/QtColour.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QToolTip>
#include <qdrawutil.h>

#include <algorithm>

namespace {

constexpr int kMargin = 4;
constexpr int kItemInset = 3;
constexpr int kSeparatorHeight = 7;

int MulDiv(int number, int numerator, int denominator) {
    return (number * numerator + denominator / 2) / denominator;
}

} // namespace

TLCustWell::TLCustWell(QWidget* parent) : QWidget(parent, Qt::Popup) {
    setObjectName(QStringLiteral("colourWell"));
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_DeleteOnClose, false);
}

void TLCustWell::Open(std::shared_ptr<TLColourSet> set, ITLWellOwner* owner, const QRect& anchor,
                      int highlight, const QFont& dialogFont) {
    m_set = std::move(set);
    m_owner = owner;
    m_dialogFont = dialogFont;
    m_choiceMade = false;
    m_wasActive = false;
    m_pressed = -1;
    Relayout();
    m_highlight = highlight < int(m_itemRects.size()) ? highlight : -1;

    QPoint topLeft(anchor.left(), anchor.bottom() + 1);
    if (const QScreen* screen = QGuiApplication::screenAt(anchor.center())) {
        const QRect available = screen->availableGeometry();
        if (topLeft.y() + height() > available.bottom() &&
            anchor.top() - height() >= available.top())
            topLeft.setY(anchor.top() - height());
        topLeft.setX(std::clamp(topLeft.x(), available.left(),
                                std::max(available.left(), available.right() + 1 - width())));
    }
    // The client area itself goes below the button, whatever frame the platform adds.
    setGeometry(QRect(topLeft, size()));
    show();
    setFocus(Qt::PopupFocusReason);
}

void TLCustWell::MeasureCells() {
    // Dialog base units of the dialog font, as a dialog template measures them.
    const QFontMetrics dialogMetrics(m_dialogFont);
    const int alphabet = dialogMetrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    const int baseX = std::max(1, (alphabet / 26 + 1) / 2);
    const int baseY = std::max(1, dialogMetrics.height());
    m_cell = QSize(std::max(8, MulDiv(m_set->cellWidth, baseX, 4)),
                   std::max(8, MulDiv(m_set->cellHeight, baseY, 8)));
    const QFontMetrics metrics(font());
    m_textRowHeight = std::max(metrics.height() + 2 * kItemInset + 4, m_cell.height() * 2 / 3);
}

int TLCustWell::WidestTextItem() const {
    const QFontMetrics metrics(font());
    int widest = 0;
    for (int item = 0; item < m_set->ItemCount(); ++item) {
        const TLWellItemKind kind = m_set->ItemAt(item).kind;
        if (kind != TLWellItemKind::Standard && kind != TLWellItemKind::Custom)
            widest = std::max(widest, metrics.horizontalAdvance(
                                          QString::fromStdString(m_set->ItemToolTip(item))) +
                                          4 * kItemInset + 8);
    }
    return widest;
}

void TLCustWell::PlaceCells(int& item, int count, int left, int top, int columns) {
    for (int i = 0; i < count; ++i, ++item)
        m_itemRects[std::size_t(item)] =
            QRect(left + (i % columns) * m_cell.width(), top + (i / columns) * m_cell.height(),
                  m_cell.width(), m_cell.height());
}

void TLCustWell::PlaceTextRows(int& item, int count, int width, int& y) {
    for (int i = 0; i < count; ++i, ++item) {
        m_itemRects[std::size_t(item)] = QRect(kMargin, y, width, m_textRowHeight);
        y += m_textRowHeight;
    }
}

void TLCustWell::Relayout() {
    if (!m_set)
        return;
    MeasureCells();
    const int columns = std::max(1, m_set->columns);
    const int gridWidth = columns * m_cell.width();
    const int contentWidth = std::max(gridWidth, WidestTextItem());
    const int gridLeft = kMargin + (contentWidth - gridWidth) / 2;

    m_itemRects.assign(std::size_t(m_set->ItemCount()), QRect());
    m_separators.clear();
    int y = kMargin;
    int item = 0;
    PlaceTextRows(item, m_set->TopCount(), contentWidth, y);
    const int standardCount = int(m_set->standardColours.size());
    PlaceCells(item, standardCount, gridLeft, y, columns);
    y += ((standardCount + columns - 1) / columns) * m_cell.height();
    m_separators.push_back(y + kSeparatorHeight / 2);
    y += kSeparatorHeight;

    // Room for every custom row, filled or not.
    const int customCount = int(m_set->customColours.size());
    const int customRows = std::max(m_set->customRows, (customCount + columns - 1) / columns);
    PlaceCells(item, customCount, gridLeft, y, columns);
    y += customRows * m_cell.height();
    if (customRows > 0) {
        m_separators.push_back(y + kSeparatorHeight / 2);
        y += kSeparatorHeight;
    }
    PlaceTextRows(item, m_set->BottomCount(), contentWidth, y);
    setFixedSize(contentWidth + 2 * kMargin, y + kMargin);
    update();
}

void TLCustWell::SetHighlight(int item) {
    if (item < -1 || item >= int(m_itemRects.size()))
        item = -1;
    if (item == m_highlight)
        return;
    m_highlight = item;
    update();
}

int TLCustWell::ItemAt(const QPoint& pos) const {
    for (std::size_t i = 0; i < m_itemRects.size(); ++i) {
        if (m_itemRects[i].contains(pos))
            return int(i);
    }
    return -1;
}

QRect TLCustWell::ItemRect(int item) const {
    if (item < 0 || item >= int(m_itemRects.size()))
        return {};
    return m_itemRects[std::size_t(item)];
}

void TLCustWell::CloseWithoutChoice() {
    m_choiceMade = false;
    hide();
}

void TLCustWell::Choose(int item) {
    if (!m_set || item < 0 || item >= m_set->ItemCount())
        return;
    const TLWellItemKind kind = m_set->ItemAt(item).kind;
    const ColourRef colour = m_set->ItemColour(item);
    ITLWellOwner* owner = m_owner;
    m_choiceMade = true;
    hide();
    if (!owner)
        return;
    switch (kind) {
    case TLWellItemKind::Standard:
    case TLWellItemKind::Custom:
        owner->OnWellColourChosen(colour);
        break;
    case TLWellItemKind::None:
        owner->OnWellNoneChosen();
        break;
    case TLWellItemKind::Automatic:
        owner->OnWellAutomaticChosen();
        break;
    case TLWellItemKind::MoreColours:
        owner->OnWellMoreColours();
        break;
    case TLWellItemKind::Undefined:
        owner->OnWellClosed();
        break;
    }
}

bool TLCustWell::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip && m_set) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int item = ItemAt(help->pos());
        if (item >= 0)
            QToolTip::showText(help->globalPos(), QString::fromStdString(m_set->ItemToolTip(item)),
                               this, ItemRect(item));
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

void TLCustWell::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    qDrawShadePanel(&painter, rect(), palette(), false, 1);

    painter.setPen(palette().color(QPalette::Mid));
    for (const int y : m_separators)
        painter.drawLine(kMargin + 2, y, width() - kMargin - 3, y);
    for (int item = 0; item < int(m_itemRects.size()); ++item)
        DrawItem(painter, item);
}

void TLCustWell::DrawItem(QPainter& painter, int item) {
    const QRect cell = m_itemRects[std::size_t(item)];
    if (item == m_highlight) {
        QColor glow = palette().color(QPalette::Highlight);
        glow.setAlpha(70);
        painter.fillRect(cell.adjusted(1, 1, -1, -1), glow);
        qDrawShadePanel(&painter, cell, palette(), item == m_pressed, 1);
    }

    const QRect inner = cell.adjusted(kItemInset, kItemInset, -kItemInset, -kItemInset);
    const TLWellItemKind kind = m_set->ItemAt(item).kind;
    if (kind == TLWellItemKind::Standard || kind == TLWellItemKind::Custom) {
        painter.fillRect(inner, ToQColor(m_set->ItemColour(item)));
        painter.setPen(palette().color(QPalette::Shadow));
        painter.drawRect(inner.adjusted(0, 0, -1, -1));
        return;
    }
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(inner, Qt::AlignCenter | Qt::TextSingleLine,
                     QString::fromStdString(m_set->ItemToolTip(item)));
}

void TLCustWell::mouseMoveEvent(QMouseEvent* event) {
    const int item = ItemAt(event->position().toPoint());
    if (item >= 0)
        SetHighlight(item);
}

void TLCustWell::mousePressEvent(QMouseEvent* event) {
    if (!rect().contains(event->position().toPoint())) {
        // A press on the button that opened the well only closes it; the
        // button must not open it again at once.
        if (parentWidget() && parentWidget()->rect().contains(
                                  parentWidget()->mapFromGlobal(event->globalPosition().toPoint())))
            setAttribute(Qt::WA_NoMouseReplay);
        CloseWithoutChoice();
        return;
    }
    if (event->button() == Qt::LeftButton) {
        m_pressed = ItemAt(event->position().toPoint());
        if (m_pressed >= 0)
            SetHighlight(m_pressed);
        update();
    }
}

void TLCustWell::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const int item = ItemAt(event->position().toPoint());
    m_pressed = -1;
    update();
    if (item >= 0)
        Choose(item);
}

void TLCustWell::keyPressEvent(QKeyEvent* event) {
    if (!m_set)
        return;
    switch (event->key()) {
    case Qt::Key_Escape:
        CloseWithoutChoice();
        break;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_highlight >= 0)
            Choose(m_highlight);
        break;
    case Qt::Key_Left:
        SetHighlight(m_set->Navigate(m_highlight, TLWellKey::Left));
        break;
    case Qt::Key_Right:
        SetHighlight(m_set->Navigate(m_highlight, TLWellKey::Right));
        break;
    case Qt::Key_Up:
        SetHighlight(m_set->Navigate(m_highlight, TLWellKey::Up));
        break;
    case Qt::Key_Down:
        SetHighlight(m_set->Navigate(m_highlight, TLWellKey::Down));
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void TLCustWell::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    setAttribute(Qt::WA_NoMouseReplay, false);
    if (m_choiceMade || !m_owner)
        return;
    // Escape, a click outside or the loss of the focus.
    m_choiceMade = true;
    m_owner->OnWellClosed();
}

void TLCustWell::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::ActivationChange)
        return;
    if (isActiveWindow())
        m_wasActive = true;
    else if (m_wasActive && isVisible())
        CloseWithoutChoice();
}
