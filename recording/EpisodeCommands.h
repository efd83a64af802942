// The command of every episode of an open recording: its waveform and where
// its ramp epochs lie, shared between episodes whose commands are equal.
#pragma once

#include "abf/AbfHeader.h"
#include "recording/TraceStore.h"

#include <cstdint>
#include <vector>

// Reads the command of episodes 1 .. `episodes` as seen with analog-input
// `channel` (`samples` values each) from the recording open as `handle`, one
// element per episode. An episode equal to the one before, or to episode 1,
// shares that one's command. Returns 0, or the reader's error number: 1020
// when the recording has no waveform (`commands` is then empty), 1021 when an
// episode's waveform cannot be generated, 1008 when memory runs out.
int ReadEpisodeCommands(int handle, const AbfHeader& header, int channel, uint32_t episodes,
                        uint32_t samples, std::vector<SharedCommand>& commands);
