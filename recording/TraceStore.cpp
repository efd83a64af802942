#include "recording/TraceStore.h"

#include "recording/CAbfRecording.h"

namespace {

// Fills `store` from `path`. The recording (and with it the file) is gone when
// this returns.
LoadResult ReadRecording(TraceStore& store, const std::string& path) {
    CAbfRecording recording;
    if (LoadResult opened = recording.Open(path); !opened)
        return opened;
    const int channel = recording.AnalysedChannel();
    if (LoadResult read = recording.ReadAllTraces(store.traces, channel); !read)
        return read;
    if (LoadResult read = recording.ReadCommandWaveform(store.commandWaveform, channel); !read)
        return read;
    store.timeAxis = recording.TimeAxis();
    store.unit = recording.Unit(channel);

    double firstStartMs = 0.0;
    double secondStartMs = 0.0;
    if (LoadResult read = recording.GetEpisodeStartTime(0, firstStartMs, channel); !read)
        return read;
    if (LoadResult read = recording.GetEpisodeStartTime(1, secondStartMs, channel); !read)
        return read;
    // The factor is the single-precision 0.001, as the interval has always been computed.
    store.episodeInterval =
        static_cast<float>((secondStartMs - firstStartMs) * static_cast<double>(0.001f));
    return {};
}

void Clear(TraceStore& store) {
    store.traces.clear();
    store.timeAxis.clear();
    store.commandWaveform.clear();
    store.unit.clear();
}

} // namespace

LoadResult TraceStore::LoadInto(TraceStore& store, const std::string& path) {
    Clear(store);
    LoadResult result = ReadRecording(store, path);
    if (!result) {
        // A failed load leaves nothing behind that could be indexed as a recording.
        Clear(store);
        store.episodeInterval = 0.0f;
    }
    return result;
}

LoadResult TraceStore::AppendFrom(TraceStore& store, const std::string& path) {
    if (store.traces.empty())
        return LoadInto(store, path);

    TraceStore further;
    if (LoadResult loaded = LoadInto(further, path); !loaded)
        return loaded;
    if (further.timeAxis.size() != store.timeAxis.size())
        return {LoadResult::Failure::OtherProtocol, 0, {}};
    store.traces.insert(store.traces.end(), further.traces.begin(), further.traces.end());
    store.episodeInterval = further.episodeInterval;
    return {};
}
