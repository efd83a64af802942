// tessaran-cli analyse: each recording analysed as the program would right after
// opening it, with the pages' choices from the profile, the results printed as
// one JSON document per file or as a short text summary (cli/ResultSummary.h),
// and the results workbook (cli/WorkbookOutput.h).
#include "cli/Command.h"
#include "cli/RecordingAnalysis.h"
#include "cli/ResultJson.h"
#include "cli/ResultSummary.h"
#include "cli/WorkbookOutput.h"
#include "platform/Messages.h"
#include "platform/qt/IniProfileStore.h"

#include <QFile>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr char kUsage[] =
    "analyse FILE... [--settings INI] [--output PATH] [--print] [--force] [--json | --text]";

struct AnalyseOptions {
    std::vector<std::string> files;
    std::string settingsPath; // empty: the user's profile
    bool json = false;
    bool text = false;
    WorkbookRequest workbook;
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
        } else if (argument == "--text") {
            options.text = true;
        } else if (argument == "--print") {
            options.workbook.print = true;
        } else if (argument == "--force") {
            options.workbook.force = true;
        } else if (argument == "--output") {
            if (++i == arguments.size() || arguments.at(i).isEmpty()) {
                error = "--output needs the path of a file or folder";
                return false;
            }
            options.workbook.output = QFile::encodeName(arguments.at(i)).toStdString();
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
    if (options.json && options.text) {
        error = "--json and --text do not go together";
        return false;
    }
    // The workbook is written unless the JSON alone was asked for; the text
    // summary comes with it.
    options.workbook.write = !options.json || !options.workbook.output.empty();
    return CheckWorkbookRequest(options.workbook, options.files.size(), error);
}

// The results on stdout: one JSON line, or the text summary.
void PrintResults(const std::string& file, const PreparedRecording& prepared, bool json) {
    const std::vector<AnalysisResult> results = RunResultBuilders(prepared.store, prepared.choices);
    const std::string out =
        json ? ResultsToJson(file, results) + "\n"
             : ResultsToText(file, results, UnitsForCurrent(prepared.store.unit));
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout);
}

int RunAnalyse(const QStringList& arguments) {
    AnalyseOptions options;
    std::string error;
    if (!ParseOptions(arguments, options, error)) {
        std::fprintf(stderr, "tessaran-cli analyse: %s\nusage: tessaran-cli %s\n", error.c_str(),
                     kUsage);
        return 2;
    }
    // A settings file asked for must be read; the user's own profile that
    // cannot be is only a warning, the defaults standing in for it.
    IniProfileStore store("tessaran", options.settingsPath);
    const bool missing = !options.settingsPath.empty() && store.WasMissing();
    if (missing || store.IsUnusable()) {
        const std::string reason = missing ? "No such file or directory" : store.ReadProblem();
        std::fprintf(stderr, "tessaran-cli analyse: cannot read the settings file '%s': %s\n",
                     store.Path().c_str(), reason.c_str());
        if (!options.settingsPath.empty())
            return 2;
    }
    const AnalysisProfile profile = ReadAnalysisProfile(store);
    if (const std::string& problem = profile.pages.continuousRecord.loadProblem; !problem.empty()) {
        std::fprintf(stderr, "tessaran-cli analyse: the settings file '%s' holds %s\n",
                     store.Path().c_str(), problem.c_str());
        if (!options.settingsPath.empty())
            return 2;
    }
    int status = 0;
    for (const std::string& file : options.files) {
        PreparedRecording prepared;
        if (LoadResult loaded = PrepareRecording(file, profile, prepared); !loaded) {
            ShowNotice(loaded.ToNotice()); // on stderr; the other files still run
            status = 1;
            continue;
        }
        if (options.json || options.text)
            PrintResults(file, prepared, options.json);
        // Where the workbook went: on stdout, or on stderr beside the JSON documents.
        if ((options.workbook.write || options.workbook.print) &&
            !WriteWorkbookFor(file, prepared, options.workbook, options.json ? stderr : stdout))
            status = 1;
    }
    return status;
}

const CommandRegistration kRegistration("analyse", kUsage, RunAnalyse);

} // namespace
