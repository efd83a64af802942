#include "app/qt/AppImages.h"

#include "controls/qt/ProgramImages.h"

#include <QFile>
#include <QImage>

void InitAppResources() {
    static const bool done = [] {
        Q_INIT_RESOURCE(app);
        InitControlsResources();
        return true;
    }();
    (void)done;
}

QIcon TessaranWindowIcon() {
    InitAppResources();
    // The drawing scales to every size; the 16x16 picture is used at its own size.
    const QString drawing = QStringLiteral(":/icons/tessaran.svg");
    QIcon icon = QFile::exists(drawing) ? QIcon(drawing) : QIcon();
    const QString small = IconResourcePath(kWindowIcon);
    if (!small.isEmpty())
        icon.addFile(small, QSize(16, 16));
    return icon;
}

QList<QPixmap> TabImagesFromStrip(int bitmap, int width) {
    InitAppResources();
    QList<QPixmap> images;
    const QImage strip = LoadProgramBitmap(bitmap).convertToFormat(QImage::Format_ARGB32);
    if (strip.isNull() || width <= 0)
        return images;
    const QRgb mask = qRgb(192, 192, 192) & 0x00FFFFFF;
    for (int left = 0; left + width <= strip.width(); left += width) {
        QImage image = strip.copy(left, 0, width, strip.height());
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                if ((line[x] & 0x00FFFFFF) == mask)
                    line[x] = 0;
            }
        }
        images.append(QPixmap::fromImage(image));
    }
    return images;
}
