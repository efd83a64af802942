// What identifies a recording in the summary workbook: path, size, SHA-256 and
// how it was read.
#pragma once

#include "export/SummaryWorkbook.h"
#include "recording/TraceStore.h"

#include <string>

// The facts of the recording at `path` as loaded into `store` (the format
// version and channel from its header; for a recording that did not load, the
// channel `channelRequest` would have chosen). Size and digest stay empty
// when the file cannot be read.
RecordingFacts ReadRecordingFacts(const std::string& path, const TraceStore& store,
                                  int channelRequest);

// Why channel `channel` of the recording at `path` cannot be analysed:
// "channel N was not sampled; the recording holds 0: name (unit), ...", the
// list left out when the header cannot be read.
std::string UnsampledChannelText(const std::string& path, int channel);
