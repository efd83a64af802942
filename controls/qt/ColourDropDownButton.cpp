#include "controls/qt/ColourDropDownButton.h"

#include "controls/ControlNotifications.h"
#include "controls/qt/CustWell.h"
#include "controls/qt/QtColour.h"

#include <QColorDialog>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace {

std::optional<ColourRef> AskColourDialog(ColourRef initial, QWidget* parent) {
    const QColor chosen = QColorDialog::getColor(ToQColor(initial), parent);
    if (!chosen.isValid())
        return std::nullopt;
    return ToColourRef(chosen);
}

TLColourDropDownButton::ColourDialogFunction g_colourDialog;

constexpr int kArrowWidth = 12;

} // namespace

TLColourDropDownButton::ColourDialogFunction
TLColourDropDownButton::SetColourDialogFunction(ColourDialogFunction function) {
    ColourDialogFunction previous = std::move(g_colourDialog);
    g_colourDialog = std::move(function);
    return previous;
}

TLColourDropDownButton::TLColourDropDownButton(QWidget* parent)
    : TLDropDownButton(parent), m_well(new TLCustWell(this)),
      m_set(std::make_shared<TLColourSet>()) {}

TLColourDropDownButton::~TLColourDropDownButton() {
    if (m_set->owner == this)
        m_set->owner = nullptr;
    // The well must not call back into a half-destroyed button.
    m_well->DetachOwner();
    delete m_well;
    m_well = nullptr;
}

void TLColourDropDownButton::SetColour(ColourRef colour) {
    const ColourRef previous = m_colour;
    m_colour = colour;
    update();
    if (colour != previous) {
        emit notification(this, kNotifyColourChanged);
        emit colourChanged(colour);
    }
}

void TLColourDropDownButton::ShareColourSet(const TLColourDropDownButton& other) {
    if (other.m_set != m_set)
        m_set = other.m_set;
}

bool TLColourDropDownButton::PopupOpenForSet() const {
    return m_set->owner != nullptr;
}

void TLColourDropDownButton::LoadColour(ColourRef colour) {
    SetColour(colour);
    m_selectedItem = m_set->SelectColour(colour, PopupOpenForSet());
}

void TLColourDropDownButton::Exchange(bool saving, ColourRef& colour) {
    if (saving)
        colour = m_colour;
    else
        LoadColour(colour);
}

void TLColourDropDownButton::DropDown() {
    if (m_well->isVisible() || !isEnabled())
        return;
    SetDropDownOpen(true);
    emit notification(this, kNotifyDropDownOpening);
    m_set->owner = this;
    const int highlight = m_set->FindItem(m_colour);
    m_selectedItem = highlight;
    const QFont dialogFont = window() ? window()->font() : font();
    m_well->Open(m_set, this, QRect(mapToGlobal(QPoint(0, 0)), size()), highlight, dialogFont);
    update();
}

void TLColourDropDownButton::EndDropDown() {
    SetDropDownOpen(false);
    if (m_set->owner == this)
        m_set->owner = nullptr;
    update();
}

void TLColourDropDownButton::OnWellColourChosen(ColourRef colour) {
    EndDropDown();
    SetColour(colour);
}

void TLColourDropDownButton::RedrawOwner() {
    update();
}

void TLColourDropDownButton::OnWellMoreColours() {
    EndDropDown();
    const ColourDialogFunction& ask = g_colourDialog ? g_colourDialog : AskColourDialog;
    const std::optional<ColourRef> chosen = ask(m_colour & 0x00FFFFFFu, this);
    if (!chosen)
        return;
    SetColour(*chosen & 0x00FFFFFFu);
    m_selectedItem = m_set->SelectColour(m_colour, PopupOpenForSet());
    update();
}

void TLColourDropDownButton::OnWellNoneChosen() {
    EndDropDown();
    SetColour(kColourNone);
}

void TLColourDropDownButton::OnWellAutomaticChosen() {
    EndDropDown();
    SetColour(kColourAutomatic);
}

void TLColourDropDownButton::OnWellClosed() {
    EndDropDown();
    emit notification(this, kNotifyDropDownClosed);
}

QSize TLColourDropDownButton::sizeHint() const {
    const QFontMetrics metrics(font());
    QStyleOptionButton option;
    initStyleOption(&option);
    const QSize content(metrics.horizontalAdvance(QStringLiteral("Automatic")) + kArrowWidth + 16,
                        metrics.height() + 4);
    return style()->sizeFromContents(QStyle::CT_PushButton, &option, content, this);
}

QSize TLColourDropDownButton::minimumSizeHint() const {
    return QSize(kArrowWidth + 24, sizeHint().height());
}

void TLColourDropDownButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    if (IsDropDownOpen())
        option.state |= QStyle::State_Sunken;
    painter.drawControl(QStyle::CE_PushButtonBevel, option);

    const QRect contents = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    QRect arrow(contents.right() + 1 - kArrowWidth, contents.top(), kArrowWidth, contents.height());
    QStyleOption arrowOption = option;
    arrowOption.rect = arrow.adjusted(2, 0, -1, 0);
    painter.drawPrimitive(QStyle::PE_IndicatorArrowDown, arrowOption);

    const QRect swatch = QRect(contents.left(), contents.top(), contents.width() - kArrowWidth - 3,
                               contents.height())
                             .adjusted(2, 2, -2, -2);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Mid));
    painter.drawLine(arrow.left(), contents.top() + 2, arrow.left(), contents.bottom() - 2);
    if (m_colour == kColourNone || m_colour == kColourAutomatic) {
        const QString label =
            QString::fromStdString(m_set->topLabels[m_colour == kColourNone ? 0 : 1]);
        style()->drawItemText(&painter, swatch, Qt::AlignCenter, palette(), isEnabled(), label,
                              QPalette::ButtonText);
        return;
    }
    QColor fill = ToQColor(m_colour);
    if (!isEnabled())
        fill = palette().color(QPalette::Disabled, QPalette::Button);
    painter.fillRect(swatch, fill);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Shadow));
    painter.drawRect(swatch.adjusted(0, 0, -1, -1));
}
