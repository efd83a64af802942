// Opens a recording and reads every channel of every episode, the command
// waveform and the start times, as a program would. Used by the fuzz target
// and by the regression test that replays what the fuzzer found.
#pragma once

#include "abf/Abf.h"

#include <cstdint>
#include <vector>

inline void ReadEverything(const char* path, int flags, uint32_t requested) {
    int handle = -1, error = 0;
    AbfHeader header;
    uint32_t samples = requested, episodes = 0;
    if (AbfOpenForReading(path, &handle, ABF_OPEN_HEADER_ONLY, &header, &samples, &episodes,
                          &error)) {
        // The waveform of a header alone, with the header's own claims.
        if (header.channelCount >= 1 && header.channelCount <= 16 &&
            header.samplesPerEpisode >= header.channelCount &&
            header.samplesPerEpisode <= (1 << 20)) {
            std::vector<float> buffer(size_t(header.samplesPerEpisode / header.channelCount));
            AbfGetCommandWaveform(-1, &header, header.samplingSequence[0], 1, buffer.data(),
                                  &error);
        }
        AbfCloseFile(handle, &error);
    }

    samples = requested;
    if (!AbfOpenForReading(path, &handle, flags, &header, &samples, &episodes, &error))
        return;
    std::vector<float> buffer(samples);
    const uint32_t lastEpisode = episodes < 500 ? episodes + 1 : 500;
    for (uint32_t episode = 0; episode <= lastEpisode; ++episode) {
        for (int position = -1; position <= header.channelCount; ++position) {
            int channel = position < 0                     ? -1
                          : position < header.channelCount ? header.samplingSequence[position]
                                                           : 16;
            uint32_t count = 0;
            double start = 0;
            AbfReadEpisodeChannel(handle, &header, channel, episode, buffer.data(), &count, &error);
            AbfGetCommandWaveform(handle, &header, channel, episode, buffer.data(), &error);
            AbfGetEpisodeStartTime(handle, &header, channel, episode, &start, &error);
        }
    }
    AbfCloseFile(handle, &error);
}
