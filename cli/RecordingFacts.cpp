#include "cli/RecordingFacts.h"

#include "abf/Abf.h"
#include "platform/Sha256.h"
#include "recording/ChannelChoice.h"

namespace {

// The loader's channel for `request`: auto takes the first sampled channel
// with a current unit, else analog input 1 when it was sampled, else 0, else
// the first of the scan.
int AnalysedChannel(const AbfHeader& header, int request) {
    const int chosen = ChooseChannel(header, request);
    if (request != kAutoChannel)
        return chosen;
    return IsSampledChannel(header, chosen) ? chosen : header.samplingSequence[0];
}

// The header of the recording at `path`; false when it cannot be read.
bool ReadHeader(const std::string& path, AbfHeader& header) {
    int handle = -1;
    if (!AbfOpenForReading(path.c_str(), &handle, ABF_OPEN_HEADER_ONLY, &header, nullptr, nullptr,
                           nullptr))
        return false;
    AbfCloseFile(handle, nullptr);
    return true;
}

} // namespace

std::string UnsampledChannelText(const std::string& path, int channel) {
    std::string text = "channel " + std::to_string(channel) + " was not sampled";
    AbfHeader header{};
    if (!ReadHeader(path, header))
        return text;
    const char* separator = "; the recording holds ";
    for (const ChannelInfo& sampled : SampledChannels(header)) {
        text += separator + std::to_string(sampled.index) + ": " + sampled.name + " (" +
                sampled.unit + ")";
        separator = ", ";
    }
    return text;
}

RecordingFacts ReadRecordingFacts(const std::string& path, const TraceStore& store,
                                  int channelRequest) {
    RecordingFacts facts;
    facts.path = path;
    facts.samplesPerTrace = store.SamplesPerTrace();
    facts.traces = static_cast<uint32_t>(store.traces.size());
    if (store.timeAxis.size() > 1)
        facts.sampleInterval = store.timeAxis[1] - store.timeAxis[0];
    // The loader hashed the file as it read it; only a file it could not
    // load is hashed here.
    if (!store.sources.empty() && store.sources[0].path == path &&
        !store.sources[0].sha256.empty()) {
        facts.size = store.sources[0].size;
        facts.sha256 = store.sources[0].sha256;
    } else if (uint64_t size = 0; FileSha256(path, facts.sha256, size)) {
        facts.size = size;
    } else {
        return facts;
    }
    AbfHeader header{};
    if (ReadHeader(path, header)) {
        facts.formatVersion = header.fileVersion;
        // The channel the loader chose; for a file it could not load, the one
        // it would have tried first.
        facts.channel =
            store.traces.empty() ? AnalysedChannel(header, channelRequest) : store.channel.index;
    }
    return facts;
}
