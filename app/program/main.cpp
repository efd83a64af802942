// tessaran: the desktop program. `tessaran [FILE]` opens FILE at start.
#include "app/qt/AnalysisApp.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setDesktopFileName(QStringLiteral("tessaran"));

    QStringList files = QApplication::arguments();
    files.removeFirst();
    CAnalysisApp analysisApp;
    if (!analysisApp.InitInstance(files))
        return 0;
    return analysisApp.ExitInstance(QApplication::exec());
}
