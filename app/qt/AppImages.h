// The main window's own images: the button bitmaps (2, 9, 104, 129), the tab
// strip (108) and the window icon (103), compiled into the program.
#pragma once

#include <QIcon>
#include <QList>
#include <QPixmap>

// Resource numbers of the main window's images.
inline constexpr int kExitBitmap = 2;
inline constexpr int kHelpBitmap = 9;
inline constexpr int kAnalyseBitmap = 104;
inline constexpr int kTabStripBitmap = 108;
inline constexpr int kOpenFileBitmap = 129;
inline constexpr int kWindowIcon = 103;

// Makes the images available (they live in a static library); safe to repeat.
void InitAppResources();

// The window icon: the 16x16 picture for small sizes, the drawing for larger ones.
QIcon TessaranWindowIcon();

// The tab images: the strip `bitmap` cut into pictures `width` pixels wide,
// with RGB(192,192,192) made transparent. Empty when the bitmap is missing.
QList<QPixmap> TabImagesFromStrip(int bitmap, int width);
