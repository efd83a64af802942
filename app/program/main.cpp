// tessaran: the desktop program. `tessaran [FILE]` opens FILE at start.
#include "app/qt/AnalysisApp.h"
#include "tessaran/Version.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

namespace {

constexpr char kHelp[] =
    "usage: tessaran [FILE]\n"
    "Opens the analysis window, with the recording FILE (.abf or .dat) loaded.\n"
    "The channel analysed (\"Current channel:\", General Settings) and whether each trace's\n"
    "ramps come from its own protocol (\"Ramps from protocol\", the analysis pages) are\n"
    "chosen in the window and kept in the settings file; see tessaran(1).\n"
    "  --version  print the version and exit\n"
    "  --help     print this help and exit\n";

// Answers --version and --help before any window system is needed (so they
// work without a display); -1 when the arguments are for the program.
int AnswerQuery(int argc, char** argv) {
    if (argc != 2)
        return -1;
    if (std::strcmp(argv[1], "--version") == 0) {
        std::printf("tessaran %s\n", TESSARAN_VERSION);
        return 0;
    }
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        std::fputs(kHelp, stdout);
        return 0;
    }
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    if (int status = AnswerQuery(argc, argv); status >= 0)
        return status;
    QApplication application(argc, argv);
    QApplication::setDesktopFileName(QStringLiteral("tessaran"));

    QStringList files = QApplication::arguments();
    files.removeFirst();
    CAnalysisApp analysisApp;
    if (!analysisApp.InitInstance(files))
        return 0;
    return analysisApp.ExitInstance(QApplication::exec());
}
