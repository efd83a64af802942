#include "controls/qt/ImageButton.h"

#include "controls/qt/ProgramImages.h"
#include "controls/qt/QtColour.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPolygon>
#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

#include <algorithm>

namespace {

constexpr ColourRef kLightGrey = MakeColourRef(192, 192, 192);

// The bitmap with every pixel of the mask colour made transparent.
QImage MaskedImage(const QImage& bitmap, ColourRef maskColour) {
    QImage image = bitmap.convertToFormat(QImage::Format_ARGB32);
    const QRgb mask = ToQColor(maskColour).rgb() & 0x00FFFFFF;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] & 0x00FFFFFF) == mask)
                line[x] = 0;
        }
    }
    return image;
}

} // namespace

CImageButton::CImageButton(QWidget* parent) : QPushButton(parent) {}

CImageButton::CImageButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {}

void CImageButton::DropImage() {
    m_image = QPixmap();
    m_imageSize = QSize();
}

bool CImageButton::SetIcon(const QIcon& icon, int width, int height) {
    DropImage();
    if (!icon.isNull() && width > 0 && height > 0) {
        m_image = icon.pixmap(QSize(width, height));
        m_imageSize = QSize(width, height);
    }
    updateGeometry();
    update();
    return !m_image.isNull();
}

bool CImageButton::SetIcon(int iconId, int width, int height) {
    const QString path = IconResourcePath(iconId);
    return SetIcon(path.isEmpty() ? QIcon() : QIcon(path), width, height);
}

bool CImageButton::SetBitmap(const QImage& bitmap, int width, int height, ColourRef maskColour) {
    DropImage();
    if (!bitmap.isNull() && width > 0 && height > 0) {
        QImage image = MaskedImage(bitmap, maskColour);
        if (image.size() != QSize(width, height))
            image = image.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        m_image = QPixmap::fromImage(image);
        m_imageSize = QSize(width, height);
    }
    updateGeometry();
    update();
    return !m_image.isNull();
}

bool CImageButton::SetBitmap(const QImage& bitmap, int width, int height) {
    return SetBitmap(bitmap, width, height, kLightGrey);
}

bool CImageButton::SetBitmap(int bitmapId, int width, int height, ColourRef maskColour) {
    return SetBitmap(LoadProgramBitmap(bitmapId), width, height, maskColour);
}

bool CImageButton::SetBitmap(int bitmapId, int width, int height) {
    return SetBitmap(bitmapId, width, height, kLightGrey);
}

void CImageButton::SetTextColour(std::int64_t colour) {
    m_textColour = colour < 0 ? -1 : (colour & 0xFFFFFF);
    update();
}

void CImageButton::SetGap(int pixels) {
    m_gap = pixels;
    updateGeometry();
    update();
}

void CImageButton::SetTextOffset(int pixels) {
    m_textOffset = pixels;
    update();
}

void CImageButton::SetImagePosition(const QPoint& image, const QPoint& text) {
    m_defaultLayout = false;
    m_imagePosition = image;
    m_textPosition = text;
    update();
}

void CImageButton::UseDefaultLayout() {
    m_defaultLayout = true;
    update();
}

void CImageButton::SetDropDownArrow(bool show, ColourRef colour) {
    m_dropDownArrow = show;
    m_arrowColour = colour;
    update();
}

void CImageButton::SetFlatBorder(bool flat) {
    m_flatBorder = flat;
    update();
}

QRect CImageButton::ContentRect() const {
    QRect area = rect();
    if (m_flatBorder)
        area.adjust(1, 1, -1, -1);
    return area;
}

QRect CImageButton::ImageRect() const {
    if (m_image.isNull())
        return {};
    const QRect area = ContentRect();
    QPoint topLeft;
    if (!m_defaultLayout)
        topLeft = m_imagePosition;
    else if (!text().isEmpty())
        topLeft =
            QPoint(area.left() + m_gap, area.top() + (area.height() - m_imageSize.height()) / 2);
    else
        topLeft = QPoint(area.left() + (area.width() - m_imageSize.width()) / 2,
                         area.top() + (area.height() - m_imageSize.height()) / 2);
    if (isDown() || isChecked())
        topLeft += QPoint(1, 1);
    return QRect(topLeft, m_imageSize);
}

QSize CImageButton::sizeHint() const {
    QSize size = QPushButton::sizeHint();
    if (!m_image.isNull()) {
        size.rwidth() += m_imageSize.width() + 2 * m_gap;
        size.rheight() = std::max(size.height(), m_imageSize.height() + 8);
    }
    return size;
}

QRect CImageButton::TextRect(const QRect& area, const QRect& restingImage) const {
    const QFontMetrics metrics(font());
    const QSize textSize = metrics.size(Qt::TextShowMnemonic, text());
    if (!m_defaultLayout)
        return QRect(m_textPosition, textSize);
    const int left = m_image.isNull() ? area.left() : restingImage.right() + 1 + m_gap;
    const int top = area.top() + (area.height() - textSize.height()) / 2;
    if (m_textOffset >= 0) {
        const int remaining = area.right() + 1 - left;
        return QRect(left + (remaining - textSize.width()) / 2 + m_textOffset, top,
                     textSize.width(), textSize.height());
    }
    return QRect(left + m_gap, top, textSize.width(), textSize.height());
}

void CImageButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    option.icon = QIcon();
    // The focus is shown by the rectangle below, not by the style's frame.
    option.state &= ~QStyle::State_HasFocus;
    if (m_flatBorder) {
        painter.fillRect(rect(), palette().color(QPalette::Dark));
        option.rect = ContentRect();
    }
    painter.drawControl(QStyle::CE_PushButtonBevel, option);

    const QRect area = ContentRect();
    const bool pressed = isDown() || isChecked();
    if (m_dropDownArrow) {
        // Eight lines, each one pixel shorter at both ends.
        painter.setPen(ToQColor(m_arrowColour));
        const int x = area.right() - 8 - 16 + (pressed ? 1 : 0);
        const int y = area.top() + (area.height() - 8) / 2 + (pressed ? 1 : 0);
        for (int line = 0; line < 8; ++line)
            painter.drawLine(x + line, y + line, x + 15 - line, y + line);
    }

    const QRect imageRect = ImageRect();
    if (!m_image.isNull()) {
        const QPixmap shown =
            isEnabled() ? m_image : style()->generatedIconPixmap(QIcon::Disabled, m_image, &option);
        painter.drawPixmap(imageRect.topLeft(), shown);
    }

    if (!text().isEmpty()) {
        const QRect restingImage = pressed ? imageRect.translated(-1, -1) : imageRect;
        QRect textRect = TextRect(area, restingImage);
        if (pressed)
            textRect.translate(1, 1);
        QPalette textPalette = palette();
        if (m_textColour >= 0 && isEnabled())
            textPalette.setColor(QPalette::ButtonText, ToQColor(ColourRef(m_textColour)));
        style()->drawItemText(&painter, textRect, Qt::AlignCenter | Qt::TextShowMnemonic,
                              textPalette, isEnabled(), text(), QPalette::ButtonText);
    }

    if (hasFocus()) {
        const int smaller = std::min(width(), height());
        const int inset = smaller < 16 ? smaller / 4 : 3;
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(inset, inset, -inset, -inset);
        focus.backgroundColor = palette().color(QPalette::Button);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

void CImageButton::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        event->modifiers() == Qt::NoModifier) {
        if (isEnabled())
            click();
        event->accept();
        return;
    }
    QPushButton::keyPressEvent(event);
}
