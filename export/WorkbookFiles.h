// Where the export puts its files, and how it puts them there without ever
// leaving a half-written file under the final name.
#pragma once

#include "export/Workbook.h"
#include "export/XlsxWriter.h"

#include <functional>
#include <string>

// The recording's file name without directory and extension ("cell" for
// "/data/cell.abf"): the start of every chart title.
std::string RecordingBaseName(const std::string& recordingPath);

// The workbook of a recording: its full path with ".xlsx" appended, the
// recording's own extension kept ("cell.abf" gives "cell.abf.xlsx").
std::string WorkbookPathFor(const std::string& recordingPath);

// Where printed charts go when no printer is installed: beside the workbook,
// its ".xlsx" replaced by ".charts.pdf" ("cell.abf.xlsx" gives "cell.abf.charts.pdf").
std::string ChartsPdfPathFor(const std::string& workbookPath);

enum class SaveStatus {
    Saved,  // the file is in place
    Exists, // a file of that name exists and was kept
    Failed  // nothing was written under the final name; see `reason`
};

// Writes a file at `path` through `write`, which fills the temporary file it is
// given and returns false with a reason on failure. The temporary file lies in
// the same folder; once complete and flushed it is renamed into place, replacing
// an existing file only when `replace` is true (without `replace`, a file that
// appears meanwhile is kept too); a replaced file's permission bits are kept.
// A path that exists and is not a regular file (a device, a FIFO) fails. The
// writer's own temporary files in that folder older than an hour are removed
// first. On failure the temporary file is removed and `reason` holds the
// system's error text.
SaveStatus SaveFileAtomically(
    const std::string& path, bool replace,
    const std::function<bool(const std::string& tempPath, std::string& reason)>& write,
    std::string& reason);

// SaveFileAtomically with the .xlsx writer, which tells `progress` how far it
// has come; when `progress` stops it, nothing is left behind and `reason` is
// kWriteStoppedReason.
SaveStatus SaveWorkbookFile(const Workbook& workbook, const std::string& path, bool replace,
                            std::string& reason, const RowProgress& progress = {});

// The per-user temporary folder for workbooks that are shown but not saved
// (created with owner-only access; one that another user owns is refused).
// Returns false with the reason on failure.
bool UserTempFolder(std::string& folder, std::string& reason);

// Removes the workbooks (".xlsx" files) in the per-user temporary folder that
// were last written more than a day ago: they were written only to be shown.
// Quietly does nothing when the folder is missing or not this user's.
void RemoveOldShownWorkbooks();

// Writes `workbook` into `folder` as `fileName`, or "name (2).xlsx" and so on
// when that name is taken; the path written goes to `path`.
SaveStatus SaveWorkbookUnderFreeName(const Workbook& workbook, const std::string& folder,
                                     const std::string& fileName, std::string& path,
                                     std::string& reason);
