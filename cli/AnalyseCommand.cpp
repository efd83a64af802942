// tessaran-cli analyse: each recording analysed as the program would right after
// opening it, with the pages' choices from the profile; per recording one line
// saying what was written and what was skipped (or one JSON object with
// --jsonl), the results as JSON with --json, and the results workbook
// (cli/WorkbookOutput.h). Recordings run in parallel; output keeps their order.
#include "cli/AnalyseHelp.h"
#include "cli/AnalysisOverrides.h"
#include "cli/BatchInputs.h"
#include "cli/Command.h"
#include "cli/FileAnalysis.h"
#include "cli/OrderedParallel.h"
#include "cli/Progress.h"
#include "export/WorkbookFiles.h"

#include <QFile>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr char kUsage[] =
    "analyse FILE|FOLDER... [--recursive] [-j N] [--settings INI] "
    "[--channel auto|N] [--ramps protocol|settings] [--output PATH] [--summary PATH.xlsx] "
    "[--print] [--force] [--json | --text | --jsonl]";

constexpr char kHelp[] =
    "Analyses each recording (.abf, .dat) as the program does right after opening it and\n"
    "writes its results workbook beside it as FILE.xlsx, never replacing one without --force.\n"
    "Per recording one line says what was written and what was skipped and why.\n"
    "\n"
    "  FOLDER          its .abf and .dat files, sorted by name\n"
    "  --recursive     with a FOLDER, the files of its subfolders too\n"
    "  -j N, --jobs N  analyse N recordings at a time (default: every core); the output\n"
    "                  keeps the order given\n"
    "  --settings INI  read the analyses' choices from INI instead of the user's profile\n";

// The rest of the options, after the channel and the ramps.
constexpr char kHelpOutput[] =
    "  --output PATH   a folder for the workbooks (made when missing and several\n"
    "                  recordings are given), or the workbook's file for one recording\n"
    "  --summary PATH  also one workbook over all recordings: a sheet each for slope\n"
    "                  conductance, current at the test potential and capacitance with a\n"
    "                  row per recording (a column per trace, mean, SD, n), IV with a row\n"
    "                  per recording and voltage, and \"Files\" (path, size, SHA-256,\n"
    "                  format version, channel, sample interval, samples, traces)\n"
    "  --force         replace existing workbooks (the summary too)\n"
    "  --print         also print the chart sheets (to FILE.charts.pdf without a printer)\n"
    "  --json          the results as one JSON document per recording on stdout (the\n"
    "                  lines go to stderr); no workbook unless --output is given\n"
    "  --text          a short summary of the results per recording, with units, on stdout\n"
    "  --jsonl         instead of the lines, one JSON object per recording: file, ok,\n"
    "                  workbook, sheets, skipped [{sheet, reason}], warnings, error\n"
    "  -h, --help      this text\n"
    "Progress (recordings done of all, the current name) goes to stderr when it is a terminal.\n"
    "\n";

struct AnalyseOptions {
    std::vector<std::string> inputs;
    std::string settingsPath; // empty: the user's profile
    bool recursive = false;
    bool help = false;
    unsigned jobs = 0; // 0: every core
    std::string summaryPath;
    FileAnalysisRequest request;
    AnalysisOverrides overrides;
};

bool ParseJobs(const QString& text, unsigned& jobs, std::string& error) {
    bool ok = false;
    const uint value = text.toUInt(&ok);
    if (!ok || value < 1 || value > 1024) {
        error = "-j needs a number of jobs from 1 to 1024";
        return false;
    }
    jobs = value;
    return true;
}

// Takes the value of option `name` at arguments[++i] into `value`.
bool TakeValue(const QStringList& arguments, qsizetype& i, const char* what, QString& value,
               std::string& error) {
    if (++i == arguments.size() || arguments.at(i).isEmpty()) {
        error = arguments.at(i - 1).toStdString() + " needs " + what;
        return false;
    }
    value = arguments.at(i);
    return true;
}

bool ParseOption(const QStringList& arguments, qsizetype& i, AnalyseOptions& options,
                 std::string& error) {
    const QString& argument = arguments.at(i);
    WorkbookRequest& workbook = options.request.workbook;
    QString value;
    if (TakeAnalysisOverride(arguments, i, options.overrides, error))
        return error.empty();
    if (argument == "--json")
        options.request.json = true;
    else if (argument == "--text")
        options.request.text = true;
    else if (argument == "--jsonl")
        options.request.jsonl = true;
    else if (argument == "--print")
        workbook.print = true;
    else if (argument == "--force")
        workbook.force = true;
    else if (argument == "--recursive")
        options.recursive = true;
    else if (argument == "-h" || argument == "--help")
        options.help = true;
    else if (argument.startsWith("-j") && argument.size() > 2)
        return ParseJobs(argument.mid(2), options.jobs, error);
    else if (argument == "-j" || argument == "--jobs")
        return TakeValue(arguments, i, "a number", value, error) &&
               ParseJobs(value, options.jobs, error);
    else if (argument == "--output") {
        if (!TakeValue(arguments, i, "the path of a file or folder", value, error))
            return false;
        workbook.output = QFile::encodeName(value).toStdString();
    } else if (argument == "--summary") {
        if (!TakeValue(arguments, i, "the path of a workbook", value, error))
            return false;
        options.summaryPath = QFile::encodeName(value).toStdString();
        options.request.summary = true;
    } else if (argument == "--settings") {
        if (!TakeValue(arguments, i, "the path of an INI file", value, error))
            return false;
        options.settingsPath = QFile::encodeName(value).toStdString();
    } else {
        error = "unknown option " + argument.toStdString();
        return false;
    }
    return true;
}

