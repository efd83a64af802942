// What identifies a recording in the summary workbook: path, size, SHA-256 and
// how it was read.
#pragma once

#include "export/SummaryWorkbook.h"
#include "recording/TraceStore.h"

#include <string>

// The facts of the recording at `path` as loaded into `store` (the format
// version and channel from its header). Size and digest stay empty when the
// file cannot be read.
RecordingFacts ReadRecordingFacts(const std::string& path, const TraceStore& store);
