// One recording analysed as the program would right after opening it: loaded
// into a trace store, the pages' choices taken from the profile with the new
// recording applied (select-all flags, sub-sections), the five result builders
// run in export order.
#pragma once

#include "analysis/ExportChoicesFromRecords.h"
#include "export/ResultBuilders.h"
#include "platform/ProfileStore.h"
#include "recording/ChannelChoice.h"
#include "recording/TraceStore.h"

#include <string>
#include <vector>

// What the analysis takes from the profile: the pages' stored choices, the
// select-all flags in page order, "PlotTimeTraceNum" and "Current Channel".
struct AnalysisProfile {
    AnalysisPageRecords pages;
    SelectAllFlags selectAll{true, true, true, true, true};
    int plotTraceNumber = 1;
    int channelRequest = kAutoChannel; // the channel loaded (ChooseChannel)
};

// Reads the pages' sections and the general settings from `profile`; nothing is written.
AnalysisProfile ReadAnalysisProfile(IProfileStore& profile);

// A loaded recording and the export's choices for it.
struct PreparedRecording {
    TraceStore store;
    ExportChoices choices;
};

// Loads `path` (the channel profile.channelRequest names) and derives the choices from a fresh copy
// of the profile's pages with the new recording applied. On failure returns the load error.
LoadResult PrepareRecording(const std::string& path, const AnalysisProfile& profile,
                            PreparedRecording& prepared);

// PrepareRecording, then the five builders in export order.
// On failure returns the load error; `results` is then empty.
LoadResult AnalyseRecording(const std::string& path, const AnalysisProfile& profile,
                            std::vector<AnalysisResult>& results);
