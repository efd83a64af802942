// tessaran-cli watch DIR: analyses each recording that turns up in DIR once it
// is complete, writes its workbook by the save rule (never replacing one) and
// logs one line per recording, until Ctrl+C or SIGTERM.
#include "app/FolderWatchRules.h"
#include "cli/AnalyseHelp.h"
#include "cli/AnalysisOverrides.h"
#include "cli/Command.h"
#include "cli/FileAnalysis.h"
#include "platform/qt/StableFileWatcher.h"

#include <QCoreApplication>
#include <QFile>
#include <QSocketNotifier>

#include <cmath>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr char kUsage[] = "watch DIR [--settings INI] [--output DIR] [--ramps protocol|settings] "
                          "[--channel auto|N] [--settle SECONDS]";

constexpr char kHelp[] =
    "Watches DIR (through the system's file notifications) and analyses each .abf or .dat\n"
    "recording that appears there once it is complete: its size has not changed for the\n"
    "settling time and the data section its header describes lies wholly in the file.\n"
    "Its workbook is written beside it as FILE.xlsx (or into --output); a recording whose\n"
    "workbook exists is skipped, so a restart does not redo work, and no workbook is ever\n"
    "replaced. One line per recording on stdout. Stops on Ctrl+C or SIGTERM.\n"
    "\n"
    "  --settings INI    read the analyses' choices from INI instead of the user's profile\n"
    "  --output DIR      write the workbooks into DIR (made when missing)\n";

// The rest of the options, after the channel and the ramps.
constexpr char kHelpSettle[] =
    "  --settle SECONDS  how long a recording's size must stay the same (default 2)\n"
    "  -h, --help        this text\n"
    "\n";

int g_signalPipe[2] = {-1, -1};

void OnSignal(int) {
    const char byte = 1;
    [[maybe_unused]] ssize_t written = write(g_signalPipe[1], &byte, 1);
}

struct WatchOptions {
    std::string folder;
    std::string settingsPath;
    std::string output;
    double settleSeconds = 2.0;
    bool help = false;
    AnalysisOverrides overrides;
};

bool ParseWatchOptions(const QStringList& arguments, WatchOptions& options, std::string& error) {
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (TakeAnalysisOverride(arguments, i, options.overrides, error)) {
            if (!error.empty())
                return false;
            continue;
        }
        const QString& argument = arguments.at(i);
        const bool takesValue =
            argument == "--settings" || argument == "--output" || argument == "--settle";
        if (takesValue && (i + 1 == arguments.size() || arguments.at(i + 1).isEmpty())) {
            error = argument.toStdString() + " needs a value";
            return false;
        }
        if (argument == "-h" || argument == "--help") {
            options.help = true;
        } else if (argument == "--settings") {
            options.settingsPath = QFile::encodeName(arguments.at(++i)).toStdString();
        } else if (argument == "--output") {
            options.output = QFile::encodeName(arguments.at(++i)).toStdString();
        } else if (argument == "--settle") {
            bool ok = false;
            options.settleSeconds = arguments.at(++i).toDouble(&ok);
            if (!ok || !std::isfinite(options.settleSeconds) || options.settleSeconds < 0 ||
                options.settleSeconds > 3600) {
                error = "--settle needs a number of seconds from 0 to 3600";
                return false;
            }
        } else if (argument.startsWith("-") || !options.folder.empty()) {
            error = "unexpected argument " + argument.toStdString();
            return false;
        } else {
            options.folder = QFile::encodeName(argument).toStdString();
        }
    }
    if (options.folder.empty() && !options.help) {
        error = "no folder given";
        return false;
    }
    return true;
}

// One settled recording: skipped, left until it is complete, or analysed.
// False while it is not complete.
bool HandleRecording(const std::string& file, const AnalysisProfile& profile,
                     const FileAnalysisRequest& request) {
    std::string reason;
    const std::string workbook = WorkbookPath(file, request.workbook.output);
    switch (DecideWatchedRecording(file, workbook, reason)) {
    case WatchedRecording::WorkbookExists:
        std::printf("%s: skipped: its workbook %s exists\n", file.c_str(), workbook.c_str());
        break;
    case WatchedRecording::Incomplete:
        std::printf("%s: not complete yet: %s\n", file.c_str(),
                    reason.substr(0, reason.find_first_of("\r\n")).c_str());
        std::fflush(stdout);
        return false;
    case WatchedRecording::Analyse:
        PrintFileReport(AnalyseFile(file, profile, request), request);
        break;
    }
    std::fflush(stdout);
    return true;
}

bool InstallSignalHandlers() {
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalPipe) != 0)
        return false;
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return sigaction(SIGINT, &action, nullptr) == 0 && sigaction(SIGTERM, &action, nullptr) == 0;
}

int RunWatch(const QStringList& arguments) {
    WatchOptions options;
    std::string error;
    if (!ParseWatchOptions(arguments, options, error)) {
        std::fprintf(stderr, "tessaran-cli watch: %s\nusage: tessaran-cli %s\n", error.c_str(),
                     kUsage);
        return 2;
    }
    if (options.help) {
        std::printf("usage: tessaran-cli %s\n\n%s%s%s%s", kUsage, kHelp,
                    AnalysisOverridesHelp(20).c_str(), kHelpSettle, kProfileKeysHelp);
        return 0;
    }
    FileAnalysisRequest request;
    request.workbook.write = true;
    request.workbook.output = options.output;
    std::error_code code;
    if (!options.output.empty() && !std::filesystem::is_directory(options.output, code) &&
        !std::filesystem::create_directories(options.output, code)) {
        std::fprintf(stderr, "tessaran-cli watch: cannot make the folder %s: %s\n",
                     options.output.c_str(), code.message().c_str());
        return 1;
    }
    AnalysisProfile profile;
    if (const int failed = ReadProfileFor("watch", options.settingsPath, profile))
        return failed;
    ApplyAnalysisOverrides(options.overrides, profile);
    if (!InstallSignalHandlers()) {
        std::fprintf(stderr, "tessaran-cli watch: cannot set up the signal handlers\n");
        return 1;
    }
    QSocketNotifier stop(g_signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&stop, &QSocketNotifier::activated, [] { QCoreApplication::quit(); });

    StableFileWatcher watcher(
        [](const std::string& path) { return IsRecordingFileName(path); },
        [&](const std::string& path) { return HandleRecording(path, profile, request); },
        std::chrono::milliseconds(std::llround(options.settleSeconds * 1000)));
    if (!watcher.Watch(options.folder, error)) {
        std::fprintf(stderr, "tessaran-cli watch: %s\n", error.c_str());
        return 1;
    }
    std::fprintf(stderr, "watching %s (Ctrl+C stops)\n", options.folder.c_str());
    QCoreApplication::exec();
    std::fprintf(stderr, "stopped watching %s\n", options.folder.c_str());
    return 0;
}

const CommandRegistration kRegistration("watch", kUsage, RunWatch);

} // namespace
