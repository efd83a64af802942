// tessaran-cli: the recording reader and the analyses from the command line.
#include "cli/Command.h"

#include <QCoreApplication>

#include <cstdio>
#include <map>
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

int Usage() {
    std::fprintf(stderr, "usage:\n");
    for (const auto& [name, entry] : Commands())
        std::fprintf(stderr, "  tessaran-cli %s\n", entry.usage);
    return 2;
}

} // namespace

CommandRegistration::CommandRegistration(const char* name, const char* usage,
                                         CommandFunction function) {
    Commands()[name] = {usage, function};
}

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 2)
        return Usage();
    auto it = Commands().find(arguments.at(1).toStdString());
    if (it == Commands().end())
        return Usage();
    return it->second.function(arguments.mid(2));
}
