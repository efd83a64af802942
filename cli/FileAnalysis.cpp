#include "cli/FileAnalysis.h"

#include "abf/AbfErrors.h"
#include "cli/RecordingFacts.h"
#include "cli/ResultJson.h"
#include "cli/ResultSummary.h"
#include "export/AnalysisTable.h"
#include "export/ResultBuilders.h"
#include "platform/Messages.h"
#include "platform/qt/IniProfileStore.h"

#include <algorithm>
#include <cstdio>

namespace {

// Collects the messages of one worker thread while it is installed.
class CollectingSink : public IMessageSink {
public:
    explicit CollectingSink(std::string& into)
        : m_into(into), m_previous(SetThreadMessageSink(this)) {}
    ~CollectingSink() override { SetThreadMessageSink(m_previous); }
    CollectingSink(const CollectingSink&) = delete;
    CollectingSink& operator=(const CollectingSink&) = delete;

    MessageAnswer Show(const std::string& text, const std::string& caption, MessageIcon,
                       MessageButtons buttons) override {
        m_into += caption + ": " + text + "\n";
        // Nobody can answer: take the choice that neither destroys nor overwrites.
        return buttons == MessageButtons::YesNo
                   ? MessageAnswer::No
                   : (buttons == MessageButtons::OkCancel ? MessageAnswer::Cancel
                                                          : MessageAnswer::Ok);
    }

private:
    std::string& m_into;
    IMessageSink* m_previous;
};

// The categories that gave no sheet (`made` holds the categories that did),
// each with the reason its builder gave.
std::vector<SkippedCategory> Skipped(const std::vector<AnalysisResult>& results,
                                     const std::vector<std::string>& made) {
    std::vector<SkippedCategory> skipped;
    for (const AnalysisResult& result : results)
        if (std::find(made.begin(), made.end(), result.sheetName) == made.end())
            skipped.push_back({result.sheetName, result.table.rows == 0
                                                     ? result.table.emptyReason
                                                     : "its sheets could not be made"});
    return skipped;
}

std::string FirstLine(const std::string& text) {
    std::string line = text.substr(0, text.find_first_of("\r\n"));
    return line.empty() ? text : line;
}

} // namespace

int ReadProfileFor(const char* command, const std::string& settingsPath, AnalysisProfile& profile) {
    IniProfileStore store("tessaran", settingsPath);
    const bool missing = !settingsPath.empty() && store.WasMissing();
    if (missing || store.IsUnusable()) {
        const std::string reason = missing ? "No such file or directory" : store.ReadProblem();
        std::fprintf(stderr, "tessaran-cli %s: cannot read the settings file '%s': %s\n", command,
                     store.Path().c_str(), reason.c_str());
        if (!settingsPath.empty())
            return 2;
    }
    profile = ReadAnalysisProfile(store);
    if (const std::string& problem = profile.pages.continuousRecord.loadProblem; !problem.empty()) {
        std::fprintf(stderr, "tessaran-cli %s: the settings file '%s' holds %s\n", command,
                     store.Path().c_str(), problem.c_str());
        if (!settingsPath.empty())
            return 2;
    }
    return 0;
}

