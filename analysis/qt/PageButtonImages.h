// The 16 x 16 images of the analysis pages' buttons, by the numbers the
// program's bitmaps carry. Light grey RGB(192,192,192) is the background,
// which CImageButton shows as the button face.
#pragma once

#include <QImage>

inline constexpr int kZoomInBitmap = 114;        // both zoom-in buttons
inline constexpr int kZoomOutBitmap = 117;       // both zoom-out buttons
inline constexpr int kAddCurrentBitmap = 107;    // "&Add Current"
inline constexpr int kRemoveCurrentBitmap = 124; // "&Remove Current"
inline constexpr int kAddAllBitmap = 123;        // "A&dd All"
inline constexpr int kRemoveAllBitmap = 128;     // "Re&move All"

// The program's bitmap numbered `bitmapId` when the controls' resources hold
// one; otherwise the page's own drawing of it, 16 x 16 on light grey. A null
// image for a number that is neither.
QImage PageButtonBitmap(int bitmapId);
