// Subcommands of tessaran-cli register themselves here; main dispatches by name.
#pragma once

#include <QStringList>

using CommandFunction = int (*)(const QStringList& arguments);

// Registers `name` (e.g. "info") with a one-line usage text. Used from a static
// object in each subcommand's source file.
struct CommandRegistration {
    CommandRegistration(const char* name, const char* usage, CommandFunction function);
};