FileReport AnalyseFile(const std::string& file, const AnalysisProfile& profile,
                       const FileAnalysisRequest& request) {
    FileReport report;
    report.file = file;
    CollectingSink sink(report.messages);
    PreparedRecording prepared;
    if (const LoadResult loaded = PrepareRecording(file, profile, prepared); !loaded) {
        const Notice notice = loaded.ToNotice();
        ShowNotice(notice); // kept with the file's other messages
        report.error = loaded.readerError == ABF_HECHANNELNOTSAMPLED
                           ? UnsampledChannelText(file, profile.channelRequest)
                           : FirstLine(notice.text);
        if (request.summary) {
            report.summary.facts = ReadRecordingFacts(file, prepared.store, profile.channelRequest);
            report.summary.error = report.error;
        }
        return report;
    }
    report.ok = true;
    std::vector<std::string> made;
    const WorkbookRequest& workbook = request.workbook;
    // Computed once for every output: the JSON or text, the workbook, the summary.
    std::vector<AnalysisResult> results = RunResultBuilders(prepared.store, prepared.choices);
    if (request.json)
        report.results = ResultsToJson(file, results, prepared.store.channel) + "\n";
    else if (request.text)
        report.results = ResultsToText(file, results, UnitsForCurrent(prepared.store.unit));
    for (const AnalysisResult& result : results)
        if (result.table.rows > 0)
            made.push_back(result.sheetName);
    if (workbook.write || workbook.print) {
        WorkbookResult written = WriteWorkbookFor(file, prepared, results, workbook);
        report.ok = written.ok;
        report.sheets = std::move(written.sheets);
        report.workbookReport = std::move(written.report);
        report.workbookPath = std::move(written.savedPath);
        made.clear();
        for (const std::string& sheet : report.sheets)
            if (sheet.size() > 5 && sheet.ends_with(" Data"))
                made.push_back(sheet.substr(0, sheet.size() - 5));
    }
    report.skipped = Skipped(results, made);
    report.warnings = AnalysisWarnings(results);
    if (request.summary) {
        report.summary.facts = ReadRecordingFacts(file, prepared.store, profile.channelRequest);
        report.summary.results = std::move(results);
    }
    return report;
}

std::string FileReportJson(const FileReport& report) {
    std::string out = "{\"file\": " + JsonString(report.file) +
                      ", \"ok\": " + (report.ok ? "true" : "false") + ", \"workbook\": " +
                      (report.workbookPath.empty() ? "null" : JsonString(report.workbookPath)) +
                      ", \"sheets\": [";
    for (size_t i = 0; i < report.sheets.size(); ++i)
        out += (i ? ", " : "") + JsonString(report.sheets[i]);
    out += "], \"skipped\": [";
    for (size_t i = 0; i < report.skipped.size(); ++i)
        out += std::string(i ? ", " : "") + "{\"sheet\": " + JsonString(report.skipped[i].sheet) +
               ", \"reason\": " + JsonString(report.skipped[i].reason) + "}";
    out += "], \"warnings\": [";
    for (size_t i = 0; i < report.warnings.size(); ++i)
        out += (i ? ", " : "") + JsonString(report.warnings[i]);
    out += "], \"error\": " + (report.error.empty() ? "null" : JsonString(report.error)) + "}";
    return out;
}

void PrintFileReport(const FileReport& report, const FileAnalysisRequest& request) {
    std::fputs(report.messages.c_str(), stderr);
    // One stderr line for every analysis without results and every warning:
    // nothing is left out silently, while the exit status stays that of reading.
    if (report.error.empty())
        for (const SkippedCategory& skipped : report.skipped)
            std::fprintf(stderr, "%s: %s: skipped: %s\n", report.file.c_str(),
                         skipped.sheet.c_str(), skipped.reason.c_str());
    for (const std::string& warning : report.warnings)
        std::fprintf(stderr, "%s: warning: %s\n", report.file.c_str(), warning.c_str());
    std::fflush(stderr);
    std::fwrite(report.results.data(), 1, report.results.size(), stdout);
    if (request.jsonl) {
        std::puts(FileReportJson(report).c_str());
        std::fflush(stdout);
        return;
    }
    std::string line = report.workbookReport;
    if (!report.error.empty())
        line = report.file + ": not read: " + report.error;
    if (!line.empty() && !report.skipped.empty() && report.error.empty() &&
        report.skipped.size() < kAnalysisCount) {
        line += "; skipped";
        for (size_t i = 0; i < report.skipped.size(); ++i)
            line +=
                (i ? ", " : " ") + report.skipped[i].sheet + " (" + report.skipped[i].reason + ")";
    } else if (!line.empty() && report.skipped.size() == kAnalysisCount) {
        line += "; no results: " + report.skipped.front().reason;
    }
    std::FILE* stream = request.json ? stderr : stdout;
    if (!line.empty())
        std::fprintf(stream, "%s\n", line.c_str());
    std::fflush(stdout);
    std::fflush(stderr);
}