// False with `error` set when the arguments do not make a command.
bool ParseOptions(const QStringList& arguments, AnalyseOptions& options, std::string& error) {
    bool onlyFiles = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (onlyFiles || !argument.startsWith("-") || argument == "-")
            options.inputs.push_back(QFile::encodeName(argument).toStdString());
        else if (argument == "--")
            onlyFiles = true;
        else if (!ParseOption(arguments, i, options, error))
            return false;
    }
    if (options.help)
        return true;
    if (options.inputs.empty()) {
        error = "no recording given";
        return false;
    }
    if (options.request.json && options.request.text) {
        error = "--json and --text do not go together";
        return false;
    }
    if (options.request.jsonl && (options.request.json || options.request.text)) {
        error = "--jsonl does not go together with --json or --text";
        return false;
    }
    WorkbookRequest& workbook = options.request.workbook;
    // The workbook is written unless the JSON alone was asked for; the text
    // summary comes with it.
    workbook.write = !options.request.json || !workbook.output.empty();
    return true;
}

int Fail(const std::string& error) {
    std::fprintf(stderr, "tessaran-cli analyse: %s\nusage: tessaran-cli %s\n", error.c_str(),
                 kUsage);
    return 2;
}

// Writes the summary of `entries` to `path` by the save rule; false (and
// said on stderr) when it was not written. Where it went is said on `told`.
bool WriteSummary(const std::vector<SummaryEntry>& entries, const std::string& path, bool force,
                  std::FILE* told) {
    std::string reason;
    switch (SaveWorkbookFile(MakeSummaryWorkbook(entries), path, force, reason)) {
    case SaveStatus::Saved:
        std::fprintf(told, "summary of %zu recordings written to %s\n", entries.size(),
                     path.c_str());
        return true;
    case SaveStatus::Exists:
        std::fprintf(stderr, "summary not written: %s exists (--force replaces it)\n",
                     path.c_str());
        return false;
    case SaveStatus::Failed:
        break;
    }
    std::fprintf(stderr, "summary not written to %s: %s\n", path.c_str(), reason.c_str());
    return false;
}

// Makes `path` the summary's file (".xlsx" appended when missing); 0, or the
// exit status when it is a folder or exists and may not be replaced.
int CheckSummaryPath(std::string& path, bool force) {
    if (path.empty())
        return 0;
    std::error_code code;
    if (std::filesystem::is_directory(path, code))
        return Fail("--summary needs the path of a workbook file, not a folder");
    path = WorkbookPath("", path);
    if (!force && std::filesystem::exists(std::filesystem::symlink_status(path, code))) {
        std::fprintf(stderr, "summary not written: %s exists (--force replaces it)\n",
                     path.c_str());
        return 1;
    }
    return 0;
}

int RunAnalyse(const QStringList& arguments) {
    AnalyseOptions options;
    std::string error;
    if (!ParseOptions(arguments, options, error))
        return Fail(error);
    if (options.help) {
        std::printf("usage: tessaran-cli %s\n\n%s%s%s%s%s", kUsage, kHelp,
                    AnalysisOverridesHelp(18).c_str(), kHelpOutput, kProfileKeysHelp,
                    kExitStatusHelp);
        return 0;
    }
    const BatchInputs inputs = ExpandRecordingArguments(options.inputs, options.recursive);
    if (!CheckWorkbookRequest(options.request.workbook, inputs.files.size(), error))
        return Fail(error);
    int status = 0;
    for (const std::string& folder : inputs.empties) {
        std::fprintf(stderr, "%s: no .abf or .dat files in this folder\n", folder.c_str());
        status = 1;
    }

    std::string& summaryPath = options.summaryPath;
    if (const int failed = CheckSummaryPath(summaryPath, options.request.workbook.force))
        return failed;
    AnalysisProfile profile;
    if (const int failed = ReadProfileFor("analyse", options.settingsPath, profile))
        return failed;
    ApplyAnalysisOverrides(options.overrides, profile);
    const std::vector<std::string>& files = inputs.files;
    Progress progress(files.size());
    std::vector<SummaryEntry> summary;
    RunInOrder<FileReport>(
        files.size(), options.jobs ? options.jobs : DefaultJobCount(),
        [&](size_t i) { return AnalyseFile(files[i], profile, options.request); },
        [&](size_t i, FileReport& report) {
            progress.Clear();
            PrintFileReport(report, options.request);
            if (!report.ok)
                status = 1;
            if (options.request.summary)
                summary.push_back(std::move(report.summary));
            progress.Show(files[i]);
        },
        [&](size_t done) { progress.Done(done); });
    progress.Clear();
    // Standard output stays one JSON document per line with --json and --jsonl.
    std::FILE* told = options.request.json || options.request.jsonl ? stderr : stdout;
    if (!summaryPath.empty() &&
        !WriteSummary(summary, summaryPath, options.request.workbook.force, told))
        status = 1;
    return status;
}

const CommandRegistration kRegistration("analyse", kUsage, RunAnalyse);

} // namespace
