// The program's bitmaps and icons, addressed by their number (9, 104, 114, ...)
// or by name, from the Qt resources under ":/bitmaps/" and ":/icons/".
#pragma once

#include <QImage>
#include <QString>

// Makes the controls' compiled-in resources available (needed once, since they
// live in a static library); safe to call repeatedly.
void InitControlsResources();

// ":/bitmaps/<id>.png" (or .bmp, .svg): the first that exists; empty when none does.
QString BitmapResourcePath(int id);
// ":/icons/<id>.png" (or .svg, .ico): the first that exists; empty when none does.
QString IconResourcePath(int id);

// Loads the bitmap numbered `id`; a null image when there is none.
QImage LoadProgramBitmap(int id);
