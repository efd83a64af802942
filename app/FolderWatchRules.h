// What is done with a recording that has turned up in a watched folder: which
// files count as recordings, when one is complete, and when it is left alone.
// Used by `tessaran-cli watch` (and, for the file names, by `analyse FOLDER`).
#pragma once

#include <string>

// True for names ending in ".abf" or ".dat", in any letter case.
bool IsRecordingFileName(const std::string& path);

enum class WatchedRecording {
    Analyse,        // complete, and no workbook of it exists yet
    WorkbookExists, // analysed before: its workbook is there
    Incomplete      // the reader cannot open it yet (see `reason`)
};

// Decides what to do with the recording at `path` whose size has stopped
// changing; `workbookPath` is where its workbook would go. A recording is
// complete when the reader opens it, which it does only when the data section
// that the header describes lies wholly in the file; otherwise `reason` holds
// the reader's text.
WatchedRecording DecideWatchedRecording(const std::string& path, const std::string& workbookPath,
                                        std::string& reason);
