#include "recording/TraceStore.h"

#include "abf/Abf.h"
#include "platform/Sha256.h"
#include "recording/CAbfRecording.h"
#include "recording/EpisodeCommands.h"

#include <cstdio>

namespace {

// What the details of a results workbook say about the file.
RecordingSource DescribeSource(const CAbfRecording& recording, const TraceStore& store,
                               const std::string& path) {
    RecordingSource source;
    source.path = path;
    if (!FileSha256(path, source.sha256, source.size))
        source.sha256.clear();
    const AbfHeader& h = recording.Header();
    char version[32];
    std::snprintf(version, sizeof version, "ABF %.2f", double(h.fileVersion));
    source.format =
        h.fileKind == 1 ? version : "old data file (kind " + std::to_string(h.fileKind) + ")";
    source.channel = store.channel;
    source.channels = SampledChannels(h);
    source.sampleInterval =
        store.timeAxis.size() > 1 ? store.timeAxis[1] - store.timeAxis[0] : 0.0f;
    source.samplesPerTrace = store.SamplesPerTrace();
    source.traces = static_cast<uint32_t>(store.traces.size());
    return source;
}

// Fills `store` from `path`. The recording (and with it the file) is gone when
// this returns.
LoadResult ReadRecording(TraceStore& store, const std::string& path, int channelRequest) {
    CAbfRecording recording;
    if (LoadResult opened = recording.Open(path); !opened)
        return opened;
    const int channel = ChooseChannel(recording.Header(), channelRequest);
    // A channel asked for by number that the recording lacks is the user's
    // choice, not a damaged file: say so in the reader's own words.
    if (channelRequest != kAutoChannel && !IsSampledChannel(recording.Header(), channel))
        return LoadResult::FromReader(ABF_HECHANNELNOTSAMPLED, path);
    if (LoadResult read = recording.ReadAllTraces(store.traces, channel); !read)
        return read;
    store.channel = DescribeChannel(recording.Header(), channel);
    store.unit = store.channel.unit;
    store.commandUnit = CommandUnit(recording.Header());
    // A recording without a command waveform still loads: only the analyses
    // that need voltages have nothing to work on.
    const int error =
        ReadEpisodeCommands(recording.Handle(), recording.Header(), channel,
                            recording.EpisodeCount(), recording.SamplesPerTrace(), store.commands);
    if (error != 0 && error != ABF_ENOWAVEFORM)
        return LoadResult::FromReader(error, path);
    if (!store.commands.empty())
        store.commandWaveform = store.commands.front()->waveform;
    store.timeAxis = recording.TimeAxis();

    double firstStartMs = 0.0;
    double secondStartMs = 0.0;
    if (LoadResult read = recording.GetEpisodeStartTime(0, firstStartMs, channel); !read)
        return read;
    // A single episode has no interval to the next one.
    secondStartMs = firstStartMs;
    if (recording.EpisodeCount() > 1)
        if (LoadResult read = recording.GetEpisodeStartTime(1, secondStartMs, channel); !read)
            return read;
    // The factor is the single-precision 0.001, as the interval has always been computed.
    store.episodeInterval =
        static_cast<float>((secondStartMs - firstStartMs) * static_cast<double>(0.001f));
    store.sources = {DescribeSource(recording, store, path)};
    return {};
}

void Clear(TraceStore& store) {
    store.traces.clear();
    store.timeAxis.clear();
    store.commandWaveform.clear();
    store.unit.clear();
    store.commands.clear();
    store.channel = ChannelInfo{};
    store.commandUnit = "mV";
    store.sources.clear();
}

} // namespace

LoadResult TraceStore::LoadInto(TraceStore& store, const std::string& path, int channelRequest) {
    Clear(store);
    LoadResult result = ReadRecording(store, path, channelRequest);
    if (!result) {
        // A failed load leaves nothing behind that could be indexed as a recording.
        Clear(store);
        store.episodeInterval = 0.0f;
    }
    return result;
}

LoadResult TraceStore::AppendFrom(TraceStore& store, const std::string& path, int channelRequest) {
    if (store.traces.empty())
        return LoadInto(store, path, channelRequest);

    TraceStore further;
    if (LoadResult loaded = LoadInto(further, path, channelRequest); !loaded)
        return loaded;
    return Append(store, std::move(further));
}

LoadResult TraceStore::Append(TraceStore& store, TraceStore&& further) {
    if (store.traces.empty()) {
        store = std::move(further);
        return {};
    }
    if (further.timeAxis.size() != store.timeAxis.size())
        return {LoadResult::Failure::OtherProtocol, 0, {}};
    // Each appended trace keeps its own file's command; a store that kept only
    // one command for all its traces gives it to each of them first.
    if (store.commands.empty() && !further.commands.empty() && store.HasCommand()) {
        auto shared = std::make_shared<EpisodeCommand>();
        shared->waveform = store.commandWaveform;
        store.commands.assign(store.traces.size(), shared);
    }
    if (!store.commands.empty() || !further.commands.empty()) {
        store.commands.resize(store.traces.size());
        if (further.commands.empty())
            further.commands.assign(further.traces.size(), nullptr);
        store.commands.insert(store.commands.end(), further.commands.begin(),
                              further.commands.end());
    }
    store.traces.insert(store.traces.end(), further.traces.begin(), further.traces.end());
    store.sources.insert(store.sources.end(), further.sources.begin(), further.sources.end());
    store.episodeInterval = further.episodeInterval;
    further = TraceStore{};
    return {};
}
