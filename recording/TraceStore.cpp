#include "recording/TraceStore.h"

#include "platform/Messages.h"
#include "recording/CAbfRecording.h"

#include <optional>

namespace {

constexpr char kLoadErrorIntro[] = "The Axon data file could not be read.\r\n";
constexpr char kLoadErrorCaption[] = "Error Reading Axon Data";
constexpr char kAddDataText[] =
    "This additional data was not recorded using the same protocol and cannot be added.";
constexpr char kAddDataCaption[] = "Error: Add Data Failed";

// Fills `store` from `path`; the error text of the first failing step when it
// fails. The recording (and with it the file) is gone when this returns.
std::optional<std::string> ReadRecording(TraceStore& store, const std::string& path) {
    CAbfRecording recording;
    if (!recording.Open(path))
        return recording.ErrorText();

    // Channel 1 holds the current in these recordings; files that sampled only
    // channel 0 fall back to it.
    int channel = 1;
    if (!recording.ReadAllTraces(store.traces, channel)) {
        if (!recording.IsInvalidChannelError())
            return recording.ErrorText();
        channel = 0;
        if (!recording.ReadAllTraces(store.traces, channel))
            return recording.ErrorText();
    }
    if (!recording.ReadCommandWaveform(store.commandWaveform, channel))
        return recording.ErrorText();
    recording.BuildTimeAxis(store.timeAxis);

    double firstStartMs = 0.0;
    double secondStartMs = 0.0;
    if (!recording.GetEpisodeStartTime(0, firstStartMs, channel) ||
        !recording.GetEpisodeStartTime(1, secondStartMs, channel))
        return recording.ErrorText();
    // The factor is the single-precision 0.001, as the interval has always been computed.
    store.episodeInterval =
        static_cast<float>((secondStartMs - firstStartMs) * static_cast<double>(0.001f));
    return std::nullopt;
}

void Clear(TraceStore& store) {
    store.traces.clear();
    store.timeAxis.clear();
    store.commandWaveform.clear();
}

} // namespace

bool TraceStore::LoadInto(TraceStore& store, const std::string& path) {
    Clear(store);
    if (std::optional<std::string> error = ReadRecording(store, path)) {
        // A failed load leaves nothing behind that could be indexed as a recording.
        Clear(store);
        store.episodeInterval = 0.0f;
        ShowMessage(kLoadErrorIntro + *error, kLoadErrorCaption, MessageIcon::Exclamation);
        return false;
    }
    return true;
}

bool TraceStore::AppendFrom(TraceStore& store, const std::string& path) {
    if (store.traces.empty())
        return LoadInto(store, path);

    TraceStore further;
    if (!LoadInto(further, path))
        return false;
    if (further.timeAxis.size() != store.timeAxis.size()) {
        ShowMessage(kAddDataText, kAddDataCaption, MessageIcon::Stop);
        return false;
    }
    store.traces.insert(store.traces.end(), further.traces.begin(), further.traces.end());
    store.episodeInterval = further.episodeInterval;
    return true;
}
