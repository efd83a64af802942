// One recording of `tessaran-cli analyse`, analysed on a worker thread into a
// report that the calling thread prints: nothing is printed while it runs, so
// the output of recordings analysed in parallel never interleaves.
#pragma once

#include "cli/RecordingAnalysis.h"
#include "cli/WorkbookOutput.h"
#include "export/SummaryWorkbook.h"

#include <string>
#include <vector>

struct FileAnalysisRequest {
    WorkbookRequest workbook;
    bool json = false;    // the results as a JSON document
    bool text = false;    // the results as a short text (cli/ResultSummary.h)
    bool jsonl = false;   // the account of the file as one JSON object, not a line
    bool summary = false; // keep the results and facts for the summary workbook
};

// A category that gave nothing, and why.
struct SkippedCategory {
    std::string sheet;
    std::string reason;
};

struct FileReport {
    std::string file;
    bool ok = false;            // read, and written as asked
    std::string error;          // why it could not be read
    std::string messages;       // what the loader and the export said ("Caption: text" lines)
    std::string results;        // the results as JSON (one line) or text (--json, --text)
    std::string workbookReport; // what became of the workbook, one line each
    std::string workbookPath;   // where it was written; empty when not
    std::vector<std::string> sheets;
    std::vector<SkippedCategory> skipped;
    std::vector<std::string> warnings; // "sheet: warning", each analysis's in export order
    SummaryEntry summary;              // with FileAnalysisRequest::summary
};

// Reads the analyses' choices from the INI file `settingsPath` (empty: the
// user's profile) into `profile`. Returns 0, or the exit status after saying
// on stderr why: a settings file that is missing, unusable or holds a bad
// value is bad usage (2); the user's own profile that cannot be read is only
// a warning, the defaults standing in for it. `command` names the subcommand.
int ReadProfileFor(const char* command, const std::string& settingsPath, AnalysisProfile& profile);

// Loads and analyses `file` with the choices of `profile` and writes its
// workbook as `request` asks. Thread-safe; prints nothing.
FileReport AnalyseFile(const std::string& file, const AnalysisProfile& profile,
                       const FileAnalysisRequest& request);

// Prints `report`: the messages, each skipped analysis and each warning on
// stderr, then the JSON document and the
// account of the file (a line, or a JSON object with --jsonl) on stdout (the
// line on stderr beside --json).
void PrintFileReport(const FileReport& report, const FileAnalysisRequest& request);

// The account of `report` as one JSON object on one line:
// {"file", "ok", "workbook", "sheets", "skipped": [{"sheet", "reason"}],
// "warnings": ["sheet: warning", ...], "error"}.
std::string FileReportJson(const FileReport& report);
