// tessaran-cli: the recording reader and the analyses from the command line.
#include "cli/Command.h"
#include "tessaran/Version.h"

#include <QCoreApplication>
#ifdef TESSARAN_CLI_PRINTING
#include <QApplication>
#endif

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>

namespace {

struct CommandEntry {
    const char* usage;
    CommandFunction function;
};

std::map<std::string, CommandEntry>& Commands() {
    static std::map<std::string, CommandEntry> commands;
    return commands;
}

// The usage on `out`; the commands, then the two options of the program itself.
void PrintUsage(std::FILE* out) {
    std::fprintf(out, "usage:\n");
    for (const auto& [name, entry] : Commands())
        std::fprintf(out, "  tessaran-cli %s\n", entry.usage);
    std::fprintf(out, "  tessaran-cli --version\n  tessaran-cli --help\n"
                      "'tessaran-cli COMMAND --help' describes a command and its options.\n"
                      "Exit status: 0 success; 1 some recording failed; 2 bad usage.\n");
}

int Usage() {
    PrintUsage(stderr);
    return 2;
}

// Printing (--print) draws the charts with Qt Charts, which needs a GUI
// application; nothing is ever shown, so it runs on the offscreen platform
// unless told otherwise. Every other use stays with Qt Core.
std::unique_ptr<QCoreApplication> MakeApplication(int& argc, char** argv) {
#ifdef TESSARAN_CLI_PRINTING
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--print") == 0) {
            if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
                qputenv("QT_QPA_PLATFORM", "offscreen");
            return std::make_unique<QApplication>(argc, argv);
        }
    }
#endif
    return std::make_unique<QCoreApplication>(argc, argv);
}

} // namespace

CommandRegistration::CommandRegistration(const char* name, const char* usage,
                                         CommandFunction function) {
    Commands()[name] = {usage, function};
}

int main(int argc, char* argv[]) {
    const std::unique_ptr<QCoreApplication> app = MakeApplication(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 2)
        return Usage();
    if (arguments.at(1) == "--version") {
        std::printf("tessaran-cli %s\n", TESSARAN_VERSION);
        return 0;
    }
    if (arguments.at(1) == "--help" || arguments.at(1) == "-h") {
        PrintUsage(stdout);
        return 0;
    }
    auto it = Commands().find(arguments.at(1).toStdString());
    if (it == Commands().end())
        return Usage();
    return it->second.function(arguments.mid(2));
}
