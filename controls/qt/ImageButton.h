// A push button that shows a small image beside (or instead of) its text. The
// bitmap's mask colour (usually light grey RGB(192,192,192)) is shown as the
// button face; a disabled button draws image and text in the disabled look.
// Enter clicks it; a double click counts as two clicks.
#pragma once

#include "platform/ColourRef.h"

#include <QIcon>
#include <QPixmap>
#include <QPoint>
#include <QPushButton>

class CImageButton : public QPushButton {
    Q_OBJECT
public:
    explicit CImageButton(QWidget* parent = nullptr);
    explicit CImageButton(const QString& text, QWidget* parent = nullptr);

    // Shows `icon` at width x height; drops any bitmap. False when the icon is null.
    bool SetIcon(const QIcon& icon, int width, int height);
    // The program's icon numbered `iconId` (":/icons/<id>").
    bool SetIcon(int iconId, int width, int height);

    // Shows `bitmap` scaled to width x height with `maskColour` (0x00BBGGRR)
    // shown as the button face. False (and no image) when the bitmap is null.
    bool SetBitmap(const QImage& bitmap, int width, int height, ColourRef maskColour);
    // The same with the usual mask colour, light grey RGB(192,192,192).
    bool SetBitmap(const QImage& bitmap, int width, int height);
    // The program's bitmap numbered `bitmapId` (":/bitmaps/<id>").
    bool SetBitmap(int bitmapId, int width, int height, ColourRef maskColour);
    bool SetBitmap(int bitmapId, int width, int height);

    bool HasImage() const { return !m_image.isNull(); }
    QSize ImageSize() const { return m_imageSize; }

    // Text colour, 0x00BBGGRR; -1 (the default) uses the style's colour.
    void SetTextColour(std::int64_t colour);
    // Gap between image and text in pixels (default 4).
    void SetGap(int pixels);
    // Shift of the text block; negative places the text at a fixed distance
    // after the image instead of centring it in the remaining width.
    void SetTextOffset(int pixels);
    // Fixed positions of image and text (top-left corners); turns the default layout off.
    void SetImagePosition(const QPoint& image, const QPoint& text);
    // Back to the default layout: image left of the text, or centred without text.
    void UseDefaultLayout();
    // A small downward triangle at the right, in `colour`.
    void SetDropDownArrow(bool show, ColourRef colour = 0);
    // A one-pixel dark border around a flat face.
    void SetFlatBorder(bool flat);

    // Where the image is drawn (for the current state, size and text).
    QRect ImageRect() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void DropImage();
    QRect ContentRect() const;
    // Where the label goes inside `area`, beside the image resting at `restingImage`.
    QRect TextRect(const QRect& area, const QRect& restingImage) const;

    QPixmap m_image; // mask colour already transparent, so the face shows through
    QSize m_imageSize;
    bool m_defaultLayout = true;
    QPoint m_imagePosition;
    QPoint m_textPosition;
    int m_gap = 4;
    int m_textOffset = 0;
    bool m_flatBorder = false;
    bool m_dropDownArrow = false;
    ColourRef m_arrowColour = 0;
    std::int64_t m_textColour = -1;
};
