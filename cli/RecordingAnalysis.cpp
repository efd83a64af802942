#include "cli/RecordingAnalysis.h"

#include "app/AnalysisSettings.h"
#include "display/CommandVoltage.h"

AnalysisProfile ReadAnalysisProfile(IProfileStore& profile) {
    ProgramSettings settings;
    settings.Load(profile);
    const AnalysisSettings& general = settings.general;
    AnalysisProfile result;
    result.pages = settings.pages;
    result.selectAll = general.SelectAllFlags();
    result.plotTraceNumber = general.plotTraceNumber;
    result.channelRequest = general.currentChannel.request;
    return result;
}

LoadResult PrepareRecording(const std::string& path, const AnalysisProfile& profile,
                            PreparedRecording& prepared) {
    if (LoadResult loaded = TraceStore::LoadInto(prepared.store, path, profile.channelRequest);
        !loaded)
        return loaded;
    // Each file starts from the stored choices, as the program does after a start.
    AnalysisPageRecords pages = profile.pages;
    ApplyNewRecording(pages, static_cast<uint32_t>(prepared.store.traces.size()),
                      CommandVoltageTenths(prepared.store.commandWaveform), profile.selectAll);
    prepared.choices = ExportChoicesFromRecords(pages, profile.plotTraceNumber, prepared.store);
    return {};
}

LoadResult AnalyseRecording(const std::string& path, const AnalysisProfile& profile,
                            std::vector<AnalysisResult>& results) {
    results.clear();
    PreparedRecording prepared;
    if (LoadResult loaded = PrepareRecording(path, profile, prepared); !loaded)
        return loaded;
    results = RunResultBuilders(prepared.store, prepared.choices);
    return {};
}
