#include "analysis/qt/PageButtonImages.h"

#include "controls/qt/ProgramImages.h"

#include <QPainter>
#include <QSvgRenderer>

// Outside any namespace: the resource's initialiser is declared by the macro.
static void InitPageResources() {
    static const bool done = [] {
        Q_INIT_RESOURCE(pages);
        return true;
    }();
    (void)done;
}

namespace {

const char* DrawingName(int bitmapId) {
    switch (bitmapId) {
    case kZoomInBitmap:
        return "zoom-in";
    case kZoomOutBitmap:
        return "zoom-out";
    case kAddCurrentBitmap:
        return "add-current";
    case kRemoveCurrentBitmap:
        return "remove-current";
    case kAddAllBitmap:
        return "add-all";
    case kRemoveAllBitmap:
        return "remove-all";
    default:
        return nullptr;
    }
}

} // namespace

QImage PageButtonBitmap(int bitmapId) {
    QImage bitmap = LoadProgramBitmap(bitmapId);
    if (!bitmap.isNull())
        return bitmap;
    const char* name = DrawingName(bitmapId);
    if (!name)
        return {};
    InitPageResources();
    QSvgRenderer drawing(QStringLiteral(":/pages/%1.svg").arg(QLatin1String(name)));
    if (!drawing.isValid())
        return {};
    // The drawings are whole pixels on a 16 x 16 grid, so they come out crisp
    // and the background stays exactly the mask colour.
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(QColor(192, 192, 192));
    QPainter painter(&image);
    drawing.render(&painter, QRectF(0, 0, 16, 16));
    return image;
}
