#include "controls/qt/ProgramImages.h"

#include <QFile>

void InitControlsResources() {
    static const bool done = [] {
        Q_INIT_RESOURCE(controls);
        return true;
    }();
    (void)done;
}

namespace {

QString FirstExisting(const QString& stem, std::initializer_list<const char*> extensions) {
    InitControlsResources();
    for (const char* extension : extensions) {
        QString path = stem + QLatin1String(extension);
        if (QFile::exists(path))
            return path;
    }
    return {};
}

} // namespace

QString BitmapResourcePath(int id) {
    return FirstExisting(QStringLiteral(":/bitmaps/%1").arg(id), {".png", ".bmp", ".svg"});
}

QString IconResourcePath(int id) {
    return FirstExisting(QStringLiteral(":/icons/%1").arg(id), {".png", ".svg", ".ico"});
}

QImage LoadProgramBitmap(int id) {
    const QString path = BitmapResourcePath(id);
    return path.isEmpty() ? QImage() : QImage(path);
}
