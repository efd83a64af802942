// tessaran-cli analyse: each recording analysed as the program would right after
// opening it, with the pages' choices from the profile, the results printed as
// one JSON document per file.
#include "cli/Command.h"
#include "cli/RecordingAnalysis.h"
#include "cli/ResultJson.h"
#include "platform/qt/IniProfileStore.h"

#include <QFile>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr char kUsage[] = "analyse FILE... [--settings INI] --json";

struct AnalyseOptions {
    std::vector<std::string> files;
    std::string settingsPath; // empty: the user's profile
    bool json = false;
};

// False with `error` set when the arguments do not make a command.
bool ParseOptions(const QStringList& arguments, AnalyseOptions& options, std::string& error) {
    bool onlyFiles = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (onlyFiles || !argument.startsWith("-") || argument == "-") {
            options.files.push_back(QFile::encodeName(argument).toStdString());
        } else if (argument == "--") {
            onlyFiles = true;
        } else if (argument == "--json") {
            options.json = true;
        } else if (argument == "--settings") {
            if (++i == arguments.size()) {
                error = "--settings needs the path of an INI file";
                return false;
            }
            options.settingsPath = QFile::encodeName(arguments.at(i)).toStdString();
        } else {
            error = "unknown option " + argument.toStdString();
            return false;
        }
    }
    if (options.files.empty()) {
        error = "no recording given";
        return false;
    }
    if (!options.json) {
        error = "no output chosen (--json)";
        return false;
    }
    return true;
}

int RunAnalyse(const QStringList& arguments) {
    AnalyseOptions options;
    std::string error;
    if (!ParseOptions(arguments, options, error)) {
        std::fprintf(stderr, "tessaran-cli analyse: %s\nusage: tessaran-cli %s\n", error.c_str(),
                     kUsage);
        return 2;
    }
    if (!options.settingsPath.empty()) {
        std::error_code code;
        if (!std::filesystem::is_regular_file(options.settingsPath, code)) {
            std::fprintf(stderr, "tessaran-cli analyse: cannot read the settings file '%s'.\n",
                         options.settingsPath.c_str());
            return 1;
        }
    }

    IniProfileStore store("tessaran", options.settingsPath);
    const AnalysisProfile profile = ReadAnalysisProfile(store);
    int status = 0;
    for (const std::string& file : options.files) {
        std::vector<CategoryResult> results;
        if (!AnalyseRecording(file, profile, results)) {
            status = 1; // the load error has been shown; the other files still run
            continue;
        }
        std::string json = ResultsToJson(file, results);
        std::fwrite(json.data(), 1, json.size(), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    }
    return status;
}

const CommandRegistration registration("analyse", kUsage, RunAnalyse);

} // namespace
