// tessaran-cli analyse: the results workbook of a recording, written by the
// export driver (no hand-over: the command line opens nothing), and its charts
// printed on request.
#pragma once

#include "cli/RecordingAnalysis.h"

#include <string>
#include <vector>

struct WorkbookRequest {
    bool write = false; // write the workbook file
    bool print = false; // print the chart sheets (--print)
    bool force = false; // replace an existing workbook (--force)
    std::string
        output; // --output: a file, or a folder for the workbooks; empty: beside each recording
};

// Checks the request for `fileCount` recordings and makes a missing --output
// folder for several recordings; false with `error` set when it cannot be
// carried out (an --output file for several recordings, a folder that cannot
// be made, printing without print support in this build).
bool CheckWorkbookRequest(const WorkbookRequest& request, size_t fileCount, std::string& error);

// What became of one recording's workbook.
struct WorkbookResult {
    bool ok = true;                  // written (and printed) as asked
    std::vector<std::string> sheets; // the workbook's data and chart sheets, in tab order
    std::string savedPath;           // where the workbook was written; empty when it was not
    std::string report; // "FILE: workbook written to PATH" and the like, one line each, or empty
};

// Writes (and prints) the workbook of the recording at `file` with the
// `results` RunResultBuilders computed from `prepared`; the result says in its
// report where it went. Messages of the export go through the message interface.
WorkbookResult WriteWorkbookFor(const std::string& file, const PreparedRecording& prepared,
                                const std::vector<AnalysisResult>& results,
                                const WorkbookRequest& request);

// Where the workbook of `file` goes: beside it by the save rule, into the
// `output` folder under the same name, or to the `output` file (".xlsx"
// appended when it has another extension, so the name tells the format).
std::string WorkbookPath(const std::string& file, const std::string& output);

// True when this build can print (--print).
bool CanPrintCharts();
