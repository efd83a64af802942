#include "recording/EpisodeCommands.h"

#include "abf/Abf.h"

#include <memory>
#include <new>

namespace {

bool Equal(const EpisodeCommand& a, const EpisodeCommand& b) {
    return a.ramps == b.ramps && a.waveform == b.waveform;
}

// The ramp epochs of `episode` that hold at least one sample of the channel.
std::vector<EpisodeCommand::Ramp> RampsOf(const AbfHeader& header, int channel, uint32_t episode) {
    AbfEpochSpan spans[ABF_MAXEPOCHSPANS];
    int count = 0;
    std::vector<EpisodeCommand::Ramp> ramps;
    if (!AbfGetEpochSpans(&header, channel, episode, spans, &count, nullptr))
        return ramps; // a waveform without epochs has no ramps to offer
    for (int i = 0; i < count; ++i)
        if (spans[i].type == 2 && spans[i].count > 0)
            ramps.push_back({spans[i].first, spans[i].first + spans[i].count - 1});
    return ramps;
}

} // namespace

int ReadEpisodeCommands(int handle, const AbfHeader& header, int channel, uint32_t episodes,
                        uint32_t samples, std::vector<SharedCommand>& commands) {
    commands.clear();
    try {
        commands.reserve(episodes);
        // Most protocols repeat one command: each episode's is made in a
        // scratch command and kept only when it differs from the last kept.
        EpisodeCommand scratch;
        scratch.waveform.assign(samples, 0.0f);
        for (uint32_t episode = 1; episode <= episodes; ++episode) {
            int error = 0;
            if (!AbfGetCommandWaveform(handle, &header, channel, episode, scratch.waveform.data(),
                                       &error)) {
                commands.clear();
                return error;
            }
            scratch.ramps = RampsOf(header, channel, episode);
            if (!commands.empty() && Equal(*commands.back(), scratch))
                commands.push_back(commands.back());
            else if (!commands.empty() && Equal(*commands.front(), scratch))
                commands.push_back(commands.front());
            else
                commands.push_back(std::make_shared<EpisodeCommand>(scratch));
        }
    } catch (const std::bad_alloc&) {
        commands.clear();
        return ABF_EOUTOFMEMORY;
    }
    return 0;
}
