// tessaran-cli analyse: the results workbook of a recording, written by the
// export driver (no hand-over: the command line opens nothing), and its charts
// printed on request.
#pragma once

#include "cli/RecordingAnalysis.h"

#include <cstdio>
#include <string>
#include <vector>

struct WorkbookRequest {
    bool write = false; // write the workbook file
    bool print = false; // print the chart sheets (--print)
    bool force = false; // replace an existing workbook (--force)
    std::string
        output; // --output: a file, or a folder for the workbooks; empty: beside each recording
};

// Checks the request for `fileCount` recordings; false with `error` set when it
// cannot be carried out (an --output file for several recordings, printing
// without print support in this build).
bool CheckWorkbookRequest(const WorkbookRequest& request, size_t fileCount, std::string& error);

// Writes (and prints) the workbook of the recording at `file`; says on
// `report` in one line where it went. Returns false when it was not written
// as asked (the reason has been shown on stderr or in that line).
bool WriteWorkbookFor(const std::string& file, const PreparedRecording& recording,
                      const WorkbookRequest& request, std::FILE* report);

// True when this build can print (--print).
bool CanPrintCharts();
